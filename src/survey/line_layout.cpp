// Where the lines of a cell lie across their direction.
#include "survey/line_layout.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Rows of the grid whose position lies in [low, high).
std::size_t rowsWithin(const LineGrid& grid, double low, double high) {
    const auto firstAtOrAbove = [&](double value) {
        const double row = std::ceil((value - grid.first) / grid.spacing);
        return static_cast<std::size_t>(std::clamp(row, 0.0, static_cast<double>(grid.count)));
    };
    const std::size_t from = firstAtOrAbove(low);
    const std::size_t to = firstAtOrAbove(high);
    return to > from ? to - from : 0;
}

std::size_t crossings(const PlaneRing& ring, const LineGrid& grid) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const double a = ring[i].y;
        const double b = ring[(i + 1) % ring.size()].y;
        count += rowsWithin(grid, std::min(a, b), std::max(a, b));
    }
    return count;
}

// Spans along the lines overlap when they share more than this.
constexpr double kSameLevel = 1e-6; // meters

// Where a cell ends across the lines: its extent, and the span along the lines of its
// vertices on its lowest and on its highest y.
struct CellEnds {
    Extent across;
    Extent bottom;
    Extent top;
};

Extent alongAt(const PlaneRing& ring, double y, double level) {
    Extent along{INFINITY, -INFINITY};
    for (const PlanePoint& p : ring) {
        if (std::abs(p.y - y) <= level) {
            along.low = std::min(along.low, p.x);
            along.high = std::max(along.high, p.x);
        }
    }
    return along;
}

// Vertices within level of a cell's lowest or highest y count as its end there: an edge drawn
// along the lines lies a few centimeters off them once carried into the frame.
CellEnds endsOf(const PlaneArea& cell, double level) {
    const Extent across = acrossExtent(cell);
    return {across, alongAt(cell.outer, across.low, level),
            alongAt(cell.outer, across.high, level)};
}

bool overlap(Extent a, Extent b) {
    return std::min(a.high, b.high) - std::max(a.low, b.low) > kSameLevel;
}

// Whether another cell continues each cell beyond its highest y (the cut where it ends).
std::vector<bool> continuedAbove(const std::vector<CellEnds>& ends, double level) {
    std::vector<std::pair<double, std::size_t>> bottoms;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        bottoms.emplace_back(ends[i].across.low, i);
    }
    std::sort(bottoms.begin(), bottoms.end());
    std::vector<bool> continued(ends.size(), false);
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const double y = ends[i].across.high;
        auto next = std::lower_bound(bottoms.begin(), bottoms.end(),
                                     std::make_pair(y - level, std::size_t{0}));
        for (; next != bottoms.end() && next->first <= y + level; ++next) {
            if (next->second != i && overlap(ends[i].top, ends[next->second].bottom)) {
                continued[i] = true;
                break;
            }
        }
    }
    return continued;
}

std::vector<bool> continuedBelow(const std::vector<CellEnds>& ends, double level) {
    std::vector<CellEnds> flipped;
    for (const CellEnds& end : ends) {
        flipped.push_back({{-end.across.high, -end.across.low}, end.top, end.bottom});
    }
    return continuedAbove(flipped, level);
}

