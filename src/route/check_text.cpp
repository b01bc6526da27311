// How the plan check writes values and places in its findings.
#include "route/check_text.h"

#include "route/geodesy.h"

#include <charconv>
#include <cstdio>

std::string numberText(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string numberText(std::int32_t value) {
    return std::to_string(value);
}

std::string fixedText(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string metersText(double meters) {
    return fixedText(meters, 1) + " m";
}

std::string placeText(const GeoPoint& place) {
    return fixedText(place.lat, 5) + " " + fixedText(normalLongitude(place.lon), 5);
}
