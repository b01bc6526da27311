# The commands of the README and the manual, run as a reader runs them, so that they cannot
# drift from the program: each document's marked blocks in order, in a copy of the
# repository's examples/ where `build/tavra` and `tavra` are both the program under test.
#
# A block is marked runnable by an HTML comment on the line before its ```sh fence:
#   <!-- runnable -->                every command must succeed (the block runs under -e);
#   <!-- runnable: needs GDAL -->    a build without GDAL skips it;
#   <!-- runnable: exit 1 -->        the block must end with this status;
# the two may be combined: <!-- runnable: needs GDAL, exit 1 -->. Build commands (cmake) are
# never marked. `xdg-open` is a stand-in that checks it was given one page to open.
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
LIB=$ROOT/tests/e2e/lib
source "$LIB/common.bash"

BIN=$WORK/bin
mkdir -p "$BIN"
ln -s "$TAVRA" "$BIN/tavra"
cat >"$BIN/xdg-open" <<'SH'
#!/usr/bin/env bash
[ $# = 1 ] && [ -f "$1" ] && grep -q '<html' "$1" || { echo "xdg-open: no page in '$*'" >&2; exit 1; }
SH
chmod +x "$BIN/xdg-open"

# A build without GDAL skips what needs it; the marks say which blocks those are.
have_gdal=yes
"$TAVRA" --check --survey "$ROOT/examples/monterey_survey_area.txt" --lineSpacing 100 \
    </dev/null 2>&1 | grep -q 'built without GDAL' && have_gdal=no

# run_blocks <document>: extracts and runs its marked blocks in a fresh copy.
run_blocks() {
    local doc=$1 name copy line number=0 mark= fence= block= start= ran=0 skipped=0
    name=$(basename "$doc" .md)
    copy=$WORK/$name
    mkdir -p "$copy/build"
    cp -r "$ROOT/examples" "$copy/examples"
    ln -s "$TAVRA" "$copy/build/tavra"
    while IFS= read -r line || [ -n "$line" ]; do
        number=$((number + 1))
        if [ -n "$fence" ]; then
            if [ "$line" = "$fence" ]; then
                run_block "$doc:$start" "$mark" "$copy" "$block"
                fence= mark= block=
            else
                block+="${line#"$indent"}"$'\n'
            fi
        elif [[ $line =~ ^([[:blank:]]*)'<!-- runnable'(: ([^>]*))?' -->'$ ]]; then
            mark="runnable ${BASH_REMATCH[3]}"
            indent=${BASH_REMATCH[1]}
            start=$((number + 1))
        elif [ -n "$mark" ]; then
            [ "$line" = "$indent"'```sh' ] || { fail "$doc:$number: a runnable mark not followed by a sh block"; mark=; continue; }
            fence="$indent"'```'
        fi
    done <"$doc"
    [ -z "$fence" ] || fail "$doc:$start: block not closed"
    echo "$name: $ran blocks run, $skipped skipped"
    [ $((ran + skipped)) -gt 0 ] || fail "$doc: no runnable block"
}

# run_block <where> <mark> <directory> <text>
run_block() {
    local where=$1 mark=$2 dir=$3 text=$4 expected=0 status
    if [[ $mark == *'needs GDAL'* && $have_gdal = no ]]; then
        skipped=$((skipped + 1))
        echo "skipped $where: this build has no GDAL" >&2
        return
    fi
    [[ $mark =~ exit\ ([0-9]+) ]] && expected=${BASH_REMATCH[1]}
    ran=$((ran + 1))
    (cd "$dir" && PATH="$BIN:$PATH" bash -e -o pipefail -c "$text") </dev/null >"$WORK/.out" 2>&1
    status=$?
    if [ "$status" != "$expected" ]; then
        fail "$where: status $status, expected $expected:"$'\n'"$text$(head -c 2000 "$WORK/.out")"
    fi
}

run_blocks "$ROOT/README.md"
run_blocks "$ROOT/docs/manual.md"
finish
