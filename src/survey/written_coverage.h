// What the survey lines cover as the mission files hold them.
#pragma once

#include "survey/area_frame.h"
#include "survey/geos_context.h"
#include "survey/plane.h"
#include "survey/survey_request.h"

// The share of the water (the area's frame) that the survey lines of the plan cover, each
// run from its route points as written (inMissionFiles), carried into the frame, and swept half
// the swath to each side between its ends. In [0, 1]; 0 for no water. Throws
// GeometryFailure when GEOS cannot compute it, and when PROJ cannot place a point.
double writtenCoverage(const Geos& geos, const AreaFrame& frame, const PlaneArea& water,
                       const SurveyPlan& plan, double swath);
