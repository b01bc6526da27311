// The plain waypoint format: one position per line, latitude then longitude, in decimal
// degrees or in degrees and minutes with hemisphere letters or marks.
#pragma once

#include "input/source_document.h"

#include <string>
#include <string_view>

// Reads the whole file as one route. Blank lines and lines whose first non-blank
// character is '#' are skipped; a UTF-8 byte-order mark and a CR before the line end are
// accepted. Any other line must begin with a position: two finite numbers (text after
// them is ignored), or degrees and minutes. The first line that does not, or that is
// longer than kMaxLineBytes, stops the reading with a message naming the file, the line
// and its text. A line that holds more than two numbers before any other text is read
// as its first two, with a note that it may be degrees and minutes without letters.
DocumentResult readPlain(std::string_view bytes, const std::string& fileName);

// Whether the line begins with a position the plain format reads.
bool isPlainPosition(std::string_view line);
