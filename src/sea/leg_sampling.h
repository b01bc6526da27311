// The water depth along every leg: read from a grid at every cell the leg crosses.
#pragma once

#include "route/sea_survey.h"
#include "sea/depth_grid.h"

#include <cstdint>
#include <string>
#include <vector>

// What the grid says at one place: the four cells around it, the shallowest of them and
// the bilinear depth between them (both NaN unless state is known).
struct GridReading {
    DepthState state = DepthState::offGrid;
    double depth = 0.0;
    double shallowest = 0.0;
};

GridReading readGrid(DepthGrid& grid, double lat, double lon);

// More places than this along one route are refused rather than read: a grid of a few
// meters under a long transit would fill the memory with samples.
constexpr std::uint64_t kMaxDepthSamples = 4'000'000;

struct SeabedResult {
    bool ok = true;
    std::string error;             // one message, in tavra's words
    std::vector<LegSeabed> seabed; // one per leg, in the order of the legs
};

// Samples every leg from its start to its end at most half a cell apart (the cell measured
// on the ground along the leg), so that every cell it crosses is one of the four around a
// sample. gridName is the grid as the planner named it, for the messages.
SeabedResult sampleRoute(DepthGrid& grid, const std::vector<SurveyLeg>& legs,
                         const std::string& gridName);
