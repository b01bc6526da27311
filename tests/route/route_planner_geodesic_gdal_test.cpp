// The planner on the ellipsoid: split points on the geodesic of their leg, against PROJ's
// geodesic solved by the test itself.
#include "route/route_planner.h"

#include <cmath>
#include <geodesic.h>
#include <gtest/gtest.h>

TEST(RoutePlannerGeodesic, SplitPointsLieOnTheGeodesicAndLegsAreMeasuredOnIt) {
    geod_geodesic wgs84;
    geod_init(&wgs84, 6378137.0, 1.0 / 298.257223563);
    geod_geodesicline line;
    geod_inverseline(&line, &wgs84, 60.0, 0.0, 60.0, 4.0, GEOD_ALL);
    WaypointList route;
    appendNode(route, 60.0, 0.0);
    appendNode(route, 60.0, 4.0);
    MissionParameters params;
    RouteTotals totals;
    ASSERT_EQ(planRoute(route, params, totals, LegGeometry::geodesic).status, PlanStatus::planned);
    EXPECT_EQ(route.size(), 2u + static_cast<std::size_t>(line.s13 / 3600.0) + 1u);
    EXPECT_NEAR(totals.surveyLineDistance, line.s13 + 500.0, 1e-6);
    double along = 0.0;
    for (const WaypointNode* node = route.head->next; node->next != nullptr; node = node->next) {
        double lat = 0.0, lon = 0.0, azimuth = 0.0;
        geod_position(&line, along, &lat, &lon, &azimuth);
        EXPECT_NEAR(node->lat, lat, 1e-9) << node->wptNumber;
        EXPECT_NEAR(node->lon, lon, 1e-9) << node->wptNumber;
        EXPECT_NEAR(node->legHeading, azimuth, 1e-6) << node->wptNumber;
        along += node->legDistance;
    }
    EXPECT_NEAR(along, line.s13, 1e-6);
}
