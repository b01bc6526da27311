// The order of a run: options, echo, dialogue or operand, reading, planning, writers.
#pragma once

#include <istream>
#include <ostream>

// Runs the program on argv with the dialogue reading in and every message going to
// out, except the findings of the plan check, which go to err; returns the exit status.
int run(int argc, char* argv[], std::istream& in, std::ostream& out, std::ostream& err);

// The same with err standard error.
int run(int argc, char* argv[], std::istream& in, std::ostream& out);
