// The shortest way through the water: a visibility graph over the corners that stick into
// the water, searched with A*, and GEOS to say what a straight way crosses.
#include "survey/free_way.h"

#include "survey/corner_pocket.h"
#include "survey/corner_tangent.h"
#include "survey/ring_growth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
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
// The box of two steps along a way is widened by this for the cells it covers: far above the
// rounding of a step's coordinates, far below a cell.
constexpr double kCellHair = 1e-6; // meters
// A cell of no more edges than this is compared with a way edge by edge; of more, only with
// the edges its box reaches along the cell's axis.
constexpr std::ptrdiff_t kEdgesScannedWhole = 8;
// A corner is in a pocket when a lid between vertices at most so many along its ring on
// either side passes it on the water's side by more than the depth: a shore of a chart's
// detail rounded to the millimetre dents itself every few vertices, and a way round it
// touches only the teeth that stand out.
constexpr std::size_t kPocketReach = 16;
constexpr double kPocketDepth = 2.0 * kWayTolerance; // meters
// A dent's box reaches at most so many of the shore's mean edge from its corner.
constexpr double kPocketEdges = 256.0;
// Rounds of the search for pockets: the second finds the dents among the teeth the first
// left standing, the third among those.
constexpr int kPocketLevels = 3;

// The corners where the water's edge turns right, water being on the left of every edge:
// the only places a shortest way can bend.
void addReflexCorners(const PlaneRing& ring, std::vector<PlanePoint>& corners,
                      std::vector<std::array<PlanePoint, 2>>& sides,
                      std::vector<std::array<std::size_t, 2>>& where, std::size_t ringNumber) {
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PlanePoint& a = ring[(i + n - 1) % n];
        const PlanePoint& b = ring[i];
        const PlanePoint& c = ring[(i + 1) % n];
        const double turn = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
        if (turn < 0.0) {
            corners.push_back(b);
            sides.push_back({a, c});
            where.push_back({ringNumber, i});
        }
    }
}

