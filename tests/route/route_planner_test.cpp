// Tests of route planning: the finished route, long legs, the launch waypoint and the totals.
#include "route/route_planner.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace {

using Pairs = std::initializer_list<std::pair<double, double>>;

// Tolerances: 1 mm for distances and totals, 1e-6 degrees (about 10 cm) for positions.
constexpr double kMeters = 1e-3;
constexpr double kDegrees = 1e-6;

struct Planned {
    WaypointList list;
    RouteTotals totals{-1.0, -1.0};
    PlanResult result;
    std::vector<const WaypointNode*> nodes;
};

Planned plan(Pairs positions, double maxLegMeters = 3600.0) {
    Planned planned;
    for (const auto& [lat, lon] : positions) {
        appendNode(planned.list, lat, lon);
    }
    MissionParameters params;
    params.maxLegMeters = maxLegMeters;
    planned.result = planRoute(planned.list, params, planned.totals);
    for (const WaypointNode* node = planned.list.head; node != nullptr; node = node->next) {
        planned.nodes.push_back(node);
    }
    return planned;
}

} // namespace

TEST(RoutePlanner, PlansTheTwoWaypointSample) {
    const Planned p = plan({{36.8167, -121.8171}, {36.8215, -121.7986}});
    EXPECT_EQ(p.result.status, PlanStatus::planned);
    EXPECT_EQ(p.result.routePoints, 3u);
    ASSERT_EQ(p.nodes.size(), 3u);
    const WaypointNode& launch = *p.nodes[0];
    EXPECT_EQ(launch.kind, WaypointKind::launch);
    EXPECT_EQ(launch.wptNumber, 0);
    EXPECT_NEAR(launch.lat, 36.815313, kDegrees); // 500 m out on 252.04 degrees
    EXPECT_NEAR(launch.lon, -121.822443, kDegrees);
    EXPECT_EQ(launch.legDistance, 500.0);
    EXPECT_NEAR(launch.legHeading, 72.036552, 1e-6);
    EXPECT_EQ(launch.legTime, 650.0);

    EXPECT_EQ(p.nodes[1]->wptNumber, 1);
    EXPECT_NEAR(p.nodes[1]->legDistance, 1731.1133, kMeters);
    EXPECT_EQ(p.nodes[1]->legHeading, launch.legHeading);
    EXPECT_EQ(p.nodes[1]->legTime, p.nodes[1]->legDistance);
    EXPECT_EQ(p.nodes[2]->wptNumber, 2);
    EXPECT_EQ(p.nodes[2]->legDistance + p.nodes[2]->legHeading + p.nodes[2]->legTime, 0.0);
    EXPECT_NEAR(p.totals.surveyLineDistance, 2231.1133, kMeters);
    EXPECT_NEAR(p.totals.expectedMissionTime, 2381.1133, kMeters);
}

TEST(RoutePlanner, LaunchHeadingRules) {
    // One waypoint has no leg: heading 0.0, so the launch lies due south.
    const Planned one = plan({{36.8167, -121.8171}});
    ASSERT_EQ(one.nodes.size(), 2u);
    EXPECT_NEAR(one.nodes[0]->lat, 36.812203, kDegrees);
    EXPECT_NEAR(one.nodes[0]->lon, -121.8171, kDegrees);
    EXPECT_EQ(one.nodes[0]->legHeading, 0.0);
    EXPECT_EQ(one.nodes[1]->wptNumber, 1);
    EXPECT_EQ(one.nodes[1]->legTime, 0.0);
    EXPECT_EQ(one.totals.surveyLineDistance, 500.0);
    EXPECT_EQ(one.totals.expectedMissionTime, 650.0);

    // Two identical waypoints: a leg of 0.0 on heading 360, unsplit; the launch lies due south.
    const Planned same = plan({{36.8167, -121.8171}, {36.8167, -121.8171}});
    ASSERT_EQ(same.nodes.size(), 3u);
    EXPECT_NEAR(same.nodes[0]->lat, 36.812203, kDegrees);
    EXPECT_EQ(same.nodes[0]->legHeading, 360.0);
    EXPECT_EQ(same.nodes[1]->legDistance + same.nodes[1]->legTime, 0.0);

    // Heading exactly 180 maps to 0: the launch lies due north.
    WaypointList list;
    appendNode(list, 36.8167, -121.8171)->legHeading = 180.0;
    addLaunchWaypoint(list, 500);
    EXPECT_NEAR(list.head->lat, 36.821197, kDegrees);
    EXPECT_NEAR(list.head->lon, -121.8171, kDegrees);
}

