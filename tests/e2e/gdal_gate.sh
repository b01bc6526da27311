# What tavra hands to GDAL, tried as an attacker would: names that reach the network, a
# database or GDAL's virtual files, files whose content names other files or servers, and
# a GML file that GDAL would write a side file for. Each is refused with one line (or read
# as the plain file it is), and a listener that the hostile inputs point at sees nothing.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
command -v python3 >/dev/null || skip_test "python3 is not installed"
command -v gdal_translate >/dev/null && command -v ogr2ogr >/dev/null ||
    skip_test "gdal_translate or ogr2ogr is not installed (Debian package gdal-bin)"

ETOPO="$DATA/sea/etopo5_monterey.nc"
new_run_dir
tavra_run --check --bathymetry "$ETOPO" /dev/null
# A build without GDAL hands nothing to it: there is no door to try (sea_checks.sh checks
# its one-line refusal).
if grep -q 'has no sea checks' .stdout; then
    echo "a build without GDAL: nothing is opened through GDAL" >&2
    finish
fi

# A listener on 127.0.0.1 that counts the connections made to it.
python3 -c '
import socket, sys
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(64)
open(sys.argv[1] + ".tmp", "w").write(str(server.getsockname()[1]))
import os; os.rename(sys.argv[1] + ".tmp", sys.argv[1])
while True:
    connection, _ = server.accept()
    open(sys.argv[2], "a").write("connection\n")
    connection.close()
' "$WORK/.port" "$WORK/.connections" &
LISTENER=$!
trap 'kill "$LISTENER"; rm -rf "$WORK"' EXIT
for _ in $(seq 50); do
    [ -s "$WORK/.port" ] && break
    sleep 0.1
done
PORT=$(cat "$WORK/.port") || fail "the listener did not start"
HOST="127.0.0.1:$PORT"

printf '36.80 -122.00\n36.85 -121.95\n' >"$INPUT/bay.txt"
# A closed area in the bay, and a copy beside it in another folder.
cat >"$INPUT/closure.geojson" <<'JSON'
{"type":"FeatureCollection","features":[{"type":"Feature","properties":{},"geometry":{"type":"Polygon","coordinates":[[[-121.59,36.82],[-121.57,36.82],[-121.57,36.83],[-121.59,36.83],[-121.59,36.82]]]}}]}
JSON
mkdir -p "$INPUT/vrt" "$INPUT/other"
cp "$INPUT/closure.geojson" "$INPUT/other/lines.geojson"
cp "$INPUT/closure.geojson" "$INPUT/vrt/closure.geojson"
cp "$ETOPO" "$INPUT/vrt/etopo.nc"
gdal_translate -q -of VRT "$INPUT/vrt/etopo.nc" "$INPUT/vrt/beside.vrt"
sed 's|<SourceFilename[^>]*>[^<]*</SourceFilename>|<SourceFilename relativeToVRT="0">/etc/passwd</SourceFilename>|' \
    "$INPUT/vrt/beside.vrt" >"$INPUT/vrt/passwd.vrt"
# An ERS header whose data file is /etc/passwd, as many folders up as it takes.
gdal_translate -q -of ERS "$ETOPO" "$INPUT/passwd.ers"
sed -i 's|^\tDataType\t= Raster|&\n\tDataFile\t= "../../../../../../../../../../etc/passwd"|' "$INPUT/passwd.ers"
# The same header with its data file a pipe in its own folder, which, opened, would wait
# for a writer forever (one waits on it here, so that a run that opens it fails, not hangs).
mkfifo "$INPUT/pipe.dat"
sed 's|"../../[./]*etc/passwd"|"pipe.dat"|' "$INPUT/passwd.ers" >"$INPUT/pipe.ers"
timeout 60 sh -c ": >'$INPUT/pipe.dat'" &
WRITER=$!
# A grid linked from another folder, as a large one is into a mission's folder.
mkdir -p "$WORK/grids"
cp "$ETOPO" "$WORK/grids/etopo.nc"
ln -s "$WORK/grids/etopo.nc" "$INPUT/linked.nc"
# ogr_vrt <file> <source> <relativeToVRT> <layer>
ogr_vrt() {
    printf '<OGRVRTDataSource><OGRVRTLayer name="x"><SrcDataSource relativeToVRT="%s">%s</SrcDataSource><SrcLayer>%s</SrcLayer></OGRVRTLayer></OGRVRTDataSource>\n' \
        "$3" "$2" "$4" >"$1"
}
ogr_vrt "$INPUT/route.txt" "$INPUT/other/lines.geojson" 0 lines
ogr_vrt "$INPUT/vrt/zones.vrt" closure.geojson 1 closure
ogr_vrt "$INPUT/vrt/outside.vrt" ../other/lines.geojson 1 lines
ogr_vrt "$INPUT/vrt/nolayer.vrt" closure.geojson 1 missing
ogr_vrt "$INPUT/wfs.vrt" "WFS:http://$HOST/wfs" 0 x
printf '<GDAL_WMS><Service name="WMS"><ServerUrl>http://%s/wms</ServerUrl><Layers>x</Layers></Service><DataWindow><UpperLeftX>-180</UpperLeftX><UpperLeftY>90</UpperLeftY><LowerRightX>180</LowerRightX><LowerRightY>-90</LowerRightY><SizeX>1000</SizeX><SizeY>500</SizeY></DataWindow></GDAL_WMS>\n' \
    "$HOST" >"$INPUT/wms.xml"
