// Text from a file or a library as a console shows it: a message must not garble the
// terminal or bury itself under a runaway line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Control characters escaped (\\n, \\r, \\t or \\xHH), at most maxCharacters UTF-8
// characters, then "...".
std::string displayableText(std::string_view text, std::size_t maxCharacters);

// Text from the planner or a file as a message shows it, whole, control characters escaped,
// so that nothing printed can act on the console.
std::string escapedText(std::string_view text);
