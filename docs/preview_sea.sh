#!/usr/bin/env bash
# Remakes docs/preview_sea.png, the README's picture of the HTML preview with the sea checks:
# a route from Monterey Bay's canyon onto the shelf off Moss Landing, against ETOPO5, Natural
# Earth's land and a made-up operating region, photographed by headless Chromium. Made by
# hand, not by CI: it needs Debian's chromium (apt-get install -y chromium) and a build of
# tavra with GDAL.
#   bash docs/preview_sea.sh [path/to/tavra]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tavra=$(realpath "${1:-$root/build/tavra}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Short names, as the page shows them.
cp "$root/tests/data/sea/etopo5_monterey.nc" "$root/tests/data/sea/ne10m_land_monterey.geojson" .
printf '36.76 -122.04\n36.80 -121.93\n36.80 -121.80\n' >route.txt
cat >permit.geojson <<'JSON'
{"type": "FeatureCollection", "features": [{"type": "Feature", "properties": {"name": "permit"},
 "geometry": {"type": "Polygon", "coordinates": [[[-122.07, 36.74], [-121.83, 36.74],
 [-121.83, 36.83], [-122.07, 36.83], [-122.07, 36.74]]]}}]}
JSON
# The clock of the README's other examples, where faketime is installed, for the page's name.
clock=()
command -v faketime >/dev/null && clock=(faketime '2020-07-08 15:05:30')
TZ=UTC "${clock[@]}" "$tavra" --export html --bathymetry etopo5_monterey.nc \
    --keepOut ne10m_land_monterey.geojson --keepOutMargin 500 --opRegion permit.geojson \
    route.txt >/dev/null 2>&1
page=$(ls ./*.html)

bash "$root/docs/photograph.sh" "$page" "$root/docs/preview_sea.png" 1000,1330
