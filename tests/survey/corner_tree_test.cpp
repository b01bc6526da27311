// Tests of the walk through the corners by detour against a sort of every corner.
#include "survey/corner_tree.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

TEST(CornerTree, WalksAsASortOfEveryCornerDoes) {
    // A ragged ring of 500 corners, a repeated corner, and pairs of equal detour: the corners
    // mirrored across the line between the ends.
    std::vector<PlanePoint> corners;
    for (int i = 0; i < 500; ++i) {
        const double a = 0.0125 * i;
        const double r = 1000.0 + (i * 7919 % 101);
        corners.push_back({r * std::cos(a), r * std::sin(a)});
        corners.push_back({r * std::cos(a), -r * std::sin(a)});
    }
    corners.push_back(corners[17]);
    const CornerTree tree = cornerTree(corners);
    const struct {
        PlanePoint from, to;
    } cases[] = {{{0, 0}, {0, 0}}, {{-900, 0}, {900, 0}}, {{5000, 3000}, {1020, 40}}};
    for (const auto& c : cases) {
        const auto detour = [&](std::size_t k) {
            return distance(c.from, corners[k]) + distance(corners[k], c.to);
        };
        std::vector<std::size_t> expected(corners.size());
        for (std::size_t k = 0; k < expected.size(); ++k) {
            expected[k] = k;
        }
        std::sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
            return detour(a) != detour(b) ? detour(a) < detour(b) : a < b;
        });
        DetourWalk walk(tree, corners, c.from, c.to);
        std::size_t corner = 0;
        double through = 0.0;
        for (const std::size_t k : expected) {
            ASSERT_TRUE(walk.next(corner, through));
            ASSERT_EQ(corner, k) << c.from.x;
            ASSERT_EQ(through, detour(k));
        }
        EXPECT_FALSE(walk.next(corner, through));
    }
    const std::vector<PlanePoint> noCorners;
    const CornerTree empty = cornerTree(noCorners);
    DetourWalk none(empty, noCorners, {0, 0}, {1, 1});
    std::size_t corner = 0;
    double through = 0.0;
    EXPECT_FALSE(none.next(corner, through));
}
