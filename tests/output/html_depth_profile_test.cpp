// The depth profile's arithmetic: round ticks, the depth axis, and thinning a long line to
// the page's columns without losing its extremes.
#include "output/html_depth_profile.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

TEST(HtmlDepthProfile, StepsAreRoundAndFewEnough) {
    struct Case {
        double span;
        int intervals;
        double step;
    };
    const Case cases[] = {
        {100.0, 5, 20.0}, {110.0, 5, 50.0},  {90.0, 5, 20.0}, {2.0, 8, 0.5}, {1.0, 5, 0.2},
        {7.3, 8, 1.0},    {894.0, 5, 200.0}, {36.0, 8, 5.0},  {0.0, 5, 1.0}, {-3.0, 5, 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(roundStep(c.span, c.intervals), c.step) << c.span << " / " << c.intervals;
    }
}

// The surface is the top unless ground rises above it; each end lies a tick inside the
// frame, so that neither the deepest seabed nor the highest ground sits on it.
TEST(HtmlDepthProfile, DepthAxisReachesATickBeyondItsValues) {
    struct Case {
        double low, high;
        double first, last, step;
        int decimals;
    };
    const Case cases[] = {
        {0.0, 100.0, 0.0, 120.0, 20.0, 0},
        {0.0, 99.0, 0.0, 100.0, 20.0, 0},
        {-35.0, 80.0, -50.0, 100.0, 50.0, 0},
        {-50.0, 50.0, -60.0, 60.0, 20.0, 0},
        {0.0, 3.0, 0.0, 4.0, 1.0, 0},
        {0.0, 0.4, 0.0, 0.5, 0.1, 1},
        {-294.0, 600.0, -400.0, 800.0, 200.0, 0},
    };
    for (const Case& c : cases) {
        const AxisTicks axis = depthAxis(c.low, c.high);
        EXPECT_DOUBLE_EQ(axis.first, c.first) << c.low << " to " << c.high;
        EXPECT_DOUBLE_EQ(axis.last, c.last) << c.low << " to " << c.high;
        EXPECT_DOUBLE_EQ(axis.step, c.step) << c.low << " to " << c.high;
        EXPECT_EQ(axis.decimals, c.decimals) << c.low << " to " << c.high;
    }
}

TEST(HtmlDepthProfile, ThinningKeepsTheExtremesOfEachColumn) {
    // Apart: all kept.
    EXPECT_EQ(thinnedToColumns({1.0, 2.5, 4.0}, {5.0, 3.0, 4.0}),
              (std::vector<std::size_t>{0, 1, 2}));
    // Column 10 holds five values: the shallowest (1) and the deepest (3), in their order;
    // column 11 one; column 12 two equal values, the first kept.
    EXPECT_EQ(thinnedToColumns({10.0, 10.2, 10.4, 10.6, 10.8, 11.5, 12.1, 12.9},
                               {50.0, 51.0, 2.0, 90.0, 49.0, 40.0, 7.0, 7.0}),
              (std::vector<std::size_t>{2, 3, 5, 6}));
    EXPECT_TRUE(thinnedToColumns({}, {}).empty());
    // A million values over 100 columns: at most two a column, the one spike among them.
    std::vector<double> x;
    std::vector<double> value;
    for (int i = 0; i < 1'000'000; ++i) {
        x.push_back(i / 10'000.0);
        value.push_back(i == 765'432 ? -1.0 : 100.0 + (i % 7));
    }
    const std::vector<std::size_t> kept = thinnedToColumns(x, value);
    EXPECT_LE(kept.size(), 200u);
    EXPECT_NE(std::find(kept.begin(), kept.end(), 765'432u), kept.end());
}
