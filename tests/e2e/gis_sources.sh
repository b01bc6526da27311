# Routes from GIS files: a GPX route, track and waypoints, a KML path and pins, GeoJSON and,
# through GDAL, a Shapefile and a GeoPackage all give the four files of the plain file of
# the same positions; the bundled survey plans alike in every format; several routes need
# --feature; bad numbers and positions stop the run before anything is written.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime
GIS="$DATA/input"
EXAMPLES=$(realpath "$DATA/../../examples")

# file_case <what> <file> [options...]: the file gives the two-point example.
file_case() {
    local what=$1 file=$2
    shift 2
    new_run_dir
    tavra_run_at_fixed_time "$@" "$file"
    expect_two_point_outputs "$what"
}

# The fixtures hold 36.8167 -121.8171 and 36.8215 -121.7986, as each program writes them.
file_case "GPX route from OpenCPN" "$GIS/opencpn_route.gpx"
file_case "GPX track in two segments" "$GIS/plotter_track.gpx"
file_case "GPX waypoints" "$GIS/marks.gpx"
file_case "KML path from Google Earth" "$GIS/google_earth_path.kml"
file_case "KML pins in nested folders" "$GIS/google_earth_points.kml"
file_case "GeoJSON from QGIS" "$GIS/qgis_line.geojson"
new_run_dir
at_fixed_time "$TAVRA" - <"$GIS/google_earth_path.kml" >.stdout 2>.stderr
status=$?
expect_two_point_outputs "KML on standard input"

# Two routes: listed without --feature, chosen by name or number with it.
printf '%s\n' '<?xml version="1.0"?>' '<gpx version="1.1" creator="OpenCPN">' \
    '<rte><name>Offshore</name><rtept lat="36.9" lon="-122"/><rtept lat="36.95" lon="-122"/></rte>' \
    '<rte><name>Inshore</name><rtept lat="36.8167" lon="-121.8171"/><rtept lat="36.8215" lon="-121.7986"/></rte>' \
    '</gpx>' >"$INPUT/two_routes.gpx"
new_run_dir
tavra_run_at_fixed_time "$INPUT/two_routes.gpx"
expect_status 1 "$status" "two routes"
expect_text "*** $INPUT/two_routes.gpx holds 2 routes: choose one with --feature NAME or --feature NUMBER ***
  1, \"Offshore\" (GPX route, line 3)
  2, \"Inshore\" (GPX route, line 4)
" .stdout "two routes"
expect_files "two routes"
file_case "--feature by name" "$INPUT/two_routes.gpx" --feature Inshore
file_case "--feature by number" "$INPUT/two_routes.gpx" --feature 2

refused_case "GPX text for a latitude" text.gpx \
    $'<gpx>\n<rte>\n<rtept lat="36.8167" lon="-121.8171"/>\n<rtept lat="abc" lon="-121.7986"/>\n</rte>\n</gpx>\n' \
    "*** BAD GPX FILE *** $INPUT/text.gpx line 4: \"abc\" (latitude must be a decimal number)"
refused_case "GPX point without lat" nolat.gpx $'<gpx>\n<wpt lon="-121.7986"/>\n</gpx>\n' \
    "*** BAD GPX FILE *** $INPUT/nolat.gpx line 2: \"<wpt lon=\"-121.7986\"/>\" (wpt without lat)"
refused_case "GPX latitude out of range" range.gpx $'<gpx><wpt lat="-90.5" lon="1"/></gpx>\n' \
    "*** BAD GPX FILE *** $INPUT/range.gpx line 1: \"-90.5\" (latitude outside -90..90)"
refused_case "KML text in a tuple" text.kml \
    $'<kml><Placemark><LineString><coordinates>\n\t-121.8171,36.8167,0\n\t-121.7986,NaN,0\n</coordinates></LineString></Placemark></kml>\n' \
    "*** BAD KML FILE *** $INPUT/text.kml line 3: \"-121.7986,NaN,0\" (latitude must be a decimal number)"
refused_case "KML latitude first" swapped.kml \
    $'<kml><Placemark><Point><coordinates>36.8167,-121.8171</coordinates></Point></Placemark></kml>\n' \
    "*** BAD KML FILE *** $INPUT/swapped.kml line 1: \"36.8167,-121.8171\" (latitude outside -90..90)"
