// The grid's land against a coastline: a coarse grid calls land many cells that a chart
// shows as open water kilometres from the shore.
#pragma once

#include "route/sea_survey.h"
#include "sea/sea_zones.h"

#include <string>
#include <vector>

struct CoastResult {
    bool ok = true;
    std::string error; // one message, in tavra's words
};

// Marks every crossed cell of the legs that the grid calls land (0 m deep or less) where
// the coast's polygons have water under the whole of the leg's part in the cell, more than
// half a cell from any of them: there the data disagree, and the cell convicts nothing.
CoastResult compareCoast(std::vector<LegSeabed>& seabed, const std::vector<SurveyLeg>& legs,
                         const ZoneSource& coast);
