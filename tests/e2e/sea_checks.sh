# The sea checks end to end: --check against a bathymetry grid and keep-out areas, a normal
# run that writes its files and puts the findings on standard error, refused options, and
# the one line of a build without GDAL.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

ETOPO="$DATA/sea/etopo5_monterey.nc"
# Across the middle of Monterey Bay, and from Carmel Bay over the Monterey peninsula.
printf '36.80 -122.00\n36.85 -121.95\n' >"$INPUT/bay.txt"
printf '36.545 -121.96\n36.61 -121.88\n' >"$INPUT/peninsula.txt"
# A closed area in the bay, as plain positions.
printf '36.82 -121.99\n36.83 -121.99\n36.83 -121.97\n36.82 -121.97\n' >"$INPUT/closure.txt"

new_run_dir
tavra_run --check --bathymetry "$ETOPO" "$INPUT/bay.txt"
if grep -q 'has no sea checks' .stdout; then
    # A build without GDAL: every sea option gets the one line, status 1, no file.
    for option in "--bathymetry $ETOPO" "--keepOut $INPUT/closure.txt" "--opRegion $INPUT/closure.txt"; do
        new_run_dir
        # shellcheck disable=SC2086
        tavra_run $option "$INPUT/bay.txt"
        expect_status 1 "$status" "no GDAL: $option"
        expect_text "*** this build of tavra has no sea checks: --bathymetry, --keepOut and --opRegion need GDAL ***
" .stdout "no GDAL: $option"
        expect_files "no GDAL: $option"
    done
    finish
fi

# The bay: warnings only (ETOPO's 99 m cell under the second leg is shallower than the
# yo-yo's 105 m and the abort depth; its 99 m cell beside the first leg is not crossed),
# so status 0, and the depth column.
expect_status 0 "$status" "bay check"
grep -q '^  No\.  Kind    Latitude   Longitude  Heading      Leg m      Leg s      Sum m      Sum s   Depth m$' .stdout ||
    fail "bay check: no depth column"
grep -q '^    0  launch   36\.7965   -122\.0035     38\.7      500\.0      650\.0        0\.0        0\.0     201\.0$' .stdout ||
    fail "bay check: launch row $(grep launch .stdout)"
grep -q '^Depth: the shallowest water depth under the leg, from ' .stdout || fail "bay check: legend"
grep -q '^Findings: 0 errors, 2 warnings, 1 unverified, 1 note$' .stdout ||
    fail "bay check: $(grep Findings .stdout)"
grep -q '^note: grid .*etopo5_monterey\.nc: cells of 7\.4 km by 9\.3 km at the route, larger than the shortest leg (500\.0 m, ' .stdout ||
    fail "bay check: no note of the grid's cells"
expect_no_stderr "bay check"
expect_files "bay check"

# The peninsula: land, so status 1.
new_run_dir
tavra_run --check --bathymetry "$ETOPO" "$INPUT/peninsula.txt"
expect_status 1 "$status" "peninsula check"
grep -q '^error: land under the leg from waypoint 1 to waypoint 2 over ' .stdout ||
    fail "peninsula check: no land under the first leg"
expect_files "peninsula check"

# A keep-out area alone: findings, but no depth column.
new_run_dir
tavra_run --check --keepOut "$INPUT/closure.txt" --keepOutMargin 50 "$INPUT/bay.txt"
expect_status 1 "$status" "keep-out check"
expect_text "Findings: 2 errors, 0 warnings
error: the leg from waypoint 1 to waypoint 2 enters keep-out area 1 of $INPUT/closure.txt at 2848.3 m along it (36.82000 -121.98001)
error: waypoint 2 at 36.82528 -121.97473 is inside keep-out area 1 of $INPUT/closure.txt
" <(sed -n '/^Findings/,$p' .stdout) "keep-out check: findings"
grep -q 'Depth m' .stdout && fail "keep-out check: a depth column without a grid"

