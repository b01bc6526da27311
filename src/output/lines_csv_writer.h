// The table of a survey's lines (lines.csv): one record per survey line and tie line, for
// the survey's log and for the software that processes the data line by line.
#pragma once

#include "output/numbered_lines.h"
#include "route/waypoint_list.h"

#include <ostream>
#include <vector>

// A header, then per line its number, kind ("line" or "tie"), the first and last route point
// of its run (run-in included) as the mission files hold them, its course from start to end
// (degrees), its length (meters, on the ellipsoid) and its cell (empty for a tie line). The
// survey's waypoints are the route's waypoints from the file, in order.
void writeLinesCsv(std::ostream& out, const WaypointList& route,
                   const std::vector<SurveyPiece>& pieces);
