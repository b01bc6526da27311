// Looks a planned mission over for what the vehicle would refuse and what looks mistyped.
#pragma once

#include "route/mission_parameters.h"
#include "route/waypoint_list.h"

#include <cstddef>
#include <string>
#include <vector>

// error: the vehicle would abort on it, or the plan cannot mean what it says.
// warning: legal, but more likely a slip than an intention.
enum class FindingSeverity { error, warning };

struct PlanFinding {
    FindingSeverity severity = FindingSeverity::warning;
    std::string message; // one line naming the values, without severity or line end
};

// A leg between two waypoints of the file longer than this is taken for a mistyped position.
constexpr double kLongFileLegMeters = 100'000.0;
// A route of more points than this is taken for a mistaken maxLegMeters.
constexpr std::size_t kLargeRoutePoints = 10'000;

// The parameters on their own: the depth envelope, then what must fit inside it (the yo-yo
// band of a yo-yo mission, the waypoint depth of a plain one), speeds, GPS hits and flags.
std::vector<PlanFinding> checkParameters(const MissionParameters& params);

// The planned route: each waypoint of the file in range, each leg of the file neither
// empty nor very long, and the number of points, which maxLegMeters governs. Split points
// and the launch waypoint derive from the file's waypoints and are not judged on their own.
std::vector<PlanFinding> checkRoute(const WaypointList& route, double maxLegMeters);

// Both, parameters first.
std::vector<PlanFinding> checkPlan(const MissionParameters& params, const WaypointList& route);

// Both, with what the reader of the waypoint file noted between them: positions that may
// not mean what they say (a line of more than two numbers may be degrees and minutes
// without hemisphere letters), each a warning, worded by the reader.
std::vector<PlanFinding> checkPlan(const MissionParameters& params, const WaypointList& route,
                                   const std::vector<std::string>& readerNotes);

bool hasError(const std::vector<PlanFinding>& findings);

// "error: ..." or "warning: ...", without a line end.
std::string findingText(const PlanFinding& finding);
