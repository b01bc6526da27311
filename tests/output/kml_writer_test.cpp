// The KML export, whole, for a planned route, and its wrapped longitudes.
#include "export_fixture.h"
#include "output/kml_writer.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string kml(const std::string& fileName, const WaypointList& route, const RouteTotals& totals) {
    std::ostringstream out;
    writeKml(out, fileName, route, totals);
    return out.str();
}

const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";

const std::string kStyles = "<Style id=\"route\"><LineStyle><color>ff1f30d7</color>"
                            "<width>3</width></LineStyle></Style>\n"
                            "<Style id=\"launch\"><IconStyle><color>ff41961a</color>"
                            "<scale>1.2</scale></IconStyle></Style>\n"
                            "<Style id=\"waypoint\"><IconStyle><color>ffbf5f1f</color>"
                            "</IconStyle></Style>\n"
                            "<Style id=\"split\"><IconStyle><color>ff0080e0</color>"
                            "<scale>0.7</scale></IconStyle></Style>\n";

} // namespace

TEST(Kml, TwoPointRouteWhole) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    EXPECT_EQ(kml("2020_189_155.kml", route, twoPointTotals()),
              kHead +
                  "<name>2020_189_155.kml</name>\n"
                  "<description>survey line 2231.1133172116533 m, expected mission time "
                  "2381.1133172116533 s</description>\n" +
                  kStyles +
                  "<Placemark><name>route</name><styleUrl>#route</styleUrl><LineString>"
                  "<tessellate>1</tessellate><coordinates>-121.82244295225705,36.81531308065744 "
                  "-121.8171,36.8167 -121.7986,36.8215</coordinates></LineString></Placemark>\n"
                  "<Placemark><name>0</name><description>launch; leg 500 m, heading "
                  "72.0365515156257 deg, 650 s</description><styleUrl>#launch</styleUrl><Point>"
                  "<coordinates>-121.82244295225705,36.81531308065744</coordinates></Point>"
                  "</Placemark>\n"
                  "<Placemark><name>1</name><description>waypoint; leg 1731.1133172116536 m, "
                  "heading 72.0365515156257 deg, 1731.1133172116536 s</description>"
                  "<styleUrl>#waypoint</styleUrl><Point><coordinates>-121.8171,36.8167"
                  "</coordinates></Point></Placemark>\n"
                  "<Placemark><name>2</name><description>waypoint; end of the route"
                  "</description><styleUrl>#waypoint</styleUrl><Point><coordinates>"
                  "-121.7986,36.8215</coordinates></Point></Placemark>\n"
                  "</Document>\n</kml>\n");
}

TEST(Kml, SplitStyleAndLongitudesWithinRange) {
    WaypointList route;
    fillAntimeridianRoute(route);
    const std::string text = kml("2020_189_155.kml", route, antimeridianTotals());
    EXPECT_NE(text.find("<coordinates>179.5,-16.5 179.75,-16.5 -179.75,-16.5 -179.5,-16.5"
                        "</coordinates>"),
              std::string::npos);
    EXPECT_NE(text.find("<Placemark><name>2</name><description>split; leg 1000.5 m, heading 90 "
                        "deg, 1000.5 s</description><styleUrl>#split</styleUrl><Point>"
                        "<coordinates>-179.75,-16.5</coordinates></Point></Placemark>\n"),
              std::string::npos);
    EXPECT_EQ(text.find("180.25"), std::string::npos);
}
