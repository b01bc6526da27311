// Interleaved rows: out a few rows and back on the ones skipped, so no turn is too tight.
#include "survey/turn_pattern.h"

#include <cmath>

namespace {

// One block of rows first..first+size-1 run out across its middle and back: for an odd size
// it ends on the middle row, the next block's first row lying half the block beyond; for an
// even size on its last row.
void appendBlock(std::size_t first, std::size_t size, std::vector<std::size_t>& order) {
    const std::size_t half = size / 2;
    const std::size_t upper = first + (size % 2 == 1 ? half + 1 : half);
    for (std::size_t i = 0; i < half; ++i) {
        order.push_back(first + i);
        order.push_back(upper + i);
    }
    if (size % 2 == 1) {
        order.push_back(first + half);
    }
}

} // namespace

std::size_t rowsPerTurn(double spacing, double turnRadius) {
    if (!(spacing > 0.0) || !(turnRadius > 0.0)) {
        return 1;
    }
    // A hair below a whole number of spacings is that number: 2R of 300 m at 100 m is 3.
    const double rows = std::ceil(2.0 * turnRadius / spacing - 1e-9);
    return rows <= 1.0 ? 1 : rows >= 1e6 ? 1'000'000 : static_cast<std::size_t>(rows);
}

std::vector<std::size_t> rowOrder(std::size_t rows, std::size_t jump) {
    std::vector<std::size_t> order;
    order.reserve(rows);
    if (jump <= 1 || rows < 2 * jump + 1) {
        if (jump <= 1) {
            for (std::size_t row = 0; row < rows; ++row) {
                order.push_back(row);
            }
        } else {
            appendBlock(0, rows, order);
        }
        return order;
    }
    const std::size_t block = 2 * jump + 1;
    std::size_t first = 0;
    // Whole blocks while two fit; the last takes the rest (block to 2 * block - 1 rows: an
    // even size there is at least block + 1, wide enough for its turns back).
    while (rows - first >= 2 * block) {
        appendBlock(first, block, order);
        first += block;
    }
    appendBlock(first, rows - first, order);
    return order;
}

std::size_t narrowTurns(const std::vector<std::size_t>& order, std::size_t jump) {
    std::size_t narrow = 0;
    for (std::size_t i = 1; i < order.size(); ++i) {
        const std::size_t span =
            order[i] > order[i - 1] ? order[i] - order[i - 1] : order[i - 1] - order[i];
        narrow += span < jump ? 1 : 0;
    }
    return narrow;
}
