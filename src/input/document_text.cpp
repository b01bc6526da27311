// Lines, strict coordinates and refusals shared by the readers of the GIS formats.
#include "input/document_text.h"

#include "input/line_text.h"
#include "input/strict_number.h"

#include <algorithm>

LineIndex indexLines(std::string_view bytes) {
    LineIndex lines;
    lines.bytes = bytes;
    lines.endsBefore.reserve(bytes.size() / kLineBlock + 1);
    for (std::size_t at = 0; at < bytes.size(); at += kLineBlock) {
        lines.endsBefore.push_back(lines.ends);
        const std::string_view block = bytes.substr(at, kLineBlock);
        lines.ends += static_cast<std::uint64_t>(std::count(block.begin(), block.end(), '\n'));
    }
    return lines;
}

std::uint64_t lineAt(const LineIndex& lines, std::size_t offset) {
    offset = std::min(offset, lines.bytes.size());
    const std::size_t block = offset / kLineBlock;
    if (block >= lines.endsBefore.size()) {
        return lines.ends + 1;
    }
    const std::string_view before =
        lines.bytes.substr(block * kLineBlock, offset - block * kLineBlock);
    return lines.endsBefore[block] +
           static_cast<std::uint64_t>(std::count(before.begin(), before.end(), '\n')) + 1;
}

std::uint64_t lastLine(const LineIndex& lines) {
    return lines.ends + 1;
}

std::string_view lineText(std::string_view bytes, const LineIndex& lines, std::uint64_t line) {
    if (line == 0 || line > lines.ends + 1) {
        return {};
    }
    // The line begins after line - 1 line ends, counted from the last block before which
    // there are fewer.
    const std::uint64_t endsBefore = line - 1;
    const auto after =
        std::lower_bound(lines.endsBefore.begin(), lines.endsBefore.end(), endsBefore);
    std::size_t start = 0;
    if (after != lines.endsBefore.begin()) {
        const auto block = static_cast<std::size_t>(after - lines.endsBefore.begin() - 1);
        start = block * kLineBlock;
        for (std::uint64_t seen = lines.endsBefore[block]; seen < endsBefore; ++seen) {
            start = bytes.find('\n', start) + 1;
        }
    }
    std::size_t end = std::min(bytes.find('\n', start), bytes.size());
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
    // A reason may quote the file (a member's name, an element's text): it is escaped too.
    std::string message = "*** BAD ";
    message.append(format);
    message += " FILE *** ";
    message.append(escapedText(fileName));
    if (line != 0) {
        message += " line " + std::to_string(line);
    }
    message += ": ";
    if (text.empty()) {
        message.append(escapedText(reason));
        return message;
    }
    message += '"' + displayableLine(text) + "\" (";
    message.append(escapedText(reason));
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
