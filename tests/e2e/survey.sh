# Survey lines from an area: line counts of known shapes, the summary, the survey waypoint
# file planned again with plain tavra, --check, and refusals that write nothing.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

AREAS="$DATA/survey"

# A build without GDAL has no survey generation and says so in one line.
new_run_dir
tavra_run --survey "$AREAS/rectangle.txt" --lineSpacing 100
if grep -q "no survey generation" .stdout; then
    expect_status 1 "$status" "without GDAL"
    expect_text "*** this build of tavra has no survey generation (--survey): it was built without GDAL ***
" .stdout "without GDAL"
    expect_files "without GDAL"
    finish
fi

FOUR_FILES="2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv"

# surveyed <what> <lines line of the summary> <args...>: a run that writes the four files,
# the survey waypoint file, and a summary whose lines line is as given.
surveyed() {
    local what=$1 lines=$2
    shift 2
    new_run_dir
    tavra_run_at_fixed_time "$@"
    expect_status 0 "$status" "$what"
    # shellcheck disable=SC2086
    expect_files "$what" $FOUR_FILES 2020_189_155.survey.txt
    grep -qxF "  lines           $lines" .stdout ||
        fail "$what: summary says '$(grep '^  lines' .stdout)', expected '$lines'"
    grep -qF " **** Wrote survey waypoints file : 2020_189_155.survey.txt ****" .stdout ||
        fail "$what: no confirmation of the survey waypoint file"
}

# A box about 1960 m by 940 m: eleven east-west lines 88.9 m apart, 100 m less twice the
# 5.55 m that rounding a latitude to 0.0001 degrees may move them, the outer two 27 m inside.
surveyed "rectangle" "11 lines in 1 cell, 88.90 m apart (100.00 m asked, less twice the 5.55 m that rounding to 0.0001 degrees may move a line)" --survey "$AREAS/rectangle.txt" \
    --lineSpacing 100
# The L, 1.5 km east-west: north-south lines, which rounding moves least (4.46 m, half
# 0.0001 degrees of longitude), 91.07 m apart on one grid: 17 lines, and a piece along the
# bay's inner shore, where the grid leaves a strip wider than 5 % of the spacing.
surveyed "L-shaped bay" "18 lines in 2 cells, 91.07 m apart (100.00 m asked, less twice the 4.46 m that rounding to 0.0001 degrees may move a line)" --survey "$AREAS/l_bay.txt" \
    --lineSpacing 100
# A box with a square island, in GeoJSON: the water south and north of the island and
# either side of it are four cells on one grid of lines 88.9 m apart; no waypoint lies on
# the island.
surveyed "area with an island" "14 lines in 4 cells, 88.90 m apart (100.00 m asked, less twice the 5.55 m that rounding to 0.0001 degrees may move a line)" --survey "$AREAS/island.geojson" \
    --lineSpacing 100
awk '!/^#/ && $1 > 36.8030 && $1 < 36.8055 && $2 > -121.9420 && $2 < -121.9364 { found = 1 }
    END { exit found }' 2020_189_155.survey.txt || fail "area with an island: a waypoint on the island"
# The preview draws the area under the route, the island as a second ring of its path.
new_run_dir
tavra_run_at_fixed_time --survey "$AREAS/island.geojson" --lineSpacing 100 --export html
expect_status 0 "$status" "preview of a survey"
grep -q '<g class="surveyarea"><title>survey area[^<]*</title><path d="M[^"]* Z M[^"]* Z"/></g>' \
    2020_189_155.html || fail "preview of a survey: no area with its island on the map"

# Launched from the island: the first line starts on its eastern shore, and the launch
# waypoint 500 m behind it lies west of the island, 498.6 m across. The files are written
# and the error goes with the other findings to standard error.
surveyed "launch across the island" "14 lines in 4 cells, 88.90 m apart (100.00 m asked, less twice the 5.55 m that rounding to 0.0001 degrees may move a line)" \
    --survey "$AREAS/island.geojson" --lineSpacing 100 --startNear "36.8042 -121.9392"
