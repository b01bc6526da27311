// Tests of the plan check: each finding on both sides of its bound, and silence on sound plans.
#include "input/plain_reader.h"
#include "route/plan_check.h"
#include "route/route_planner.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::string>;
using Pairs = std::initializer_list<std::pair<double, double>>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Texts texts(const std::vector<PlanFinding>& findings) {
    Texts result;
    for (const PlanFinding& finding : findings) {
        result.push_back(findingText(finding));
    }
    return result;
}

Texts found(const MissionParameters& params) {
    return texts(checkParameters(params));
}

MissionParameters plainMission() {
    MissionParameters params;
    params.yoyoMission = 0;
    return params;
}

// Plans the positions with the defaults and checks the route only.
Texts routeFindings(Pairs positions, double maxLegMeters = 3600.0) {
    WaypointList route;
    for (const auto& [lat, lon] : positions) {
        appendNode(route, lat, lon);
    }
    MissionParameters params;
    params.maxLegMeters = maxLegMeters;
    RouteTotals totals;
    planRoute(route, params, totals);
    return texts(checkRoute(route, maxLegMeters));
}

} // namespace

TEST(PlanCheck, DefaultsAndTheBundledExampleGiveNoFinding) {
    EXPECT_EQ(found(MissionParameters{}), Texts{});
    EXPECT_EQ(found(plainMission()), Texts{});
    EXPECT_EQ(routeFindings({{36.8167, -121.8171}, {36.8215, -121.7986}}), Texts{});
    EXPECT_EQ(routeFindings({{36.8167, -121.8171}}), Texts{});

    std::ifstream file(std::string(TAVRA_TEST_DATA_DIR) + "/../../examples/monterey_lawnmower.txt");
    ASSERT_TRUE(file.is_open());
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    const DocumentResult read = readPlain(bytes, "monterey_lawnmower.txt");
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(read.document.notes.empty());
    WaypointList route;
    for (const SourcePoint& point : read.document.features.front().points) {
        appendNode(route, point.lat, point.lon);
    }
    const MissionParameters params;
    RouteTotals totals;
    planRoute(route, params, totals);
    EXPECT_EQ(texts(checkPlan(params, route)), Texts{});
}

TEST(PlanCheck, DepthEnvelopeRunsMinMaxAbort) {
    // A plain mission at 50 m, so that only the envelope itself is judged.
    MissionParameters p = plainMission();
    p.minDepth = 49.9;
    p.maxDepth = 50.0;
    EXPECT_EQ(found(p), Texts{});
    p.minDepth = 50.0;
    EXPECT_EQ(found(p), Texts{"error: depth envelope out of order: minDepth 50 m, maxDepth 50 m, "
                              "abortDepth 100 m (needs minDepth < maxDepth < abortDepth)"});

    p = plainMission();
    p.maxDepth = 99.9;
    EXPECT_EQ(found(p), Texts{});
    p.maxDepth = 100.0;
    EXPECT_EQ(found(p), Texts{"error: depth envelope out of order: minDepth 10 m, maxDepth 100 m, "
                              "abortDepth 100 m (needs minDepth < maxDepth < abortDepth)"});

    // Not a number fails every comparison it enters.
    p = plainMission();
    p.minDepth = kNaN;
    EXPECT_EQ(found(p),
              (Texts{"error: depth envelope out of order: minDepth nan m, maxDepth 90 m, "
                     "abortDepth 100 m (needs minDepth < maxDepth < abortDepth)",
                     "error: wayPointDepth 50 m is outside the depth envelope minDepth nan m to "
                     "maxDepth 90 m"}));
}

TEST(PlanCheck, AbortLockoutAndAltitude) {
    MissionParameters p;
    p.abortLockoutDepth = 90.0;
    EXPECT_EQ(found(p), Texts{});
    p.abortLockoutDepth = 90.5;
    EXPECT_EQ(found(p), Texts{"error: abortLockoutDepth 90.5 m is deeper than maxDepth 90 m (the "
                              "lock-out would cover the whole envelope)"});

    p = MissionParameters{};
    p.abortAltitude = 0.1;
    EXPECT_EQ(found(p), Texts{});
    p.abortAltitude = 0.0;
    EXPECT_EQ(found(p), Texts{"error: abortAltitude 0 m is not greater than 0"});
    p.abortAltitude = -1.0;
    EXPECT_EQ(found(p), Texts{"error: abortAltitude -1 m is not greater than 0"});
}

