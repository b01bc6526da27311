#!/usr/bin/env bash
# Remakes docs/survey_lines.png, the README's picture of a survey laid out round a hole with
# a standoff and its lines numbered, photographed by headless Chromium. Made by hand, not by
# CI: it needs Debian's chromium (apt-get install -y chromium) and a build of tavra with GDAL.
#   bash docs/survey_lines.sh [path/to/tavra]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tavra=$(realpath "${1:-$root/build/tavra}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The README's command, with a fixed clock where faketime is installed, for the page's name.
clock=()
command -v faketime >/dev/null && clock=(faketime '2020-07-08 15:05:30')
TZ=UTC "${clock[@]}" "$tavra" --survey "$root/examples/monterey_survey_island.geojson" \
    --lineSpacing 100 --standoff 50 --export html >/dev/null
page=$(ls ./*.html)

bash "$root/docs/photograph.sh" "$page" "$root/docs/survey_lines.png" 1000,790
