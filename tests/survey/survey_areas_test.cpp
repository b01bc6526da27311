// Tests of several areas in one mission, against polygons in GDAL's OGR: the lines of each
// lie in its area, numbered across the mission, and every leg fits the limit.
#include "survey/survey_areas.h"
#include "survey_checks.h"

#include <gtest/gtest.h>
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
    // The far box first in the list: the near one is surveyed first, from a start beside it.
    const GeoArea near = box("near", 0.0, 0.0, 1500.0, 600.0);
    const GeoArea far = box("far", 6000.0, 3000.0, 1000.0, 1000.0);
    SurveyRequest request;
    request.spacing = 100.0;
    request.maxLegMeters = 1000.0;
    request.startNear = fromMeters(kMontereyBay, -200.0, -200.0);
    const SurveyResult result = planSurveys({far, near}, request);
    ASSERT_TRUE(result.ok) << result.error;
    const SurveyPlan& plan = result.plan;
    ASSERT_EQ(plan.areaOrder, (std::vector<std::size_t>{1, 0}));

    // 600 m across at 100 m, laid closer by what rounding may move a line: seven lines, then
    // eleven in the 1000 m box; none in both or neither.
    const CheckFrame frame(kMontereyBay);
    const OGRPolygon polygons[] = {frame.polygon(near), frame.polygon(far)};
    std::vector<std::size_t> areaOfLine;
    for (const GeoLine& line : plan.lines) {
        const bool inNear = frame.stray(polygons[0], {line.start, line.end}) <= 1e-3;
        const bool inFar = frame.stray(polygons[1], {line.start, line.end}) <= 1e-3;
        EXPECT_NE(inNear, inFar);
        areaOfLine.push_back(inNear ? 0 : 1);
    }
    EXPECT_EQ(areaOfLine,
              (std::vector<std::size_t>{0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));

    // Lines count 1, 2, ... across both areas, a transit takes the number of the line it
    // leaves, and no leg is longer than maxLegMeters.
    std::size_t number = 0;
    for (const SurveyPiece& piece : plan.pieces) {
        EXPECT_EQ(piece.number, piece.kind == PieceKind::line ? ++number : number);
        for (std::size_t i = piece.first; i < piece.last; ++i) {
            EXPECT_LE(geodesicDistance(plan.waypoints[i], plan.waypoints[i + 1]), 1000.0 + 1.0);
        }
    }
    EXPECT_EQ(number, plan.lines.size());
    EXPECT_EQ(plan.cells, plan.lineCells.back() + 1);
}
