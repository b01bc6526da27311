# Helpers of the end-to-end scripts that run tavra: an empty directory per case, checks on
# what a run left there, and a clock fixed at 2020-07-08 15:05:30 UTC (stem 2020_189_155.).
# Source after common.bash.

USAGE_TEXT="$(cat "$DATA/run/usage.txt"; printf x)"
USAGE_TEXT="${USAGE_TEXT%x}"
DEFAULT_ECHO="$(cat "$DATA/run/parameters_default.txt"; printf x)"
DEFAULT_ECHO="${DEFAULT_ECHO%x}"
INPUT="$WORK/input"
mkdir -p "$INPUT"

# new_run_dir: cd into a fresh, empty directory, so that every file found there afterwards
# was made by the run.
new_run_dir() {
    cd "$(mktemp -d "$WORK/run.XXXXXX")" || exit 1
}

# tavra_run <args...>: runs tavra with stdin from /dev/null; sets $status, stdout in
# ./.stdout and stderr in ./.stderr (hidden, so expect_files ignores them).
tavra_run() {
    "$TAVRA" "$@" </dev/null >.stdout 2>.stderr
    status=$?
}

# at_fixed_time <command...>: runs it with the clock at 2020-07-08 15:05:30 UTC.
# libfaketime is preloaded directly, not through the faketime launcher: the launcher names a
# semaphore after its process id and refuses to start when a killed run left one of that
# name behind. AddressSanitizer accepts the preloaded library only when told.
export FAKETIME_LIBRARY=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
at_fixed_time() {
    TZ=UTC LD_PRELOAD="$FAKETIME_LIBRARY" FAKETIME='@2020-07-08 15:05:30' \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" "$@"
}

# tavra_run_at_fixed_time <args...>: tavra_run with the clock fixed.
tavra_run_at_fixed_time() {
    at_fixed_time "$TAVRA" "$@" </dev/null >.stdout 2>.stderr
    status=$?
}

# expect_files <what> <name...>: the run directory holds exactly these visible files.
expect_files() {
    local what=$1
    shift
    local expected actual
    expected=$(printf '%s\n' "$@" | sort)
    actual=$(find . -mindepth 1 -maxdepth 1 ! -name '.stdout' ! -name '.stderr' \
        -printf '%f\n' | sort)
    [ "$expected" = "$actual" ] || fail "$what: files '${actual//$'\n'/ }', expected '${expected//$'\n'/ }'"
}

# expect_no_stderr <what>
expect_no_stderr() {
    [ ! -s .stderr ] || fail "$1: unexpected standard error: $(head -c 300 .stderr)"
}

WROTE_ALL=" **** Wrote mission script: 2020_189_155.cfg **** 

 **** Wrote waypoints file : 2020_189_155.wpt ****

 **** Wrote survey line : 2020_189_155.pts ****

 **** Wrote csv file : 2020_189_155.csv ****
"

require_faketime() {
    [ -n "$FAKETIME_LIBRARY" ] || skip_test "libfaketime is not installed (Debian package faketime)"
}

# expect_two_point_outputs <what>: the run wrote the four files of the two-point example
# (tests/data/two_point_2020_189_155.*), confirmed each on the console, and said nothing on
# standard error.
expect_two_point_outputs() {
    expect_status 0 "$status" "$1"
    expect_text "$WROTE_ALL" .stdout "$1: console"
    expect_no_stderr "$1"
    expect_files "$1" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
    local ext
    for ext in cfg wpt pts csv; do
        expect_same_file "$DATA/two_point_2020_189_155.$ext" "2020_189_155.$ext" "$1: $ext"
    done
}

# refused_case <what> <file name> <content> <message>: a waypoint file of that content is
# refused with the message, before anything is written.
refused_case() {
    printf '%s' "$3" >"$INPUT/$2"
    new_run_dir
    tavra_run_at_fixed_time "$INPUT/$2"
    expect_status 1 "$status" "$1"
    expect_text "$4
" .stdout "$1"
    expect_files "$1"
}

# expect_listing <what> <file>: the dialogue listed the file byte for byte on standard output.
expect_listing() {
    local shown content
    shown=$(cat .stdout && printf x)
    content=$(cat "$2" && printf x)
    [[ ${shown%x} == *"Waypoint List:"$'\n\n'"${content%x}"* ]] || fail "$1: the listing is not the file"
}
