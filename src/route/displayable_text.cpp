// Text from a file or a library as a console shows it.
#include "route/displayable_text.h"

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
        shown += (byte < 0x20 || byte == 0x7f) ? '?' : c;
    }
    return shown;
}
