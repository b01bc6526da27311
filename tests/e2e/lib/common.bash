# Shared helpers of the end-to-end scripts: a scratch directory and whole-file checks.
# Each script is called as: script.sh <path-to-tavra> <tests/data directory>
set -u
TAVRA=$(realpath "$1")
DATA=$(realpath "$2")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
failures=0

# skip_test <reason>: a tool the script needs is missing, so its cases cannot run here.
# CI installs every such tool, so there a missing one fails instead of skipping quietly.
skip_test() {
    echo "$1: skipped" >&2
    [ "${CI:-}" = true ] && exit 1
    exit 77
}

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect_status <expected> <actual> <what>
expect_status() {
    if [ "$1" != "$2" ]; then
        fail "$3: exit status $2, expected $1"
        # What the program or its launcher said tells an odd failure from a wrong result.
        [ -s .stderr ] && head -c 2000 .stderr >&2
    fi
}

# expect_same_file <expected file> <actual file> <what>: byte for byte.
expect_same_file() {
    if ! cmp -s "$1" "$2"; then
        fail "$3: $2 differs from $1"
        diff <(od -c "$1") <(od -c "$2") | head -n 20 >&2
    fi
}

# expect_text <expected text> <actual file> <what>: the file holds exactly the text.
expect_text() {
    printf '%s' "$1" >"$WORK/.expected"
    expect_same_file "$WORK/.expected" "$2" "$3"
}

finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    exit 0
}
