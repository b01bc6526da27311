// The waypoint file (wpt) for chart software: one numbered line per route point.
#pragma once

#include <ostream>

#include "route/waypoint_list.h"

void writeWaypointFile(std::ostream& out, const WaypointList& route);
