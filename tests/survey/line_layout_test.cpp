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

// Worked by hand: one grid over the whole area (centred on its height), each row in the cell
// it crosses, a row on a cut in the cell above it; a strip at a tip with no cell beyond, wider
// than 5 % of the spacing, gets a line of its own.
TEST(LineLayout, OneGridForEveryCell) {
    const PlaneArea bar{{{0, 0}, {10, 0}, {10, 20}, {0, 20}}, {}};
    const PlaneArea arm{{{0, 20}, {5, 20}, {5, 45}, {0, 45}}, {}};
    const PlaneArea base{{{0, 0}, {100, 0}, {100, 30}, {0, 30}}, {}};
    const PlaneArea highTip{{{0, 30}, {40, 30}, {20, 52}}, {}};
    const PlaneArea lowTip{{{60, 30}, {100, 30}, {80, 38}}, {}};
    const PlaneArea cutBase{{{0, 0}, {100, 0}, {100, 45}, {0, 45}}, {}};
    const PlaneArea cutTop{{{0, 45}, {100, 45}, {100, 60}, {0, 60}}, {}};
    const struct {
        const char* name;
        std::vector<PlaneArea> cells;
        std::vector<std::vector<double>> rows;
    } cases[] = {
        // 45 m at 10 m: five rows from 2.5; the arm continues the bar's grid.
        {"arm on a bar", {bar, arm}, {{2.5, 12.5}, {22.5, 32.5, 42.5}}},
        // 52 m: six rows from 1. The low tip ends 2 m above the swath of row 31: a line in its
        // middle, 3 m from row 31; the high tip's last row reaches past its top.
        {"two tips on a base", {base, highTip, lowTip}, {{1, 11, 21}, {31, 41, 51}, {31, 34}}},
        // 60 m: six rows from 5; row 45 lies on the cut and goes to the cell above.
        {"stacked", {cutBase, cutTop}, {{5, 15, 25, 35}, {45, 55}}},
        // Narrower than a spacing, nothing beyond either end: one line in the middle.
        {"sliver of water", {{{{0, 0}, {50, 0}, {50, 4}, {0, 4}}, {}}}, {{2}}},
    };
    for (const auto& c : cases) {
        const std::vector<CellLines> lines = cellRows(c.cells, 10.0);
        ASSERT_EQ(lines.size(), c.rows.size()) << c.name;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ASSERT_EQ(lines[i].rows.size(), c.rows[i].size()) << c.name << ", cell " << i;
            for (std::size_t k = 0; k < c.rows[i].size(); ++k) {
                EXPECT_NEAR(lines[i].rows[k], c.rows[i][k], 1e-9) << c.name << ", cell " << i;
            }
        }
    }
}
