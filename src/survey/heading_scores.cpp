// The climb across the lines and the width across them, for every candidate heading at once.
#include "survey/heading_scores.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct Edge {
    double heading = 0.0; // radians in [0, pi)
    double east = 0.0;    // meters, the edge turned to point eastwards
    double north = 0.0;
};

void addEdges(const PlaneRing& ring, std::vector<Edge>& edges) {
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const PlanePoint& a = ring[i];
        const PlanePoint& b = ring[(i + 1) % ring.size()];
        double east = b.x - a.x;
        double north = b.y - a.y;
        // Turned to point eastwards, so that its heading lies in [0, pi).
        if (east < 0.0 || (east == 0.0 && north < 0.0)) {
            east = -east;
            north = -north;
        }
        if (east != 0.0 || north != 0.0) {
            edges.push_back({std::atan2(east, north), east, north});
        }
    }
}

} // namespace

AcrossClimb::AcrossClimb(const PlaneArea& area) {
    std::vector<Edge> edges;
    addEdges(area.outer, edges);
    for (const PlaneRing& hole : area.holes) {
        addEdges(hole, edges);
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.heading < b.heading; });
    east_.push_back(0.0);
    north_.push_back(0.0);
    for (const Edge& edge : edges) {
        headings_.push_back(edge.heading);
        east_.push_back(east_.back() + edge.east);
        north_.push_back(north_.back() + edge.north);
    }
}

// An edge of heading e climbs |length sin(h - e)| across lines of heading h; the sine is not
// negative for the edges up to h and not positive beyond, so the sum splits in two.
double AcrossClimb::at(double heading) const {
    const double h = heading * std::numbers::pi / 180.0;
    const auto upTo = static_cast<std::size_t>(
        std::upper_bound(headings_.begin(), headings_.end(), h) - headings_.begin());
    const double north = north_[upTo] - (north_.back() - north_[upTo]);
    const double east = east_[upTo] - (east_.back() - east_[upTo]);
    return std::sin(h) * north - std::cos(h) * east;
}

std::vector<double> leastClimbing(const AcrossClimb& climb,
                                  const std::vector<double>& sortedHeadings, double spanDegrees,
                                  std::size_t most) {
    struct Best {
        double heading = 0.0;
        double climb = 0.0;
    };
    std::vector<Best> best; // one per span that holds a heading, in heading order
    double span = -1.0;
    for (const double heading : sortedHeadings) {
        const double meters = climb.at(heading);
        const double of = std::floor(heading / spanDegrees);
        if (best.empty() || of != span) {
            best.push_back({heading, meters});
            span = of;
        } else if (meters < best.back().climb) {
            best.back() = {heading, meters};
        }
    }
    std::stable_sort(best.begin(), best.end(),
                     [](const Best& a, const Best& b) { return a.climb < b.climb; });
    best.resize(std::min(best.size(), most));
    std::vector<double> kept;
    for (const Best& b : best) {
        kept.push_back(b.heading);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

std::vector<double> widthsAcross(const Geos& geos, const PlaneArea& area,
                                 const std::vector<double>& sortedHeadings) {
    const GeosGeometry boundary = makePolygon(geos, area.outer);
    const GeosGeometry hull = owned(geos, GEOSConvexHull_r(geos.handle(), boundary.get()),
                                    "find the convex hull of the area");
    std::vector<PlanePoint> corners;
    for (const PlaneArea& polygon : polygonsOf(geos, hull.get())) {
        corners = polygon.outer;
    }
    if (corners.empty()) {
        corners = area.outer; // a hull of no area: the boundary's vertices on one line
    }
    std::vector<double> widths;
    const std::size_t n = corners.size();
    std::size_t high = 0;
    std::size_t low = 0;
    for (const double heading : sortedHeadings) {
        const LineAxes axes = lineAxes(heading);
        const auto across = [&](std::size_t i) { return toLineFrame(axes, corners[i % n]).y; };
        // Across the lines is a single rise and fall round a convex ring: climb to the top
        // and to the bottom from where they were for the heading before.
        const auto climb = [&](std::size_t& at, double sign) {
            for (std::size_t steps = 0; steps < n; ++steps) {
                if (sign * across(at + 1) > sign * across(at)) {
                    at = (at + 1) % n;
                } else if (sign * across(at + n - 1) > sign * across(at)) {
                    at = (at + n - 1) % n;
                } else {
                    break;
                }
            }
        };
        climb(high, 1.0);
        climb(low, -1.0);
        widths.push_back(across(high) - across(low));
    }
    return widths;
}
