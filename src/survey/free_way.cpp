// The shortest way through the water: a visibility graph over the corners that stick into
// the water, searched with A*, and GEOS to say what a straight way crosses.
#include "survey/free_way.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <queue>

namespace {

// Segments per quarter circle of the grown boundary; its chords then lie within half a
// percent of the circle, which the growth allows for.
constexpr int kQuarterSegments = 8;

// The corners where the water's edge turns right, water being on the left of every edge:
// the only places a shortest way can bend.
void addReflexCorners(const PlaneRing& ring, std::vector<PlanePoint>& corners) {
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PlanePoint& a = ring[(i + n - 1) % n];
        const PlanePoint& b = ring[i];
        const PlanePoint& c = ring[(i + 1) % n];
        const double turn = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
        if (turn < 0.0) {
            corners.push_back(b);
        }
    }
}

} // namespace

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
    water.tolerant = owned(geos, GEOSBuffer_r(geos.handle(), water.region.get(), kWayTolerance, 2),
                           "allow for rounding at the water's edge");
    water.tolerantPrepared = prepared(geos, water.tolerant.get());
    for (PlaneArea& polygon : polygonsOf(geos, water.region.get())) {
        orientRings(polygon);
        addReflexCorners(polygon.outer, water.corners);
        for (const PlaneRing& hole : polygon.holes) {
            addReflexCorners(hole, water.corners);
        }
    }
    return water;
}

bool clearWay(const Geos& geos, const FreeWater& water, PlanePoint from, PlanePoint to) {
    const GeosGeometry way =
        (from.x == to.x && from.y == to.y) ? makePoint(geos, from) : makeSegment(geos, from, to);
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
// through these corners.
Found searchAmong(const Geos& geos, FreeWater& water, PlanePoint from, PlanePoint to,
                  const std::vector<std::size_t>& among) {
    const std::size_t count = among.size();
    const auto point = [&](std::size_t node) {
        return node == count ? to : water.corners[among[node]];
    };
    const auto sees = [&](std::size_t a, std::size_t b) {
        if (a == count || b == count) {
            return clearWay(geos, water, point(a), point(b));
        }
        const std::size_t low = std::min(among[a], among[b]);
        const std::size_t high = std::max(among[a], among[b]);
        const std::uint64_t key = static_cast<std::uint64_t>(low) << 32 | high;
        auto known = water.cornerSight.find(key);
        if (known == water.cornerSight.end()) {
            known = water.cornerSight.emplace(key, clearWay(geos, water, point(a), point(b))).first;
        }
        return known->second;
    };
    constexpr double kUnreached = std::numeric_limits<double>::infinity();
    constexpr std::size_t kFromStart = std::numeric_limits<std::size_t>::max();
    std::vector<double> reached(count + 1, kUnreached);
    std::vector<std::size_t> previous(count + 1, kFromStart);
    std::vector<bool> settled(count + 1, false);
    using Entry = std::pair<double, std::size_t>; // estimate of the whole way, node
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    for (std::size_t node = 0; node < count; ++node) {
        if (clearWay(geos, water, from, point(node))) {
            reached[node] = distance(from, point(node));
            open.push({reached[node] + distance(point(node), to), node});
        }
    }
    while (!open.empty()) {
        const std::size_t node = open.top().second;
        open.pop();
        if (settled[node]) {
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
            const double via = reached[node] + distance(point(node), point(next));
            if (via < reached[next] && sees(node, next)) {
                reached[next] = via;
                previous[next] = node;
                open.push({via + distance(point(next), to), next});
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
    // of all once every corner left out would make a longer one.
    std::vector<std::size_t> order(water.corners.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<double> detour(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        detour[i] = distance(from, water.corners[i]) + distance(water.corners[i], to);
    }
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return detour[a] < detour[b]; });
    Found found;
    for (std::size_t take = std::min(kFirstCorners, order.size());; take *= 2) {
        take = std::min(take, order.size());
        found = searchAmong(geos, water, from, to, {order.begin(), order.begin() + take});
        const bool allTaken = take == order.size();
        if (allTaken || (found.found && detour[order[take]] >= found.length)) {
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
