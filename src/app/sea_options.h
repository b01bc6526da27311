// The options of the sea checks, converted strictly from the text the command line gave.
#pragma once

#include "app/options.h"

#include <optional>
#include <string>
#include <vector>

struct SeaOptions {
    std::optional<std::string> grid;     // --bathymetry
    bool depthPositiveDown = false;      // --depthPositiveDown
    std::vector<std::string> keepOut;    // --keepOut, in order
    double keepOutMargin = 0.0;          // --keepOutMargin, meters, 0 or more
    std::optional<std::string> opRegion; // --opRegion
    // --coast: land as a chart draws it, which the grid's land cells are compared with.
    std::optional<std::string> coast;
};

struct SeaOptionsResult {
    bool asked = false; // any sea option was given
    bool ok = true;
    std::string error; // one message, for standard output
    SeaOptions options;
};

// A margin that is not a finite number of meters of 0 or more, a margin without a keep-out
// file, depth positive down or a coast without a grid and an empty file name are refused:
// each would otherwise quietly check less than the planner asked for.
SeaOptionsResult readSeaOptions(const CommandLine& commandLine);
