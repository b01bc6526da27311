# The HTML preview of a run with the sea checks, over ETOPO5 and Natural Earth's land around
# the Monterey peninsula: the page reads as XML, its map draws the land and the findings, its
# profile the seabed rising out of the sea; the other files and the table are as without.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime
command -v python3 >/dev/null || skip_test "python3 is not installed (Debian package python3)"

ETOPO="$DATA/sea/etopo5_monterey.nc"
LAND="$DATA/sea/ne10m_land_monterey.geojson"
# From Carmel Bay over the Monterey peninsula.
printf '36.545 -121.96\n36.61 -121.88\n' >"$INPUT/peninsula.txt"

new_run_dir
tavra_run_at_fixed_time --export html "$INPUT/peninsula.txt"
expect_status 0 "$status" "plain"
PLAIN=$PWD

new_run_dir
tavra_run_at_fixed_time --export html --bathymetry "$ETOPO" --keepOut "$LAND" "$INPUT/peninsula.txt"
if grep -q 'has no sea checks' .stdout; then
    finish # a build without GDAL: the sea checks' own script covers its one line
fi
expect_status 0 "$status" "sea"
expect_files "sea" 2020_189_155.cfg 2020_189_155.wpt 2020_189_155.pts 2020_189_155.csv \
    2020_189_155.html
for ext in cfg wpt pts csv; do
    expect_same_file "$PLAIN/2020_189_155.$ext" 2020_189_155.$ext "sea: $ext as without the checks"
done
grep -q '^error: land under the leg from waypoint 1 to waypoint 2 over ' .stderr ||
    fail "sea: no land on standard error"
# Land was looked for here, and not in the plain run.
grep -q 'land not checked' "$PLAIN/2020_189_155.html" || fail "plain: no note of unchecked land"
! grep -q 'land not checked' 2020_189_155.html || fail "sea: land said unchecked"

# The page as XML: what it draws, against the table it also holds and the run's own words.
python3 - 2020_189_155.html "$PLAIN/2020_189_155.html" "$LAND" >.checks 2>&1 <<'PY' || fail "sea: $(cat .checks)"
import sys
import xml.etree.ElementTree as ET

NS = {"h": "http://www.w3.org/1999/xhtml", "s": "http://www.w3.org/2000/svg"}
sea = ET.parse(sys.argv[1]).getroot()
plain = ET.parse(sys.argv[2]).getroot()
problems = []

def check(ok, what):
    if not ok:
        problems.append(what)

svgs = sea.findall(".//s:svg", NS)
check(len(svgs) == 2, f"{len(svgs)} drawings, expected the map and the profile")
check(len(plain.findall(".//s:svg", NS)) == 1, "the plain page has more than its map")
mapped, profile = svgs[0], svgs[-1]

def drawn(root, tag, cls):
    legend = {id(e) for g in root.iter(f"{{{NS['s']}}}g") if g.get("class") == "legend" for e in g.iter()}
    return [e for e in root.iter(f"{{{NS['s']}}}{tag}") if e.get("class") == cls and id(e) not in legend]

# The land of the peninsula, named after its file, and red where the route crosses it.
land = [g for g in mapped.iter(f"{{{NS['s']}}}g") if g.get("class") == "keepout"]
check(len(land) >= 1, "no keep-out area on the map")
check(land and land[0].find("s:title", NS).text == f"keep-out area 1 of {sys.argv[3]}",
      "the land's title")
check(len(drawn(mapped, "path", "finding error")) == 1, "no red on the map")

# The table is the same as without the checks; each of its points stands at the surface of
# the profile with its number.
rows = lambda root: [[td.text for td in tr.findall("h:td", NS)] for tr in root.findall(".//h:tbody/h:tr", NS)]
check(rows(sea) == rows(plain), "the table differs from the plain page's")
numbers = [t.text for t in drawn(profile, "text", "number")]
check(numbers == [row[0] for row in rows(sea)], f"profile numbers {numbers}")
check(len(drawn(profile, "path", "surfacing")) == len(rows(sea)), "surfacing points")

# ETOPO5's cell of 194 m above the sea at 36.58 N 121.91 W: the seabed rises above the
# surface, under a red stretch.
surface = float(drawn(profile, "path", "surface")[0].get("d").split()[1])
tops = [float(p.split(",")[1]) for line in drawn(profile, "polyline", "seabed") for p in line.get("points").split()]
check(min(tops) < surface, f"the seabed stays below the surface ({min(tops)} against {surface})")
check(len(drawn(profile, "rect", "failing error")) >= 1, "no failing stretch on the profile")
print("\n".join(problems))
sys.exit(1 if problems else 0)
PY
finish
