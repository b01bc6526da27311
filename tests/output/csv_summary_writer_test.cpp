// The CSV summary, whole, and its rounding and time rules.
#include "output/csv_summary_writer.h"
#include "route_fixture.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string csv(const WaypointList& route, const RouteTotals& totals) {
    std::ostringstream out;
    writeCsvSummary(out, route, totals);
    return out.str();
}

} // namespace

TEST(CsvSummary, WorkedRoutes) {
    WaypointList route;
    EXPECT_EQ(csv(route, RouteTotals{}), "");
    fillTwoPointRoute(route);
    EXPECT_EQ(csv(route, twoPointTotals()), readTestData("two_point_2020_189_155.csv"));
    WaypointList onePoint;
    fillOnePointRoute(onePoint);
    EXPECT_EQ(csv(onePoint, RouteTotals{500.0, 650.0}), readTestData("one_point_2020_189_155.csv"));
}

TEST(CsvSummary, HalfwayLegValuesGoToEvenAndTimesAreNotCarried) {
    WaypointList route;
    fillRoute(route, {{0, -33.85, -0.5, 2344.5, 359.5, 2345.5}, {1, 12.9999999, 151.25, 0, 0, 0}});
    EXPECT_EQ(csv(route, RouteTotals{4690.0, 7199.99}),
              "\nWpt #, Lat, Lon, Hdg, Mtrs, Secs"
              "\n\n0,-33.8500,-0.5000,360.0,2344.0,2346.0,"
              "\n, -33 51.0000, -0 30.0000"
              "\n\n1,13.0000,151.2500,0.0,0.0,0.0,"
              "\n, 12 60.0000, 151 15.0000"
              "\n\nExpected survey line 4690.0 meters"
              "\n\nExpected mission time 7200.0 seconds"
              "\n    1 hours\n    59 minutes\n");
    const std::string days = csv(route, RouteTotals{0.0, 90061.0});
    EXPECT_EQ(days.substr(days.find("seconds")), "seconds\n    25 hours\n    1 minutes\n");
}