TEST(PlanCheck, YoyoBandLiesInsideTheEnvelope) {
    MissionParameters p;
    p.missionYoyoMinDepth = 10; // the envelope's minDepth itself
    p.missionYoyoMaxDepth = 90; // and its maxDepth
    EXPECT_EQ(found(p), Texts{});
    p.missionYoyoMinDepth = 9;
    EXPECT_EQ(found(p), Texts{"error: missionYoyoMinDepth 9 m is shallower than minDepth 10 m (the "
                              "yo-yo band must lie inside the depth envelope)"});
    p.missionYoyoMinDepth = 10;
    p.missionYoyoMaxDepth = 91;
    EXPECT_EQ(found(p), Texts{"error: missionYoyoMaxDepth 91 m is deeper than maxDepth 90 m (the "
                              "yo-yo band must lie inside the depth envelope)"});

    p = MissionParameters{};
    p.missionYoyoMinDepth = 50;
    p.missionYoyoMaxDepth = 51;
    EXPECT_EQ(found(p), Texts{});
    p.missionYoyoMaxDepth = 50;
    EXPECT_EQ(
        found(p),
        Texts{"error: missionYoyoMinDepth 50 m is not shallower than missionYoyoMaxDepth 50 m"});
    p.missionYoyoMinDepth = 60;
    EXPECT_EQ(
        found(p),
        Texts{"error: missionYoyoMinDepth 60 m is not shallower than missionYoyoMaxDepth 50 m"});

    // A plain mission does not run the band, so it is not judged.
    p.yoyoMission = 0;
    p.missionYoyoMinDepth = 0;
    p.missionYoyoMaxDepth = 500;
    p.yoyoMinAltitude = 0;
    EXPECT_EQ(found(p), Texts{});
}

TEST(PlanCheck, YoyoTurnsAboveTheAbortAltitude) {
    MissionParameters p;
    p.yoyoMinAltitude = 3;
    EXPECT_EQ(found(p), Texts{});
    p.yoyoMinAltitude = 2;
    EXPECT_EQ(found(p), Texts{"error: yoyoMinAltitude 2 m is not above abortAltitude 2.5 m (the "
                              "vehicle would abort before the yo-yo turns)"});
    p.yoyoMinAltitude = 3;
    p.abortAltitude = 3.0;
    EXPECT_EQ(found(p), Texts{"error: yoyoMinAltitude 3 m is not above abortAltitude 3 m (the "
                              "vehicle would abort before the yo-yo turns)"});
}

TEST(PlanCheck, PlainWaypointDepthLiesInsideTheEnvelope) {
    MissionParameters p = plainMission();
    for (double depth : {10.0, 90.0}) {
        p.wayPointDepth = depth;
        EXPECT_EQ(found(p), Texts{}) << depth;
    }
    p.wayPointDepth = 9.9;
    EXPECT_EQ(found(p),
              Texts{"error: wayPointDepth 9.9 m is outside the depth envelope minDepth 10 "
                    "m to maxDepth 90 m"});
    p.wayPointDepth = 90.1;
    EXPECT_EQ(found(p), Texts{"error: wayPointDepth 90.1 m is outside the depth envelope minDepth "
                              "10 m to maxDepth 90 m"});
    // A yo-yo mission never uses it.
    p.yoyoMission = 1;
    EXPECT_EQ(found(p), Texts{});
}

TEST(PlanCheck, SpeedsArePositiveAndSlowIsNotFaster) {
    MissionParameters p;
    p.missionSpeed = 0.001;
    p.missionSpeedSlow = 0.001;
    EXPECT_EQ(found(p), Texts{});
    p.missionSpeed = 0.0;
    p.missionSpeedSlow = -1.25;
    EXPECT_EQ(found(p), (Texts{"error: missionSpeed 0 m/s is not greater than 0",
                               "error: missionSpeedSlow -1.25 m/s is not greater than 0"}));
    p.missionSpeed = kNaN;
    p.missionSpeedSlow = 1.25;
    // One bad speed is not also compared with the other.
    EXPECT_EQ(found(p), Texts{"error: missionSpeed nan m/s is not greater than 0"});

    p = MissionParameters{};
    p.missionSpeedSlow = 1.5; // equal to missionSpeed
    EXPECT_EQ(found(p), Texts{});
    p.missionSpeedSlow = 1.51;
    EXPECT_EQ(found(p), Texts{"warning: missionSpeedSlow 1.51 m/s is above missionSpeed 1.5 m/s"});
}

