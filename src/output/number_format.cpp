// Exact, locale-free number texts and the real-to-integer conversions of the outputs.
#include "output/number_format.h"

#include <array>
#include <bit>
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

// The direct path below covers the decimals the outputs use and any value they can hold.
constexpr int kDirectMaxDecimals = 4;
constexpr double kDirectMaxMagnitude = 1099511627776.0; // 2^40
constexpr std::uint64_t kPowersOfFive[] = {1, 5, 25, 125, 625};

constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324"
                               "25262728293031323334353637383940414243444546474849"
                               "50515253545556575859606162636465666768697071727374"
                               "75767778798081828384858687888990919293949596979899";

// Puts the two digits of pair (below 100) in front of start.
char* putTwoDigits(char* start, std::uint64_t pair) {
    start -= 2;
    start[0] = kDigitPairs[2 * pair];
    start[1] = kDigitPairs[2 * pair + 1];
    return start;
}

// Writes |value| with up to four decimals straight from its binary form, for finite values
// below 2^40. A double is m * 2^e exactly, so value * 10^d = m * 5^d * 2^(e + d): with m
// below 2^53 and 5^4 = 625 below 2^10 the product fits 64 bits, and the shift leaves the
// whole part and the bits that decide the rounding, halfway cases to the even neighbour.
// This gives printf's digits without its cost, which millions of route points add up.
void appendFixedDirect(std::string& out, double value, int decimals) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto biasedExponent = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074; // subnormals and zero
    if (biasedExponent != 0) {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biasedExponent - 1075;
    }
    const std::uint64_t scaled = mantissa * kPowersOfFive[decimals];
    // Below 2^40 the exponent is at most -13, so the shift is at least 9.
    const int shift = -(exponent + decimals);
    std::uint64_t units = 0; // |value| * 10^decimals, rounded
    if (shift < 64) {
        units = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (units & 1) != 0)) {
            ++units;
        }
    }
    // else: scaled is below 2^63, less than half a unit, so the value rounds to zero.

    // Written from the right, two digits a step: the whole part, as long as it is, and the
    // decimals, zero-padded. The divisions are by constants, which compile to multiplications.
    std::uint64_t whole = units;
    std::uint64_t fraction = 0;
    switch (decimals) {
    case 1:
        whole = units / 10;
        fraction = units % 10;
        break;
    case 2:
        whole = units / 100;
        fraction = units % 100;
        break;
    case 3:
        whole = units / 1000;
        fraction = units % 1000;
        break;
    case 4:
        whole = units / 10000;
        fraction = units % 10000;
        break;
    default:
        break;
    }
    std::array<char, 40> buffer;
    char* end = buffer.data() + buffer.size();
    char* start = end;
    if (decimals > 0) {
        int left = decimals;
        for (; left >= 2; left -= 2) {
            start = putTwoDigits(start, fraction % 100);
            fraction /= 100;
        }
        if (left == 1) {
            *--start = static_cast<char>('0' + fraction);
        }
        *--start = '.';
    }
    while (whole >= 100) {
        start = putTwoDigits(start, whole % 100);
        whole /= 100;
    }
    if (whole >= 10) {
        start = putTwoDigits(start, whole);
    } else {
        *--start = static_cast<char>('0' + whole);
    }
    if (std::signbit(value)) {
        *--start = '-';
    }
    out.append(start, static_cast<std::size_t>(end - start));
}

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

bool appendNonFinite(std::string& out, double value) {
    // Spelled as glibc's printf spells them, so that files match whatever the platform.
    if (std::isnan(value)) {
        out += std::signbit(value) ? "-nan" : "nan";
        return true;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-inf" : "inf";
        return true;
    }
    return false;
}

void appendFixed(std::string& out, double value, int decimals) {
    if (appendNonFinite(out, value)) {
        return;
    }
    int precision = decimals < 0 ? kDefaultDecimals : decimals;
    if (precision > kMaxDecimals) {
        precision = kMaxDecimals;
    }
    if (precision <= kDirectMaxDecimals && std::fabs(value) < kDirectMaxMagnitude) {
        appendFixedDirect(out, value, precision);
        return;
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

double readBackFixed(double value, int decimals) {
    std::string text;
    appendFixed(text, value, decimals);
    double back = value;
    std::from_chars(text.data(), text.data() + text.size(), back);
    return back;
}
