// How the plan check writes values and places in its findings.
#pragma once

#include "route/geo_area.h"

#include <cstdint>
#include <string>

// The shortest text that reads back as the same value, so that a message never shows a
// rounded figure that looks in range while the value is not (90.00001 is not 90.0000).
std::string numberText(double value);
std::string numberText(std::int32_t value);

// The value with a fixed number of decimals.
std::string fixedText(double value, int decimals);

// "120.0 m": lengths and depths found on a grid, as exact as the grid and no more.
std::string metersText(double meters);

// "36.80000 -121.90000", the longitude within -180..180.
std::string placeText(const GeoPoint& place);
