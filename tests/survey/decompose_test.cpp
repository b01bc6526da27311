// Tests of the boustrophedon decomposition, checked with OGR: the cells cover the area
// without overlap, and each meets every line across it in one piece.
#include "survey/decompose.h"
#include "survey_checks.h"

#include <gtest/gtest.h>
#include <memory>
#include <ogr_geometry.h>
#include <vector>

namespace {

OGRPolygon ogrPolygon(const PlaneArea& area) {
    OGRPolygon polygon;
    const auto add = [&](const PlaneRing& ring) {
        auto* linear = new OGRLinearRing;
        for (const PlanePoint& p : ring) {
            linear->addPoint(p.x, p.y);
        }
        linear->closeRings();
        polygon.addRingDirectly(linear);
    };
    add(area.outer);
    for (const PlaneRing& hole : area.holes) {
        add(hole);
    }
    return polygon;
}

// The pieces a line across at y makes in a polygon.
int piecesAcross(const OGRPolygon& polygon, double y) {
    OGRLineString line;
    line.addPoint(-1e4, y);
    line.addPoint(1e4, y);
    std::unique_ptr<OGRGeometry> cut(polygon.Intersection(&line));
    const OGRwkbGeometryType type = wkbFlatten(cut->getGeometryType());
    if (type == wkbLineString) {
        return 1;
    }
    int pieces = 0;
    if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
        for (const OGRGeometry* part : *cut->toGeometryCollection()) {
            pieces += wkbFlatten(part->getGeometryType()) == wkbLineString ? 1 : 0;
        }
    }
    return pieces;
}

} // namespace

TEST(Decompose, CellsCoverTheAreaEachSweptInOnePiecePerLine) {
    const struct {
        const char* name;
        PlaneArea area;
        std::size_t cells;
    } cases[] = {
        {"rectangle", {{{0, 0}, {100, 0}, {100, 50}, {0, 50}}, {}}, 1},
        {"triangle", {{{0, 0}, {100, 10}, {30, 80}}, {}}, 1},
        // The step where the bay widens is cut, so each part gets lines of its own.
        {"L-shaped bay", {{{0, 0}, {150, 0}, {150, 50}, {50, 50}, {50, 150}, {0, 150}}, {}}, 2},
        {"U open to the north",
         {{{0, 0}, {300, 0}, {300, 200}, {200, 200}, {200, 100}, {100, 100}, {100, 200}, {0, 200}},
          {}},
         3},
        {"square island",
         {{{0, 0}, {200, 0}, {200, 120}, {0, 120}}, {{{80, 40}, {80, 80}, {120, 80}, {120, 40}}}},
         4},
        {"diamond island",
         {{{0, 0}, {200, 0}, {200, 120}, {0, 120}}, {{{100, 30}, {80, 60}, {100, 90}, {120, 60}}}},
         4},
        {"two islands level with each other",
         {{{0, 0}, {300, 0}, {300, 100}, {0, 100}},
          {{{50, 30}, {50, 70}, {100, 70}, {100, 30}},
           {{200, 30}, {200, 70}, {250, 70}, {250, 30}}}},
         5},
    };
    const Geos geos = makeGeos();
    for (const auto& c : cases) {
        PlaneArea area = c.area;
        orientRings(area);
        const std::vector<PlaneArea> cells = decompose(geos, leveled(area));
        EXPECT_EQ(cells.size(), c.cells) << c.name;
        const OGRPolygon whole = ogrPolygon(area);
        OGRMultiPolygon all;
        double sum = 0.0;
        for (const PlaneArea& cell : cells) {
            const OGRPolygon polygon = ogrPolygon(cell);
            sum += polygon.get_Area();
            all.addGeometry(&polygon);
            OGREnvelope box;
            polygon.getEnvelope(&box);
            for (int k = 1; k < 20; ++k) {
                const double y = box.MinY + (box.MaxY - box.MinY) * k / 20.0;
                EXPECT_EQ(piecesAcross(polygon, y), 1) << c.name << " at y " << y;
            }
        }
        EXPECT_NEAR(sum, whole.get_Area(), 1e-6) << c.name << ": cells overlap or leave water";
        std::unique_ptr<OGRGeometry> joined(all.UnionCascaded());
        std::unique_ptr<OGRGeometry> left(whole.SymDifference(joined.get()));
        EXPECT_LT(survey_checks::areaOf(*left), 1e-6) << c.name;
    }
}

// A hole splits the water across the lines at its lowest vertex and joins it again at its
// highest; each cut spans the whole water across.
TEST(Decompose, CutsAtAHolesEnds) {
    PlaneArea area{{{0, 0}, {200, 0}, {200, 120}, {0, 120}},
                   {{{100, 30}, {80, 60}, {100, 90}, {120, 60}}}};
    orientRings(area);
    const Geos geos = makeGeos();
    const std::vector<CriticalPoint> points = criticalPoints(geos, area);
    ASSERT_EQ(points.size(), 2u);
    for (const CriticalPoint& point : points) {
        EXPECT_TRUE(point.y == 30.0 || point.y == 90.0);
        EXPECT_EQ(point.xLow, 100.0);
        EXPECT_NEAR(point.cutLow, 0.0, 1e-9);
        EXPECT_NEAR(point.cutHigh, 200.0, 1e-9);
    }
}

TEST(Decompose, LevelsWhatRoundingTilted) {
    const PlaneArea area{{{0, 0}, {100, 4e-7}, {100, 50}, {0, 50.0000009}}, {}};
    const PlaneArea level = leveled(area);
    EXPECT_EQ(level.outer[1].y, 0.0);
    EXPECT_EQ(level.outer[3].y, 50.0);
    EXPECT_EQ(level.outer[2].y, 50.0);
}
