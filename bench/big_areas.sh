#!/usr/bin/env bash
# Whole runs on polygons of a chart's or OpenStreetMap's detail: surveys of a shore of up to
# a million vertices and of a thousand rocks, a route of 1000 waypoints against a keep-out
# star of up to a million vertices, and a two-point route against the world's land.
#
# Usage: bench/big_areas.sh [BUILD_DIRECTORY] [CASE...]   (default: build beside this
# script's parent, configured with -DTAVRA_BENCH=ON; every case when none is named)
# The time judged is processor time (user and system): the machines that run this are
# shared, and the wall time then says more about the neighbours than about tavra.
# Environment: TIMEOUT (seconds a run may take before it is stopped and counted as missed;
# default 600), TAVRA_WORLD_ATLAS (the folder of npm's world-atlas, as for bench/sea.sh; the
# land case is skipped without it).
#
# Cases (name: what tavra is given; target):
#   shore10k   --survey, shore of 10^4 vertices, 50 m lines: at most 20 s and 256 MB (a
#              case CI runs, a short fixed budget that a quadratic step would overrun);
#   shore30k   the same at 3 x 10^4 vertices: at most 120 s and 512 MB;
#   rocks900   --survey, shore of 2000 vertices with 900 rocks of 8 vertices;
#   rocks10k   the same with 10^4 rocks;
#   shore100k  shore of 10^5 vertices with 1000 rocks: at most 3 s and 1 GB;
#   shore1m    shore of 10^6 vertices: at most 30 s;
#   star10k    --keepOut star of 10^4 vertices, route of 1000 waypoints: at most 2 s;
#   keep100k   --keepOut a shore of 10^5 vertices, crossed by a route of 1000 waypoints:
#              at most 2 s;
#   opreg100k  --opRegion the same shore, left and entered by the same route: at most 2 s;
#   star100k   --keepOut star of 10^5 vertices, route of 1000 waypoints: at most 2 s (CI
#              runs it too);
#   star1m     the same at 10^6 vertices: at most 2 s;
#   keep1m     --keepOut the shore of 10^6 vertices, crossed by a route of 1000 waypoints:
#              at most 2 s;
#   opreg1m    --opRegion the same shore, left and entered by the same route: at most 2 s;
#   land       --keepOut land-10m.json (Natural Earth's 10 m land), two-point route: 0.5 s.
# The polygons are made here and removed at the end. Exit status 1 when a target is missed.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-$here/../build}")
shift || true
tavra=$build/tavra
maker=$build/bench/tavra_big_area_data
limit=${TIMEOUT:-600}

[ -x "$tavra" ] || { echo "no tavra in $build (build it first, or name the build)" >&2; exit 2; }
[ -x "$maker" ] || { echo "no bench/tavra_big_area_data in $build (-DTAVRA_BENCH=ON)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs GNU time at /usr/bin/time (Debian package time)" >&2; exit 2; }

land=${TAVRA_WORLD_ATLAS:+$TAVRA_WORLD_ATLAS/land-10m.json}

work=$(mktemp -d "${TMPDIR:-/tmp}/tavra-big.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The lawnmower of bench/sea.sh: 500 lines of 10 km, 290 m apart, off Monterey.
awk 'BEGIN { for (i = 0; i < 500; i++) { lat = 36.2 + i * 290 / 111195
    if (i % 2 == 0) printf "%.6f -122.350000\n%.6f -122.238000\n", lat, lat
    else printf "%.6f -122.238000\n%.6f -122.350000\n", lat, lat } }' >"$work/route.txt"
# 500 lines of 27 km, 44 m apart, across the shore.
awk 'BEGIN { for (i = 0; i < 500; i++) { lat = 36.70 + i * 0.0004
    if (i % 2 == 0) printf "%.6f -122.250000\n%.6f -121.950000\n", lat, lat
    else printf "%.6f -121.950000\n%.6f -122.250000\n", lat, lat } }' >"$work/across.txt"
printf '36.8167 -121.8171\n36.8215 -121.7986\n' >"$work/two.txt"