TEST(PlanCheck, GpsHitsArePositive) {
    MissionParameters p;
    p.gpsHits = 1;
    EXPECT_EQ(found(p), Texts{});
    p.gpsHits = 0;
    EXPECT_EQ(found(p), Texts{"error: gpsHits 0 is not greater than 0"});
    p.gpsHits = -3;
    EXPECT_EQ(found(p), Texts{"error: gpsHits -3 is not greater than 0"});
}

TEST(PlanCheck, FlagsOtherThanZeroOrOneCountAsOff) {
    for (int value : {0, 1}) {
        MissionParameters p;
        p.gulperMission = p.abortOnTimeout = p.yoyoMission = value;
        EXPECT_EQ(found(p), Texts{}) << value;
    }
    for (int value : {2, -1}) {
        MissionParameters p;
        p.gulperMission = p.abortOnTimeout = p.yoyoMission = value;
        const std::string v = std::to_string(value);
        EXPECT_EQ(
            found(p),
            (Texts{"warning: gulperMission " + v + " is neither 0 nor 1 and counts as 0 (off)",
                   "warning: abortOnTimeout " + v + " is neither 0 nor 1 and counts as 0 (off)",
                   "warning: yoyoMission " + v + " is neither 0 nor 1 and counts as 0 (off)"}));
    }
}

TEST(PlanCheck, PositionsLieOnTheGlobeWithAHintWhenSwapped) {
    for (const auto& [lat, lon] : Pairs{{90, 180}, {-90, -180}}) {
        EXPECT_EQ(routeFindings({{lat, lon}}), Texts{}) << lat << " " << lon;
    }
    EXPECT_EQ(routeFindings({{90.0001, 100}}),
              Texts{"error: waypoint 1 at 90.0001 100: latitude outside -90..90"});
    EXPECT_EQ(
        routeFindings({{-91, 0}}),
        Texts{"error: waypoint 1 at -91 0: latitude outside -90..90; swapped, 0 -91 would fit"});
    EXPECT_EQ(routeFindings({{0, 180.0001}}),
              Texts{"error: waypoint 1 at 0 180.0001: longitude outside -180..180"});
    EXPECT_EQ(routeFindings({{100, 200}}),
              Texts{"error: waypoint 1 at 100 200: latitude outside -90..90, longitude outside "
                    "-180..180"});
    // A line written longitude first, on a leg left whole; a waypoint out of range has no
    // leg length to judge.
    EXPECT_EQ(routeFindings({{36.8167, -121.8171}, {-121.7986, 36.8215}}, 1e9),
              Texts{"error: waypoint 2 at -121.7986 36.8215: latitude outside -90..90; swapped, "
                    "36.8215 -121.7986 would fit"});
}

TEST(PlanCheck, IdenticalConsecutiveWaypoints) {
    EXPECT_EQ(routeFindings({{36.8, -121.9}, {36.8, -121.9}}),
              Texts{"warning: waypoint 1 and waypoint 2 are both at 36.8 -121.9 (a leg of 0 m)"});
    EXPECT_EQ(routeFindings({{36.8, -121.9}, {36.8001, -121.9}}), Texts{});
    // Returning to a position later is a closed survey, not a slip.
    EXPECT_EQ(routeFindings({{36.8, -121.9}, {36.81, -121.9}, {36.8, -121.9}}), Texts{});
}

TEST(PlanCheck, LongLegsOfTheFileNameTheFileWaypoints) {
    // Along the prime meridian 0.8993 degrees make 99997.598 m and 0.8994 degrees 100008.717 m
    // (111194.927 m per degree); the leg is cut into 28 pieces, so the file's second
    // waypoint becomes route waypoint 29.
    EXPECT_EQ(routeFindings({{0, 0}, {0.8993, 0}}), Texts{});
    EXPECT_EQ(routeFindings({{0, 0}, {0.8994, 0}, {0.9, 0}}),
              (Texts{"warning: leg from waypoint 1 at 0 0 to waypoint 29 (file waypoint 2) at "
                     "0.8994 0 is 100.009 km, longer than 100 km"}));
    // A waypoint after the split leg is named by both numbers too.
    EXPECT_EQ(routeFindings({{0, 0}, {0.8994, 0}, {0.8994, 0}}),
              (Texts{"warning: leg from waypoint 1 at 0 0 to waypoint 29 (file waypoint 2) at "
                     "0.8994 0 is 100.009 km, longer than 100 km",
                     "warning: waypoint 29 (file waypoint 2) and waypoint 30 (file waypoint 3) are "
                     "both at 0.8994 0 (a leg of 0 m)"}));
}

