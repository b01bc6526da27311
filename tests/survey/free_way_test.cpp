// Tests of the shortest way through the water, round islands and bays, against distances
// worked by hand and OGR's view of what a way crosses.
#include "survey/free_way.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <ogr_geometry.h>

namespace {

// Meters of the way that lie inside the polygon given by its ring, not counting its edges.
double insideLength(const PlaneRing& ring, const std::vector<PlanePoint>& way) {
    OGRPolygon polygon;
    auto* linear = new OGRLinearRing;
    for (const PlanePoint& p : ring) {
        linear->addPoint(p.x, p.y);
    }
    linear->closeRings();
    polygon.addRingDirectly(linear);
    OGRLineString line;
    for (const PlanePoint& p : way) {
        line.addPoint(p.x, p.y);
    }
    std::unique_ptr<OGRGeometry> interior(polygon.Buffer(-1e-6));
    std::unique_ptr<OGRGeometry> inside(interior->Intersection(&line));
    double length = 0.0;
    if (const OGRCurve* curve = dynamic_cast<const OGRCurve*>(inside.get())) {
        length = curve->get_Length();
    } else if (const auto* lines = dynamic_cast<const OGRMultiLineString*>(inside.get())) {
        length = lines->get_Length();
    }
    return length;
}

} // namespace

TEST(FreeWay, RoundAnIslandAndABayNeverAcross) {
    const PlaneRing island{{40, 40}, {60, 40}, {60, 60}, {40, 60}};
    const PlaneRing bay{{0, 0},   {100, 0}, {100, 100}, {70, 100},
                        {70, 30}, {30, 30}, {30, 100},  {0, 100}};
    // A shore of teeth 20 m apart, 3 m high, and between each two a spike 1 m high: the
    // spikes lie 2 m behind the straight way between the teeth, in the dent it closes.
    PlaneRing teeth;
    for (int i = 0; i < 10; ++i) {
        const double x = 20.0 * i;
        for (const PlanePoint p : {PlanePoint{x + 1, 0},
                                   {x + 2, 3},
                                   {x + 3, 0},
                                   {x + 9.9, 0},
                                   {x + 10, 1},
                                   {x + 10.1, 0}}) {
            teeth.push_back(p);
        }
    }
    for (const PlanePoint p : {PlanePoint{200, 0}, {200, 50}, {0, 50}, {0, 0}}) {
        teeth.push_back(p);
    }
    const struct {
        const char* name;
        PlaneArea area;
        PlanePoint from, to;
        double length;
        const PlaneRing* land; // what the way must not cross
    } cases[] = {
        {"open water",
         {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {island}},
         {10, 10},
         {90, 20},
         std::hypot(80.0, 10.0),
         &island},
        // Round the island's south-east corner: (50,30) to (60,40) to (70,50).
        {"round an island",
         {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {island}},
         {50, 30},
         {70, 70},
         std::hypot(10.0, 10.0) + std::hypot(10.0, 30.0),
         &island},
        // Out of one arm of the bay and into the other, round both inner corners.
        {"between the arms of a bay",
         {bay, {}},
         {15, 90},
         {85, 90},
         2 * std::hypot(15.0, 60.0) + 40.0,
         nullptr},
        // From one side of a spike at the foot of a dent to the other, over its tip.
        {"over a spike in a dent",
         {teeth, {}},
         {69.5, 0.05},
         {70.5, 0.05},
         2 * std::hypot(0.5, 0.95),
         nullptr},
        // From a dent over the next tooth, passing the spike of the dent.
        {"over a tooth past a dent",
         {teeth, {}},
         {64, 0.5},
         {85, 0.5},
         std::hypot(18.0, 2.5) + std::hypot(3.0, 2.5),
         nullptr},
    };
    const Geos geos = makeGeos();
    for (const auto& c : cases) {
        PlaneArea area = c.area;
        orientRings(area);
        FreeWater water = makeFreeWater(geos, area, 0.0);
        const std::vector<PlanePoint> way = shortestWay(geos, water, c.from, c.to);
        EXPECT_NEAR(wayLength(way), c.length, 1e-9) << c.name;
        if (c.land != nullptr) {
            EXPECT_LT(insideLength(*c.land, way), 1e-9) << c.name;
        }
        const std::vector<PlanePoint> back = shortestWay(geos, water, c.to, c.from);
        EXPECT_NEAR(wayLength(back), c.length, 1e-9) << c.name << " back";
    }
    // The gap between the bay's arms is land: no way crosses it.
    PlaneArea area{bay, {}};
    orientRings(area);
    FreeWater water = makeFreeWater(geos, area, 0.0);
    const PlaneRing gap{{30, 30}, {70, 30}, {70, 100}, {30, 100}};
    EXPECT_LT(insideLength(gap, shortestWay(geos, water, {15, 90}, {85, 90})), 1e-9);
}

