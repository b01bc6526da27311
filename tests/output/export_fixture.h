// Routes with their kinds of point for the export tests, laid out by hand.
#pragma once

#include "route_fixture.h"

// The two-point route with its launch waypoint marked as such.
inline void fillTwoPointExportRoute(WaypointList& route) {
    fillTwoPointRoute(route);
    route.head->kind = WaypointKind::launch;
}

// Due east along 16.5 S across the antimeridian, the leg from waypoint 1 cut once. The
// positions are not a planned route (the legs do not measure as stated); they are chosen
// so that every number below is exact in binary.
inline void fillAntimeridianRoute(WaypointList& route) {
    fillRoute(route, {{0, -16.5, 179.5, 500.0, 90.0, 650.0},
                      {1, -16.5, 179.75, 3600.0, 90.0, 3600.0},
                      {2, -16.5, 180.25, 1000.5, 90.0, 1000.5},
                      {3, -16.5, -179.5, 0.0, 0.0, 0.0}});
    route.head->kind = WaypointKind::launch;
    route.head->next->next->kind = WaypointKind::splitPoint;
}

inline RouteTotals antimeridianTotals() {
    return {5100.5, 5250.5};
}