TEST(PlanCheck, LargeRoutes) {
    // 0.5 degrees along a meridian measure 55597.463 m: pieces of 5.561 m make 9998 pieces
    // and a route of 10000 points with the launch and last waypoints; 5.5608 m make 9999.
    EXPECT_EQ(routeFindings({{0, 0}, {0.5, 0}}, 5.561), Texts{});
    EXPECT_EQ(
        routeFindings({{0, 0}, {0.5, 0}}, 5.5608),
        Texts{"warning: the route has 10001 points, more than 10000 (maxLegMeters 5.5608 m)"});
}

TEST(PlanCheck, PlanPutsParametersFirstAndTellsErrorsFromWarnings) {
    WaypointList route;
    appendNode(route, 36.8, -121.9);
    appendNode(route, 36.8, -121.9);
    MissionParameters params;
    params.gulperMission = 2;
    RouteTotals totals;
    planRoute(route, params, totals);
    std::vector<PlanFinding> findings = checkPlan(params, route);
    EXPECT_EQ(texts(findings),
              (Texts{"warning: gulperMission 2 is neither 0 nor 1 and counts as 0 (off)",
                     "warning: waypoint 1 and waypoint 2 are both at 36.8 -121.9 (a leg of 0 m)"}));
    EXPECT_FALSE(hasError(findings));
    params.gpsHits = 0;
    findings = checkPlan(params, route);
    EXPECT_TRUE(hasError(findings));
    EXPECT_FALSE(hasError({}));
}

namespace {

void seabedCell(LegSeabed& seabed, std::int64_t column, double start, double end, double depth,
                DepthState state) {
    const double lon = (seabed.leg == 0 ? -121.9 + start * 2e-5 : -121.89 + start * 1e-5);
    seabed.cells.push_back(LegCell{column, 0, state, depth, true, start, end, {36.8, lon}, 0, 0});
}

// One leg of 1000 m from waypoint 1 to waypoint 2 behind a launch leg of 500 m, sampled
// every 100 m with the judged depths given (NaN for a place without depth).
SeaSurvey seabedOf(const std::vector<double>& shallowest, DepthState unknownState) {
    SeaSurvey survey;
    survey.gridFile = "bathy.tif";
    survey.legs.resize(2);
    survey.legs[0] = SurveyLeg{0, 0, 1, {36.8, -121.9}, {36.8, -121.89}, 500.0, 0.0, true};
    survey.legs[1] = SurveyLeg{1, 1, 2, {36.8, -121.89}, {36.8, -121.88}, 1000.0, 500.0, true};
    LegSeabed launch{0, 90.0, 110.0, 250.0, {}, {}};
    for (const double along : {0.0, 250.0, 500.0}) {
        launch.samples.push_back(DepthSample{along, along, 36.8, -121.9 + along * 2e-5,
                                             DepthState::known, 200.0, 200.0});
    }
    LegSeabed leg{1, 90.0, 110.0, 100.0, {}, {}};
    for (std::size_t i = 0; i < shallowest.size(); ++i) {
        const double along = 100.0 * static_cast<double>(i);
        const bool known = !std::isnan(shallowest[i]);
        leg.samples.push_back(DepthSample{along, 500.0 + along, 36.8, -121.89 + along * 1e-5,
                                          known ? DepthState::known : unknownState,
                                          shallowest[i] + 1.0, shallowest[i]});
    }
    // One cell under each sample, 100 m wide, and one under the launch leg.
    for (seabedCell(launch, 0, 0.0, 500.0, 200.0, DepthState::known);
         const DepthSample& sample : leg.samples) {
        const LegStretch span = sampleSpan(leg.samples, leg.cells.size());
        seabedCell(leg, static_cast<std::int64_t>(leg.cells.size()), span.start, span.end,
                   sample.shallowest, sample.state);
    }
    survey.seabed = {launch, leg};
    return survey;
}

} // namespace

