// Tests of the sea survey of whole planned routes, judged by the plan check: a shelf with a
// step at every bound, a grid of depths, and known places in ETOPO5 and Natural Earth.
#include "grid_files.h"
#include "memory_grid.h"
#include "route/plan_check.h"
#include "route/route_planner.h"
#include "sea/gdal_depth_grid.h"
#include "sea/survey_route.h"
#include "zone_fixtures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

struct Planned {
    WaypointList route;
    MissionParameters params;
};

std::unique_ptr<Planned> planned(const std::vector<GeoPoint>& places,
                                 MissionParameters params = {}) {
    auto result = std::make_unique<Planned>();
    result->params = params;
    for (const GeoPoint& place : places) {
        appendNode(result->route, place.lat, place.lon);
    }
    RouteTotals totals;
    EXPECT_EQ(planRoute(result->route, result->params, totals).status, PlanStatus::planned);
    return result;
}

// What each finding is about, by the words it starts with.
Texts kinds(const std::vector<PlanFinding>& findings) {
    static const std::vector<std::pair<std::string, std::string>> starts = {
        {"error: land under", "land"},
        {"error: water shallower than missionYoyoMinDepth", "abort altitude"},
        {"error: water shallower than wayPointDepth", "abort altitude"},
        {"warning: water shallower than missionYoyoMaxDepth", "yo-yo cut short"},
        {"warning: seabed shallower than abortDepth", "abort depth"},
        {"warning: no depth under", "unknown"},
        {"note: grid ", "grid note"},
    };
    Texts result;
    for (const PlanFinding& finding : findings) {
        const std::string text = findingText(finding);
        std::string kind = text;
        for (const auto& [start, name] : starts) {
            if (text.rfind(start, 0) == 0) {
                kind = name;
            }
        }
        result.push_back(kind);
    }
    return result;
}

// A grid of one depth everywhere around Monterey Bay, stored as elevation or as depth.
std::unique_ptr<DepthGrid> flatSea(const GridFolder& folder, double depth, bool positiveDown) {
    GridFile grid = northUpGrid(-122.1, 36.95, 0.01, 30, 30);
    grid.type = GDT_Float64;
    grid.values.assign(900, positiveDown ? depth : -depth);
    const std::string path = folder.path(positiveDown ? "depth.tif" : "elevation.tif");
    writeGridFile(path, grid);
    GridOpening opening = openDepthGrid(path, "sea.tif", positiveDown);
    EXPECT_TRUE(opening.grid) << opening.error;
    return std::move(opening.grid);
}

std::vector<PlanFinding> judged(const Planned& plan, const SeaRequest& request) {
    const SeaSurveyResult result = surveyRoute(plan.route, request);
    EXPECT_TRUE(result.ok) << result.error;
    return checkSea(plan.params, result.survey);
}

} // namespace

TEST(SurveyRoute, AShelfAtEveryBoundAndJustShallowerThanIt) {
    // Default yo-yo mission: top 10 m + abort altitude 2.5 m = 12.5 m; bottom 90 m + minimum
    // altitude 15 m = 105 m; abort depth 100 m. A plain mission at 50 m: 52.5 m.
    MissionParameters plain;
    plain.yoyoMission = 0;
    struct Case {
        double depth;
        bool yoyo;
        Texts perLeg; // what each of the two legs (launch leg and the leg) draws
    };
    const Case cases[] = {
        {105.0, true, {}},
        {104.99, true, {"yo-yo cut short"}},
        {100.0, true, {"yo-yo cut short"}},
        {99.99, true, {"yo-yo cut short", "abort depth"}},
        {12.5, true, {"yo-yo cut short", "abort depth"}},
        {12.49, true, {"abort altitude", "yo-yo cut short", "abort depth"}},
        {0.01, true, {"abort altitude", "yo-yo cut short", "abort depth"}},
        {0.0, true, {"land", "abort altitude", "yo-yo cut short", "abort depth"}},
        {-3.0, true, {"land", "abort altitude", "yo-yo cut short", "abort depth"}},
        {100.0, false, {}},
        {52.5, false, {"abort depth"}},
        {52.49, false, {"abort altitude", "abort depth"}},
    };
    for (const bool positiveDown : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.depth) + (c.yoyo ? " yo-yo" : " plain") +
                         (positiveDown ? ", stored as depth" : ", stored as elevation"));
            GridFolder folder;
            std::unique_ptr<DepthGrid> grid = flatSea(folder, c.depth, positiveDown);
            ASSERT_TRUE(grid);
            const std::unique_ptr<Planned> plan =
                planned({{36.80, -121.95}, {36.80, -121.92}}, c.yoyo ? MissionParameters{} : plain);
            Texts expected = {"grid note"};
            expected.insert(expected.end(), c.perLeg.begin(), c.perLeg.end());
            expected.insert(expected.end(), c.perLeg.begin(), c.perLeg.end());
            EXPECT_EQ(kinds(judged(*plan, SeaRequest{grid.get(), "sea.tif", {}, 0.0})), expected);
        }
    }
}

