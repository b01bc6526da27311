// The grid cells a leg runs through and the cells within half a cell of it, found by walking
// from cell to cell along the leg, so that which cells judge a leg depends on where the leg
// lies and not on where it happens to be read.
#pragma once

#include "route/sea_survey.h"
#include "sea/depth_grid.h"

#include <optional>
#include <vector>

// A place of the leg where it was read, and where that falls on the grid (nothing where it
// cannot be placed).
struct WalkPlace {
    double alongLeg = 0.0; // meters from the start of the leg
    GeoPoint position;
    std::optional<GridPoint> onGrid;
};

// Meters on the ground, east and north, that one step along an axis of the grid makes.
struct GroundStep {
    double east = 0.0;
    double north = 0.0;
};

// The cells of the leg through the places (from its start to its end, less than half a
// cell apart, so that the leg between two of them is straight on the grid), as
// LegSeabed::cells holds them. perColumn and perRow are a step of one column and of one
// row at the leg, for the band's offsets.
std::vector<LegCell> walkLegCells(DepthGrid& grid, const std::vector<WalkPlace>& places,
                                  const GroundStep& perColumn, const GroundStep& perRow);
