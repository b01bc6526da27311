// The shortest way through the water: a visibility graph over the corners that stick into
// the water, searched with A*, and GEOS to say what a straight way crosses.
#include "survey/free_way.h"

#include "survey/ring_growth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <queue>

namespace {

// Segments per quarter circle of the grown boundary; its chords then lie within half a
// percent of the circle, which the growth allows for.
constexpr int kQuarterSegments = 8;
// A way tested in pieces: each about this many of the water's edges long, at most so many.
constexpr double kEdgesPerPiece = 4.0;
constexpr unsigned kMostPieces = 4096;
// The grid of the water's edges has at most so many cells per edge: a way along a shore of
// a chart's detail meets the edges of every cell it passes, and smaller cells hold fewer.
constexpr double kCellsPerEdge = 16.0;
// A point's side of a line is taken as plain arithmetic gives it only when the cross product
// exceeds this share of its terms, far above their rounding.
constexpr double kSideBound = 1e-12;
// The box of two steps along a way is widened by this for the cells it covers: far above the
// rounding of a step's coordinates, far below a cell.
constexpr double kCellHair = 1e-6; // meters

// The corners where the water's edge turns right, water being on the left of every edge:
// the only places a shortest way can bend.
void addReflexCorners(const PlaneRing& ring, std::vector<PlanePoint>& corners,
                      std::vector<std::array<PlanePoint, 2>>& sides) {
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PlanePoint& a = ring[(i + n - 1) % n];
        const PlanePoint& b = ring[i];
        const PlanePoint& c = ring[(i + 1) % n];
        const double turn = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
        if (turn < 0.0) {
            corners.push_back(b);
            sides.push_back({a, c});
        }
    }
}

// Files every edge of the polygons under each cell its box covers.
EdgeGrid edgeGrid(const std::vector<PlaneArea>& polygons, double cell) {
    EdgeGrid grid;
    const auto addRing = [&](const PlaneRing& ring) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            grid.edges.push_back({ring[i], ring[(i + 1) % ring.size()]});
        }
    };
    for (const PlaneArea& polygon : polygons) {
        addRing(polygon.outer);
        for (const PlaneRing& hole : polygon.holes) {
            addRing(hole);
        }
    }
    if (grid.edges.empty() || !(cell > 0.0) || grid.edges.size() >= UINT32_MAX) {
        return {};
    }
    PlanePoint low = grid.edges.front().start;
    PlanePoint high = low;
    for (const PlaneSegment& edge : grid.edges) {
        for (const PlanePoint& p : {edge.start, edge.end}) {
            low = {std::min(low.x, p.x), std::min(low.y, p.y)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y)};
        }
    }
    // No more cells than a few per edge, however short the edges.
    const double most = kCellsPerEdge * static_cast<double>(grid.edges.size());
    cell = std::max(cell, std::sqrt((high.x - low.x) * (high.y - low.y) / most));
    grid.origin = low;
    grid.cell = cell;
    grid.columns = static_cast<std::size_t>((high.x - low.x) / cell) + 1;
    grid.rows = static_cast<std::size_t>((high.y - low.y) / cell) + 1;
    if (static_cast<double>(grid.columns) * static_cast<double>(grid.rows) > 2.0 * most + 16.0) {
        return {}; // a grid of one long, thin strip: GEOS alone
    }
    const auto cellsOf = [&](const PlaneSegment& edge, auto&& file) {
        const auto [c0, r0] =
            grid.cellOf({std::min(edge.start.x, edge.end.x), std::min(edge.start.y, edge.end.y)});
        const auto [c1, r1] =
            grid.cellOf({std::max(edge.start.x, edge.end.x), std::max(edge.start.y, edge.end.y)});
        for (std::size_t r = r0; r <= r1; ++r) {
            for (std::size_t c = c0; c <= c1; ++c) {
                file(r * grid.columns + c);
            }
        }
    };
    grid.first.assign(grid.columns * grid.rows + 1, 0);
    for (const PlaneSegment& edge : grid.edges) {
        cellsOf(edge, [&](std::size_t at) { ++grid.first[at + 1]; });
    }
    for (std::size_t at = 1; at < grid.first.size(); ++at) {
        grid.first[at] += grid.first[at - 1];
    }
    grid.filed.resize(grid.first.back());
    std::vector<std::uint32_t> next(grid.first.begin(), grid.first.end() - 1);
    for (std::size_t e = 0; e < grid.edges.size(); ++e) {
        cellsOf(grid.edges[e],
                [&](std::size_t at) { grid.filed[next[at]++] = static_cast<std::uint32_t>(e); });
    }
    grid.seen.assign(grid.edges.size(), 0);
    return grid;
}

