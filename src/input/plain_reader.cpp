// The plain waypoint format: one position per line, as planners have always written it.
#include "input/plain_reader.h"

#include "input/degrees_minutes.h"
#include "input/line_text.h"
#include "input/strict_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

namespace {

bool isSpace(char c) {
    return isBlankCharacter(c) || c == '\n' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number the file cannot really mean (text, NaN, infinity, overflow) must not reach the
// route: it would place waypoints nowhere, so it is refused rather than read as zero.
// strtod decides what a number is; text ends with a NUL.
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
// same nearest double as strtod many times faster.
enum class QuickRead { read, needsStrtod };

QuickRead readPlainDecimal(const char*& cursor, const char* end, double& value) {
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
            return QuickRead::read;
        }
    }
    return QuickRead::needsStrtod;
}

// Both numbers on the quick path; cursor ends behind the longitude. Whatever else strtod
// would read (a plus sign, hexadecimal, inf, nan) or refuse goes to strtod itself, so that
// both read alike.
bool readNumberPair(const char*& cursor, const char* end, double& lat, double& lon) {
    return readPlainDecimal(cursor, end, lat) == QuickRead::read &&
           readPlainDecimal(cursor, end, lon) == QuickRead::read;
}

struct PlainPosition {
    bool ok = false;
    double lat = 0.0;
    double lon = 0.0;
    std::string problem;      // for a refused line in degrees and minutes
    bool moreNumbers = false; // a third number follows before any other text
};

// Another number right after the position, as in "36 48.900 -121 57.300".
bool startsWithBareNumber(std::string_view rest) {
    std::size_t at = 0;
    while (at < rest.size() && isBlankCharacter(rest[at])) {
        ++at;
    }
    if (at < rest.size() && (rest[at] == '+' || rest[at] == '-')) {
        ++at;
    }
    const std::size_t digitsStart = at;
    while (at < rest.size() && (isDigit(rest[at]) || rest[at] == '.')) {
        ++at;
    }
    std::size_t digits = 0;
    for (std::size_t i = digitsStart; i < at; ++i) {
        digits += isDigit(rest[i]) ? 1 : 0;
    }
    return digits > 0 &&
           (at == rest.size() || isBlankCharacter(rest[at]) || rest[at] == '+' || rest[at] == '-');
}

// Letters, marks and colons are what degrees and minutes are written with; a line without
// any of them is decimal degrees, and is spared the closer look.
bool mayBeDegrees(std::string_view line) {
    for (char c : line) {
        switch (c) {
        case 'N':
        case 'S':
        case 'E':
        case 'W':
        case 'n':
        case 's':
        case 'e':
        case 'w':
        case 'd':
        case '\'':
        case '"':
        case ':':
        case '\xC2':
        case '\xE2':
            return true;
        default:
            break;
        }
    }
    return false;
}

PlainPosition readPlainLine(std::string_view line) {
    PlainPosition position;
    if (mayBeDegrees(line)) {
        const DegreesPosition degrees = readDegreesPosition(line);
        if (degrees.outcome == DegreesOutcome::read) {
            position.ok = true;
            position.lat = degrees.lat;
            position.lon = degrees.lon;
            return position;
        }
        if (degrees.outcome == DegreesOutcome::refused) {
            position.problem = degrees.problem;
            return position;
        }
    }
    const char* cursor = line.data();
    const char* end = line.data() + line.size();
    if (!readNumberPair(cursor, end, position.lat, position.lon)) {
        // strtod reads up to a NUL, so it gets the line alone, ended by one.
        const std::string copy(line);
        cursor = copy.c_str();
        if (!readNumberAsStrtod(cursor, position.lat) ||
            !readNumberAsStrtod(cursor, position.lon)) {
            return position;
        }
        position.moreNumbers =
            startsWithBareNumber(std::string_view(cursor, copy.size() - (cursor - copy.c_str())));
        position.ok = true;
        return position;
    }
    position.moreNumbers = startsWithBareNumber(std::string_view(cursor, end - cursor));
    position.ok = true;
    return position;
}

std::string badLine(const std::string& fileName, const TextLine& line, const std::string& why) {
    return "*** BAD WAYPOINT LINE *** " + fileName + " line " + std::to_string(line.number) +
           ": \"" + displayableLine(line.text) + "\" (" + why + ")";
}

// One note for the whole file: a file of "latitude longitude depth" lines would otherwise
// give a warning per line.
SourceNote moreNumbersNote(const std::string& fileName, const TextLine& first, double lat,
                           double lon, std::uint64_t others) {
    std::string message = fileName + " line " + std::to_string(first.number) + ": \"" +
                          displayableLine(first.text) +
                          "\" holds more than two numbers and was read as latitude " +
                          shortestNumberText(lat) + ", longitude " + shortestNumberText(lon) +
                          "; if it is degrees and minutes, write the hemisphere letters (N/S, "
                          "E/W)";
    if (others > 0) {
        message +=
            " (" + std::to_string(others) + " more line" + (others == 1 ? "" : "s") + " like it)";
    }
    return SourceNote{first.number, message};
}

} // namespace

bool isPlainPosition(std::string_view line) {
    return readPlainLine(line).ok;
}

DocumentResult readPlain(std::string_view bytes, const std::string& fileName) {
    DocumentResult result;
    result.document.format = "plain";
    SourceFeature route;
    route.shape = FeatureShape::route;
    route.kind = "waypoint list";

    std::optional<TextLine> firstWithMoreNumbers;
    double firstLat = 0.0;
    double firstLon = 0.0;
    std::uint64_t withMoreNumbers = 0;

    LineCursor cursor;
    TextLine line;
    while (nextLine(bytes, cursor, line)) {
        if (line.tooLong) {
            result.ok = false;
            result.error = badLine(fileName, line, "a line longer than 1 MiB");
            return result;
        }
        if (isSkippedLine(line.text)) {
            continue;
        }
        const PlainPosition position = readPlainLine(line.text);
        if (!position.ok) {
            result.ok = false;
            result.error = badLine(fileName, line,
                                   position.problem.empty()
                                       ? "expected latitude then longitude in decimal degrees"
                                       : position.problem);
            return result;
        }
        if (route.points.empty()) {
            route.line = line.number;
        }
        route.points.push_back(SourcePoint{position.lat, position.lon, line.number});
        if (position.moreNumbers) {
            if (!firstWithMoreNumbers) {
                firstWithMoreNumbers = line;
                firstLat = position.lat;
                firstLon = position.lon;
            }
            ++withMoreNumbers;
        }
    }
    result.document.features.push_back(std::move(route));
    if (firstWithMoreNumbers) {
        result.document.notes.push_back(moreNumbersNote(fileName, *firstWithMoreNumbers, firstLat,
                                                        firstLon, withMoreNumbers - 1));
    }
    return result;
}
