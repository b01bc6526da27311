// Tests of the shortened route over the cells: every cell once, never longer than a greedy
// route worked out here, lengths summed here from the corners' places.
#include "survey/cell_order.h"
#include "survey/cell_tour.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

// Cells scattered over a field, leaving by the rows' count or (rows out and back) at any
// corner, sweeps whose length depends on the corner entered.
OrderProblem scattered(std::size_t cells, unsigned seed, bool anyExit) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> place(0.0, 20000.0);
    OrderProblem problem;
    for (std::size_t c = 0; c < cells; ++c) {
        const double x = place(random), y = place(random);
        const double w = place(random) / 40.0, h = place(random) / 40.0;
        problem.places.insert(problem.places.end(),
                              {{x, y}, {x + w, y}, {x, y + h}, {x + w, y + h}});
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

double straight(const OrderProblem& problem, const CellVisit& from, const CellVisit& to) {
    const auto& p = problem.places[4 * from.cell + problem.cells[from.cell].exit[from.entry]];
    const auto& q = problem.places[4 * to.cell + to.entry];
    return std::hypot(q[0] - p[0], q[1] - p[1]);
}

// Meters of a route, summed here: sweeps, and the links (straight lines from exit to entry
// corners unless others are given); infinite unless every cell is swept once.
template <typename Link = decltype(&straight)>
double lengthHere(const OrderProblem& problem, const std::vector<CellVisit>& visits,
                  Link link = &straight) {
    std::vector<bool> swept(problem.cells.size(), false);
    double meters = 0.0;
    for (std::size_t k = 0; k < visits.size(); ++k) {
        if (visits[k].entry > 3 || swept[visits[k].cell]) {
            return std::numeric_limits<double>::infinity();
        }
        swept[visits[k].cell] = true;
        meters += problem.cells[visits[k].cell].length[visits[k].entry];
        meters += k > 0 ? link(problem, visits[k - 1], visits[k]) : 0.0;
    }
    return visits.size() == problem.cells.size() ? meters : std::numeric_limits<double>::infinity();
}

// The nearest corner of a cell not yet swept next, from the given first visit.
std::vector<CellVisit> greedyHere(const OrderProblem& problem, CellVisit first) {
    std::vector<CellVisit> visits{first};
    std::vector<bool> done(problem.cells.size(), false);
    done[first.cell] = true;
    while (visits.size() < problem.cells.size()) {
        CellVisit next;
        double nearest = std::numeric_limits<double>::infinity();
        for (std::size_t k = 0; k < 4 * problem.cells.size(); ++k) {
            const CellVisit candidate{k / 4, k % 4};
            if (!done[candidate.cell] && straight(problem, visits.back(), candidate) < nearest) {
                nearest = straight(problem, visits.back(), candidate);
                next = candidate;
            }
        }
        done[next.cell] = true;
        visits.push_back(next);
    }
    return visits;
}

} // namespace

TEST(CellTour, NeverLongerThanTheGreedyRoute) {
    // Leaving a cell may not be entering it the other way round (anyExit); the route may have
    // to begin at corner 0 of cell 0 (fixedStart).
    struct Case {
        std::size_t cells;
        unsigned seed;
        bool anyExit, fixedStart;
    };
    const Case cases[] = {{3, 1, false, false},
                          {13, 2, false, false},
                          {40, 3, true, false},
                          {61, 4, false, true},
                          {90, 6, true, true}};
    for (const Case& c : cases) {
        OrderProblem problem = scattered(c.cells, c.seed, c.anyExit);
        if (c.fixedStart) {
            problem.mayStart.assign(4 * c.cells, false);
            problem.mayStart[0] = true;
        }
        const std::string what = std::to_string(c.cells) + " cells, seed " + std::to_string(c.seed);
        // Shortening a route never lengthens it; the whole order is no longer than the greedy
        // route from any corner it may start at, and begins where it may.
        const std::vector<CellVisit> greedy = greedyHere(problem, {0, 0});
        EXPECT_LE(lengthHere(problem, shortenTour(problem, greedy)), lengthHere(problem, greedy));
        const std::vector<CellVisit> ordered = orderCells(problem);
        EXPECT_NEAR(routeLength(problem, ordered), lengthHere(problem, ordered), 1e-6) << what;
        EXPECT_TRUE(!c.fixedStart || (ordered[0].cell == 0 && ordered[0].entry == 0)) << what;
        for (std::size_t start = 0; start < 4 * std::min<std::size_t>(c.cells, 3); ++start) {
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
    // Every link of the route shortened on the estimate is a long way round.
    const auto roundabout = [&](const OrderProblem& p, const CellVisit& from, const CellVisit& to) {
        for (std::size_t k = 0; k + 1 < onEstimate.size(); ++k) {
            if (onEstimate[k].cell == from.cell && onEstimate[k + 1].cell == to.cell) {
                return straight(p, from, to) + 1e6;
            }
        }
        return straight(p, from, to);
    };
    problem.wayLength = [&](const CellVisit& from, const CellVisit& to) {
        return roundabout(problem, from, to);
    };
    EXPECT_LT(lengthHere(problem, orderCells(problem), roundabout),
              lengthHere(problem, onEstimate, roundabout));
}

// Where the ways are the straight distances, the shortened route is shorter than the greedy
// one could be by any ways: a bound below every way spares weighing the greedy route's.
TEST(CellTour, ABoundBelowTheWaysSparesWeighingThem) {
    OrderProblem problem = scattered(80, 9, false);
    std::size_t weighed = 0;
    problem.wayLength = [&](const CellVisit& from, const CellVisit& to) {
        ++weighed;
        return straight(problem, from, to);
    };
    const std::vector<CellVisit> unbounded = orderCells(problem);
    const std::size_t weighedUnbounded = weighed;
    weighed = 0;
    problem.leastWayLength = [&](const CellVisit& from, const CellVisit& to) {
        return straight(problem, from, to);
    };
    const std::vector<CellVisit> bounded = orderCells(problem);
    ASSERT_EQ(bounded.size(), unbounded.size());
    for (std::size_t k = 0; k < bounded.size(); ++k) {
        EXPECT_EQ(bounded[k].cell, unbounded[k].cell) << "visit " << k;
        EXPECT_EQ(bounded[k].entry, unbounded[k].entry) << "visit " << k;
    }
    EXPECT_EQ(weighed, bounded.size() - 1);
    EXPECT_EQ(weighedUnbounded, 2 * (bounded.size() - 1));
}
