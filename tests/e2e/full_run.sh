# Whole runs of the two-point example at a fixed time: the four files and the console.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"

# expect_example_files <what>
expect_example_files() {
    expect_files "$1" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
    local ext
    for ext in cfg wpt pts csv; do
        expect_same_file "$DATA/two_point_2020_189_155.$ext" "2020_189_155.$ext" "$1: $ext"
    done
}

new_run_dir
tavra_run_at_fixed_time "$INPUT/two_points.txt"
expect_status 0 "$status" "example"
expect_text "$WROTE_ALL" .stdout "example: console"
expect_no_stderr "example"
expect_example_files "example"

# A second run in the same minute replaces the first run's files.
printf 'stale\n' >2020_189_155.wpt
tavra_run_at_fixed_time "$INPUT/two_points.txt"
expect_status 0 "$status" "rerun"
expect_example_files "rerun"

# --help with a file: the usage text, then the normal run.
new_run_dir
tavra_run_at_fixed_time --help "$INPUT/two_points.txt"
expect_status 0 "$status" "help with a file"
expect_text "$USAGE_TEXT$WROTE_ALL" .stdout "help with a file: console"
expect_example_files "help with a file"

# --verbose echoes the parameters before the files are written.
new_run_dir
tavra_run_at_fixed_time "$INPUT/two_points.txt" --verbose
expect_status 0 "$status" "verbose run"
expect_text "$DEFAULT_ECHO$WROTE_ALL" .stdout "verbose run: console"
expect_example_files "verbose run"

# The dialogue takes over at --interactive: the options after it are not parsed (the echo
# and the menu show the default 30 GPS hits), and answers 0, n, 50, n accept every value,
# choose a plain mission at the default waypoint depth and no gulpers.
new_run_dir
printf '%s\n0\nn\n50\nn\n' "$INPUT/two_points.txt" |
    at_fixed_time "$TAVRA" --verbose --interactive --gpsHits 9 \
        >.stdout 2>.stderr
status=$?
expect_status 0 "$status" "interactive"
expect_no_stderr "interactive"
expect_files "interactive" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
for ext in wpt pts csv; do
    expect_same_file "$DATA/two_point_2020_189_155.$ext" "2020_189_155.$ext" "interactive: $ext"
done
head -c ${#DEFAULT_ECHO} .stdout >.echo
expect_text "$DEFAULT_ECHO" .echo "interactive: echo"
grep -qF ' 3  GPS_HITS 30' .stdout || fail "interactive: menu does not show 30 GPS hits"
tail -c ${#WROTE_ALL} .stdout >.wrote
expect_text "$WROTE_ALL" .wrote "interactive: confirmations"
grep -qE '^minHits += 30;$' 2020_189_155.cfg || fail "interactive: script does not ask for 30 hits"

# A dialogue writes the same four files as the options that set the same values. It runs in
# a session of its own, without a terminal, so an armed gulper awaits no key.
# compare_dialogue_with_options <what> <answers after the file name> <options...>
compare_dialogue_with_options() {
    local what=$1 answers=$2
    shift 2
    new_run_dir
    local options_dir=$PWD
    tavra_run_at_fixed_time "$@" "$INPUT/two_points.txt"
    expect_status 0 "$status" "$what: options"
    expect_text "$WROTE_ALL" .stdout "$what: options: console"

    new_run_dir
    printf '%s\n%s' "$INPUT/two_points.txt" "$answers" |
        at_fixed_time timeout 60 setsid -w "$TAVRA" --interactive \
            >.stdout 2>.stderr
    status=$?
    expect_status 0 "$status" "$what: dialogue"
    expect_no_stderr "$what: dialogue"
    expect_files "$what: dialogue" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
    tail -c ${#WROTE_ALL} .stdout >.wrote
    expect_text "$WROTE_ALL" .wrote "$what: dialogue: confirmations"
    local ext
    for ext in cfg wpt pts csv; do
        expect_same_file "$options_dir/2020_189_155.$ext" "2020_189_155.$ext" "$what: $ext"
    done
}

# 3 then 12 for the GPS fixes, 0, a plain mission at 40 m, no gulpers.
compare_dialogue_with_options "plain dialogue" $'3\n12\n0\nn\n40\nn\n' \
    --yoyoMission 0 --wayPointDepth 40 --gpsHits 12 --gulperMission 0
grep -qE '^minHits += 12;$' 2020_189_155.cfg || fail "plain dialogue: script does not ask for 12 hits"
grep -qE '^depth += 40\.0; $' 2020_189_155.cfg || fail "plain dialogue: legs not at 40 m"

# Speed 1.75, abortOnTimeout 0, a yo-yo mission between 20 m altitude and 85 m depth, gulpers
# armed.
compare_dialogue_with_options "yo-yo dialogue" $'1\n1.75\n10\n0\n0\ny\n3\n85\n1\n20\n0\ny\n' \
    --missionSpeed 1.75 --abortOnTimeout 0 --yoyoMission 1 --missionYoyoMaxDepth 85 \
    --yoyoMinAltitude 20 --gulperMission 1
grep -qF '#define MISSION_YOYO_MAX_DEPTH 85' 2020_189_155.cfg ||
    fail "yo-yo dialogue: script lacks the yo-yo maximum depth"

finish
