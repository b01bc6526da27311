# The longest leg: values that cannot split a route are refused before anything is written.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"

# refused <what> <value as given> <value as shown>
refused() {
    new_run_dir
    tavra_run_at_fixed_time --maxLegMeters "$2" "$INPUT/two_points.txt"
    expect_status 1 "$status" "$1"
    expect_text "*** maxLegMeters MUST BE GREATER THAN 0, NOT $3 ***
" .stdout "$1"
    expect_files "$1"
}
refused "zero" 0 0
refused "negative" -5 -5
refused "negative zero" -0 -0
# Text that is no number is a mistake of the command line, named as typed.
for value in nan abc 40m; do
    new_run_dir
    tavra_run_at_fixed_time --maxLegMeters "$value" "$INPUT/two_points.txt"
    expect_status 1 "$status" "not a number: $value"
    expect_text "*** --maxLegMeters takes a number, not \"$value\" ***
Run tavra --help for the options.
" .stdout "not a number: $value"
    expect_files "not a number: $value"
done

# Refused before the file is read: a bad line further down is not reached.
printf 'not a waypoint\n' >"$INPUT/bad.txt"
new_run_dir
tavra_run --maxLegMeters 0 "$INPUT/bad.txt"
expect_text "*** maxLegMeters MUST BE GREATER THAN 0, NOT 0 ***
" .stdout "zero before reading"

# A tiny leg would make a route of millions of points. The example's one leg measures
# 1731.1133 m: 0.0001 m pieces make 17311134 pieces, so the route would hold those
# pieces' start points, the last waypoint and the launch waypoint.
new_run_dir
tavra_run_at_fixed_time --maxLegMeters 0.0001 "$INPUT/two_points.txt"
expect_status 1 "$status" "0.0001"
expect_text "*** maxLegMeters 0.0001 WOULD MAKE A ROUTE OF 17311136 POINTS, MORE THAN 10000000 ***
" .stdout "0.0001"
expect_files "0.0001"

# At 1e-12 m the leg, 1731.113317211926 m when worked to 50 digits, makes
# 1731113317211925.995 pieces, rounded up to 1731113317211926.
new_run_dir
tavra_run_at_fixed_time --maxLegMeters 1e-12 "$INPUT/two_points.txt"
expect_status 1 "$status" "1e-12"
expect_text "*** maxLegMeters 1e-12 WOULD MAKE A ROUTE OF 1731113317211928 POINTS, MORE THAN 10000000 ***
" .stdout "1e-12"
expect_files "1e-12"

# A first waypoint on the equator keeps the position read from the file. The leg runs due
# north, so the launch point lies 500 m due south: 500 / 6371000 rad = 0.0045 degrees.
printf '0.0 10.0\n0.01 10.0\n' >"$INPUT/equator.txt"
new_run_dir
tavra_run_at_fixed_time "$INPUT/equator.txt"
expect_status 0 "$status" "equator"
expect_text "0,N-0.0045,10.0000,5,250.000,0.0,0.0,255,0.000  
1,N0.0000,10.0000,5,250.000,0.0,0.0,255,0.000  
2,N0.0100,10.0000,5,250.000,0.0,0.0,255,0.000  
" 2020_189_155.wpt "equator"

# On the ellipsoid, where the build has it: a meridian's degree near the equator is
# 110574 m, so the launch point 500 m south lies at -0.0045 all the same.
new_run_dir
tavra_run_at_fixed_time --splitOnGeodesic "$INPUT/equator.txt"
if grep -q "built without GDAL" .stdout; then
    expect_status 1 "$status" "geodesic without GDAL"
    expect_text "*** this build of tavra cannot measure on the WGS 84 geodesic (--splitOnGeodesic): it was built without GDAL ***
" .stdout "geodesic without GDAL"
    expect_files "geodesic without GDAL"
else
    expect_status 0 "$status" "geodesic"
    grep -q "^0,N-0.0045,10.0000," 2020_189_155.wpt || fail "geodesic: $(head -n 1 2020_189_155.wpt)"
fi

finish
