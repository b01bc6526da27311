// Where the lines of a cell lie across their direction.
#include "survey/line_layout.h"

#include <algorithm>
#include <cmath>

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

std::size_t countLines(const std::vector<PlaneArea>& cells, double spacing, double minStrip) {
    std::size_t lines = 0;
    for (const PlaneArea& cell : cells) {
        lines += layLines(acrossExtent(cell), spacing, minStrip).count;
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
