// The fixed usage text of the command line.
#pragma once

#include <ostream>

void printUsage(std::ostream& out);
