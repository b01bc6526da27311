// The fixed usage text of the command line, and the whole help.
#pragma once

#include <ostream>

// The short list shown after a missing or unreadable file name, and for --help beside one.
void printUsage(std::ostream& out);

// Every option, grouped, for --help, -h and --usage without a waypoint file.
void printHelp(std::ostream& out);