printf '<OGRWFSDataSource><URL>http://%s/wfs</URL></OGRWFSDataSource>\n' "$HOST" >"$INPUT/wfs.xml"
# A grid literally named like a connection string, in the folder of the run.
CONNECTION_NAME="PG:host=127.0.0.1 port=$PORT dbname=x"

VRT_REFUSED="which can name other files and servers; tavra reads one only with --allowVrt"
# case <what> <expected first line of standard output, or "" for a planned run> <args...>
case_of() {
    local what=$1 expected=$2
    shift 2
    new_run_dir
    cp "$ETOPO" "$CONNECTION_NAME"
    tavra_run --check "$@"
    if [ -z "$expected" ]; then
        expect_status 0 "$status" "$what"
    else
        expect_status 1 "$status" "$what"
        [ "$(head -n 1 .stdout)" = "$expected" ] ||
            fail "$what: said '$(head -n 1 .stdout)', expected '$expected'"
    fi
    expect_no_stderr "$what"
    expect_files "$what" "$CONNECTION_NAME"
}

case_of "/vsicurl/" "*** --bathymetry /vsicurl/http://$HOST/x.tif: a GDAL virtual file name (/vsi...), not a file on disk; tavra opens files on disk only ***" \
    --bathymetry "/vsicurl/http://$HOST/x.tif" "$INPUT/bay.txt"
case_of "/vsizip/" "*** --bathymetry /vsizip/$INPUT/x.zip/x.tif: a GDAL virtual file name (/vsi...), not a file on disk; tavra opens files on disk only ***" \
    --bathymetry "/vsizip/$INPUT/x.zip/x.tif" "$INPUT/bay.txt"
case_of "PG:" "*** --bathymetry PG:dbname=x host=127.0.0.1 port=$PORT: a GDAL connection string (PG:), not a file on disk; tavra connects to no database or server ***" \
    --bathymetry "PG:dbname=x host=127.0.0.1 port=$PORT" "$INPUT/bay.txt"
case_of "WMS:" "*** --bathymetry WMS:http://$HOST/wms: a URL, not a file on disk; tavra reads nothing over the network ***" \
    --bathymetry "WMS:http://$HOST/wms" "$INPUT/bay.txt"
case_of "http URL" "*** --bathymetry http://$HOST/x.tif: a URL, not a file on disk; tavra reads nothing over the network ***" \
    --bathymetry "http://$HOST/x.tif" "$INPUT/bay.txt"
case_of "a grid named like a connection string" "" --bathymetry "$CONNECTION_NAME" "$INPUT/bay.txt"
case_of "a grid linked from another folder" "" --bathymetry "$INPUT/linked.nc" "$INPUT/bay.txt"
case_of "raster VRT of /etc/passwd" "*** --bathymetry $INPUT/vrt/passwd.vrt: a GDAL VRT file, $VRT_REFUSED ***" \
    --bathymetry "$INPUT/vrt/passwd.vrt" "$INPUT/bay.txt"
case_of "raster VRT of /etc/passwd, --allowVrt" "*** --bathymetry $INPUT/vrt/passwd.vrt: a GDAL VRT file that tavra does not open even with --allowVrt: it names \"/etc/passwd\", outside its own folder ***" \
    --allowVrt --bathymetry "$INPUT/vrt/passwd.vrt" "$INPUT/bay.txt"
case_of "ERS header of /etc/passwd" "*** --bathymetry $INPUT/passwd.ers: a file of GDAL's ERS driver that draws on \"/etc/passwd\", outside its own folder ***" \
    --bathymetry "$INPUT/passwd.ers" "$INPUT/bay.txt"
case_of "ERS header of a pipe" "*** --bathymetry $INPUT/pipe.ers: a file of GDAL's ERS driver that draws on \"$(realpath "$INPUT")/pipe.dat\", which is no plain file ***" \
    --bathymetry "$INPUT/pipe.ers" "$INPUT/bay.txt"
kill "$WRITER" 2>/dev/null
case_of "raster VRT beside its grid, --allowVrt" "" --allowVrt --bathymetry "$INPUT/vrt/beside.vrt" "$INPUT/bay.txt"
case_of "OGR VRT as route.txt" "*** BAD GIS FILE *** $INPUT/route.txt: a GDAL OGR_VRT file, $VRT_REFUSED" \
    "$INPUT/route.txt"
case_of "OGR VRT as --survey" "*** BAD GIS FILE *** $INPUT/route.txt: a GDAL OGR_VRT file, $VRT_REFUSED" \
    --survey "$INPUT/route.txt" --lineSpacing 100
