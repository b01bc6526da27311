#!/usr/bin/env bash
# CI step for the route exports: GDAL's ogrinfo and libxml2's xmllint read the exports of
# real runs and must find the planned points where they were planned.
set -euo pipefail
cd "$(dirname "$0")/.."

export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends gdal-bin libxml2-utils
cmake -S . -B build && cmake --build build -j

tavra=$PWD/build/tavra
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Route points as "longitude latitude", worked out apart from the program on the sphere of
# 6371 km (launch point 500 m before waypoint 1, legs cut every 3600 m); the program's own
# rounding of pi moves them by less than a centimetre.
cat >"$work/two_points.expected" <<'POINTS'
-121.822442950 36.815313076
-121.8171 36.8167
-121.7986 36.8215
POINTS
cat >"$work/two_points.kinds" <<'KINDS'
launch
waypoint
waypoint
KINDS
cat >"$work/monterey.expected" <<'POINTS'
-121.955615626 36.799998458
-121.95 36.8
-121.909567491 36.800003312
-121.89 36.8
-121.89 36.8045
-121.930434885 36.804503312
-121.95 36.8045
-121.95 36.809
-121.909562738 36.809003312
-121.89 36.809
-121.89 36.8135
-121.930439639 36.813503311
-121.95 36.8135
POINTS
cat >"$work/monterey.kinds" <<'KINDS'
launch
waypoint
split
waypoint
waypoint
split
waypoint
waypoint
split
waypoint
waypoint
split
waypoint
KINDS

# points <ogrinfo arguments...>: "longitude latitude" of every POINT, in file order.
points() {
    ogrinfo -ro -al -q "$@" | sed -n 's/^  POINT (\([^ ]*\) \([^ ]*\))$/\1 \2/p'
}
# line <ogrinfo arguments...>: the vertices of the LINESTRING features, one per line.
line() {
    ogrinfo -ro -al -q "$@" | sed -n 's/^  LINESTRING (\(.*\))$/\1/p' | tr ',' '\n'
}
# count <ogrinfo arguments...>: the feature count of the layer(s).
count() {
    ogrinfo -ro -so -al "$@" | sed -n 's/^Feature Count: //p' | paste -sd' '
}
# field <name> <ogrinfo arguments...>: the values of a text field, in file order.
field() {
    local name=$1
    shift
    ogrinfo -ro -al -q "$@" | sed -n "s/^  $name (String) = //p"
}

# same_positions <what> <expected> <actual>: as many positions, each within 1e-7 degrees.
same_positions() {
    awk -v what="$1" '
        NR == FNR { ex[NR] = $1; ey[NR] = $2; n = NR; next }
        {
            m = FNR
            dx = $1 - ex[FNR]; dy = $2 - ey[FNR]
            if (dx < 0) dx = -dx
            if (dy < 0) dy = -dy
            if (FNR > n || dx > 1e-7 || dy > 1e-7) {
                print what ": position " FNR " is " $0 ", expected " ex[FNR] " " ey[FNR]
                bad = 1
            }
        }
        END {
            if (m != n) { print what ": " m " positions, expected " n; bad = 1 }
            exit bad
        }' "$2" "$3" >&2 || fail "$1"
}

# expect_equal <what> <expected> <actual>
expect_equal() {
    [ "$2" = "$3" ] || fail "$1: '$3', expected '$2'"
}

# check_run <name> <waypoint file>: plans the file with --export all and reads every export.
check_run() {
    local name=$1 expected="$work/$1.expected" kinds="$work/$1.kinds"
    local points_count
    points_count=$(wc -l <"$expected")
    mkdir "$work/$name"
    (cd "$work/$name" && "$tavra" --export all "$2" >/dev/null) || fail "$name: run failed"
    local stem
    stem=$(cd "$work/$name" && ls ./*.geojson)
    stem="$work/$name/${stem%geojson}"

    # GeoJSON: the route, then one Point per route point with its kind.
    expect_equal "$name geojson features" "$((points_count + 1))" "$(count "${stem}geojson")"
    same_positions "$name geojson points" "$expected" <(points "${stem}geojson")
    same_positions "$name geojson line" "$expected" <(line "${stem}geojson")
    expect_equal "$name geojson kinds" "$(printf 'route\n'; cat "$kinds")" \
        "$(field kind "${stem}geojson")"

    # KML, with both of GDAL's readers: libkml's and its own.
    local skip reader
    for skip in "" LIBKML; do
        reader=${skip:+KML driver}
        reader=${reader:-LIBKML driver}
        expect_equal "$name kml features, $reader" "$((points_count + 1))" \
            "$(count --config GDAL_SKIP "$skip" "${stem}kml")"
        same_positions "$name kml points, $reader" "$expected" \
            <(points --config GDAL_SKIP "$skip" "${stem}kml")
        same_positions "$name kml line, $reader" "$expected" \
            <(line --config GDAL_SKIP "$skip" "${stem}kml")
    done

    # GPX: one route of route points, each with its kind as type.
    expect_equal "$name gpx routes" 1 "$(count "${stem}gpx" routes)"
    expect_equal "$name gpx route points" "$points_count" "$(count "${stem}gpx" route_points)"
    same_positions "$name gpx route points" "$expected" <(points "${stem}gpx" route_points)
    same_positions "$name gpx route" "$expected" <(line "${stem}gpx" routes)
    expect_equal "$name gpx types" "$(cat "$kinds")" "$(field type "${stem}gpx" route_points)"

    # The markup is well-formed XML; the preview is XHTML-compatible, so XML rules apply.
    xmllint --noout "${stem}kml" "${stem}gpx" "${stem}html" || fail "$name: markup not well-formed"
}

check_run two_points "$PWD/tests/data/run/two_points.txt"
check_run monterey "$PWD/examples/monterey_lawnmower.txt"

# The preview of a run measured against the sea (ETOPO5, Natural Earth's land) draws more,
# and is well-formed all the same.
sea_data=$PWD/tests/data/sea
example=$PWD/examples/monterey_lawnmower.txt
mkdir "$work/sea"
(cd "$work/sea" && "$tavra" --export html --bathymetry "$sea_data/etopo5_monterey.nc" \
    --keepOut "$sea_data/ne10m_land_monterey.geojson" --keepOutMargin 500 \
    "$example" >/dev/null 2>&1) || fail "sea: run failed"
xmllint --noout "$work"/sea/*.html || fail "sea: preview not well-formed"
grep -q '<svg xmlns="http://www.w3.org/2000/svg" class="profile"' "$work"/sea/*.html ||
    fail "sea: no depth profile in the preview"

if [ "$failures" -ne 0 ]; then
    echo "exports: $failures check(s) failed" >&2
    exit 1
fi
echo "exports: GeoJSON, KML, GPX and HTML read back as planned, the sea preview well-formed"
