# Large and hostile input: a huge file, a huge line, binary data, NUL bytes, special files,
# extreme numbers and option values. Each ends in a correct run or a clear message with
# status 1, and the memory a run takes stays within a generous bound (no timing asserted).
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime
[ -x /usr/bin/time ] || skip_test "/usr/bin/time is not installed (Debian package time)"

# measured_run <args...>: tavra at the fixed time; sets $status and $peak_mb, the largest
# resident size the run reached, in MiB.
measured_run() {
    at_fixed_time /usr/bin/time -f %M -o "$WORK/.peak" "$TAVRA" "$@" </dev/null >.stdout 2>.stderr
    status=$?
    peak_mb=$(($(tail -n 1 "$WORK/.peak") / 1024))
}

# What the program takes before it reads anything: a build with GDAL loads it and the
# libraries under it, some 30 MiB, whatever the run then does.
measured_run --version
startup_mb=$peak_mb

# expect_peak_below <what> <MiB>: the run took less than that beyond its start-up.
expect_peak_below() {
    [ "$((peak_mb - startup_mb))" -lt "$2" ] ||
        fail "$1: the run took $peak_mb MiB, more than $2 MiB beyond its start-up ($startup_mb MiB)"
}

# expect_example_outputs <what>: the four files of the two-point example.
expect_example_outputs() {
    expect_status 0 "$status" "$1"
    expect_text "$WROTE_ALL" .stdout "$1: console"
    expect_files "$1" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
    local ext
    for ext in cfg wpt pts csv; do
        expect_same_file "$DATA/two_point_2020_189_155.$ext" "2020_189_155.$ext" "$1: $ext"
    done
}

# expect_bad_line <what> <file> <line number> <shown text>: refused before any output.
expect_bad_line() {
    expect_status 1 "$status" "$1"
    expect_text "*** BAD WAYPOINT LINE *** $2 line $3: \"$4\" (expected latitude then longitude in decimal degrees)
" .stdout "$1"
    expect_files "$1"
}

# expect_long_line <what> <file> <line number> <shown text>: refused, nothing written.
expect_long_line() {
    expect_status 1 "$status" "$1"
    expect_text "*** BAD WAYPOINT LINE *** $2 line $3: \"$4\" (a line longer than 1 MiB)
" .stdout "$1"
    expect_files "$1"
}

EXAMPLE=$'36.8167 -121.8171\n36.8215 -121.7986\n'
TEN_MB=10000000
# repeated <count> <character>
repeated() {
    head -c "$1" /dev/zero | tr '\0' "$2"
}

# 100 MB: a hundred waypoints 0.0001 degrees apart going north, each after a megabyte of
# comment lines. The file is read into memory once, so the run needs its size and a little.
comment="# $(printf -- '-%.0s' {1..97})"
yes "$comment" | head -n 10000 >"$INPUT/megabyte.txt"
for i in $(seq 100); do
    cat "$INPUT/megabyte.txt"
    printf '36.%04d -121.8171\n' "$i"
done >"$INPUT/huge.txt"
rm "$INPUT/megabyte.txt"
[ "$(stat -c %s "$INPUT/huge.txt")" -gt 100000000 ] || fail "huge file under 100 MB"
new_run_dir
measured_run "$INPUT/huge.txt"
expect_status 0 "$status" "100 MB file"
expect_text "$WROTE_ALL" .stdout "100 MB file: console"
expect_files "100 MB file" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv
[ "$(wc -l <2020_189_155.wpt)" = 101 ] || fail "100 MB file: not 101 route points"
expect_text "1,N36.0001,-121.8171,5,250.000,0.0,0.0,255,0.000  
100,N36.0100,-121.8171,5,250.000,0.0,0.0,255,0.000  
" <(sed -n '2p;$p' 2020_189_155.wpt) "100 MB file: first and last waypoint"
expect_peak_below "100 MB file" 140
rm "$INPUT/huge.txt"

