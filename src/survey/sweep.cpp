// The lines of each cell.
#include "survey/sweep.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kJoinGap = 1e-6; // meters: pieces of a row closer than this are one piece

} // namespace

std::vector<LinePiece> clipLines(const Geos& geos, const PlaneArea& cell, const LineGrid& grid) {
    if (grid.count == 0) {
        return {};
    }
    const Extent along = alongExtent(cell);
    std::vector<PlaneSegment> rows;
    for (std::size_t row = 0; row < grid.count; ++row) {
        rows.push_back({{along.low - 1.0, grid.across(row)}, {along.high + 1.0, grid.across(row)}});
    }
    const GeosGeometry polygon = makePolygon(geos, cell);
    const GeosGeometry lines = makeSegments(geos, rows);
    const GeosGeometry inside =
        owned(geos, GEOSIntersection_r(geos.handle(), polygon.get(), lines.get()),
              "clip the lines to a cell");

    std::vector<LinePiece> pieces;
    const double last = static_cast<double>(grid.count) - 1.0;
    for (const std::vector<PlanePoint>& line : linesOf(geos, inside.get())) {
        // The row is the nearest one: GEOS may round the y of what it cut.
        const double row = std::round((line.front().y - grid.first) / grid.spacing);
        LinePiece piece;
        piece.row = static_cast<std::size_t>(std::clamp(row, 0.0, last));
        piece.y = grid.across(piece.row);
        piece.x0 = line.front().x;
        piece.x1 = line.front().x;
        for (const PlanePoint& p : line) {
            piece.x0 = std::min(piece.x0, p.x);
            piece.x1 = std::max(piece.x1, p.x);
        }
        pieces.push_back(piece);
    }
    std::sort(pieces.begin(), pieces.end(), [](const LinePiece& a, const LinePiece& b) {
        return a.row != b.row ? a.row < b.row : a.x0 < b.x0;
    });
    // GEOS ends a piece wherever the line meets a vertex; such pieces are one line.
    std::vector<LinePiece> joined;
    for (const LinePiece& piece : pieces) {
        if (!joined.empty() && joined.back().row == piece.row &&
            piece.x0 <= joined.back().x1 + kJoinGap) {
            joined.back().x1 = std::max(joined.back().x1, piece.x1);
        } else {
            joined.push_back(piece);
        }
    }
    std::erase_if(joined,
                  [](const LinePiece& piece) { return piece.x1 - piece.x0 < kShortestPiece; });
    return joined;
}

std::vector<std::vector<LinePiece>>
sweepCells(const Geos& geos, const std::vector<PlaneArea>& cells, double spacing, double minStrip) {
    std::vector<std::vector<LinePiece>> swept;
    for (const PlaneArea& cell : cells) {
        swept.push_back(clipLines(geos, cell, layLines(acrossExtent(cell), spacing, minStrip)));
    }
    return swept;
}
