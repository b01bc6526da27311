// The mission script (cfg) that the vehicle runs from the bottom of the file upward.
#pragma once

#include "route/mission_parameters.h"
#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <cstdint>
#include <ostream>
#include <string>

// Writes the whole script for a planned route of at least two nodes. fileName is the
// full output name that the first line carries.
void writeMissionScript(std::ostream& out, const std::string& fileName, const WaypointList& route,
                        const MissionParameters& params, const RouteTotals& totals);

// 1.2 times the mission time, truncated, formed in extended precision (650 s gives 779).
std::int32_t missionTimeout(double expectedMissionTime);
