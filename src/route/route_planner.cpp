// Route planning: measured, split, numbered and timed legs behind a launch waypoint.
#include "route/route_planner.h"

#include "route/ellipsoid.h"
#include "route/geodesy.h"

#include <bit>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// The launch leg alone is budgeted more than the one second per meter of a survey leg.
constexpr long double kLaunchSecondsPerMeter = 1.3L;

// A geodesic's azimuth, -180..180, as the planner writes courses: (0, 360], north 360.
double courseDegrees(double azimuth) {
    return azimuth <= 0.0 ? azimuth + 360.0 : azimuth;
}

} // namespace

PlanResult planRoute(WaypointList& list, const MissionParameters& params, RouteTotals& totals,
                     LegGeometry geometry) {
    PlanResult result;
    // Zero or less would cut a leg without end, and NaN would compare false everywhere.
    if (!(params.maxLegMeters > 0.0)) {
        result.status = PlanStatus::invalidMaxLeg;
        return result;
    }

    const bool geodesic = geometry == LegGeometry::geodesic;
    if (geodesic) {
        measureGeodesicLegs(list);
    } else {
        measureLegs(list);
    }
    // A mistyped maxLegMeters (a few millimeters, say) asks for more points than memory
    // holds; it is caught while the list still has only the waypoints of the file.
    const std::uint64_t points = countRoutePoints(list, params.maxLegMeters);
    if (points > kMaxRoutePoints) {
        result.status = PlanStatus::tooManyPoints;
        result.routePoints = points;
        return result;
    }

    splitLongLegs(list, params.maxLegMeters);
    if (geodesic) {
        fillGeodesicSplitPositions(list);
    } else {
        fillSplitPositions(list);
    }
    numberWaypoints(list);
    computeLegTimes(list);
    if (geodesic) {
        addGeodesicLaunchWaypoint(list, params.launchDistance);
    } else {
        addLaunchWaypoint(list, params.launchDistance);
    }
    totals = sumRoute(list);
    result.routePoints = list.size();
    return result;
}

void measureLegs(WaypointList& list) {
    if (list.head == nullptr) {
        return;
    }
    // Every waypoint but the ends closes one leg and opens the next, so its latitude terms
    // are worked out once for both.
    LegEnd from = legEnd(list.head->lat, list.head->lon);
    for (WaypointNode* node = list.head; node->next != nullptr; node = node->next) {
        const LegEnd to = legEnd(node->next->lat, node->next->lon);
        node->legDistance = greatCircleDistance(from, to);
        node->legHeading = initialBearing(from, to);
        from = to;
    }
}

void measureGeodesicLegs(WaypointList& list) {
    for (WaypointNode* node = list.head; node != nullptr && node->next != nullptr;
         node = node->next) {
        const Geodesic leg =
            geodesicBetween(node->lat, node->lon, node->next->lat, node->next->lon);
        node->legDistance = leg.meters;
        node->legHeading = courseDegrees(leg.azimuth);
    }
}

void splitLongLegs(WaypointList& list, double maxLegMeters) {
    if (!(maxLegMeters > 0.0)) {
        return;
    }
    // One forward pass gives the same chains as restarting from the head after every cut:
    // a cut changes only the node cut and the new node right after it, so every node
    // already passed stays within the limit.
    for (WaypointNode* node = list.head; node != nullptr; node = node->next) {
        while (node->legDistance > maxLegMeters) {
            const double remainder = node->legDistance - maxLegMeters;
            WaypointNode* piece = insertAfter(list, node, remainder);
            if (piece == nullptr) {
                break; // a tail with a leg: nothing follows it to split towards
            }
            node->legDistance = maxLegMeters;
            node = piece;
        }
    }
}

void fillSplitPositions(WaypointList& list) {
    // Each split point is dead-reckoned from the one before it, so a chain is placed in
    // order along one forward walk. Waypoints of the file keep the position read, the
    // equator and the first waypoint included. All pieces of a chain but the last share
    // the leg's heading and length, so their course is worked out once per chain.
    bool haveCourse = false;
    // Compared as bit patterns: -0 equals 0 as a value but has a sine of another sign.
    std::uint64_t courseHeading = 0;
    std::uint64_t courseDistance = 0;
    Course course{};
    for (WaypointNode* node = list.head; node != nullptr; node = node->next) {
        if (node->kind != WaypointKind::splitPoint || node->prev == nullptr) {
            continue;
        }
        const WaypointNode* from = node->prev;
        const auto heading = std::bit_cast<std::uint64_t>(from->legHeading);
        const auto distance = std::bit_cast<std::uint64_t>(from->legDistance);
        if (!haveCourse || heading != courseHeading || distance != courseDistance) {
            course = courseFor(from->legHeading, from->legDistance);
            courseHeading = heading;
            courseDistance = distance;
            haveCourse = true;
        }
        const GeoPoint at = destinationPoint(from->lat, from->lon, course);
        node->lat = at.lat;
        // Past 180 degrees the vehicle reads the longitude from the other side.
        node->lon = normalLongitude(at.lon);
    }
}

