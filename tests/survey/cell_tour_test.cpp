// Tests of the shortened route over the cells: every cell once, never longer than what it
// started from nor than a greedy route worked out here, lengths summed here from the places.
#include "survey/cell_order.h"
#include "survey/cell_tour.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

// Cells scattered over a field, exits by the rows' count or (out and back across several
// rows) any corner, sweeps of random length that differ by the corner entered.
OrderProblem scattered(std::size_t cells, unsigned seed, bool anyExit) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> place(0.0, 20000.0);
    OrderProblem problem;
    for (std::size_t c = 0; c < cells; ++c) {
        const double x = place(random);
        const double y = place(random);
        const double w = place(random) / 40.0;
        const double h = place(random) / 40.0;
        for (const auto& [dx, dy] : {std::pair{0.0, 0.0}, {w, 0.0}, {0.0, h}, {w, h}}) {
            problem.places.push_back({x + dx, y + dy});
        }
        CellSweeps sweeps;
        const std::size_t odd = random() % 2;
        for (std::size_t e = 0; e < 4; ++e) {
            sweeps.exit[e] = anyExit ? random() % 4 : (e ^ 2) ^ odd;
            sweeps.length[e] = 500.0 + place(random) / 20.0;
        }
        problem.cells.push_back(sweeps);
    }
    return problem;
}

// Meters of a route, summed here: sweeps, and straight lines between exit and entry corners.
double lengthHere(const OrderProblem& problem, const std::vector<CellVisit>& visits) {
    double meters = 0.0;
    for (std::size_t k = 0; k < visits.size(); ++k) {
        const CellSweeps& cell = problem.cells[visits[k].cell];
        meters += cell.length[visits[k].entry];
        if (k + 1 < visits.size()) {
            const auto& from = problem.places[4 * visits[k].cell + cell.exit[visits[k].entry]];
            const auto& to = problem.places[4 * visits[k + 1].cell + visits[k + 1].entry];
            meters += std::hypot(to[0] - from[0], to[1] - from[1]);
        }
    }
    return meters;
}

// The nearest cell next, at its nearest corner, from the given first visit.
std::vector<CellVisit> greedyHere(const OrderProblem& problem, CellVisit first) {
    std::vector<CellVisit> visits{first};
    std::vector<bool> done(problem.cells.size(), false);
    done[first.cell] = true;
    while (visits.size() < problem.cells.size()) {
        const CellVisit& last = visits.back();
        const auto& from =
            problem.places[4 * last.cell + problem.cells[last.cell].exit[last.entry]];
        CellVisit next;
        double nearest = std::numeric_limits<double>::infinity();
        for (std::size_t c = 0; c < problem.cells.size(); ++c) {
            for (std::size_t e = 0; !done[c] && e < 4; ++e) {
                const auto& to = problem.places[4 * c + e];
                const double meters = std::hypot(to[0] - from[0], to[1] - from[1]);
                if (meters < nearest) {
                    nearest = meters;
                    next = {c, e};
                }
            }
        }
        done[next.cell] = true;
        visits.push_back(next);
    }
    return visits;
}

void expectEveryCellOnce(std::size_t cells, const std::vector<CellVisit>& visits) {
    std::vector<bool> seen(cells, false);
    ASSERT_EQ(visits.size(), cells);
    for (const CellVisit& visit : visits) {
        ASSERT_LT(visit.entry, 4u);
        EXPECT_FALSE(seen[visit.cell]) << "cell " << visit.cell << " twice";
        seen[visit.cell] = true;
    }
}

} // namespace

TEST(CellTour, NeverLongerThanTheGreedyRoute) {
    struct Case {
        std::size_t cells;
        unsigned seed;
        bool anyExit;    // rows run out and back: leaving a cell is not entering it reversed
        bool fixedStart; // the route must begin at one corner of cell 0
    };
    const Case cases[] = {
        {3, 1, false, false},   {13, 2, false, false}, {40, 3, true, false},   {61, 4, false, true},
        {200, 5, false, false}, {200, 6, true, true},  {300, 7, false, false},
    };
    for (const Case& c : cases) {
        OrderProblem problem = scattered(c.cells, c.seed, c.anyExit);
        CellVisit first{0, 0};
        if (c.fixedStart) {
            problem.mayStart.assign(4 * c.cells, false);
            problem.mayStart[0] = true;
        }
        const std::vector<CellVisit> greedy = greedyHere(problem, first);
        const std::vector<CellVisit> shortened = shortenTour(problem, greedy);
        const std::string what = std::to_string(c.cells) + " cells, seed " + std::to_string(c.seed);
        expectEveryCellOnce(c.cells, shortened);
        EXPECT_LE(lengthHere(problem, shortened), lengthHere(problem, greedy) + 1e-6) << what;
        EXPECT_NEAR(routeLength(problem, shortened), lengthHere(problem, shortened), 1e-6) << what;
        if (c.fixedStart) {
            EXPECT_EQ(shortened.front().cell, 0u) << what;
            EXPECT_EQ(shortened.front().entry, 0u) << what;
        }
        // The whole order: no longer than the greedy route from any corner it may start at.
        const std::vector<CellVisit> ordered = orderCells(problem);
        expectEveryCellOnce(c.cells, ordered);
        for (std::size_t start = 0; start < 4 * std::min<std::size_t>(c.cells, 8); ++start) {
            if (problem.mayStart.empty() || problem.mayStart[start]) {
                EXPECT_LE(lengthHere(problem, ordered),
                          lengthHere(problem, greedyHere(problem, {start / 4, start % 4})) + 1e-6)
                    << what << ", greedy from corner " << start;
            }
        }
    }
}

// Where the straight distances mislead (the ways bend round land), the route shortened on
// them is kept only if the ways are shorter too.
TEST(CellTour, TheWaysDecide) {
    OrderProblem problem = scattered(80, 9, false);
    const std::vector<CellVisit> onEstimate = orderCells(problem);
    const auto straight = [&](const CellVisit& from, const CellVisit& to) {
        const auto& p = problem.places[4 * from.cell + problem.cells[from.cell].exit[from.entry]];
        const auto& q = problem.places[4 * to.cell + to.entry];
        return std::hypot(q[0] - p[0], q[1] - p[1]);
    };
    // Every link of the route shortened on the estimate is a long way round.
    const auto roundabout = [&](const CellVisit& from, const CellVisit& to) {
        for (std::size_t k = 0; k + 1 < onEstimate.size(); ++k) {
            if (onEstimate[k].cell == from.cell && onEstimate[k + 1].cell == to.cell) {
                return straight(from, to) + 1e6;
            }
        }
        return straight(from, to);
    };
    problem.wayLength = roundabout;
    const std::vector<CellVisit> onWays = orderCells(problem);
    expectEveryCellOnce(problem.cells.size(), onWays);
    double waysTaken = 0.0;
    double waysShortened = 0.0;
    for (std::size_t k = 0; k + 1 < onWays.size(); ++k) {
        waysTaken += roundabout(onWays[k], onWays[k + 1]);
        waysShortened += roundabout(onEstimate[k], onEstimate[k + 1]);
    }
    EXPECT_LT(waysTaken, waysShortened);
    problem.wayLength = straight;
    const std::vector<CellVisit> same = orderCells(problem);
    EXPECT_EQ(lengthHere(problem, same), lengthHere(problem, onEstimate));
}
