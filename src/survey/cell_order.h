// The order in which the cells are swept and the corner each is entered at, for the
// shortest route: exact over every order for a few cells; for many, a greedy route improved
// by reversing and moving stretches of it, kept only where the true ways are shorter.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
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

struct CellVisit {
    std::size_t cell = 0;
    std::size_t entry = 0; // the corner entered at, 0..3
};

struct OrderProblem {
    std::vector<CellSweeps> cells;
    // link[a][b]: meters from corner a to corner b, corners numbered 4 * cell + corner.
    std::vector<std::vector<double>> link;
    // Where link is empty, the corners' places (x, y in meters, by the same numbering) and
    // each link the straight distance: thousands of cells would need gigabytes of links.
    std::vector<std::array<double, 2>> places;
    // Where link is empty and the cells are few enough to weigh every order: meters of the
    // way from corner a to corner b (a below b, in different cells, the same either way
    // round), never shorter than the straight distance between their places. It is asked only
    // of links on a route that could be the shortest, as each is a way to be searched.
    std::function<double(std::size_t a, std::size_t b)> linkLength;
    // Which corners the route may begin at (by the same numbering); none means any.
    std::vector<bool> mayStart;
    // Meters of the way the vehicle would take from the end of one cell's sweep to the start
    // of the next's, where the straight distances of places are only an estimate: a route
    // shortened on the estimate is taken only when it is shorter on these. None: the links
    // are taken as they are.
    std::function<double(const CellVisit& from, const CellVisit& to)> wayLength;
    // Meters that no such way is shorter than (the straight distance between its ends), at no
    // cost: a route that is shorter by the ways than another is by these needs no ways of the
    // other weighed. None: every way is weighed.
    std::function<double(const CellVisit& from, const CellVisit& to)> leastWayLength;
};

std::vector<CellVisit> orderCells(const OrderProblem& problem);

// Meters from corner a to corner b (numbered 4 * cell + corner): the table's, or the
// straight distance between their places (0 within one cell).
double linkBetween(const OrderProblem& problem, std::size_t a, std::size_t b);

// The best corners for the cells swept in this order, the first at a corner it may start at.
std::vector<CellVisit> bestCorners(const OrderProblem& problem,
                                   const std::vector<std::size_t>& order);

// Meters of the whole route: every sweep and every link between them.
double routeLength(const OrderProblem& problem, const std::vector<CellVisit>& visits);
