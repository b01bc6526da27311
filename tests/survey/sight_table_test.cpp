// Tests of the table of sight against std::map, through its growth and at its largest pairs.
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