grep -q "^error: the launch leg, from waypoint 0 to waypoint 1, enters hole 1 of the survey area at 1[.][0-9] m along it (36[.]80[0-9]* -121[.]942000)$" .stderr ||
    fail "launch across the island: no error on standard error: $(cat .stderr)"
# The spacing from the swath: 125 m less 20 % is 100 m, the same lines.
surveyed "swath and overlap" "18 lines in 2 cells, 91.07 m apart (100.00 m asked, less twice the 4.46 m that rounding to 0.0001 degrees may move a line)" --survey "$AREAS/l_bay.txt" \
    --swathWidth 125 --overlap 20

# The survey waypoint file planned with plain tavra gives the same four files.
surveyed "round trip" "11 lines in 1 cell, 88.90 m apart (100.00 m asked, less twice the 5.55 m that rounding to 0.0001 degrees may move a line)" --survey "$AREAS/rectangle.txt" \
    --lineSpacing 100 --runIn 30 --crossLines 2 --maxLegMeters 700
SURVEYED=$PWD
# 13 lines' ends, each survey line (2083 m with its run-in) cut twice and each tie line
# (1063 m) once, and one cut in the transit to the first tie line: the planner cuts nothing.
[ "$(grep -c '^[^#]' 2020_189_155.survey.txt)" = 51 ] ||
    fail "round trip: $(grep -c '^[^#]' 2020_189_155.survey.txt) waypoints, expected 51"
[ "$(grep -c '^[0-9][0-9]*,' 2020_189_155.csv)" = 52 ] ||
    fail "round trip: the planner cut the survey again: $(grep -c '^[0-9][0-9]*,' 2020_189_155.csv) route points"
grep -q '^36\.80[0-9]\{7\} -121\.9[0-9]\{8\}$' 2020_189_155.survey.txt ||
    fail "round trip: no position written to 9 decimals"
new_run_dir
tavra_run_at_fixed_time --maxLegMeters 700 "$SURVEYED/2020_189_155.survey.txt"
expect_status 0 "$status" "round trip: plain run"
for file in $FOUR_FILES; do
    expect_same_file "$SURVEYED/$file" "$file" "round trip"
done

# The lines numbered in the exports: eleven survey lines of one cell, run east and west in
# turn, 2023 m each on the ellipsoid (1963.4 m across the box, 60 m of run-in, less the
# slant of its edges), and the ten turns between them.
new_run_dir
tavra_run_at_fixed_time --survey "$AREAS/rectangle.txt" --lineSpacing 100 --runIn 30 \
    --export geojson,lines-csv
expect_status 0 "$status" "numbered lines"
# shellcheck disable=SC2086
expect_files "numbered lines" $FOUR_FILES 2020_189_155.survey.txt 2020_189_155.geojson \
    2020_189_155.lines.csv
awk -F, 'NR == 1 { ok = $0 == "line,kind,start_lat,start_lon,end_lat,end_lon,heading,length_m,cell"; next }
    { ok = ok && $1 == NR - 1 && $2 == "line" && $9 == 1 && $8 > 2023 && $8 < 2024 &&
      ($7 - (NR % 2 ? 270 : 90))^2 < 0.01 }
    END { exit !(ok && NR == 12) }' 2020_189_155.lines.csv ||
    fail "numbered lines: $(cat 2020_189_155.lines.csv)"
[ "$(grep -c '"properties":{"line":[0-9]*,"kind":"line","cell":1,' 2020_189_155.geojson)" = 11 ] &&
    [ "$(grep -c '"properties":{"line":[0-9]*,"kind":"transit","cell":null,' 2020_189_155.geojson)" = 10 ] ||
    fail "numbered lines: $(grep -c '"line":' 2020_189_155.geojson) features in the GeoJSON"
if command -v python3 >/dev/null; then
    python3 -c 'import json, sys; json.load(open(sys.argv[1]))' 2020_189_155.geojson ||
        fail "numbered lines: the GeoJSON is no JSON"
fi

