#!/usr/bin/env bash
# The Windows program: cross-builds tavra.exe with mingw-w64, runs its unit tests and whole
# runs under Wine, and checks that it writes the Linux program's files, with CR LF line ends.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
started=$SECONDS

export DEBIAN_FRONTEND=noninteractive
# Of mingw-w64 only the compiler in use (64-bit, posix threads): a quarter of the download.
apt-get install -y --no-install-recommends g++-mingw-w64-x86-64-posix wine64 cmake make g++ \
    libgtest-dev nlohmann-json3-dev

# The Linux program to compare with: the main run's build when there is one.
LINUX_TAVRA=$ROOT/build/tavra
if [ ! -x "$LINUX_TAVRA" ]; then
    cmake -S . -B build-linux-reference -DTAVRA_BUILD_TESTS=OFF
    cmake --build build-linux-reference -j2
    LINUX_TAVRA=$ROOT/build-linux-reference/tavra
fi

# The README's command, as a planner types it; it must work without further flags.
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DTAVRA_BUILD_TESTS=OFF && cmake --build build-windows -j
# Then the tests in the same build: GoogleTest has no mingw build in Debian; its source,
# which libgtest-dev ships, is built for the target instead.
cmake -S . -B build-windows -DTAVRA_BUILD_TESTS=ON -DTAVRA_GTEST_SOURCE_DIR=/usr/src/googletest
cmake --build build-windows -j2
WIN_TAVRA=$ROOT/build-windows/tavra.exe
built=$SECONDS

WINE=/usr/lib/wine/wine64
WORK=$(mktemp -d)
export WINEDEBUG=-all WINEPREFIX=$WORK/wineprefix
mkdir "$WINEPREFIX"
# Ends the Wine processes of this prefix only, which this script started.
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; rm -rf "$WORK"' EXIT
# The first start makes the prefix, which takes a while; every later run reuses it.
"$WINE" wineboot --init </dev/null >"$WORK/wineboot.log" 2>&1 || {
    cat "$WORK/wineboot.log" >&2
    exit 1
}

"$WINE" "$ROOT/build-windows/tests/tavra_tests.exe" --gtest_brief=1 </dev/null

# ---------------------------------------------------------------------------------------
# Whole runs: each case runs both programs on the same input in twin directories at the
# same depth, so that the file names they print are the same.

passed=0
failed=0
check() { # check <what> <command...>
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what" >&2
    fi
}

INPUT=$WORK/input
mkdir "$INPUT"
cp tests/data/run/two_points.txt "$INPUT/two_points.txt"
cp examples/monterey_lawnmower.txt "$INPUT/lawnmower.txt"
# The same survey as a Windows editor saves it: byte-order mark and CR LF line ends.
{
    printf '\xef\xbb\xbf'
    sed 's/$/\r/' examples/monterey_lawnmower.txt
} >"$INPUT/lawnmower_crlf.txt"
printf '36.8167 -121.8171\n36.8215 -121.7986\nnorth of the kelp\n' >"$INPUT/bad.txt"
: >"$INPUT/empty.txt"
# Windows text mode would end this file at the Ctrl-Z and plan the first waypoint alone.
printf '36.8167 -121.8171\r\n\x1a36.8215 -121.7986\r\n' >"$INPUT/ctrl_z.txt"
# The two-point example as planners keep it: CSV from a spreadsheet set to decimal commas,
# degrees and minutes off a chart, GeoJSON from a GIS; and formats this build cannot read.
printf '\xef\xbb\xbf"Name";"Latitude";"Longitude"\r\n"Buoy; north";"36,8167";-121,8171\r\nEnd;36.8215;-121.7986\r\n' \
    >"$INPUT/semicolons.csv"
printf 'lat,lon\r\n36.8167\r\n' >"$INPUT/short_row.csv"
printf '36 49.002 N 121 49.026 W\r\n36\xc2\xb049.29\x27N 121\xc2\xb047.916\x27W\r\n' >"$INPUT/minutes.txt"
printf '36 60 N 121 49.026 W\r\n' >"$INPUT/sixty.txt"
printf '{"type":"Feature","properties":{},"geometry":{"type":"LineString","coordinates":[[-121.8171,36.8167],[-121.7986,36.8215]]}}\n' \
    >"$INPUT/route.geojson"
