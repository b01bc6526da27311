// The order of a run: options, echo, dialogue or operand, reading, planning, writers.
#pragma once

#include <istream>
#include <ostream>

// Runs the program on argv with the dialogue reading in and every message going to
// out; returns the exit status.
int run(int argc, char* argv[], std::istream& in, std::ostream& out);