# 100 MB of GeoJSON, nearly all of it one feature's attribute: fifty million zeros. The
# reader keeps only the name beside them, so the run takes about the file's size, where a
# tree of every value took thirty times that.
zeros=$(printf '0,%.0s' {1..1000})
{
    printf '{"type": "Feature", "geometry": {"type": "LineString", "coordinates": '
    printf '[[-121.8171, 36.8167], [-121.7986, 36.8215]]}, "properties": {"readings": ['
    yes "$zeros" | head -n 50000 | tr -d '\n'
    printf '0], "name": "leg"}}\n'
} >"$INPUT/attributes.geojson"
[ "$(stat -c %s "$INPUT/attributes.geojson")" -gt 100000000 ] || fail "GeoJSON under 100 MB"
new_run_dir
measured_run "$INPUT/attributes.geojson"
expect_status 0 "$status" "100 MB of GeoJSON attributes"
expect_text "$WROTE_ALL" .stdout "100 MB of GeoJSON attributes: console"
expect_peak_below "100 MB of GeoJSON attributes" 250
rm "$INPUT/attributes.geojson"

# The same in TopoJSON, 20 MB: read through GDAL it took forty times its size.
{
    printf '{"type": "Topology", "arcs": [[[-121.8171, 36.8167], [-121.7986, 36.8215]]], '
    printf '"objects": {"leg": {"type": "LineString", "arcs": [0], "properties": {"readings": ['
    yes "$zeros" | head -n 10000 | tr -d '\n'
    printf '0], "name": "leg"}}}}\n'
} >"$INPUT/attributes.topojson"
new_run_dir
measured_run "$INPUT/attributes.topojson"
expect_status 0 "$status" "20 MB of TopoJSON attributes"
expect_text "$WROTE_ALL" .stdout "20 MB of TopoJSON attributes: console"
expect_peak_below "20 MB of TopoJSON attributes" 60
rm "$INPUT/attributes.topojson"

# GPX of two million empty elements: pugixml would hold 64 bytes for each. Refused before
# it is parsed, naming the file, in little more than the file's size.
{
    printf '<?xml version="1.0"?>\n<gpx version="1.1">\n'
    yes '<a/>' | head -n 2000000 | tr -d '\n'
    printf '\n</gpx>\n'
} >"$INPUT/elements.gpx"
new_run_dir
measured_run "$INPUT/elements.gpx"
expect_status 1 "$status" "GPX of empty elements"
expect_text "*** BAD GPX FILE *** $INPUT/elements.gpx: its markup is too dense to hold: 8.0 MB of XML would take up to 128.0 MB in memory, more than six times its size and 16 MiB
" .stdout "GPX of empty elements"
expect_files "GPX of empty elements"
expect_peak_below "GPX of empty elements" 30
rm "$INPUT/elements.gpx"

# Single lines of 10 MB: a comment, text after the two numbers, blanks before them, ten
# million digits. A line longer than 1 MiB is refused whatever it holds, and the reading
# stops there, so the run takes little more memory than that.
{ printf '#'; repeated $TEN_MB x; printf '\n%s' "$EXAMPLE"; } >"$INPUT/long_comment.txt"
{ printf '36.8167 -121.8171 '; repeated $TEN_MB x; printf '\n36.8215 -121.7986\n'; } \
    >"$INPUT/long_tail.txt"
{ repeated $TEN_MB ' '; printf '%s' "$EXAMPLE"; } >"$INPUT/long_blanks.txt"
{ repeated $TEN_MB 1; printf ' 5\n'; } >"$INPUT/long_number.txt"
for name in long_comment long_tail long_blanks long_number; do
    new_run_dir
    measured_run "$INPUT/$name.txt"
    shown=$(head -c 80 "$INPUT/$name.txt")
    expect_long_line "10 MB line: $name" "$INPUT/$name.txt" 1 "$shown..."
    expect_peak_below "10 MB line: $name" 12
done
# Lines up to 1 MiB are read as before: a comment of 1 MiB, then the two waypoints.
{ printf '#'; repeated $((1024 * 1024 - 1)) x; printf '\n%s' "$EXAMPLE"; } >"$INPUT/long_ok.txt"
new_run_dir
measured_run "$INPUT/long_ok.txt"
expect_example_outputs "1 MiB comment"
# A line of 1 MiB and one byte is refused, even after good lines.
{ printf '%s' "$EXAMPLE"; repeated $((1024 * 1024 + 1)) ' '; printf '\n'; } >"$INPUT/long_late.txt"
new_run_dir
measured_run "$INPUT/long_late.txt"
expect_long_line "1 MiB and a byte" "$INPUT/long_late.txt" 3 "$(repeated 80 ' ')..."

