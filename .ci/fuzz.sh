#!/usr/bin/env bash
# Fuzzing: builds the libFuzzer targets of tests/fuzz with clang and runs each for a bounded
# time, failing on any crash, sanitizer report, leak or time-out. TAVRA_FUZZ_SECONDS sets
# the time per target (60 by default).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${TAVRA_FUZZ_SECONDS:-60}
targets=(waypoint_reader options pipeline dialogue geojson_reader xml_readers survey_gdal gdal_gate_gdal)

# dictionaries <target>: the word lists that help the target past the input's spelling.
dictionaries() {
    case $1 in
    options) echo tests/fuzz/options.dict ;;
    pipeline) echo tests/fuzz/numbers.dict tests/fuzz/options.dict tests/fuzz/formats.dict ;;
    waypoint_reader) echo tests/fuzz/numbers.dict tests/fuzz/formats.dict ;;
    geojson_reader) echo tests/fuzz/numbers.dict tests/fuzz/json.dict ;;
    xml_readers) echo tests/fuzz/numbers.dict tests/fuzz/xml.dict ;;
    *) echo tests/fuzz/numbers.dict ;;
    esac
}

if ! dpkg -s clang-14 libclang-rt-14-dev >/dev/null 2>&1; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y --no-install-recommends clang-14 libclang-rt-14-dev ||
        { apt-get update && apt-get install -y --no-install-recommends clang-14 libclang-rt-14-dev; }
fi

# A build directory of its own: the fuzzers instrument the whole library.
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DTAVRA_FUZZ=ON -DTAVRA_BUILD_TESTS=OFF
cmake --build build-fuzz -j

# Reports must reach the fuzzer's own output, whatever the caller set for its tests.
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
export UBSAN_OPTIONS=print_stacktrace=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for target in "${targets[@]}"; do
    # A target that needs GDAL is built only where GDAL was found.
    if [ ! -x "build-fuzz/tests/fuzz/fuzz_$target" ] && [[ $target == *_gdal ]]; then
        echo "fuzz_$target: not built (no GDAL)"
        continue
    fi
    dir=$work/$target
    mkdir -p "$dir/corpus" "$dir/artifacts"
    # shellcheck disable=SC2046
    cat $(dictionaries "$target") >"$dir/dict"
    status=0
    # New inputs go to a scratch corpus; the committed seeds are only read.
    "build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -dict="$dir/dict" \
        -artifact_prefix="$dir/artifacts/" "$dir/corpus" "tests/fuzz/corpus/$target" \
        >"$dir/log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log")
    echo "fuzz_$target: ${runs:-no} executions in ${seconds} s, exit status $status"
    if [ "$status" -ne 0 ] || [ -n "$(ls -A "$dir/artifacts")" ]; then
        failed=1
        echo "fuzz_$target FAILED; the end of its log:" >&2
        tail -n 60 "$dir/log" >&2
        for artifact in "$dir/artifacts"/*; do
            [ -e "$artifact" ] || continue
            echo "input $(basename "$artifact"):" >&2
            od -A d -c "$artifact" | head -n 40 >&2
        done
    fi
done
exit "$failed"
