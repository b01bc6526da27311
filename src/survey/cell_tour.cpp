// The route over the cells shortened by 2-opt and Or-opt moves with corner choice.
#include "survey/cell_tour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numeric>
#include <utility>

namespace {

// Each cell's nearest cells, by the middle of their corners, are the places a move may put
// it beside; more would cost time for moves that seldom pay.
constexpr std::size_t kNearCells = 8;
// Passes over the whole route, and rounds of passes and fresh corners: bounded, so that
// thousands of cells are ordered in a fraction of a second.
constexpr int kMostPasses = 12;
constexpr int kMostRounds = 3;
// Moves that save less than this are not taken: rounding must not keep the search going.
constexpr double kLeastSaving = 1e-6; // meters
// The longest run of cells an Or-opt move takes elsewhere.
constexpr std::size_t kLongestRun = 3;

// A visit run the other way: entered where it was left.
CellVisit reversed(const OrderProblem& problem, const CellVisit& visit) {
    return {visit.cell, problem.cells[visit.cell].exit[visit.entry]};
}

double sweepLength(const OrderProblem& problem, const CellVisit& visit) {
    return problem.cells[visit.cell].length[visit.entry];
}

double link(const OrderProblem& problem, const CellVisit& from, const CellVisit& to) {
    return linkBetween(problem, 4 * from.cell + problem.cells[from.cell].exit[from.entry],
                       4 * to.cell + to.entry);
}

// The route with running sums that price reversing any stretch of it at once.
class Tour {
  public:
    Tour(const OrderProblem& problem, std::vector<CellVisit> visits)
        : problem_(problem), visits_(std::move(visits)), position_(problem.cells.size(), 0),
          forwardSweep_(visits_.size(), 0.0), reversedSweep_(visits_.size(), 0.0),
          forwardLink_(visits_.size(), 0.0), reversedLink_(visits_.size(), 0.0),
          forwardSweeps_(visits_.size() + 1, 0.0), reversedSweeps_(visits_.size() + 1, 0.0),
          forwardLinks_(visits_.size(), 0.0), reversedLinks_(visits_.size(), 0.0) {
        refresh(0, visits_.size() - 1);
    }

    const std::vector<CellVisit>& visits() const { return visits_; }
    std::size_t size() const { return visits_.size(); }
    std::size_t position(std::size_t cell) const { return position_[cell]; }
    const CellVisit& at(std::size_t k) const { return visits_[k]; }

    // Meters the route grows by when the stretch from i to j (both included) is run the
    // other way round and in the reverse order (negative when it shrinks).
    double reversalGain(std::size_t i, std::size_t j) const {
        const std::size_t n = visits_.size();
        double before =
            (forwardSweeps_[j + 1] - forwardSweeps_[i]) + (forwardLinks_[j] - forwardLinks_[i]);
        double after =
            (reversedSweeps_[j + 1] - reversedSweeps_[i]) + (reversedLinks_[j] - reversedLinks_[i]);
        if (i > 0) {
            before += forwardLink_[i];
            after += link(problem_, visits_[i - 1], reversed(problem_, visits_[j]));
        }
        if (j + 1 < n) {
            before += forwardLink_[j + 1];
            after += link(problem_, reversed(problem_, visits_[i]), visits_[j + 1]);
        }
        return after - before;
    }

    // The same for the stretch i..j, run forward or reversed, taken out and put between the
    // visits at p and p + 1 (p outside i - 1..j; p + 1 == size puts it last, p == npos first).
    // A single cell may be given another corner: entry.
    double moveGain(std::size_t i, std::size_t j, std::size_t p, bool reverse,
                    std::size_t entry) const {
        const std::size_t n = visits_.size();
        double gain = 0.0;
        if (i > 0) {
            gain -= forwardLink_[i];
        }
        if (j + 1 < n) {
            gain -= forwardLink_[j + 1];
        }
        if (i > 0 && j + 1 < n) {
            gain += link(problem_, visits_[i - 1], visits_[j + 1]);
        }
        CellVisit first = visits_[i];
        CellVisit last = visits_[j];
        if (i == j) {
            first = last = {visits_[i].cell, entry};
            gain += sweepLength(problem_, first) - sweepLength(problem_, visits_[i]);
        } else if (reverse) {
            first = reversed(problem_, visits_[j]);
            last = reversed(problem_, visits_[i]);
            gain += (reversedSweeps_[j + 1] - reversedSweeps_[i]) -
                    (forwardSweeps_[j + 1] - forwardSweeps_[i]) +
                    (reversedLinks_[j] - reversedLinks_[i]) - (forwardLinks_[j] - forwardLinks_[i]);
        }
        const bool hasBefore = p != kFirst;
        const bool hasAfter = p + 1 < n;
        if (hasBefore && hasAfter) {
            gain -= forwardLink_[p + 1];
        }
        if (hasBefore) {
            gain += link(problem_, visits_[p], first);
        }
        if (hasAfter) {
            gain += link(problem_, last, visits_[hasBefore ? p + 1 : 0]);
        }
        return gain;
    }

