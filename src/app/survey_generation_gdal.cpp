// Survey generation in a build with GDAL: the survey layer.
#include "app/survey_generation.h"
#include "survey/launch_check.h"
#include "survey/survey_areas.h"
#include "survey/survey_plan.h"

std::optional<std::string> missingSurveyGeneration() {
    return std::nullopt;
}

SurveyResult generateSurvey(const GeoArea& area, const SurveyRequest& request) {
    return planSurvey(area, request);
}

SurveyResult generateSurveys(const std::vector<GeoArea>& areas, const SurveyRequest& request) {
    return planSurveys(areas, request);
}

std::vector<PlanFinding> checkSurveyLaunch(const GeoArea& area, const WaypointList& route) {
    if (route.head == nullptr || route.head->next == nullptr) {
        return {};
    }
    const WaypointNode& launch = *route.head;
    const WaypointNode& first = *route.head->next;
    return checkLaunchLeg(area, {launch.lat, launch.lon}, {first.lat, first.lon});
}
