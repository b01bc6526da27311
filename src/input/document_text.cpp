// Lines, strict coordinates and refusals shared by the readers of the GIS formats.
#include "input/document_text.h"

#include "input/line_text.h"
#include "input/strict_number.h"

#include <algorithm>

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

std::string checkCoordinate(Axis axis, double value) {
    if (axis == Axis::latitude) {
        return value >= -90.0 && value <= 90.0 ? "" : "latitude outside -90..90";
    }
    return value >= -180.0 && value <= 180.0 ? "" : "longitude outside -180..180";
}

std::string readCoordinate(std::string_view text, Axis axis, double& value) {
    if (!readStrictNumber(text, value)) {
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
    message += '"' + displayableLine(text) + "\" (";
    message.append(reason);
    message += ')';
    return message;
}

std::string_view trimmedText(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string featurePartName(const std::string& name, std::size_t part, std::size_t parts) {
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

std::string formatsThisBuildReads() {
#ifdef TAVRA_HAVE_XML
    const char* formats = "plain text, CSV, GPX, KML and GeoJSON";
#else
    const char* formats = "plain text, CSV and GeoJSON";
#endif
#ifdef TAVRA_HAVE_GDAL
    return std::string(formats) + ", and the other vector formats GDAL reads";
#else
    return formats;
#endif
}