# Natural Earth's land as GeoJSON: the peninsula route enters it and has two split points
# ashore; the bay route keeps clear of it.
LAND="$DATA/sea/ne10m_land_monterey.geojson"
new_run_dir
tavra_run --check --keepOut "$LAND" "$INPUT/peninsula.txt"
expect_status 1 "$status" "land check, peninsula"
expect_text "Findings: 3 errors, 0 warnings
error: the leg from waypoint 1 to waypoint 2 enters keep-out area 1 of $LAND at 2481.1 m along it (36.56087 -121.94048)
error: waypoint 2 at 36.56803 -121.93168 is inside keep-out area 1 of $LAND
error: waypoint 3 at 36.59107 -121.90334 is inside keep-out area 1 of $LAND
" <(sed -n '/^Findings/,$p' .stdout) "land check, peninsula"
new_run_dir
tavra_run --check --keepOut "$LAND" --opRegion "$INPUT/closure.txt" "$INPUT/bay.txt"
expect_status 1 "$status" "land check, bay"
# Only the split point lies in the small operating region: every other point is outside,
# and the leg from it leaves the region.
expect_text "Findings: 4 errors, 0 warnings
error: the launch waypoint (0) at 36.79649 -122.00351 is outside the operating region of $INPUT/closure.txt
error: waypoint 1 at 36.80000 -122.00000 is outside the operating region of $INPUT/closure.txt
error: waypoint 3 at 36.85000 -121.95000 is outside the operating region of $INPUT/closure.txt
error: the leg from waypoint 2 to waypoint 3 leaves the operating region of $INPUT/closure.txt at 672.6 m along it (36.83000 -121.97001)
" <(sed -n '/^Findings/,$p' .stdout) "land check, bay"

# Fiji's islands at 180 degrees as world-atlas stores them: a route across them meets an
# island, repaired and noted; a route at the same latitude far away meets nothing.
FIJI="$DATA/sea/ne10m_land_antimeridian.geojson"
printf -- '-16.95 179.85\n-16.95 -179.95\n' >"$INPUT/fiji.txt"
printf -- '-16.9 -170.0\n-16.8 -169.99\n' >"$INPUT/away.txt"
new_run_dir
tavra_run --check --keepOut "$FIJI" "$INPUT/fiji.txt"
expect_status 1 "$status" "antimeridian, across"
grep -q '^note: keep-out area 1 of .* is not a valid polygon near the route (Self-intersection' .stdout ||
    fail "antimeridian, across: no note of the repair"
new_run_dir
tavra_run --check --keepOut "$FIJI" "$INPUT/away.txt"
expect_status 0 "$status" "antimeridian, away"
[ "$(tail -n 1 .stdout)" = "Findings: none" ] || fail "antimeridian, away: $(tail -n 3 .stdout)"

# An ordinary run: the same files as without the checks, the findings on standard error
# (not the note), the GeoJSON export with the depth of each leg.
new_run_dir
tavra_run_at_fixed_time "$INPUT/peninsula.txt"
mkdir "$WORK/plain" && mv 2020_189_155.* "$WORK/plain/"
tavra_run_at_fixed_time --bathymetry "$ETOPO" --keepOut "$INPUT/closure.txt" --export geojson \
    "$INPUT/peninsula.txt"
expect_status 0 "$status" "run"
expect_files "run" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv \
    2020_189_155.geojson
for ext in cfg wpt pts csv; do
    expect_same_file "$WORK/plain/2020_189_155.$ext" 2020_189_155.$ext "run: $ext as without the checks"
done
expect_text "$WROTE_ALL
 **** Wrote geojson file : 2020_189_155.geojson ****
" .stdout "run: console"
grep -q '^error: land under the leg from waypoint 1 to waypoint 2 over ' .stderr ||
    fail "run: no land on standard error"
# The grid's note begins the sea's lines; no other note is shown there.
[ "$(grep -c '^note:' .stderr)" = 1 ] && head -n 1 .stderr | grep -q '^note: grid ' ||
    fail "run: not the grid's note alone on standard error"

[ "$(grep -c '"legShallowestDepth":' 2020_189_155.geojson)" = 5 ] ||
    fail "run: the GeoJSON points lack their depths"
grep -q '"legShallowestDepth":-194,' 2020_189_155.geojson ||
    fail "run: no land in the GeoJSON: $(grep -o '"legShallowestDepth":[^,]*' 2020_189_155.geojson | tr '\n' ' ')"

# The bundled lawn-mower against the bundled ETOPO5 cut: the cells the legs cross are 99 m
# deep, the 10 m shore cell east of them is not crossed, so no error and at most one line
# a leg, the yo-yo's cut said once for the route.
LAWN="$DATA/../../examples/monterey_lawnmower.txt"
new_run_dir
tavra_run --check --bathymetry "$ETOPO" "$LAWN"
expect_status 0 "$status" "lawn-mower check"
grep -q '^Findings: 0 errors, 24 warnings, 8 unverified, 1 note$' .stdout ||
    fail "lawn-mower check: $(grep Findings .stdout)"
