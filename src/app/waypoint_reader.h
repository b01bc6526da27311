// Reads the waypoint file: one "latitude longitude" pair in decimal degrees per line.
#pragma once

#include "route/waypoint_list.h"

#include <cstdint>
#include <istream>
#include <string>

struct ReadResult {
    bool ok = true;
    std::uint64_t badLineNumber = 0; // 1-based, when !ok
    std::string badLineText;         // the line as found, without its line end
};

// Appends one node per waypoint line. Blank lines and lines whose first non-blank
// character is '#' are skipped; a UTF-8 byte-order mark and a CR before the line end
// are accepted. Any other line must begin with two finite numbers; the first line
// that does not stops the reading.
ReadResult readWaypoints(std::istream& in, WaypointList& list);
