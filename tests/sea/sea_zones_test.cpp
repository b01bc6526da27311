// Tests of the zones near the route: far areas left out, large ones cut to the route's
// surroundings, invalid ones repaired or refused, rings cut at 180 degrees kept whole.
#include "sea/sea_zones.h"
#include "zone_fixtures.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

OGREnvelope envelopeOf(const std::vector<GeoArea>& parts) {
    OGREnvelope envelope;
    envelope.MinX = envelope.MinY = 1e9;
    envelope.MaxX = envelope.MaxY = -1e9;
    for (const GeoArea& part : parts) {
        for (const GeoPoint& point : part.outer) {
            envelope.MinX = std::min(envelope.MinX, point.lon);
            envelope.MaxX = std::max(envelope.MaxX, point.lon);
            envelope.MinY = std::min(envelope.MinY, point.lat);
            envelope.MaxY = std::max(envelope.MaxY, point.lat);
        }
    }
    return envelope;
}

} // namespace

TEST(SeaZones, AreasFarFromTheRouteAreLeftOutAndLargeOnesCut) {
    const std::vector<SurveyLeg> legs = routeThrough({{36.80, -121.95}, {36.80, -121.90}});
    const ZonesResult result = prepareZones(
        {keepOut({box("far", 10.0, 10.0, 11.0, 11.0), box("ocean", 30.0, -130.0, 40.0, -115.0),
                  box("just out of reach", 36.80, -121.85, 36.81, -121.84)})},
        legs, 500.0);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.zones.size(), 1u);
    const SeaZone& zone = result.zones[0].record;
    EXPECT_EQ(zone.name, "ocean");
    EXPECT_FALSE(zone.repaired);
    // Cut to the route with 500 m of margin and 2 km more on every side, measured by hand.
    const OGREnvelope cut = envelopeOf(zone.parts);
    const double lat = 2500.0 / kDegree;
    const double lon = 2500.0 / (kDegree * std::cos((36.80 + lat) * kPi / 180.0));
    EXPECT_NEAR(cut.MinY, 36.80 - lat, 1e-9);
    EXPECT_NEAR(cut.MaxY, 36.80 + lat, 1e-9);
    EXPECT_NEAR(cut.MinX, -121.95 - lon, 1e-9);
    EXPECT_NEAR(cut.MaxX, -121.90 + lon, 1e-9);
}

// A star of thin spikes round the route, left uncut: what the route's surroundings see of it
// is the same water as OGR's own overlay of the whole star with them.
TEST(SeaZones, AManySpikedStarIsWhatAnOverlayLeavesInTheSurroundings) {
    const std::vector<SurveyLeg> legs = routeThrough({{0.0, -0.02}, {0.0, 0.02}});
    GeoArea star{"star", {}, {}};
    for (int i = 0; i < 4000; ++i) {
        const double a = 2.0 * kPi * i / 4000.0;
        const double reach = i % 2 == 0 ? 0.05 : 0.01;
        star.outer.push_back({reach * std::cos(a), reach * std::sin(a)});
    }
    const ZonesResult result = prepareZones({keepOut({star})}, legs, 100.0);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.zones.size(), 1u);
    EXPECT_FALSE(result.zones[0].record.repaired);
    OGRPolygon whole;
    OGRLinearRing ring;
    for (const GeoPoint& point : star.outer) {
        ring.addPoint(point.lon, point.lat);
    }
    ring.closeRings();
    whole.addRing(&ring);
    const OGRGeometryUniquePtr overlay(whole.Intersection(boxPolygon(result.surroundings).get()));
    ASSERT_TRUE(overlay);
    ASSERT_EQ(wkbFlatten(overlay->getGeometryType()), wkbPolygon);
    const double expected = overlay->toPolygon()->get_Area();
    EXPECT_TRUE(result.zones[0].reachesBeyond);
    const OGRGeometryUniquePtr seen = clippedToBox(*result.zones[0].geometry, result.surroundings);
    ASSERT_TRUE(seen);
    EXPECT_NEAR(OGR_G_Area(OGRGeometry::ToHandle(seen.get())), expected, expected * 1e-12);
    EXPECT_TRUE(seen->IsValid());
}

TEST(SeaZones, AnInvalidPolygonNearTheRouteIsMadeValidAndNoted) {
    const std::vector<SurveyLeg> legs = routeThrough({{0.0, 0.0}, {0.0, 0.02}});
    // A bow tie: its ring crosses itself at 0, 0.01.
    const GeoArea bowTie{"bow tie", {{-0.01, 0.0}, {0.01, 0.02}, {-0.01, 0.02}, {0.01, 0.0}}, {}};
    const ZonesResult result = prepareZones({keepOut({bowTie})}, legs, 0.0);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.zones.size(), 1u);
    const SeaZone& zone = result.zones[0].record;
    EXPECT_TRUE(zone.repaired);
    EXPECT_NE(zone.invalidReason.find("Self-intersection"), std::string::npos)
        << zone.invalidReason;
    EXPECT_EQ(zone.parts.size(), 2u); // the two triangles
    EXPECT_TRUE(result.zones[0].geometry->IsValid());
}

