// The order of the cells and the corner each is entered at.
#include "survey/cell_order.h"

#include "survey/cell_tour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kNever = std::numeric_limits<double>::infinity();

// Beyond this many cells, reversing stretches of the route costs more than it is worth.
constexpr std::size_t kMostCellsImproved = 60;
// Greedy routes are built from this many beginnings at most, and from fewer where the cells
// are so many that each route costs seconds: the starts times the cells squared stay under
// this many steps.
constexpr std::size_t kMostGreedyStarts = 32;
constexpr double kGreedySteps = 1e9;
// Sums of thousands of lengths, each bound below its way, may round past the sum of the ways
// by this share.
constexpr double kSumRounding = 1e-9;
// A way's legs, summed, may round below its straight distance by far less than this share
// of it: the share of the straight distance that bounds the way from below.
constexpr double kLeastWayShare = 1.0 - 1e-9;

bool mayStartAt(const OrderProblem& problem, std::size_t cell, std::size_t entry) {
    return problem.mayStart.empty() || problem.mayStart[4 * cell + entry];
}

std::size_t exitCorner(const OrderProblem& problem, const CellVisit& from) {
    return 4 * from.cell + problem.cells[from.cell].exit[from.entry];
}

double linkCost(const OrderProblem& problem, const CellVisit& from, const CellVisit& to) {
    return linkBetween(problem, exitCorner(problem, from), 4 * to.cell + to.entry);
}

// No link is shorter than the larger of its two coordinate differences.
double leastLink(const OrderProblem& problem, std::size_t a, std::size_t b) {
    if (!problem.link.empty() || a / 4 == b / 4) {
        return 0.0;
    }
    const std::array<double, 2>& p = problem.places[a];
    const std::array<double, 2>& q = problem.places[b];
    return std::max(std::abs(q[0] - p[0]), std::abs(q[1] - p[1]));
}

// Every order and choice of corners, by dynamic programming over the sets of cells swept.
// link gives the meters between two corners; least, at no cost, no more than link; rest, by
// state, no more than what the rest of any route adds after it. A step that can make no
// route within bound, or cannot improve on the best found, is not weighed, and its link is
// never asked. Every step of a route within bound is weighed, in the same order and with the
// same sums, so the route chosen is the one weighing every step would choose, ties and all.
template <typename Link, typename Least>
std::vector<CellVisit> orderOverSets(const OrderProblem& problem, Link&& link, Least&& least,
                                     const std::vector<double>& rest, double bound) {
    const std::size_t cells = problem.cells.size();
    const std::size_t states = 4 * cells;
    const std::size_t sets = std::size_t{1} << cells;
    // best[set * states + state]: the shortest route over the set ending with state, where
    // a state is a cell and the corner it was entered at.
    std::vector<double> best(sets * states, kNever);
    std::vector<std::uint32_t> before(sets * states, UINT32_MAX);
    for (std::size_t state = 0; state < states; ++state) {
        const std::size_t cell = state / 4;
        if (mayStartAt(problem, cell, state % 4)) {
            best[(std::size_t{1} << cell) * states + state] = problem.cells[cell].length[state % 4];
        }
    }
    for (std::size_t set = 1; set < sets; ++set) {
        for (std::size_t state = 0; state < states; ++state) {
            const double sofar = best[set * states + state];
            if (sofar == kNever) {
                continue;
            }
            const std::size_t exit = exitCorner(problem, {state / 4, state % 4});
            for (std::size_t next = 0; next < states; ++next) {
                const std::size_t cell = next / 4;
                if ((set >> cell) & 1U) {
                    continue;
                }
                const double length = problem.cells[cell].length[next % 4];
                const std::size_t grownSet = set | (std::size_t{1} << cell);
                const std::size_t grown = grownSet * states + next;
                // Sums only grow with their terms, in floating point too.
                const double leastTotal = sofar + least(exit, next) + length;
                if (leastTotal >= best[grown] || leastTotal + rest[grown] > bound) {
                    continue;
                }
                const double total = sofar + link(exit, next) + length;
                if (total < best[grown]) {
                    best[grown] = total;
                    before[grown] = static_cast<std::uint32_t>(state);
                }
            }
        }
    }
    const std::size_t all = sets - 1;
    std::size_t state = 0;
    for (std::size_t s = 1; s < states; ++s) {
        if (best[all * states + s] < best[all * states + state]) {
            state = s;
        }
    }
    if (!(best[all * states + state] < kNever)) {
        return {}; // no route within bound
    }
    std::vector<CellVisit> visits;
    for (std::size_t set = all; set != 0;) {
        visits.push_back({state / 4, state % 4});
        const std::uint32_t previous = before[set * states + state];
        set &= ~(std::size_t{1} << (state / 4));
        state = previous;
    }
    std::reverse(visits.begin(), visits.end());
    return visits;
}