TEST(FreeWay, ARunInWidensTheWaterButNotIntoHoles) {
    PlaneArea area{{{0, 0}, {100, 0}, {100, 100}, {0, 100}},
                   {{{40, 40}, {60, 40}, {60, 60}, {40, 60}}}};
    orientRings(area);
    const Geos geos = makeGeos();
    const FreeWater water = makeFreeWater(geos, area, 20.0);
    EXPECT_TRUE(clearWay(geos, water, {-20, 50}, {-20, 0}));
    EXPECT_FALSE(clearWay(geos, water, {-25, 50}, {-20, 0}));
    EXPECT_FALSE(clearWay(geos, water, {30, 50}, {70, 50}));
}

// The quick test of a straight way against the edges near it gives GEOS's answer, checked
// with OGR, for ways far from every edge, across one, along one and through a corner of the
// tolerant edge, grid cell after grid cell across a ragged bay and a rock.
TEST(FreeWay, AStraightWayIsClearExactlyWhenOgrFindsItInTheWater) {
    PlaneArea area;
    for (int i = 0; i < 400; ++i) {
        const double a = 2.0 * std::numbers::pi * i / 400.0;
        const double r = 1000.0 + (i % 2 == 0 ? 40.0 : 0.0) + 150.0 * std::sin(5.0 * a);
        area.outer.push_back({r * std::cos(a), r * std::sin(a)});
    }
    area.holes.push_back({{100, 100}, {100, 200}, {200, 200}, {200, 100}});
    orientRings(area);
    const Geos geos = makeGeos();
    FreeWater water = makeFreeWater(geos, area, 0.0);
    ASSERT_GT(water.edgeGrid.cell, 0.0);
    std::unique_ptr<OGRGeometry> tolerant(OGRGeometryFactory::createFromGEOS(
        geos.handle(), const_cast<GEOSGeometry*>(water.tolerant.get())));
    ASSERT_NE(tolerant, nullptr);
    const double y0 = 100.0 - kWayTolerance; // along the rock's tolerant south edge
    const PlanePoint ends[] = {{0, 0},     {-700, 300}, {650, -400}, {150, 150},  {300, 150},
                               {100, 50},  {100, 250},  {-50, y0},   {350, y0},   {1185, 0},
                               {-1185, 0}, {0, 1000},   {-900, -90}, {1100, 100}, {0, -1500}};
    int clear = 0;
    for (const PlanePoint& from : ends) {
        for (const PlanePoint& to : ends) {
            OGRLineString line;
            line.addPoint(from.x, from.y);
            line.addPoint(to.x, to.y);
            const OGRPoint start(from.x, from.y);
            const bool expected =
                from.x == to.x && from.y == to.y
                    ? tolerant->Intersects(&start)
                    : std::unique_ptr<OGRGeometry>(line.Difference(tolerant.get()))->IsEmpty();
            EXPECT_EQ(clearWay(geos, water, from, to), expected)
                << from.x << ' ' << from.y << " to " << to.x << ' ' << to.y;
            clear += expected ? 1 : 0;
        }
    }
    EXPECT_GT(clear, 20); // the table holds ways of either kind
    EXPECT_LT(clear, 200);
}