TEST(SurveyRoute, FindingsNameTheLegTheStretchThePlaceAndTheDepth) {
    GridFolder folder;
    std::unique_ptr<DepthGrid> grid = flatSea(folder, 8.0, false);
    const std::unique_ptr<Planned> plan = planned({{36.80, -121.95}, {36.80, -121.92}});
    const std::vector<PlanFinding> findings =
        judged(*plan, SeaRequest{grid.get(), "sea.tif", {}, 0.0});
    ASSERT_EQ(findings.size(), 7u);
    EXPECT_EQ(findingText(findings[4]),
              "error: water shallower than missionYoyoMinDepth 10 m + abortAltitude 2.5 m = "
              "12.5 m under the leg from waypoint 1 to waypoint 2 over 2671.1 m of its 2671.1 m, "
              "first at 0.0 m along it, at waypoint 1 (36.80000 -121.95000): depth 8.0 m, "
              "shallowest 8.0 m (the "
              "vehicle would reach its abort altitude at the top of the yo-yo)");
    EXPECT_EQ(findingText(findings[1])
                  .rfind("error: water shallower than missionYoyoMinDepth 10 "
                         "m + abortAltitude 2.5 m = 12.5 m under the launch "
                         "leg, from waypoint 0 to waypoint 1, over 500.0 m",
                         0),
              0u)
        << findingText(findings[1]);
    EXPECT_EQ(findingText(findings[0]),
              "note: grid sea.tif: cells of 890 m by 1.1 km at the route, larger than the "
              "shortest leg (500.0 m, from waypoint 0 to waypoint 1); every cell under the "
              "route holds the same depth");
    ASSERT_TRUE(findings[4].place.has_value());
    EXPECT_EQ(findings[4].place->leg, 1u);
    EXPECT_EQ(findings[4].place->fromNumber, 1);
    EXPECT_EQ(findings[4].place->toNumber, 2);
    ASSERT_EQ(findings[4].place->stretches.size(), 1u);
    EXPECT_EQ(findings[4].place->stretches[0].start, 0.0);
    EXPECT_NEAR(findings[4].place->stretches[0].end, 2671.1, 0.05);
    EXPECT_EQ(findings[4].place->depth, 8.0);
    EXPECT_FALSE(findings[0].place.has_value());
}

