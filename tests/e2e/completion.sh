# Bash completion: every long option of the parser, the --export formats, file names.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
SRC=$(realpath "$DATA/../..")

source "$SRC/completions/tavra"
complete -p tavra >/dev/null || fail "no completion registered for tavra"

# expect_completion <what> <expected words, one per line, sorted> <word...>: completes the
# last word of the command line given as words, as bash splits it.
expect_completion() {
    local what=$1 expected=$2
    shift 2
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tavra
    local actual
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
    [ "$actual" = "$expected" ] ||
        fail "$what: completed '${actual//$'\n'/ }', expected '${expected//$'\n'/ }'"
}

# Every long option the parser knows is offered, and nothing else.
parser_options=$(grep -o '^ *{"[A-Za-z]*", ' "$SRC/src/app/options.cpp" |
    sed 's/^ *{"\([A-Za-z]*\)", /--\1/' | sort)
[ "$(printf '%s\n' "$parser_options" | wc -l)" -ge 26 ] ||
    fail "the option table was not found in options.cpp"
expect_completion "all options" "$parser_options" tavra --
expect_completion "all options after a dash" "$parser_options" tavra -
expect_completion "option prefix" "--maxDepth
--maxLegMeters" tavra survey.txt --max
expect_completion "unique option" "--export" tavra --exp

# The --export formats, as the next word, after "=" (which bash splits off) and after a comma.
expect_completion "export formats" "all
geojson
gpx
html
kml
lines-csv" tavra --export ""
expect_completion "export format prefix" "geojson
gpx" tavra --export g
expect_completion "export after =" "html" tavra --export = h
expect_completion "export right after =" "all
geojson
gpx
html
kml
lines-csv" tavra --export =
expect_completion "export after a comma" "kml,geojson
kml,gpx" tavra --export kml,g
expect_completion "export as one word" "--export=kml,html" tavra --export=kml,h

# A number is the planner's choice: nothing to offer, not even file names.
touch "$WORK/survey.txt"
cd "$WORK" || exit 1
expect_completion "number after a long option" "" tavra --gpsHits ""
expect_completion "number after =" "" tavra --maxLegMeters = ""
expect_completion "number after a short option" "" tavra -a ""

# The operand is a file name, also after an option's value and after "--".
mkdir "$WORK/surveys"
expect_completion "file name" "survey.txt
surveys" tavra sur
expect_completion "file name after a value" "survey.txt" tavra --gpsHits 12 survey.
expect_completion "dash file after --" "" tavra -- --
touch -- "$WORK/-odd.txt"
expect_completion "dash file name after --" "-odd.txt" tavra -- -o

finish