// The side of the line through a and b that p lies on, when plain arithmetic can tell it:
// 1 left, -1 right, 0 too close to say.
int sideOf(PlanePoint a, PlanePoint b, PlanePoint p) {
    const double left = (b.x - a.x) * (p.y - a.y);
    const double right = (b.y - a.y) * (p.x - a.x);
    const double bound = kSideBound * (std::abs(left) + std::abs(right));
    const double cross = left - right;
    return cross > bound ? 1 : cross < -bound ? -1 : 0;
}

// The side of the line from o through at that p lies on, when p lies farther from it than a
// way may stray past the water's edge: 1 left, -1 right, 0 nearer. The end of a line lies on
// an edge of the shore only up to the rounding of its coordinates.
int sidePastTolerance(PlanePoint o, PlanePoint at, PlanePoint p) {
    const double dx = at.x - o.x;
    const double dy = at.y - o.y;
    const double left = dx * (p.y - o.y);
    const double right = dy * (p.x - o.x);
    const double cross = left - right;
    const double bound = kSideBound * (std::abs(left) + std::abs(right));
    // The distance from the line is the cross product over the line's length: compared in
    // squares, which a search of ways asks of millions of pairs.
    if (cross * cross <= kWayTolerance * kWayTolerance * (dx * dx + dy * dy) ||
        std::abs(cross) <= bound) {
        return 0;
    }
    return cross > 0.0 ? 1 : -1;
}

// Whether a straight way between the corner and another point can be a leg of a shortest way
// that bends at the corner. A shortest way is taut: where it bends, it bends round the land,
// so the land's two edges at the corner lie on one side of each leg's line. Where they lie
// plainly on either side, that line runs on past the corner into the land, and either a leg
// crosses the land or the way could be shortened beside the corner. Most corners of a ragged
// shore are teeth that a way meets only along the shore, so most pairs need no test at all.
bool tangentAt(const FreeWater& water, std::size_t corner, PlanePoint other) {
    const PlanePoint at = water.corners[corner];
    const int before = sidePastTolerance(other, at, water.cornerSides[corner][0]);
    const int after = sidePastTolerance(other, at, water.cornerSides[corner][1]);
    return before == 0 || after == 0 || before == after;
}

enum class Meeting { apart, across, unsure };

Meeting meeting(const PlaneSegment& way, const PlaneSegment& edge) {
    const int c = sideOf(way.start, way.end, edge.start);
    const int d = sideOf(way.start, way.end, edge.end);
    const int a = sideOf(edge.start, edge.end, way.start);
    const int b = sideOf(edge.start, edge.end, way.end);
    if ((c != 0 && c == d) || (a != 0 && a == b)) {
        return Meeting::apart;
    }
    if (c != 0 && d != 0 && a != 0 && b != 0) {
        return Meeting::across; // each strictly on either side of the other
    }
    return Meeting::unsure;
}

// Whether the way meets the edge of the water: apart from every edge near it, across one,
// or too close to one to tell. The way is followed in steps of at most a cell; every point of
// it between two steps lies in the box of the two, so the cells that box covers (widened by
// a hair for the rounding of the steps) hold every edge it can meet. A way along a shore of
// a chart's detail passes cells of a hundred edges each: only those it passes are looked at.
Meeting meetsEdge(const EdgeGrid& grid, const PlaneSegment& way) {
    if (++grid.query == 0) {
        std::fill(grid.seen.begin(), grid.seen.end(), 0);
        grid.query = 1;
    }
    const double length = distance(way.start, way.end);
    const auto steps =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(length / grid.cell)));
    bool unsure = false;
    // The cells of the box before: consecutive boxes share a corner's cells.
    std::size_t lastLow[2] = {1, 1};
    std::size_t lastHigh[2] = {0, 0};
    PlanePoint before = way.start;
    for (std::size_t i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(steps);
        const PlanePoint at = i == steps ? way.end
                                         : PlanePoint{way.start.x + (way.end.x - way.start.x) * t,
                                                      way.start.y + (way.end.y - way.start.y) * t};
        const auto [c0, r0] = grid.cellOf(
            {std::min(before.x, at.x) - kCellHair, std::min(before.y, at.y) - kCellHair});
        const auto [c1, r1] = grid.cellOf(
            {std::max(before.x, at.x) + kCellHair, std::max(before.y, at.y) + kCellHair});
        for (std::size_t r = r0; r <= r1; ++r) {
            for (std::size_t c = c0; c <= c1; ++c) {
                if (c >= lastLow[0] && c <= lastHigh[0] && r >= lastLow[1] && r <= lastHigh[1]) {
                    continue;
                }
                const std::size_t cell = r * grid.columns + c;
                for (std::uint32_t k = grid.first[cell]; k < grid.first[cell + 1]; ++k) {
                    const std::uint32_t e = grid.filed[k];
                    if (grid.seen[e] == grid.query) {
                        continue;
                    }
                    grid.seen[e] = grid.query;
                    const Meeting m = meeting(way, grid.edges[e]);
                    if (m == Meeting::across) {
                        return m;
                    }
                    unsure = unsure || m == Meeting::unsure;
                }
            }
        }
        lastLow[0] = c0;
        lastLow[1] = r0;
        lastHigh[0] = c1;
        lastHigh[1] = r1;
        before = at;
    }
    return unsure ? Meeting::unsure : Meeting::apart;
}

} // namespace