    void reverse(std::size_t i, std::size_t j) {
        std::reverse(visits_.begin() + static_cast<std::ptrdiff_t>(i),
                     visits_.begin() + static_cast<std::ptrdiff_t>(j) + 1);
        for (std::size_t k = i; k <= j; ++k) {
            visits_[k] = reversed(problem_, visits_[k]);
        }
        refresh(i, j);
    }

    void move(std::size_t i, std::size_t j, std::size_t p, bool reverse, std::size_t entry) {
        const auto at = [&](std::size_t k) {
            return visits_.begin() + static_cast<std::ptrdiff_t>(k);
        };
        // The stretch rotated into its place; only what lies between moves.
        const std::size_t count = j - i + 1;
        std::size_t low = 0;
        std::size_t high = 0;
        std::size_t placed = 0;
        if (p != kFirst && p > j) {
            std::rotate(at(i), at(j + 1), at(p + 1));
            low = i;
            high = p;
            placed = p + 1 - count;
        } else {
            const std::size_t to = p == kFirst ? 0 : p + 1;
            std::rotate(at(to), at(i), at(j + 1));
            low = to;
            high = j;
            placed = to;
        }
        if (count == 1) {
            visits_[placed].entry = entry;
        } else if (reverse) {
            std::reverse(at(placed), at(placed + count));
            for (std::size_t k = placed; k < placed + count; ++k) {
                visits_[k] = reversed(problem_, visits_[k]);
            }
        }
        refresh(low, high);
    }

    static constexpr std::size_t kFirst = static_cast<std::size_t>(-1);

  private:
    // After the visits from low to high (both included) changed: their positions, their
    // sweeps and the links that reach them, and the sums from low on. Beyond high only the
    // sums change, and they are added up again from the lengths kept: a move among thousands
    // of cells would otherwise measure every link after it anew.
    void refresh(std::size_t low, std::size_t high) {
        const std::size_t n = visits_.size();
        for (std::size_t k = low; k <= high; ++k) {
            position_[visits_[k].cell] = k;
            forwardSweep_[k] = sweepLength(problem_, visits_[k]);
            reversedSweep_[k] = sweepLength(problem_, reversed(problem_, visits_[k]));
        }
        for (std::size_t k = std::max<std::size_t>(low, 1); k <= std::min(high + 1, n - 1); ++k) {
            forwardLink_[k] = link(problem_, visits_[k - 1], visits_[k]);
            // Reversed, the later cell is run first.
            reversedLink_[k] =
                link(problem_, reversed(problem_, visits_[k]), reversed(problem_, visits_[k - 1]));
        }
        for (std::size_t k = low; k < n; ++k) {
            forwardSweeps_[k + 1] = forwardSweeps_[k] + forwardSweep_[k];
            reversedSweeps_[k + 1] = reversedSweeps_[k] + reversedSweep_[k];
            if (k > 0) {
                forwardLinks_[k] = forwardLinks_[k - 1] + forwardLink_[k];
                reversedLinks_[k] = reversedLinks_[k - 1] + reversedLink_[k];
            }
        }
    }

