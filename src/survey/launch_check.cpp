// The launch leg of a survey against the holes of its area, in the area's flat frame.
#include "survey/launch_check.h"

#include "output/number_format.h"
#include "route/geodesy.h"
#include "survey/area_check.h"
#include "survey/geos_context.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace {

// The leg is followed on the sphere in steps of at most this, and at most this many: a
// straight line in the frame strays from the great circle by far less than a step.
constexpr double kStep = 10.0; // meters
constexpr std::size_t kMostSteps = 10'000;
// The first waypoint may lie on a hole's shore, as the line's end was written to the survey
// file's decimals: a hole shrunk by this is what the leg must not enter.
constexpr double kShoreTolerance = 0.01; // meters

struct HoleEntry {
    std::size_t hole = 0; // counted from 1, in the order of the area's holes
    double alongLeg = 0.0;
    GeoPoint position;
};

std::vector<GeoPoint> legPoints(GeoPoint from, GeoPoint to, double length) {
    const double heading = initialBearing(from.lat, from.lon, to.lat, to.lon);
    const auto steps = static_cast<std::size_t>(
        std::clamp(std::ceil(length / kStep), 1.0, static_cast<double>(kMostSteps)));
    std::vector<GeoPoint> points{from};
    for (std::size_t i = 1; i < steps; ++i) {
        points.push_back(
            destinationPoint(from.lat, from.lon, heading, length * static_cast<double>(i) / steps));
    }
    points.push_back(to);
    return points;
}

std::string metersText(double meters) {
    std::string text;
    appendFixed(text, meters, 1);
    return text + " m";
}

// The first place along the leg inside a hole, or none.
std::optional<HoleEntry> firstEntry(const Geos& geos, const FramedArea& framed,
                                    const std::vector<GeoPoint>& leg) {
    std::vector<PlanePoint> plane;
    if (!toPlane(framed.frame, leg, plane)) {
        return std::nullopt;
    }
    const bool length = leg.front().lat != leg.back().lat || leg.front().lon != leg.back().lon;
    std::vector<PlaneSegment> segments;
    for (std::size_t i = 0; length && i + 1 < plane.size(); ++i) {
        segments.push_back({plane[i], plane[i + 1]});
    }
    const GeosGeometry start = makePoint(geos, plane.front());
    GeosGeometry path{nullptr, GeosGeometryDeleter{geos.handle()}};
    if (!segments.empty()) {
        path = makeSegments(geos, segments);
    }
    std::optional<HoleEntry> first;
    for (std::size_t h = 0; h < framed.plane.holes.size(); ++h) {
        const GeosGeometry hole = makePolygon(geos, framed.plane.holes[h]);
        const GeosGeometry water =
            owned(geos, GEOSBuffer_r(geos.handle(), hole.get(), -kShoreTolerance, 2),
                  "shrink a hole by its shore's tolerance");
        if (answer(geos, GEOSContains_r(geos.handle(), water.get(), start.get()),
                   "place the launch waypoint")) {
            return HoleEntry{h + 1, 0.0, leg.front()};
        }
        if (!path) {
            continue;
        }
        const GeosGeometry inside =
            owned(geos, GEOSIntersection_r(geos.handle(), water.get(), path.get()),
                  "meet the launch leg with a hole");
        for (const std::vector<PlanePoint>& piece : linesOf(geos, inside.get())) {
            for (const PlanePoint end : {piece.front(), piece.back()}) {
                const GeoPoint at = toGeo(framed.frame, end);
                const double along =
                    greatCircleDistance(leg.front().lat, leg.front().lon, at.lat, at.lon);
                if (!first || along < first->alongLeg) {
                    first = HoleEntry{h + 1, along, at};
                }
            }
        }
    }
    return first;
}

} // namespace

std::vector<PlanFinding> checkLaunchLeg(const GeoArea& area, GeoPoint launch, GeoPoint first) {
    if (area.holes.empty()) {
        return {};
    }
    try {
        const Geos geos = makeGeos();
        const FramedAreaResult framed = frameAcceptedArea(geos, area);
        if (!framed.ok) {
            return {}; // the survey refused it before any launch waypoint was placed
        }
        const double length = greatCircleDistance(launch.lat, launch.lon, first.lat, first.lon);
        if (!std::isfinite(length)) {
            return {}; // a point off the globe, which the route check reports
        }
        const std::optional<HoleEntry> entry =
            firstEntry(geos, framed.area, legPoints(launch, first, length));
        if (!entry) {
            return {};
        }
        const std::string hole = "hole " + std::to_string(entry->hole) + " of the survey area";
        if (entry->alongLeg == 0.0) {
            return {PlanFinding(FindingSeverity::error, "the launch waypoint (0) at " +
                                                            positionText(launch) + " is inside " +
                                                            hole)};
        }
        return {PlanFinding(FindingSeverity::error,
                            "the launch leg, from waypoint 0 to waypoint 1, enters " + hole +
                                " at " + metersText(entry->alongLeg) + " along it (" +
                                positionText(entry->position) + ")")};
    } catch (const GeometryFailure& failure) {
        return {PlanFinding(FindingSeverity::warning,
                            std::string("the launch leg could not be checked against the holes "
                                        "of the survey area: ") +
                                failure.what())};
    }
}
