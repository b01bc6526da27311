// The order in which the cells are swept and the corner each is entered at, for the
// shortest route: exact over every order for a few cells, a greedy route improved by
// reversing stretches of it for many.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

// Up to this many cells every order is weighed (by dynamic programming over the sets of
// cells swept); beyond, the route is built greedily and improved.
constexpr std::size_t kMostCellsOrderedExactly = 12;

// A cell is entered at one of its four corners (the two ends of its first and of its last
// row); where it is left, and how long its sweep is, follows from that.
struct CellSweeps {
    std::array<std::size_t, 4> exit{}; // the corner (0..3) left at, by corner entered at
    std::array<double, 4> length{};    // meters, lines and turns, by corner entered at
};

struct OrderProblem {
    std::vector<CellSweeps> cells;
    // link[a][b]: meters from corner a to corner b, corners numbered 4 * cell + corner.
    std::vector<std::vector<double>> link;
    // Where link is empty, the corners' places (x, y in meters, by the same numbering) and
    // each link the straight distance: thousands of cells would need gigabytes of links.
    std::vector<std::array<double, 2>> places;
    // Which corners the route may begin at (by the same numbering); none means any.
    std::vector<bool> mayStart;
};

struct CellVisit {
    std::size_t cell = 0;
    std::size_t entry = 0; // the corner entered at, 0..3
};

std::vector<CellVisit> orderCells(const OrderProblem& problem);

// Meters of the whole route: every sweep and every link between them.
double routeLength(const OrderProblem& problem, const std::vector<CellVisit>& visits);
