// Routes laid out by hand for the writer tests, so that they rely on the list's records only.
#pragma once

#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

struct FixtureNode {
    int number;
    double lat, lon, legDistance, legHeading, legTime;
};

inline void fillRoute(WaypointList& route, std::initializer_list<FixtureNode> nodes) {
    for (const FixtureNode& values : nodes) {
        WaypointNode& node = route.storage.emplace_back();
        node = {route.tail,        values.lat,     values.lon,    values.legDistance,
                values.legHeading, values.legTime, values.number, nullptr};
        (route.tail == nullptr ? route.head : route.tail->next) = &node;
        route.tail = &node;
    }
}

// The leg from 36.8167,-121.8171 to 36.8215,-121.7986 on the sphere of radius 6371 km,
// worked out apart from the program (chord form of the distance, heading with pi 3.14159);
// the launch waypoint lies 500 m back on the reciprocal heading.
constexpr double kLegOneDistance = 1731.1133172116536;
constexpr double kLegOneHeading = 72.0365515156257;

inline void fillTwoPointRoute(WaypointList& route) {
    fillRoute(route, {{0, 36.81531308065744, -121.82244295225705, 500.0, kLegOneHeading, 650.0},
                      {1, 36.8167, -121.8171, kLegOneDistance, kLegOneHeading, kLegOneDistance},
                      {2, 36.8215, -121.7986, 0.0, 0.0, 0.0}});
}

inline RouteTotals twoPointTotals() {
    return {500.0 + kLegOneDistance + 0.0, 650.0 + kLegOneDistance + 0.0};
}

// One waypoint from a file: no leg is measured, so the launch waypoint lies due south.
inline void fillOnePointRoute(WaypointList& route) {
    fillRoute(route, {{0, 36.81220339197043, -121.81710000000004, 500.0, 0.0, 650.0},
                      {1, 36.8167, -121.8171, 0.0, 0.0, 0.0}});
}

inline std::string readTestData(const std::string& name) {
    std::ifstream in(std::string(TAVRA_TEST_DATA_DIR) + "/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
