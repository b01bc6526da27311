// Lines, strict coordinates and refusals shared by the readers of the GIS formats.
#include "input/document_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from text[at]; returns how many.
std::size_t skipDigits(std::string_view text, std::size_t at) {
    std::size_t count = 0;
    while (at + count < text.size() && isDigit(text[at + count])) {
        ++count;
    }
    return count;
}

// Whether the whole text is [sign] (digits [. digits] | . digits) [e [sign] digits].
bool isDecimalSpelling(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const std::size_t whole = skipDigits(text, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = skipDigits(text, at + 1);
        at += 1 + fraction;
    }
    if (whole == 0 && fraction == 0) {
        return false;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            ++at;
        }
        const std::size_t exponent = skipDigits(text, at);
        if (exponent == 0) {
            return false;
        }
        at += exponent;
    }
    return at == text.size();
}

} // namespace

LineIndex indexLines(std::string_view bytes) {
    LineIndex lines;
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos;
         at = bytes.find('\n', at + 1)) {
        lines.lineStarts.push_back(at + 1);
    }
    return lines;
}

std::uint64_t lineAt(const LineIndex& lines, std::size_t offset) {
    const auto after = std::upper_bound(lines.lineStarts.begin(), lines.lineStarts.end(), offset);
    return static_cast<std::uint64_t>(after - lines.lineStarts.begin()) + 1;
}

std::string_view lineText(std::string_view bytes, const LineIndex& lines, std::uint64_t line) {
    if (line == 0 || line > lines.lineStarts.size() + 1) {
        return {};
    }
    const std::size_t start = line == 1 ? 0 : lines.lineStarts[line - 2];
    std::size_t end =
        line <= lines.lineStarts.size() ? lines.lineStarts[line - 1] - 1 : bytes.size();
    if (end > start && bytes[end - 1] == '\r') {
        --end;
    }
    return bytes.substr(start, end - start);
}

bool readDecimal(std::string_view text, double& value) {
    if (!isDecimalSpelling(text)) {
        return false;
    }
    // from_chars takes no plus sign; the spelling is checked, so what it reads is all.
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    double read = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(read)) {
        return false;
    }
    value = read;
    return true;
}

std::string checkCoordinate(Axis axis, double value) {
    if (axis == Axis::latitude) {
        return value >= -90.0 && value <= 90.0 ? "" : "latitude must be between -90 and 90";
    }
    return value >= -180.0 && value <= 180.0 ? "" : "longitude must be between -180 and 180";
}

std::string readCoordinate(std::string_view text, Axis axis, double& value) {
    if (!readDecimal(text, value)) {
        return axis == Axis::latitude ? "latitude must be a decimal number"
                                      : "longitude must be a decimal number";
    }
    return checkCoordinate(axis, value);
}

std::string documentRefusal(std::string_view format, std::string_view fileName, std::uint64_t line,
                            std::string_view text, std::string_view reason) {
    std::string message = "*** BAD ";
    message.append(format);
    message += " FILE *** ";
    message.append(fileName);
    if (line != 0) {
        message += " line " + std::to_string(line);
    }
    message += ": ";
    if (text.empty()) {
        message.append(reason);
        return message;
    }
    message += '"' + displayableText(text) + "\" (";
    message.append(reason);
    message += ')';
    return message;
}

// A file's text is echoed so the planner can find it; control bytes would garble the
// console, and a runaway line (a document on one line, say) would bury the message.
std::string displayableText(std::string_view text) {
    constexpr std::size_t kMaxCharacters = 80;
    std::string shown;
    std::size_t characters = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool continuesCharacter = (byte & 0xC0) == 0x80; // inside a UTF-8 sequence
        if (!continuesCharacter) {
            if (characters == kMaxCharacters) {
                shown += "...";
                return shown;
            }
            ++characters;
        }
        shown += (byte < 0x20 || byte == 0x7f) ? '?' : c;
    }
    return shown;
}

std::string_view trimmedText(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string partName(const std::string& name, std::size_t part, std::size_t parts) {
    if (parts <= 1) {
        return name;
    }
    const std::string which = "part " + std::to_string(part) + " of " + std::to_string(parts);
    return name.empty() ? which : name + " (" + which + ")";
}

std::string openClosedRing(std::vector<SourcePoint>& ring) {
    // Four positions, the last repeating the first, are the least that encloses anything.
    if (ring.size() < 4) {
        return "a ring needs at least 4 positions, the last repeating the first";
    }
    const SourcePoint& first = ring.front();
    const SourcePoint& last = ring.back();
    if (first.lat != last.lat || first.lon != last.lon) {
        return "ring not closed: its last position must repeat its first";
    }
    ring.pop_back();
    return "";
}
