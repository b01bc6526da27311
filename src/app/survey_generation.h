// Survey generation as this build has it: the survey layer with GDAL, else one line saying
// that there is none.
#pragma once

#include "route/geo_area.h"
#include "route/plan_check.h"
#include "route/waypoint_list.h"
#include "survey/survey_request.h"

#include <optional>
#include <string>
#include <vector>

// Nothing when this build lays surveys out; else the one line that says it cannot.
std::optional<std::string> missingSurveyGeneration();

SurveyResult generateSurvey(const GeoArea& area, const SurveyRequest& request);
// Several areas in one mission, nearest first, their lines numbered across it.
SurveyResult generateSurveys(const std::vector<GeoArea>& areas, const SurveyRequest& request);

// The planned route's launch leg against the holes of the area it was laid out in.
std::vector<PlanFinding> checkSurveyLaunch(const GeoArea& area, const WaypointList& route);