// Meters that the rest of any route adds at least after each state (indexed as best is), by
// links no shorter than least: the same sets weighed backwards.
template <typename Least>
std::vector<double> leastToFinish(const OrderProblem& problem, Least&& least) {
    const std::size_t states = 4 * problem.cells.size();
    const std::size_t sets = std::size_t{1} << problem.cells.size();
    std::vector<double> rest(sets * states, kNever);
    std::fill(rest.end() - static_cast<std::ptrdiff_t>(states), rest.end(), 0.0);
    for (std::size_t set = sets - 1; set-- > 1;) {
        for (std::size_t state = 0; state < states; ++state) {
            if (((set >> (state / 4)) & 1U) == 0) {
                continue;
            }
            const std::size_t exit = exitCorner(problem, {state / 4, state % 4});
            double fewest = kNever;
            for (std::size_t next = 0; next < states; ++next) {
                const std::size_t cell = next / 4;
                if (((set >> cell) & 1U) == 0) {
                    const std::size_t grown = (set | (std::size_t{1} << cell)) * states + next;
                    fewest =
                        std::min(fewest, least(exit, next) + problem.cells[cell].length[next % 4] +
                                             rest[grown]);
                }
            }
            rest[set * states + state] = fewest;
        }
    }
    return rest;
}

// The exact order where each link is a way to be searched: the straight distances bound the
// links from below; the links of the shortest route by them are searched until it has no
// link left unknown; its length then bounds the routes weighed step by step.
std::vector<CellVisit> orderByWays(const OrderProblem& problem) {
    const std::size_t cells = problem.cells.size();
    const std::size_t corners = 4 * cells;
    const std::size_t sets = std::size_t{1} << cells;
    // Meters no link falls short of: what is known of it, else its straight distance.
    std::vector<double> least(corners * corners, 0.0);
    std::vector<bool> known(corners * corners, false);
    for (std::size_t a = 0; a < corners; ++a) {
        for (std::size_t b = 0; b < corners; ++b) {
            least[a * corners + b] = linkBetween(problem, a, b) * kLeastWayShare;
        }
    }
    const auto leastOf = [&](std::size_t a, std::size_t b) { return least[a * corners + b]; };
    // The same way either way round, searched from the lower numbered corner.
    const auto link = [&](std::size_t a, std::size_t b) {
        if (!known[a * corners + b]) {
            const double meters = problem.linkLength(std::min(a, b), std::max(a, b));
            least[a * corners + b] = least[b * corners + a] = meters;
            known[a * corners + b] = known[b * corners + a] = true;
        }
        return least[a * corners + b];
    };
    const std::vector<double> none(sets * corners, 0.0);
    // Meters of a route whose every link is known, the shortest by the least links: no route
    // is shorter.
    double bound = 0.0;
    for (bool settled = false; !settled;) {
        const std::vector<CellVisit> shortest =
            orderOverSets(problem, leastOf, leastOf, none, kNever);
        settled = true;
        bound = 0.0;
        for (std::size_t k = 0; k < shortest.size(); ++k) {
            bound += problem.cells[shortest[k].cell].length[shortest[k].entry];
            if (k > 0) {
                const std::size_t a = exitCorner(problem, shortest[k - 1]);
                const std::size_t b = 4 * shortest[k].cell + shortest[k].entry;
                settled = settled && known[a * corners + b];
                bound += link(a, b);
            }
        }
    }
    std::vector<CellVisit> visits = orderOverSets(
        problem, link, leastOf, leastToFinish(problem, leastOf), bound * (1.0 + kSumRounding));
    if (visits.empty()) { // the bound undercut by a rounding not foreseen: every step weighed
        visits = orderOverSets(problem, link, leastOf, none, kNever);
    }
    return visits;
}

std::vector<CellVisit> exactOrder(const OrderProblem& problem) {
    if (problem.linkLength && problem.link.empty()) {
        return orderByWays(problem);
    }
    const auto link = [&](std::size_t a, std::size_t b) { return linkBetween(problem, a, b); };
    const std::size_t states = 4 * problem.cells.size();
    return orderOverSets(
        problem, link, link,
        std::vector<double>((std::size_t{1} << problem.cells.size()) * states, 0.0), kNever);
}

