// Measures the sea along a planned route: the seabed under every leg and how each leg
// meets the keep-out areas and the operating region, as the records of route/sea_survey.h.
#pragma once

#include "route/sea_survey.h"
#include "route/waypoint_list.h"
#include "sea/depth_grid.h"
#include "sea/sea_zones.h"

#include <string>
#include <vector>

struct SeaRequest {
    DepthGrid* grid = nullptr;     // --bathymetry, or null
    std::string gridFile;          // as the planner named it
    std::vector<ZoneSource> zones; // --keepOut files in order, then --opRegion
    double keepOutMargin = 0.0;    // meters, 0 or more
};

struct SeaSurveyResult {
    bool ok = true;
    std::string error; // one message, in tavra's words
    SeaSurvey survey;
};

// The route must be planned (legs measured, waypoints numbered, launch waypoint added).
// coast is --coast, land as a chart draws it, compared with the grid's land; null without.
SeaSurveyResult surveyRoute(const WaypointList& route, const SeaRequest& request,
                            const ZoneSource* coast = nullptr);
