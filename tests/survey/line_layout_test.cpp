// Tests of where a cell's lines lie across it.
#include "survey/line_layout.h"

#include <gtest/gtest.h>

// Worked by hand: as few lines as cover the height, centred, so the margins are equal and
// at most half a spacing.
TEST(LineLayout, FewestLinesCentredOnTheCell) {
    const struct {
        double low, high, spacing;
        std::size_t count;
        double first;
    } cases[] = {
        {0.0, 100.0, 10.0, 10, 5.0}, // a whole number: half a spacing inside each edge
        {0.0, 95.0, 10.0, 10, 2.5},  // 5 m left over: the swaths reach 2.5 m past each edge
        {0.0, 101.0, 10.0, 11, 0.5}, // 1 m too wide for ten: eleven, 0.5 m inside
        {0.0, 100.00005, 10.0, 10, 5.000025}, // rounding of a drawn width: still ten
        {-40.0, -30.0, 25.0, 1, -35.0},       // narrower than a spacing: one line in the middle
        {7.0, 7.0005, 5.0, 0, 0.0},           // a sliver: none
        // A corridor drawn 1200 m wide, 1 cm wider in the frame: twelve lines, not thirteen
        // with the outer two on its edges; a block drawn in UTM 0.8 m wider: twenty.
        {0.0, 1200.010, 100.0, 12, 50.005},
        {0.0, 2000.8, 100.0, 20, 50.4},
        {0.0, 100.6, 10.0, 11, 0.3}, // 6 % of a spacing over: a line for it
    };
    for (const auto& c : cases) {
        const LineGrid grid = layLines({c.low, c.high}, c.spacing);
        EXPECT_EQ(grid.count, c.count) << c.low << ".." << c.high;
        if (grid.count > 0) {
            EXPECT_NEAR(grid.first, c.first, 1e-9);
            EXPECT_NEAR(c.high - grid.across(grid.count - 1), grid.first - c.low, 1e-9);
        }
    }
}

TEST(LineLayout, CountsLinesOfEveryCellAndReportsTooMany) {
    const PlaneArea low{{{0, 0}, {10, 0}, {10, 20}, {0, 20}}, {}};
    const PlaneArea high{{{0, 20}, {5, 20}, {5, 45}, {0, 45}}, {}};
    EXPECT_EQ(countLines({low, high}, 10.0), 2u + 3u);
    EXPECT_GT(layLines({0.0, 1e6}, 1e-3).count, kMaxSurveyLines);
    // A share asked for: no line for 4 m of 10 at 50 %, one at 30 %.
    EXPECT_EQ(layLines({0.0, 104.0}, 10.0, 0.5).count, 10u);
    EXPECT_EQ(layLines({0.0, 104.0}, 10.0, 0.3).count, 11u);
}
