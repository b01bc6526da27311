#!/usr/bin/env bash
# Whole runs on million-point routes timed against cp of their four outputs, with memory and doubling.
#
# Usage: bench/scale.sh [TAVRA_BINARY]        (default: build/tavra beside this script's parent)
# Environment: RUNS (repetitions per case, the median is shown; default 3), POINTS (the large
# size; default 1000000), SCALE_DIR (where the temporary directory goes; default $TMPDIR or
# /tmp). A million-point run writes about 1.2 GB and its copy as much again: put SCALE_DIR on
# the disk you want measured, with room for both. Everything is removed at the end.
#
# Cases, each at POINTS and at half of it:
#   walk  POINTS random-walk waypoints 200 to 500 m apart, default parameters (no leg is cut);
#   long  two waypoints 1000 km apart with --maxLegMeters 1000000/POINTS (1 m for a million),
#         so that nearly every route point is a split point.
# Each timed command (tavra, then cp of its four outputs into a fresh directory on the same
# disk) starts after sync and, where allowed (root), a dropped page cache, with its own input
# read once beforehand so that it comes from memory: both pay for their own work and writes.
# "run" is the command alone, whose writes may still sit in the page cache when it ends;
# "to disk" adds the sync that follows it, so that the files are on the disk.
#
# Targets, checked on the large size (exit status 1 if one is missed):
#   to-disk time of tavra <= 1.5 x to-disk time of cp of its outputs;
#   run time at POINTS <= 2.2 x run time at POINTS/2;
#   peak resident memory <= 16 MB + 150 bytes per route point.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
tavra=$(realpath "${1:-$here/../build/tavra}")
runs=${RUNS:-3}
points=${POINTS:-1000000}
half=$((points / 2))

[ -x "$tavra" ] || { echo "no tavra binary at $tavra (build it first, or name it)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs GNU time at /usr/bin/time (Debian package time)" >&2; exit 2; }

work=$(mktemp -d "${SCALE_DIR:-${TMPDIR:-/tmp}}/tavra-scale.XXXXXX")
trap 'rm -rf "$work"' EXIT

dropped=no
quiet_disk() {
    sync
    if [ -w /proc/sys/vm/drop_caches ] && (echo 3 >/proc/sys/vm/drop_caches) 2>/dev/null; then
        dropped=yes
    fi
}

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
median() { tr ' ' '\n' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Waypoint files: the random walk (its first half is the half-size case) and the long leg.
awk -v n="$points" 'BEGIN {
    srand(20200708); lat = 36.8; lon = -121.9
    for (i = 0; i < n; i++) {
        printf "%.6f %.6f\n", lat, lon
        a = rand() * 6.283185307; d = 200 + rand() * 300
        lat += d * cos(a) / 111195; lon += d * sin(a) / (111195 * cos(lat * 0.0174532925))
        if (lat > 60 || lat < -60) lat = 36.8
    }
}' >"$work/walk_$points.txt"
head -n "$half" "$work/walk_$points.txt" >"$work/walk_$half.txt"
# 8.9932 degrees of latitude are 1000 km on the route's sphere.
printf '0.0 10.0\n8.9932 10.0\n' >"$work/long.txt"

# set_args CASE SIZE: the command line of one case, in args.
set_args() {
    if [ "$1" = walk ]; then
        args=("$work/walk_$2.txt")
    else
        args=(--maxLegMeters "$(awk -v n="$2" 'BEGIN { printf "%.10g", 1000000 / n }')" "$work/long.txt")
    fi
}

