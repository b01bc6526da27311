// The lines of a line format (plain, CSV): byte-order mark, CR LF, comments, the longest
// line read, and a line as a message shows it.
#pragma once

#include "route/displayable_text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A longer line is refused: no waypoint file needs one, and a file without line ends
// (a device, a binary file) must not be held in memory whole to find that out.
constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

struct TextLine {
    std::string_view text;    // without its line end, a CR before it, or a leading BOM
    std::uint64_t number = 0; // 1-based
    bool tooLong = false;     // longer than kMaxLineBytes, as it stands in the file
};

// Where the next line begins; start at {} for the first.
struct LineCursor {
    std::size_t next = 0;
    std::uint64_t number = 0;
};

// The next line of bytes; false after the last. A last line without a line end still
// counts, and a line end at the very end makes no empty line after it.
bool nextLine(std::string_view bytes, LineCursor& cursor, TextLine& line);

// Blank lines and lines whose first non-blank character is '#' hold no data.
bool isSkippedLine(std::string_view text);

// The first line that is neither blank nor a comment.
std::optional<TextLine> firstSignificantLine(std::string_view bytes);

// A blank between the numbers of a line: space, tab, vertical tab, form feed.
bool isBlankCharacter(char c);

// How the content begins: a document (XML or JSON, which may have long lines), lines, or
// not known yet because only a byte-order mark and white space have arrived. The bytes
// before from are white space already looked at (from 0 takes a byte-order mark).
enum class LeadingKind { undecided, document, lines };
LeadingKind leadingKind(std::string_view content, std::size_t from = 0);

// The line as a message shows it: control characters escaped as escapedText does, at most
// 80 characters, then "...".
std::string displayableLine(std::string_view line);
