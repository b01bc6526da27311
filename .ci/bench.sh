#!/usr/bin/env bash
# Keeps the benchmarks building and running: a short pass over the smallest route size only,
# and one over the survey case.
# Timings are not checked here, and bench/scale.sh, which writes gigabytes, is not run.
set -euo pipefail
cd "$(dirname "$0")/.."

export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends libbenchmark-dev time

# The main run's build when there is one (only the benchmarks are compiled on top of it),
# else a build of their own.
bench_build=build
[ -x build/tavra ] || bench_build=build-bench
cmake -S . -B "$bench_build" -DTAVRA_BENCH=ON
cmake --build "$bench_build" -j
# The sea checks over a grid of GEBCO's size too (made on the spot).
./"$bench_build"/bench/tavra_bench --benchmark_filter='/250000$|SeaOverGebco' --benchmark_min_time=0.01
# The survey case (built with GDAL): one pass, to keep it running.
if ./"$bench_build"/bench/tavra_bench --benchmark_list_tests | grep -q SurveyTen; then
    ./"$bench_build"/bench/tavra_bench --benchmark_filter='Survey(Ten|Ragged|ChartShore|Rocks)' \
        --benchmark_min_time=0.01
fi
# Whole runs on a shore of 10^4 vertices and against a keep-out star of 10^5 spikes (a second
# between them; the star took seconds where a keep-out area was cut by GEOS, and misses its
# aim then); the large sizes of bench/big_areas.sh take minutes and are run by hand.
TIMEOUT=120 bench/big_areas.sh "$bench_build" shore10k star100k

# The world's land polygons as the input layer reads them and as the sea checks test a route
# against them, where npm can fetch world-atlas.
if command -v npm >/dev/null 2>&1; then
    atlas=$(mktemp -d)
    trap 'rm -rf "$atlas"' EXIT
    if npm install --prefix "$atlas" --no-audit --no-fund world-atlas@2 >/dev/null 2>&1; then
        TAVRA_WORLD_ATLAS="$atlas/node_modules/world-atlas" ./"$bench_build"/bench/tavra_bench \
            --benchmark_filter='WorldLand' --benchmark_min_time=0.01
    else
        echo "world-atlas could not be installed; the world land benchmarks are skipped"
    fi
else
    echo "npm is not installed; the world land benchmarks are skipped"
fi
