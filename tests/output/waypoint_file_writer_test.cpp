// The waypoint file for chart software, whole.
#include "output/waypoint_file_writer.h"
#include "route_fixture.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string waypointFile(const WaypointList& route) {
    std::ostringstream out;
    writeWaypointFile(out, route);
    return out.str();
}

} // namespace

TEST(WaypointFile, ListsTheRouteFromLaunchToLast) {
    WaypointList route;
    EXPECT_EQ(waypointFile(route), "");
    fillTwoPointRoute(route);
    EXPECT_EQ(waypointFile(route), readTestData("two_point_2020_189_155.wpt"));
}

TEST(WaypointFile, SouthernLatitudeKeepsItsSignBehindTheLetter) {
    WaypointList route;
    fillRoute(route, {{0, 36.81234, -0.00004, 500.0, 90.0, 650.0}, {2, -33.85, 151.2, 0, 0, 0}});
    EXPECT_EQ(waypointFile(route), "0,N36.8123,-0.0000,5,250.000,0.0,0.0,255,0.000  \n"
                                   "2,N-33.8500,151.2000,5,250.000,0.0,0.0,255,0.000  \n");
}