new_run_dir
tavra_run_at_fixed_time --bathymetry "$ETOPO" "$LAWN"
expect_status 0 "$status" "lawn-mower run"
beside() { # leg, distance and direction, extent
    echo "unverified: grid cell $2 of the leg from waypoint $1 to waypoint $(($1 + 1)) is 10.0 m deep at this resolution (under abort altitude), not crossed: beside it $3"
}
expect_text "note: grid $ETOPO: cells of 7.4 km by 9.3 km at the route, larger than the shortest leg (500.0 m, from waypoint 0 to waypoint 1); every cell under the route holds the same depth
warning: the yo-yo band is cut short on 12 of 12 legs, 23.4 km of 23.4 km (water shallower than missionYoyoMaxDepth 90 m + yoyoMinAltitude 15 m = 105 m)
$(beside 1 '7.9 km north-east' 'over 435.8 m of its 3600.0 m, first at 3164.2 m along it (36.80000 -121.91446)')
$(beside 2 '6.4 km north-east' 'over 1742.2 m of its 1742.2 m, first at 0.0 m along it, at waypoint 2 (36.80000 -121.90957)')
$(beside 3 '6.1 km north-east' 'over 500.4 m of its 500.4 m, first at 0.0 m along it, at waypoint 3 (36.80000 -121.89000)')
$(beside 4 '6.1 km north-east' 'over 2177.9 m of its 3600.0 m, first at 0.0 m along it, at waypoint 4 (36.80450 -121.89000)')
$(beside 7 '7.5 km east' 'over 436.1 m of its 3600.0 m, first at 3163.9 m along it (36.80900 -121.91446)')
$(beside 8 '5.9 km north-east' 'over 1741.6 m of its 1741.6 m, first at 0.0 m along it, at waypoint 8 (36.80900 -121.90956)')
$(beside 9 '5.7 km north-east' 'over 500.4 m of its 500.4 m, first at 0.0 m along it, at waypoint 9 (36.80900 -121.89000)')
$(beside 10 '5.7 km north-east' 'over 2177.6 m of its 3600.0 m, first at 0.0 m along it, at waypoint 10 (36.81350 -121.89000)')
" .stderr "lawn-mower run: the console's findings"

# Refusals: a message, status 1, no file, before any planning.
refused() {
    local what=$1 message=$2
    shift 2
    new_run_dir
    tavra_run "$@"
    expect_status 1 "$status" "$what"
    expect_text "$message
" .stdout "$what"
    expect_files "$what"
}
refused "margin not a number" '*** --keepOutMargin "ten" is not a distance in meters (a number of 0 or more) ***' \
    --keepOut "$INPUT/closure.txt" --keepOutMargin ten "$INPUT/bay.txt"
refused "negative margin" '*** --keepOutMargin "-5" is not a distance in meters (a number of 0 or more) ***' \
    --keepOut "$INPUT/closure.txt" --keepOutMargin=-5 "$INPUT/bay.txt"
refused "margin alone" '*** --keepOutMargin needs --keepOut: there is no keep-out area to keep the margin from ***' \
    --keepOutMargin 5 "$INPUT/bay.txt"
refused "coast alone" '*** --coast needs --bathymetry: there is no grid to compare the coast with ***' \
    --coast "$LAND" "$INPUT/bay.txt"
refused "missing coast file" "*** --coast $INPUT/none.txt: cannot open the file ***" \
    --check --bathymetry "$ETOPO" --coast "$INPUT/none.txt" "$INPUT/bay.txt"
refused "depth positive down alone" '*** --depthPositiveDown needs --bathymetry: there is no grid to read as depth ***' \
    --depthPositiveDown "$INPUT/bay.txt"
refused "missing keep-out file" "*** --keepOut $INPUT/none.txt: cannot open the file ***" \
    --check --keepOut "$INPUT/none.txt" "$INPUT/bay.txt"
new_run_dir
tavra_run --bathymetry "$INPUT/bay.txt" "$INPUT/bay.txt"
expect_status 1 "$status" "not a grid"
grep -q "^\*\*\* --bathymetry $INPUT/bay.txt: not a grid GDAL can read (" .stdout ||
    fail "not a grid: $(cat .stdout)"
expect_files "not a grid"
finish
