// The report of a plan check: the route point by point, the totals and the findings.
#pragma once

#include "route/plan_check.h"
#include "route/route_planner.h"
#include "route/sea_survey.h"
#include "route/waypoint_list.h"

#include <ostream>
#include <vector>

// Each row shows the leg that leaves the point and the distance and time run when the
// point is reached; the totals read as in the CSV summary.
void writePlanReport(std::ostream& out, const WaypointList& route, const RouteTotals& totals,
                     const std::vector<PlanFinding>& findings);

// The same, measured against the sea (sea may be null): with a grid, each row also shows
// the shallowest water depth under the leg that leaves the point.
void writePlanReport(std::ostream& out, const WaypointList& route, const RouteTotals& totals,
                     const std::vector<PlanFinding>& findings, const SeaSurvey* sea);