printf '<?xml version="1.0"?>\n<gpx version="1.1" creator="hand"><rte><rtept lat="36.8167" lon="-121.8171"/><rtept lat="36.8215" lon="-121.7986"/></rte></gpx>\n' \
    >"$INPUT/route.gpx"
printf '<?xml version="1.0"?>\n<kml xmlns="http://www.opengis.net/kml/2.2"><Placemark><LineString><coordinates>-121.8171,36.8167 -121.7986,36.8215</coordinates></LineString></Placemark></kml>\n' \
    >"$INPUT/route.kml"

# load <var> <file>: the file's bytes into var, kept whole (trailing line ends included).
load() {
    local loaded
    loaded=$(cat "$2" && printf x)
    printf -v "$1" '%s' "${loaded%x}"
}

# normalize <var> <file> <stem>: the file with CR LF as LF, and its run's stem as STEM.
normalize() {
    local normalized
    load normalized "$2"
    normalized=${normalized//$'\r\n'/$'\n'}
    [ -z "$3" ] || normalized=${normalized//"$3"/STEM.}
    printf -v "$1" '%s' "$normalized"
}

# crlf_only <file>: every line end is CR LF, with at least one, and no CR stands alone.
crlf_only() {
    local text rest
    load text "$1"
    rest=${text//$'\r\n'/}
    [[ $text == *$'\r\n'* && $rest != *$'\n'* && $rest != *$'\r'* ]] ||
        { echo "  $1 has line ends other than CR LF" >&2; return 1; }
}

# same_text <what> <expected> <actual>
same_text() {
    [ "$2" = "$3" ] && return 0
    echo "  $1 differs:" >&2
    diff <(printf '%s' "$2") <(printf '%s' "$3") | head -n 20 >&2
    return 1
}

# same_normalized <what> <expected file> <its stem> <actual file> <its stem>
same_normalized() {
    local expected actual
    normalize expected "$2" "$3"
    normalize actual "$4" "$5"
    same_text "$1" "$expected" "$actual"
}

# console_is <what> <text>: the Windows program printed exactly text, with CR LF.
console_is() {
    local actual
    normalize actual "$CASE/windows.out" ""
    same_text "$1" "$2" "$actual"
}

# stem_in <dir>: the stem of the files a run left there, empty if none.
stem_in() {
    local cfg
    cfg=$(cd "$1" && ls -- *.cfg 2>/dev/null | head -n 1) || true
    printf '%s' "${cfg%cfg}"
}

# both_run <case> <answers> <args...>: runs both programs, with standard input from
# /dev/null or, for a file of answers, from a pipe; the Windows one under a time limit, so
# that a wait for a key that nobody presses fails the case instead of hanging CI.
both_run() {
    local name=$1 answers=$2
    shift 2
    CASE=$WORK/$name
    mkdir -p "$CASE/linux" "$CASE/windows"
    LINUX_STATUS=0
    WINDOWS_STATUS=0
    # setsid: no controlling terminal, as on CI, whoever runs this script.
    if [ "$answers" = /dev/null ]; then
        (cd "$CASE/linux" && setsid -w "$LINUX_TAVRA" "$@" </dev/null >../linux.out 2>../linux.err) ||
            LINUX_STATUS=$?
        (cd "$CASE/windows" && timeout 120 "$WINE" "$WIN_TAVRA" "$@" </dev/null >../windows.out \
            2>../windows.err) || WINDOWS_STATUS=$?
    else
        # cat: the answers arrive through a pipe, as from another program.
        (cd "$CASE/linux" && cat "$answers" | setsid -w "$LINUX_TAVRA" "$@" >../linux.out \
            2>../linux.err) || LINUX_STATUS=$?
        (cd "$CASE/windows" && cat "$answers" | timeout 120 "$WINE" "$WIN_TAVRA" "$@" \
            >../windows.out 2>../windows.err) || WINDOWS_STATUS=$?
    fi
    LINUX_STEM=$(stem_in "$CASE/linux")
    WINDOWS_STEM=$(stem_in "$CASE/windows")
}

# listing <dir> <stem>: the names a run left there, hidden ones too, with STEM. for the stem.
listing() {
    local f
    for f in $(cd "$1" && ls -A); do
        [ -z "$2" ] || f=${f/#"$2"/STEM.}
        printf '%s\n' "$f"
    done
}

# expect_same_run <case> <expected status> <expected number of files>: same status,
# console and files on both, the Windows ones CR LF throughout.
expect_same_run() {
    local name=$1 status=$2 files=$3 f
    check "$name: status $WINDOWS_STATUS (Linux $LINUX_STATUS), expected $status" \
        [ "$WINDOWS_STATUS" = "$status" -a "$LINUX_STATUS" = "$status" ]
    check "$name: console" same_normalized "$name: console" \
        "$CASE/linux.out" "$LINUX_STEM" "$CASE/windows.out" "$WINDOWS_STEM"
    [ ! -s "$CASE/windows.out" ] || check "$name: console CR LF" crlf_only "$CASE/windows.out"
    check "$name: file names" same_text "$name: file names" \
        "$(listing "$CASE/linux" "$LINUX_STEM")" "$(listing "$CASE/windows" "$WINDOWS_STEM")"
    check "$name: $files files" [ "$(ls -A "$CASE/windows" | wc -l)" = "$files" ]
    for f in "$CASE"/windows/*; do
        [ -e "$f" ] || continue
        f=$(basename "$f")
        check "$name: $f CR LF" crlf_only "$CASE/windows/$f"
        check "$name: $f as on Linux" same_normalized "$name: $f" \
            "$CASE/linux/${f/#"$WINDOWS_STEM"/$LINUX_STEM}" "$LINUX_STEM" \
            "$CASE/windows/$f" "$WINDOWS_STEM"
    done
}

expect_no_stderr() {
    check "$1: no standard error" [ ! -s "$CASE/windows.err" -a ! -s "$CASE/linux.err" ]
}

load USAGE tests/data/run/usage.txt

# Usage and exit statuses.
both_run no_arguments /dev/null
expect_same_run no_arguments 1 0
check "no arguments: console text" console_is "no arguments" \
    $'\n\n*** WAYPOINTS FILENAME IS MISSING ***\n'"$USAGE"
expect_no_stderr no_arguments

both_run missing_file /dev/null no-such-survey.txt
expect_same_run missing_file 1 0
check "missing file: console text" console_is "missing file" \
    "***CANNOT OPEN FILE no-such-survey.txt $USAGE"

both_run help /dev/null --help ../../input/two_points.txt
expect_same_run help 0 4

# Help alone answers in full; a mistake on the command line stops the run with one line.
both_run help_alone /dev/null --help
expect_same_run help_alone 0 0
check "help alone: the reference" grep -q 'man tavra' "$CASE/windows.out"
both_run bad_option /dev/null --bogus ../../input/two_points.txt
expect_same_run bad_option 1 0
check "bad option: console text" console_is "bad option" \
    $'*** unknown option --bogus ***\nRun tavra --help for the options.\n'
expect_no_stderr bad_option
both_run typo /dev/null --wayPointdepth 40 ../../input/two_points.txt
expect_same_run typo 1 0
check "typo: suggestion" grep -q 'did you mean --wayPointDepth?' "$CASE/windows.out"
both_run not_a_number /dev/null --gpsHits 3O ../../input/two_points.txt
expect_same_run not_a_number 1 0
both_run two_files /dev/null ../../input/two_points.txt ../../input/lawnmower.txt
expect_same_run two_files 1 0
# The platforms' parsers report these differently; tavra's messages are the same.
both_run value_to_a_flag /dev/null --check=yes ../../input/two_points.txt
expect_same_run value_to_a_flag 1 0
both_run ambiguous /dev/null --m 5 ../../input/two_points.txt
expect_same_run ambiguous 1 0
both_run missing_value /dev/null ../../input/two_points.txt --maxDepth
expect_same_run missing_value 1 0
both_run short_in_cluster /dev/null -hx ../../input/two_points.txt
expect_same_run short_in_cluster 1 0

# --outputDir: the files in the folder, the names inside them bare.
both_run output_dir_missing /dev/null --outputDir missing ../../input/two_points.txt
expect_same_run output_dir_missing 1 0
CASE=$WORK/output_dir
mkdir -p "$CASE/windows/out"
WINDOWS_STATUS=0
(cd "$CASE/windows" && timeout 120 "$WINE" "$WIN_TAVRA" --outputDir out ../../input/two_points.txt \
    </dev/null >../windows.out 2>&1) || WINDOWS_STATUS=$?
check "output dir: status $WINDOWS_STATUS" [ "$WINDOWS_STATUS" = 0 ]
check "output dir: four files there" [ "$(ls "$CASE/windows/out" | wc -l)" = 4 ]
check "output dir: no lock left" [ -z "$(ls -A "$CASE/windows/out" | grep lock)" ]
# Files of the same names written on another day are kept, unless the minute has turned
# between the two runs and the stem with it.
touch -d '2001-01-01 00:00 UTC' "$CASE"/windows/out/*
stem=$(cd "$CASE/windows/out" && ls -- *.cfg) && stem=${stem%cfg}
WINDOWS_STATUS=0
(cd "$CASE/windows" && timeout 120 "$WINE" "$WIN_TAVRA" --outputDir out ../../input/lawnmower.txt \
    </dev/null >../windows.out 2>&1) || WINDOWS_STATUS=$?
if [ -e "$CASE/windows/out/${stem}cfg" ] && [ "$(ls "$CASE/windows/out" | wc -l)" = 4 ]; then
    check "another day's files: status $WINDOWS_STATUS" [ "$WINDOWS_STATUS" = 1 ]
    check "another day's files: kept" [ "$(grep -c . "$CASE/windows/out/${stem}wpt")" = 3 ]
fi

both_run verbose /dev/null ../../input/two_points.txt --verbose --missionSpeed=1.75 -c 0 \
    --yoyoMission 0 --gpsHits=12
expect_same_run verbose 0 4

both_run bad_max_leg /dev/null --maxLegMeters 0 ../../input/two_points.txt
expect_same_run bad_max_leg 1 0

# The two-point example, also against the files worked out by hand.
both_run two_points /dev/null ../../input/two_points.txt
expect_same_run two_points 0 4
expect_no_stderr two_points
for ext in cfg wpt pts csv; do
    check "two points: $ext as worked out" same_normalized "two points: $ext" \
        "tests/data/two_point_2020_189_155.$ext" 2020_189_155. \
        "$CASE/windows/${WINDOWS_STEM}$ext" "$WINDOWS_STEM"
done

# A split route: the bundled survey, and the same survey saved on Windows.
both_run split_route /dev/null ../../input/lawnmower.txt
expect_same_run split_route 0 4
# Eight points, the four long lines (about 5.3 km each) cut in two, and the launch point.
check "split route: 13 route points" [ "$(grep -c . "$CASE/windows/${WINDOWS_STEM}wpt")" = 13 ]
lf_case=$CASE
lf_stem=$WINDOWS_STEM
both_run split_route_crlf /dev/null ../../input/lawnmower_crlf.txt
expect_same_run split_route_crlf 0 4
for ext in cfg wpt pts csv; do
    check "CR LF input: $ext as from LF input" same_normalized "CR LF input: $ext" \
        "$lf_case/windows/$lf_stem$ext" "$lf_stem" "$CASE/windows/${WINDOWS_STEM}$ext" "$WINDOWS_STEM"
done

# expect_refusal <case> <answers> <message pattern> <args...>: both programs refuse the
# input alike, with the message, and write nothing.
expect_refusal() {
    local name=$1 answers=$2 pattern=$3
    shift 3
    both_run "$name" "$answers" "$@"
    expect_same_run "$name" 1 0
    [ -z "$pattern" ] || check "$name: message" grep -q "$pattern" "$CASE/windows.out"
}

# Bad input files.
expect_refusal bad_file /dev/null 'BAD WAYPOINT LINE .* line 3: "north of the kelp"' \
    ../../input/bad.txt
expect_refusal ctrl_z /dev/null '' ../../input/ctrl_z.txt
expect_refusal empty_file /dev/null '' ../../input/empty.txt

# Where waypoints come from: CSV, degrees and minutes and standard input give the
# two-point example; refusals are the Linux program's.
for source in semicolons.csv minutes.txt -; do
    name=from_${source/#-/standard_input}
    if [ "$source" = - ]; then
        both_run "$name" "$INPUT/two_points.txt" -
    else
        both_run "$name" /dev/null "../../input/$source"
    fi
    expect_same_run "$name" 0 4
    for ext in cfg wpt pts csv; do
        check "$name: $ext as worked out" same_normalized "$name: $ext" \
            "tests/data/two_point_2020_189_155.$ext" 2020_189_155. \
            "$CASE/windows/${WINDOWS_STEM}$ext" "$WINDOWS_STEM"
    done
done
expect_refusal csv_short_row /dev/null 'BAD CSV FILE .* line 2: "36.8167" (no longitude cell' \
    ../../input/short_row.csv
expect_refusal minutes_sixty /dev/null 'minutes must be below 60, not 60' ../../input/sixty.txt
# Standard input is read as bytes: a Ctrl-Z is a bad line there too, not an end of input.
expect_refusal standard_input_ctrl_z "$INPUT/ctrl_z.txt" 'BAD WAYPOINT LINE .* line 2: ' -
# GeoJSON needs only nlohmann-json, which the Windows build has: the two-point example.
both_run geojson /dev/null ../../input/route.geojson
expect_same_run geojson 0 4
for ext in cfg wpt pts csv; do
    check "geojson: $ext as worked out" same_normalized "geojson: $ext" \
        "tests/data/two_point_2020_189_155.$ext" 2020_189_155. \
        "$CASE/windows/${WINDOWS_STEM}$ext" "$WINDOWS_STEM"
done
# Without pugixml GPX and KML get one line that says so, and nothing is written.
for format in gpx kml; do
    both_run "$format" /dev/null "../../input/route.$format"
    check "$format: status $WINDOWS_STATUS" [ "$WINDOWS_STATUS" = 1 ]
    check "$format: no file" [ -z "$(ls -A "$CASE/windows")" ]
    check "$format: one line" [ "$(tr -d '\r' <"$CASE/windows.out" | wc -l)" = 1 ]
    check "$format: names the format" grep -qi "$format" "$CASE/windows.out"
done

# The dialogue with its answers from a pipe: nobody is at a console, so the gulper notice
# must not wait for a key.
printf '../../input/two_points.txt\n0\nn\n50\ny\n' >"$WORK/plain_gulper.answers"
both_run dialogue_gulper "$WORK/plain_gulper.answers" --interactive
expect_same_run dialogue_gulper 0 4
check "dialogue: gulper notice" grep -q 'Hit any key to continue' "$CASE/windows.out"

# The same with a console there (script gives Wine a terminal, so the program gets a
# console): the answers still come from elsewhere, so nobody is there to press the key.
gulper_case=$CASE
gulper_stem=$WINDOWS_STEM
CASE=$WORK/dialogue_console
mkdir -p "$CASE/windows"
console_status=0
(cd "$CASE/windows" && timeout 120 script -qec "$(printf '%q ' cat "$WORK/plain_gulper.answers") |
    $(printf '%q ' "$WINE" "$WIN_TAVRA") --interactive" /dev/null </dev/null >../windows.out 2>&1) ||
    console_status=$?
check "dialogue at a console: status $console_status" [ "$console_status" = 0 ]
console_stem=$(stem_in "$CASE/windows")
for ext in cfg wpt pts csv; do
    check "dialogue at a console: $ext" same_normalized "dialogue at a console: $ext" \
        "$gulper_case/windows/$gulper_stem$ext" "$gulper_stem" \
        "$CASE/windows/$console_stem$ext" "$console_stem"
done

# A yo-yo mission with edits in both menus.
printf '../../input/lawnmower.txt\n3\n12\n1\n1.75\n0\ny\n1\n20\n0\nn\n' >"$WORK/yoyo.answers"
both_run dialogue_yoyo "$WORK/yoyo.answers" --verbose --interactive
expect_same_run dialogue_yoyo 0 4
# Standard input that ends at once: the dialogue gives up instead of asking for ever.
both_run dialogue_no_input /dev/null --interactive
expect_same_run dialogue_no_input 1 0

echo "Windows program: built in $((built - started)) s, tested in $((SECONDS - built)) s"
echo "windows: $passed passed, $failed failed"
[ "$failed" = 0 ]