    const OrderProblem& problem_;
    std::vector<CellVisit> visits_;
    std::vector<std::size_t> position_;
    // Each visit's sweep, run as it is and the other way, and the link from the visit before,
    // forward and as a reversed stretch would run it.
    std::vector<double> forwardSweep_;
    std::vector<double> reversedSweep_;
    std::vector<double> forwardLink_;
    std::vector<double> reversedLink_;
    // Sums over the first k visits of their sweeps, run as they are and the other way, and of
    // the links up to visit k, forward and as a reversed stretch would run them.
    std::vector<double> forwardSweeps_;
    std::vector<double> reversedSweeps_;
    std::vector<double> forwardLinks_;
    std::vector<double> reversedLinks_;
};

// The cells nearest each cell, by the middle of their corners; for a table of links, whose
// corners have no places, by the shortest link between them.
std::vector<std::vector<std::size_t>> nearCells(const OrderProblem& problem) {
    const std::size_t n = problem.cells.size();
    const std::size_t kept = std::min(kNearCells, n - 1);
    std::vector<std::vector<std::size_t>> near(n);
    // Ties go to the lower number, so that the choice does not depend on the search.
    using Near = std::pair<double, std::size_t>;
    if (problem.places.empty()) {
        for (std::size_t c = 0; c < n; ++c) {
            std::vector<Near> others;
            for (std::size_t o = 0; o < n; ++o) {
                double least = std::numeric_limits<double>::infinity();
                for (std::size_t p = 0; o != c && p < 4; ++p) {
                    for (std::size_t q = 0; q < 4; ++q) {
                        least = std::min(least, linkBetween(problem, 4 * c + p, 4 * o + q));
                    }
                }
                if (o != c) {
                    others.emplace_back(least, o);
                }
            }
            std::partial_sort(others.begin(), others.begin() + static_cast<std::ptrdiff_t>(kept),
                              others.end());
            for (std::size_t k = 0; k < kept; ++k) {
                near[c].push_back(others[k].second);
            }
        }
        return near;
    }
    std::vector<std::array<double, 2>> middle(n, {0.0, 0.0});
    for (std::size_t c = 0; c < n; ++c) {
        for (std::size_t corner = 0; corner < 4; ++corner) {
            middle[c][0] += problem.places[4 * c + corner][0] / 4.0;
            middle[c][1] += problem.places[4 * c + corner][1] / 4.0;
        }
    }
    // Cells sorted across x: the search from each goes outwards until the cells left are
    // farther across x alone than the farthest of those kept.
    std::vector<std::size_t> byX(n);
    std::iota(byX.begin(), byX.end(), std::size_t{0});
    std::sort(byX.begin(), byX.end(), [&](std::size_t a, std::size_t b) {
        return middle[a][0] < middle[b][0] || (middle[a][0] == middle[b][0] && a < b);
    });
    std::vector<Near> best;
    for (std::size_t rank = 0; rank < n; ++rank) {
        const std::size_t c = byX[rank];
        best.clear();
        const auto consider = [&](std::size_t o) {
            const Near candidate{
                std::hypot(middle[o][0] - middle[c][0], middle[o][1] - middle[c][1]), o};
            if (best.size() < kept) {
                best.push_back(candidate);
                std::push_heap(best.begin(), best.end());
            } else if (candidate < best.front()) {
                std::pop_heap(best.begin(), best.end());
                best.back() = candidate;
                std::push_heap(best.begin(), best.end());
            }
        };
        const auto farEnough = [&](std::size_t o) {
            return best.size() == kept &&
                   std::abs(middle[o][0] - middle[c][0]) > best.front().first;
        };
        for (std::size_t r = rank + 1; r < n && !farEnough(byX[r]); ++r) {
            consider(byX[r]);
        }
        for (std::size_t r = rank; r-- > 0 && !farEnough(byX[r]);) {
            consider(byX[r]);
        }
        std::sort_heap(best.begin(), best.end());
        for (const Near& found : best) {
            near[c].push_back(found.second);
        }
    }
    return near;
}

// One pass of first-improvement moves over every visit; true when one was taken.
bool improveOnce(const OrderProblem& problem, Tour& tour,
                 const std::vector<std::vector<std::size_t>>& near) {
    const std::size_t n = tour.size();
    // A route with a fixed beginning keeps its first visit where and as it is.
    const std::size_t from = problem.mayStart.empty() ? 0 : 1;
    bool improved = false;
    for (std::size_t k = from; k < n; ++k) {
        const std::size_t cell = tour.at(k).cell;
        bool moved = false;
        // 2-opt: make the cell the neighbour of one near it by reversing what lies between.
        for (std::size_t other : near[cell]) {
            const std::size_t i = tour.position(cell);
            const std::size_t j = tour.position(other);
            std::array<std::array<std::size_t, 2>, 2> stretches{};
            std::size_t count = 0;
            if (j > i) {
                stretches[count++] = {i + 1, j};
                stretches[count++] = {i, j - 1};
            } else {
                stretches[count++] = {j + 1, i};
                stretches[count++] = {j, i - 1};
            }
            for (std::size_t s = 0; s < count && !moved; ++s) {
                const auto [a, b] = stretches[s];
                if (a < from || a > b) {
                    continue;
                }
                if (tour.reversalGain(a, b) < -kLeastSaving) {
                    tour.reverse(a, b);
                    moved = true;
                }
            }
            // The end of the route may be turned round from here too.
            const std::size_t at = tour.position(cell);
            if (!moved && at + 1 < n && at >= from &&
                tour.reversalGain(at, n - 1) < -kLeastSaving) {
                tour.reverse(at, n - 1);
                moved = true;
            }
            if (moved) {
                break;
            }
        }
        // Or-opt: the stretch that begins at this cell put beside a cell near either end.
        for (std::size_t length = 1; !moved && length <= kLongestRun; ++length) {
            const std::size_t i = tour.position(cell);
            const std::size_t j = i + length - 1;
            if (i < from || j >= n) {
                break;
            }
            double bestGain = -kLeastSaving;
            std::size_t bestPlace = 0;
            bool bestReverse = false;
            std::size_t bestEntry = tour.at(i).entry;
            bool found = false;
            const auto weigh = [&](std::size_t p) {
                if (p != Tour::kFirst && p + 1 >= i && p <= j) {
                    return; // beside or inside itself
                }
                if (p == Tour::kFirst && (from > 0 || i == 0)) {
                    return;
                }
                for (int r = 0; r < 2; ++r) {
                    const std::size_t entries = length == 1 ? 4 : 1;
                    for (std::size_t e = 0; e < entries; ++e) {
                        if (length == 1 && r == 1) {
                            continue;
                        }
                        const double gain = tour.moveGain(i, j, p, r == 1, e);
                        if (gain < bestGain) {
                            bestGain = gain;
                            bestPlace = p;
                            bestReverse = r == 1;
                            bestEntry = e;
                            found = true;
                        }
                    }
                }
            };
            // A single cell is both ends of its stretch: its near cells are weighed once.
            const std::array<std::size_t, 2> ends{tour.at(i).cell, tour.at(j).cell};
            for (std::size_t end = 0; end < (i == j ? 1U : 2U); ++end) {
                for (std::size_t other : near[ends[end]]) {
                    const std::size_t q = tour.position(other);
                    weigh(q);
                    weigh(q == 0 ? Tour::kFirst : q - 1);
                }
            }
            if (found) {
                tour.move(i, j, bestPlace, bestReverse, bestEntry);
                moved = true;
            }
        }
        improved = improved || moved;
    }
    return improved;
}

} // namespace

std::vector<CellVisit> shortenTour(const OrderProblem& problem, std::vector<CellVisit> visits) {
    if (visits.size() < 3) {
        return visits;
    }
    const std::vector<std::vector<std::size_t>> near = nearCells(problem);
    double length = routeLength(problem, visits);
    for (int round = 0; round < kMostRounds; ++round) {
        Tour tour(problem, visits);
        for (int pass = 0; pass < kMostPasses && improveOnce(problem, tour, near); ++pass) {
        }
        std::vector<std::size_t> order;
        for (const CellVisit& visit : tour.visits()) {
            order.push_back(visit.cell);
        }
        std::vector<CellVisit> cornered = bestCorners(problem, order);
        if (routeLength(problem, tour.visits()) < routeLength(problem, cornered)) {
            cornered = tour.visits();
        }
        const double shortened = routeLength(problem, cornered);
        if (!(shortened < length - kLeastSaving)) {
            break;
        }
        visits = std::move(cornered);
        length = shortened;
    }
    return visits;
}
