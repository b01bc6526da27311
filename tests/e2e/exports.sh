# Exports chosen with --export: the files and console of a whole run, the refusals of a bad
# list before any file exists, a failed export, and runs without the option unchanged.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"
CHOICES="(choose from geojson, kml, gpx, html, lines-csv, all) ***"
WROTE_EXPORTS="
 **** Wrote geojson file : 2020_189_155.geojson ****

 **** Wrote kml file : 2020_189_155.kml ****

 **** Wrote gpx file : 2020_189_155.gpx ****

 **** Wrote html file : 2020_189_155.html ****
"

# expect_standard_files <what>: the four files of the run are those of a run without exports.
expect_standard_files() {
    local ext
    for ext in cfg wpt pts csv; do
        expect_same_file "$DATA/two_point_2020_189_155.$ext" "2020_189_155.$ext" "$1: $ext"
    done
}

# expect_contains <file> <text> <what>
expect_contains() {
    grep -qF -- "$2" "$1" || fail "$3: $1 lacks $2"
}

# --export all: the four files as always, then the four exports in a fixed order.
new_run_dir
tavra_run_at_fixed_time --export all "$INPUT/two_points.txt"
expect_status 0 "$status" "export all"
expect_text "$WROTE_ALL$WROTE_EXPORTS" .stdout "export all: console"
expect_no_stderr "export all"
expect_files "export all" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv \
    2020_189_155.geojson 2020_189_155.kml 2020_189_155.gpx 2020_189_155.html
expect_standard_files "export all"
# The waypoints of the file keep exactly the digits they were given; longitude first in
# GeoJSON and KML.
for position in '[-121.8171,36.8167]' '[-121.7986,36.8215]'; do
    expect_contains 2020_189_155.geojson "$position" "export all: geojson"
done
expect_contains 2020_189_155.geojson '"number":0,"kind":"launch","legDistance":500,' \
    "export all: geojson launch"
expect_contains 2020_189_155.kml '<coordinates>-121.7986,36.8215</coordinates>' "export all: kml"
expect_contains 2020_189_155.kml '<name>2020_189_155.kml</name>' "export all: kml name"
expect_contains 2020_189_155.gpx '<rtept lat="36.8167" lon="-121.8171"><name>1</name>' \
    "export all: gpx"
[ "$(grep -c '<rtept ' 2020_189_155.gpx)" = 3 ] || fail "export all: gpx has not 3 route points"
[ "$(grep -c '<Point>' 2020_189_155.kml)" = 3 ] || fail "export all: kml has not 3 points"
[ "$(grep -c '"type":"Point"' 2020_189_155.geojson)" = 3 ] ||
    fail "export all: geojson has not 3 points"
# The preview's table ends with the totals of the CSV summary.
expect_contains 2020_189_155.html '<td>2231.1</td><td>2381.1</td></tr>' "export all: html table"
expect_contains 2020_189_155.html \
    'Expected survey line 2231.1 meters<br/>Expected mission time 2381.1 seconds<br/>0 hours 39 minutes' \
    "export all: html totals"

# A part of the formats, named in any order: only those, in the fixed order.
new_run_dir
tavra_run_at_fixed_time "$INPUT/two_points.txt" --export=HTML,kml
expect_status 0 "$status" "export html,kml"
expect_text "$WROTE_ALL
 **** Wrote kml file : 2020_189_155.kml ****

 **** Wrote html file : 2020_189_155.html ****
" .stdout "export html,kml: console"
expect_files "export html,kml" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts \
    2020_189_155.csv 2020_189_155.kml 2020_189_155.html

# Without --export nothing else is written and the console is as it always was.
new_run_dir
tavra_run_at_fixed_time --verbose "$INPUT/two_points.txt"
expect_status 0 "$status" "no export"
expect_text "$DEFAULT_ECHO$WROTE_ALL" .stdout "no export: console"
expect_files "no export" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
expect_standard_files "no export"

