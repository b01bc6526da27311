// Points and polygons in the flat frame of a survey.
#include "survey/plane.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double distance(PlanePoint a, PlanePoint b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

double signedArea(const PlaneRing& ring) {
    double twice = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const PlanePoint& a = ring[i];
        const PlanePoint& b = ring[(i + 1) % ring.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2.0;
}

void orientRings(PlaneArea& area) {
    if (signedArea(area.outer) < 0.0) {
        std::reverse(area.outer.begin(), area.outer.end());
    }
    for (PlaneRing& hole : area.holes) {
        if (signedArea(hole) > 0.0) {
            std::reverse(hole.begin(), hole.end());
        }
    }
}

LineAxes lineAxes(double heading) {
    const double radians = heading * std::numbers::pi / 180.0;
    return {heading, std::sin(radians), std::cos(radians)};
}

// Along is the unit vector of the heading (sin, cos) in east/north; across is it turned a
// quarter counterclockwise (-cos, sin), so the change of frame is a rotation and keeps the
// rings' orientation.
PlanePoint toLineFrame(const LineAxes& axes, PlanePoint p) {
    return {p.x * axes.sin + p.y * axes.cos, -p.x * axes.cos + p.y * axes.sin};
}

PlanePoint fromLineFrame(const LineAxes& axes, PlanePoint p) {
    return {p.x * axes.sin - p.y * axes.cos, p.x * axes.cos + p.y * axes.sin};
}

namespace {

PlaneRing ringToLineFrame(const LineAxes& axes, const PlaneRing& ring) {
    PlaneRing turned;
    turned.reserve(ring.size());
    for (const PlanePoint& p : ring) {
        turned.push_back(toLineFrame(axes, p));
    }
    return turned;
}

template <typename Coordinate> Extent extentOf(const PlaneArea& area, Coordinate coordinate) {
    if (area.outer.empty()) {
        return {};
    }
    Extent extent{coordinate(area.outer.front()), coordinate(area.outer.front())};
    for (const PlanePoint& p : area.outer) {
        extent.low = std::min(extent.low, coordinate(p));
        extent.high = std::max(extent.high, coordinate(p));
    }
    // Holes lie inside the boundary and cannot widen it.
    return extent;
}

} // namespace

PlaneArea toLineFrame(const LineAxes& axes, const PlaneArea& area) {
    PlaneArea turned;
    turned.outer = ringToLineFrame(axes, area.outer);
    for (const PlaneRing& hole : area.holes) {
        turned.holes.push_back(ringToLineFrame(axes, hole));
    }
    return turned;
}

Extent acrossExtent(const PlaneArea& area) {
    return extentOf(area, [](PlanePoint p) { return p.y; });
}

Extent alongExtent(const PlaneArea& area) {
    return extentOf(area, [](PlanePoint p) { return p.x; });
}
