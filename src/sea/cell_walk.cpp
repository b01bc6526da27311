// The grid cells a leg runs through and the cells within half a cell of it, by walking.
#include "sea/cell_walk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A piece between two places is under half a cell, so it meets a few squares; one whose
// ends lie far apart on the grid (a projection that tears there) is not walked across.
constexpr int kMaxSquaresPerPiece = 16;
// Grid positions beyond this are not cells of any grid and would overflow an index.
constexpr double kFarOff = 1e12;

// A unit square (edges on whole numbers) that a piece runs through, from and to as
// fractions of the piece.
struct Square {
    std::int64_t i = 0;
    std::int64_t j = 0;
    double from = 0.0;
    double to = 0.0;
};

// The squares the straight piece from a to b runs through, in order; a piece of no length
// is in the square of its point. Empty when the piece cannot be walked.
std::vector<Square> squaresAlong(GridPoint a, GridPoint b) {
    std::vector<Square> squares;
    for (const double value : {a.column, a.row, b.column, b.row}) {
        if (!(std::fabs(value) < kFarOff)) {
            return squares;
        }
    }
    auto i = static_cast<std::int64_t>(std::floor(a.column));
    auto j = static_cast<std::int64_t>(std::floor(a.row));
    const double dx = b.column - a.column;
    const double dy = b.row - a.row;
    const std::int64_t stepI = dx > 0.0 ? 1 : -1;
    const std::int64_t stepJ = dy > 0.0 ? 1 : -1;
    double nextX =
        dx == 0.0
            ? kInfinity
            : ((dx > 0.0 ? static_cast<double>(i) + 1.0 : static_cast<double>(i)) - a.column) / dx;
    double nextY =
        dy == 0.0
            ? kInfinity
            : ((dy > 0.0 ? static_cast<double>(j) + 1.0 : static_cast<double>(j)) - a.row) / dy;
    const double deltaX = dx == 0.0 ? kInfinity : 1.0 / std::fabs(dx);
    const double deltaY = dy == 0.0 ? kInfinity : 1.0 / std::fabs(dy);
    double t = 0.0;
    for (int n = 0; n < kMaxSquaresPerPiece; ++n) {
        const double leave = std::min({nextX, nextY, 1.0});
        squares.push_back(Square{i, j, t, leave});
        if (leave >= 1.0) {
            return squares;
        }
        if (nextX <= nextY) {
            i += stepI;
            nextX += deltaX;
        } else {
            j += stepJ;
            nextY += deltaY;
        }
        t = leave;
    }
    squares.clear();
    return squares;
}

struct CellKey {
    std::int64_t column = 0;
    std::int64_t row = 0;
    bool operator==(const CellKey&) const = default;
};

struct CellKeyHash {
    std::size_t operator()(const CellKey& key) const {
        return std::hash<std::int64_t>()(key.column * 1'000'003 + key.row);
    }
};

// A cell of the band as the walk meets it.
struct BandPass {
    double start = kInfinity;
    double end = -kInfinity;
    GeoPoint first;
    double nearest = kInfinity; // squared, in cells
    double columns = 0.0;       // from the leg's nearest place to the centre, in cells
    double rows = 0.0;
};

class Walk {
  public:
    Walk(DepthGrid& grid_, const GroundStep& perColumn_, const GroundStep& perRow_)
        : grid(grid_), shape(grid_.shape()), perColumn(perColumn_), perRow(perRow_) {}

    // The piece of the leg between two places, both on the grid.
    void piece(const WalkPlace& a, const WalkPlace& b, GridPoint from, GridPoint to) {
        const auto at = [&a, &b](double t) {
            return std::pair<double, GeoPoint>{
                a.alongLeg + t * (b.alongLeg - a.alongLeg),
                GeoPoint{a.position.lat + t * (b.position.lat - a.position.lat),
                         a.position.lon + t * (b.position.lon - a.position.lon)}};
        };
        const bool point = from.column == to.column && from.row == to.row;
        // Cells have their centres on whole numbers: their edges lie half way between.
        const std::vector<Square> cells =
            squaresAlong({from.column + 0.5, from.row + 0.5}, {to.column + 0.5, to.row + 0.5});
        if (cells.empty()) {
            unplaced(a.alongLeg, b.alongLeg, a.position);
            return;
        }
        for (const Square& square : cells) {
            if (square.to > square.from || point) {
                const auto [start, first] = at(square.from);
                addCrossed(square.i, square.j, start, at(square.to).first, first);
            }
        }
        // The four cells around a place are the corners of the square between their
        // centres that holds it: those squares, walked, give every cell within half a cell.
        for (const Square& square : squaresAlong(from, to)) {
            if (!(square.to > square.from || point)) {
                continue;
            }
            for (const std::int64_t di : {0, 1}) {
                for (const std::int64_t dj : {0, 1}) {
                    addBand(square.i + di, square.j + dj, from, to, at(square.from),
                            at(square.to).first);
                }
            }
        }
    }

    // A piece of the leg that cannot be placed on the grid.
    void unplaced(double start, double end, const GeoPoint& first) {
        if (!crossed.empty() && crossed.back().state == DepthState::offGrid) {
            crossed.back().end = std::max(crossed.back().end, end);
            return;
        }
        LegCell cell;
        cell.depth = kNaN;
        cell.crossed = true;
        cell.start = start;
        cell.end = end;
        cell.first = first;
        crossed.push_back(cell);
    }

