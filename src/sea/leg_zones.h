// How each leg meets the keep-out areas and the operating region.
#pragma once

#include "route/sea_survey.h"
#include "sea/sea_zones.h"

#include <string>
#include <vector>

struct PassesResult {
    bool ok = true;
    std::string error;               // one message, in tavra's words
    std::vector<LegZonePass> passes; // by leg, then by zone
};

// For every leg on the globe: whether its ends lie inside each zone near it, where it first
// enters a keep-out area or leaves the operating region, and (with a margin above 0) how
// close it passes a keep-out area it does not enter and where it first comes within the
// margin. A leg is the great circle between its ends; an edge or a corner counts as inside.
PassesResult measurePasses(const std::vector<SurveyLeg>& legs, const std::vector<ZoneShape>& zones,
                           double marginMeters);
