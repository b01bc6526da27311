// Survey generation in a build without GDAL: there is none, and the run says so.
#include "app/survey_generation.h"

std::optional<std::string> missingSurveyGeneration() {
    return "*** this build of tavra has no survey generation (--survey): it was built without "
           "GDAL ***";
}

SurveyResult generateSurvey(const GeoArea&, const SurveyRequest&) {
    SurveyResult result;
    result.ok = false;
    result.error = *missingSurveyGeneration();
    return result;
}

SurveyResult generateSurveys(const std::vector<GeoArea>&, const SurveyRequest&) {
    return generateSurvey({}, {});
}

std::vector<PlanFinding> checkSurveyLaunch(const GeoArea&, const WaypointList&) {
    return {};
}
