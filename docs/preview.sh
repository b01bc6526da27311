#!/usr/bin/env bash
# Remakes docs/preview.png, the manual's picture of the HTML preview of the bundled
# lawn-mower survey without sea checks, photographed by headless Chromium. Made by hand, not
# by CI: it needs Debian's chromium (apt-get install -y chromium) and a build of tavra.
#   bash docs/preview.sh [path/to/tavra]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tavra=$(realpath "${1:-$root/build/tavra}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The manual's example, with its clock where faketime is installed, for the page's name.
cp "$root/examples/monterey_lawnmower.txt" .
clock=()
command -v faketime >/dev/null && clock=(faketime '2020-07-08 15:05:30')
TZ=UTC "${clock[@]}" "$tavra" --export html monterey_lawnmower.txt >/dev/null
page=$(ls ./*.html)

bash "$root/docs/photograph.sh" "$page" "$root/docs/preview.png" 1200,900