// The rows of one cell: the grid's within it, and a line for each strip at an end with
// nothing beyond that the grid leaves uncovered.
std::vector<double> rowsOfCell(const LineGrid& grid, Extent across, bool below, bool above,
                               double minStrip) {
    const double s = grid.spacing;
    const double edge = kRoundingShare * s; // a row this close to an open end runs on the shore
    const double low = across.low;
    const double high = across.high;
    const double from = below ? low : low + edge;
    const double to = above ? high : high - edge;
    std::vector<double> rows;
    for (double k = std::max(0.0, std::ceil((from - grid.first) / s));
         k < static_cast<double>(grid.count); ++k) {
        const double y = grid.first + k * s;
        if (y >= to) {
            break;
        }
        if (y >= from) {
            rows.push_back(y);
        }
    }
    if (!below && !above && rows.empty()) {
        const LineGrid own = layLines(across, s, minStrip);
        for (std::size_t row = 0; row < own.count; ++row) {
            rows.push_back(own.across(row));
        }
        return rows;
    }
    // The nearest rows of the grid beyond the cell's ends, where a cell continues it.
    const double rowBelow = grid.first + (std::ceil((low - grid.first) / s) - 1.0) * s;
    const double rowAbove = grid.first + (std::floor((high - grid.first) / s) + 1.0) * s;
    const double thinnest = std::max(minStrip, kRoundingShare) * s;
    const double middle = (low + high) / 2.0;
    std::vector<double> added;
    if (!below) {
        const double covered =
            rows.empty() ? (above ? rowAbove - s / 2.0 : high) : rows.front() - s / 2.0;
        if (std::min(covered, high) - low > thinnest) {
            added.push_back(std::min(low + s / 2.0, middle));
        }
    }
    if (!above) {
        const double covered =
            rows.empty() ? (below ? rowBelow + s / 2.0 : low) : rows.back() + s / 2.0;
        if (high - std::max(covered, low) > thinnest) {
            added.push_back(std::max(high - s / 2.0, middle));
        }
    }
    rows.insert(rows.end(), added.begin(), added.end());
    std::sort(rows.begin(), rows.end());
    rows.erase(
        std::unique(rows.begin(), rows.end(), [&](double a, double b) { return b - a <= edge; }),
        rows.end());
    return rows;
}

} // namespace

LineGrid layLines(Extent across, double spacing, double minStrip) {
    LineGrid grid;
    const double height = across.high - across.low;
    if (!(height >= kLowestCell)) {
        return grid;
    }
    const double thinnest = std::max(minStrip, kRoundingShare) * spacing;
    const double lines = std::max(1.0, std::ceil((height - thinnest) / spacing));
    if (!(lines <= static_cast<double>(kMaxSurveyLines))) {
        grid.count = std::isnan(lines) || lines > 1e18 ? static_cast<std::size_t>(1e18)
                                                       : static_cast<std::size_t>(lines);
        return grid;
    }
    grid.count = static_cast<std::size_t>(lines);
    grid.spacing = spacing;
    grid.first = (across.low + across.high) / 2.0 - (lines - 1.0) * spacing / 2.0;
    return grid;
}

namespace {

Extent acrossAll(const std::vector<PlaneArea>& cells) {
    Extent all{INFINITY, -INFINITY};
    for (const PlaneArea& cell : cells) {
        const Extent across = acrossExtent(cell);
        all = {std::min(all.low, across.low), std::max(all.high, across.high)};
    }
    return all;
}

} // namespace

std::vector<CellLines> cellRows(const std::vector<PlaneArea>& cells, double spacing,
                                double minStrip) {
    std::vector<CellLines> lines(cells.size());
    if (cells.empty()) {
        return lines;
    }
    const LineGrid grid = layLines(acrossAll(cells), spacing, minStrip);
    // Within a share of the spacing no strip gets a line: the same share makes an end level.
    const double level = std::max(minStrip, kRoundingShare) * spacing;
    std::vector<CellEnds> ends;
    for (const PlaneArea& cell : cells) {
        ends.push_back(endsOf(cell, level));
    }
    const std::vector<bool> below = continuedBelow(ends, level);
    const std::vector<bool> above = continuedAbove(ends, level);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        lines[i].bottom = ends[i].bottom;
        lines[i].top = ends[i].top;
        lines[i].continuedBelow = below[i];
        lines[i].continuedAbove = above[i];
        if (grid.spacing > 0.0) {
            lines[i].rows = rowsOfCell(grid, ends[i].across, below[i], above[i], minStrip);
        }
    }
    return lines;
}

std::size_t countLines(const std::vector<PlaneArea>& cells, double spacing, double minStrip) {
    if (cells.empty()) {
        return 0;
    }
    const LineGrid grid = layLines(acrossAll(cells), spacing, minStrip);
    if (grid.spacing <= 0.0) {
        return grid.count;
    }
    std::size_t lines = 0;
    for (const CellLines& cell : cellRows(cells, spacing, minStrip)) {
        lines += cell.rows.size();
    }
    return lines;
}

std::size_t estimateLines(const PlaneArea& area, double spacing, double minStrip) {
    const LineGrid grid = layLines(acrossExtent(area), spacing, minStrip);
    if (grid.spacing <= 0.0) {
        return grid.count;
    }
    std::size_t count = crossings(area.outer, grid);
    for (const PlaneRing& hole : area.holes) {
        count += crossings(hole, grid);
    }
    return count / 2;
}
