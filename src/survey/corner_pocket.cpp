// The pocket of a corner among the vertices near it on its ring.
#include "survey/corner_pocket.h"

#include <algorithm>
#include <cmath>

std::optional<CornerPocket> cornerPocket(const PlaneRing& ring,
                                         const std::vector<std::size_t>& vertices, std::size_t at,
                                         std::size_t reach, double depth) {
    const std::size_t n = vertices.size();
    // The lid's ends and the vertex must be distinct, and the ring between the ends the short
    // way round.
    if (reach < 2 || n <= 2 * reach + 1) {
        return std::nullopt;
    }
    const PlanePoint v = ring[vertices[at]];
    std::optional<CornerPocket> deepest;
    double most = depth * depth; // square meters, of the depth behind the deepest lid so far
    for (std::size_t back = 2; back <= reach; ++back) {
        const std::size_t start = vertices[(at + n - back) % n];
        const PlanePoint p = ring[start];
        for (std::size_t ahead = 2; ahead <= reach; ++ahead) {
            const std::size_t end = vertices[(at + ahead) % n];
            const PlanePoint q = ring[end];
            const double dx = q.x - p.x;
            const double dy = q.y - p.y;
            // Twice the area of p, q, v: negative with the vertex to the right of the lid, on
            // the land's side; over the lid's length, how far behind it.
            const double cross = dx * (v.y - p.y) - dy * (v.x - p.x);
            const double squared = dx * dx + dy * dy;
            if (cross < 0.0 && cross * cross > most * squared) {
                most = cross * cross / squared;
                deepest = CornerPocket{start, end, v, v};
            }
        }
    }
    if (deepest) {
        const std::size_t size = ring.size();
        for (std::size_t i = deepest->lidStart; i != (deepest->lidEnd + 1) % size;
             i = (i + 1) % size) {
            deepest->low = {std::min(deepest->low.x, ring[i].x),
                            std::min(deepest->low.y, ring[i].y)};
            deepest->high = {std::max(deepest->high.x, ring[i].x),
                             std::max(deepest->high.y, ring[i].y)};
        }
    }
    return deepest;
}
