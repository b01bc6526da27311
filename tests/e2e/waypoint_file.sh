# The waypoint file: layouts the reader accepts, and the message for a line it refuses.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

# expect_example_outputs <what>: the run wrote the four files of the two-point example.
expect_example_outputs() {
    expect_status 0 "$status" "$1"
    expect_text "$WROTE_ALL" .stdout "$1: console"
    expect_files "$1" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
    local ext
    for ext in cfg wpt pts csv; do
        expect_same_file "$DATA/two_point_2020_189_155.$ext" "2020_189_155.$ext" "$1: $ext"
    done
}

# A line longer than any buffer is still one waypoint, whatever follows the two numbers.
long_gap=$(printf '%*s' 120 '')
printf '36.8167%s-121.8171%s station A, sand ripples\n36.8215 -121.7986\n' \
    "$long_gap" "$long_gap" >"$INPUT/long_line.txt"
new_run_dir
tavra_run_at_fixed_time "$INPUT/long_line.txt"
expect_example_outputs "long line"

# Comments, blank lines and a line of blanks only are skipped; so is a comment after them.
printf '# Monterey test\n\n36.8167 -121.8171\n \t \n   # second point\n36.8215 -121.7986 # end\n\n\n' \
    >"$INPUT/commented.txt"
new_run_dir
tavra_run_at_fixed_time "$INPUT/commented.txt"
expect_example_outputs "blank and comment lines"

# A file saved on Windows: byte-order mark and CR LF line ends.
printf '\xef\xbb\xbf36.8167 -121.8171\r\n36.8215 -121.7986\r\n' >"$INPUT/windows.txt"
new_run_dir
tavra_run_at_fixed_time "$INPUT/windows.txt"
expect_example_outputs "BOM and CR LF"

# bad_line_case <what> <file content> <line number> <shown text>: refused before any
# output file exists.
bad_line_case() {
    printf '%s' "$2" >"$INPUT/bad.txt"
    new_run_dir
    tavra_run_at_fixed_time "$INPUT/bad.txt"
    expect_status 1 "$status" "$1"
    expect_text "*** BAD WAYPOINT LINE *** $INPUT/bad.txt line $3: \"$4\" (expected latitude then longitude in decimal degrees)
" .stdout "$1"
    expect_files "$1"
}

bad_line_case "words" $'36.8167 -121.8171\n# note\nnorth of the kelp\n36.8215 -121.7986\n' \
    3 "north of the kelp"
bad_line_case "one number" $'36.8167\n' 1 "36.8167"
bad_line_case "comma between" $'36.8167,-121.8171\n' 1 "36.8167,-121.8171"
bad_line_case "not a number" $'nan -121.8171\n' 1 "nan -121.8171"
bad_line_case "infinite" $'36.8 inf\n' 1 "36.8 inf"
bad_line_case "overflow" $'36.8 -1e999\n' 1 "36.8 -1e999"
bad_line_case "CR LF bad line" $'36.8167 -121.8171\r\nlat lon\r\n' 2 "lat lon"
bad_line_case "control bytes" $'36.8\x01 \x1b[31m\x7f\n' 1 '36.8\x01 \x1b[31m\x7f'
bad_line_case "80 characters" "$(printf 'y%.0s' {1..80})" 1 "$(printf 'y%.0s' {1..80})"
bad_line_case "81 characters" "$(printf 'x%.0s' {1..81})"$'\n' 1 "$(printf 'x%.0s' {1..80})..."
# The cut counts characters, so a UTF-8 character is never split.
bad_line_case "UTF-8 text" "$(printf '\xc3\xa9%.0s' {1..81})" 1 "$(printf '\xc3\xa9%.0s' {1..80})..."
bad_line_case "binary file" $'\x7fELF\x02\x01\x01' 1 '\x7fELF\x02\x01\x01'

finish
