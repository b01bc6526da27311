// Tests of the order of the cells against every order and every choice of corners.
#include "survey/cell_order.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <random>
#include <set>
#include <utility>

namespace {

// Cells with corners scattered over a field, sweeps of random length, links the straight
// distance between corners; with a lattice, corners and lengths on it, so that links tie.
OrderProblem randomProblem(std::size_t cells, unsigned seed, double lattice = 0.0) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> place(0.0, 1000.0);
    std::vector<std::pair<double, double>> corners;
    OrderProblem problem;
    for (std::size_t c = 0; c < cells; ++c) {
        const double x = place(random);
        const double y = place(random);
        const double w = place(random) / 10.0;
        const double h = place(random) / 10.0;
        const auto on = [&](double v) {
            return lattice > 0.0 ? std::round(v / lattice) * lattice : v;
        };
        corners.insert(
            corners.end(),
            {{on(x), on(y)}, {on(x + w), on(y)}, {on(x), on(y + h)}, {on(x + w), on(y + h)}});
        CellSweeps sweeps;
        const std::size_t odd = random() % 2;
        for (std::size_t e = 0; e < 4; ++e) {
            sweeps.exit[e] = (e ^ 2) ^ odd; // the other row; the same side after an even count
            sweeps.length[e] =
                1000.0 +
                (lattice > 0.0 ? std::round(place(random) / lattice) * lattice : place(random));
        }
        problem.cells.push_back(sweeps);
    }
    for (const auto& [x, y] : corners) {
        problem.places.push_back({x, y});
    }
    problem.link.assign(corners.size(), std::vector<double>(corners.size()));
    for (std::size_t a = 0; a < corners.size(); ++a) {
        for (std::size_t b = 0; b < corners.size(); ++b) {
            problem.link[a][b] = std::hypot(corners[a].first - corners[b].first,
                                            corners[a].second - corners[b].second);
        }
    }
    return problem;
}

double bruteForce(const OrderProblem& problem) {
    std::vector<std::size_t> order(problem.cells.size());
    std::iota(order.begin(), order.end(), 0);
    double best = std::numeric_limits<double>::infinity();
    do {
        const std::size_t choices = std::size_t{1} << (2 * order.size());
        for (std::size_t pick = 0; pick < choices; ++pick) {
            std::vector<CellVisit> visits;
            for (std::size_t k = 0; k < order.size(); ++k) {
                visits.push_back({order[k], (pick >> (2 * k)) & 3U});
            }
            if (problem.mayStart.empty() ||
                problem.mayStart[4 * visits[0].cell + visits[0].entry]) {
                best = std::min(best, routeLength(problem, visits));
            }
        }
    } while (std::next_permutation(order.begin(), order.end()));
    return best;
}

void expectEveryCellOnce(const OrderProblem& problem, const std::vector<CellVisit>& visits) {
    std::vector<std::size_t> cells;
    for (const CellVisit& visit : visits) {
        cells.push_back(visit.cell);
        EXPECT_LT(visit.entry, 4u);
    }
    std::sort(cells.begin(), cells.end());
    std::vector<std::size_t> all(problem.cells.size());
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(cells, all);
}

} // namespace

TEST(CellOrder, ShortestOfEveryOrderAndCorner) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        OrderProblem problem = randomProblem(1 + seed % 5, seed);
        if (seed % 3 == 0) {
            problem.mayStart.assign(4 * problem.cells.size(), false);
            problem.mayStart[4 * (problem.cells.size() - 1) + 2] = true;
        }
        const std::vector<CellVisit> visits = orderCells(problem);
        expectEveryCellOnce(problem, visits);
        EXPECT_NEAR(routeLength(problem, visits), bruteForce(problem), 1e-6) << "seed " << seed;
        if (!problem.mayStart.empty()) {
            EXPECT_EQ(visits[0].cell, problem.cells.size() - 1);
            EXPECT_EQ(visits[0].entry, 2u);
        }
    }
}

