// Where the lines lie across their direction, and how many pieces they make.
#include "survey/line_layout.h"

#include <algorithm>
#include <cmath>

namespace {

// A width that exceeds a whole number of spacings by less than this share of a spacing
// leaves a strip too thin to matter; another line for it would lie on the edge.
constexpr double kUncoveredShare = 1e-9;

// Rows whose position lies in [low, high).
std::size_t rowsWithin(const LineGrid& grid, double low, double high) {
    const auto firstAtOrAbove = [&](double value) {
        const double row = std::ceil((value - grid.first) / grid.spacing);
        return static_cast<std::size_t>(std::clamp(row, 0.0, static_cast<double>(grid.count)));
    };
    const std::size_t from = firstAtOrAbove(low);
    const std::size_t to = firstAtOrAbove(high);
    return to > from ? to - from : 0;
}

std::size_t ringCrossings(const PlaneRing& ring, const LineGrid& grid) {
    std::size_t crossings = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const double a = ring[i].y;
        const double b = ring[(i + 1) % ring.size()].y;
        crossings += rowsWithin(grid, std::min(a, b), std::max(a, b));
    }
    return crossings;
}

} // namespace

LineGrid layLines(Extent across, double spacing) {
    LineGrid grid;
    const double width = across.high - across.low;
    const double lines = std::max(1.0, std::ceil(width / spacing - kUncoveredShare));
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

std::size_t countLinePieces(const PlaneArea& area, const LineGrid& grid) {
    if (grid.spacing <= 0.0) {
        return grid.count;
    }
    std::size_t crossings = ringCrossings(area.outer, grid);
    for (const PlaneRing& hole : area.holes) {
        crossings += ringCrossings(hole, grid);
    }
    return crossings / 2;
}
