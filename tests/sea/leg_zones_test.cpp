// Tests of how legs meet zones: crossing with the first place of entry, a point inside, a
// near pass against the margin, leaving the operating region, across the antimeridian.
#include "sea/leg_zones.h"
#include "zone_fixtures.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

std::vector<LegZonePass> passesOf(const std::vector<SurveyLeg>& legs,
                                  const std::vector<ZoneSource>& sources, double margin) {
    const ZonesResult zones = prepareZones(sources, legs, margin);
    EXPECT_TRUE(zones.ok) << zones.error;
    const PassesResult passes = measurePasses(legs, zones.zones, margin);
    EXPECT_TRUE(passes.ok) << passes.error;
    return passes.passes;
}

} // namespace

TEST(LegZones, ALegCrossingAKeepOutAreaEntersWhereItsEdgeIs) {
    // Due north along the meridian 0.005 E, a great circle, into a square whose south edge
    // lies at 0.004 N: the entry is 0.004 - (-0.01) degrees of arc from the start.
    const std::vector<SurveyLeg> legs = routeThrough({{-0.01, 0.005}, {0.02, 0.005}});
    const std::vector<LegZonePass> passes =
        passesOf(legs, {keepOut({box("platform", 0.004, 0.0, 0.008, 0.01)})}, 0.0);
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_FALSE(passes[0].startInside);
    EXPECT_FALSE(passes[0].endInside);
    EXPECT_TRUE(passes[0].crosses);
    EXPECT_NEAR(passes[0].crossing.alongLeg, 0.014 * kDegree, 0.01);
    EXPECT_NEAR(passes[0].crossing.position.lat, 0.004, 1e-7);
    EXPECT_NEAR(passes[0].crossing.position.lon, 0.005, 1e-9);
}

// A zone of many vertices is cut to each leg's surroundings before the leg is laid over it:
// the same square drawn with thousands of vertices along its edges gives the same entry, the
// same near pass and the same exit as the square of four corners, measured by hand in the
// tests about it.
TEST(LegZones, AZoneOfManyVerticesMeetsTheLegsAsItsFewVerticesDo) {
    GeoArea dense{"platform", {}, {}};
    const GeoArea square = box("platform", 0.004, 0.0, 0.008, 0.01);
    for (std::size_t corner = 0; corner < 4; ++corner) {
        const GeoPoint a = square.outer[corner];
        const GeoPoint b = square.outer[(corner + 1) % 4];
        for (int k = 0; k < 1000; ++k) {
            dense.outer.push_back(
                {a.lat + (b.lat - a.lat) * k / 1000.0, a.lon + (b.lon - a.lon) * k / 1000.0});
        }
    }
    const std::vector<SurveyLeg> across = routeThrough({{-0.01, 0.005}, {0.02, 0.005}});
    const std::vector<LegZonePass> entered = passesOf(across, {keepOut({dense})}, 0.0);
    ASSERT_EQ(entered.size(), 1u);
    EXPECT_TRUE(entered[0].crosses);
    EXPECT_NEAR(entered[0].crossing.alongLeg, 0.014 * kDegree, 0.01);
    EXPECT_NEAR(entered[0].crossing.position.lat, 0.004, 1e-7);
    const double lon = 0.01 + 95.0 / kDegree;
    const std::vector<SurveyLeg> beside = routeThrough({{-0.02, lon}, {0.03, lon}});
    const std::vector<LegZonePass> near = passesOf(beside, {keepOut({dense})}, 100.0);
    // As an operating region, left northwards through its north edge at 0.008 N.
    const std::vector<LegZonePass> left =
        passesOf(routeThrough({{0.005, 0.005}, {0.02, 0.005}}),
                 {ZoneSource{ZoneKind::opRegion, "region.geojson", {dense}}}, 0.0);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(left[0].crosses);
    EXPECT_NEAR(left[0].crossing.alongLeg, 0.003 * kDegree, 0.01);
    EXPECT_NEAR(left[0].crossing.position.lat, 0.008, 1e-7);
    ASSERT_EQ(near.size(), 1u);
    EXPECT_TRUE(near[0].near);
    EXPECT_NEAR(near[0].nearest, 95.0, 0.01);
    EXPECT_NEAR(near[0].nearFrom.alongLeg, 0.024 * kDegree - std::sqrt(100.0 * 100 - 95.0 * 95),
                0.5);
}

TEST(LegZones, RoutePointsInsideAndOnTheEdgeCountAsInside) {
    const std::vector<SurveyLeg> legs =
        routeThrough({{0.005, 0.005}, {0.005, 0.03}, {0.02, 0.03}, {0.01, 0.01}});
    const std::vector<LegZonePass> passes =
        passesOf(legs, {keepOut({box("wreck", 0.0, 0.0, 0.01, 0.01)})}, 0.0);
    // The first leg starts inside; the last ends on the corner.
    ASSERT_EQ(passes.size(), 2u);
    EXPECT_EQ(passes[0].leg, 0u);
    EXPECT_TRUE(passes[0].startInside);
    EXPECT_FALSE(passes[0].crosses); // already inside: the point is what is reported
    EXPECT_EQ(passes[1].leg, 2u);
    EXPECT_FALSE(passes[1].startInside);
    EXPECT_TRUE(passes[1].endInside);
    EXPECT_TRUE(passes[1].crosses);
    EXPECT_NEAR(passes[1].crossing.alongLeg, legs[2].length, 0.01);
}

