// Several areas surveyed in one mission: each laid out as alone, taken nearest first, and
// joined by straight transits, the lines numbered across the whole mission.
#pragma once

#include "route/geo_area.h"
#include "survey/survey_request.h"

#include <vector>

// The first area is the one nearest request.startNear (the first in the file without it);
// each next is the one nearest where the last ended, by the nearest vertex of its boundary,
// and is entered at its corner nearest that place. Between two areas the vehicle runs the
// great circle (the geodesic where the legs are measured on the ellipsoid), cut to fit
// request.maxLegMeters: nothing steers it round land or a keep-out zone, and the plan check
// judges that leg as any other. A refusal names the area.
SurveyResult planSurveys(const std::vector<GeoArea>& areas, const SurveyRequest& request);
