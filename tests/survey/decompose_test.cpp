// Tests of the boustrophedon decomposition, checked with OGR: the cells cover the area
// without overlap, and each meets every line across it in one piece.
#include "survey/cell_outlines.h"
#include "survey/decompose.h"
#include "survey_checks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <ogr_geometry.h>
#include <optional>
#include <random>
#include <string>
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

// A 20 m wide area whose north shore falls 3 cm for every meter westwards.
PlaneArea slopingShore() {
    PlaneArea area{{{0, 0}, {20, 0}}, {}};
    for (int i = 0; i <= 20; ++i) {
        area.outer.push_back({20.0 - i, 10.0 - 0.03 * i});
    }
    return area;
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
        // The island's cut runs on along the step, whose own cut runs through the island's
        // lowest vertex.
        {"island level with a step",
         {{{0, 0}, {150, 0}, {150, 50}, {50, 50}, {50, 150}, {0, 150}},
          {{{25, 50}, {15, 70}, {25, 90}, {35, 70}}}},
         4},
        // Rocks that touch the shore: the one between two vertices of the shore splits the
        // water beside it in two, above and below the touch.
        {"island touching the boundary at a vertex of both",
         {{{0, 0}, {100, 0}, {200, 0}, {200, 120}, {0, 120}},
          {{{100, 0}, {80, 30}, {100, 60}, {120, 30}}}},
         3},
        {"island touching the boundary between its vertices",
         {{{0, 0}, {200, 0}, {200, 120}, {0, 120}}, {{{200, 60}, {170, 40}, {150, 60}, {170, 80}}}},
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
        // The outlines walked without GEOS's polygonizer are those of the same cells (GEOS's
        // keep a vertex more where a cut's overshoot ran along an edge), where rings keep apart.
        const bool touching = ringsComeWithin(geos, area, 1e-4);
        EXPECT_EQ(touching, std::string(c.name).find("touching") != std::string::npos) << c.name;
        if (touching) {
            continue;
        }
        const std::optional<std::vector<PlaneArea>> outlines = cellOutlines(geos, leveled(area));
        ASSERT_TRUE(outlines.has_value()) << c.name;
        ASSERT_EQ(outlines->size(), cells.size()) << c.name;
        for (const PlaneArea& outline : *outlines) {
            const OGRPolygon polygon = ogrPolygon(outline);
            const auto same = [&](const PlaneArea& cell) {
                const OGRPolygon other = ogrPolygon(cell);
                const std::unique_ptr<OGRGeometry> apart(polygon.SymDifference(&other));
                return survey_checks::areaOf(*apart) < 1e-9;
            };
            EXPECT_EQ(std::count_if(cells.begin(), cells.end(), same), 1) << c.name;
        }
    }
}

// A hole splits the water across the lines at its lowest vertex and joins it again at its
// highest: a cut on either side of each, out to the boundary. A step has one, on the side
// where the water widens, also when it is drawn a few centimeters off the lines' direction.
TEST(Decompose, CutsAtAHolesEndsAndAtSteps) {
    const struct {
        const char* name;
        PlaneArea area;
        std::vector<Cut> cuts; // by y, then x
        std::size_t cells;
    } cases[] = {
        {"diamond island",
         {{{0, 0}, {200, 0}, {200, 120}, {0, 120}}, {{{100, 30}, {80, 60}, {100, 90}, {120, 60}}}},
         {{30, 0, 100}, {30, 100, 200}, {90, 0, 100}, {90, 100, 200}},
         4},
        // The cuts end on the slanting shore where it crosses their y: 200 + 60 y / 120.
        {"square rock by a slanting shore",
         {{{0, 0}, {200, 0}, {260, 120}, {0, 120}}, {{{80, 40}, {80, 80}, {120, 80}, {120, 40}}}},
         {{40, 0, 80}, {40, 120, 220}, {80, 0, 80}, {80, 120, 240}},
         4},
        {"L-shaped bay",
         {{{0, 0}, {150, 0}, {150, 50}, {50, 50}, {50, 150}, {0, 150}}, {}},
         {{50, 0, 50}},
         2},
        // The bay's north and south shores both a few centimeters off east-west: the cuts
        // run from their western ends.
        {"point reaching in from the east",
         {{{0, 0},
           {300, 0},
           {300, 100.03},
           {100, 100},
           {100, 200},
           {300, 200.02},
           {300, 300},
           {0, 300}},
          {}},
         {{100, 0, 100}, {200, 0, 100}},
         3},
        // A north shore of a chart's detail, its edges a meter long and sloping 3 cm each:
        // every two vertices lie within a run's tolerance across, yet none is a step.
        {"shore sloping in short edges", slopingShore(), {}, 1},
    };
    const Geos geos = makeGeos();
    for (const auto& c : cases) {
        PlaneArea area = c.area;
        orientRings(area);
        std::vector<Cut> cuts = cutsAcross(geos, area);
        std::sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) {
            return a.y != b.y ? a.y < b.y : a.xLow < b.xLow;
        });
        ASSERT_EQ(cuts.size(), c.cuts.size()) << c.name;
        for (std::size_t i = 0; i < cuts.size(); ++i) {
            EXPECT_EQ(cuts[i].y, c.cuts[i].y) << c.name;
            EXPECT_NEAR(cuts[i].xLow, c.cuts[i].xLow, 1e-9) << c.name;
            EXPECT_NEAR(cuts[i].xHigh, c.cuts[i].xHigh, 1e-9) << c.name;
        }
        EXPECT_EQ(decompose(geos, area).size(), c.cells) << c.name;
    }
}

