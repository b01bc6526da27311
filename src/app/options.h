// The long-option table and its parser, which fill MissionParameters.
#pragma once

#include "route/mission_parameters.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CommandLine {
    std::optional<std::string> waypointFile; // first operand, if any
    std::optional<std::string> exportList;   // --export: comma-separated formats, as given
    bool checkOnly = false;                  // --check: report on the plan, write no file
    bool showVersion = false;                // --version
    std::optional<std::string> feature;      // --feature: which route or area of the file
    std::vector<std::string> features;       // every --feature, in order: areas to survey

    // Survey generation from an area; values as typed, converted strictly where used.
    std::optional<std::string> surveyArea;  // --survey: the area file, instead of waypoints
    std::optional<std::string> lineSpacing; // --lineSpacing, meters
    std::optional<std::string> swathWidth;  // --swathWidth, meters
    std::optional<std::string> overlap;     // --overlap, percent of the swath
    std::optional<std::string> lineHeading; // --lineHeading, degrees
    std::optional<std::string> runIn;       // --runIn, meters
    std::optional<std::string> startNear;   // --startNear "LAT LON"
    std::optional<std::string> crossLines;  // --crossLines, a count
    std::optional<std::string> standoff;    // --standoff, meters from every shore
    std::optional<std::string> turnRadius;  // --turnRadius, meters
    std::optional<std::string> minStrip;    // --minStrip, percent of the spacing

    // The sea under the route; values as typed, converted strictly where used.
    std::optional<std::string> bathymetry;    // --bathymetry: a grid file
    bool depthPositiveDown = false;           // --depthPositiveDown
    std::vector<std::string> keepOut;         // --keepOut, each a polygon file, in order
    std::optional<std::string> keepOutMargin; // --keepOutMargin, meters
    std::optional<std::string> opRegion;      // --opRegion: a polygon file
    std::optional<std::string> coast;         // --coast: a polygon file of land

    // Where the files go.
    std::optional<std::string> outputDir; // --outputDir: an existing folder
    bool overwrite = false;               // --overwrite: replace files of earlier runs

    int helpAsked = 0;                  // how many of --help, --usage and -h were given
    std::optional<std::string> mistake; // the first mistake on the command line, as a message

    bool allowVrt = false; // --allowVrt: GDAL VRT files may be read

    bool splitOnGeodesic = false; // --splitOnGeodesic: legs measured and split on WGS 84
};

// Parses argv with getopt_long (operands may stand anywhere among the options). Nothing is
// printed: an unknown or ambiguous option, a missing value, a mission parameter that is not a
// number and a second operand are put in mistake, the first of them. Parsing stops at
// --interactive. May be called more than once in a process: the parser is reset first.
CommandLine parseOptions(int argc, char* argv[], MissionParameters& params);

// A mission parameter of whole numbers: digits saturate at the 32-bit range, and any other
// number must have no fraction. False for text that is not a number as a whole.
bool readWholeNumberArgument(std::string_view text, int& value);

// A mission parameter of decimals: a finite decimal number and nothing else.
bool readNumberArgument(std::string_view text, double& value);

// The option a mistyped word most likely meant ("--wayPointDepth" for "--wayPointdepth"),
// or empty when none is close.
std::string suggestOption(std::string_view word);

// atoi that saturates at the 32-bit range instead of overflowing.
int parseIntArgument(const char* text);

// atof.
double parseDoubleArgument(const char* text);
