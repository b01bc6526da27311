// The long-option table and its parser, which fill MissionParameters.
#pragma once

#include "route/mission_parameters.h"

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    std::optional<std::string> waypointFile; // first operand, if any
    std::optional<std::string> exportList;   // --export: comma-separated formats, as given
    bool checkOnly = false;                  // --check: report on the plan, write no file
    bool showVersion = false;                // --version
    std::optional<std::string> feature;      // --feature: which route or area of the file

    // Survey generation from an area; values as typed, converted strictly where used.
    std::optional<std::string> surveyArea;  // --survey: the area file, instead of waypoints
    std::optional<std::string> lineSpacing; // --lineSpacing, meters
    std::optional<std::string> swathWidth;  // --swathWidth, meters
    std::optional<std::string> overlap;     // --overlap, percent of the swath
    std::optional<std::string> lineHeading; // --lineHeading, degrees
    std::optional<std::string> runIn;       // --runIn, meters
    std::optional<std::string> startNear;   // --startNear "LAT LON"
    std::optional<std::string> crossLines;  // --crossLines, a count

    // The sea under the route; values as typed, converted strictly where used.
    std::optional<std::string> bathymetry;    // --bathymetry: a grid file
    bool depthPositiveDown = false;           // --depthPositiveDown
    std::vector<std::string> keepOut;         // --keepOut, each a polygon file, in order
    std::optional<std::string> keepOutMargin; // --keepOutMargin, meters
    std::optional<std::string> opRegion;      // --opRegion: a polygon file
    bool allowVrt = false;                    // --allowVrt: GDAL VRT files may be read
};

// Parses argv with getopt_long (operands may stand anywhere among the options).
// --help, --usage and a bad option print the usage text on out and parsing goes on;
// the parser's own diagnostics go to standard error. Parsing stops at --interactive.
// May be called more than once in a process: the parser is reset first.
CommandLine parseOptions(int argc, char* argv[], MissionParameters& params, std::ostream& out);

// atoi that saturates at the 32-bit range instead of overflowing.
int parseIntArgument(const char* text);

// atof.
double parseDoubleArgument(const char* text);
