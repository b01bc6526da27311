// The lines of a line format: byte-order mark, CR LF, comments, the longest line read.
#include "input/line_text.h"

#include "route/displayable_text.h"

#include <algorithm>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

bool isBlankCharacter(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Editors on other systems leave a byte-order mark or CR LF line ends; neither is part of
// the planner's data.
bool nextLine(std::string_view bytes, LineCursor& cursor, TextLine& line) {
    if (cursor.next >= bytes.size()) {
        return false;
    }
    const std::size_t start = cursor.next;
    const std::size_t end = bytes.find('\n', start);
    const std::size_t stop = end == std::string_view::npos ? bytes.size() : end;
    cursor.next = end == std::string_view::npos ? bytes.size() : end + 1;
    ++cursor.number;
    std::string_view text = bytes.substr(start, stop - start);
    line.tooLong = text.size() > kMaxLineBytes;
    if (cursor.number == 1 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    line.text = text;
    line.number = cursor.number;
    return true;
}

// Blank lines and '#' comments let a planner lay out and annotate a survey.
bool isSkippedLine(std::string_view text) {
    for (char c : text) {
        if (!isBlankCharacter(c)) {
            return c == '#';
        }
    }
    return true;
}

std::optional<TextLine> firstSignificantLine(std::string_view bytes) {
    LineCursor cursor;
    TextLine line;
    while (nextLine(bytes, cursor, line)) {
        if (!isSkippedLine(line.text)) {
            return line;
        }
    }
    return std::nullopt;
}

LeadingKind leadingKind(std::string_view content, std::size_t from) {
    std::string_view rest = content.substr(std::min(from, content.size()));
    if (from == 0) {
        if (rest.size() < kByteOrderMark.size() && kByteOrderMark.substr(0, rest.size()) == rest) {
            return LeadingKind::undecided;
        }
        if (rest.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            rest.remove_prefix(kByteOrderMark.size());
        }
    }
    for (char c : rest) {
        if (isBlankCharacter(c) || c == '\r' || c == '\n') {
            continue;
        }
        return c == '<' || c == '{' || c == '[' ? LeadingKind::document : LeadingKind::lines;
    }
    return LeadingKind::undecided;
}

// A bad line is echoed so the planner can find it; control bytes would garble the
// console, and a runaway line (a binary file, say) would bury the message.
std::string displayableLine(std::string_view line) {
    constexpr std::size_t kMaxCharacters = 80;
    return displayableText(line, kMaxCharacters);
}