TEST(PlanCheck, SeaFindingsGiveEachStretchOfTheLegAndItsFirstPlace) {
    // Land at 200 and 300 m and at 700 m along the leg: each sample stands for the 100 m
    // around it, so 150..350 m and 650..750 m, 300 m in all.
    const std::vector<double> depths = {50, 50, -1, -2, 50, 50, 50, 0, 50, 50, 50};
    std::vector<PlanFinding> findings =
        checkSea(MissionParameters{}, seabedOf(depths, DepthState::offGrid));
    ASSERT_GE(findings.size(), 2u);
    EXPECT_EQ(findingText(findings[1]),
              "error: land under the leg from waypoint 1 to waypoint 2 over 300.0 m of its "
              "1000.0 m, first at 150.0 m along it (36.80000 -121.88850): depth -1.0 m, "
              "shallowest -2.0 m (the vehicle would run aground)");
    ASSERT_TRUE(findings[1].place.has_value());
    const FindingPlace& place = *findings[1].place;
    EXPECT_EQ(place.leg, 1u);
    ASSERT_EQ(place.stretches.size(), 2u);
    EXPECT_EQ(place.stretches[0].start, 150.0);
    EXPECT_EQ(place.stretches[0].end, 350.0);
    EXPECT_EQ(place.stretches[1].start, 650.0);
    EXPECT_EQ(place.stretches[1].end, 750.0);
    EXPECT_EQ(place.depth, -1.0);
    // The ends of a leg stand for half a step: land at the first sample only is 50 m.
    findings = checkSea(MissionParameters{},
                        seabedOf({0, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50}, DepthState::offGrid));
    EXPECT_EQ(findingText(findings[1]).substr(0, 68),
              "error: land under the leg from waypoint 1 to waypoint 2 over 50.0 m ");
    EXPECT_TRUE(hasError(findings));
}

TEST(PlanCheck, UnknownDepthSaysWhyAndHowLong) {
    const double none = std::nan("");
    const std::vector<double> depths = {200, 200, none, none, 200, 200, 200, 200, 200, 200, none};
    std::vector<PlanFinding> findings =
        checkSea(MissionParameters{}, seabedOf(depths, DepthState::offGrid));
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findingText(findings[1]),
              "warning: no depth under the leg from waypoint 1 to waypoint 2 over 250.0 m of its "
              "1000.0 m, first at 150.0 m along it (36.80000 -121.88850): off the grid, so "
              "nothing there is checked");
    EXPECT_TRUE(std::isnan(findings[1].place->depth));
    EXPECT_FALSE(hasError(findings));
    findings = checkSea(MissionParameters{}, seabedOf(depths, DepthState::noData));
    EXPECT_NE(findings[1].message.find(": the grid has no data there, so"), std::string::npos);
    // The note of the grid comes first: cells of 90 m by 110 m against the launch leg of
    // 500 m, and the seabed's step from 200 m to 200 m.
    EXPECT_EQ(findingText(findings[0]),
              "note: grid bathy.tif: cells of 90 m by 110 m at the route, smaller than the "
              "shortest leg (500.0 m, from waypoint 0 to waypoint 1); every cell under the "
              "route holds the same depth");
    EXPECT_EQ(findings[0].severity, FindingSeverity::note);
}

