// The sea checks a run asks for: --bathymetry, --keepOut and --opRegion. Their files are
// opened and read before the route is, so that a missing grid fails before any question or
// planning; the planned route is then measured against them. Built with GDAL
// (sea_check_gdal.cpp) or without (sea_check_nogdal.cpp, which only says so).
#pragma once

#include "app/options.h"
#include "route/sea_survey.h"
#include "route/waypoint_list.h"

#include <istream>
#include <memory>
#include <string>

// The opened grid and the areas read; what it holds depends on the build.
struct SeaInputs;

struct SeaPreparation {
    bool ok = true;
    std::string error;                 // one message for standard output; the run ends with 1
    std::shared_ptr<SeaInputs> inputs; // null when no sea check is asked for
};

// Converts the options and opens and reads the files they name. standardInput is where a
// file named "-" is read from, or null when the waypoints or the dialogue have it.
SeaPreparation prepareSeaChecks(const CommandLine& commandLine, std::istream* standardInput);

struct SeaMeasurement {
    bool ok = true;
    std::string error; // one message for standard output; the run ends with 1
    SeaSurvey survey;
};

// Measures the planned route against what prepareSeaChecks read; once, as the areas read
// are handed on.
SeaMeasurement measureSea(SeaInputs& inputs, const WaypointList& route);