# --check: the report, then the summary; nothing written.
new_run_dir
tavra_run_at_fixed_time --check --survey "$AREAS/l_bay.txt" --lineSpacing 100
expect_status 0 "$status" "check"
expect_files "check"
grep -q "^Findings: none$" .stdout || fail "check: no report"
[ "$(tail -n 11 .stdout | head -n 4)" = "Survey of $AREAS/l_bay.txt:
  area            1.119 km2 of water
  lines           18 lines in 2 cells, 91.07 m apart (100.00 m asked, less twice the 4.46 m that rounding to 0.0001 degrees may move a line)
  coverage        99.99 % of the water surveyed, by the lines as the mission files hold them" ] ||
    fail "check: summary not last"
# The rectangle is 1963.4 m by 943.3 m (1.852 km2); 21.596 km of lines and 0.889 km of
# turns take 14990 s at 1.5 m/s.
new_run_dir
tavra_run_at_fixed_time --check --survey "$AREAS/rectangle.txt" --lineSpacing 100
grep -qx "  area            1.852 km2 of water" .stdout || fail "area: $(grep area .stdout)"
grep -qx "  survey time     4 h 10 min at 1.50 m/s (missionSpeed), launch leg aside" .stdout ||
    fail "survey time: $(grep time .stdout)"

# The area from standard input is named in words; the tie lines are counted as asked, with
# the pieces the island cuts them into.
new_run_dir
"$TAVRA" --check --survey - --lineSpacing 100 --crossLines 3 <"$AREAS/island.geojson" >.stdout 2>.stderr
grep -qx "Survey of standard input:" .stdout || fail "standard input: $(grep Survey .stdout)"
grep -q "^  tie lines       3 across (4 pieces round the islands), at 180.0 and 360.0 degrees$" \
    .stdout || fail "tie lines: $(grep tie .stdout)"

# A standoff: the summary gives what it leaves out of the island's bay.
"$TAVRA" --check --survey "$AREAS/island.geojson" --lineSpacing 100 --standoff 50 >.stdout 2>.stderr
grep -q "^  standoff        50.0 m from every shore: 0[.][0-9]\{3\} of [0-9.]* km2 left out$" \
    .stdout || fail "standoff: $(grep -A1 heading .stdout)"

# A turning circle of 140 m at 100 m spacing, lines laid 88.9 m apart: out 5 lines and back 4.
"$TAVRA" --check --survey "$AREAS/rectangle.txt" --lineSpacing 100 --turnRadius 140 >.stdout 2>.stderr
grep -q "^  pattern         out 5 lines and back 4, so that every turn spans at least twice the turning radius of 140.0 m$" \
    .stdout || fail "turn radius: $(grep -A1 transit .stdout)"
grep -q "^  run-in          " .stdout || fail "turn radius: no run-in of the radius"

# refused <what> <expected message> <args...>: status 1, the message, no file.
refused() {
    local what=$1 message=$2
    shift 2
    new_run_dir
    tavra_run_at_fixed_time "$@"
    expect_status 1 "$status" "$what"
    expect_text "$message
" .stdout "$what"
    expect_files "$what"
}
refused "spacing wider than the area" \
    "*** $AREAS/rectangle.txt: the spacing of 1000.0 m is wider than the area, which is 943.3 m across at its narrowest (lines at heading 90.0 degrees) ***" \
    --survey "$AREAS/rectangle.txt" --lineSpacing 1000
# No distance of the survey beyond the area: the box around it is 1963.4 m by 943.3 m in
# its frame, a diagonal of sqrt(1963.4^2 + 943.3^2) = 2178.2 m. A run-in of 1e9 m made legs
# of 2551 km over land; one of 1e308 m was more than GEOS computes with.
for value in 1e9 1e308; do
    refused "run-in of $value m" \
        "*** $AREAS/rectangle.txt: --runIn $value is longer than the area, which spans at most 2178.2 m (the diagonal of the box around it) ***" \
        --survey "$AREAS/rectangle.txt" --lineSpacing 100 --runIn "$value"
done
refused "swath beyond the area" \
    "*** $AREAS/rectangle.txt: --swathWidth 1e308 less --overlap 50 % spaces the lines wider than the area, which spans at most 2178.2 m (the diagonal of the box around it) ***" \
    --survey "$AREAS/rectangle.txt" --swathWidth 1e308 --overlap 50
refused "self-intersecting area" \
    "*** $AREAS/bow_tie.txt: the area is not a valid polygon: two of its edges cross near 36.805000 -121.945000 ***" \
    --survey "$AREAS/bow_tie.txt" --lineSpacing 100
refused "no spacing" \
    "*** --survey needs the spacing of the lines: --lineSpacing METERS, or --swathWidth METERS with --overlap PERCENT ***" \
    --survey "$AREAS/rectangle.txt"
refused "spacing that is no number" \
    '*** --lineSpacing must be a number of meters greater than 0, not "1OO" ***' \
    --survey "$AREAS/rectangle.txt" --lineSpacing 1OO
refused "survey option without --survey" \
    "*** --runIn applies only with --survey AREA_FILE ***" --runIn 50 "$AREAS/rectangle.txt"
refused "an area and a waypoint file" \
    "*** --survey takes the area instead of a waypoint file: $AREAS/l_bay.txt is one file too many ***" \
    --survey "$AREAS/rectangle.txt" --lineSpacing 100 "$AREAS/l_bay.txt"
refused "no area file" "*** cannot open the area file $WORK/none.txt ***" \
    --survey "$WORK/none.txt" --lineSpacing 100
# Two boxes 2.5 km apart, one mission: the south one first, from a start beside it, its
# lines numbered on into the north one, which is entered at the corner where the first ended.
new_run_dir
tavra_run_at_fixed_time --survey "$AREAS/two_bays.geojson" --feature all --lineSpacing 100 \
    --startNear "36.799 -121.951" --export lines-csv,html
expect_status 0 "$status" "two areas"
[ "$(grep -c '<title>survey area' 2020_189_155.html)" = 2 ] ||
    fail "two areas: the preview does not draw both"
# shellcheck disable=SC2086
expect_files "two areas" $FOUR_FILES 2020_189_155.survey.txt 2020_189_155.lines.csv \
    2020_189_155.html
grep -qxF '  areas           2, in the order surveyed: "South box", "North box"' .stdout &&
    grep -qxF '  between areas   2.890 km of straight transits, not steered round land or keep-out zones' .stdout ||
    fail "two areas: $(cat .stdout)"
awk -F, 'NR > 1 { ok = (NR == 2 || ok) && $1 == NR - 1 && $9 == (NR <= 7 ? 1 : 2) &&
        ($3 < 36.805) == (NR <= 7) }
    NR == 8 { ok = ok && $4 == "-121.950000000" }
    END { exit !(ok && NR == 14) }' 2020_189_155.lines.csv ||
    fail "two areas: $(cat 2020_189_155.lines.csv)"