// Of an area of a coast's detail only what lies near the route is judged: a square of
// 20 000 vertices whose ring crosses itself at one far corner (at 0.95, 0.95) is a plain
// square to a route 90 km away, cut to the route's surroundings whole, and a repaired
// one, noted, to a route past that corner.
TEST(SeaZones, AnAreaOfManyVerticesIsJudgedValidOrNotNearTheRouteOnly) {
    GeoArea twisted{
        "twisted", {{0.0, 0.0}, {0.0, 1.0}, {0.9, 1.0}, {1.0, 0.9}, {1.0, 1.0}, {0.9, 0.9}}, {}};
    for (int k = 0; k < 20000; ++k) {
        twisted.outer.push_back({1.0 - k / 20000.0, 0.0}); // down the western side
    }
    struct Case {
        GeoPoint from, to;
        bool repaired;
    };
    for (const Case& c :
         {Case{{0.10, 0.10}, {0.10, 0.20}, false}, Case{{0.95, 0.80}, {0.95, 0.99}, true}}) {
        const std::vector<SurveyLeg> legs = routeThrough({c.from, c.to});
        const ZonesResult result = prepareZones({keepOut({twisted})}, legs, 0.0);
        ASSERT_TRUE(result.ok) << result.error;
        ASSERT_EQ(result.zones.size(), 1u);
        const ZoneShape& zone = result.zones[0];
        EXPECT_EQ(zone.record.repaired, c.repaired) << c.from.lat;
        EXPECT_EQ(zone.record.invalidReason.find("Self-intersection") != std::string::npos,
                  c.repaired)
            << zone.record.invalidReason;
        EXPECT_TRUE(zone.geometry->IsValid());
        if (!c.repaired) {
            // Wholly inside the square: the zone is the surroundings themselves.
            const GeoBox& b = result.surroundings;
            const double expected = (b.east - b.west) * (b.north - b.south);
            EXPECT_NEAR(zone.geometry->toMultiPolygon()->get_Area(), expected, expected * 1e-12);
        }
    }
}

TEST(SeaZones, APolygonThatCannotBeMadeValidStopsTheRun) {
    const std::vector<SurveyLeg> legs = routeThrough({{0.0, 0.0}, {0.0, 0.02}});
    // All its corners on one line: no area to keep out, which is no keep-out area.
    const GeoArea flat{"flat", {{0.0, 0.0}, {0.0, 0.01}, {0.0, 0.02}}, {}};
    const ZonesResult result = prepareZones({keepOut({flat}, "flat.geojson")}, legs, 0.0);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(
        result.error.rfind("*** --keepOut flat.geojson: area flat is not a valid polygon (", 0), 0u)
        << result.error;
    EXPECT_NE(result.error.find(") and cannot be made one ***"), std::string::npos);
}

TEST(SeaZones, AWorldIslandCutAtTheAntimeridianStaysAnIsland) {
    // Natural Earth's Vanua Levu and Taveuni pieces east of 179.9 E, as world-atlas stores
    // them: rings that step from 180 to -180 and back, invalid taken literally.
    const std::vector<GeoArea> islands = areasInFile(seaData("ne10m_land_antimeridian.geojson"));
    ASSERT_EQ(islands.size(), 2u);
    // A route across the island near 180 E finds it as an island a few kilometers wide ...
    const std::vector<SurveyLeg> near = routeThrough({{-16.95, 179.85}, {-16.95, 179.99}});
    ZonesResult result = prepareZones({keepOut(islands, "land.json")}, near, 0.0);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_GE(result.zones.size(), 1u);
    const OGREnvelope island = envelopeOf(result.zones[0].record.parts);
    EXPECT_GT(island.MinX, 179.8);
    EXPECT_LE(island.MaxX, 180.0 + 1e-9);
    EXPECT_TRUE(result.zones[0].record.repaired);
    // ... and a route far away at the same latitude meets no strip of land round the world.
    for (const double lon : {-170.0, 0.0, 170.0}) {
        result = prepareZones({keepOut(islands, "land.json")},
                              routeThrough({{-16.9, lon}, {-16.8, lon + 0.01}}), 0.0);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_TRUE(result.zones.empty()) << lon;
    }
}

TEST(SeaZones, TheOperatingRegionIsOneZoneOfAllItsAreas) {
    const std::vector<SurveyLeg> legs = routeThrough({{0.001, 0.001}, {0.001, 0.019}});
    ZoneSource region{
        ZoneKind::opRegion,
        "region.kml",
        {box("west half", 0.0, 0.0, 0.01, 0.01), box("east half", 0.0, 0.01, 0.01, 0.02)}};
    ZonesResult result = prepareZones({region}, legs, 0.0);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.zones.size(), 1u);
    EXPECT_EQ(result.zones[0].record.kind, ZoneKind::opRegion);
    EXPECT_EQ(result.zones[0].record.parts.size(), 1u); // the two halves joined
    region.areas.clear();
    result = prepareZones({region}, legs, 0.0);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "*** --opRegion region.kml: the file holds no area ***");
}

TEST(SeaZones, LongitudesRunOnAcrossTheAntimeridian) {
    const std::vector<SurveyLeg> legs =
        routeThrough({{-16.9, 179.98}, {-16.9, -179.98}, {-16.91, -179.97}});
    const std::vector<double> turns = routeRun(legs);
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_EQ(turns[0], 0.0);
    EXPECT_EQ(turns[1], 360.0);
    const GeoBox around = routeSurroundings(legs, 0.0);
    EXPECT_NEAR(around.west, 179.98, 1e-9);
    EXPECT_NEAR(around.east, 180.03, 1e-9);
    // An area stored west of the antimeridian is found east of it, on the route's run.
    const ZonesResult result =
        prepareZones({keepOut({box("reef", -16.95, -179.99, -16.85, -179.985)})}, legs, 0.0);
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(result.zones.size(), 1u);
    const OGREnvelope reef = envelopeOf(result.zones[0].record.parts);
    EXPECT_NEAR(reef.MinX, 180.01, 1e-9);
    EXPECT_NEAR(reef.MaxX, 180.015, 1e-9);
}