// Beyond the exact limit the order is built greedily and improved: every cell once, and no
// longer than taking the cells as numbered with the best corners for that order.
TEST(CellOrder, ManyCellsStillAGoodRoute) {
    const OrderProblem problem = randomProblem(kMostCellsOrderedExactly + 8, 7);
    const std::vector<CellVisit> visits = orderCells(problem);
    expectEveryCellOnce(problem, visits);
    std::vector<CellVisit> numbered;
    double naive = std::numeric_limits<double>::infinity();
    for (std::size_t first = 0; first < 4; ++first) {
        numbered.clear();
        for (std::size_t c = 0; c < problem.cells.size(); ++c) {
            numbered.push_back({c, c == 0 ? first : 0});
        }
        naive = std::min(naive, routeLength(problem, numbered));
    }
    EXPECT_LT(routeLength(problem, visits), naive);
}

// Orders found without the whole table are the table's: many cells by their corners' places
// (ties on a lattice among them), few by ways searched as needed, each asked once at most
// (ways bent well past straight, ties, the links alone deciding, the start fixed).
TEST(CellOrder, OrdersWithoutTheWholeTableAreTheTables) {
    struct Case {
        std::size_t cells;
        double lattice;
        double bend; // the most a way is longer than straight, as a share of it
        bool fixedStart;
        bool evenSweeps; // every cell swept in as long from any corner
    };
    for (const Case& c : {Case{kMostCellsOrderedExactly + 8, 0.0, 0.0, false, false},
                          Case{150, 0.0, 0.0, false, false}, Case{150, 100.0, 0.0, false, false},
                          Case{1, 0.0, 0.5, false, false}, Case{3, 0.0, 0.5, false, true},
                          Case{6, 0.0, 0.01, false, true}, Case{8, 0.0, 2.0, true, false},
                          Case{8, 100.0, 0.0, false, true}, Case{12, 0.0, 0.3, false, false},
                          Case{12, 0.0, 0.3, false, true}, Case{12, 50.0, 0.0, true, true}}) {
        OrderProblem table = randomProblem(c.cells, 11, c.lattice);
        std::mt19937 random(static_cast<unsigned>(c.cells));
        std::uniform_real_distribution<double> bend(0.0, c.bend);
        for (std::size_t a = 0; a < table.link.size() && c.bend > 0.0; ++a) {
            for (std::size_t b = a + 1; b < table.link.size(); ++b) {
                table.link[a][b] *= 1.0 + (random() % 3 == 0 ? bend(random) : 0.0);
                table.link[b][a] = table.link[a][b];
            }
        }
        if (c.evenSweeps) {
            std::ranges::for_each(table.cells,
                                  [](CellSweeps& sweeps) { sweeps.length.fill(1000.0); });
        }
        if (c.fixedStart) {
            table.mayStart.assign(4 * c.cells, false);
            table.mayStart[1] = true;
        }
        OrderProblem without = table;
        without.link.clear();
        std::set<std::pair<std::size_t, std::size_t>> asked;
        if (c.cells <= kMostCellsOrderedExactly) {
            without.linkLength = [&](std::size_t a, std::size_t b) {
                EXPECT_TRUE(a < b && a / 4 != b / 4 && asked.insert({a, b}).second)
                    << a << ", " << b;
                return table.link[a][b];
            };
        }
        const std::vector<CellVisit> fromTable = orderCells(table);
        const std::vector<CellVisit> fromWithout = orderCells(without);
        ASSERT_EQ(fromWithout.size(), fromTable.size());
        for (std::size_t k = 0; k < fromTable.size(); ++k) {
            EXPECT_EQ(fromWithout[k].cell, fromTable[k].cell) << c.cells << " cells, visit " << k;
            EXPECT_EQ(fromWithout[k].entry, fromTable[k].entry) << c.cells << " cells, visit " << k;
        }
        if (c.cells > kMostCellsOrderedExactly) {
            EXPECT_EQ(routeLength(without, fromWithout), routeLength(table, fromTable));
        }
    }
}
