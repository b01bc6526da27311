// The order in which the rows of a cell are run, so that every turn spans the width a
// vehicle needs to turn round.
#pragma once

#include <cstddef>
#include <vector>

// Rows a turn must span so that it is at least twice the turning radius wide: 1 (the next
// row) when the spacing is wide enough, else more.
std::size_t rowsPerTurn(double spacing, double turnRadius);

// The rows 0..rows-1 in the order run, each turn spanning at least jump rows where the cell
// has room: one row after another for a jump of 1; else in blocks of 2 * jump + 1 rows, each
// run out (jump + 1) rows and back jump rows (0, jump + 1, 1, jump + 2, ..., jump), the last
// block taking what is left over. A cell of fewer than 2 * jump + 1 rows has not the room:
// it is run out and back across its middle, the turns as wide as it allows.
std::vector<std::size_t> rowOrder(std::size_t rows, std::size_t jump);

// How many turns of an order span fewer rows than jump.
std::size_t narrowTurns(const std::vector<std::size_t>& order, std::size_t jump);
