// What the preview's drawings share: page coordinates to a tenth of a unit.
#pragma once

#include "output/number_format.h"

#include <string>

inline void appendPixels(std::string& text, double value) {
    appendFixed(text, value, 1);
}

inline void appendXY(std::string& text, double x, double y) {
    appendPixels(text, x);
    text += ' ';
    appendPixels(text, y);
}
