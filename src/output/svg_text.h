// What the preview's drawings share: page coordinates to a tenth of a unit, and rectangles.
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

// A rectangle of the class given (none where it is empty), from its corners.
inline void appendRect(std::string& text, const char* element, double left, double top,
                       double right, double bottom) {
    text += "<rect ";
    if (*element != '\0') {
        text += "class=\"";
        text += element;
        text += "\" ";
    }
    text += "x=\"";
    appendPixels(text, left);
    text += "\" y=\"";
    appendPixels(text, top);
    text += "\" width=\"";
    appendPixels(text, right - left);
    text += "\" height=\"";
    appendPixels(text, bottom - top);
    text += "\"/>";
}