TEST(Decompose, LevelsWhatRoundingTilted) {
    const PlaneArea area{{{0, 0}, {100, 4e-7}, {100, 50}, {0, 50.0000009}}, {}};
    const PlaneArea level = leveled(area);
    EXPECT_EQ(level.outer[1].y, 0.0);
    EXPECT_EQ(level.outer[3].y, 50.0);
    EXPECT_EQ(level.outer[2].y, 50.0);
}

// A ragged island shore with rocks, turned to many headings: the outlines walked without
// GEOS's noding are GEOS's cells, one for one, by where they lie across and along the lines
// and the water they hold, and hold every cell's water once.
TEST(Decompose, OutlinesOfARaggedShoreAreGeosCells) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> jag(-25.0, 25.0);
    PlaneArea area;
    for (int i = 0; i < 300; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / 300.0;
        const double radius = 400.0 + jag(random) + (i % 40 < 3 ? -150.0 : 0.0); // and bays
        area.outer.push_back({radius * std::cos(angle), radius * std::sin(angle)});
    }
    for (int k = 0; k < 12; ++k) {
        const double x = -150.0 + 25.0 * k;
        const double y = (k % 2 == 0 ? 1.0 : -1.0) * (10.0 + 5.0 * k);
        area.holes.push_back({{x, y}, {x + 6.0, y + 9.0}, {x + 13.0, y + 2.0}, {x + 5.0, y - 7.0}});
    }
    orientRings(area);
    const Geos geos = makeGeos();
    ASSERT_FALSE(ringsComeWithin(geos, area, 1e-4));
    const auto key = [](const PlaneArea& cell) {
        const Extent across = acrossExtent(cell);
        const Extent along = alongExtent(cell);
        return std::array<double, 5>{across.low, across.high, along.low, along.high,
                                     std::abs(signedArea(cell.outer))};
    };
    for (const double heading : {0.0, 17.0, 45.0, 90.0, 123.4, 171.0}) {
        const PlaneArea framed = leveled(toLineFrame(lineAxes(heading), area));
        const std::vector<PlaneArea> cells = decompose(geos, framed);
        const std::optional<std::vector<PlaneArea>> outlines = cellOutlines(geos, framed);
        ASSERT_TRUE(outlines.has_value()) << heading;
        ASSERT_EQ(outlines->size(), cells.size()) << heading;
        std::vector<std::array<double, 5>> walked;
        std::vector<std::array<double, 5>> noded;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            walked.push_back(key((*outlines)[i]));
            noded.push_back(key(cells[i]));
        }
        std::sort(walked.begin(), walked.end());
        std::sort(noded.begin(), noded.end());
        for (std::size_t i = 0; i < cells.size(); ++i) {
            for (std::size_t q = 0; q < 5; ++q) {
                EXPECT_NEAR(walked[i][q], noded[i][q], 1e-6) << heading << " cell " << i;
            }
        }
    }
}
