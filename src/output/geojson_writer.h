// GeoJSON export (RFC 7946) of the planned route, for QGIS and web maps.
#pragma once

#include "output/numbered_lines.h"
#include "route/plan_check.h"
#include "route/route_planner.h"
#include "route/sea_survey.h"
#include "route/waypoint_list.h"

#include <ostream>
#include <vector>

// A FeatureCollection holding the route as one LineString (when it has two points or more)
// and one Point per node, launch waypoint first, each with its number, kind and the leg
// that leaves it; the totals stand on the collection and on the route. Coordinates are
// longitude first and exact.
void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals);

// The same, measured against the sea (sea may be null): with a grid, each point also
// carries legShallowestDepth, the shallowest water depth in meters under the leg that
// leaves it (null where there is no leg or the grid has no depth anywhere under it), and
// legUnknownDepthLength, the meters of that leg without depth (null where there is no leg).
void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals,
                  const SeaSurvey* sea);
// The same with the findings of the plan check and the survey's lines (either may be null):
// with the sea measured, each point also carries legFindings, the text of every finding on
// the leg that leaves it, as the report of --check gives them ([] where there is none or no
// leg); with a survey, after the points, one LineString per piece through its route points,
// with its line number, kind ("line", "tie" or "transit"), cell (null but for survey lines),
// heading (degrees from start to end) and length_m.
void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals,
                  const SeaSurvey* sea, const std::vector<PlanFinding>* findings,
                  const std::vector<SurveyPiece>* pieces = nullptr);