TEST(SurveyRoute, ETOPO5SeesLandAcrossTheMontereyPeninsulaAndWaterInTheBay) {
    // ETOPO5's cells are 5 minutes (about 9 km): only a coarse coast, but land it is.
    GridOpening etopo = openDepthGrid(seaData("etopo5_monterey.nc"), "etopo5_monterey.nc", false);
    ASSERT_TRUE(etopo.grid) << etopo.error;
    // From Carmel Bay over the peninsula into Monterey harbour: every leg crosses the cell
    // of 194 m at 36.58 N 121.91 W but the launch leg in Carmel Bay, which passes beside it.
    const std::unique_ptr<Planned> peninsula = planned({{36.545, -121.96}, {36.61, -121.88}});
    Texts found = kinds(judged(*peninsula, SeaRequest{etopo.grid.get(), "etopo5", {}, 0.0}));
    EXPECT_EQ(std::count(found.begin(), found.end(), "land"), 3) << testing::PrintToString(found);
    // Across the middle of the bay.
    const std::unique_ptr<Planned> bay = planned({{36.80, -122.00}, {36.85, -121.95}});
    found = kinds(judged(*bay, SeaRequest{etopo.grid.get(), "etopo5", {}, 0.0}));
    EXPECT_EQ(std::count(found.begin(), found.end(), "land"), 0) << testing::PrintToString(found);
    EXPECT_EQ(std::count(found.begin(), found.end(), "abort altitude"), 0);
    EXPECT_EQ(std::count(found.begin(), found.end(), "unknown"), 0);
    // Out to sea past the west edge of the cut grid (122.54 W).
    const std::unique_ptr<Planned> offshore = planned({{36.80, -122.30}, {36.80, -122.70}});
    const std::vector<PlanFinding> findings =
        judged(*offshore, SeaRequest{etopo.grid.get(), "etopo5", {}, 0.0});
    // The grid ends at 122.5395 W, the outer edge of its westernmost cells; the route runs
    // on to 122.70 W, in legs cut every 3600 m.
    double unknown = 0.0;
    for (const PlanFinding& finding : findings) {
        if (findingText(finding).rfind("warning: no depth", 0) == 0) {
            EXPECT_NE(finding.message.find(": off the grid, so nothing there is checked"),
                      std::string::npos);
            for (const LegStretch& stretch : finding.place->stretches) {
                unknown += stretch.end - stretch.start;
            }
        }
    }
    // To within half a step between samples, a quarter of ETOPO's cell.
    EXPECT_NEAR(unknown, greatCircleDistance(36.80, -122.5395, 36.80, -122.70), 2000.0);
}

