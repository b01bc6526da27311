// The faces of a plane graph, walked round edge by edge.
#include "survey/plane_faces.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t kNone = SIZE_MAX;

bool samePoint(PlanePoint a, PlanePoint b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

std::optional<std::vector<PlaneRing>> insideFaces(const std::vector<FaceEdge>& edges) {
    // Half-edges 2e (from -> to) and 2e + 1 (to -> from), each leaving its node towards the
    // next vertex along; a segment of no length is no edge.
    struct Half {
        PlanePoint origin;
        double angle = 0.0; // radians, of its direction where it leaves
        bool inside = false;
        const FaceEdge* edge = nullptr;
    };
    std::vector<Half> halves;
    halves.reserve(2 * edges.size());
    for (const FaceEdge& edge : edges) {
        if (edge.through.empty() && samePoint(edge.from, edge.to)) {
            continue;
        }
        const PlanePoint second = edge.through.empty() ? edge.to : edge.through.front();
        const PlanePoint secondLast = edge.through.empty() ? edge.from : edge.through.back();
        halves.push_back({edge.from, std::atan2(second.y - edge.from.y, second.x - edge.from.x),
                          edge.insideLeft, &edge});
        halves.push_back({edge.to, std::atan2(secondLast.y - edge.to.y, secondLast.x - edge.to.x),
                          edge.insideRight, &edge});
    }
    // The half-edges by the node they leave, each node's counterclockwise by direction: one
    // sort, of the keys themselves, so that the nodes need no lookup.
    struct Key {
        PlanePoint origin;
        double angle = 0.0;
        std::size_t half = 0;
    };
    std::vector<Key> keys(halves.size());
    for (std::size_t h = 0; h < halves.size(); ++h) {
        keys[h] = {halves[h].origin, halves[h].angle, h};
    }
    std::sort(keys.begin(), keys.end(), [](const Key& p, const Key& q) {
        if (p.origin.x != q.origin.x) {
            return p.origin.x < q.origin.x;
        }
        if (p.origin.y != q.origin.y) {
            return p.origin.y < q.origin.y;
        }
        return p.angle < q.angle;
    });
    std::vector<std::size_t> around(halves.size());
    for (std::size_t at = 0; at < keys.size(); ++at) {
        around[at] = keys[at].half;
    }
    keys = {};
    std::vector<std::size_t> rank(halves.size());
    std::vector<std::size_t> first(halves.size()); // where the node of each rank begins
    std::vector<std::size_t> last(halves.size());  // and where it ends, included
    for (std::size_t at = 0; at < around.size(); ++at) {
        rank[around[at]] = at;
        const bool sameNode =
            at > 0 && samePoint(halves[around[at]].origin, halves[around[at - 1]].origin);
        if (sameNode && halves[around[at]].angle == halves[around[at - 1]].angle) {
            return std::nullopt; // two edges leave the node on top of each other
        }
        first[at] = sameNode ? first[at - 1] : at;
    }
    for (std::size_t at = around.size(); at-- > 0;) {
        last[at] = at + 1 < around.size() && first[at + 1] == first[at] ? last[at + 1] : at;
    }
    // The face to the left of a half-edge goes on, at its end, along the half-edge that
    // leaves that node next clockwise from the way back.
    const auto next = [&](std::size_t h) {
        const std::size_t at = rank[h ^ 1U];
        return around[at == first[at] ? last[at] : at - 1];
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
            ring.push_back(halves[h].origin);
            const std::vector<PlanePoint>& through = halves[h].edge->through;
            if (h % 2 == 0) {
                ring.insert(ring.end(), through.begin(), through.end());
            } else {
                ring.insert(ring.end(), through.rbegin(), through.rend());
            }
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
