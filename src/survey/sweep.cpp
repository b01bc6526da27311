// The lines of each cell.
#include "survey/sweep.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr double kJoinGap = 1e-6; // meters: pieces of a row closer than this are one piece

std::vector<LinePiece> clipRows(const Geos& geos, const PlaneArea& cell, const LineGrid& grid) {
    const Extent across = acrossExtent(cell);
    const Extent along = alongExtent(cell);
    const double lowRow = std::ceil((across.low - kJoinGap - grid.first) / grid.spacing);
    const double highRow = std::floor((across.high + kJoinGap - grid.first) / grid.spacing);
    const double last = static_cast<double>(grid.count) - 1.0;
    if (highRow < 0.0 || lowRow > last || lowRow > highRow) {
        return {};
    }
    const auto from = static_cast<std::size_t>(std::max(lowRow, 0.0));
    const auto to = static_cast<std::size_t>(std::min(highRow, last));
    std::vector<PlaneSegment> rows;
    for (std::size_t row = from; row <= to; ++row) {
        rows.push_back({{along.low - 1.0, grid.across(row)}, {along.high + 1.0, grid.across(row)}});
    }
    const GeosGeometry polygon = makePolygon(geos, cell);
    const GeosGeometry lines = makeSegments(geos, rows);
    const GeosGeometry inside =
        owned(geos, GEOSIntersection_r(geos.handle(), polygon.get(), lines.get()), "clip a cell");

    std::vector<LinePiece> pieces;
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

double overlap(const LinePiece& a, const LinePiece& b) {
    return std::min(a.x1, b.x1) - std::max(a.x0, b.x0);
}

} // namespace

std::vector<std::vector<LinePiece>>
sweepCells(const Geos& geos, const std::vector<PlaneArea>& cells, const LineGrid& grid) {
    std::vector<std::vector<LinePiece>> swept;
    for (const PlaneArea& cell : cells) {
        swept.push_back(clipRows(geos, cell, grid));
    }
    // Pieces of one row from different cells overlap only along a cut.
    struct Owner {
        std::size_t cell;
        std::size_t piece;
    };
    std::map<std::size_t, std::vector<Owner>> byRow;
    for (std::size_t c = 0; c < swept.size(); ++c) {
        for (std::size_t p = 0; p < swept[c].size(); ++p) {
            byRow[swept[c][p].row].push_back({c, p});
        }
    }
    std::vector<std::vector<bool>> dropped(swept.size());
    for (std::size_t c = 0; c < swept.size(); ++c) {
        dropped[c].assign(swept[c].size(), false);
    }
    for (const auto& [row, owners] : byRow) {
        for (std::size_t i = 0; i < owners.size(); ++i) {
            for (std::size_t j = i + 1; j < owners.size(); ++j) {
                const Owner& a = owners[i];
                const Owner& b = owners[j];
                if (a.cell == b.cell || dropped[a.cell][a.piece] || dropped[b.cell][b.piece]) {
                    continue;
                }
                const LinePiece& pa = swept[a.cell][a.piece];
                const LinePiece& pb = swept[b.cell][b.piece];
                if (overlap(pa, pb) > kJoinGap) {
                    const bool dropA = pa.x1 - pa.x0 < pb.x1 - pb.x0;
                    dropped[dropA ? a.cell : b.cell][dropA ? a.piece : b.piece] = true;
                }
            }
        }
    }
    for (std::size_t c = 0; c < swept.size(); ++c) {
        std::vector<LinePiece> kept;
        for (std::size_t p = 0; p < swept[c].size(); ++p) {
            if (!dropped[c][p]) {
                kept.push_back(swept[c][p]);
            }
        }
        swept[c] = std::move(kept);
    }
    return swept;
}