// The corners of the cells not yet swept, filed by their places in a grid of square blocks,
// so that the greedy route looks for its next cell near where it left the last one: looking
// through every cell left at each step costs the square of thousands of cells.
class CornerGrid {
  public:
    CornerGrid(const OrderProblem& problem, std::size_t skippedCell) : problem_(problem) {
        const std::size_t corners = problem.places.size();
        low_ = {kNever, kNever};
        std::array<double, 2> high{-kNever, -kNever};
        for (const std::array<double, 2>& p : problem.places) {
            for (std::size_t axis = 0; axis < 2; ++axis) {
                low_[axis] = std::min(low_[axis], p[axis]);
                high[axis] = std::max(high[axis], p[axis]);
            }
        }
        // About one cell's corners to a block.
        side_ = std::max<std::size_t>(
            1, static_cast<std::size_t>(std::sqrt(static_cast<double>(corners) / 4.0)));
        block_ = std::max(high[0] - low_[0], high[1] - low_[1]) / static_cast<double>(side_);
        if (!(block_ > 0.0) || !std::isfinite(block_)) {
            block_ = 1.0;
            side_ = 1;
        }
        blocks_.resize(side_ * side_);
        for (std::size_t corner = 0; corner < corners; ++corner) {
            if (corner / 4 != skippedCell) {
                blocks_[blockOf(problem.places[corner])].push_back(corner);
            }
        }
    }

    void remove(std::size_t cell) {
        for (std::size_t corner = 4 * cell; corner < 4 * cell + 4; ++corner) {
            std::vector<std::size_t>& block = blocks_[blockOf(problem_.places[corner])];
            std::erase(block, corner);
        }
    }

    // The corner of least link from the corner `from` plus sweep, the lowest numbered among
    // equals, as a walk through every corner left in order would choose it; npos when none.
    std::size_t cheapestFrom(std::size_t from, double leastSweep) const {
        const std::array<double, 2>& p = problem_.places[from];
        const auto column = static_cast<std::ptrdiff_t>(indexOf(p[0], 0));
        const auto row = static_cast<std::ptrdiff_t>(indexOf(p[1], 1));
        const auto side = static_cast<std::ptrdiff_t>(side_);
        double cheapest = kNever;
        std::size_t chosen = npos;
        const auto weigh = [&](std::ptrdiff_t c, std::ptrdiff_t r) {
            if (c < 0 || r < 0 || c >= side || r >= side) {
                return;
            }
            for (const std::size_t corner : blocks_[static_cast<std::size_t>(r * side + c)]) {
                // The bound spares the square root of most links, and never skips a cheaper.
                const double length = problem_.cells[corner / 4].length[corner % 4];
                if (leastLink(problem_, from, corner) + length > cheapest) {
                    continue;
                }
                const double cost = linkBetween(problem_, from, corner) + length;
                if (cost < cheapest || (cost == cheapest && corner < chosen)) {
                    cheapest = cost;
                    chosen = corner;
                }
            }
        };
        for (std::ptrdiff_t ring = 0; ring <= side; ++ring) {
            // Every corner in this ring of blocks and beyond lies at least ring - 1 blocks
            // away; the margin keeps the rounding of the blocks' edges from hiding one.
            const double nearest = (static_cast<double>(ring) - 1.0) * block_ * (1.0 - 1e-9);
            if (ring > 0 && nearest + leastSweep > cheapest) {
                break;
            }
            if (ring == 0) {
                weigh(column, row);
                continue;
            }
            for (std::ptrdiff_t d = -ring; d <= ring; ++d) {
                weigh(column + d, row - ring);
                weigh(column + d, row + ring);
            }
            for (std::ptrdiff_t d = -ring + 1; d < ring; ++d) {
                weigh(column - ring, row + d);
                weigh(column + ring, row + d);
            }
        }
        return chosen;
    }

    // The lowest numbered corner left.
    std::size_t lowest() const {
        std::size_t least = npos;
        for (const std::vector<std::size_t>& block : blocks_) {
            for (const std::size_t corner : block) {
                least = std::min(least, corner);
            }
        }
        return least;
    }

    static constexpr std::size_t npos = SIZE_MAX;