refused "a feature that names no area" \
    "*** $AREAS/two_bays.geojson has no feature named or numbered \"East box\" ***
its areas:
  1, \"North box\" (GeoJSON Polygon, line 4)
  2, \"South box\" (GeoJSON Polygon, line 15)" \
    --survey "$AREAS/two_bays.geojson" --feature all --feature "East box" --lineSpacing 100
refused "several routes" \
    '*** several --feature options name several areas for --survey AREA_FILE; a route is one feature, not "1" and "2" ***' \
    --feature 1 --feature 2 "$AREAS/rectangle.txt"

refused "table of lines without a survey" \
    "*** --export lines-csv applies only with --survey AREA_FILE ***" \
    --export lines-csv "$AREAS/rectangle.txt"
# Rounding to 0.0001 degrees moves a north-south line up to 4.46 m sideways at 36.8 N: no
# spacing under four times that, nothing written.
refused "spacing finer than the files hold" \
    "*** $AREAS/rectangle.txt: a spacing of 10.0 m is finer than the mission files can hold: they keep positions to 0.0001 degrees, which moves lines at heading 0.0 degrees up to 4.5 m sideways here; the smallest spacing possible is 17.9 m ***" \
    --survey "$AREAS/rectangle.txt" --lineSpacing 10
# 22.485 km of lines and turns in pieces of a millimeter.
refused "a survey cut into too many legs" \
    "*** $AREAS/rectangle.txt: maxLegMeters 0.001 would cut the survey into 22484954 legs, more than 10000000 ***" \
    --survey "$AREAS/rectangle.txt" --lineSpacing 100 --maxLegMeters 0.001

finish
