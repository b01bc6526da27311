# --version: the name and the project's version, whatever else the command line holds.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"

# The version is the one project() declares; the test reads it there so a release only
# changes that line.
VERSION=$(sed -n 's/^project(tavra VERSION \([0-9][0-9.]*\) .*/\1/p' "$DATA/../../CMakeLists.txt")
[ -n "$VERSION" ] || fail "no version found in CMakeLists.txt"
cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"

# Alone, without a waypoint file: the version line, status 0, nothing else.
new_run_dir
tavra_run --version
expect_status 0 "$status" "version alone"
expect_text "tavra $VERSION
" .stdout "version alone"
expect_no_stderr "version alone"
expect_files "version alone"

# With a usable file and other options: the run ends at the version, nothing is planned,
# echoed or written, and an export list is not even looked at.
tavra_run --verbose "$INPUT/two_points.txt" --version --gpsHits 5 --export nonsense --check
expect_status 0 "$status" "version with a run"
expect_text "tavra $VERSION
" .stdout "version with a run"
expect_no_stderr "version with a run"
expect_files "version with a run"

# The version answers whatever else the command line holds, a mistake included.
tavra_run --bogus --version
expect_status 0 "$status" "version after a bad option"
expect_text "tavra $VERSION
" .stdout "version after a bad option"

# Nothing after --interactive is read, so the dialogue runs and ends at the end of input.
tavra_run --interactive --version
expect_status 1 "$status" "version after interactive"
grep -q "tavra $VERSION" .stdout && fail "version after interactive: the version was printed"
expect_files "version after interactive"

finish
