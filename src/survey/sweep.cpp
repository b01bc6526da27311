// The lines of each cell.
#include "survey/sweep.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kJoinGap = 1e-6; // meters: pieces of a row closer than this are one piece

// Every piece of every cell by its y, then along the row: where a cell's end looks across to
// the next row of the grid.
struct RowIndex {
    std::vector<LinePiece> pieces;
};

RowIndex indexRows(const std::vector<std::vector<LinePiece>>& swept) {
    RowIndex index;
    for (const std::vector<LinePiece>& pieces : swept) {
        index.pieces.insert(index.pieces.end(), pieces.begin(), pieces.end());
    }
    std::sort(index.pieces.begin(), index.pieces.end(), [](const LinePiece& a, const LinePiece& b) {
        return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
    });
    return index;
}

// The spans along the lines that pieces of any cell at y cover, in order and joined.
std::vector<Extent> coveredAlong(const RowIndex& index, double y) {
    auto piece = std::lower_bound(index.pieces.begin(), index.pieces.end(), y - kJoinGap,
                                  [](const LinePiece& p, double value) { return p.y < value; });
    std::vector<Extent> joined;
    for (; piece != index.pieces.end() && piece->y <= y + kJoinGap; ++piece) {
        if (!joined.empty() && piece->x0 <= joined.back().high + kJoinGap) {
            joined.back().high = std::max(joined.back().high, piece->x1);
        } else {
            joined.push_back({piece->x0, piece->x1});
        }
    }
    return joined;
}

// The parts of the edge that the covered spans leave: land that rises from the edge, or a
// stretch where the edge is the shore. One at either end of the edge is taken only when longer
// than the spacing: shorter, it is the corner a slanting shore leaves beside a line's end.
std::vector<Extent> uncoveredAlong(Extent edge, const std::vector<Extent>& covered,
                                   double spacing) {
    std::vector<Extent> gaps;
    double from = edge.low;
    for (const Extent& span : covered) {
        gaps.push_back({from, std::min(span.low, edge.high)});
        from = std::max(from, span.high);
    }
    gaps.push_back({from, edge.high});
    std::erase_if(gaps, [&](const Extent& gap) {
        const bool atEnd = gap.low <= edge.low || gap.high >= edge.high;
        return gap.high - gap.low <= (atEnd ? spacing : kShortestPiece);
    });
    return gaps;
}

// Pieces at y in the cell, kept to the gaps along it.
void addUnder(const Geos& geos, const PlaneArea& cell, double y, const std::vector<Extent>& gaps,
              std::vector<LinePiece>& added) {
    if (gaps.empty()) {
        return;
    }
    for (const LinePiece& piece : clipLines(geos, cell, {y})) {
        for (const Extent& gap : gaps) {
            LinePiece part = piece;
            part.x0 = std::max(piece.x0, gap.low);
            part.x1 = std::min(piece.x1, gap.high);
            if (part.x1 - part.x0 >= kShortestPiece) {
                added.push_back(part);
            }
        }
    }
}

// Where a cell meets the next across the lines along part of its end only (at a hole's tip,
// or where a bay's shore runs on from the cut), the grid's next row beyond is broken by land:
// there the strip between the cell's last row's swath and its end is nobody's. A piece half a
// spacing beyond the last row covers it, along that stretch only, so that nowhere else does a
// line come closer to another than the spacing.
std::vector<LinePiece> underLand(const Geos& geos, const PlaneArea& cell, const CellLines& lines,
                                 const RowIndex& swept, double spacing, double minStrip) {
    std::vector<LinePiece> added;
    if (lines.rows.empty()) {
        return added;
    }
    const Extent across = acrossExtent(cell);
    const double thinnest = std::max(minStrip, kRoundingShare) * spacing;
    const double last = lines.rows.back();
    if (lines.continuedAbove && across.high - (last + spacing / 2.0) > thinnest) {
        addUnder(geos, cell, last + spacing / 2.0,
                 uncoveredAlong(lines.top, coveredAlong(swept, last + spacing), spacing), added);
    }
    const double first = lines.rows.front();
    if (lines.continuedBelow && (first - spacing / 2.0) - across.low > thinnest) {
        addUnder(geos, cell, first - spacing / 2.0,
                 uncoveredAlong(lines.bottom, coveredAlong(swept, first - spacing), spacing),
                 added);
    }
    return added;
}

