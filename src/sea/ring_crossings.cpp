// Whether a ring's edges near a box meet one another, found by one sweep across them.
#include "sea/ring_crossings.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <geos_c.h>
#include <memory>
#include <set>
#include <vector>

namespace {

struct Point {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const Point&) const = default;
};

// The order of the sweep: west to east, and south to north along a meridian, so that an
// edge along a meridian is crossed from its southern end like any other from its western.
bool before(Point a, Point b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

// An edge of the ring, its ends in the sweep's order; index: the edge from vertex index to
// the next vertex.
struct Edge {
    Point first;
    Point last;
    std::size_t index = 0;
    bool forward = true; // the ring runs from first to last
};

struct GeosContextFree {
    void operator()(GEOSContextHandle_t context) const { OGRGeometry::freeGEOSContext(context); }
};

// Where the sweep meets an edge: its start or its end.
struct Event {
    Point at;
    std::uint32_t edge = 0; // among the edges near the box
    bool starts = false;
};

class Sweep {
  public:
    Sweep(GEOSContextHandle_t context, std::size_t ringEdges)
        : context_(context), ringEdges_(ringEdges) {}

    bool met() const { return met_; }

    // Whether s lies south of t where the sweep crosses both: told from the edge that the
    // sweep met first, by the side of it on which the other one starts. Edges that do not
    // meet keep that order wherever both are crossed, so the sweep's order stays sound until
    // a meeting is found, and a meeting ends the sweep.
    bool south(const Edge& s, const Edge& t) const {
        if (&s == &t) {
            return false;
        }
        if (before(t.first, s.first)) {
            return !south(t, s);
        }
        if (s.first == t.first || t.first == s.last) {
            // They leave one vertex (or the one ends where the other starts): the side of s
            // on which t ends; along one line, the ring's order.
            const int side = orientation(s.first, s.last, t.last);
            if (side == 0) {
                met_ = met_ || s.first == t.first; // along each other from one vertex
                return s.index < t.index;
            }
            return side > 0;
        }
        const int side = orientation(s.first, s.last, t.first);
        if (side == 0) {
            met_ = true; // t starts on s
            return s.index < t.index;
        }
        return side > 0;
    }

    // Whether the two edges share a place other than the vertex one hands to the next.
    bool meet(const Edge& s, const Edge& t) const {
        if (adjacent(s, t)) {
            // They share a vertex; they share more only by folding back along each other.
            const Point shared = s.first == t.first || s.first == t.last ? s.first : s.last;
            const Point u = shared == s.first ? s.last : s.first;
            const Point v = shared == t.first ? t.last : t.first;
            return orientation(shared, u, v) == 0 &&
                   (u.x - shared.x) * (v.x - shared.x) + (u.y - shared.y) * (v.y - shared.y) > 0;
        }
        const int a = orientation(s.first, s.last, t.first);
        const int b = orientation(s.first, s.last, t.last);
        const int c = orientation(t.first, t.last, s.first);
        const int d = orientation(t.first, t.last, s.last);
        if (a * b > 0 || c * d > 0) {
            return false;
        }
        if (a == 0 && b == 0) {
            // Along one line: they meet where their spans along it overlap.
            return !before(s.last, t.first) && !before(t.last, s.first);
        }
        return true;
    }

    bool adjacent(const Edge& s, const Edge& t) const {
        const std::size_t apart = s.index > t.index ? s.index - t.index : t.index - s.index;
        return apart == 1 || apart + 1 == ringEdges_;
    }

  private:
    // 1 when p lies left of the line from a to b, -1 right of it, 0 on it; GEOS decides in
    // arithmetic of twice a double's precision, so that near-collinear places never get
    // contradictory answers.
    int orientation(Point a, Point b, Point p) const {
        const int side = GEOSOrientationIndex_r(context_, a.x, a.y, b.x, b.y, p.x, p.y);
        if (side < -1 || side > 1) {
            met_ = true; // GEOS could not tell: no claim that the ring is simple
            return 0;
        }
        return side;
    }

    GEOSContextHandle_t context_;
    std::size_t ringEdges_;
    mutable bool met_ = false;
};

bool reachesInto(const Edge& edge, const GeoBox& box) {
    return std::max(edge.first.x, edge.last.x) >= box.west &&
           std::min(edge.first.x, edge.last.x) <= box.east &&
           std::max(edge.first.y, edge.last.y) >= box.south &&
           std::min(edge.first.y, edge.last.y) <= box.north;
}

} // namespace

