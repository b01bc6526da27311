// The long-option table and its parser, which fill MissionParameters.
#pragma once

#include "app/mission_parameters.h"

#include <optional>
#include <string>

struct CommandLine {
    std::optional<std::string> waypointFile; // first operand, if any
    std::optional<std::string> exportList;   // --export: comma-separated formats, as given
    bool checkOnly = false;                  // --check: report on the plan, write no file
    bool showVersion = false;                // --version
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