// Where a shore runs along the lines inside a cell (a step where the water widens, an edge a
// few centimeters off the lines' direction that the decomposition took for no step), the
// grid's row beyond it leaves a strip along it: a piece half a spacing from that row covers
// it, along the shore only. Shores at the cell's ends are the ends' own business.
std::vector<LinePiece> alongShores(const Geos& geos, const PlaneArea& cell, const CellLines& lines,
                                   const GEOSPreparedGeometry* water, double spacing,
                                   double minStrip) {
    std::vector<LinePiece> added;
    const Extent across = acrossExtent(cell);
    const double level = std::max(minStrip, kRoundingShare) * spacing;
    const std::vector<double>& rows = lines.rows;
    const PlaneRing& ring = cell.outer;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const PlanePoint p = ring[i];
        const PlanePoint q = ring[(i + 1) % ring.size()];
        if (std::abs(q.y - p.y) > level || std::abs(q.x - p.x) <= spacing) {
            continue;
        }
        const bool floor = q.x > p.x; // the water lies to the left of every edge
        const double y = floor ? std::max(p.y, q.y) : std::min(p.y, q.y);
        if (y - across.low <= level || across.high - y <= level) {
            continue;
        }
        // A cut between cells has water beyond it, whose rows continue the grid.
        const double beyond = floor ? std::min(p.y, q.y) - level : std::max(p.y, q.y) + level;
        const GeosGeometry outside = makePoint(geos, {(p.x + q.x) / 2.0, beyond});
        if (answer(geos, GEOSPreparedContains_r(geos.handle(), water, outside.get()),
                   "find the water beyond a shore")) {
            continue;
        }
        double row = NAN;
        if (floor) {
            const auto above = std::upper_bound(rows.begin(), rows.end(), y);
            if (above != rows.end() && *above - spacing / 2.0 - y > level) {
                row = *above - spacing / 2.0;
            }
        } else {
            const auto above = std::lower_bound(rows.begin(), rows.end(), y);
            if (above != rows.begin() && y - (*(above - 1) + spacing / 2.0) > level) {
                row = *(above - 1) + spacing / 2.0;
            }
        }
        if (!std::isnan(row)) {
            addUnder(geos, cell, row, {{std::min(p.x, q.x), std::max(p.x, q.x)}}, added);
        }
    }
    return added;
}

} // namespace

std::vector<LinePiece> clipLines(const Geos& geos, const PlaneArea& cell,
                                 const std::vector<double>& rowsAcross) {
    if (rowsAcross.empty()) {
        return {};
    }
    const Extent along = alongExtent(cell);
    std::vector<PlaneSegment> rows;
    for (const double y : rowsAcross) {
        rows.push_back({{along.low - 1.0, y}, {along.high + 1.0, y}});
    }
    const GeosGeometry polygon = makePolygon(geos, cell);
    const GeosGeometry lines = makeSegments(geos, rows);
    const GeosGeometry inside =
        owned(geos, GEOSIntersection_r(geos.handle(), polygon.get(), lines.get()),
              "clip the lines to a cell");

    std::vector<LinePiece> pieces;
    for (const std::vector<PlanePoint>& line : linesOf(geos, inside.get())) {
        // The row is the nearest one: GEOS may round the y of what it cut.
        const double y = line.front().y;
        const auto above = std::lower_bound(rowsAcross.begin(), rowsAcross.end(), y);
        auto nearest = above == rowsAcross.end() ? above - 1 : above;
        if (above != rowsAcross.begin() && y - *(above - 1) < *nearest - y) {
            nearest = above - 1;
        }
        LinePiece piece;
        piece.row = static_cast<std::size_t>(nearest - rowsAcross.begin());
        piece.y = *nearest;
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

std::vector<std::vector<LinePiece>> sweepCells(const Geos& geos, const PlaneArea& area,
                                               const std::vector<PlaneArea>& cells, double spacing,
                                               double minStrip) {
    const std::vector<CellLines> lines = cellRows(cells, spacing, minStrip);
    const GeosGeometry water = makePolygon(geos, area);
    const GeosPrepared preparedWater = prepared(geos, water.get());
    std::vector<std::vector<LinePiece>> swept;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        swept.push_back(clipLines(geos, cells[i], lines[i].rows));
    }
    const RowIndex index = indexRows(swept);
    std::vector<std::vector<LinePiece>> added;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        added.push_back(underLand(geos, cells[i], lines[i], index, spacing, minStrip));
        const std::vector<LinePiece> shores =
            alongShores(geos, cells[i], lines[i], preparedWater.get(), spacing, minStrip);
        added.back().insert(added.back().end(), shores.begin(), shores.end());
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (added[i].empty()) {
            continue;
        }
        std::vector<LinePiece>& pieces = swept[i];
        pieces.insert(pieces.end(), added[i].begin(), added[i].end());
        std::sort(pieces.begin(), pieces.end(), [](const LinePiece& a, const LinePiece& b) {
            return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
        });
        // Rows counted again from the lowest, the added ones among them.
        std::size_t row = 0;
        for (std::size_t k = 0; k < pieces.size(); ++k) {
            row += k > 0 && pieces[k].y != pieces[k - 1].y ? 1 : 0;
            pieces[k].row = row;
        }
    }
    return swept;
}