  private:
    std::size_t indexOf(double v, std::size_t axis) const {
        const double at = std::floor((v - low_[axis]) / block_);
        return static_cast<std::size_t>(std::clamp(at, 0.0, static_cast<double>(side_ - 1)));
    }
    std::size_t blockOf(const std::array<double, 2>& p) const {
        return indexOf(p[1], 1) * side_ + indexOf(p[0], 0);
    }

    const OrderProblem& problem_;
    std::array<double, 2> low_{};
    double block_ = 1.0; // meters
    std::size_t side_ = 1;
    std::vector<std::vector<std::size_t>> blocks_;
};

// The greedy route over the places: at each step the cell whose corner is cheapest to reach
// and sweep from there.
std::vector<CellVisit> greedyByPlaces(const OrderProblem& problem, CellVisit start) {
    std::vector<CellVisit> visits{start};
    CornerGrid grid(problem, start.cell);
    double leastSweep = kNever;
    for (const CellSweeps& cell : problem.cells) {
        leastSweep =
            std::min(leastSweep, *std::min_element(cell.length.begin(), cell.length.end()));
    }
    for (std::size_t left = problem.cells.size() - 1; left > 0; --left) {
        std::size_t corner = grid.cheapestFrom(exitCorner(problem, visits.back()), leastSweep);
        if (corner == CornerGrid::npos) {
            corner = grid.lowest(); // every cost no number: the cells in their order
        }
        grid.remove(corner / 4);
        visits.push_back({corner / 4, corner % 4});
    }
    return visits;
}

std::vector<CellVisit> greedyFrom(const OrderProblem& problem, CellVisit start) {
    if (problem.link.empty()) {
        return greedyByPlaces(problem, start);
    }
    std::vector<CellVisit> visits{start};
    // The cells not yet swept, in order: each step looks through them alone, not through
    // every cell of thousands.
    std::vector<std::size_t> left;
    for (std::size_t cell = 0; cell < problem.cells.size(); ++cell) {
        if (cell != start.cell) {
            left.push_back(cell);
        }
    }
    while (!left.empty()) {
        CellVisit chosen;
        std::size_t chosenAt = 0;
        double cheapest = kNever;
        const std::size_t from = exitCorner(problem, visits.back());
        for (std::size_t at = 0; at < left.size(); ++at) {
            const std::size_t cell = left[at];
            for (std::size_t e = 0; e < 4; ++e) {
                // The bound spares the square root of most links, and never skips a cheaper.
                const double length = problem.cells[cell].length[e];
                if (!(leastLink(problem, from, 4 * cell + e) + length < cheapest)) {
                    continue;
                }
                const double cost = linkBetween(problem, from, 4 * cell + e) + length;
                if (cost < cheapest) {
                    cheapest = cost;
                    chosen = {cell, e};
                    chosenAt = at;
                }
            }
        }
        left.erase(left.begin() + static_cast<std::ptrdiff_t>(chosenAt));
        visits.push_back(chosen);
    }
    return visits;
}

std::vector<std::size_t> cellsOf(const std::vector<CellVisit>& visits) {
    std::vector<std::size_t> order;
    for (const CellVisit& visit : visits) {
        order.push_back(visit.cell);
    }
    return order;
}

std::vector<CellVisit> heuristicOrder(const OrderProblem& problem) {
    std::vector<CellVisit> starts;
    for (std::size_t cell = 0; cell < problem.cells.size(); ++cell) {
        for (std::size_t e = 0; e < 4; ++e) {
            if (mayStartAt(problem, cell, e)) {
                starts.push_back({cell, e});
            }
        }
    }
    const double cells = static_cast<double>(problem.cells.size());
    const auto most = static_cast<std::size_t>(
        std::clamp(kGreedySteps / (cells * cells), 1.0, static_cast<double>(kMostGreedyStarts)));
    const std::size_t stride = std::max<std::size_t>(1, starts.size() / most);
    std::vector<CellVisit> best;
    double bestLength = kNever;
    for (std::size_t i = 0; i < starts.size(); i += stride) {
        std::vector<CellVisit> visits =
            bestCorners(problem, cellsOf(greedyFrom(problem, starts[i])));
        const double length = routeLength(problem, visits);
        if (length < bestLength) {
            bestLength = length;
            best = std::move(visits);
        }
    }
    if (problem.cells.size() > kMostCellsImproved) {
        return best;
    }
    // Reversing a stretch of the order; the corners are chosen afresh for each order tried.
    // With a fixed beginning the first cell stays first.
    const std::size_t from = problem.mayStart.empty() ? 0 : 1;
    for (bool improved = true; improved;) {
        improved = false;
        std::vector<std::size_t> order = cellsOf(best);
        for (std::size_t i = from; i + 1 < order.size(); ++i) {
            for (std::size_t j = i + 1; j < order.size(); ++j) {
                std::reverse(order.begin() + static_cast<std::ptrdiff_t>(i),
                             order.begin() + static_cast<std::ptrdiff_t>(j) + 1);
                std::vector<CellVisit> visits = bestCorners(problem, order);
                const double length = routeLength(problem, visits);
                if (length < bestLength - 1e-9) {
                    bestLength = length;
                    best = std::move(visits);
                    improved = true;
                } else {
                    std::reverse(order.begin() + static_cast<std::ptrdiff_t>(i),
                                 order.begin() + static_cast<std::ptrdiff_t>(j) + 1);
                }
            }
        }
    }
    return best;
}

