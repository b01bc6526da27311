// The GPX export, whole, for a planned route, and its wrapped longitudes.
#include "export_fixture.h"
#include "output/gpx_writer.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string gpx(const std::string& fileName, const WaypointList& route, const RouteTotals& totals) {
    std::ostringstream out;
    writeGpx(out, fileName, route, totals);
    return out.str();
}

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"tavra\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";

} // namespace

TEST(Gpx, TwoPointRouteWhole) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    EXPECT_EQ(gpx("2020_189_155.gpx", route, twoPointTotals()),
              kHead + "<rte><name>2020_189_155.gpx</name><desc>survey line 2231.1133172116533 m, "
                      "expected mission time 2381.1133172116533 s</desc>\n"
                      "<rtept lat=\"36.81531308065744\" lon=\"-121.82244295225705\"><name>0</name>"
                      "<desc>leg 500 m, heading 72.0365515156257 deg, 650 s</desc>"
                      "<type>launch</type></rtept>\n"
                      "<rtept lat=\"36.8167\" lon=\"-121.8171\"><name>1</name>"
                      "<desc>leg 1731.1133172116536 m, heading 72.0365515156257 deg, "
                      "1731.1133172116536 s</desc><type>waypoint</type></rtept>\n"
                      "<rtept lat=\"36.8215\" lon=\"-121.7986\"><name>2</name>"
                      "<desc>end of the route</desc><type>waypoint</type></rtept>\n"
                      "</rte>\n</gpx>\n");
}

TEST(Gpx, SplitTypeAndLongitudesBelow180) {
    WaypointList route;
    fillAntimeridianRoute(route);
    const std::string text = gpx("x.gpx", route, antimeridianTotals());
    EXPECT_NE(text.find("<rtept lat=\"-16.5\" lon=\"-179.75\"><name>2</name><desc>leg 1000.5 m, "
                        "heading 90 deg, 1000.5 s</desc><type>split</type></rtept>\n"),
              std::string::npos);
    EXPECT_EQ(text.find("180.25"), std::string::npos);
}
