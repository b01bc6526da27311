// Tests of several areas in one mission, against polygons in GDAL's OGR: the lines of each
// lie in its area, numbered across the mission, and one straight transit joins the areas.
#include "survey/survey_areas.h"
#include "survey_checks.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace survey_checks;

const GeoPoint kMontereyBay{36.80, -121.95};

GeoArea box(const char* name, double east, double north, double width, double height) {
    GeoArea area;
    area.name = name;
    area.outer = ringFromMeters(kMontereyBay, {{east, north},
                                               {east + width, north},
                                               {east + width, north + height},
                                               {east, north + height}});
    return area;
}

} // namespace

TEST(SurveyAreas, LinesInEveryAreaNumberedAcrossTheMission) {
    // The far box first in the list, an L of cells second: the near one is surveyed first
    // from a start beside it, and the lines of both are numbered on.
    GeoArea near = box("near", 0.0, 0.0, 1500.0, 600.0);
    const GeoArea far = box("far", 6000.0, 3000.0, 1000.0, 1000.0);
    SurveyRequest request;
    request.spacing = 100.0;
    request.maxLegMeters = 1000.0;
    request.startNear = fromMeters(kMontereyBay, -200.0, -200.0);
    const SurveyResult result = planSurveys({far, near}, request);
    ASSERT_TRUE(result.ok) << result.error;
    const SurveyPlan& plan = result.plan;
    ASSERT_EQ(plan.areaOrder, (std::vector<std::size_t>{1, 0}));

    const CheckFrame frame(kMontereyBay);
    const OGRPolygon polygons[] = {frame.polygon(near), frame.polygon(far)};
    std::size_t inArea[2] = {0, 0};
    for (const GeoLine& line : plan.lines) {
        int inside = 0;
        for (int a = 0; a < 2; ++a) {
            if (frame.stray(polygons[a], {line.start, line.end}) <= 1e-3) {
                ++inArea[a];
                ++inside;
            }
        }
        EXPECT_EQ(inside, 1) << "a line in neither area, or in both";
    }
    EXPECT_EQ(inArea[0] + inArea[1], plan.lines.size());
    // 600 m across at 100 m: six lines; 1000 m: ten.
    EXPECT_EQ(inArea[0], 6u);
    EXPECT_EQ(inArea[1], 10u);

    // Lines count 1, 2, ... across both areas; each transit joins the line it leaves to the
    // next, and the one between the areas is cut to legs of at most maxLegMeters.
    std::size_t number = 0;
    std::size_t longTransits = 0;
    for (std::size_t k = 0; k < plan.pieces.size(); ++k) {
        const SurveyPiece& piece = plan.pieces[k];
        if (piece.kind == PieceKind::line) {
            EXPECT_EQ(piece.number, ++number);
            EXPECT_GE(piece.cell, 1u);
        } else {
            EXPECT_EQ(piece.number, number);
            ASSERT_LT(k + 1, plan.pieces.size());
            EXPECT_EQ(piece.last, plan.pieces[k + 1].first);
        }
        for (std::size_t i = piece.first; i < piece.last; ++i) {
            EXPECT_LE(geodesicDistance(plan.waypoints[i], plan.waypoints[i + 1]), 1000.0 + 1.0);
        }
        if (piece.kind == PieceKind::transit &&
            geodesicDistance(plan.waypoints[piece.first], plan.waypoints[piece.last]) > 3000.0) {
            ++longTransits;
            // Straight: the great circle between the areas, every cut point on it.
            for (std::size_t i = piece.first + 1; i < piece.last; ++i) {
                bool interior = false;
                EXPECT_LT(distanceToLine(plan.waypoints[i],
                                         {plan.waypoints[piece.first], plan.waypoints[piece.last]},
                                         interior),
                          1.0);
            }
        }
    }
    EXPECT_EQ(number, plan.lines.size());
    EXPECT_EQ(longTransits, 1u);
    EXPECT_EQ(plan.cells, plan.lineCells.back() + 1);
}

TEST(SurveyAreas, ARefusalNamesTheArea) {
    SurveyRequest request;
    request.spacing = 800.0;
    const SurveyResult result =
        planSurveys({box("wide", 0, 0, 3000, 3000), box("slip", 5000, 0, 3000, 300)}, request);
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.error.rfind("area \"slip\": ", 0), 0u) << result.error;
}
