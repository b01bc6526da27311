// Survey lines from an area: the whole pipeline, from the area on the globe to the route.
#pragma once

#include "route/geo_area.h"
#include "survey/survey_request.h"

// Checks the area, frames it, chooses the heading when none is asked for (fewest lines,
// ties broken by the shorter route), lays the survey out and carries it back to the globe,
// its lines and transits cut in the frame to fit request.maxLegMeters. Refuses a
// maxLegMeters that would cut it into more than kMaxRoutePoints legs.
SurveyResult planSurvey(const GeoArea& area, const SurveyRequest& request);
