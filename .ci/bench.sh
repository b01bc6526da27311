#!/usr/bin/env bash
# Keeps the benchmarks building and running: a short pass over the smallest route size only.
# Timings are not checked here, and bench/scale.sh, which writes gigabytes, is not run.
set -euo pipefail
cd "$(dirname "$0")/.."

export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends libbenchmark-dev

cmake -S . -B build-bench -DTAVRA_BENCH=ON -DTAVRA_BUILD_TESTS=OFF
cmake --build build-bench -j
# The sea checks over a grid of GEBCO's size too; the world's land only where npm's
# world-atlas happens to be installed (the benchmark says it skipped otherwise).
./build-bench/bench/tavra_bench --benchmark_filter='/250000$|Sea' --benchmark_min_time=0.01
