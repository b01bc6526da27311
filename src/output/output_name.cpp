// The UTC time stamp that names every output file of a run.
#include "output/output_name.h"

#include "output/number_format.h"

#include <cstdint>

std::string makeOutputBaseName(std::time_t when) {
    // Always UTC, so that runs in different time zones never name the same minute apart.
    const std::tm* utc = std::gmtime(&when);
    if (utc == nullptr) {
        return {};
    }
    std::string stem;
    // Widened: a year near the end of tm_year's range does not fit an int once 1900 is added.
    appendInt(stem, static_cast<std::int64_t>(utc->tm_year) + 1900);
    stem += '_';
    appendInt(stem, utc->tm_yday);
    stem += '_';
    appendInt(stem, utc->tm_hour);
    appendInt(stem, utc->tm_min);
    stem += '.';
    return stem;
}

std::string makeOutputBaseName() {
    const std::time_t now = std::time(nullptr);
    if (now == static_cast<std::time_t>(-1)) {
        return {};
    }
    return makeOutputBaseName(now);
}
