// Routes and waypoint texts of a chosen size for the benchmarks, and a sink that only counts.
#include "bench_routes.h"

#include "route/geodesy.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <numbers>
#include <random>

namespace {

constexpr double kMetersPerDegreeLat = 111195.0;
constexpr double kDegToRad = 0.017453292519943295;

// Steps of 200 to 500 m in any direction from Monterey Bay; the walk stays far from the
// poles, where a step in longitude would grow without bound.
template <typename Visit> void walk(std::int64_t count, Visit visit) {
    std::mt19937_64 random(20200708);
    std::uniform_real_distribution<double> direction(0.0, 2.0 * std::numbers::pi);
    std::uniform_real_distribution<double> step(200.0, 500.0);
    double lat = 36.8;
    double lon = -121.9;
    for (std::int64_t i = 0; i < count; ++i) {
        visit(lat, lon);
        const double angle = direction(random);
        const double meters = step(random);
        lat += meters * std::cos(angle) / kMetersPerDegreeLat;
        lon += meters * std::sin(angle) / (kMetersPerDegreeLat * std::cos(lat * kDegToRad));
        if (std::fabs(lat) > 60.0) {
            lat = 36.8;
        }
    }
}

} // namespace

std::string randomWalkText(std::int64_t count) {
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 24);
    walk(count, [&](double lat, double lon) {
        char line[64];
        const int length = std::snprintf(line, sizeof line, "%.6f %.6f\n", lat, lon);
        text.append(line, static_cast<std::size_t>(length));
    });
    return text;
}

void fillRandomWalk(WaypointList& list, std::int64_t count) {
    walk(count, [&](double lat, double lon) { appendNode(list, lat, lon); });
}

void fillLongLeg(WaypointList& list, std::int64_t routePoints, MissionParameters& params) {
    // Along a meridian: 1000 km north of the equator.
    appendNode(list, 0.0, 10.0);
    appendNode(list, 8.99322, 10.0);
    const double distance = greatCircleDistance(0.0, 10.0, 8.99322, 10.0);
    // The launch waypoint and the last waypoint come on top of the pieces' start points.
    const auto pieces = static_cast<double>(routePoints > 3 ? routePoints - 2 : 1);
    params.maxLegMeters = distance / pieces * (1.0 + 1e-9);
}

const PlannedRoute& plannedRandomWalk(std::int64_t routePoints) {
    static std::map<std::int64_t, std::unique_ptr<PlannedRoute>> planned;
    std::unique_ptr<PlannedRoute>& route = planned[routePoints];
    if (!route) {
        route = std::make_unique<PlannedRoute>();
        // The launch waypoint is the one point the file does not give.
        fillRandomWalk(route->list, routePoints - 1);
        planRoute(route->list, route->params, route->totals);
    }
    return *route;
}
