// tavra's own reader of a number in a waypoint or area file: finite decimal numbers only.
#include "input/strict_number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t digitsFrom(std::string_view text, std::size_t at) {
    std::size_t count = 0;
    while (at + count < text.size() && isDigit(text[at + count])) {
        ++count;
    }
    return count;
}

// [sign] (digits [. [digits]] | . digits) [(e|E) [sign] digits], the whole text.
bool isDecimalSpelling(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const std::size_t whole = digitsFrom(text, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = digitsFrom(text, at + 1);
        at += 1 + fraction;
    }
    if (whole == 0 && fraction == 0) {
        return false;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            ++at;
        }
        const std::size_t exponent = digitsFrom(text, at);
        if (exponent == 0) {
            return false;
        }
        at += exponent;
    }
    return at == text.size();
}

} // namespace

bool readStrictNumber(std::string_view text, double& value) {
    if (!isDecimalSpelling(text)) {
        return false;
    }
    // from_chars takes no plus sign, and the spelling is known to be whole.
    std::string_view digits = text.front() == '+' ? text.substr(1) : text;
    double read = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), read);
    if (error == std::errc{} && end == digits.data() + digits.size() && std::isfinite(read)) {
        value = read;
        return true;
    }
    if (error != std::errc::result_out_of_range) {
        return false;
    }
    // Out of range is too large or too small; strtod tells which and gives the nearest
    // value of a tiny one. The spelling is plain decimal, which strtod reads alike.
    const std::string copy(digits);
    const double nearest = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(nearest)) {
        return false;
    }
    value = nearest;
    return true;
}

std::string shortestNumberText(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}