# A device that never ends: the reading stops at the first line longer than 1 MiB.
new_run_dir
measured_run /dev/zero
# NUL bytes are shown as their escapes, each counting as one character.
NUL_80=$(repeated 80 '\n' | sed 's/^/\\x00/' | tr -d '\n')
expect_long_line "/dev/zero" /dev/zero 1 "$NUL_80..."
expect_peak_below "/dev/zero" 12
rm "$INPUT"/long_*.txt

# Binary data: every byte value in turn, a megabyte of them. The first line is bytes 0 to
# 9, all control characters, shown as their escapes.
for i in $(seq 0 255); do printf "\\$(printf %03o "$i")"; done >"$INPUT/binary.bin"
for i in $(seq 12); do
    cat "$INPUT/binary.bin" "$INPUT/binary.bin" >"$INPUT/doubled.bin"
    mv "$INPUT/doubled.bin" "$INPUT/binary.bin"
done
new_run_dir
measured_run "$INPUT/binary.bin"
expect_bad_line "binary data" "$INPUT/binary.bin" 1 '\x00\x01\x02\x03\x04\x05\x06\x07\x08\t'
expect_peak_below "binary data" 60

# NUL bytes end a number but are no line end: one inside the two numbers spoils the line,
# one after them or in a comment does not.
printf '36.8167\0 -121.8171\n' >"$INPUT/nul_between.txt"
new_run_dir
measured_run "$INPUT/nul_between.txt"
expect_bad_line "NUL between the numbers" "$INPUT/nul_between.txt" 1 '36.8167\x00 -121.8171'
printf '36.8167 -121.8171\0 station\n# NUL \0 here\n36.8215 -121.7986\n' >"$INPUT/nul_after.txt"
new_run_dir
measured_run "$INPUT/nul_after.txt"
expect_example_outputs "NUL after the numbers and in a comment"
repeated 1000000 '\0' >"$INPUT/nul_only.txt"
new_run_dir
measured_run "$INPUT/nul_only.txt"
expect_bad_line "a megabyte of NUL" "$INPUT/nul_only.txt" 1 "$NUL_80..."
expect_peak_below "a megabyte of NUL" 60

# Typed at the dialogue, a directory is refused; a named pipe is read once, listed and
# planned from the same bytes.
new_run_dir
printf '%s\n0\nn\n50\nn\n' "$INPUT" | timeout 20 "$TAVRA" --interactive >.stdout 2>.stderr
status=$?
expect_status 1 "$status" "dialogue given a directory"
[ "$(tail -c $((${#INPUT} + 18)) .stdout)" = "cannot open file $INPUT " ] ||
    fail "dialogue given a directory: no message: $(tail -c 100 .stdout)"
expect_files "dialogue given a directory"
mkfifo "$INPUT/pipe"
new_run_dir
printf '%s' "$EXAMPLE" >"$INPUT/pipe" &
printf '%s\n0\nn\n50\nn\n' "$INPUT/pipe" |
    at_fixed_time timeout 20 "$TAVRA" --interactive >.stdout 2>.stderr
status=$?
wait
expect_status 0 "$status" "dialogue given a named pipe"
printf '%s' "$EXAMPLE" >"$WORK/example.txt"
expect_listing "dialogue given a named pipe" "$WORK/example.txt"
expect_files "dialogue given a named pipe" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts \
    2020_189_155.csv
for ext in wpt pts; do
    expect_same_file "$DATA/two_point_2020_189_155.$ext" "2020_189_155.$ext" \
        "dialogue given a named pipe: $ext"
done

# Standard input that never answers: a letter as the first menu choice keeps the choice 0
# and accepts the parameters, then every letter asks the yes/no question again, until the
# end of input ends the dialogue.
new_run_dir
{ printf '%s\n' "$DATA/run/two_points.txt"; repeated 20000 x; } |
    "$TAVRA" --interactive >.stdout 2>.stderr
status=$?
expect_status 1 "$status" "dialogue without answers"
[[ "$(tail -n 2 .stdout)" == *" Please enter Y or N > "$'\n'"*** END OF INPUT: NO MISSION WRITTEN ***" ]] ||
    fail "dialogue without answers: $(tail -n 2 .stdout)"
expect_files "dialogue without answers"