# measure CASE SIZE: RUNS runs of tavra and of cp; sets the medians in result_*.
measure() {
    local kind=$1 size=$2 i
    local run_t=() cpu_t=() disk_t=() cp_t=() cpdisk_t=() rss=() bytes=0 route=0
    set_args "$kind" "$size"
    for ((i = 0; i < runs; i++)) do
        rm -rf "$work/run" "$work/copy"
        mkdir "$work/run" "$work/copy"

        quiet_disk
        cat "${args[-1]}" >/dev/null
        local start; start=$(now)
        if ! (cd "$work/run" && /usr/bin/time -f '%M %U %S' -o "$work/time.txt" "$tavra" "${args[@]}" \
            >"$work/console.txt"); then
            cat "$work/console.txt" >&2
            exit 2
        fi
        local ran; ran=$(now)
        sync
        local flushed; flushed=$(now)
        run_t+=("$(seconds "$start" "$ran")")
        disk_t+=("$(seconds "$start" "$flushed")")
        rss+=("$(tail -n 1 "$work/time.txt" | cut -d' ' -f1)")
        cpu_t+=("$(tail -n 1 "$work/time.txt" | awk '{ printf "%.2f", $2 + $3 }')")
        local outputs=("$work"/run/*.cfg "$work"/run/*.wpt "$work"/run/*.pts "$work"/run/*.csv)
        bytes=$(cat "${outputs[@]}" | wc -c)
        route=$(wc -l <"$work"/run/*.wpt) # one line per route point

        quiet_disk
        cat "${outputs[@]}" >/dev/null
        start=$(now)
        cp "${outputs[@]}" "$work/copy/"
        ran=$(now)
        sync
        flushed=$(now)
        cp_t+=("$(seconds "$start" "$ran")")
        cpdisk_t+=("$(seconds "$start" "$flushed")")
    done
    rm -rf "$work/run" "$work/copy"
    result_run=$(echo "${run_t[*]}" | median)
    result_cpu=$(echo "${cpu_t[*]}" | median)
    result_disk=$(echo "${disk_t[*]}" | median)
    result_cp=$(echo "${cp_t[*]}" | median)
    result_cpdisk=$(echo "${cpdisk_t[*]}" | median)
    result_rss=$(echo "${rss[*]}" | median)
    result_bytes=$bytes
    result_route=$route
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

echo "tavra scale check: $(date -u '+%Y-%m-%d %H:%M UTC'), $runs runs per case, medians"
echo "machine: $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'))," \
    "$(free -g | awk '/^Mem:/ { print $2 " GiB memory" }'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "disk: $(df -h "$work" | awk 'NR == 2 { print $1 ", " $2 " (" $4 " free), mounted on " $6 }')"
cache="$(dirname "$tavra")/CMakeCache.txt"
if [ -f "$cache" ]; then
    compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$cache")
    build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$cache")
    echo "binary: $tavra, $("$compiler" --version | head -n 1), build type ${build_type:-RelWithDebInfo, the default}"
fi
echo
printf '| %-4s | %7s | %13s | %6s | %6s | %6s | %6s | %6s | %6s | %7s | %8s | %9s |\n' \
    case points "bytes written" "run s" "cpu s" "cp s" "run/cp" "disk s" "cp+s s" "disk/cp" \
    "peak RSS" "RSS limit"
printf '|------|--------:|--------------:|-------:|-------:|-------:|-------:|-------:|-------:|--------:|---------:|----------:|\n'

# row: one line of the table from the last measure.
row() {
    printf '| %-4s | %7s | %13s | %6s | %6s | %6s | %6s | %6s | %6s | %7s | %5.1f MB | %6.1f MB |\n' \
        "$1" "$result_route" "$result_bytes" "$result_run" "$result_cpu" "$result_cp" \
        "$(ratio "$result_run" "$result_cp")" "$result_disk" "$result_cpdisk" \
        "$(ratio "$result_disk" "$result_cpdisk")" \
        "$(awk -v k="$result_rss" 'BEGIN { print k * 1024 / 1e6 }')" \
        "$(awk -v p="$result_route" 'BEGIN { print 16 + 150 * p / 1e6 }')"
}

verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v <= t) ? "met" : "MISSED" }'; }

failed=0
summary=""
for kind in walk long; do
    measure "$kind" "$half"
    half_run=$result_run
    row "$kind"
    measure "$kind" "$points"
    row "$kind"

    disk_ratio=$(ratio "$result_disk" "$result_cpdisk")
    doubling=$(ratio "$result_run" "$half_run")
    rss_ok=$(awk -v k="$result_rss" -v p="$result_route" \
        'BEGIN { print (k * 1024 <= 16e6 + 150 * p) ? "met" : "MISSED" }')
    summary+="$kind: to disk $disk_ratio x cp ($(verdict "$disk_ratio" 1.5), at most 1.5);"
    summary+=" run $doubling x the half size ($(verdict "$doubling" 2.2), at most 2.2);"
    summary+=" peak RSS $rss_ok"$'\n'
    if [ "$(verdict "$disk_ratio" 1.5)" != met ] || [ "$(verdict "$doubling" 2.2)" != met ] ||
        [ "$rss_ok" != met ]; then
        failed=1
    fi
done
echo
echo "run s: tavra alone (cpu s: its user + system time); cp s: cp of its four outputs;"
echo "disk s, cp+s s: the same, each followed by sync, until the files are on the disk."
echo "page cache dropped before each timed command: $dropped"
echo
printf '%s' "$summary"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$failed"