TEST(SurveyRoute, NaturalEarthLandAsAKeepOutArea) {
    const std::vector<GeoArea> land = areasInFile(seaData("ne10m_land_monterey.geojson"));
    ASSERT_FALSE(land.empty());
    const std::unique_ptr<Planned> peninsula = planned({{36.545, -121.96}, {36.61, -121.88}});
    SeaRequest request{nullptr, "", {keepOut(land, "land.geojson")}, 0.0};
    std::vector<PlanFinding> findings = judged(*peninsula, request);
    // Cut every 3600 m, the route has two split points ashore.
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_EQ(findingText(findings[0])
                  .rfind("error: the leg from waypoint 1 to waypoint 2 enters "
                         "keep-out area 1 of land.geojson at ",
                         0),
              0u)
        << findingText(findings[0]);
    // Carmel's beach, about 2.5 km from waypoint 1 on the way to Monterey.
    EXPECT_GT(findings[0].place->stretches[0].start, 2000.0);
    EXPECT_LT(findings[0].place->stretches[0].start, 3000.0);
    EXPECT_EQ(findingText(findings[1]),
              "error: waypoint 2 at 36.56803 -121.93168 is inside keep-out area 1 of land.geojson");
    EXPECT_EQ(findingText(findings[2]),
              "error: waypoint 3 at 36.59107 -121.90334 is inside keep-out area 1 of land.geojson");

    const std::unique_ptr<Planned> bay = planned({{36.80, -122.00}, {36.85, -121.95}});
    EXPECT_TRUE(judged(*bay, request).empty());
    // The bay leg passes the coast at some 13 km: near with a margin just above that, not
    // with one just below.
    request.keepOutMargin = 20000.0;
    findings = judged(*bay, request);
    double nearest = 1e9;
    for (const PlanFinding& finding : findings) {
        ASSERT_EQ(findingText(finding).rfind("warning: the ", 0), 0u) << findingText(finding);
        EXPECT_NE(finding.message.find("closer than keepOutMargin 20000 m"), std::string::npos);
    }
    const SeaSurveyResult measured = surveyRoute(bay->route, request);
    for (const LegZonePass& pass : measured.survey.passes) {
        nearest = std::min(nearest, pass.nearest);
    }
    ASSERT_LT(nearest, 20000.0);
    // The same distance measured apart, in UTM zone 10 on the ellipsoid: within its scale
    // (0.9996 to 1.0004 here) and the ellipsoid's radii against the sphere's (0.3 %).
    OGRSpatialReference wgs84 = gisOrder("EPSG:4326");
    OGRSpatialReference zone10 = gisOrder("EPSG:32610");
    double shortest = 1e9;
    for (const GeoArea& area : land) {
        OGRPolygon polygon;
        OGRLinearRing ring;
        for (const GeoPoint& point : area.outer) {
            ring.addPoint(point.lon, point.lat);
        }
        ring.closeRings();
        polygon.addRing(&ring);
        polygon.assignSpatialReference(&wgs84);
        ASSERT_EQ(polygon.transformTo(&zone10), OGRERR_NONE);
        for (const WaypointNode* node = bay->route.head; node->next != nullptr; node = node->next) {
            OGRLineString leg;
            leg.addPoint(node->lon, node->lat);
            leg.addPoint(node->next->lon, node->next->lat);
            leg.assignSpatialReference(&wgs84);
            ASSERT_EQ(leg.transformTo(&zone10), OGRERR_NONE);
            shortest = std::min(shortest, leg.Distance(&polygon));
        }
        polygon.assignSpatialReference(nullptr);
    }
    EXPECT_NEAR(nearest, shortest, shortest * 0.005);
    request.keepOutMargin = nearest + 1.0;
    EXPECT_EQ(judged(*bay, request).size(), 1u);
    request.keepOutMargin = nearest - 1.0;
    EXPECT_TRUE(judged(*bay, request).empty());
}

// The box the areas were cut to stands in the survey, so that a drawing can tell a cut edge
// from a shore: it holds every part kept, and reaches the margin and 2 km more beyond the
// route (a degree of latitude is 111.19 km on tavra's sphere).
TEST(SurveyRoute, TheSurroundingsTheAreasWereCutToAreRecorded) {
    const std::vector<GeoArea> land = areasInFile(seaData("ne10m_land_monterey.geojson"));
    const std::unique_ptr<Planned> peninsula = planned({{36.545, -121.96}, {36.61, -121.88}});
    const SeaSurveyResult measured = surveyRoute(
        peninsula->route, SeaRequest{nullptr, "", {keepOut(land, "land.geojson")}, 500.0});
    ASSERT_TRUE(measured.ok) << measured.error;
    const GeoBox& box = measured.survey.surroundings;
    double south = 90.0;
    double north = -90.0;
    for (const WaypointNode* node = peninsula->route.head; node != nullptr; node = node->next) {
        south = std::min(south, node->lat);
        north = std::max(north, node->lat);
        EXPECT_LT(box.west, node->lon);
        EXPECT_GT(box.east, node->lon);
    }
    EXPECT_NEAR(box.south, south - 2500.0 / 111194.93, 1e-6);
    EXPECT_NEAR(box.north, north + 2500.0 / 111194.93, 1e-6);
    ASSERT_FALSE(measured.survey.zones.empty());
    for (const SeaZone& zone : measured.survey.zones) {
        for (const GeoArea& part : zone.parts) {
            for (const GeoPoint& vertex : part.outer) {
                EXPECT_GE(vertex.lon, box.west - 1e-9);
                EXPECT_LE(vertex.lon, box.east + 1e-9);
                EXPECT_GE(vertex.lat, box.south - 1e-9);
                EXPECT_LE(vertex.lat, box.north + 1e-9);
            }
        }
    }
    // Without areas there is nothing cut, and no box.
    const SeaSurveyResult none = surveyRoute(peninsula->route, SeaRequest{});
    EXPECT_EQ(none.survey.surroundings.west, none.survey.surroundings.east);
}

