// Text from a file or a library as a console shows it: a message must not garble the
// terminal or bury itself under a runaway line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Control bytes as '?', at most maxCharacters UTF-8 characters, then "...".
std::string displayableText(std::string_view text, std::size_t maxCharacters);
