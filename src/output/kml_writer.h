// KML 2.2 export of the planned route, for Google Earth.
#pragma once

#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <ostream>
#include <string>

// A Document named fileName with the route as one LineString Placemark (when it has two
// points or more) and one Point Placemark per node, named by its number, launch waypoint
// first; launch, waypoint and split points have styles of their own and the leg that leaves
// a point stands in its description. Longitudes are brought into -180 to 180.
void writeKml(std::ostream& out, const std::string& fileName, const WaypointList& route,
              const RouteTotals& totals);
