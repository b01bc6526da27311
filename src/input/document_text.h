// What the readers of the GIS formats share: the line of a byte in the file, coordinates
// read strictly, and refusals that name the file, the line and the text found there.
#pragma once

#include "input/source_document.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The line ends of a file counted block by block, so that a byte offset becomes a 1-based
// line number by counting within one block only. A start kept for every line would take
// eight times the size of a file of empty lines.
struct LineIndex {
    std::string_view bytes;
    std::vector<std::uint64_t> endsBefore; // line ends before each block of kLineBlock bytes
    std::uint64_t ends = 0;                // line ends in the file
};

inline constexpr std::size_t kLineBlock = 512;

LineIndex indexLines(std::string_view bytes);

// The 1-based line that holds the byte at offset.
std::uint64_t lineAt(const LineIndex& lines, std::size_t offset);

// The number of the last line.
std::uint64_t lastLine(const LineIndex& lines);

// The text of the 1-based line, without its line end.
std::string_view lineText(std::string_view bytes, const LineIndex& lines, std::uint64_t line);

enum class Axis { latitude, longitude };

// A coordinate in decimal degrees within its range (latitude -90..90, longitude
// -180..180), as the GIS formats define them; empty when it is sound, else why it is not.
std::string checkCoordinate(Axis axis, double value);

// Reads text as a coordinate with tavra's strict number reader: empty when it is sound,
// else why it is refused.
std::string readCoordinate(std::string_view text, Axis axis, double& value);

// The one message that stops a read, e.g.
//   *** BAD GPX FILE *** route.gpx line 12: "abc" (latitude must be a decimal number)
// The line is left out where it is 0 (unknown); without text, the reason stands alone:
//   *** BAD GPKG FILE *** survey.gpkg: layer "lines" has no coordinate reference system
std::string documentRefusal(std::string_view format, std::string_view fileName, std::uint64_t line,
                            std::string_view text, std::string_view reason);

// Blanks, tabs and line ends around text removed.
std::string_view trimmedText(std::string_view text);

// " (part k of n)" after a name when one feature of the file holds several candidates.
std::string featurePartName(const std::string& name, std::size_t part, std::size_t parts);

// A polygon ring as GeoJSON and KML write it, closed (its last position repeats the first),
// made a ring without the repeated vertex; empty when it is sound, else why it is refused.
std::string openClosedRing(std::vector<SourcePoint>& ring);

// The formats this build reads ("plain text, CSV, GPX, KML and GeoJSON"), for the one line
// that refuses a format it was built without.
std::string formatsThisBuildReads();