double coordinate(PlanePoint p, int axis) {
    return axis == 0 ? p.x : p.y;
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
    grid.axis.assign(grid.columns * grid.rows, 0);
    grid.reach.assign(grid.columns * grid.rows, 0.0);
    grid.low.resize(grid.filed.size());
    for (std::size_t at = 0; at + 1 < grid.first.size(); ++at) {
        const auto begin = grid.filed.begin() + grid.first[at];
        const auto end = grid.filed.begin() + grid.first[at + 1];
        if (end - begin <= kEdgesScannedWhole) {
            continue;
        }
        double along[2] = {0.0, 0.0};
        for (auto e = begin; e != end; ++e) {
            along[0] += std::abs(grid.edges[*e].end.x - grid.edges[*e].start.x);
            along[1] += std::abs(grid.edges[*e].end.y - grid.edges[*e].start.y);
        }
        const int axis = along[1] > along[0] ? 1 : 0;
        const auto lowOf = [&](std::uint32_t e) {
            return std::min(coordinate(grid.edges[e].start, axis),
                            coordinate(grid.edges[e].end, axis));
        };
        std::sort(begin, end, [&](std::uint32_t a, std::uint32_t b) {
            return lowOf(a) != lowOf(b) ? lowOf(a) < lowOf(b) : a < b;
        });
        grid.axis[at] = static_cast<std::uint8_t>(axis);
        for (auto e = begin; e != end; ++e) {
            grid.low[static_cast<std::size_t>(e - grid.filed.begin())] = lowOf(*e);
            grid.reach[at] =
                std::max(grid.reach[at], std::abs(coordinate(grid.edges[*e].end, axis) -
                                                  coordinate(grid.edges[*e].start, axis)));
        }
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
        const PlanePoint boxLow{std::min(before.x, at.x) - kCellHair,
                                std::min(before.y, at.y) - kCellHair};
        const PlanePoint boxHigh{std::max(before.x, at.x) + kCellHair,
                                 std::max(before.y, at.y) + kCellHair};
        const auto [c0, r0] = grid.cellOf(boxLow);
        const auto [c1, r1] = grid.cellOf(boxHigh);
        for (std::size_t r = r0; r <= r1; ++r) {
            for (std::size_t c = c0; c <= c1; ++c) {
                const std::size_t cell = r * grid.columns + c;
                std::uint32_t k = grid.first[cell];
                std::uint32_t stop = grid.first[cell + 1];
                if (stop - k > kEdgesScannedWhole) {
                    // The edges whose extent on the axis meets the box's; this box may reach
                    // edges of the cell that the box before did not.
                    const int axis = grid.axis[cell];
                    const auto low = grid.low.begin();
                    k = static_cast<std::uint32_t>(
                        std::lower_bound(low + k, low + stop,
                                         coordinate(boxLow, axis) - grid.reach[cell]) -
                        low);
                    stop = static_cast<std::uint32_t>(
                        std::upper_bound(low + k, low + stop, coordinate(boxHigh, axis)) - low);
                } else if (c >= lastLow[0] && c <= lastHigh[0] && r >= lastLow[1] &&
                           r <= lastHigh[1]) {
                    continue;
                }
                for (; k < stop; ++k) {
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
    std::vector<PlaneRing> rings;
    std::vector<std::array<std::size_t, 2>> where; // per corner: its ring, its vertex there
    for (PlaneArea& polygon : polygonsOf(geos, water.region.get())) {
        orientRings(polygon);
        rings.push_back(std::move(polygon.outer));
        for (PlaneRing& hole : polygon.holes) {
            rings.push_back(std::move(hole));
        }
    }
    for (std::size_t r = 0; r < rings.size(); ++r) {
        addReflexCorners(rings[r], water.corners, water.cornerSides, where, r);
        addEdges(rings[r]);
    }
    // The tables of sight number a corner in 31 bits.
    if (water.corners.size() >= (std::size_t{1} << 31)) {
        throw GeometryFailure("the water has too many corners to search ways among");
    }
    water.cornerSight = CornerSight(water.corners.size());
    // A piece's box then holds a few of the edges it passes.
    water.pieceLength = edges > 0 ? kEdgesPerPiece * edgeLength / static_cast<double>(edges) : 0.0;
    water.edgeGrid = edgeGrid(polygonsOf(geos, water.tolerant.get()), water.pieceLength);
    // First the dents among every vertex, then among the corners that stand out of those. A
    // way is searched among the corners of every dent whose box holds one of its ends, found
    // among the corners so near them: dents across a whole bay would make that most of them.
    const double mostPocketReach = kPocketEdges * water.pieceLength / kEdgesPerPiece;
    std::vector<bool> inPocket(water.corners.size(), false);
    for (int level = 0; level < kPocketLevels; ++level) {
        std::vector<std::vector<std::size_t>> vertices(rings.size());
        std::vector<std::vector<std::size_t>> cornersOf(rings.size());
        for (std::size_t c = 0; c < water.corners.size(); ++c) {
            if (!inPocket[c]) {
                cornersOf[where[c][0]].push_back(c);
            }
        }
        for (std::size_t r = 0; r < rings.size(); ++r) {
            if (level == 0) {
                vertices[r].resize(rings[r].size());
                std::iota(vertices[r].begin(), vertices[r].end(), std::size_t{0});
            } else {
                for (const std::size_t c : cornersOf[r]) {
                    vertices[r].push_back(where[c][1]);
                }
            }
        }
        for (std::size_t r = 0; r < rings.size(); ++r) {
            for (std::size_t k = 0; k < cornersOf[r].size(); ++k) {
                const std::size_t c = cornersOf[r][k];
                const std::optional<CornerPocket> pocket =
                    cornerPocket(rings[r], vertices[r], level == 0 ? where[c][1] : k, kPocketReach,
                                 kPocketDepth);
                if (!pocket) {
                    continue;
                }
                const PlanePoint at = water.corners[c];
                const double reach =
                    std::hypot(std::max(at.x - pocket->low.x, pocket->high.x - at.x),
                               std::max(at.y - pocket->low.y, pocket->high.y - at.y));
                if (reach > mostPocketReach ||
                    !clearWay(geos, water, rings[r][pocket->lidStart], rings[r][pocket->lidEnd])) {
                    continue;
                }
                inPocket[c] = true;
                water.pocketCorners.push_back(static_cast<std::uint32_t>(c));
                water.pocketBoxes.push_back({pocket->low, pocket->high});
                water.pocketReach = std::max(water.pocketReach, reach);
            }
        }
    }
    // Numbers in increasing order in both lists: a search breaks ties between corners by them.
    std::vector<std::size_t> byNumber(water.pocketCorners.size());
    std::iota(byNumber.begin(), byNumber.end(), std::size_t{0});
    std::sort(byNumber.begin(), byNumber.end(), [&](std::size_t a, std::size_t b) {
        return water.pocketCorners[a] < water.pocketCorners[b];
    });
    std::vector<std::uint32_t> pocketCorners;
    std::vector<std::array<PlanePoint, 2>> pocketBoxes;
    for (const std::size_t k : byNumber) {
        const std::uint32_t c = water.pocketCorners[k];
        const std::array<PlanePoint, 2>& box = water.pocketBoxes[k];
        const PlanePoint at = water.corners[c];
        pocketCorners.push_back(c);
        pocketBoxes.push_back(box);
        water.pocketPlaces.push_back(at);
    }
    water.pocketCorners = std::move(pocketCorners);
    water.pocketBoxes = std::move(pocketBoxes);
    for (std::size_t c = 0; c < water.corners.size(); ++c) {
        if (!inPocket[c]) {
            water.openCorners.push_back(static_cast<std::uint32_t>(c));
            water.openPlaces.push_back(water.corners[c]);
        }
    }
    water.openTree = cornerTree(water.openPlaces);
    water.pocketTree = cornerTree(water.pocketPlaces);
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

// Where a pocket's box holds an end of a way, a little past it for the rounding of the
// ends, which lie on the water's edge as GEOS computed it.
constexpr double kPocketMargin = 10.0 * kWayTolerance; // meters

// Corners nearer than this many are searched first; the set grows fourfold until it holds
// the way. A round that finds no way settles every corner it can reach, while the round that
// finds it settles only those on ways about as short, however many more it is given.
constexpr std::size_t kFirstCorners = 48;
constexpr std::size_t kCornerGrowth = 4;

struct Found {
    bool found = false;
    double length = 0.0;
    std::vector<PlanePoint> bends; // in order from the start
};

// A* over the given corners; node count is the destination. The straight distance to it
// never overestimates, so the first time it is taken off the queue its way is the shortest
// through these corners. Whether a leg is clear, a test against the water's edge, is asked
// only when the leg is taken off the queue: along a ragged shore a corner has hundreds of
// tangent legs, and only those on a way about as short as the shortest are ever tested.
Found searchAmong(const Geos& geos, FreeWater& water, PlanePoint from, PlanePoint to,
                  const std::vector<std::size_t>& among) {
    const std::size_t count = among.size();
    // The corners side by side: a search weighs every pair of them, and the water's own
    // lists hold them in the order of the rings.
    std::vector<PlanePoint> place(count);
    std::vector<std::array<PlanePoint, 2>> sides(count);
    for (std::size_t node = 0; node < count; ++node) {
        place[node] = water.corners[among[node]];
        sides[node] = water.cornerSides[among[node]];
    }
    const auto point = [&](std::size_t node) { return node == count ? to : place[node]; };
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
        const auto first = static_cast<std::uint32_t>(among[a]);
        const auto second = static_cast<std::uint32_t>(among[b]);
        if (const std::optional<bool> known = water.cornerSight.find(first, second)) {
            return *known;
        }
        const bool sees = clearWay(geos, water, point(a), point(b));
        water.cornerSight.keep(first, second, sees);
        return sees;
    };
    constexpr std::size_t kFromStart = std::numeric_limits<std::size_t>::max();
    std::vector<double> reached(count + 1, 0.0);
    std::vector<std::size_t> previous(count + 1, kFromStart);
    std::vector<bool> settled(count + 1, false);
    // A leg waiting to be taken, ordered by the estimate of the whole way through it, then by
    // its node, then by when the leg's start was settled (the start of the way first): of two
    // legs to a corner that give the same way's length, the one from the earlier-settled
    // start is taken.
    struct Entry {
        double estimate = 0.0; // meters: reached plus the straight distance to the destination
        std::size_t node = 0;
        std::size_t rank = 0; // 0 the start of the way, else 1 + the order its start settled
        std::size_t start = kFromStart;
        double reached = 0.0; // meters from the start of the way, through the leg
        bool operator>(const Entry& other) const {
            if (estimate != other.estimate) {
                return estimate > other.estimate;
            }
            return node != other.node ? node > other.node : rank > other.rank;
        }
    };
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    // The straight distance of each node to the destination, asked again and again.
    std::vector<double> toEnd(count + 1, 0.0);
    for (std::size_t node = 0; node < count; ++node) {
        toEnd[node] = distance(point(node), to);
        if (tangentAt(place[node], sides[node], from)) {
            const double straight = distance(from, point(node));
            open.push({straight + toEnd[node], node, 0, kFromStart, straight});
        }
    }
    // Whether a leg can be taken is asked only when it comes off the queue: a leg is tested
    // only if the way through it could still be the shortest, and the first leg to a node
    // that can be taken gives its shortest way, as the straight distance to the destination
    // never shrinks by more than a leg's length.
    std::size_t settledCount = 0;
    const CornerTree tree = cornerTree(place);
    std::vector<std::uint32_t> boxes; // of the tree, to be opened
    while (!open.empty()) {
        const Entry entry = open.top();
        open.pop();
        const std::size_t node = entry.node;
        if (settled[node]) {
            continue;
        }
        const bool clear = entry.start == kFromStart ? pointSees(from, among[node], true)
                                                     : sees(entry.start, node);
        if (!clear) {
            continue;
        }
        settled[node] = true;
        reached[node] = entry.reached;
        previous[node] = entry.start;
        const std::size_t rank = ++settledCount;
        if (node == count) {
            break;
        }
        const PlanePoint a = point(node);
        const auto offer = [&](std::size_t next) {
            if (settled[next] || next == node) {
                return;
            }
            const PlanePoint b = point(next);
            if (!tangentAt(a, sides[node], b) || (next < count && !tangentAt(b, sides[next], a))) {
                return;
            }
            // A leg already known to cross the land would only be taken off the queue and
            // dropped; the legs tested, and when, are the same without it.
            if (next < count &&
                water.cornerSight.find(static_cast<std::uint32_t>(among[node]),
                                       static_cast<std::uint32_t>(among[next])) == false) {
                return;
            }
            const double via = reached[node] + distance(a, b);
            open.push({via + toEnd[next], next, rank, node, via});
        };
        // Only the boxes of corners that can lie on a line tangent at this corner are opened:
        // at a corner of a shore of a chart's detail those lie in a narrow wedge. The order
        // legs are offered in does not matter, as the queue's order is total.
        offer(count);
        const Untangent untangent(a, sides[node]);
        boxes.assign(1, 0);
        while (!tree.boxes.empty() && !boxes.empty()) {
            const CornerTree::Box& box = tree.boxes[boxes.back()];
            boxes.pop_back();
            if (untangent.holdsIn(box.low, box.high)) {
                continue;
            }
            if (box.first != 0) {
                boxes.push_back(box.first);
                boxes.push_back(box.first + 1);
                continue;
            }
            for (std::uint32_t k = box.begin; k < box.end; ++k) {
                offer(tree.order[k]);
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
    // The corners of the pockets that hold an end of the way join those that stand out; of
    // every pocket, should no way be found among those (a pocket's lid is clear only up to
    // the tolerance at the water's edge).
    const auto search = [&](bool everyPocket) {
        using Candidate = std::pair<double, std::size_t>; // detour, corner number
        std::vector<Candidate> inPockets;
        for (std::size_t k = 0; everyPocket && k < water.pocketCorners.size(); ++k) {
            const PlanePoint at = water.pocketPlaces[k];
            inPockets.push_back({distance(from, at) + distance(at, to), water.pocketCorners[k]});
        }
        for (const PlanePoint end : {from, to}) {
            DetourWalk near(water.pocketTree, water.pocketPlaces, end, end);
            std::size_t k = 0;
            double twice = 0.0;
            while (!everyPocket && near.next(k, twice) &&
                   twice <= 2.0 * (water.pocketReach + kPocketMargin)) {
                const std::array<PlanePoint, 2>& box = water.pocketBoxes[k];
                if (end.x >= box[0].x - kPocketMargin && end.x <= box[1].x + kPocketMargin &&
                    end.y >= box[0].y - kPocketMargin && end.y <= box[1].y + kPocketMargin) {
                    const PlanePoint at = water.pocketPlaces[k];
                    inPockets.push_back(
                        {distance(from, at) + distance(at, to), water.pocketCorners[k]});
                }
            }
        }
        std::sort(inPockets.begin(), inPockets.end());
        inPockets.erase(std::unique(inPockets.begin(), inPockets.end()), inPockets.end());
        DetourWalk walk(water.openTree, water.openPlaces, from, to);
        std::optional<Candidate> open;
        std::size_t pocketsTaken = 0;
        // The next corner by detour, then by number, of either kind.
        const auto nextCorner = [&]() -> std::optional<Candidate> {
            std::size_t k = 0;
            double through = 0.0;
            if (!open && walk.next(k, through)) {
                open = Candidate{through, water.openCorners[k]};
            }
            if (pocketsTaken < inPockets.size() && (!open || inPockets[pocketsTaken] < *open)) {
                return inPockets[pocketsTaken++];
            }
            return std::exchange(open, std::nullopt);
        };
        std::vector<std::size_t> order;
        std::vector<double> detour;
        Found found;
        for (std::size_t take = kFirstCorners;; take *= kCornerGrowth) {
            while (order.size() <= take) {
                const std::optional<Candidate> next = nextCorner();
                if (!next) {
                    break;
                }
                order.push_back(next->second);
                detour.push_back(next->first);
            }
            const std::size_t taken = std::min(take, order.size());
            found = searchAmong(geos, water, from, to, {order.begin(), order.begin() + taken});
            const bool allTaken = taken == order.size();
            if (allTaken || (found.found && detour[taken] >= found.length)) {
                return found;
            }
        }
    };
    Found found = search(false);
    if (!found.found && !water.pocketCorners.empty()) {
        found = search(true);
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
