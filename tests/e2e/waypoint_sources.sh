# Where waypoints come from: plain text, CSV, degrees and minutes, standard input, a named
# pipe and process substitution all give the four files of the same positions; numbers and
# positions a format refuses stop the run before anything is written.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"

# example_case <what> <file name> <content>: the file gives the two-point example.
example_case() {
    printf '%s' "$3" >"$INPUT/$2"
    new_run_dir
    tavra_run_at_fixed_time "$INPUT/$2"
    expect_two_point_outputs "$1"
}

# The same two positions, 36.8167 -121.8171 and 36.8215 -121.7986, as planners keep them.
# In minutes: 0.8167 * 60 = 49.002, 0.8171 * 60 = 49.026, 0.8215 * 60 = 49.29,
# 0.7986 * 60 = 47.916; in seconds, 0.002' = 0.12", 0.026' = 1.56", 0.29' = 17.4",
# 0.916' = 54.96".
example_case "CSV, commas" commas.csv $'name,lat,lon,depth\nstart,36.8167,-121.8171,50\nend,36.8215,-121.7986,45\n'
example_case "CSV, semicolons, quotes and decimal commas" semicolons.csv \
    $'\xef\xbb\xbf"Name";"Latitude";"Longitude"\r\n"Buoy; north";"36,8167";-121,8171\r\n"""B"" end";36.8215;"-121.7986"\r\n'
example_case "CSV, tabs and degrees and minutes" tabs.csv \
    $'LAT\tLNG\n36 49.002 N\t121 49.026 W\nN36\xc2\xb049.29\'\tW121\xc2\xb047.916\'\n'
example_case "degrees and minutes" minutes.txt \
    $'# read off the chart\n36 49.002 N 121 49.026 W\n36-49.290N 121-47.916W\n'
example_case "degrees, minutes and seconds" seconds.txt \
    $'36\xc2\xb049\'0.12"N 121\xc2\xb049\'1.56"W\n36:49:17.4N 121:47:54.96W\n'
example_case "degrees and minutes with signs" signed.txt \
    $'36\xc2\xb049.002\' -121\xc2\xb049.026\'\n36\xc2\xb049.29\' -121\xc2\xb047.916\'\n'

# Standard input, from a file and from a pipe.
new_run_dir
at_fixed_time "$TAVRA" - <"$INPUT/two_points.txt" >.stdout 2>.stderr
status=$?
expect_two_point_outputs "standard input"
new_run_dir
cat "$INPUT/commas.csv" | at_fixed_time "$TAVRA" - >.stdout 2>.stderr
status=$?
expect_two_point_outputs "CSV on standard input through a pipe"

# A named pipe and process substitution are read like files.
mkfifo "$INPUT/pipe"
new_run_dir
cat "$INPUT/two_points.txt" >"$INPUT/pipe" &
at_fixed_time timeout 20 "$TAVRA" "$INPUT/pipe" </dev/null >.stdout 2>.stderr
status=$?
wait
expect_two_point_outputs "named pipe"
new_run_dir
at_fixed_time timeout 20 "$TAVRA" <(cat "$INPUT/minutes.txt") </dev/null >.stdout 2>.stderr
status=$?
expect_two_point_outputs "process substitution"

# The dialogue lists a CSV file as it is and plans from the same bytes.
new_run_dir
printf '%s\n0\nn\n50\nn\n' "$INPUT/semicolons.csv" |
    at_fixed_time "$TAVRA" --interactive >.stdout 2>.stderr
status=$?
expect_status 0 "$status" "dialogue, CSV"
expect_listing "dialogue, CSV" "$INPUT/semicolons.csv"
for ext in wpt pts; do
    expect_same_file "$DATA/two_point_2020_189_155.$ext" "2020_189_155.$ext" "dialogue, CSV: $ext"
done

# A long route reaches the route whole and in order, however its positions are handed on:
# 150000 waypoints 0.0002 degrees of longitude apart, each one's longitude in the wpt file.
awk 'BEGIN { for (i = 0; i < 150000; i++) printf "36.8167 %.4f\n", -179.9999 + i * 0.0002 }' \
    >"$INPUT/long_route.txt"
