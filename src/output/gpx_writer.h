// GPX 1.1 export of the planned route, for chart plotters and OpenCPN.
#pragma once

#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <ostream>
#include <string>

// One rte named fileName with an rtept per node, launch waypoint first, named by its
// number, with its kind in type and the leg that leaves it in desc. Longitudes are brought
// into -180 to 180, as GPX requires.
void writeGpx(std::ostream& out, const std::string& fileName, const WaypointList& route,
              const RouteTotals& totals);
