# Command line: missing and unusable file operands, option forms, help, the parameter echo.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"

: >"$INPUT/empty.txt"
printf '# only a comment\n\n' >"$INPUT/comments.txt"
LIST_EMPTY="list is empty
"

# No arguments at all: the missing-file message, then the usage text.
new_run_dir
tavra_run
expect_status 1 "$status" "no arguments"
expect_text "

*** WAYPOINTS FILENAME IS MISSING ***
$USAGE_TEXT" .stdout "no arguments"
expect_no_stderr "no arguments"
expect_files "no arguments"

# A file that does not exist.
new_run_dir
tavra_run no-such-survey.txt
expect_status 1 "$status" "missing file"
expect_text "***CANNOT OPEN FILE no-such-survey.txt $USAGE_TEXT" .stdout "missing file"
expect_files "missing file"

# A directory is no waypoint file.
new_run_dir
tavra_run "$INPUT"
expect_status 1 "$status" "directory as file"
expect_text "***CANNOT OPEN FILE $INPUT $USAGE_TEXT" .stdout "directory as file"
expect_files "directory as file"

# A named pipe is read like any file, here one whose writer sends nothing at all.
new_run_dir
mkfifo "$INPUT/pipe"
: >"$INPUT/pipe" &
timeout 20 "$TAVRA" "$INPUT/pipe" </dev/null >.stdout 2>.stderr
status=$?
wait
expect_status 1 "$status" "named pipe as file"
expect_text "list is empty
" .stdout "named pipe as file"

# An empty file and a file of comments only hold no waypoint.
new_run_dir
tavra_run "$INPUT/empty.txt"
expect_status 1 "$status" "empty file"
expect_text "$LIST_EMPTY" .stdout "empty file"
expect_files "empty file"
tavra_run "$INPUT/comments.txt"
expect_status 1 "$status" "comments only"
expect_text "$LIST_EMPTY" .stdout "comments only"

# --verbose alone echoes exactly the defaults; the operand may stand before the options.
new_run_dir
tavra_run "$INPUT/empty.txt" --verbose
expect_status 1 "$status" "verbose after operand"
expect_text "$DEFAULT_ECHO$LIST_EMPTY" .stdout "verbose after operand"
expect_no_stderr "verbose after operand"

# The last of --verbose and --brief wins.
tavra_run --verbose --brief "$INPUT/empty.txt"
expect_text "$LIST_EMPTY" .stdout "verbose then brief"
tavra_run --brief --verbose "$INPUT/empty.txt"
expect_text "$DEFAULT_ECHO$LIST_EMPTY" .stdout "brief then verbose"

# expect_echo <what> <text before the echo> <line...>: standard output holds the text,
# then the default echo with the lines for the given fields replaced, then "list is empty".
expect_echo() {
    local what=$1 before=$2 line
    shift 2
    local text=$DEFAULT_ECHO
    for line in "$@"; do
        text=$(printf '%s' "$text" | sed "s/^${line%%.*}\.\.*[^.].*$/$line/"; printf x)
        text=${text%x}
    done
    expect_text "$before$text$LIST_EMPTY" .stdout "$what"
}

# Both long forms of an argument.
tavra_run --gpsHits=12 --verbose "$INPUT/empty.txt"
expect_echo "--gpsHits=12" "" 'gpsHits...........................12'
tavra_run --gpsHits 12 --verbose "$INPUT/empty.txt"
expect_echo "--gpsHits 12" "" 'gpsHits...........................12'

# Short options, -a and -b with their argument like -c, -d and -f.
tavra_run -c 0 --verbose "$INPUT/empty.txt"
expect_echo "-c 0" "" 'abortOnTimeout....................0'
tavra_run -a 7 -b 0 -d2 -f 11 --verbose "$INPUT/empty.txt"
expect_status 1 "$status" "-a -b -d -f"
expect_echo "-a -b -d -f" "" 'gpsHits...........................7' \
    'gulperMission.....................0' 'yoyoMission.......................2' \
    'missionYoyoMinDepth...............11'
expect_no_stderr "-a -b -d -f"

# Too many digits stick to the 32-bit limits instead of wrapping round.
tavra_run --gpsHits 99999999999 --yoyoMinAltitude -99999999999 --verbose "$INPUT/empty.txt"
expect_echo "saturated integers" "" 'gpsHits...........................2147483647' \
    'yoyoMinAltitude...................-2147483648'

# Doubles are decimal numbers; 2500.25 is a binary tie and rounds to the even 2500.2.
tavra_run --missionSpeed 2 --maxLegMeters 2500.25 --diveAngle 1e1 --verbose "$INPUT/empty.txt"
expect_echo "double options" "" 'missionSpeed......................2.000' \
    'maxLegMeters......................2500.2' 'diveAngle.........................10.0'

# --help and --usage beside a file print the usage text and the run goes on.
tavra_run --help --usage "$INPUT/empty.txt"
expect_text "$USAGE_TEXT$USAGE_TEXT$LIST_EMPTY" .stdout "help and usage"
expect_files "options"

# The dialogue with nothing to read ends the run without a file.
new_run_dir
tavra_run --interactive
expect_status 1 "$status" "dialogue at end of input"
expect_files "dialogue at end of input"

finish
