// Survey generation in a build with GDAL: the survey layer.
#include "app/survey_generation.h"
#include "survey/survey_plan.h"

std::optional<std::string> missingSurveyGeneration() {
    return std::nullopt;
}

SurveyResult generateSurvey(const GeoArea& area, const SurveyRequest& request) {
    return planSurvey(area, request);
}
