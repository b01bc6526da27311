// Exact, locale-free number texts and the real-to-integer conversions of the outputs.
#include "output/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace {

// printf takes a negative precision as if none were given.
constexpr int kDefaultDecimals = 6;
// The outputs use at most four decimals; the cap only bounds the buffer below.
constexpr int kMaxDecimals = 100;
// The largest double has 309 integer digits; with sign, point and kMaxDecimals decimals
// the text stays well inside this.
constexpr std::size_t kFixedBufferBytes = 512;

std::int32_t saturatedInt(double whole) {
    if (std::isnan(whole)) {
        return 0;
    }
    if (whole >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (whole <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(whole);
}

} // namespace

void appendFixed(std::string& out, double value, int decimals) {
    // Spelled as glibc's printf spells them, so that files match whatever the platform.
    if (std::isnan(value)) {
        out += std::signbit(value) ? "-nan" : "nan";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-inf" : "inf";
        return;
    }
    int precision = decimals < 0 ? kDefaultDecimals : decimals;
    if (precision > kMaxDecimals) {
        precision = kMaxDecimals;
    }
    std::array<char, kFixedBufferBytes> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, precision);
    if (error == std::errc{}) {
        out.append(buffer.data(), end);
    }
}

void appendInt(std::string& out, std::int64_t value) {
    std::array<char, 24> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error == std::errc{}) {
        out.append(buffer.data(), end);
    }
}

std::int32_t roundedToInt(double value) {
    // nearbyint rounds halfway cases to even in the default rounding mode, which the
    // program never changes.
    return saturatedInt(std::nearbyint(value));
}

std::int32_t truncatedToInt(double value) {
    return saturatedInt(std::trunc(value));
}

DegreesMinutes degreesMinutes(double value) {
    const double degrees = std::trunc(value);
    const long double minutes = std::fabs(static_cast<long double>(value) - degrees) * 60.0L;
    return {degrees, static_cast<double>(minutes)};
}