case_of "OGR VRT of a server, --allowVrt" "*** BAD GIS FILE *** $INPUT/wfs.vrt: a GDAL OGR_VRT file that tavra does not open even with --allowVrt: it names \"WFS:http://$HOST/wfs\", a URL, not a file on disk; tavra reads nothing over the network" \
    --allowVrt --keepOut "$INPUT/wfs.vrt" "$INPUT/bay.txt"
case_of "OGR VRT beside its data, --allowVrt" "" --allowVrt --keepOut "$INPUT/vrt/zones.vrt" "$INPUT/bay.txt"
case_of "OGR VRT outside its folder, --allowVrt" "*** BAD GIS FILE *** $INPUT/vrt/outside.vrt: a GDAL OGR_VRT file that tavra does not open even with --allowVrt: it names \"../other/lines.geojson\", outside its own folder" \
    --allowVrt --opRegion "$INPUT/vrt/outside.vrt" "$INPUT/bay.txt"
case_of "OGR VRT of a missing layer, --allowVrt" "*** BAD GIS FILE *** $INPUT/vrt/nolayer.vrt: GDAL could not read it (GDAL: Failed to find layer 'missing' on datasource '$INPUT/vrt/closure.geojson'.)" \
    --allowVrt --keepOut "$INPUT/vrt/nolayer.vrt" "$INPUT/bay.txt"
case_of "WMS service description" "*** --bathymetry $INPUT/wms.xml: not a grid GDAL can read (\`$INPUT/wms.xml' not recognized as a supported file format.) ***" \
    --bathymetry "$INPUT/wms.xml" "$INPUT/bay.txt"
case_of "WFS service description" "*** BAD WAYPOINT LINE *** $INPUT/wfs.xml line 1: \"<OGRWFSDataSource><URL>http://$HOST/wfs</URL></OGRWFSDataSource>\" (expected latitude then longitude in decimal degrees)" \
    --keepOut "$INPUT/wfs.xml" "$INPUT/bay.txt"

# A GeoPackage whose coordinate system shifts its datum by a grid that is a pipe: PROJ, which
# opens its grids itself, would wait on it for ever (a run that does is stopped after 60 s).
ogr2ogr -f GPKG "$INPUT/shifted.gpkg" "$INPUT/closure.geojson"
mkfifo "$INPUT/shift.gsb"
python3 - "$INPUT/shifted.gpkg" "$INPUT/shift.gsb" <<'PYTHON'
import sqlite3, sys
axes = ('CS[ellipsoidal,2],AXIS["longitude",east,ANGLEUNIT["degree",0.0174532925199433]],'
        'AXIS["latitude",north,ANGLEUNIT["degree",0.0174532925199433]]')
wkt = ('BOUNDCRS[SOURCECRS[GEOGCRS["shifted",DATUM["shifted",ELLIPSOID["WGS 84",6378137,'
       '298.257223563]],' + axes + ']],TARGETCRS[GEOGCRS["WGS 84",DATUM["World Geodetic System '
       '1984",ELLIPSOID["WGS 84",6378137,298.257223563]],' + axes + ']],ABRIDGEDTRANSFORMATION['
       '"shift",METHOD["NTv2",ID["EPSG",9615]],PARAMETERFILE["Latitude and longitude difference '
       'file","' + sys.argv[2] + '"]]]')
db = sqlite3.connect(sys.argv[1])
db.execute("INSERT INTO gpkg_spatial_ref_sys VALUES ('shifted', 99999, 'NONE', 99999, ?, '')", (wkt,))
db.execute("UPDATE gpkg_contents SET srs_id = 99999")
db.execute("UPDATE gpkg_geometry_columns SET srs_id = 99999")
db.commit()
PYTHON
new_run_dir
timeout 60 "$TAVRA" --check --keepOut "$INPUT/shifted.gpkg" "$INPUT/bay.txt" </dev/null >.stdout 2>.stderr
status=$?
expect_status 1 "$status" "GeoPackage shifted by a pipe"
grep -q "^\*\*\* BAD GPKG FILE \*\*\* $INPUT/shifted.gpkg .*cannot be transformed to WGS 84 (GDAL: PROJ: hgridshift: could not find required grid" .stdout ||
    fail "GeoPackage shifted by a pipe: said '$(head -n 1 .stdout)'"

# GML read under --check, which promises to write nothing: no .gfs beside it.
mkdir "$INPUT/gml"
ogr2ogr -f GML -dsco XSISCHEMA=OFF "$INPUT/gml/closure.gml" "$INPUT/closure.geojson"
rm -f "$INPUT/gml/closure.xsd"
case_of "GML" "" --keepOut "$INPUT/gml/closure.gml" "$INPUT/bay.txt"
[ "$(ls -A "$INPUT/gml")" = closure.gml ] || fail "GML: files beside it: $(ls -A "$INPUT/gml")"

[ ! -s "$WORK/.connections" ] || fail "the listener saw $(wc -l <"$WORK/.connections") connection(s)"
finish
