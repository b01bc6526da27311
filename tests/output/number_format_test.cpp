// Number texts against the C library's printf, and the real-to-integer conversions.
#include "output/number_format.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string fixed(double value, int decimals) {
    std::string text;
    appendFixed(text, value, decimals);
    return text;
}

std::string printfFixed(double value, int decimals) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

} // namespace

TEST(NumberFormat, FixedRoundsTheBinaryValueTiesToEvenAndKeepsNegativeZero) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {{0.5, 0, "0"},      {1.5, 0, "2"},         {2.5, 0, "2"},
                 {0.125, 2, "0.12"}, {0.375, 2, "0.38"},    {2.675, 2, "2.67"},
                 {0.05, 1, "0.1"},   {0.15, 1, "0.1"},      {1.5, 3, "1.500"},
                 {-0.0, 1, "-0.0"},  {-0.0, 0, "-0"},       {-1e-10, 4, "-0.0000"},
                 {kNan, 1, "nan"},   {-kNan, 1, "-nan"},    {kInf, 4, "inf"},
                 {-kInf, 0, "-inf"}, {5e-324, 4, "0.0000"}, {-121.82244295225705, 4, "-121.8224"}};
    for (const auto& c : cases) {
        EXPECT_EQ(fixed(c.value, c.decimals), c.text) << c.value;
    }
    EXPECT_EQ(fixed(1e308, 4).size(), 309u + 5u);
}

TEST(NumberFormat, FixedMatchesPrintf) {
    for (double value : {1e308, -std::numeric_limits<double>::max(), 2.2250738585072014e-308,
                         0.00005, 9.99995, 123456789.123456789, 4503599627370496.5, 1e23}) {
        for (int decimals : {0, 1, 4, 20}) {
            EXPECT_EQ(fixed(value, decimals), printfFixed(value, decimals)) << value;
        }
    }
    std::mt19937_64 random(20200708);
    std::uniform_real_distribution<double> exponent(-8.0, 12.0);
    for (int i = 0; i < 20000; ++i) {
        const double value = (i % 2 == 0 ? 1 : -1) * std::pow(10.0, exponent(random));
        ASSERT_EQ(fixed(value, i % 7), printfFixed(value, i % 7)) << value;
        // The four-decimal rounding boundaries themselves.
        const double boundary = std::round(value * 1e4) / 1e4 + 0.00005;
        ASSERT_EQ(fixed(boundary, 4), printfFixed(boundary, 4)) << boundary;
    }
}

// Up to four decimals and below 2^40 the digits come straight from the binary value.
// A tie is exact in binary only where 5^decimals divides the numerator: 1/32 = 0.03125.
TEST(NumberFormat, FixedFromTheBinaryValueRoundsTiesToEven) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {{0.25, 1, "0.2"},
                 {0.75, 1, "0.8"},
                 {-0.25, 1, "-0.2"},
                 {0.0625, 3, "0.062"},
                 {0.1875, 3, "0.188"},
                 {0.03125, 4, "0.0312"},
                 {0.09375, 4, "0.0938"},
                 {-0.00004, 4, "-0.0000"},
                 {9.99995, 4, "10.0000"}, // a hair above the tie in binary, carried
                 {99.5, 0, "100"},
                 {1099511627774.5, 0, "1099511627774"},
                 {1099511627775.5, 0, "1099511627776"}, // the last value below 2^40
                 {1099511627776.5, 0, "1099511627776"}, // the first above, printed by the library
                 {-2.2250738585072014e-308, 4, "-0.0000"}};
    for (const auto& c : cases) {
        EXPECT_EQ(fixed(c.value, c.decimals), c.text) << c.value;
    }
}

TEST(NumberFormat, FixedMatchesPrintfAroundTheDirectRange) {
    std::mt19937_64 random(1099511627776);
    std::uniform_real_distribution<double> exponent(-1074.0, 45.0);
    for (int i = 0; i < 20000; ++i) {
        const double value = (i % 2 == 0 ? 1 : -1) * std::exp2(exponent(random));
        const double edge = std::nextafter(1099511627776.0, i % 3 == 0 ? 0.0 : 2e12) - i;
        for (int decimals = 0; decimals <= 5; ++decimals) {
            ASSERT_EQ(fixed(value, decimals), printfFixed(value, decimals)) << value;
            ASSERT_EQ(fixed(edge, decimals), printfFixed(edge, decimals)) << edge;
        }
    }
}

TEST(NumberFormat, IntWritesPlainDecimal) {
    std::string text;
    for (std::int64_t value : {std::int64_t{0}, std::int64_t{-42}, INT64_MIN}) {
        appendInt(text, value);
        text += ' ';
    }
    EXPECT_EQ(text, "0 -42 -9223372036854775808 ");
}

TEST(NumberFormat, ConversionsToIntRoundOrTruncateAndSaturate) {
    EXPECT_EQ(roundedToInt(2.5), 2);
    EXPECT_EQ(roundedToInt(3.5), 4);
    EXPECT_EQ(roundedToInt(359.5), 360);
    EXPECT_EQ(roundedToInt(0.5), 0);
    EXPECT_EQ(roundedToInt(0.4), 0);
    EXPECT_EQ(roundedToInt(-1.5), -2);
    EXPECT_EQ(roundedToInt(2147483647.5), INT32_MAX);
    EXPECT_EQ(roundedToInt(-kInf), INT32_MIN);
    EXPECT_EQ(roundedToInt(kNan), 0);
    EXPECT_EQ(truncatedToInt(779.99), 779);
    EXPECT_EQ(truncatedToInt(-779.99), -779);
    EXPECT_EQ(truncatedToInt(1e300), INT32_MAX);
    EXPECT_EQ(truncatedToInt(-2147483648.9), INT32_MIN);
    EXPECT_EQ(truncatedToInt(kNan), 0);
}

TEST(NumberFormat, DegreesMinutesKeepsTheSignInTheDegreesOnly) {
    const double tolerance = 1e-9; // minutes
    EXPECT_EQ(degreesMinutes(36.8167).degrees, 36.0);
    EXPECT_NEAR(degreesMinutes(36.8167).minutes, 49.002, tolerance);
    EXPECT_EQ(degreesMinutes(-121.8171).degrees, -121.0);
    EXPECT_NEAR(degreesMinutes(-121.8171).minutes, 49.026, tolerance);
    EXPECT_TRUE(std::signbit(degreesMinutes(-0.5).degrees));
    EXPECT_EQ(degreesMinutes(-0.5).minutes, 30.0);
    EXPECT_EQ(degreesMinutes(12.9999999).degrees, 12.0);
    EXPECT_NEAR(degreesMinutes(12.9999999).minutes, 59.999994, tolerance);
}
