// The faces of a plane graph, walked round edge by edge.
#include "survey/plane_faces.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t kNone = SIZE_MAX;

bool lessPoint(PlanePoint a, PlanePoint b) {
    return a.x != b.x ? a.x < b.x : a.y < b.y;
}

bool samePoint(PlanePoint a, PlanePoint b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

std::optional<std::vector<PlaneRing>> insideFaces(const std::vector<FaceEdge>& edges) {
    // The nodes: every end, each place once.
    std::vector<PlanePoint> nodes;
    nodes.reserve(2 * edges.size());
    for (const FaceEdge& edge : edges) {
        nodes.push_back(edge.from);
        nodes.push_back(edge.to);
    }
    std::sort(nodes.begin(), nodes.end(), lessPoint);
    nodes.erase(std::unique(nodes.begin(), nodes.end(), samePoint), nodes.end());
    const auto nodeOf = [&](PlanePoint p) {
        return static_cast<std::size_t>(std::lower_bound(nodes.begin(), nodes.end(), p, lessPoint) -
                                        nodes.begin());
    };
    // Half-edges 2e (from -> to) and 2e + 1 (to -> from); a segment of no length is no edge.
    struct Half {
        std::size_t origin = 0;
        double angle = 0.0; // radians, of its direction
        bool inside = false;
    };
    std::vector<Half> halves;
    halves.reserve(2 * edges.size());
    for (const FaceEdge& edge : edges) {
        if (samePoint(edge.from, edge.to)) {
            continue;
        }
        const double dx = edge.to.x - edge.from.x;
        const double dy = edge.to.y - edge.from.y;
        halves.push_back({nodeOf(edge.from), std::atan2(dy, dx), edge.insideLeft});
        halves.push_back({nodeOf(edge.to), std::atan2(-dy, -dx), edge.insideRight});
    }
    // The half-edges leaving each node, counterclockwise by direction.
    std::vector<std::size_t> first(nodes.size() + 1, 0);
    for (const Half& half : halves) {
        ++first[half.origin + 1];
    }
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        first[n + 1] += first[n];
    }
    std::vector<std::size_t> around(halves.size());
    {
        std::vector<std::size_t> filled(first.begin(), first.end() - 1);
        for (std::size_t h = 0; h < halves.size(); ++h) {
            around[filled[halves[h].origin]++] = h;
        }
    }
    std::vector<std::size_t> rank(halves.size());
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        const auto begin = around.begin() + static_cast<std::ptrdiff_t>(first[n]);
        const auto end = around.begin() + static_cast<std::ptrdiff_t>(first[n + 1]);
        std::sort(begin, end,
                  [&](std::size_t a, std::size_t b) { return halves[a].angle < halves[b].angle; });
        for (auto it = begin; it != end; ++it) {
            if (it != begin && halves[*it].angle == halves[*(it - 1)].angle) {
                return std::nullopt; // two edges leave the node on top of each other
            }
            rank[*it] = static_cast<std::size_t>(it - around.begin());
        }
    }
    // The face to the left of a half-edge goes on, at its end, along the half-edge that
    // leaves that node next clockwise from the way back.
    const auto next = [&](std::size_t h) {
        const std::size_t back = h ^ 1U;
        const std::size_t n = halves[back].origin;
        const std::size_t at = rank[back];
        return around[at == first[n] ? first[n + 1] - 1 : at - 1];
    };
    std::vector<std::size_t> faceOf(halves.size(), kNone);
    std::vector<PlaneRing> faces;
    for (std::size_t start = 0; start < halves.size(); ++start) {
        if (!halves[start].inside || faceOf[start] != kNone) {
            continue;
        }
        PlaneRing ring;
        std::size_t h = start;
        do {
            if (!halves[h].inside || faceOf[h] != kNone) {
                return std::nullopt; // a face inside met from outside, or a walk gone astray
            }
            faceOf[h] = faces.size();
            ring.push_back(nodes[halves[h].origin]);
            h = next(h);
        } while (h != start);
        if (!(signedArea(ring) > 0.0)) {
            return std::nullopt; // the inner boundary of a face with a hole
        }
        faces.push_back(std::move(ring));
    }
    for (std::size_t h = 0; h < halves.size(); h += 2) {
        if (halves[h].inside && faceOf[h] == faceOf[h + 1]) {
            return std::nullopt; // an edge that bounds no face, only enters one
        }
    }
    return faces;
}