bool ringMeetsItselfNearBox(const OGRLinearRing& ring, const GeoBox& box) {
    // The ring's vertices, each once: repeated vertices are no fault of a ring.
    std::vector<Point> vertices;
    for (int i = 0; i < ring.getNumPoints(); ++i) {
        const Point point{ring.getX(i), ring.getY(i)};
        if (vertices.empty() || !(point == vertices.back())) {
            vertices.push_back(point);
        }
    }
    while (vertices.size() > 1 && vertices.back() == vertices.front()) {
        vertices.pop_back();
    }
    if (vertices.size() < 3) {
        return true;
    }
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Point a = vertices[i];
        const Point b = vertices[(i + 1) % vertices.size()];
        const bool forward = before(a, b);
        const Edge edge{forward ? a : b, forward ? b : a, i, forward};
        if (reachesInto(edge, box)) {
            edges.push_back(edge);
        }
    }

    const std::unique_ptr<GEOSContextHandle_HS, GeosContextFree> context(
        OGRGeometry::createGEOSContext());
    Sweep sweep(context.get(), vertices.size());
    // At one place, edges start before others end there, so that edges meeting at a place
    // are in the order together and compared.
    const auto earlier = [](const Event& p, const Event& q) {
        if (!(p.at == q.at)) {
            return before(p.at, q.at);
        }
        return p.starts && !q.starts;
    };
    // Along a stretch of the ring that runs one way in the sweep's order, the events come in
    // order already: the stretches are merged pairwise, where sorting every event would
    // compare each a score of times on a shore of a million vertices.
    std::vector<Event> events;
    events.reserve(2 * edges.size());
    std::vector<std::size_t> runs{0};
    for (std::size_t k = 0; k < edges.size();) {
        std::size_t end = k + 1;
        while (end < edges.size() && edges[end].index == edges[end - 1].index + 1 &&
               edges[end].forward == edges[k].forward) {
            ++end;
        }
        const auto starts = [&](std::size_t e) {
            events.push_back(Event{edges[e].first, static_cast<std::uint32_t>(e), true});
        };
        const auto ends = [&](std::size_t e) {
            events.push_back(Event{edges[e].last, static_cast<std::uint32_t>(e), false});
        };
        if (edges[k].forward) {
            for (std::size_t e = k; e < end; ++e) {
                starts(e);
                if (e > k) {
                    ends(e - 1);
                }
            }
            ends(end - 1);
        } else {
            for (std::size_t e = end; e-- > k;) {
                starts(e);
                if (e + 1 < end) {
                    ends(e + 1);
                }
            }
            ends(k);
        }
        runs.push_back(events.size());
        k = end;
    }
    std::vector<Event> merged(events.size());
    while (runs.size() > 2) {
        std::vector<std::size_t> joined{0};
        for (std::size_t r = 0; r + 1 < runs.size(); r += 2) {
            const std::size_t last = r + 2 < runs.size() ? runs[r + 2] : runs[r + 1];
            const auto from = events.begin();
            std::merge(from + static_cast<std::ptrdiff_t>(runs[r]),
                       from + static_cast<std::ptrdiff_t>(runs[r + 1]),
                       from + static_cast<std::ptrdiff_t>(runs[r + 1]),
                       from + static_cast<std::ptrdiff_t>(last),
                       merged.begin() + static_cast<std::ptrdiff_t>(runs[r]), earlier);
            joined.push_back(last);
        }
        events.swap(merged);
        runs = std::move(joined);
    }
    // A vertex the ring comes back to: edges at one place that do not follow each other.
    for (std::size_t k = 0, next = 0; k < events.size(); k = next) {
        next = k + 1;
        while (next < events.size() && events[next].at == events[k].at) {
            ++next;
        }
        for (std::size_t p = k; p < next; ++p) {
            for (std::size_t q = p + 1; q < next; ++q) {
                if (!sweep.adjacent(edges[events[p].edge], edges[events[q].edge])) {
                    return true;
                }
            }
        }
    }
    const auto southOf = [&sweep](const Edge* s, const Edge* t) { return sweep.south(*s, *t); };
    std::set<const Edge*, decltype(southOf)> crossed(southOf);
    std::vector<std::set<const Edge*, decltype(southOf)>::iterator> where(edges.size());
    for (const Event& event : events) {
        const std::size_t k = event.edge;
        const Edge* edge = &edges[k];
        if (event.starts) {
            const auto [at, inserted] = crossed.insert(edge);
            if (!inserted || sweep.met()) {
                return true;
            }
            where[k] = at;
            if (at != crossed.begin() && sweep.meet(**std::prev(at), *edge)) {
                return true;
            }
            if (std::next(at) != crossed.end() && sweep.meet(*edge, **std::next(at))) {
                return true;
            }
        } else {
            const auto at = where[k];
            if (at != crossed.begin() && std::next(at) != crossed.end() &&
                sweep.meet(**std::prev(at), **std::next(at))) {
                return true;
            }
            crossed.erase(at);
        }
        if (sweep.met()) {
            return true;
        }
    }
    return false;
}
