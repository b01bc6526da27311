#!/usr/bin/env bash
# Remakes docs/survey_preview.png, the manual's picture of the HTML preview of the example
# survey, photographed by headless Chromium. Made by hand, not by CI: it needs Debian's
# chromium (apt-get install -y chromium) and a build of tavra with GDAL.
#   bash docs/survey_preview.sh [path/to/tavra]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tavra=$(realpath "${1:-$root/build/tavra}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The manual's example, with its clock where faketime is installed, for the page's name.
cp "$root/examples/monterey_survey_area.txt" .
clock=()
command -v faketime >/dev/null && clock=(faketime '2020-07-08 15:05:30')
TZ=UTC "${clock[@]}" "$tavra" --survey monterey_survey_area.txt --swathWidth 150 --overlap 20 \
    --runIn 50 --startNear "36.80 -121.80" --export html >/dev/null
page=$(ls ./*.html)

bash "$root/docs/photograph.sh" "$page" "$root/docs/survey_preview.png" 1000,790