new_run_dir
tavra_run_at_fixed_time "$INPUT/long_route.txt"
expect_status 0 "$status" "long route"
awk '{ print $2 }' "$INPUT/long_route.txt" >"$WORK/longitudes"
cut -d, -f3 2020_189_155.wpt | tail -n +2 >"$WORK/written"
expect_same_file "$WORK/longitudes" "$WORK/written" "long route: longitudes in order"

HEADER=$'name,lat,lon\nstart,36.8167,-121.8171\n'
refused_case "CSV text for a number" text.csv "${HEADER}end,abc,-121.7986"$'\n' \
    "*** BAD CSV FILE *** $INPUT/text.csv line 3: \"abc\" (latitude must be decimal degrees or degrees and minutes)"
refused_case "CSV empty cell" empty.csv "${HEADER}end,36.8215,"$'\n' \
    "*** BAD CSV FILE *** $INPUT/empty.csv line 3: \"end,36.8215,\" (the longitude cell is empty)"
refused_case "CSV NaN" nan.csv "${HEADER}end,NaN,-121.7986"$'\n' \
    "*** BAD CSV FILE *** $INPUT/nan.csv line 3: \"NaN\" (latitude must be decimal degrees or degrees and minutes)"
refused_case "CSV latitude out of range" lat.csv "${HEADER}end,91,-121.7986"$'\n' \
    "*** BAD CSV FILE *** $INPUT/lat.csv line 3: \"91\" (latitude outside -90..90)"
refused_case "CSV longitude out of range" lon.csv "${HEADER}end,36.8215,238.2014"$'\n' \
    "*** BAD CSV FILE *** $INPUT/lon.csv line 3: \"238.2014\" (longitude outside -180..180)"
refused_case "minutes of 60" sixty.txt $'36 49.002 N 121 49.026 W\n36 60 N 121 47.916 W\n' \
    "*** BAD WAYPOINT LINE *** $INPUT/sixty.txt line 2: \"36 60 N 121 47.916 W\" (minutes must be below 60, not 60)"
refused_case "latitude beyond 90" ninety.txt $'90 30 N 121 49.026 W\n' \
    "*** BAD WAYPOINT LINE *** $INPUT/ninety.txt line 1: \"90 30 N 121 49.026 W\" (latitude 90.5 is beyond 90)"
refused_case "letter on one coordinate" one_letter.txt $'36 49.002 N -121 49.026\n' \
    "*** BAD WAYPOINT LINE *** $INPUT/one_letter.txt line 1: \"36 49.002 N -121 49.026\" (a hemisphere letter on one coordinate only)"
refused_case "plain NaN" nan.txt $'36.8167 -121.8171\nnan -121.7986\n' \
    "*** BAD WAYPOINT LINE *** $INPUT/nan.txt line 2: \"nan -121.7986\" (expected latitude then longitude in decimal degrees)"

# A plain file holds one route: --feature 1 names it, any other name is refused.
new_run_dir
tavra_run_at_fixed_time --feature 1 "$INPUT/two_points.txt"
expect_two_point_outputs "--feature 1"
new_run_dir
tavra_run_at_fixed_time --feature=2 "$INPUT/two_points.txt"
expect_status 1 "$status" "--feature 2"
expect_text "*** $INPUT/two_points.txt has no feature named or numbered \"2\" ***
its route:
  1, unnamed (waypoint list, line 1)
" .stdout "--feature 2"
expect_files "--feature 2"

# More than two numbers on a line: planned as its first two, with a warning.
printf '36.8167 -121.8171 50\n36.8215 -121.7986 45\n' >"$INPUT/depths.txt"
new_run_dir
tavra_run_at_fixed_time "$INPUT/depths.txt"
expect_status 0 "$status" "three numbers"
expect_text "warning: $INPUT/depths.txt line 1: \"36.8167 -121.8171 50\" holds more than two numbers and was read as latitude 36.8167, longitude -121.8171; if it is degrees and minutes, write the hemisphere letters (N/S, E/W) (1 more line like it)
" .stderr "three numbers: warning"
expect_same_file "$DATA/two_point_2020_189_155.wpt" 2020_189_155.wpt "three numbers: wpt"

# A read error is reported as one, never as an empty route.
if [ -r /proc/self/mem ]; then
    new_run_dir
    tavra_run /proc/self/mem
    expect_status 1 "$status" "read error"
    expect_text "*** READ ERROR *** /proc/self/mem: the file could not be read to its end
" .stdout "read error"
    expect_files "read error"
fi

finish
