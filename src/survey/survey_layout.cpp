// A survey laid out for one heading: decompose, sweep, order, then the tie lines.
#include "survey/survey_layout.h"

#include "survey/cell_order.h"
#include "survey/decompose.h"
#include "survey/free_way.h"
#include "survey/heading_search.h"
#include "survey/line_layout.h"
#include "survey/sweep.h"
#include "survey/turn_pattern.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <utility>

namespace {

// Corners of a cell: bit 0 set for the end of a row at high x, bit 1 for the last row.
constexpr std::size_t kHighX = 1;
constexpr std::size_t kLastRow = 2;

// A piece with its run-in, which holes may have cut short.
struct RunPiece {
    LinePiece piece;
    double runX0 = 0.0; // meters along, where the run-in begins; <= piece.x0
    double runX1 = 0.0; // and where the run-out ends; >= piece.x1
};

// The holes, where run-ins end.
struct HoleCutter {
    GeosGeometry holes;
    GeosPrepared preparedHoles;
};

// How far the run-in may reach from end outwards (a unit vector) before it enters a hole.
double runInReach(const Geos& geos, const std::optional<HoleCutter>& cutter, PlanePoint end,
                  PlanePoint outwards, double runIn) {
    if (!cutter || runIn <= 0.0) {
        return runIn;
    }
    const PlanePoint far{end.x + outwards.x * runIn, end.y + outwards.y * runIn};
    const GeosGeometry reach = makeSegment(geos, end, far);
    if (!answer(geos,
                GEOSPreparedIntersects_r(geos.handle(), cutter->preparedHoles.get(), reach.get()),
                "meet a run-in with the holes")) {
        return runIn;
    }
    const GeosGeometry inHoles =
        owned(geos, GEOSIntersection_r(geos.handle(), cutter->holes.get(), reach.get()),
              "cut a run-in at the holes");
    double reachable = runIn;
    // A run-in that only touches a hole's corner does not enter it.
    for (const std::vector<PlanePoint>& piece : linesOf(geos, inHoles.get())) {
        for (const PlanePoint& p : piece) {
            reachable =
                std::min(reachable, (p.x - end.x) * outwards.x + (p.y - end.y) * outwards.y);
        }
    }
    return std::max(reachable, 0.0);
}

struct CellSweep {
    std::vector<LineRun> runs; // frame of the lines
    std::vector<std::vector<PlanePoint>> ways;
    double length = 0.0;
    std::size_t exit = 0;
    std::size_t narrowTurns = 0; // turns across fewer rows than the turning circle needs
};

double segmentLength(const PlaneSegment& segment) {
    return distance(segment.start, segment.end);
}

LineRun runAlong(const RunPiece& piece, bool towardsHighX) {
    const double y = piece.piece.y;
    LineRun run;
    if (towardsHighX) {
        run.line = {{piece.piece.x0, y}, {piece.piece.x1, y}};
        run.run = {{piece.runX0, y}, {piece.runX1, y}};
    } else {
        run.line = {{piece.piece.x1, y}, {piece.piece.x0, y}};
        run.run = {{piece.runX1, y}, {piece.runX0, y}};
    }
    return run;
}

// Joins each run to the one before it by the shortest way.
void appendRun(const Geos& geos, FreeWater& water, LineRun run, std::vector<LineRun>& runs,
               std::vector<std::vector<PlanePoint>>& ways) {
    if (!runs.empty()) {
        ways.push_back(shortestWay(geos, water, runs.back().run.end, run.run.start));
    }
    runs.push_back(run);
}

double lengthOf(const std::vector<LineRun>& runs,
                const std::vector<std::vector<PlanePoint>>& ways) {
    double length = 0.0;
    for (const LineRun& run : runs) {
        length += segmentLength(run.run);
    }
    for (const std::vector<PlanePoint>& way : ways) {
        length += wayLength(way);
    }
    return length;
}

// Rows alternate direction, in the order the turns allow (one after another, or out and
// back across a few); the pieces of a row, seldom more than one, are run in the row's
// direction.
CellSweep sweepFrom(const Geos& geos, FreeWater& water,
                    const std::vector<std::vector<RunPiece>>& rows, std::size_t corner,
                    std::size_t jump, double leastTurn) {
    CellSweep sweep;
    bool towardsHighX = (corner & kHighX) == 0;
    const std::size_t count = rows.size();
    const std::vector<std::size_t> order = rowOrder(count, jump);
    std::size_t lastRow = 0;
    for (const std::size_t k : order) {
        lastRow = (corner & kLastRow) != 0 ? count - 1 - k : k;
        const std::vector<RunPiece>& row = rows[lastRow];
        for (std::size_t i = 0; i < row.size(); ++i) {
            const RunPiece& piece = row[towardsHighX ? i : row.size() - 1 - i];
            appendRun(geos, water, runAlong(piece, towardsHighX), sweep.runs, sweep.ways);
        }
        towardsHighX = !towardsHighX;
    }
    // Measured across, not counted in rows: a piece that covers a strip under land lies
    // closer to its neighbours than the spacing.
    const auto across = [&](std::size_t k) {
        return rows[(corner & kLastRow) != 0 ? count - 1 - k : k].front().piece.y;
    };
    for (std::size_t k = 1; k < order.size(); ++k) {
        const double apart = std::abs(across(order[k]) - across(order[k - 1]));
        sweep.narrowTurns += apart < leastTurn - kShortestPiece ? 1 : 0;
    }
    // Left at the corner nearest where the last row ended: the far one for rows run one after
    // another; for rows run out and back, the side of the middle it ended on.
    const bool endedTowardsHighX = !towardsHighX;
    const bool nearLastRow = jump <= 1 ? (corner & kLastRow) == 0 : 2 * lastRow + 1 >= count;
    sweep.exit = (nearLastRow ? kLastRow : 0) | (endedTowardsHighX ? kHighX : 0);
    sweep.length = lengthOf(sweep.runs, sweep.ways);
    return sweep;
}

std::vector<std::vector<RunPiece>> rowsOf(const std::vector<RunPiece>& pieces) {
    std::vector<std::vector<RunPiece>> rows;
    for (const RunPiece& piece : pieces) {
        if (rows.empty() || rows.back().front().piece.row != piece.piece.row) {
            rows.emplace_back();
        }
        rows.back().push_back(piece);
    }
    return rows;
}

// The rows of a cell, each piece with its run-in.
using CellRows = std::vector<std::vector<RunPiece>>;

// Sweep: each cell's pieces, given their run-in; cells without a piece are left out.
std::vector<CellRows> withRunIn(const Geos& geos, const PlaneArea& area,
                                const std::vector<PlaneArea>& cells, double spacing,
                                const LayoutRequest& request,
                                const std::optional<HoleCutter>& cutter) {
    std::vector<CellRows> cellRows;
    for (const std::vector<LinePiece>& pieces :
         sweepCells(geos, area, cells, spacing, request.minStrip)) {
        std::vector<RunPiece> run;
        for (const LinePiece& piece : pieces) {
            const double low =
                runInReach(geos, cutter, {piece.x0, piece.y}, {-1.0, 0.0}, request.runIn);
            const double high =
                runInReach(geos, cutter, {piece.x1, piece.y}, {1.0, 0.0}, request.runIn);
            run.push_back({piece, piece.x0 - low, piece.x1 + high});
        }
        if (!run.empty()) {
            cellRows.push_back(rowsOf(run));
        }
    }
    return cellRows;
}

// Order: each cell swept from each of its corners, the ways between the corners of different
// cells, and the order and corners that make the route shortest, from the corner nearest
// startNear when it is given (frame of the lines).
std::size_t sweepInOrder(const Geos& geos, FreeWater& water, const std::vector<CellRows>& cellRows,
                         const std::optional<PlanePoint>& startNear, std::size_t jump,
                         double leastTurn, std::vector<LineRun>& runs,
                         std::vector<std::vector<PlanePoint>>& ways) {
    std::vector<std::array<CellSweep, 4>> sweeps(cellRows.size());
    OrderProblem problem;
    std::vector<PlanePoint> corners;
    for (std::size_t c = 0; c < cellRows.size(); ++c) {
        CellSweeps options;
        for (std::size_t corner = 0; corner < 4; ++corner) {
            sweeps[c][corner] = sweepFrom(geos, water, cellRows[c], corner, jump, leastTurn);
            options.exit[corner] = sweeps[c][corner].exit;
            options.length[corner] = sweeps[c][corner].length;
            corners.push_back(sweeps[c][corner].runs.front().run.start);
        }
        problem.cells.push_back(options);
    }
    for (const PlanePoint& corner : corners) {
        problem.places.push_back({corner.x, corner.y});
    }
    // Few cells are ordered by the true ways between them, searched only where a route
    // through them could be the shortest: along a ragged shore a way between far cells takes
    // a search of thousands of corners. Many cells are ordered by the straight distance,
    // which the ways themselves then follow round what is in between.
    if (cellRows.size() <= kMostCellsOrderedExactly) {
        problem.linkLength = [&](std::size_t a, std::size_t b) {
            return wayLength(shortestWay(geos, water, corners[a], corners[b]));
        };
    }
    if (startNear) {
        double nearest = std::numeric_limits<double>::infinity();
        for (const PlanePoint& corner : corners) {
            nearest = std::min(nearest, distance(*startNear, corner));
        }
        problem.mayStart.assign(corners.size(), false);
        for (std::size_t k = 0; k < corners.size(); ++k) {
            problem.mayStart[k] = distance(*startNear, corners[k]) == nearest;
        }
    }
    // The ways between cells, found once: for weighing orders and for the route taken.
    std::map<std::pair<std::size_t, std::size_t>, std::vector<PlanePoint>> between;
    const auto wayBetween = [&](const CellVisit& from,
                                const CellVisit& to) -> const std::vector<PlanePoint>& {
        const std::pair<std::size_t, std::size_t> key{4 * from.cell + from.entry,
                                                      4 * to.cell + to.entry};
        auto found = between.find(key);
        if (found == between.end()) {
            found = between
                        .emplace(key, shortestWay(geos, water,
                                                  sweeps[from.cell][from.entry].runs.back().run.end,
                                                  sweeps[to.cell][to.entry].runs.front().run.start))
                        .first;
        }
        return found->second;
    };
    problem.wayLength = [&](const CellVisit& from, const CellVisit& to) {
        return wayLength(wayBetween(from, to));
    };
    problem.leastWayLength = [&](const CellVisit& from, const CellVisit& to) {
        return distance(sweeps[from.cell][from.entry].runs.back().run.end,
                        sweeps[to.cell][to.entry].runs.front().run.start);
    };
    const std::vector<CellVisit> visits = orderCells(problem);
    std::size_t narrow = 0;
    for (std::size_t k = 0; k < visits.size(); ++k) {
        CellSweep& sweep = sweeps[visits[k].cell][visits[k].entry];
        narrow += sweep.narrowTurns;
        for (LineRun& run : sweep.runs) {
            run.cell = k;
        }
        if (k > 0) {
            ways.push_back(wayBetween(visits[k - 1], visits[k]));
        }
        runs.insert(runs.end(), sweep.runs.begin(), sweep.runs.end());
        ways.insert(ways.end(), sweep.ways.begin(), sweep.ways.end());
    }
    return narrow;
}

// Tie lines: straight across the lines, spread evenly along them, each clipped to the area
// and its pieces given their run-in.
std::vector<std::vector<RunPiece>> tieLines(const Geos& geos, const PlaneArea& area,
                                            const std::optional<HoleCutter>& cutter,
                                            std::size_t count, double runIn) {
    const Extent along = alongExtent(area);
    const Extent across = acrossExtent(area);
    std::vector<PlaneSegment> lines;
    for (std::size_t i = 0; i < count; ++i) {
        const double x = along.low + (static_cast<double>(i) + 0.5) * (along.high - along.low) /
                                         static_cast<double>(count);
        lines.push_back({{x, across.low - 1.0}, {x, across.high + 1.0}});
    }
    const GeosGeometry polygon = makePolygon(geos, area);
    std::vector<std::vector<RunPiece>> ties;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const GeosGeometry line = makeSegment(geos, lines[i].start, lines[i].end);
        const GeosGeometry inside = owned(
            geos, GEOSIntersection_r(geos.handle(), polygon.get(), line.get()), "clip a tie line");
        // Stored in the frame of the tie line: "x" runs up the lines' y.
        std::vector<RunPiece> pieces;
        for (const std::vector<PlanePoint>& part : linesOf(geos, inside.get())) {
            RunPiece piece;
            piece.piece.row = i;
            piece.piece.y = lines[i].start.x;
            piece.piece.x0 = part.front().y;
            piece.piece.x1 = part.front().y;
            for (const PlanePoint& p : part) {
                piece.piece.x0 = std::min(piece.piece.x0, p.y);
                piece.piece.x1 = std::max(piece.piece.x1, p.y);
            }
            pieces.push_back(piece);
        }
        std::sort(pieces.begin(), pieces.end(),
                  [](const RunPiece& a, const RunPiece& b) { return a.piece.x0 < b.piece.x0; });
        std::vector<RunPiece> joined;
        for (const RunPiece& piece : pieces) {
            if (!joined.empty() && piece.piece.x0 <= joined.back().piece.x1 + 1e-6) {
                joined.back().piece.x1 = std::max(joined.back().piece.x1, piece.piece.x1);
            } else {
                joined.push_back(piece);
            }
        }
        std::erase_if(joined, [](const RunPiece& piece) {
            return piece.piece.x1 - piece.piece.x0 < kShortestPiece;
        });
        for (RunPiece& piece : joined) {
            const double x = piece.piece.y;
            piece.runX0 =
                piece.piece.x0 - runInReach(geos, cutter, {x, piece.piece.x0}, {0.0, -1.0}, runIn);
            piece.runX1 =
                piece.piece.x1 + runInReach(geos, cutter, {x, piece.piece.x1}, {0.0, 1.0}, runIn);
        }
        if (!joined.empty()) {
            ties.push_back(std::move(joined));
        }
    }
    return ties;
}

