# The plan check: the --check report and its exit statuses, and findings in ordinary runs.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"
EXAMPLE=$(realpath "$DATA/../../examples/monterey_lawnmower.txt")

TWO_POINT_TABLE="Route of 3 points: 1 launch waypoint, 2 from the file, 0 split points

  No.  Kind    Latitude   Longitude  Heading      Leg m      Leg s      Sum m      Sum s
    0  launch   36.8153   -121.8224     72.0      500.0      650.0        0.0        0.0
    1  file     36.8167   -121.8171     72.0     1731.1     1731.1      500.0      650.0
    2  file     36.8215   -121.7986      0.0        0.0        0.0     2231.1     2381.1

Leg: the leg that leaves the point. Sum: distance and time run when the point is reached.

Expected survey line 2231.1 meters

Expected mission time 2381.1 seconds
    0 hours
    39 minutes
"
GULPER_WARNING="warning: gulperMission 2 is neither 0 nor 1 and counts as 0 (off)"

# expect_example_outputs <what> <expected cfg>: the four files of the two-point example.
expect_example_outputs() {
    expect_files "$1" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
    expect_same_file "$2" 2020_189_155.cfg "$1: cfg"
    local ext
    for ext in wpt pts csv; do
        expect_same_file "$DATA/two_point_2020_189_155.$ext" "2020_189_155.$ext" "$1: $ext"
    done
}

# A sound plan: the whole report, status 0, nothing written, nothing on standard error.
new_run_dir
tavra_run_at_fixed_time --check "$INPUT/two_points.txt"
expect_status 0 "$status" "check"
expect_text "$TWO_POINT_TABLE
Findings: none
" .stdout "check: report"
expect_no_stderr "check"
expect_files "check"

# The bundled example is a sound plan too: four east-west lines of about 5342 m, each cut
# once at 3600 m, joined by legs of about 500 m.
new_run_dir
tavra_run --check "$EXAMPLE"
expect_status 0 "$status" "check example"
[ "$(tail -n 1 .stdout)" = "Findings: none" ] || fail "check example: $(tail -n 1 .stdout)"
grep -q '^Route of 13 points: 1 launch waypoint, 8 from the file, 4 split points$' .stdout ||
    fail "check example: $(head -n 1 .stdout)"
expect_files "check example"

# A warning alone leaves the status at 0; the findings stand in the report only.
new_run_dir
tavra_run --gulperMission 2 --check "$INPUT/two_points.txt"
expect_status 0 "$status" "check with a warning"
expect_text "$TWO_POINT_TABLE
Findings: 0 errors, 1 warning
$GULPER_WARNING
" .stdout "check with a warning: report"
expect_no_stderr "check with a warning"
expect_files "check with a warning"

# Any error makes it 1.
new_run_dir
tavra_run --check --gpsHits 0 --gulperMission 2 "$INPUT/two_points.txt"
expect_status 1 "$status" "check with an error"
expect_text "$TWO_POINT_TABLE
Findings: 1 error, 1 warning
error: gpsHits 0 is not greater than 0
$GULPER_WARNING
" .stdout "check with an error: report"
expect_no_stderr "check with an error"
expect_files "check with an error"

# The echo still comes first when asked for.
new_run_dir
tavra_run --verbose --check "$INPUT/two_points.txt"
expect_status 0 "$status" "verbose check"
expect_text "$DEFAULT_ECHO$TWO_POINT_TABLE
Findings: none
" .stdout "verbose check: console"

# Input that cannot be planned fails as in any run.
new_run_dir
tavra_run --check
expect_status 1 "$status" "check without a file"
expect_text "

*** WAYPOINTS FILENAME IS MISSING ***
$USAGE_TEXT" .stdout "check without a file"
expect_files "check without a file"

: >"$INPUT/empty.txt"
new_run_dir
tavra_run --check "$INPUT/empty.txt"
expect_status 1 "$status" "check of an empty file"
expect_text "list is empty
" .stdout "check of an empty file"
expect_files "check of an empty file"

new_run_dir
tavra_run --check --maxLegMeters 0 "$INPUT/two_points.txt"
expect_status 1 "$status" "check with maxLegMeters 0"
expect_text "*** maxLegMeters MUST BE GREATER THAN 0, NOT 0 ***
" .stdout "check with maxLegMeters 0"
expect_files "check with maxLegMeters 0"

# An ordinary run with a warning: the same files and console as ever, the warning on
# standard error. A flag of 2 counts as off, so the script is the one without gulpers.
new_run_dir
tavra_run_at_fixed_time --gulperMission 2 "$INPUT/two_points.txt"
expect_status 0 "$status" "run with a warning"
expect_text "$WROTE_ALL" .stdout "run with a warning: console"
expect_text "$GULPER_WARNING
" .stderr "run with a warning: standard error"
expect_example_outputs "run with a warning" "$DATA/two_point_no_gulper.cfg"

# An error does not stop an ordinary run either: planners may mean the values.
printf '36.8167 -121.8171\n-121.7986 36.8215\n' >"$INPUT/swapped.txt"
new_run_dir
tavra_run_at_fixed_time --maxLegMeters 1e9 "$INPUT/swapped.txt"
expect_status 0 "$status" "run with an error"
expect_text "$WROTE_ALL" .stdout "run with an error: console"
expect_text "error: waypoint 2 at -121.7986 36.8215: latitude outside -90..90; swapped, 36.8215 -121.7986 would fit
" .stderr "run with an error: standard error"
expect_files "run with an error" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv

# The dialogue: a plain mission at 95 m, below the envelope's 90 m. The finding shows
# after the last question and before the files are confirmed, and nothing is asked again.
new_run_dir
printf '%s\n0\nn\n95\nn\n' "$INPUT/two_points.txt" |
    at_fixed_time "$TAVRA" --interactive >.stdout 2>&1
status=$?
expect_status 0 "$status" "dialogue"
expect_files "dialogue" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
DEPTH_ERROR="error: wayPointDepth 95 m is outside the depth envelope minDepth 10 m to maxDepth 90 m"
tail -c $((${#DEPTH_ERROR} + 1 + ${#WROTE_ALL})) .stdout >.end
expect_text "$DEPTH_ERROR
$WROTE_ALL" .end "dialogue: finding before the confirmations"
[ "$(grep -c "GULPER Mission" .stdout)" = 1 ] || fail "dialogue: the gulper question was asked again"

finish