TEST(RoutePlanner, SplitsLongLegsIntoPiecesOfTheLimit) {
    // Legs of 2.5 times the limit, just the limit, half a meter over, and the tail.
    WaypointList list;
    for (const auto& [distance, heading] : Pairs{{9000, 45}, {3600, 80}, {3600.5, 100}, {0, 0}}) {
        WaypointNode* node = appendNode(list, 1.0, 1.0);
        node->legDistance = distance;
        node->legHeading = heading;
    }
    EXPECT_EQ(countRoutePoints(list, 3600.0), 8u);
    splitLongLegs(list, 3600.0);
    const std::vector<std::pair<double, double>> legs = {
        {3600, 45}, {3600, 45}, {1800, 45}, {3600, 80}, {3600, 100}, {0.5, 100}, {0, 0}};
    std::size_t i = 0;
    for (const WaypointNode* node = list.head; node != nullptr; node = node->next, ++i) {
        ASSERT_LT(i, legs.size());
        EXPECT_EQ(std::make_pair(node->legDistance, node->legHeading), legs[i]) << i;
        const bool split = i == 1 || i == 2 || i == 5;
        EXPECT_EQ(node->kind, split ? WaypointKind::splitPoint : WaypointKind::fromFile) << i;
    }
    EXPECT_EQ(i, legs.size());
}

TEST(RoutePlanner, PlacesSplitPointsAlongTheLegAndRenumbers) {
    // 0.2 degrees due north (22238.985 m) cut at 9000 m, then 0.05 degrees (5559.746 m).
    const Planned p = plan({{10.0, 0.0}, {10.2, 0.0}, {10.25, 0.0}}, 9000.0);
    EXPECT_EQ(p.result.routePoints, 6u);
    ASSERT_EQ(p.nodes.size(), 6u);
    for (std::size_t i = 0; i < p.nodes.size(); ++i) {
        EXPECT_EQ(p.nodes[i]->wptNumber, static_cast<std::int32_t>(i));
        EXPECT_EQ(p.nodes[i]->legTime, i == 0 ? 650.0 : p.nodes[i]->legDistance);
    }
    EXPECT_NEAR(p.nodes[0]->lat, 9.995503, kDegrees);
    EXPECT_NEAR(p.nodes[2]->lat, 10.080939, kDegrees);
    EXPECT_NEAR(p.nodes[3]->lat, 10.161878, kDegrees);
    EXPECT_EQ(p.nodes[4]->lat, 10.2); // the leg's end keeps its own position
    EXPECT_NEAR(p.nodes[3]->legDistance, 4238.985, kMeters);
    EXPECT_NEAR(p.totals.surveyLineDistance, 28298.732, kMeters);
    EXPECT_NEAR(p.totals.expectedMissionTime, 28448.732, kMeters);
}

TEST(RoutePlanner, EachChainOfSplitPointsRunsAlongItsOwnLeg) {
    // 0.2 degrees due north (22238.985 m), then 0.2 degrees east along 10.2 N (21887.511 m,
    // heading 89.98237), both cut at 9000 m: the east chain must not follow the north one.
    const Planned p = plan({{10.0, 0.0}, {10.2, 0.0}, {10.2, 0.2}}, 9000.0);
    ASSERT_EQ(p.nodes.size(), 8u);
    EXPECT_NEAR(p.nodes[2]->lat, 10.080939, kDegrees);
    EXPECT_NEAR(p.nodes[3]->lat, 10.161878, kDegrees);
    EXPECT_NEAR(p.nodes[3]->lon, 0.0, kDegrees);
    EXPECT_NEAR(p.nodes[4]->legHeading, 89.982368, kDegrees);
    EXPECT_NEAR(p.nodes[5]->lat, 10.200015, kDegrees); // the great circle bulges north
    EXPECT_NEAR(p.nodes[5]->lon, 0.082239, kDegrees);
    EXPECT_NEAR(p.nodes[6]->lat, 10.200029, kDegrees);
    EXPECT_NEAR(p.nodes[6]->lon, 0.164477, kDegrees);
    EXPECT_NEAR(p.nodes[3]->legDistance, 4238.985, kMeters);
    EXPECT_NEAR(p.nodes[6]->legDistance, 3887.511, kMeters);
    // Every leg of the file is measured from its own two ends.
    EXPECT_EQ(p.nodes[1]->legHeading, 360.0);
    EXPECT_NEAR(p.totals.surveyLineDistance, 500.0 + 22238.985 + 21887.511, kMeters);
}

