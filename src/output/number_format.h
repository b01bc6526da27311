// Exact, locale-free number texts and the real-to-integer conversions of the outputs.
#pragma once

#include <cstdint>
#include <string>

// Appends value as printf's "%.<decimals>f" would: correctly rounded, ties to even on
// the exact binary value, a minus sign for negative values including -0.
void appendFixed(std::string& out, double value, int decimals);

// The value that appendFixed writes, read back as the nearest double: what a reader of the
// file gets, the files' rounding, ties and all. Non-finite values come back as they are.
double readBackFixed(double value, int decimals);

// For NaN and infinity, appends them as glibc's printf spells them ("nan", "-nan", "inf",
// "-inf") and returns true; for any finite value appends nothing and returns false.
bool appendNonFinite(std::string& out, double value);

// Appends value as printf's "%d" would.
void appendInt(std::string& out, std::int64_t value);

// Nearest integer, ties to even; saturates at the 32-bit range, NaN gives 0.
std::int32_t roundedToInt(double value);

// Toward zero; saturates at the 32-bit range, NaN gives 0.
std::int32_t truncatedToInt(double value);

struct DegreesMinutes {
    double degrees; // whole degrees, truncated toward zero, sign kept (-0 for -1 < v < 0)
    double minutes; // |v - degrees| * 60, never negative
};

DegreesMinutes degreesMinutes(double value);
