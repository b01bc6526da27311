#!/usr/bin/env bash
# Whole runs of the sea checks on a survey of 1000 waypoints: over a grid of GEBCO's global
# size (86400 x 43200 cells, made here and removed at the end) and against the land of the
# whole world in Natural Earth's 10 m detail.
#
# Usage: bench/sea.sh [BUILD_DIRECTORY]    (default: build beside this script's parent; it
# must hold tavra and bench/tavra_sea_bench_data, so configure it with -DTAVRA_BENCH=ON)
# Environment: RUNS (repetitions per case, the median is shown; default 3), TAVRA_WORLD_ATLAS
# (the folder of npm's world-atlas, which holds land-10m.json; by default
# node_modules/world-atlas here or in a folder above; the land case is skipped without it:
# npm install world-atlas).
#
# Cases, each a whole `tavra --check` of the same route:
#   plain  no sea option, for comparison;
#   grid   --bathymetry over the grid of GEBCO's size, which holds values only in the blocks
#          from 35.5 to 38 N and 123 to 121 W and is sparse elsewhere;
#   land   --keepOut land-10m.json (TopoJSON, 4048 polygons, 408901 points) --keepOutMargin 200.
# Targets (exit status 1 if one is missed): grid and land each at most 2 s of wall time, and
# the grid case at most 300 MB of peak resident memory.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-$here/../build}")
tavra=$build/tavra
maker=$build/bench/tavra_sea_bench_data
runs=${RUNS:-3}

[ -x "$tavra" ] || { echo "no tavra in $build (build it first, or name the build)" >&2; exit 2; }
[ -x "$maker" ] || { echo "no bench/tavra_sea_bench_data in $build (-DTAVRA_BENCH=ON)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs GNU time at /usr/bin/time (Debian package time)" >&2; exit 2; }

land=${TAVRA_WORLD_ATLAS:+$TAVRA_WORLD_ATLAS/land-10m.json}
if [ -z "$land" ]; then
    folder=$PWD
    while :; do
        if [ -f "$folder/node_modules/world-atlas/land-10m.json" ]; then
            land=$folder/node_modules/world-atlas/land-10m.json
            break
        fi
        [ "$folder" = / ] && break
        folder=$(dirname "$folder")
    done
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tavra-sea.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$maker" "$work"
echo "grid of 86400 x 43200 cells: $(du -h "$work/gebco_size.tif" | cut -f1) on the disk"

median() { tr ' ' '\n' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# measure <name> <args...>: median wall seconds, processor seconds and peak RSS (MB).
failed=0
measure() {
    local name=$1
    shift
    local walls="" cpus="" peaks="" status
    for ((i = 0; i < runs; i++)); do
        status=0
        /usr/bin/time -f '%e %U %S %M' -o "$work/.time" "$tavra" --check "$@" "$work/route.txt" \
            >"$work/.out" 2>&1 || status=$?
        # Status 1 is a plan with errors, which the land and the shelf give; anything else,
        # or a message instead of a report, is a failed run.
        if [ "$status" -gt 1 ] || ! grep -q '^Findings' "$work/.out"; then
            echo "$name: tavra ended with status $status" >&2
            cat "$work/.out" >&2
            exit 1
        fi
        read -r wall user system peak < <(tail -n 1 "$work/.time")
        walls+=" $wall"
        cpus+=" $(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')"
        peaks+=" $peak"
    done
    wall=$(echo $walls | median)
    cpu=$(echo $cpus | median)
    peak=$(echo $peaks | median)
    findings=$(grep '^Findings' "$work/.out" || true)
    printf '| %-5s | %6s | %6s | %7.1f MB | %s |\n' "$name" "$wall" "$cpu" \
        "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "${findings#Findings: }"
}

echo "| case  | wall s | cpu s | peak RSS   | findings |"
echo "|-------|-------:|------:|-----------:|----------|"
measure plain
measure grid --bathymetry "$work/gebco_size.tif"
grid_wall=$wall
grid_peak_mb=$(awk -v k="$peak" 'BEGIN { print k / 1024 }')
if [ -n "$land" ]; then
    measure land --keepOut "$land" --keepOutMargin 200
    land_wall=$wall
else
    echo "land: skipped, no land-10m.json (npm install world-atlas, or set TAVRA_WORLD_ATLAS)" >&2
    land_wall=0
fi

check() {
    if awk -v v="$2" -v l="$3" 'BEGIN { exit !(v <= l) }'; then
        echo "met: $1 $2 (at most $3)"
    else
        echo "MISSED: $1 $2 (at most $3)"
        failed=1
    fi
}
check "grid wall seconds" "$grid_wall" 2
check "grid peak MB" "$grid_peak_mb" 300
[ -n "$land" ] && check "land wall seconds" "$land_wall" 2
exit "$failed"