// Meters of the route by the ways given between the cells: the vehicle's, or their bound.
double lengthBy(const OrderProblem& problem, const std::vector<CellVisit>& visits,
                const std::function<double(const CellVisit&, const CellVisit&)>& way) {
    double length = 0.0;
    for (std::size_t k = 0; k < visits.size(); ++k) {
        length += problem.cells[visits[k].cell].length[visits[k].entry];
        if (k > 0) {
            length += way(visits[k - 1], visits[k]);
        }
    }
    return length;
}

} // namespace

double linkBetween(const OrderProblem& problem, std::size_t a, std::size_t b) {
    if (!problem.link.empty()) {
        return problem.link[a][b];
    }
    if (a / 4 == b / 4) {
        return 0.0;
    }
    const std::array<double, 2>& p = problem.places[a];
    const std::array<double, 2>& q = problem.places[b];
    return std::hypot(q[0] - p[0], q[1] - p[1]);
}

std::vector<CellVisit> bestCorners(const OrderProblem& problem,
                                   const std::vector<std::size_t>& order) {
    const std::size_t count = order.size();
    std::vector<std::array<double, 4>> best(count);
    std::vector<std::array<std::size_t, 4>> before(count);
    for (std::size_t e = 0; e < 4; ++e) {
        best[0][e] = mayStartAt(problem, order[0], e) ? problem.cells[order[0]].length[e] : kNever;
    }
    for (std::size_t k = 1; k < count; ++k) {
        for (std::size_t e = 0; e < 4; ++e) {
            best[k][e] = kNever;
            for (std::size_t p = 0; p < 4; ++p) {
                const double total = best[k - 1][p] +
                                     linkCost(problem, {order[k - 1], p}, {order[k], e}) +
                                     problem.cells[order[k]].length[e];
                if (total < best[k][e]) {
                    best[k][e] = total;
                    before[k][e] = p;
                }
            }
        }
    }
    std::vector<CellVisit> visits(count);
    std::size_t entry = static_cast<std::size_t>(
        std::min_element(best[count - 1].begin(), best[count - 1].end()) - best[count - 1].begin());
    for (std::size_t k = count; k-- > 0;) {
        visits[k] = {order[k], entry};
        entry = before[k][entry];
    }
    return visits;
}

std::vector<CellVisit> orderCells(const OrderProblem& problem) {
    if (problem.cells.empty()) {
        return {};
    }
    if (problem.cells.size() <= kMostCellsOrderedExactly) {
        return exactOrder(problem);
    }
    std::vector<CellVisit> greedy = heuristicOrder(problem);
    std::vector<CellVisit> shortened = shortenTour(problem, greedy);
    if (!problem.wayLength) {
        return shortened;
    }
    // The estimate may mislead where a way bends round an island or up a fjord: the greedy
    // route stands unless the shortened one is shorter by the ways the vehicle would take.
    const double shortenedLength = lengthBy(problem, shortened, problem.wayLength);
    if (problem.leastWayLength &&
        shortenedLength <
            lengthBy(problem, greedy, problem.leastWayLength) * (1.0 - kSumRounding)) {
        return shortened; // shorter than the greedy route could be by any ways
    }
    return shortenedLength < lengthBy(problem, greedy, problem.wayLength) ? shortened : greedy;
}

double routeLength(const OrderProblem& problem, const std::vector<CellVisit>& visits) {
    double length = 0.0;
    for (std::size_t k = 0; k < visits.size(); ++k) {
        length += problem.cells[visits[k].cell].length[visits[k].entry];
        if (k > 0) {
            length += linkCost(problem, visits[k - 1], visits[k]);
        }
    }
    return length;
}
