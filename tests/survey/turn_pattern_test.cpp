// Tests of the order rows are run in: every row once, and turns as wide as asked wherever the
// cell has room for them.
#include "survey/turn_pattern.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

TEST(TurnPattern, EveryRowOnceAndTurnsWideEnough) {
    const struct {
        std::size_t rows;
        std::size_t jump;
        std::size_t narrow; // turns narrower than jump rows
    } cases[] = {
        {10, 1, 0}, {7, 3, 0},   {8, 3, 0}, {13, 3, 0}, {14, 3, 0},
        {20, 3, 0}, {101, 4, 0}, {5, 3, 2}, {1, 5, 0},  {0, 2, 0},
    };
    for (const auto& c : cases) {
        const std::vector<std::size_t> order = rowOrder(c.rows, c.jump);
        std::vector<std::size_t> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        std::vector<std::size_t> all(c.rows);
        std::iota(all.begin(), all.end(), 0);
        EXPECT_EQ(sorted, all) << c.rows << " rows, jump " << c.jump;
        std::size_t narrow = 0;
        for (std::size_t i = 1; i < order.size(); ++i) {
            const auto span = static_cast<long>(order[i]) - static_cast<long>(order[i - 1]);
            narrow += std::labs(span) < static_cast<long>(c.jump) ? 1 : 0;
            // Out and back: no turn wider than twice the jump and one, so no long transit.
            EXPECT_LE(std::labs(span), static_cast<long>(2 * c.jump + 1)) << c.rows;
        }
        EXPECT_EQ(narrow, c.narrow) << c.rows << " rows, jump " << c.jump;
        EXPECT_EQ(narrowTurns(order, c.jump), c.narrow) << c.rows << " rows, jump " << c.jump;
    }
    // 2R of 300 m is 3 rows at 100 m, and 4 at 99 m; a spacing wider than 2R turns row by row.
    EXPECT_EQ(rowsPerTurn(100.0, 150.0), 3u);
    EXPECT_EQ(rowsPerTurn(99.0, 150.0), 4u);
    EXPECT_EQ(rowsPerTurn(400.0, 150.0), 1u);
    EXPECT_EQ(rowsPerTurn(100.0, 0.0), 1u);
}
