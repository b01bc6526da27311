// Reads the planner's waypoint file into the route list, refusing lines it cannot use.
#include "app/waypoint_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <string>
#include <system_error>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Editors on other systems leave a byte-order mark or CR LF line ends; neither is part of
// the planner's data.
void stripLineEnd(std::string& line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
}

void stripByteOrderMark(std::string& line) {
    if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        line.erase(0, 3);
    }
}

// Blank lines and '#' comments let a planner lay out and annotate a survey.
bool isSkipped(const std::string& line) {
    for (char c : line) {
        if (!isBlank(c)) {
            return c == '#';
        }
    }
    return true;
}

bool isSpace(char c) {
    return isBlank(c) || c == '\n' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number the file cannot really mean (text, NaN, infinity, overflow) must not reach the
// route: it would place waypoints nowhere, so it is refused rather than read as zero.
// strtod decides what a number is; text is the line and ends with a NUL.
bool readNumberAsStrtod(const char*& cursor, double& value) {
    char* end = nullptr;
    value = std::strtod(cursor, &end);
    if (end == cursor || !std::isfinite(value)) {
        return false;
    }
    cursor = end;
    return true;
}

// Plain decimal numbers, all a long track holds, are read by from_chars, which gives the
// same nearest double as strtod many times faster. Whatever else strtod would read (a plus
// sign, hexadecimal, inf, nan) or refuse goes to strtod itself, so that both read alike.
bool readNumber(const char*& cursor, const char* end, double& value) {
    const char* start = cursor;
    while (start != end && isSpace(*start)) {
        ++start;
    }
    const char* digits = start != end && *start == '-' ? start + 1 : start;
    const bool plain =
        digits != end && (isDigit(*digits) || *digits == '.') &&
        !(*digits == '0' && end - digits > 1 && (digits[1] == 'x' || digits[1] == 'X'));
    if (plain) {
        const auto [last, error] = std::from_chars(start, end, value);
        if (error == std::errc{} && std::isfinite(value)) {
            cursor = last;
            return true;
        }
    }
    return readNumberAsStrtod(cursor, value);
}

bool readPosition(const std::string& line, double& lat, double& lon) {
    const char* cursor = line.c_str();
    const char* end = cursor + line.size();
    return readNumber(cursor, end, lat) && readNumber(cursor, end, lon);
}

} // namespace

ReadResult readWaypoints(std::istream& in, WaypointList& list) {
    ReadResult result;
    std::string line;
    std::uint64_t lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (lineNumber == 1) {
            stripByteOrderMark(line);
        }
        stripLineEnd(line);
        if (isSkipped(line)) {
            continue;
        }
        double lat = 0.0;
        double lon = 0.0;
        if (!readPosition(line, lat, lon)) {
            result.ok = false;
            result.badLineNumber = lineNumber;
            result.badLineText = line;
            return result;
        }
        appendNode(list, lat, lon);
    }
    return result;
}