refused_case "GeoJSON string for a number" text.geojson \
    $'{"type": "LineString", "coordinates": [\n[-121.8171, 36.8167],\n["-121.7986", 36.8215]\n]}\n' \
    "*** BAD GeoJSON FILE *** $INPUT/text.geojson line 3: \"-121.7986\" (longitude must be a number)"
refused_case "GeoJSON in web Mercator" mercator.geojson \
    $'{"type": "FeatureCollection",\n"crs": {"type": "name", "properties": {"name": "urn:ogc:def:crs:EPSG::3857"}},\n"features": []}\n' \
    "*** BAD GeoJSON FILE *** $INPUT/mercator.geojson line 2: \"urn:ogc:def:crs:EPSG::3857\" (GeoJSON positions must be WGS 84 longitude, latitude (CRS84 or EPSG:4326))"
refused_case "GeoJSON polygon as a route" area.geojson \
    $'{"type": "Feature", "properties": {"name": "Bay"}, "geometry": {"type": "Polygon", "coordinates": [[[0,0],[1,0],[1,1],[0,0]]]}}\n' \
    "*** $INPUT/area.geojson holds no route, only 1 area, used with --survey or --keepOut ***
  1, \"Bay\" (GeoJSON Polygon, line 1)"

# The bundled survey plans to the same four files from each of its formats.
new_run_dir
plain_dir=$PWD
tavra_run_at_fixed_time "$EXAMPLES/monterey_lawnmower.txt"
expect_status 0 "$status" "plain example"
for format in gpx kml; do
    new_run_dir
    tavra_run_at_fixed_time "$EXAMPLES/monterey_lawnmower.$format"
    expect_status 0 "$status" "$format example"
    expect_same_file "$plain_dir/.stdout" .stdout "$format example: console"
    for ext in cfg wpt pts csv; do
        expect_same_file "$plain_dir/2020_189_155.$ext" "2020_189_155.$ext" "$format example: $ext"
    done
done

# Other GIS formats: through GDAL where the build has it, else one line saying so.
if command -v ogr2ogr >/dev/null 2>&1; then
    ogr2ogr -f "ESRI Shapefile" "$INPUT/line.shp" "$GIS/qgis_line.geojson"
    ogr2ogr -f GPKG "$INPUT/line.gpkg" "$GIS/qgis_line.geojson"
    ogr2ogr -f GPKG -t_srs EPSG:32610 "$INPUT/utm.gpkg" "$GIS/qgis_line.geojson"
    new_run_dir
    tavra_run_at_fixed_time "$INPUT/line.shp"
    if grep -q 'need a build with GDAL' .stdout; then
        expect_status 1 "$status" "Shapefile without GDAL"
        expect_text "*** $INPUT/line.shp: this build of tavra reads waypoint files in plain text, CSV, GPX, KML and GeoJSON only; other GIS formats need a build with GDAL ***
" .stdout "Shapefile without GDAL"
        expect_files "Shapefile without GDAL"
    else
        expect_two_point_outputs "Shapefile"
        file_case "GeoPackage" "$INPUT/line.gpkg"
        new_run_dir
        cat "$INPUT/line.gpkg" | at_fixed_time "$TAVRA" - >.stdout 2>.stderr
        status=$?
        expect_two_point_outputs "GeoPackage through a pipe"
        # Metres of UTM zone 10 become the same degrees again, to far below the 4 decimals
        # of the files written.
        file_case "GeoPackage in UTM" "$INPUT/utm.gpkg"
        rm "$INPUT/line.prj"
        new_run_dir
        tavra_run_at_fixed_time "$INPUT/line.shp"
        expect_status 1 "$status" "Shapefile without .prj"
        expect_text "*** BAD ESRI Shapefile FILE *** $INPUT/line.shp layer \"line\": no coordinate reference system, so its positions could be anywhere (a Shapefile keeps it in a .prj file beside the .shp)
" .stdout "Shapefile without .prj"
        expect_no_stderr "Shapefile without .prj"
        expect_files "Shapefile without .prj"
    fi
elif [ "${CI:-}" = true ]; then
    fail "ogr2ogr is not installed (Debian package gdal-bin)"
else
    echo "ogr2ogr is not installed (Debian package gdal-bin): the GDAL cases are skipped" >&2
fi

finish
