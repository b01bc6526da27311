// The waypoint file (wpt) for chart software: one numbered line per route point.
#pragma once

#include "route/waypoint_list.h"

#include <ostream>

void writeWaypointFile(std::ostream& out, const WaypointList& route);
