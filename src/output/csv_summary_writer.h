// The CSV summary (csv): one record per route point, then distance and duration.
#pragma once

#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <ostream>

void writeCsvSummary(std::ostream& out, const WaypointList& route, const RouteTotals& totals);
