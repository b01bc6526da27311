// Text from a file or a library as a console shows it.
#include "route/displayable_text.h"

#include <limits>

namespace {

// A control character would move the cursor, clear the screen or forge a line of its own on
// the planner's console: it is shown as its escape instead.
void appendEscaped(std::string& shown, char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7f) {
        shown += c;
        return;
    }
    switch (c) {
    case '\n':
        shown += "\\n";
        return;
    case '\r':
        shown += "\\r";
        return;
    case '\t':
        shown += "\\t";
        return;
    default:
        break;
    }
    constexpr char kHex[] = "0123456789abcdef";
    shown += "\\x";
    shown += kHex[byte >> 4];
    shown += kHex[byte & 0xF];
}

} // namespace

std::string displayableText(std::string_view text, std::size_t maxCharacters) {
    std::string shown;
    std::size_t characters = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool continuesCharacter = (byte & 0xC0) == 0x80; // inside a UTF-8 sequence
        if (!continuesCharacter) {
            if (characters == maxCharacters) {
                shown += "...";
                return shown;
            }
            ++characters;
        }
        appendEscaped(shown, c);
    }
    return shown;
}

std::string escapedText(std::string_view text) {
    return displayableText(text, std::numeric_limits<std::size_t>::max());
}