void fillGeodesicSplitPositions(WaypointList& list) {
    // A chain runs from a waypoint of the file to the next one; its split points lie on the
    // geodesic between the two, each at the sum of the pieces before it, and each piece
    // leaves on the geodesic's course where it starts.
    std::vector<double> along;
    for (WaypointNode* from = list.head; from != nullptr && from->next != nullptr;) {
        WaypointNode* to = from->next;
        along.clear();
        double sum = 0.0;
        for (const WaypointNode* piece = from; to->kind == WaypointKind::splitPoint;
             piece = to, to = to->next) {
            sum += piece->legDistance;
            along.push_back(sum);
            if (to->next == nullptr) {
                break;
            }
        }
        if (along.empty()) {
            from = to;
            continue;
        }
        const std::vector<GeoPoint> points =
            alongGeodesic(from->lat, from->lon, to->lat, to->lon, along);
        WaypointNode* node = from->next;
        for (const GeoPoint& at : points) {
            node->lat = at.lat;
            node->lon = normalLongitude(at.lon);
            node = node->next;
        }
        for (WaypointNode* piece = from; piece != to; piece = piece->next) {
            piece->legHeading = courseDegrees(
                geodesicBetween(piece->lat, piece->lon, piece->next->lat, piece->next->lon)
                    .azimuth);
        }
        from = to;
    }
}

void numberWaypoints(WaypointList& list) {
    // Counted wider than the field so that no count can overflow; the planner never gets
    // near 2^31 nodes (kMaxRoutePoints).
    std::int64_t number = 0;
    for (WaypointNode* node = list.head; node != nullptr; node = node->next) {
        ++number;
        node->wptNumber = static_cast<std::int32_t>(number);
    }
}

void computeLegTimes(WaypointList& list) {
    for (WaypointNode* node = list.head; node != nullptr && node->next != nullptr;
         node = node->next) {
        node->legTime = legTimeFor(node->legDistance);
    }
}

void addLaunchWaypoint(WaypointList& list, std::int32_t launchDistance) {
    WaypointNode* first = list.head;
    if (first == nullptr) {
        return;
    }
    const double heading = first->legHeading;
    // A single waypoint has no measured leg, so its 0.0 heading puts the launch point due
    // south. A heading of 180 maps to 0, which points the same way as 360.
    double reciprocal = 0.0;
    if (heading > 180.0) {
        reciprocal = heading - 180.0;
    } else if (heading == 180.0) {
        reciprocal = 0.0;
    } else {
        reciprocal = heading + 180.0;
    }
    const double distance = static_cast<double>(launchDistance);
    const GeoPoint at = destinationPoint(first->lat, first->lon, reciprocal, distance);

    WaypointNode* launch = prependNode(list, at.lat, normalLongitude(at.lon));
    launch->kind = WaypointKind::launch;
    launch->wptNumber = 0;
    launch->legDistance = distance;
    launch->legHeading = heading; // the course run from the launch point towards waypoint 1
    launch->legTime =
        static_cast<double>(static_cast<long double>(launchDistance) * kLaunchSecondsPerMeter);
}

void addGeodesicLaunchWaypoint(WaypointList& list, std::int32_t launchDistance) {
    WaypointNode* first = list.head;
    if (first == nullptr) {
        return;
    }
    // Back from waypoint 1 along the geodesic it is run on; a single waypoint has no course,
    // and its launch point lies due south as on the sphere.
    const double heading = first->legHeading;
    const double distance = static_cast<double>(launchDistance);
    const GeoPoint at = geodesicDestination(first->lat, first->lon, heading + 180.0, distance);
    WaypointNode* launch = prependNode(list, at.lat, normalLongitude(at.lon));
    launch->kind = WaypointKind::launch;
    launch->wptNumber = 0;
    launch->legDistance = distance;
    launch->legHeading =
        courseDegrees(geodesicBetween(at.lat, at.lon, first->lat, first->lon).azimuth);
    launch->legTime =
        static_cast<double>(static_cast<long double>(launchDistance) * kLaunchSecondsPerMeter);
}

RouteTotals sumRoute(const WaypointList& list) {
    // Long double keeps a route of millions of legs from drifting in the last printed digit.
    long double distance = 0.0L;
    long double time = 0.0L;
    for (const WaypointNode* node = list.head; node != nullptr; node = node->next) {
        distance += node->legDistance;
        time += node->legTime;
    }
    RouteTotals totals;
    totals.surveyLineDistance = static_cast<double>(distance);
    totals.expectedMissionTime = static_cast<double>(time);
    return totals;
}

std::uint64_t countRoutePoints(const WaypointList& list, double maxLegMeters) {
    if (list.empty()) {
        return 0;
    }
    constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();
    if (!(maxLegMeters > 0.0)) {
        return kSaturated; // every cut would leave a piece still over the limit
    }
    // Sums in long double: a count near 2^64 or beyond is only ever compared against the
    // limit, so its last digits do not matter, and nothing here can overflow an integer.
    long double points = 1.0L; // the launch waypoint
    for (const WaypointNode* node = list.head; node != nullptr; node = node->next) {
        points += 1.0L;
        if (node->next != nullptr && node->legDistance > maxLegMeters) {
            // Cutting pieces of maxLegMeters off d leaves about ceil(d / max) pieces, and
            // at least two once d is over the limit at all.
            const long double pieces = std::ceil(static_cast<long double>(node->legDistance) /
                                                 static_cast<long double>(maxLegMeters));
            points += pieces > 2.0L ? pieces - 1.0L : 1.0L;
        }
        if (!(points < 18446744073709551616.0L)) { // 2^64
            return kSaturated;
        }
    }
    return static_cast<std::uint64_t>(points);
}