# Extreme numbers. Finite values are used as given, however large: 1e308 is printed with
# every digit of the double nearest to it (worked out apart from the program).
E308=100000000000000001097906362944045541740492309677311846336810682903157585404911491537163328978494688899061249669721172515611590283743140088328307009198146046031271664502933027185697489699588559043338384466165001178426897626212945177628091195786707458122783970171784415105291802893207873272974885715430223118336
printf '1e308 1e308\n-1e308 -1e308\n' >"$INPUT/e308.txt"
new_run_dir
measured_run --maxLegMeters 1e8 "$INPUT/e308.txt"
expect_status 0 "$status" "1e308"
expect_text "1,N$E308.0000,$E308.0000,5,250.000,0.0,0.0,255,0.000  
2,N-$E308.0000,-$E308.0000,5,250.000,0.0,0.0,255,0.000  
" <(sed -n '2,3p' 2020_189_155.wpt) "1e308: waypoints"
! grep -qi nan 2020_189_155.* || fail "1e308: an output holds nan"

# -0 keeps its sign. The leg runs due north (heading 360), so the launch point lies 500 m
# due south: 500 / 6371000 rad = 0.0045 degrees; its longitude is a hair west of -0.
printf -- '-0 -0\n0.01 -0\n' >"$INPUT/minus_zero.txt"
new_run_dir
measured_run "$INPUT/minus_zero.txt"
expect_status 0 "$status" "-0"
expect_text "0,N-0.0045,-0.0000,5,250.000,0.0,0.0,255,0.000  
1,N-0.0000,-0.0000,5,250.000,0.0,0.0,255,0.000  
2,N0.0100,-0.0000,5,250.000,0.0,0.0,255,0.000  
" 2020_189_155.wpt "-0"

# Hexadecimal reals are numbers too: 0x1.26p+5 = 1.1484375 * 32 = 36.75, -0x1.e7p+6 =
# -1.90234375 * 64 = -121.75, 0x1.2668p+5 = 1.1500244140625 * 32 = 36.80078125. The leg
# of 5.6 km runs due north, so the launch point lies 0.0045 degrees south of the first.
printf '0x1.26p+5 -0x1.e7p+6\n0x1.2668p+5 -0x1.e7p+6\n' >"$INPUT/hex.txt"
new_run_dir
measured_run --maxLegMeters 10000 "$INPUT/hex.txt"
expect_status 0 "$status" "hex floats"
expect_text "0,N36.7455,-121.7500,5,250.000,0.0,0.0,255,0.000  
1,N36.7500,-121.7500,5,250.000,0.0,0.0,255,0.000  
2,N36.8008,-121.7500,5,250.000,0.0,0.0,255,0.000  
" 2020_189_155.wpt "hex floats"

# Not numbers a position can be: the spellings of NaN and infinity, and a hexadecimal
# prefix without digits (a 0, then text).
for text in "-nan 1" "NAN(123) 1" "1 INFINITY" "1 -Inf" "0x 1"; do
    printf '%s\n' "$text" >"$INPUT/not_finite.txt"
    new_run_dir
    measured_run "$INPUT/not_finite.txt"
    expect_bad_line "$text" "$INPUT/not_finite.txt" 1 "$text"
done

# Option values at the edges. A limit far too small is refused before any point is made;
# the count of points it would take stops at the largest 64-bit count. 4.9e-324 reads as
# the smallest double, 2^-1074 = 4.94066e-324.
cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"
for limit in 1e-300 4.9e-324; do
    new_run_dir
    measured_run --maxLegMeters "$limit" "$INPUT/two_points.txt"
    expect_status 1 "$status" "maxLegMeters $limit"
    shown=$limit
    [ "$limit" = 4.9e-324 ] && shown=4.94066e-324
    expect_text "*** maxLegMeters $shown WOULD MAKE A ROUTE OF 18446744073709551615 POINTS, MORE THAN 10000000 ***
" .stdout "maxLegMeters $limit"
    expect_files "maxLegMeters $limit"
    expect_peak_below "maxLegMeters $limit" 60
done
# A limit beyond any leg cuts nothing.
for limit in 1e308; do
    new_run_dir
    measured_run --maxLegMeters "$limit" "$INPUT/two_points.txt"
    expect_example_outputs "maxLegMeters $limit"
done
# Too many digits stick to the 32-bit limit in each surfacing fix of the script.
new_run_dir
measured_run --gpsHits 99999999999 "$INPUT/two_points.txt"
expect_status 0 "$status" "gpsHits 99999999999"
sed 's/^minHits        = 30;$/minHits        = 2147483647;/' \
    "$DATA/two_point_2020_189_155.cfg" >"$WORK/gps_hits.cfg"
expect_same_file "$WORK/gps_hits.cfg" 2020_189_155.cfg "gpsHits 99999999999"

finish
