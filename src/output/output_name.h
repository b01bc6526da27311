// The UTC time stamp that names every output file of a run.
#pragma once

#include <ctime>
#include <string>

// Stem "year_dayOfYear_hourminute." for the given calendar time, broken down as UTC,
// without leading zeros; day of year counts from 0.
std::string makeOutputBaseName(std::time_t when);

// The same for the system clock now.
std::string makeOutputBaseName();