TEST(LegZones, ANearPassIsMeasuredAgainstTheMargin) {
    // Along the meridian d east of a square's east edge (0.01 E), at the equator, where a
    // degree of longitude is a degree of arc: the leg passes d * kDegree from the square.
    struct Case {
        double metersEast;
        double margin;
        bool near;
    };
    for (const Case c : {Case{95.0, 100.0, true}, Case{105.0, 100.0, false}, Case{95.0, 0.0, false},
                         Case{10.0, 20.0, true}}) {
        SCOPED_TRACE(c.metersEast);
        const double lon = 0.01 + c.metersEast / kDegree;
        const std::vector<SurveyLeg> legs = routeThrough({{-0.02, lon}, {0.03, lon}});
        const std::vector<LegZonePass> passes =
            passesOf(legs, {keepOut({box("pipeline", 0.0, 0.0, 0.01, 0.01)})}, c.margin);
        ASSERT_EQ(passes.size(), c.near ? 1u : 0u);
        if (!c.near) {
            continue;
        }
        EXPECT_FALSE(passes[0].crosses);
        EXPECT_TRUE(passes[0].near);
        EXPECT_NEAR(passes[0].nearest, c.metersEast, 0.01);
        // Within the margin first where the circle of the margin about the south-east
        // corner reaches the leg: sqrt(margin^2 - d^2) south of the corner's latitude.
        const double before = std::sqrt(c.margin * c.margin - c.metersEast * c.metersEast);
        EXPECT_NEAR(passes[0].nearFrom.alongLeg, 0.02 * kDegree - before, 0.5);
    }
    // Northwards from 60 N, a thousandth of a degree north of a wide zone's edge along the
    // parallel: an edge is a straight line of latitude and longitude, 0.001 degree of arc
    // from the leg's start, not the chord between its ends, which passes some 0.2 m nearer.
    const std::vector<LegZonePass> passes =
        passesOf(routeThrough({{60.0, 0.0}, {60.05, 0.0}}),
                 {keepOut({box("shelf", 59.99, -0.1, 59.999, 0.1)})}, 150.0);
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_NEAR(passes[0].nearest, 0.001 * kDegree, 0.01);
    EXPECT_NEAR(passes[0].nearFrom.alongLeg, 0.0, 0.01);
}

TEST(LegZones, LeavingTheOperatingRegionAndPointsOutsideIt) {
    const ZoneSource region{
        ZoneKind::opRegion, "region.geojson", {box("permit", 0.0, 0.0, 0.01, 0.01)}};
    // North along 0.005 E from inside, out through the north edge at 0.01 N.
    std::vector<SurveyLeg> legs = routeThrough({{0.002, 0.005}, {0.02, 0.005}});
    std::vector<LegZonePass> passes = passesOf(legs, {region}, 0.0);
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_TRUE(passes[0].startInside);
    EXPECT_FALSE(passes[0].endInside);
    EXPECT_TRUE(passes[0].crosses);
    EXPECT_NEAR(passes[0].crossing.alongLeg, 0.008 * kDegree, 0.01);
    // Wholly inside: a pass with nothing to report, one for every leg.
    legs = routeThrough({{0.002, 0.002}, {0.008, 0.008}, {0.002, 0.008}});
    passes = passesOf(legs, {region}, 0.0);
    ASSERT_EQ(passes.size(), 2u);
    for (const LegZonePass& pass : passes) {
        EXPECT_TRUE(pass.startInside);
        EXPECT_TRUE(pass.endInside);
        EXPECT_FALSE(pass.crosses);
    }
    // Far outside: every point outside, and the region cut to nothing.
    legs = routeThrough({{1.0, 1.0}, {1.0, 1.01}});
    passes = passesOf(legs, {region}, 0.0);
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_FALSE(passes[0].startInside);
    EXPECT_FALSE(passes[0].endInside);
}

TEST(LegZones, ALegAcrossTheAntimeridianMeetsAreasOnTheFarSide) {
    const std::vector<SurveyLeg> legs = routeThrough({{-16.9, 179.98}, {-16.9, -179.98}});
    const std::vector<LegZonePass> passes =
        passesOf(legs, {keepOut({box("reef", -16.95, -179.99, -16.85, -179.985)})}, 0.0);
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_TRUE(passes[0].crosses);
    // 0.03 degrees of longitude east of the start, at 16.9 S.
    EXPECT_NEAR(passes[0].crossing.alongLeg, greatCircleDistance(-16.9, 179.98, -16.9, 180.01),
                1.0);
    EXPECT_NEAR(passes[0].crossing.position.lon, 180.01, 1e-4);
}