    std::vector<LegCell> result() {
        std::unordered_set<CellKey, CellKeyHash> crossedKeys;
        for (const LegCell& cell : crossed) {
            if (cell.state != DepthState::offGrid) {
                crossedKeys.insert(CellKey{cell.column, cell.row});
            }
        }
        std::vector<LegCell> cells = crossed;
        std::vector<LegCell> kept;
        for (const auto& [key, pass] : band) {
            if (crossedKeys.count(key) != 0) {
                continue;
            }
            const std::optional<double> depth = grid.cellDepth(key.column, key.row);
            if (!depth || !std::isfinite(*depth) || !(*depth < shallowestCrossed(pass))) {
                continue;
            }
            LegCell cell;
            cell.column = key.column;
            cell.row = key.row;
            cell.state = DepthState::known;
            cell.depth = *depth;
            cell.start = pass.start;
            cell.end = pass.end;
            cell.first = pass.first;
            cell.east = pass.columns * perColumn.east + pass.rows * perRow.east;
            cell.north = pass.columns * perColumn.north + pass.rows * perRow.north;
            kept.push_back(cell);
        }
        // The map's order is no order: along the leg, then by cell, so that runs agree.
        std::sort(kept.begin(), kept.end(), [](const LegCell& x, const LegCell& y) {
            return std::tie(x.start, x.row, x.column) < std::tie(y.start, y.row, y.column);
        });
        cells.insert(cells.end(), kept.begin(), kept.end());
        return cells;
    }

  private:
    // The column as the grid stores it, or nothing off a grid that does not wrap.
    std::optional<std::int64_t> storedColumn(std::int64_t column) const {
        if (shape.wrapsColumns && shape.columns > 0) {
            return ((column % shape.columns) + shape.columns) % shape.columns;
        }
        if (column < 0 || column >= shape.columns) {
            return std::nullopt;
        }
        return column;
    }

    void addCrossed(std::int64_t i, std::int64_t j, double start, double end,
                    const GeoPoint& first) {
        const std::optional<std::int64_t> column = storedColumn(i);
        if (!column || j < 0 || j >= shape.rows) {
            unplaced(start, end, first);
            return;
        }
        if (!crossed.empty() && crossed.back().column == *column && crossed.back().row == j) {
            crossed.back().end = std::max(crossed.back().end, end);
            return;
        }
        LegCell cell;
        cell.column = *column;
        cell.row = j;
        const std::optional<double> depth = grid.cellDepth(*column, j);
        cell.state = depth && std::isfinite(*depth) ? DepthState::known : DepthState::noData;
        cell.depth = cell.state == DepthState::known ? *depth : kNaN;
        cell.crossed = true;
        cell.start = start;
        cell.end = end;
        cell.first = first;
        crossed.push_back(cell);
    }

    void addBand(std::int64_t i, std::int64_t j, GridPoint from, GridPoint to,
                 const std::pair<double, GeoPoint>& start, double end) {
        const std::optional<std::int64_t> column = storedColumn(i);
        if (!column || j < 0 || j >= shape.rows) {
            return;
        }
        BandPass& pass = band[CellKey{*column, j}];
        if (start.first < pass.start) {
            pass.start = start.first;
            pass.first = start.second;
        }
        pass.end = std::max(pass.end, end);
        // The nearest place of the piece to the cell's centre, on the grid.
        const double dx = to.column - from.column;
        const double dy = to.row - from.row;
        const double length2 = dx * dx + dy * dy;
        const double cx = static_cast<double>(i);
        const double cy = static_cast<double>(j);
        const double t =
            length2 > 0.0
                ? std::clamp(((cx - from.column) * dx + (cy - from.row) * dy) / length2, 0.0, 1.0)
                : 0.0;
        const double offX = cx - (from.column + t * dx);
        const double offY = cy - (from.row + t * dy);
        if (offX * offX + offY * offY < pass.nearest) {
            pass.nearest = offX * offX + offY * offY;
            pass.columns = offX;
            pass.rows = offY;
        }
    }

    // The shallowest known depth among the crossed cells beside a stretch, or infinity.
    double shallowestCrossed(const BandPass& pass) const {
        auto cell = std::lower_bound(crossed.begin(), crossed.end(), pass.start,
                                     [](const LegCell& c, double s) { return c.end < s; });
        double shallowest = kInfinity;
        for (; cell != crossed.end() && cell->start <= pass.end; ++cell) {
            if (cell->state == DepthState::known) {
                shallowest = std::min(shallowest, cell->depth);
            }
        }
        return shallowest;
    }

    DepthGrid& grid;
    GridShape shape;
    GroundStep perColumn;
    GroundStep perRow;
    std::vector<LegCell> crossed;
    std::unordered_map<CellKey, BandPass, CellKeyHash> band;
};

} // namespace

std::vector<LegCell> walkLegCells(DepthGrid& grid, const std::vector<WalkPlace>& places,
                                  const GroundStep& perColumn, const GroundStep& perRow) {
    Walk walk(grid, perColumn, perRow);
    const GridShape shape = grid.shape();
    // Across the seam of a global grid the columns run on, so that a piece never spans it.
    std::optional<GridPoint> previous;
    for (std::size_t k = 0; k < places.size(); ++k) {
        std::optional<GridPoint> here = places[k].onGrid;
        if (here && previous && shape.wrapsColumns && std::isfinite(here->column)) {
            const auto width = static_cast<double>(shape.columns);
            here->column += width * std::round((previous->column - here->column) / width);
        }
        const WalkPlace& from = places[k == 0 ? 0 : k - 1];
        if (k == 0 && places.size() > 1) {
            previous = here;
            continue;
        }
        const std::optional<GridPoint> start = k == 0 ? here : previous;
        if (start && here) {
            walk.piece(from, places[k], *start, *here);
        } else {
            walk.unplaced(from.alongLeg, places[k].alongLeg, from.position);
        }
        previous = here;
    }
    return walk.result();
}