// A tie piece as run, in the frame of the lines.
LineRun tieRun(const RunPiece& piece, bool upwards) {
    const double x = piece.piece.y;
    LineRun run;
    run.tie = true;
    if (upwards) {
        run.line = {{x, piece.piece.x0}, {x, piece.piece.x1}};
        run.run = {{x, piece.runX0}, {x, piece.runX1}};
    } else {
        run.line = {{x, piece.piece.x1}, {x, piece.piece.x0}};
        run.run = {{x, piece.runX1}, {x, piece.runX0}};
    }
    return run;
}

// After the survey lines, the tie lines from the end nearer to where the vehicle is, each
// the other way from the one before.
void appendTieLines(const Geos& geos, FreeWater& water,
                    const std::vector<std::vector<RunPiece>>& ties, std::vector<LineRun>& runs,
                    std::vector<std::vector<PlanePoint>>& ways) {
    if (ties.empty()) {
        return;
    }
    const PlanePoint here = runs.back().run.end;
    const auto nearestEnd = [&](const std::vector<RunPiece>& tie, bool& upwards) {
        const double x = tie.front().piece.y;
        const double low = distance(here, {x, tie.front().runX0});
        const double high = distance(here, {x, tie.back().runX1});
        upwards = low <= high;
        return std::min(low, high);
    };
    bool upwardsFirst = true;
    bool upwardsLast = true;
    const bool fromLowX =
        nearestEnd(ties.front(), upwardsFirst) <= nearestEnd(ties.back(), upwardsLast);
    bool upwards = fromLowX ? upwardsFirst : upwardsLast;
    for (std::size_t k = 0; k < ties.size(); ++k) {
        const std::vector<RunPiece>& tie = ties[fromLowX ? k : ties.size() - 1 - k];
        for (std::size_t i = 0; i < tie.size(); ++i) {
            appendRun(geos, water, tieRun(tie[upwards ? i : tie.size() - 1 - i], upwards), runs,
                      ways);
        }
        upwards = !upwards;
    }
}