std::pair<std::size_t, std::size_t> EdgeGrid::cellOf(PlanePoint p) const {
    const double column = std::floor((p.x - origin.x) / cell);
    const double row = std::floor((p.y - origin.y) / cell);
    return {static_cast<std::size_t>(std::clamp(column, 0.0, static_cast<double>(columns - 1))),
            static_cast<std::size_t>(std::clamp(row, 0.0, static_cast<double>(rows - 1)))};
}

FreeWater makeFreeWater(const Geos& geos, const PlaneArea& area, double runIn) {
    FreeWater water;
    if (runIn > 0.0) {
        const GeosGeometry outer = makePolygon(geos, area.outer);
        // A little more than the run-in, so that a line's run-in, which ends the run-in from
        // a point of the boundary, lies inside the grown boundary's chords.
        const GeosGeometry grown = owned(
            geos, GEOSBuffer_r(geos.handle(), outer.get(), runIn * 1.01 + 0.01, kQuarterSegments),
            "grow the area by the run-in");
        const GeosGeometry holes = makeHoles(geos, area);
        water.region = owned(geos, GEOSDifference_r(geos.handle(), grown.get(), holes.get()),
                             "take the holes out of the water");
    } else {
        water.region = makePolygon(geos, area);
    }
    // Grown ring by ring: GEOS's buffer of a shore with a thousand rocks spends most of its
    // time placing each rock's grown ring among the rings before it.
    water.tolerant = grownByRings(geos, water.region.get(), kWayTolerance, 2,
                                  "allow for rounding at the water's edge");
    water.tolerantPrepared = prepared(geos, water.tolerant.get());
    double edgeLength = 0.0;
    std::size_t edges = 0;
    const auto addEdges = [&](const PlaneRing& ring) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            edgeLength += distance(ring[i], ring[(i + 1) % ring.size()]);
        }
        edges += ring.size();
    };
    for (PlaneArea& polygon : polygonsOf(geos, water.region.get())) {
        orientRings(polygon);
        addReflexCorners(polygon.outer, water.corners, water.cornerSides);
        addEdges(polygon.outer);
        for (const PlaneRing& hole : polygon.holes) {
            addReflexCorners(hole, water.corners, water.cornerSides);
            addEdges(hole);
        }
    }
    water.cornerTree = cornerTree(water.corners);
    // The tables of sight number a pair of corners in 63 bits.
    if (water.corners.size() >= (std::size_t{1} << 31)) {
        throw GeometryFailure("the water has too many corners to search ways among");
    }
    // A piece's box then holds a few of the edges it passes.
    water.pieceLength = edges > 0 ? kEdgesPerPiece * edgeLength / static_cast<double>(edges) : 0.0;
    water.edgeGrid = edgeGrid(polygonsOf(geos, water.tolerant.get()), water.pieceLength);
    return water;
}

