#!/usr/bin/env bash
# Package check: builds the Debian package, installs it on this machine, uses the installed
# tool as a planner would (version, manual page, completion, a run on the example), removes it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

export DEBIAN_FRONTEND=noninteractive
# dpkg-dev and file let CPack work out the package's dependencies; man-db, mandoc and
# groff-base read the manual page; bash-completion loads the installed completion.
apt-get install -y --no-install-recommends cmake make g++ dpkg-dev file man-db mandoc \
    groff-base bash-completion

# A release build of the program alone, as the package ships it.
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DTAVRA_BUILD_TESTS=OFF
cmake --build build-package -j
rm -f build-package/tavra_*.deb
(cd build-package && cpack -G DEB)
package=$(ls "$root"/build-package/tavra_*.deb)

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The control fields that apt and a package browser show.
version=$(dpkg-deb -f "$package" Version)
[ "$(dpkg-deb -f "$package" Package)" = tavra ] || fail "package name"
[ "$(dpkg-deb -f "$package" Section)" = science ] || fail "section"
depends=$(dpkg-deb -f "$package" Depends)
for library in libc6 libstdc++6; do
    [[ $depends == *"$library "* ]] || fail "Depends lacks $library: '$depends'"
done

trap 'dpkg -r tavra >/dev/null 2>&1 || true' EXIT
apt-get install -y "$package"

[ "$(command -v tavra)" = /usr/bin/tavra ] || fail "tavra is not /usr/bin/tavra"
[ "$(tavra --version)" = "tavra $version" ] || fail "tavra --version: '$(tavra --version)'"

page=$(man -w tavra) || fail "man -w tavra finds no page"
[ "$page" = /usr/share/man/man1/tavra.1.gz ] || fail "man -w tavra: '$page'"
lint=$(mandoc -T lint "$page" 2>&1) || true
[ -z "$lint" ] || fail "mandoc -T lint: $lint"
lint=$(zcat "$page" | groff -ww -z -man 2>&1) || true
[ -z "$lint" ] || fail "groff -ww -z -man: $lint"
rendered=$(MANWIDTH=80 man tavra 2>&1) || true
[[ $rendered == *"tavra - plan a survey mission"* ]] || fail "man tavra: $rendered"

# The completion is where bash-completion looks for it when tavra is typed.
loaded=$(bash -c 'source /usr/share/bash-completion/bash_completion
    __load_completion tavra && complete -p tavra' 2>&1) || true
[ "$loaded" = "complete -F _tavra tavra" ] || fail "bash-completion loads: '$loaded'"

# The installed example, planned in an empty directory, gives the four files of one stem.
run_dir=$(mktemp -d)
(cd "$run_dir" && tavra /usr/share/doc/tavra/examples/monterey_lawnmower.txt) >"$run_dir.out" ||
    fail "run on the installed example failed: $(cat "$run_dir.out")"
mapfile -t written < <(cd "$run_dir" && ls)
if [ "${#written[@]}" -ne 4 ]; then
    fail "the example run wrote '${written[*]}', not four files"
else
    stem=${written[0]%.*}
    for extension in cfg csv pts wpt; do
        [ -s "$run_dir/$stem.$extension" ] || fail "no $stem.$extension among '${written[*]}'"
    done
fi
rm -rf "$run_dir" "$run_dir.out"

apt-get remove -y tavra
trap - EXIT
[ ! -e /usr/bin/tavra ] || fail "/usr/bin/tavra is still there after removal"

if [ "$failures" -ne 0 ]; then
    echo "$failures package check(s) failed" >&2
    exit 1
fi
echo "package check passed: $(basename "$package")"
