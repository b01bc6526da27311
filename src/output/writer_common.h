// What the writers share: text handed on in large pieces, and the mission time in hours.
#pragma once

#include "output/number_format.h"
#include "route/route_planner.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

// Routes may hold millions of points, so the writers format into a buffer and pass it on
// in pieces of about this size instead of one small write per field. A piece this large
// goes past the file stream's own buffer straight to the system, and a million-point
// route's gigabyte then takes about a thousand writes: smaller pieces cost measurably
// more system time.
constexpr std::size_t kWriteChunkBytes = 1024 * 1024;

inline void startChunks(std::string& text) {
    text.reserve(kWriteChunkBytes + 4096);
}

inline void writeChunkIfFull(std::ostream& out, std::string& text) {
    if (text.size() >= kWriteChunkBytes) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    }
}

inline void writeRest(std::ostream& out, std::string& text) {
    if (!text.empty()) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    }
}

// Whole hours of a duration in seconds, kept as a real so that no size of duration can
// overflow it.
inline double wholeHours(double seconds) {
    return static_cast<double>(std::trunc(static_cast<long double>(seconds) / 3600.0L));
}

// Whole minutes past the whole hours, in integer seconds.
inline std::int32_t minutesPastHour(double seconds) {
    return truncatedToInt(seconds) % 3600 / 60;
}

// The totals as the CSV summary words them, from "Expected survey line" to the minutes
// line; the check report repeats them so that a planner sees the same figures in both.
inline void appendTotalsLines(std::string& text, const RouteTotals& totals) {
    const double seconds = totals.expectedMissionTime;
    text += "Expected survey line ";
    appendFixed(text, totals.surveyLineDistance, 1);
    text += " meters\n\nExpected mission time ";
    appendFixed(text, seconds, 1);
    text += " seconds\n    ";
    appendFixed(text, wholeHours(seconds), 0);
    text += " hours\n    ";
    appendInt(text, minutesPastHour(seconds));
    text += " minutes\n";
}