// Places where real data misled the check, against hand-worked figures: rings round the
// poles as world data holds them (stepping from 180 back to -180), land cut into two
// polygons at 180 degrees, a hole the meridian 0.005 E crosses from 0.01 N to 0.02 N, a
// grid of infinities, and a route to the pole over a global grid of 1 degree.
TEST(SurveyRoute, PolesTheAntimeridianInfinityAndReEntry) {
    const auto ring = [](const char* name, double lat) {
        return GeoArea{name, {{lat, -180}, {lat, -90}, {lat, 0}, {lat, 90}, {lat, 180}}, {}};
    };
    GeoArea hook = box("hook", 0, 0, 0.03, 0.01);
    hook.holes.push_back(box("bay", 0.01, 0.003, 0.02, 0.008).outer);
    const std::vector<GeoArea> fiji{box("west", -17, 179, -16, 180),
                                    box("east", -17, -180, -16, -179)};
    struct Case {
        const char* what;
        GeoPoint from, to;
        std::vector<GeoArea> land;
        double entry; // meters along its leg to the one entry, 0 for none
        bool inside;  // every route point inside the land
    };
    const Case cases[] = {
        {"south of 85 S", {-89, 0}, {-86, 0}, {ring("antarctica", -80)}, 0.0, true},
        {"over the seam", {-16.5, 179.9}, {-16.5, -179.9}, fiji, 0.0, true},
        {"back onto land", {0.005, 0.005}, {0.025, 0.005}, {hook}, 0.015 * kDegree, true},
        // Over the pole into a cap of 111 m about it, 0.009 degrees on.
        {"over the pole", {89.99, 0}, {89.99, 180}, {ring("cap", 89.999)}, 0.009 * kDegree, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<Planned> plan = planned({c.from, c.to});
        std::size_t points = 0;
        for (const WaypointNode* node = plan->route.head; node != nullptr; node = node->next) {
            ++points;
        }
        std::vector<double> entries;
        std::size_t inside = 0;
        for (const PlanFinding& finding : judged(*plan, {nullptr, "", {keepOut(c.land)}, 0.0})) {
            const std::string text = findingText(finding);
            inside += text.find(" is inside ") != std::string::npos ? 1 : 0;
            if (text.find(" enters ") != std::string::npos) {
                entries.push_back(finding.place->stretches[0].start);
            }
        }
        EXPECT_EQ(inside, c.inside ? points : 0u);
        ASSERT_EQ(entries.size(), c.entry > 0.0 ? 1u : 0u);
        if (!entries.empty()) {
            EXPECT_NEAR(entries[0], c.entry, 0.5);
        }
    }
    GridFolder folder;
    GridFile file = northUpGrid(-122.1, 36.95, 0.01, 30, 30);
    file.values.assign(900, HUGE_VAL);
    file.values[465] = -HUGE_VAL;
    writeGridFile(folder.path("inf.tif"), file);
    const GridOpening infinite = openDepthGrid(folder.path("inf.tif"), "inf.tif", true);
    ASSERT_TRUE(infinite.grid) << infinite.error;
    const std::unique_ptr<Planned> bay = planned({{36.80, -121.95}, {36.80, -121.92}});
    EXPECT_EQ(kinds(judged(*bay, {infinite.grid.get(), "inf.tif", {}, 0.0})),
              (Texts{"grid note", "unknown", "unknown"}));
    // Rows of 111 km to the pole: read a few times a leg, not refused for its columns.
    MemoryGrid globe(-180.0, 90.0, 1.0, 360, 180, 3000.0);
    const std::unique_ptr<Planned> pole = planned({{89.5, 10.0}, {90.0, 0.0}});
    EXPECT_EQ(kinds(judged(*pole, {&globe, "globe", {}, 0.0})), Texts{"grid note"});
}
