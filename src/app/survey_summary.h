// The console's account of a survey laid out from an area.
#pragma once

#include "survey/survey_request.h"

#include <ostream>
#include <string>

// The water's area, lines and cells, heading and spacing, tie lines (as many as asked, and
// the pieces the holes cut them into), the lengths of lines, run-in and transits, the turns,
// the time they take at missionSpeed (m/s), and where the survey starts and ends; areaName
// as the planner gave it.
void writeSurveySummary(std::ostream& out, const std::string& areaName,
                        const SurveyRequest& request, const SurveyPlan& plan, double missionSpeed);

// The area's name in messages and files: "-" is standard input.
std::string areaNameShown(const std::string& areaName);