failed=0
# measure <name> <seconds allowed> <MB allowed> <args...>: one run in a folder of its own.
measure() {
    local name=$1 seconds=$2 megabytes=$3
    shift 3
    mkdir -p "$work/$name"
    local status=0
    (cd "$work/$name" && /usr/bin/time -f '%e %M %U %S' -o .time timeout "$limit" "$tavra" "$@" \
        >.out 2>&1) || status=$?
    local wall peak user system cpu
    read -r wall peak user system < <(tail -n 1 "$work/$name/.time")
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
    local mb
    mb=$(awk -v k="$peak" 'BEGIN { printf "%.0f", k / 1024 }')
    local outcome
    if [ "$status" -eq 124 ]; then
        outcome="stopped after $limit s"
        failed=1
    elif [ "$status" -gt 1 ]; then
        outcome="status $status: $(head -c 200 "$work/$name/.out")"
        failed=1
    elif awk -v c="$cpu" -v s="$seconds" -v m="$mb" -v l="$megabytes" \
        'BEGIN { exit !(c <= s && m <= l) }'; then
        outcome="met (at most $seconds s, $megabytes MB)"
    else
        outcome="MISSED (at most $seconds s, $megabytes MB)"
        failed=1
    fi
    printf '| %-9s | %7s | %6s | %6s MB | %s |\n' "$name" "$cpu" "$wall" "$mb" "$outcome"
    grep -E ' lines in [0-9]+ cells?|^Findings' "$work/$name/.out" | head -n 2 | sed 's/^/    /'
}

wanted() { [ "${#cases[@]}" -eq 0 ] || [[ " ${cases[*]} " == *" $1 "* ]]; }
cases=("$@")

echo "| case      | cpu s   | wall s | peak RSS  | outcome |"
echo "|-----------|--------:|-------:|----------:|---------|"
if wanted shore10k; then
    "$maker" shore 10000 0 "$work/shore10k.geojson"
    measure shore10k 20 256 --survey "$work/shore10k.geojson" --lineSpacing 50
fi
if wanted shore30k; then
    "$maker" shore 30000 0 "$work/shore30k.geojson"
    measure shore30k 120 512 --survey "$work/shore30k.geojson" --lineSpacing 50
fi
if wanted rocks900; then
    "$maker" shore 2000 900 "$work/rocks900.geojson"
    measure rocks900 600 4096 --survey "$work/rocks900.geojson" --lineSpacing 50
fi
if wanted rocks10k; then
    "$maker" shore 2000 10000 "$work/rocks10k.geojson"
    measure rocks10k 600 4096 --survey "$work/rocks10k.geojson" --lineSpacing 50
fi
if wanted shore100k; then
    "$maker" shore 100000 1000 "$work/shore100k.geojson"
    measure shore100k 3 1024 --survey "$work/shore100k.geojson" --lineSpacing 50
fi
if wanted shore1m; then
    "$maker" shore 1000000 0 "$work/shore1m.geojson"
    measure shore1m 30 4096 --survey "$work/shore1m.geojson" --lineSpacing 50
fi
if wanted star10k; then
    "$maker" star 10000 "$work/star10k.geojson"
    measure star10k 2 4096 --check --keepOut "$work/star10k.geojson" "$work/route.txt"
fi
if wanted keep100k; then
    "$maker" shore 100000 0 "$work/keep100k.geojson"
    measure keep100k 2 4096 --check --keepOut "$work/keep100k.geojson" "$work/across.txt"
fi
if wanted opreg100k; then
    "$maker" shore 100000 0 "$work/opreg100k.geojson"
    measure opreg100k 2 4096 --check --opRegion "$work/opreg100k.geojson" "$work/across.txt"
fi
if wanted star100k; then
    "$maker" star 100000 "$work/star100k.geojson"
    measure star100k 2 4096 --check --keepOut "$work/star100k.geojson" "$work/route.txt"
fi
if wanted star1m; then
    "$maker" star 1000000 "$work/star1m.geojson"
    measure star1m 2 4096 --check --keepOut "$work/star1m.geojson" "$work/route.txt"
fi
if wanted keep1m; then
    "$maker" shore 1000000 0 "$work/keep1m.geojson"
    measure keep1m 2 4096 --check --keepOut "$work/keep1m.geojson" "$work/across.txt"
fi
if wanted opreg1m; then
    "$maker" shore 1000000 0 "$work/opreg1m.geojson"
    measure opreg1m 2 4096 --check --opRegion "$work/opreg1m.geojson" "$work/across.txt"
fi
if wanted land; then
    if [ -n "$land" ]; then
        measure land 0.5 4096 --check --keepOut "$land" "$work/two.txt"
    else
        echo "land: skipped, no land-10m.json (npm install world-atlas, set TAVRA_WORLD_ATLAS)" >&2
    fi
fi
exit "$failed"
