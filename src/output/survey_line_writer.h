// The survey-line file (pts) for chart software: a header naming the file, then the points.
#pragma once

#include "route/waypoint_list.h"

#include <ostream>
#include <string>

// fileName is the file's own full name, which its header line carries.
void writeSurveyLine(std::ostream& out, const std::string& fileName, const WaypointList& route);