TEST(RoutePlanner, WaypointsOnTheEquatorKeepTheirPositions) {
    // Only planning makes split points; a latitude of 0.0 from the file is a position.
    const Planned p = plan({{0.0, 0.0}, {0.0, 0.2}, {-0.0, 0.21}}, 9000.0);
    ASSERT_EQ(p.nodes.size(), 6u);
    EXPECT_EQ(p.nodes[1]->lat + p.nodes[1]->lon, 0.0);
    EXPECT_NEAR(p.nodes[2]->lon, 0.080939, kDegrees); // split point 9000 m east
    EXPECT_NEAR(p.nodes[2]->lat, -1.0739e-7, 1e-10);  // a hair south of east
    EXPECT_EQ(p.nodes[4]->lon, 0.2);
    EXPECT_EQ(p.nodes[5]->lon, 0.21);
}

TEST(RoutePlanner, RefusesALimitOrARouteSizeBeforeAddingNodes) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double limit : {0.0, -1.0, nan}) {
        const Planned p = plan({{36.8167, -121.8171}, {36.8215, -121.7986}}, limit);
        EXPECT_EQ(p.result.status, PlanStatus::invalidMaxLeg);
        EXPECT_EQ(p.nodes.size(), 2u);
        EXPECT_EQ(p.nodes[0]->legDistance, 0.0);
        EXPECT_EQ(p.totals.surveyLineDistance, -1.0);
    }
    // 1731.1133 m in 0.1 mm pieces: 17311134 pieces, 17311135 nodes and the launch.
    const std::pair<double, std::uint64_t> cases[] = {{1e-4, 17311136u}, {1e-300, UINT64_MAX}};
    for (const auto& [limit, points] : cases) {
        const Planned p = plan({{36.8167, -121.8171}, {36.8215, -121.7986}}, limit);
        EXPECT_EQ(p.result.status, PlanStatus::tooManyPoints);
        EXPECT_EQ(p.result.routePoints, points);
        EXPECT_EQ(p.nodes.size(), 2u);
        EXPECT_EQ(p.totals.expectedMissionTime, -1.0);
    }
}

TEST(RoutePlanner, SplitsOneLegIntoAMillionPieces) {
    // 9 degrees of meridian, 1000754.34 m, in 1 m pieces: 1000755 pieces, 1000757 nodes.
    // Restarting every cut at the head would take hours here; the speed itself is measured
    // by the benchmarks.
    const Planned p = plan({{10.0, 5.0}, {19.0, 5.0}}, 1.0);
    EXPECT_EQ(p.result.routePoints, 1000757u);
    ASSERT_EQ(p.nodes.size(), 1000757u);
    EXPECT_EQ(p.nodes.back()->wptNumber, 1000756);
    EXPECT_NEAR(p.nodes.back()->prev->legDistance, 0.3398, 1e-4);
    EXPECT_NEAR(p.nodes.back()->prev->lat, 19.0 - 0.3398 / 111194.93, kDegrees);
}

TEST(RoutePlanner, SumsWithoutLosingSmallLegs) {
    // In double, 1e16 + 1 rounds back to 1e16, so ten one-meter legs would vanish.
    WaypointList list;
    appendNode(list, 0.0, 0.0)->legDistance = 1e16;
    for (int i = 0; i < 10; ++i) {
        appendNode(list, 0.0, 0.0)->legDistance = 1.0;
    }
    EXPECT_EQ(sumRoute(list).surveyLineDistance, 1e16 + 10.0);
}