# A bad list is refused at once: before the echo, the file and any output.
new_run_dir
tavra_run_at_fixed_time --verbose --export geojson,xyz "$INPUT/two_points.txt"
expect_status 1 "$status" "unknown format"
expect_text "*** UNKNOWN EXPORT FORMAT \"xyz\" $CHOICES
" .stdout "unknown format"
expect_files "unknown format"
tavra_run_at_fixed_time --export kml, "$INPUT/two_points.txt"
expect_status 1 "$status" "missing format"
expect_text "*** MISSING EXPORT FORMAT IN \"kml,\" $CHOICES
" .stdout "missing format"
expect_files "missing format"
# Even the dialogue is not started.
printf '%s\n0\nn\n50\nn\n' "$INPUT/two_points.txt" |
    "$TAVRA" --export kmz --interactive >.stdout 2>.stderr
status=$?
expect_status 1 "$status" "unknown format, dialogue"
expect_text "*** UNKNOWN EXPORT FORMAT \"kmz\" $CHOICES
" .stdout "unknown format, dialogue"
expect_files "unknown format, dialogue"

# An export that cannot be written ends the run with the writers' message; the files
# before it stay, and no later export is written.
new_run_dir
mkdir 2020_189_155.kml
tavra_run_at_fixed_time --export all "$INPUT/two_points.txt"
expect_status 1 "$status" "kml name taken"
expect_text "$WROTE_ALL
 **** Wrote geojson file : 2020_189_155.geojson ****
cannot open kml output file 2020_189_155.kml: Is a directory
" .stdout "kml name taken"
expect_files "kml name taken" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts \
    2020_189_155.csv 2020_189_155.geojson 2020_189_155.kml
[ -d 2020_189_155.kml ] || fail "kml name taken: the directory was replaced"

# The dialogue's run writes the exports chosen before it.
new_run_dir
printf '%s\n0\nn\n50\nn\n' "$INPUT/two_points.txt" |
    at_fixed_time "$TAVRA" --export gpx --interactive \
        >.stdout 2>.stderr
status=$?
expect_status 0 "$status" "dialogue with export"
expect_files "dialogue with export" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts \
    2020_189_155.csv 2020_189_155.gpx
WROTE_GPX="$WROTE_ALL
 **** Wrote gpx file : 2020_189_155.gpx ****
"
tail -c ${#WROTE_GPX} .stdout >.wrote
expect_text "$WROTE_GPX" .wrote "dialogue with export: confirmations"

# A route across 180 degrees: every longitude the vehicle and the maps read lies within
# -180..180, the split points' too, and the GeoJSON line is cut at the antimeridian into
# the two parts of a MultiLineString.
printf -- '-16.95 179.85\n-16.95 -179.95\n' >"$INPUT/across.txt"
new_run_dir
tavra_run_at_fixed_time --export geojson "$INPUT/across.txt"
expect_status 0 "$status" "across 180"
in_range='{ v = $1 + 0; if (v < -180 || v > 180) bad = 1 } END { exit bad }'
sed -n 's/^longitude *= *\(.*\);.*/\1/p' 2020_189_155.cfg | awk "$in_range" ||
    fail "across 180: a cfg longitude beyond 180"
cut -d, -f3 2020_189_155.wpt | awk "$in_range" || fail "across 180: a wpt longitude beyond 180"
grep -o '\[-\?[0-9][0-9.e+-]*,' 2020_189_155.geojson | tr -d '[,' | awk "$in_range" ||
    fail "across 180: a geojson longitude beyond 180"
grep -q '"type":"MultiLineString","coordinates":\[\[\[' 2020_189_155.geojson ||
    fail "across 180: the route is not cut"
grep -q '\[180,-16\.9[0-9]*\]\],\[\[-180,-16\.9[0-9]*\],' 2020_189_155.geojson ||
    fail "across 180: the parts do not meet at the antimeridian"

finish
