// Tests of the wedges where no leg is tangent at a corner: a box they rule out holds no place
// tangentAt would take, and a box along the land's edges is never ruled out.
#include "survey/corner_tangent.h"

#include <gtest/gtest.h>
#include <random>

TEST(Untangent, RulesOutOnlyBoxesWithNoTangentPlace) {
    // A corner where the land bulges a millimetre into the water between edges a metre long:
    // tangent legs run nearly along the x axis, none straight up or down.
    const std::array<PlanePoint, 2> flat{PlanePoint{-1, -0.001}, PlanePoint{1, -0.001}};
    const struct {
        PlanePoint low, high;
        bool ruledOut;
    } boxes[] = {{{10, -0.001}, {11, 0.001}, false}, // on the tangent line
                 {{-0.5, 5}, {0.5, 6}, true},        // into the water, straight on from land
                 {{-0.5, -6}, {0.5, -5}, true},      // into the land
                 {{-0.1, -0.1}, {0.1, 0.1}, false}}; // round the corner itself
    for (const auto& b : boxes) {
        EXPECT_EQ(Untangent({0, 0}, flat).holdsIn(b.low, b.high), b.ruledOut) << b.low.y;
    }
    // Corners of a ragged shore at scales from a millimetre to ten kilometres, with boxes all
    // about them; every place sampled in a box ruled out must fail tangentAt.
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    int ruledOut = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        const double scale = std::pow(10.0, 3 * (trial % 5) - 3);
        const PlanePoint at{1e5 * unit(random), 1e5 * unit(random)};
        const std::array<PlanePoint, 2> sides{
            PlanePoint{at.x - scale, at.y + scale * 0.01 * unit(random)},
            PlanePoint{at.x + scale * unit(random), at.y - scale * (0.5 + unit(random))}};
        const double size = scale * std::pow(10.0, 2 * unit(random) + 1);
        const PlanePoint low{at.x + size * 10 * unit(random), at.y + size * 10 * unit(random)};
        const PlanePoint high{low.x + size * (1 + unit(random)), low.y + size * (1 + unit(random))};
        if (!Untangent(at, sides).holdsIn(low, high)) {
            continue;
        }
        ++ruledOut;
        for (int k = 0; k < 50; ++k) {
            const double s = k < 4 ? static_cast<double>(k / 2) : (unit(random) + 1) / 2;
            const double t = k < 4 ? static_cast<double>(k % 2) : (unit(random) + 1) / 2;
            const PlanePoint p{low.x + s * (high.x - low.x), low.y + t * (high.y - low.y)};
            ASSERT_FALSE(tangentAt(at, sides, p)) << trial << " " << k;
        }
    }
    EXPECT_GT(ruledOut, 1000);
}