PlanePoint toEastNorth(const LineAxes& axes, PlanePoint p) {
    return fromLineFrame(axes, p);
}

std::string metersText(double meters) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", meters);
    return text;
}

} // namespace

std::string roundingRefusal(double spacing, double sideways, double heading) {
    // A heading a hair short of 180 degrees is the same lines as 0.
    const double shown = std::round(heading * 10.0) / 10.0;
    heading = shown >= 180.0 ? shown - 180.0 : shown;
    return "a spacing of " + metersText(spacing) +
           " m is finer than the mission files can hold: they keep positions to 0.0001 "
           "degrees, which moves lines at heading " +
           metersText(heading) + " degrees up to " + metersText(sideways) +
           " m sideways here; the smallest spacing possible is " +
           metersText(std::ceil(40.0 * sideways) / 10.0) + " m";
}

LayoutResult layOutSurvey(const Geos& geos, const PlaneArea& eastNorth, double heading,
                          const LayoutRequest& request) {
    LayoutResult result;
    SurveyLayout& layout = result.layout;
    layout.heading = lineHeadingOf(heading);
    const LineAxes axes = lineAxes(layout.heading);
    const PlaneArea area = leveled(toLineFrame(axes, eastNorth));
    const Extent across = acrossExtent(area);
    if (across.high - across.low < request.spacing) {
        result.ok = false;
        result.error = "the spacing of " + metersText(request.spacing) +
                       " m is wider than the area across the lines (" +
                       metersText(across.high - across.low) + " m at heading " +
                       metersText(layout.heading) + " degrees)";
        return result;
    }
    const double sideways = sidewaysRounding(request.rounding, layout.heading);
    if (request.spacing < 4.0 * sideways) {
        result.ok = false;
        result.error = roundingRefusal(request.spacing, sideways, layout.heading);
        return result;
    }
    layout.spacing = request.spacing - 2.0 * sideways;
    std::optional<HoleCutter> cutter;
    if (request.runIn > 0.0 && !area.holes.empty()) {
        cutter.emplace();
        cutter->holes = makeHoles(geos, area);
        cutter->preparedHoles = prepared(geos, cutter->holes.get());
    }
    FreeWater water = makeFreeWater(geos, area, request.runIn);

    // Decompose, then sweep: the pieces of each cell, with their run-in.
    const std::vector<PlaneArea> cells = decompose(geos, area);
    const std::size_t lines = countLines(cells, layout.spacing, request.minStrip);
    if (lines > kMaxSurveyLines) {
        result.ok = false;
        result.error = "a spacing of " + metersText(request.spacing) + " m would lay " +
                       std::to_string(lines) + " lines in the area, more than " +
                       std::to_string(kMaxSurveyLines);
        return result;
    }
    const std::vector<CellRows> cellRows =
        withRunIn(geos, area, cells, layout.spacing, request, cutter);
    layout.cells = cellRows.size();
    if (cellRows.empty()) {
        result.ok = false;
        result.error = "no line at this spacing crosses the area";
        return result;
    }
    std::vector<LineRun> runs;
    std::vector<std::vector<PlanePoint>> ways;
    layout.rowsPerTurn = rowsPerTurn(layout.spacing, request.turnRadius);
    layout.narrowTurns = sweepInOrder(
        geos, water, cellRows,
        request.startNear ? std::optional(toLineFrame(axes, *request.startNear)) : std::nullopt,
        layout.rowsPerTurn, 2.0 * request.turnRadius, runs, ways);
    appendTieLines(geos, water, tieLines(geos, area, cutter, request.crossLines, request.runIn),
                   runs, ways);

    for (LineRun& run : runs) {
        run.line = {toEastNorth(axes, run.line.start), toEastNorth(axes, run.line.end)};
        run.run = {toEastNorth(axes, run.run.start), toEastNorth(axes, run.run.end)};
        layout.lineLength += segmentLength(run.line);
        layout.runInLength += segmentLength(run.run) - segmentLength(run.line);
    }
    for (std::vector<PlanePoint>& way : ways) {
        for (PlanePoint& p : way) {
            p = toEastNorth(axes, p);
        }
        layout.wayLength += wayLength(way);
    }
    layout.runs = std::move(runs);
    layout.ways = std::move(ways);
    return result;
}

double routeLength(const SurveyLayout& layout) {
    return layout.lineLength + layout.runInLength + layout.wayLength;
}
