// Tests of the survey's cut points: on the lines as laid out, and none left for the planner,
// measured in a frame of the tests' own and on geodesics from PROJ.
#include "output/survey_waypoint_writer.h"
#include "route/route_planner.h"
#include "survey/survey_plan.h"
#include "survey_checks.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace survey_checks;

// An azimuthal equidistant frame of the tests' own, centred where the survey centres its
// own (the middle of the area's latitudes and longitudes): a line laid out straight there
// is straight here.
class EquidistantFrame {
  public:
    explicit EquidistantFrame(GeoPoint centre) {
        OGRSpatialReference geographic;
        geographic.SetWellKnownGeogCS("WGS84");
        geographic.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        OGRSpatialReference flat;
        const std::string definition = "+proj=aeqd +lat_0=" + std::to_string(centre.lat) +
                                       " +lon_0=" + std::to_string(centre.lon) +
                                       " +datum=WGS84 +units=m +no_defs";
        flat.importFromProj4(definition.c_str());
        flat.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        transform_.reset(OGRCreateCoordinateTransformation(&geographic, &flat));
    }

    OGRPoint point(GeoPoint p) const {
        double x = p.lon;
        double y = p.lat;
        transform_->Transform(1, &x, &y);
        return OGRPoint(x, y);
    }

    OGRLineString path(const std::vector<GeoPoint>& points) const {
        OGRLineString line;
        for (const GeoPoint& p : points) {
            const OGRPoint flat = point(p);
            line.addPoint(flat.getX(), flat.getY());
        }
        return line;
    }

  private:
    std::unique_ptr<OGRCoordinateTransformation> transform_;
};

GeoPoint boxCentre(const GeoRing& ring) {
    double south = 90.0, north = -90.0, west = 180.0, east = -180.0;
    for (const GeoPoint& p : ring) {
        south = std::min(south, p.lat);
        north = std::max(north, p.lat);
        west = std::min(west, p.lon);
        east = std::max(east, p.lon);
    }
    return {(south + north) / 2.0, (west + east) / 2.0};
}

std::size_t splitPointsPlanned(const SurveyPlan& plan, double maxLeg, LegGeometry geometry) {
    WaypointList route;
    for (const GeoPoint& p : plan.waypoints) {
        const GeoPoint written = asWritten(p);
        appendNode(route, written.lat, written.lon);
    }
    MissionParameters params;
    params.maxLegMeters = maxLeg;
    RouteTotals totals;
    planRoute(route, params, totals, geometry);
    std::size_t split = 0;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        split += node->kind == WaypointKind::splitPoint ? 1 : 0;
    }
    return split;
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

        const EquidistantFrame frame(boxCentre(area.outer));
        std::size_t runs = 0;
        std::size_t ways = 0;
        double offGeodesic = 0.0;
        for (const SurveyPiece& piece : plan.pieces) {
            const bool transit = piece.kind == PieceKind::transit;
            const std::vector<GeoPoint> laidOut =
                transit ? plan.ways[ways++]
                        : std::vector<GeoPoint>{plan.runs[runs].start, plan.runs[runs].end};
            const OGRLineString line = frame.path(laidOut);
            for (std::size_t i = piece.first; i <= piece.last; ++i) {
                const GeoPoint written = asWritten(plan.waypoints[i]);
                EXPECT_LT(frame.point(written).Distance(&line), 0.5)
                    << "route point " << i << " of piece " << piece.number;
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
        EXPECT_GT(plan.waypoints.size(), 10u * 150000u / 3600u);
        EXPECT_GT(offGeodesic, 1.0) << "the area is too small to tell the line from a geodesic";
        EXPECT_EQ(splitPointsPlanned(plan, 3600.0, LegGeometry::sphere), 0u);
        if (geodesic) {
            EXPECT_EQ(splitPointsPlanned(plan, 3600.0, LegGeometry::geodesic), 0u);
        }
    }
}
