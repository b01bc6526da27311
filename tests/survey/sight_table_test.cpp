// Tests of the tables of sight against std::map: through growth, at the largest numbers, and
// for corners asked in either order.
#include "survey/corner_sight.h"
#include "survey/sight_table.h"

#include <gtest/gtest.h>
#include <map>

TEST(SightTable, AnswersAsAMapDoesThroughGrowth) {
    SightTable table;
    std::map<std::uint64_t, bool> expected;
    EXPECT_FALSE(table.find(0).has_value());
    // Pairs of corners as the search numbers them, the largest it can, and a pair kept twice.
    for (std::uint64_t i = 0; i < 5000; ++i) {
        const std::uint64_t pair = (i % 97) << 32 | (i * 7919 % 100003);
        table.keep(pair, i % 3 == 0);
        expected[pair] = i % 3 == 0;
    }
    const std::uint64_t largest = (std::uint64_t{1} << 31) - 2;
    table.keep(largest << 32 | (largest + 1), true);
    expected[largest << 32 | (largest + 1)] = true;
    table.keep(5, true);
    table.keep(5, false);
    expected[5] = false;
    EXPECT_EQ(table.size(), expected.size());
    for (const auto& [pair, sees] : expected) {
        ASSERT_EQ(table.find(pair), std::optional<bool>(sees)) << pair;
    }
    EXPECT_FALSE(table.find(1).has_value());
    EXPECT_FALSE(table.find(largest << 32).has_value());
}

TEST(CornerSight, AnswersForEitherCornerFirst) {
    CornerSight sight(1009);
    std::map<std::pair<std::uint32_t, std::uint32_t>, bool> expected;
    for (std::uint32_t i = 0; i < 3000; ++i) {
        const std::uint32_t a = i % 37;
        const std::uint32_t b = i * 7919 % 1009;
        sight.keep(a, b, i % 3 == 0);
        expected[{std::min(a, b), std::max(a, b)}] = i % 3 == 0;
    }
    for (const auto& [pair, sees] : expected) {
        ASSERT_EQ(sight.find(pair.first, pair.second), std::optional<bool>(sees));
        ASSERT_EQ(sight.find(pair.second, pair.first), std::optional<bool>(sees));
    }
    EXPECT_FALSE(sight.find(1000, 999).has_value());
}
