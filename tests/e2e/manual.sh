# The manual page: every option of the parser documented, the project's version, clean lint.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
SRC=$(realpath "$DATA/../..")
PAGE="$SRC/man/tavra.1"

# Each long option, and each short form, is the tag of an entry (the line after .TP).
parser_options=$(grep -o '^ *{"[A-Za-z]*", ' "$SRC/src/app/options.cpp" |
    sed 's/^ *{"\([A-Za-z]*\)", /\1/')
[ "$(printf '%s\n' "$parser_options" | wc -l)" -ge 26 ] ||
    fail "the option table was not found in options.cpp"
awk '/^\.TP$/ { getline; print }' "$PAGE" >"$WORK/tags"
for name in $parser_options; do
    grep -Eq "(^| )\\\\-\\\\-$name( |\$)" "$WORK/tags" || fail "--$name has no entry"
done
for letter in a b c d f; do
    grep -Eq " \\\\-$letter " "$WORK/tags" || fail "-$letter has no entry"
done

# The footer names the version that project() declares.
VERSION=$(sed -n 's/^project(tavra VERSION \([0-9][0-9.]*\) .*/\1/p' "$SRC/CMakeLists.txt")
grep -q "^\.TH TAVRA 1 [0-9-]* \"tavra $VERSION\" " "$PAGE" ||
    fail "the .TH line does not name tavra $VERSION"

# Both formatters read it without a complaint; CI installs them (.ci/package.sh).
if command -v mandoc >/dev/null; then
    mandoc -T lint "$PAGE" >"$WORK/lint" 2>&1 || true
    [ ! -s "$WORK/lint" ] || fail "mandoc: $(cat "$WORK/lint")"
else
    echo "note: mandoc is not installed, lint skipped" >&2
fi
if command -v groff >/dev/null; then
    groff -ww -z -man "$PAGE" >"$WORK/lint" 2>&1 || true
    [ ! -s "$WORK/lint" ] || fail "groff: $(cat "$WORK/lint")"
else
    echo "note: groff is not installed, lint skipped" >&2
fi

finish
