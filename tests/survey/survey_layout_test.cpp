// Tests of a survey laid out in a frame given exactly, where lines can be made to meet
// vertices: figures worked by hand.
#include "survey/survey_layout.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

PlaneArea oriented(PlaneArea area) {
    orientRings(area);
    return area;
}

LayoutRequest spacedBy(double spacing, std::size_t crossLines = 0) {
    LayoutRequest request;
    request.spacing = spacing;
    request.crossLines = crossLines;
    return request;
}

} // namespace

// Lines run east (heading 90), so the frame of the lines is the east/north frame. The 100 m
// square takes ten lines at y = 5, 15, ..., 95; the notches' tips at (90, 45) and (10, 65)
// lie on two of them, which end there.
TEST(SurveyLayout, ALineThroughAVertexEndsOnIt) {
    const PlaneArea area = oriented({{{0, 0},
                                      {100, 0},
                                      {100, 40},
                                      {90, 45},
                                      {100, 50},
                                      {100, 100},
                                      {0, 100},
                                      {0, 70},
                                      {10, 65},
                                      {0, 60}},
                                     {}});
    const Geos geos = makeGeos();
    const LayoutResult result = layOutSurvey(geos, area, 90.0, spacedBy(10.0));
    ASSERT_TRUE(result.ok) << result.error;
    const SurveyLayout& layout = result.layout;
    ASSERT_EQ(layout.runs.size(), 10u);
    for (std::size_t i = 0; i < layout.runs.size(); ++i) {
        const PlaneSegment& line = layout.runs[i].line;
        const double y = line.start.y;
        EXPECT_NEAR(std::fmod(y, 10.0), 5.0, 1e-9);
        EXPECT_NEAR(line.end.y, y, 1e-9);
        const double west = std::min(line.start.x, line.end.x);
        const double east = std::max(line.start.x, line.end.x);
        EXPECT_NEAR(west, std::abs(y - 65.0) < 1e-9 ? 10.0 : 0.0, 1e-9) << "y " << y;
        EXPECT_NEAR(east, std::abs(y - 45.0) < 1e-9 ? 90.0 : 100.0, 1e-9) << "y " << y;
        // Boustrophedon: each line the other way from the one before, joined by one turn.
        if (i > 0) {
            const PlaneSegment& before = layout.runs[i - 1].line;
            EXPECT_LT((line.end.x - line.start.x) * (before.end.x - before.start.x), 0.0);
            EXPECT_NEAR(std::abs(y - before.start.y), 10.0, 1e-9);
            EXPECT_EQ(layout.ways[i - 1].size(), 2u);
        }
    }
    EXPECT_EQ(layout.cells, 1u);
    EXPECT_NEAR(layout.lineLength, 10 * 100.0 - 10.0 - 10.0, 1e-9);
}

// Three tie lines across a 300 x 100 m rectangle at x = 50, 150, 250, after the lines, each
// the other way from the one before.
TEST(SurveyLayout, TieLinesCrossTheLinesAfterThem) {
    const PlaneArea area = oriented({{{0, 0}, {300, 0}, {300, 100}, {0, 100}}, {}});
    const Geos geos = makeGeos();
    const LayoutResult result = layOutSurvey(geos, area, 90.0, spacedBy(25.0, 3));
    ASSERT_TRUE(result.ok) << result.error;
    const std::vector<LineRun>& runs = result.layout.runs;
    ASSERT_EQ(runs.size(), 4u + 3u);
    std::vector<double> xs;
    for (std::size_t i = 4; i < runs.size(); ++i) {
        EXPECT_TRUE(runs[i].tie);
        EXPECT_NEAR(runs[i].line.start.x, runs[i].line.end.x, 1e-9);
        EXPECT_NEAR(std::abs(runs[i].line.end.y - runs[i].line.start.y), 100.0, 1e-9);
        xs.push_back(runs[i].line.start.x);
        if (i > 4) {
            EXPECT_LT((runs[i].line.end.y - runs[i].line.start.y) *
                          (runs[i - 1].line.end.y - runs[i - 1].line.start.y),
                      0.0);
        }
    }
    std::sort(xs.begin(), xs.end());
    ASSERT_EQ(xs.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(xs[k], 50.0 + 100.0 * k, 1e-9);
    }
    EXPECT_NEAR(result.layout.lineLength, 4 * 300.0 + 3 * 100.0, 1e-9);
}

TEST(SurveyLayout, RefusesASpacingWiderThanTheAreaOrTooManyLines) {
    const PlaneArea area = oriented({{{0, 0}, {300, 0}, {300, 100}, {0, 100}}, {}});
    const Geos geos = makeGeos();
    const LayoutResult wide = layOutSurvey(geos, area, 90.0, spacedBy(120.0));
    EXPECT_FALSE(wide.ok);
    EXPECT_EQ(wide.error, "the spacing of 120.0 m is wider than the area across the lines "
                          "(100.0 m at heading 90.0 degrees)");
    const LayoutResult many = layOutSurvey(geos, area, 0.0, spacedBy(0.001));
    EXPECT_FALSE(many.ok);
    EXPECT_EQ(many.error,
              "a spacing of 0.0 m would lay 300000 lines in the area, more than 100000");
}
