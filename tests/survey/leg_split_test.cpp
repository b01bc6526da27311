// Tests of the survey's cut points: on the lines as laid out, and none left for the planner,
// measured in a frame of the tests' own and on geodesics from PROJ.
#include "output/survey_waypoint_writer.h"
#include "route/route_planner.h"
#include "survey/survey_plan.h"
#include "survey_checks.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace survey_checks;

// The points the planner would add to the survey's waypoints as written.
std::uint64_t splitPointsPlanned(const SurveyPlan& plan, double maxLeg, LegGeometry geometry) {
    WaypointList route;
    for (const GeoPoint& p : plan.waypoints) {
        const GeoPoint written = asWritten(p);
        appendNode(route, written.lat, written.lon);
    }
    geometry == LegGeometry::sphere ? measureLegs(route) : measureGeodesicLegs(route);
    return countRoutePoints(route, maxLeg) - route.size() - 1; // less the launch waypoint
}

} // namespace

// 150 km lines 10 km apart, the outer ones 45 km from the centre: there the geodesic between
// a line's ends strays meters from the line as laid out, and a point dead-reckoned along the
// line's first course strays hundreds.
TEST(LegSplit, RoutePointsLieOnTheLinesAsLaidOutAndThePlannerCutsNone) {
    const GeoPoint origin{60.0, 5.0};
    GeoArea area;
    area.outer = ringFromMeters(
        origin, {{-47500, -75000}, {47500, -75000}, {47500, 75000}, {-47500, 75000}});
    for (const bool geodesic : {false, true}) {
        SurveyRequest request;
        request.spacing = 10000.0;
        request.heading = 0.0;
        request.maxLegMeters = 3600.0;
        request.geodesicLegs = geodesic;
        const SurveyResult result = planSurvey(area, request);
        ASSERT_TRUE(result.ok) << result.error;
        const SurveyPlan& plan = result.plan;
        ASSERT_EQ(plan.lines.size(), 10u);

        // The survey's own frame is centred on the middle of the area's latitudes and
        // longitudes, within meters of the origin here: the tests' frame there is the same.
        const CheckFrame frame(origin, "aeqd");
        std::size_t runs = 0;
        std::size_t ways = 0;
        double offGeodesic = 0.0;
        for (const SurveyPiece& piece : plan.pieces) {
            const bool transit = piece.kind == PieceKind::transit;
            const std::vector<GeoPoint> laidOut =
                transit ? plan.ways[ways++]
                        : std::vector<GeoPoint>{plan.runs[runs].start, plan.runs[runs].end};
            const OGRLineString line = frame.lineString(laidOut);
            for (std::size_t i = piece.first; i <= piece.last; ++i) {
                const GeoPoint written = asWritten(plan.waypoints[i]);
                OGRPoint at;
                frame.lineString({written, written}).getPoint(0, &at);
                const double off = at.Distance(&line); // -1 when GEOS fails
                EXPECT_TRUE(off >= 0.0 && off < 0.5)
                    << off << " m: route point " << i << " of piece " << piece.number;
                if (piece.kind == PieceKind::line && piece.number == 1) { // 45 km out
                    bool interior = false;
                    offGeodesic =
                        std::max(offGeodesic, distanceToLine(written, plan.runs[runs], interior));
                }
            }
            if (!transit) {
                // The length is the geodesics' between the route points.
                EXPECT_NEAR(piece.length, geodesicDistance(laidOut[0], laidOut[1]), 0.05);
                ++runs;
            }
        }
        EXPECT_EQ(runs, plan.runs.size());
        EXPECT_GT(offGeodesic, 1.0) << "the area is too small to tell the line from a geodesic";
        EXPECT_EQ(splitPointsPlanned(plan, 3600.0, LegGeometry::sphere), 0u);
        if (geodesic) {
            EXPECT_EQ(splitPointsPlanned(plan, 3600.0, LegGeometry::geodesic), 0u);
        }
    }
}
