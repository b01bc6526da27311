// The sea on the HTML preview's map: the keep-out areas and the operating region under the
// route, and the colours of the findings along its legs.
#pragma once

#include "output/finding_marks.h"
#include "output/html_map_frame.h"
#include "route/sea_survey.h"

#include <ostream>
#include <string>
#include <vector>

// The part of the page where the sea's areas are drawn: the map and the margins around it,
// below the legend, cut to the route's surroundings (what lies beyond was never read).
struct AreaWindow {
    double left = 0.0; // page units
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    bool cut = false; // the surroundings end on the page, and what lies beyond is greyed
};

AreaWindow areaWindow(const SeaSurvey& sea, const MapFrame& frame);

// The areas as paths, the operating region under the keep-out areas, each ring's vertices
// as the map can show them (one where several fall on the same spot); then the grey beyond
// the surroundings. Drawn before the route, so that the route lies on top.
void writeSeaAreas(std::ostream& out, std::string& text, const SeaSurvey& sea,
                   const MapFrame& frame);

// Orange along the stretches of the warnings and red along those of the errors, over the
// route's line, and a ring at each place; routePoints are the route on the map, so that leg
// k runs from point k to point k + 1.
void appendFindingColours(std::string& text, const FindingMarks& marks, const SeaSurvey& sea,
                          const std::vector<MapPoint>& routePoints);

// The legend's second row: what the sea adds to the map, after the survey's area if drawn.
void appendSeaMapLegend(std::string& text, const SeaSurvey& sea, const AreaWindow& window,
                        bool surveyArea, bool lineNumbers = false);
