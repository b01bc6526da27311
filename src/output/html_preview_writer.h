// Offline HTML preview of the planned route: an SVG map and the table of legs, and with the
// sea checks the areas around the route, the findings on its legs and a depth profile.
#pragma once

#include "output/html_map_frame.h"
#include "output/numbered_lines.h"
#include "route/geo_area.h"
#include "route/mission_parameters.h"
#include "route/plan_check.h"
#include "route/route_planner.h"
#include "route/sea_survey.h"
#include "route/waypoint_list.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

// The map draws at most about this many direction arrows, however long the route.
constexpr std::size_t kMaxArrows = 300;

// One self-contained page (no script, tile or font from the network), well-formed XML as
// well as HTML: the route on a map fitted to it, north up, with numbered points (as many as
// have room), launch and split points marked apart, arrows along the legs, a scale bar and a
// north arrow; below it the table of legs with the distance and time run when each point is
// reached, and the totals as the CSV summary gives them. fileName names the page. The legs
// are one neutral colour; a graticule of latitudes and longitudes lies under them. Nothing
// on this page was checked against land, so the map's ground is neutral, not water, and a
// note says "land not checked".
void writeHtmlPreview(std::ostream& out, const std::string& fileName, const WaypointList& route,
                      const RouteTotals& totals);

// The same page measured against the sea. The map also draws the keep-out areas and the
// operating region as the sea layer cut them to the route's surroundings, and colours each
// leg where a finding of the plan check lies on it: red for an error, orange for a warning,
// along the failing stretches (the whole leg, with the places ringed, where a finding has
// only places). With a grid, a depth profile follows the map: the seabed along the route
// with the band of the shallowest cells in steps, the grid's cell size, the mission's
// commanded depths, the abort depth, the surfacing points, the failing stretches and the
// gaps without depth. findings are the plan check's; only those with a place are drawn.
// landChecked: the run looked for land (--keepOut or --bathymetry given), so the map's
// ground may be drawn as water; without, it is neutral with the note "land not checked".
void writeHtmlPreview(std::ostream& out, const std::string& fileName, const WaypointList& route,
                      const RouteTotals& totals, const SeaSurvey& sea,
                      const std::vector<PlanFinding>& findings, const MissionParameters& params,
                      bool landChecked, const std::vector<GeoArea>* surveyAreas = nullptr,
                      const std::vector<SurveyPiece>* surveyLines = nullptr);

// The first page with the areas a survey was laid out in drawn faintly under the route, their
// holes left open (the sea page draws them too when given surveyAreas), and a legend row.
// Given surveyLines (whose first and last count the waypoints from the file), each survey and
// tie line carries its number at its middle where the map has room (both pages).
void writeHtmlPreview(std::ostream& out, const std::string& fileName, const WaypointList& route,
                      const RouteTotals& totals, const std::vector<GeoArea>& surveyAreas,
                      const std::vector<SurveyPiece>* surveyLines = nullptr);
