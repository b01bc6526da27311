// tavra's own reader of a number in a waypoint or area file: finite decimal numbers only.
#pragma once

#include <string>
#include <string_view>

// Reads text that is a decimal number and nothing else: an optional sign, digits with an
// optional fraction (at least one digit), an optional exponent. Text, blanks, NaN,
// infinity, hexadecimal and numbers too large for a double are refused, so that a bad
// number never becomes 0. A number too small for a double reads as the nearest one (0 or
// a subnormal), which is what it says. Returns false and leaves value alone on refusal.
bool readStrictNumber(std::string_view text, double& value);

// The shortest text that reads back as value, for messages.
std::string shortestNumberText(double value);
