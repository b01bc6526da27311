// Tests of the cuts of polygons of many vertices to boxes, made from what each box can see
// of their rings: the same water as OGR's overlay of the whole with the box.
#include "sea/near_box.h"
#include "sea/sea_zones.h"

#include <cmath>
#include <gtest/gtest.h>
#include <ogr_api.h>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A wavy ring of count vertices round (0, 0), reach degrees from it; clockwise for a hole.
OGRLinearRing wavyRing(int count, double reach, double waves, bool clockwise) {
    OGRLinearRing ring;
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * kPi * (clockwise ? count - i : i) / count;
        const double r = reach * (1.0 + 0.1 * std::sin(waves * a));
        ring.addPoint(r * std::cos(a), r * std::sin(a));
    }
    ring.closeRings();
    return ring;
}

} // namespace

TEST(NearBox, CutsOfPolygonsOfManyVerticesAreTheOverlaysOfTheWhole) {
    // Land round a lake with a rock in it, 10 500 vertices.
    OGRPolygon shore;
    OGRLinearRing outer = wavyRing(5000, 1.0, 40.0, false);
    OGRLinearRing lake = wavyRing(3000, 0.4, 25.0, true);
    shore.addRing(&outer);
    shore.addRing(&lake);
    OGRPolygon rock;
    OGRLinearRing rockRing = wavyRing(2500, 0.1, 7.0, false);
    rock.addRing(&rockRing);
    // East of them a crown over the box (10, 11, 0, 1): an arch of 3000 vertices far north of
    // the box, and under it a tooth from the box to y 3. Were the arch put as its ends alone,
    // the tooth would be the top, and turn the other way.
    OGRLinearRing crownRing;
    crownRing.addPoint(10.1, -1.0);
    for (int i = 0; i <= 3000; ++i) {
        const double a = kPi * i / 3000.0;
        crownRing.addPoint(10.5 - 0.4 * std::cos(a), 1.5 + 18.5 * std::sin(a));
    }
    for (const auto& [x, y] : {std::pair{10.9, 0.5},
                               {10.6, 0.5},
                               {10.6, 3.0},
                               {10.5, 3.0},
                               {10.5, 0.4},
                               {10.95, 0.3},
                               {10.95, -1.0}}) {
        crownRing.addPoint(x, y);
    }
    crownRing.closeRings();
    OGRPolygon crown;
    crown.addRing(&crownRing);
    OGRMultiPolygon land;
    land.addGeometry(&shore);
    land.addGeometry(&rock);
    land.addGeometry(&crown);
    ASSERT_TRUE(land.IsValid());
    ASSERT_GT(PolygonsNearBox(land).vertices(), 10000u);
    const BoxCutter cutter(land);
    const GeoBox boxes[] = {
        {-0.2, 0.2, 0.95, 1.2},      // over the top of the shore, where GEOS reads its turn
        {0.5, 0.7, -0.1, 0.1},       // on land, clear of every ring: the whole box
        {-0.25, -0.15, -0.05, 0.05}, // in the lake: nothing
        {2.0, 3.0, 2.0, 3.0},        // far out: nothing
        {0.3, 0.5, -0.2, 0.2},       // across the lake's shore
        {-0.12, 0.0, -0.12, 0.12},   // half the rock
        {-1.5, 1.5, -0.001, 0.001},  // a strip across everything
        {-2.0, 2.0, -2.0, 2.0},      // round everything
    };
    for (const GeoBox& box : boxes) {
        SCOPED_TRACE(::testing::Message()
                     << box.west << " " << box.east << " " << box.south << " " << box.north);
        const OGRGeometryUniquePtr cut = cutter.cut(box);
        ASSERT_TRUE(cut);
        EXPECT_TRUE(cut->IsValid());
        const OGRGeometryUniquePtr overlay(land.Intersection(boxPolygon(box).get()));
        ASSERT_TRUE(overlay);
        const double expected =
            overlay->IsEmpty() ? 0.0 : OGR_G_Area(OGRGeometry::ToHandle(overlay.get()));
        const double area = cut->IsEmpty() ? 0.0 : OGR_G_Area(OGRGeometry::ToHandle(cut.get()));
        EXPECT_NEAR(area, expected, 1e-12);
        EXPECT_TRUE(cut->IsEmpty() == overlay->IsEmpty());
    }
}
