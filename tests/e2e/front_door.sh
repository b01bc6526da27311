# The front door: help, the mistakes that stop a run, where the files go, which files of
# other runs are kept, and two runs at once in one folder.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime
SRC=$(realpath "$DATA/../..")

cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"
cp "$SRC/examples/monterey_lawnmower.txt" "$INPUT/lawnmower.txt"
HINT="Run tavra --help for the options."

# door <what> <status> <standard output, a bash pattern> <args...>: a fresh folder, the clock
# fixed; a refused run leaves nothing behind.
door() {
    local what=$1 expected=$2 pattern=$3
    shift 3
    new_run_dir
    tavra_run_at_fixed_time "$@"
    expect_status "$expected" "$status" "$what"
    local shown
    shown=$(cat .stdout)
    # shellcheck disable=SC2053 # the expected text is a pattern
    [[ $shown == $pattern ]] || fail "$what: printed '$(head -c 400 .stdout)'"
    [ "$expected" = 0 ] || expect_files "$what"
}

T=$INPUT/two_points.txt
door "help" 0 "tavra plans a survey mission*The whole reference: man tavra" --help
door "-h" 0 "tavra plans*man tavra" -h --verbose
door "help beside a file" 0 $'\ntavra Command Line Parameters:*Wrote csv file*' --help "$T"
door "typo with its value" 1 "*** unknown option --wayPointdepth=40: did you mean --wayPointDepth? ***
$HINT" --wayPointdepth=40 --yoyoMission 0 "$T"
door "typo before its value" 1 "*** unknown option --wayPointdepth: did you mean --wayPointDepth? ***
$HINT" --wayPointdepth 40 "$T"
door "letter O for zero" 1 "*** --gpsHits takes a whole number, not \"3O\" ***
$HINT" --gpsHits 3O "$T"
door "a unit" 1 "*** --wayPointDepth takes a number, not \"40m\" ***
$HINT" --wayPointDepth 40m "$T"
door "no value" 1 "*** --maxDepth needs a value ***
$HINT" "$T" --maxDepth
door "three files" 1 "*** one waypoint file at a time: $T and b.txt were both given ***
$HINT" "$T" b.txt c.txt
door "missing folder" 1 "*** --outputDir no-such-folder: no such folder (it is not made for you) ***" \
    --outputDir no-such-folder "$T"
[ -e no-such-folder ] && fail "missing folder: it was made"
door "unopenable file, name escaped" 1 $'***CANNOT OPEN FILE a\\\\nb *' $'a\nb'
printf '36.8 -121.8\nxx\n' >"$INPUT/"$'bad\eline.txt'
door "bad line, name escaped" 1 "*** BAD WAYPOINT LINE *** $INPUT/bad\\\\x1bline.txt line 2: *" \
    "$INPUT/"$'bad\eline.txt'

# The help names every long option of the parser.
new_run_dir
tavra_run --help
for name in $(grep -o '^ *{"[A-Za-z]*", ' "$SRC/src/app/options.cpp" | sed 's/^ *{"\([A-Za-z]*\)", /\1/'); do
    grep -q -- "--$name\b" .stdout || fail "help: --$name is not listed"
done

# --outputDir: the files there, the names inside them bare.
new_run_dir
mkdir out
tavra_run_at_fixed_time --outputDir out "$T"
expect_status 0 "$status" "output folder"
expect_files "output folder" out
[ "$(ls out)" = "$(printf '2020_189_155.%s\n' cfg csv pts wpt)" ] || fail "output folder: $(ls out)"
grep -q " **** Wrote mission script: out/2020_189_155.cfg" .stdout || fail "output folder: console"
head -n 1 out/2020_189_155.cfg | grep -qx '# Mission Filename: 2020_189_155.cfg' ||
    fail "output folder: the name inside the script"

# at <UTC time> <args...>: tavra with the clock at that time. The times of files are read
# as they are (libfaketime would move them by as much as the clock), so that written_at
# decides when a file was written.
at() {
    local when=$1
    shift
    TZ=UTC LD_PRELOAD="$FAKETIME_LIBRARY" FAKETIME="@$when" NO_FAKE_STAT=1 \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
        "$TAVRA" "$@" </dev/null >.stdout 2>.stderr
    status=$?
}
# written_at <UTC time> <files...>: the files as a run at that time would have left them.
written_at() {
    local when=$1
    shift
    touch -d "$when UTC" "$@"
}