TEST(PlanCheck, KeepOutAreasAndTheOperatingRegion) {
    SeaSurvey survey;
    survey.keepOutMargin = 50.0;
    survey.legs.resize(3);
    survey.legs[0] = SurveyLeg{0, 0, 1, {36.80, -121.90}, {36.80, -121.89}, 500.0, 0.0, true};
    survey.legs[1] = SurveyLeg{1, 1, 2, {36.80, -121.89}, {36.81, -121.89}, 1000.0, 500.0, true};
    survey.legs[2] = SurveyLeg{2, 2, 3, {36.81, -121.89}, {36.82, -121.89}, 1000.0, 1500.0, true};
    survey.zones = {SeaZone{ZoneKind::keepOut, "land.json", "7", {}, true, "Self-intersection"},
                    SeaZone{ZoneKind::keepOut, "closures.kml", "Platform A", {}, false, ""},
                    SeaZone{ZoneKind::opRegion, "permit.geojson", "", {}, false, ""}};
    LegZonePass enters{0, 0, false, false, true, {120.0, {36.8, -121.8987}}, false, 0.0, {}};
    LegZonePass inside{1, 1, false, true, false, {}, false, 0.0, {}};
    LegZonePass near{1, 0, false, false, false, {}, true, 12.3, {400.0, {36.8036, -121.89}}};
    LegZonePass leaves{1, 2, true, true, true, {300.0, {36.8027, -121.89}}, false, 0.0, {}};
    LegZonePass outside{2, 2, true, false, true, {1000.0, {36.82, -121.89}}, false, 0.0, {}};
    LegZonePass lastInside{2, 1, true, true, false, {}, false, 0.0, {}};
    survey.passes = {enters, near, inside, leaves, lastInside, outside};
    const std::vector<PlanFinding> findings = checkSea(MissionParameters{}, survey);
    EXPECT_EQ(texts(findings),
              (Texts{"error: the launch leg, from waypoint 0 to waypoint 1, enters keep-out area "
                     "7 of land.json at 120.0 m along it (36.80000 -121.89870)",
                     "warning: the leg from waypoint 1 to waypoint 2 passes 12.3 m from keep-out "
                     "area 7 of land.json, closer than keepOutMargin 50 m, from 400.0 m along it "
                     "(36.80360 -121.89000)",
                     "error: the leg from waypoint 1 to waypoint 2 leaves the operating region of "
                     "permit.geojson at 300.0 m along it (36.80270 -121.89000)",
                     "error: waypoint 2 at 36.81000 -121.89000 is inside keep-out area \"Platform "
                     "A\" of closures.kml",
                     "error: waypoint 3 at 36.82000 -121.89000 is inside keep-out area \"Platform "
                     "A\" of closures.kml",
                     "error: waypoint 3 at 36.82000 -121.89000 is outside the operating region "
                     "of permit.geojson",
                     "error: the leg from waypoint 2 to waypoint 3 leaves the operating region of "
                     "permit.geojson at 1000.0 m along it, at waypoint 3 (36.82000 -121.89000)",
                     "note: keep-out area 7 of land.json is not a valid polygon near the route "
                     "(Self-intersection); it was made valid before the check"}));
    EXPECT_EQ(findings[0].place->stretches[0].start, 120.0);
    EXPECT_EQ(findings[3].place->leg, 2u);
    EXPECT_EQ(findings[3].place->stretches[0].start, 0.0);
    EXPECT_EQ(findings[4].place->stretches[0].start, 1000.0);
    EXPECT_FALSE(findings[7].place.has_value());
}

// Legs of one kind become one finding with their count, the first and the longest; along the
// equator a degree is 111194.927 m on the planner's sphere.
TEST(PlanCheck, RepeatedLegFindingsAreOneLine) {
    EXPECT_EQ(routeFindings({{0, 0}, {0, 1}, {0, 2}, {0, 3.5}}, 1e9),
              Texts{"warning: legs longer than 100 km: 3 legs, the first from waypoint 1 at 0 0 "
                    "to waypoint 2 at 0 1 is 111.195 km, the longest from waypoint 3 to waypoint "
                    "4 is 166.792 km"});
    EXPECT_EQ(routeFindings({{0, 0}, {0, 0}, {0, 0}}),
              Texts{"warning: legs of 0 m: 2 legs, the first where waypoint 1 and waypoint 2 are "
                    "both at 0 0 (a leg of 0 m)"});
}

// 1.5 degrees east along 60 N (83394.4 m, first course 89.350 degrees) cut every 3600 m:
// each point dead-reckoned on that course from the one before drifts north of the great
// circle, 21 of the 23 by more than 10 m, the last 891.4 m (worked out apart from the
// program with pi in full; the planner's headings take it as 3.14159, 0.1 m less here).
// Along a meridian the course is the great circle, and nothing drifts.
TEST(PlanCheck, SplitPointsOffTheGreatCircleOfTheirLeg) {
    const Texts drift = routeFindings({{60, 0}, {60, 1.5}});
    ASSERT_EQ(drift.size(), 1u);
    EXPECT_EQ(drift[0].rfind("warning: 21 split points lie more than 10 m off the great circle of "
                             "their leg, the farthest waypoint 24 at 60.00807",
                             0),
              0u)
        << drift[0];
    EXPECT_NE(drift[0].find(", 891.3 m off the leg from waypoint 1 to waypoint 25 ("),
              std::string::npos)
        << drift[0];
    EXPECT_EQ(routeFindings({{0, 0}, {0.8993, 0}}), Texts{});
}