namespace {

// The straight way as a line of pieces; the points between lie on it up to the rounding of
// their coordinates, far below the tolerance at the water's edge.
GeosGeometry wayInPieces(const Geos& geos, const FreeWater& water, PlanePoint from, PlanePoint to) {
    const double length = distance(from, to);
    const double wanted = water.pieceLength > 0.0 ? std::ceil(length / water.pieceLength) : 1.0;
    const auto pieces =
        static_cast<unsigned>(std::clamp(wanted, 1.0, static_cast<double>(kMostPieces)));
    GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(geos.handle(), pieces + 1, 2);
    for (unsigned i = 0; i <= pieces; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(pieces);
        const PlanePoint p =
            i == 0        ? from
            : i == pieces ? to
                          : PlanePoint{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
        GEOSCoordSeq_setXY_r(geos.handle(), sequence, i, p.x, p.y);
    }
    return owned(geos, GEOSGeom_createLineString_r(geos.handle(), sequence), "make a way");
}

} // namespace

bool clearWay(const Geos& geos, const FreeWater& water, PlanePoint from, PlanePoint to) {
    const bool point = from.x == to.x && from.y == to.y;
    if (water.edgeGrid.cell > 0.0 && !point) {
        const Meeting m = meetsEdge(water.edgeGrid, {from, to});
        if (m == Meeting::across) {
            return false; // part of the way lies outside the water
        }
        if (m == Meeting::apart) {
            // Wholly inside the water or wholly outside: its start says which.
            const GeosGeometry start = makePoint(geos, from);
            return answer(
                geos,
                GEOSPreparedCovers_r(geos.handle(), water.tolerantPrepared.get(), start.get()),
                "test a way through the water");
        }
    }
    const GeosGeometry way = point ? makePoint(geos, from) : wayInPieces(geos, water, from, to);
    return answer(geos,
                  GEOSPreparedCovers_r(geos.handle(), water.tolerantPrepared.get(), way.get()),
                  "test a way through the water");
}

namespace {

// Corners nearer than this many are searched first; the set doubles until it holds the way.
constexpr std::size_t kFirstCorners = 48;

struct Found {
    bool found = false;
    double length = 0.0;
    std::vector<PlanePoint> bends; // in order from the start
};

// A* over the given corners; node count is the destination. The straight distance to it
// never overestimates, so the first time it is taken off the queue its way is the shortest
// through these corners. Whether the start sees a corner, a test against the whole water, is
// asked only when the corner is taken off the queue; until then the corner keeps the best
// way through other corners apart, and the answer then picks as if it had been asked first.
Found searchAmong(const Geos& geos, FreeWater& water, PlanePoint from, PlanePoint to,
                  const std::vector<std::size_t>& among) {
    const std::size_t count = among.size();
    const auto point = [&](std::size_t node) {
        return node == count ? to : water.corners[among[node]];
    };
    // The straight ways between the ends and a corner, tested once for every search from or
    // to the same point; the way tested is the same, in the same direction, as before.
    SightTable& fromSight = water.pointSight[{from.x, from.y}];
    SightTable& toSight = water.pointSight[{to.x, to.y}];
    const auto pointSees = [&](PlanePoint end, std::size_t corner, bool fromEnd) {
        SightTable& sight = end.x == from.x && end.y == from.y ? fromSight : toSight;
        const std::uint64_t key = 2 * static_cast<std::uint64_t>(corner) + (fromEnd ? 0 : 1);
        if (const std::optional<bool> known = sight.find(key)) {
            return *known;
        }
        const PlanePoint& at = water.corners[corner];
        const bool sees = fromEnd ? clearWay(geos, water, end, at) : clearWay(geos, water, at, end);
        sight.keep(key, sees);
        return sees;
    };
    const auto sees = [&](std::size_t a, std::size_t b) {
        if (a == count && b == count) {
            return clearWay(geos, water, point(a), point(b));
        }
        if (a == count) {
            return pointSees(to, among[b], true);
        }
        if (b == count) {
            return pointSees(to, among[a], false);
        }
        const std::size_t low = std::min(among[a], among[b]);
        const std::size_t high = std::max(among[a], among[b]);
        const std::uint64_t key = static_cast<std::uint64_t>(low) << 32 | high;
        if (const std::optional<bool> known = water.cornerSight.find(key)) {
            return *known;
        }
        const bool sees = clearWay(geos, water, point(a), point(b));
        water.cornerSight.keep(key, sees);
        return sees;
    };
    constexpr double kUnreached = std::numeric_limits<double>::infinity();
    constexpr std::size_t kFromStart = std::numeric_limits<std::size_t>::max();
    std::vector<double> reached(count + 1, kUnreached);
    std::vector<std::size_t> previous(count + 1, kFromStart);
    std::vector<bool> settled(count + 1, false);
    std::vector<bool> unasked(count + 1, false);
    using Entry = std::pair<double, std::size_t>; // estimate of the whole way, node
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    // The straight distance of each node to the destination, asked again and again.
    std::vector<double> toEnd(count + 1, 0.0);
    for (std::size_t node = 0; node < count; ++node) {
        toEnd[node] = distance(point(node), to);
        unasked[node] = true;
        open.push({distance(from, point(node)) + toEnd[node], node});
    }
    while (!open.empty()) {
        const auto [estimate, node] = open.top();
        open.pop();
        if (settled[node]) {
            continue;
        }
        if (unasked[node]) {
            unasked[node] = false;
            // The straight way wins unless one through other corners is strictly shorter.
            const double straight = distance(from, point(node));
            if (!(reached[node] < straight) && tangentAt(water, among[node], from) &&
                pointSees(from, among[node], true)) {
                reached[node] = straight;
                previous[node] = kFromStart;
            }
        }
        // An entry the corner's own reach has since overtaken, or a straight way it lacks.
        if (estimate != reached[node] + toEnd[node]) {
            continue;
        }
        settled[node] = true;
        if (node == count) {
            break;
        }
        for (std::size_t next = 0; next <= count; ++next) {
            if (settled[next] || next == node) {
                continue;
            }
            // The distance is no less than its longer side: most corners already reached
            // by as short a way are passed over without it.
            const PlanePoint a = point(node);
            const PlanePoint b = point(next);
            const double side = std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
            if (!(reached[node] + side < reached[next])) {
                continue;
            }
            if ((node < count && !tangentAt(water, among[node], b)) ||
                (next < count && !tangentAt(water, among[next], a))) {
                continue;
            }
            const double via = reached[node] + distance(a, b);
            if (via < reached[next] && sees(node, next)) {
                reached[next] = via;
                previous[next] = node;
                open.push({via + toEnd[next], next});
            }
        }
    }
    Found result;
    if (!settled[count]) {
        return result;
    }
    result.found = true;
    result.length = reached[count];
    for (std::size_t node = previous[count]; node != kFromStart; node = previous[node]) {
        result.bends.push_back(point(node));
    }
    std::reverse(result.bends.begin(), result.bends.end());
    return result;
}

std::vector<PlanePoint> searchWay(const Geos& geos, FreeWater& water, PlanePoint from,
                                  PlanePoint to) {
    if (clearWay(geos, water, from, to)) {
        return {from, to};
    }
    // A way that bends at a corner is at least as long as the two straight legs through it:
    // the corners are taken in that order, and a way found among the nearest is the shortest
    // of all once every corner left out would make a longer one. Only as many are weighed as
    // each round takes: a shore of a chart's detail has hundreds of thousands of corners, and
    // most ways need a few dozen.
    DetourWalk walk(water.cornerTree, water.corners, from, to);
    std::vector<std::size_t> order;
    std::vector<double> detour;
    Found found;
    for (std::size_t take = kFirstCorners;; take *= 2) {
        std::size_t corner = 0;
        double through = 0.0;
        while (order.size() <= take && walk.next(corner, through)) {
            order.push_back(corner);
            detour.push_back(through);
        }
        const std::size_t taken = std::min(take, order.size());
        found = searchAmong(geos, water, from, to, {order.begin(), order.begin() + taken});
        const bool allTaken = taken == order.size();
        if (allTaken || (found.found && detour[taken] >= found.length)) {
            break;
        }
    }
    if (!found.found) {
        throw GeometryFailure("there is no way through the water between two lines");
    }
    // A corner where an end of the way lies is no bend of its own.
    std::vector<PlanePoint> way{from};
    for (const PlanePoint& p : found.bends) {
        if (p.x != way.back().x || p.y != way.back().y) {
            way.push_back(p);
        }
    }
    if (to.x != way.back().x || to.y != way.back().y || way.size() == 1) {
        way.push_back(to);
    }
    return way;
}

} // namespace

std::vector<PlanePoint> shortestWay(const Geos& geos, FreeWater& water, PlanePoint from,
                                    PlanePoint to) {
    const bool forwards = from.x < to.x || (from.x == to.x && from.y <= to.y);
    const PlanePoint low = forwards ? from : to;
    const PlanePoint high = forwards ? to : from;
    const std::array<double, 4> key{low.x, low.y, high.x, high.y};
    auto found = water.known.find(key);
    if (found == water.known.end()) {
        found = water.known.emplace(key, searchWay(geos, water, low, high)).first;
    }
    if (forwards) {
        return found->second;
    }
    return {found->second.rbegin(), found->second.rend()};
}

double wayLength(const std::vector<PlanePoint>& way) {
    double length = 0.0;
    for (std::size_t i = 1; i < way.size(); ++i) {
        length += distance(way[i - 1], way[i]);
    }
    return length;
}
