// Reads the dialogue's answers from a stream the way the console's formatted scanning does.
#include "app/console_reader.h"

#include <cstdlib>
#include <limits>
#include <string_view>

namespace {

using Traits = std::istream::traits_type;

bool isBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isSign(char c) {
    return c == '+' || c == '-';
}
char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Skips blanks and line ends; false when the stream ends first.
bool skipBlanks(std::istream& in) {
    for (;;) {
        const int c = in.peek();
        if (c == Traits::eof()) {
            return false;
        }
        if (!isBlank(c)) {
            return true;
        }
        in.get();
    }
}

// Moves the next character into text if accept takes it; a refused character stays in the
// stream, as the console's one character of push-back leaves it.
template <class Accept> bool takeIf(std::istream& in, std::string& text, Accept accept) {
    const int c = in.peek();
    if (c == Traits::eof() || !accept(Traits::to_char_type(c))) {
        return false;
    }
    text.push_back(Traits::to_char_type(in.get()));
    return true;
}

template <class Accept> std::size_t takeAll(std::istream& in, std::string& text, Accept accept) {
    std::size_t taken = 0;
    while (takeIf(in, text, accept)) {
        ++taken;
    }
    return taken;
}

bool takeLetter(std::istream& in, std::string& text, char wanted) {
    return takeIf(in, text, [wanted](char c) { return lower(c) == wanted; });
}

// Takes the letters of word one by one, ignoring case; stops at the first that differs.
bool takeWord(std::istream& in, std::string& text, std::string_view word) {
    for (const char letter : word) {
        if (!takeLetter(in, text, letter)) {
            return false;
        }
    }
    return true;
}

// A read that found no number: whether the user can still be asked depends on whether
// anything is left to read.
ScanResult noNumberOrEnd(std::istream& in) {
    return in.peek() == Traits::eof() ? ScanResult::endOfInput : ScanResult::noNumber;
}

// An exponent mark with nothing after it is consumed but does not spoil the number before
// it, as on the console; it is cut off again so that the conversion sees a whole number.
void takeExponent(std::istream& in, std::string& text, char mark) {
    const std::size_t markAt = text.size();
    if (!takeLetter(in, text, mark)) {
        return;
    }
    takeIf(in, text, isSign);
    if (takeAll(in, text, isDigit) == 0) {
        text.resize(markAt);
    }
}

// The digits of a real after its sign; false when they do not form a number.
bool takeRealBody(std::istream& in, std::string& text) {
    const int first = in.peek();
    if (first == 'i' || first == 'I') {
        if (!takeWord(in, text, "inf")) {
            return false;
        }
        const int next = in.peek();
        return (next != 'i' && next != 'I') || takeWord(in, text, "inity");
    }
    if (first == 'n' || first == 'N') {
        return takeWord(in, text, "nan");
    }

    std::size_t digits = 0;
    if (takeIf(in, text, [](char c) { return c == '0'; })) {
        ++digits;
        if (takeLetter(in, text, 'x')) {
            std::size_t hexDigits = takeAll(in, text, isHexDigit);
            if (takeIf(in, text, [](char c) { return c == '.'; })) {
                hexDigits += takeAll(in, text, isHexDigit);
            }
            if (hexDigits == 0) {
                return false;
            }
            takeExponent(in, text, 'p');
            return true;
        }
    }
    digits += takeAll(in, text, isDigit);
    if (takeIf(in, text, [](char c) { return c == '.'; })) {
        digits += takeAll(in, text, isDigit);
    }
    if (digits == 0) {
        return false;
    }
    takeExponent(in, text, 'e');
    return true;
}

} // namespace

ScanResult readInt(std::istream& in, std::int32_t& value) {
    if (!skipBlanks(in)) {
        return ScanResult::endOfInput;
    }
    std::string text;
    takeIf(in, text, isSign);
    const bool negative = !text.empty() && text[0] == '-';

    // Counting stops just past the 32-bit range, so no digit string can overflow it.
    constexpr std::int64_t beyondRange = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    std::string digits;
    if (takeAll(in, digits, isDigit) == 0) {
        return noNumberOrEnd(in);
    }
    for (const char digit : digits) {
        magnitude = magnitude * 10 + (digit - '0');
        if (magnitude > beyondRange) {
            magnitude = beyondRange;
        }
    }
    if (negative) {
        value = static_cast<std::int32_t>(-magnitude);
    } else {
        value =
            static_cast<std::int32_t>(magnitude > std::numeric_limits<std::int32_t>::max()
                                          ? std::int64_t{std::numeric_limits<std::int32_t>::max()}
                                          : magnitude);
    }
    return ScanResult::value;
}

ScanResult readDouble(std::istream& in, double& value) {
    if (!skipBlanks(in)) {
        return ScanResult::endOfInput;
    }
    std::string text;
    takeIf(in, text, isSign);
    if (!takeRealBody(in, text)) {
        return noNumberOrEnd(in);
    }
    // The text is a complete number by now, so the conversion takes all of it; out of range
    // it gives infinity or zero, as the console does.
    value = std::strtod(text.c_str(), nullptr);
    return ScanResult::value;
}

ScanResult readChar(std::istream& in, char& value) {
    const int c = in.get();
    if (c == Traits::eof()) {
        return ScanResult::endOfInput;
    }
    value = Traits::to_char_type(c);
    return ScanResult::value;
}

void discardOneChar(std::istream& in) {
    in.get();
}

bool readWholeLine(std::istream& in, std::string& line) {
    line.clear();
    for (;;) {
        const int c = in.get();
        if (c == Traits::eof()) {
            return !line.empty();
        }
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return true;
        }
        line.push_back(Traits::to_char_type(c));
    }
}