# 01:47 and 14:07 give the same stem: the later run keeps the earlier run's files.
new_run_dir
at "2020-07-08 01:47:10" "$T"
expect_status 0 "$status" "01:47"
written_at "2020-07-08 01:47:12" 2020_189_147.*
mkdir earlier && cp 2020_189_147.* earlier/
at "2020-07-08 14:07:40" "$INPUT/lawnmower.txt"
expect_status 1 "$status" "14:07 after 01:47"
expect_text "*** 2020_189_147.cfg was written 2020-07-08 01:47 UTC, not by a run of this minute: it is kept and nothing is written. Write elsewhere with --outputDir DIR, or replace it with --overwrite ***
" .stdout "14:07 after 01:47"
for f in earlier/*; do expect_same_file "$f" "${f#earlier/}" "14:07 after 01:47: $f kept"; done
# Another day gives another stem; the same day and minute a year on does too.
at "2020-07-08 14:07:40" --overwrite "$INPUT/lawnmower.txt"
expect_status 0 "$status" "14:07 with --overwrite"
cmp -s earlier/2020_189_147.wpt 2020_189_147.wpt && fail "14:07 with --overwrite: wpt kept"

# A re-run in the same minute replaces the files of the first, as it always did.
new_run_dir
at "2020-07-08 15:05:10" "$T"
written_at "2020-07-08 15:05:11" 2020_189_155.*
at "2020-07-08 15:05:50" "$INPUT/lawnmower.txt"
expect_status 0 "$status" "re-run in the minute"
[ "$(grep -c . 2020_189_155.wpt)" = 13 ] || fail "re-run in the minute: the wpt was not replaced"
# An export of another run is kept like the four files.
written_at "2020-07-08 15:05:51" 2020_189_155.*
written_at "2020-07-07 15:05:00" 2020_189_155.wpt
at "2020-07-08 15:05:50" --export gpx "$T"
expect_status 1 "$status" "another day's wpt"
grep -q '^\*\*\* 2020_189_155.wpt was written 2020-07-07 15:05 UTC' .stdout || fail "another day's wpt"
[ -e 2020_189_155.gpx ] && fail "another day's wpt: the gpx was written"

# Two runs at once in one folder, in the same minute: the second waits for the first and
# replaces all of its files, never some. The two routes give files of different lengths, so
# each file tells which run wrote it. Real time: the two runs' files carry their own minute.
LINES_TWO=$(cd "$WORK" && mkdir ref_two && cd ref_two && "$TAVRA" "$T" >/dev/null &&
    wc -l ./*.cfg ./*.wpt ./*.pts ./*.csv | head -n 4 | awk '{print $1}' | tr '\n' ' ')
LINES_MOWER=$(cd "$WORK" && mkdir ref_mower && cd ref_mower && "$TAVRA" "$INPUT/lawnmower.txt" >/dev/null &&
    wc -l ./*.cfg ./*.wpt ./*.pts ./*.csv | head -n 4 | awk '{print $1}' | tr '\n' ' ')
for pair in $(seq 1 20); do
    new_run_dir
    "$TAVRA" "$T" >one.out 2>&1 </dev/null &
    first=$!
    "$TAVRA" "$INPUT/lawnmower.txt" >two.out 2>&1 </dev/null &
    second=$!
    wait "$first" || fail "pair $pair: the first run failed: $(cat one.out)"
    wait "$second" || fail "pair $pair: the second run failed: $(cat two.out)"
    for stem in $(ls ./*.cfg | sed 's/cfg$//'); do
        counts=$(wc -l "${stem}cfg" "${stem}wpt" "${stem}pts" "${stem}csv" | head -n 4 |
            awk '{print $1}' | tr '\n' ' ')
        [ "$counts" = "$LINES_TWO" ] || [ "$counts" = "$LINES_MOWER" ] ||
            fail "pair $pair: a mixed set under $stem (lines $counts)"
    done
    [ -z "$(find . -name '.*lock')" ] || fail "pair $pair: a lock file was left"
done

finish
