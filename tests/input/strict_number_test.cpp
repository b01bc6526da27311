// Tests of tavra's own number reader: finite decimal numbers, and nothing else, ever as 0.
#include "input/strict_number.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

TEST(StrictNumber, DecimalNumbersAreRead) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"36.8167", 36.8167}, {"-121.8171", -121.8171},
        {"+5", 5.0},          {".5", 0.5},
        {"5.", 5.0},          {"-.25", -0.25},
        {"1e3", 1000.0},      {"1E-3", 0.001},
        {"2.5e+1", 25.0},     {"007", 7.0},
        {"1e-320", 1e-320},
    };
    for (const auto& c : cases) {
        double value = -1.0;
        EXPECT_TRUE(readStrictNumber(c.text, value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    double zero = 1.0;
    ASSERT_TRUE(readStrictNumber("-0", zero));
    EXPECT_TRUE(zero == 0.0 && std::signbit(zero));
    // Too small for a double is 0 in fact, not a bad number.
    double tiny = 1.0;
    ASSERT_TRUE(readStrictNumber("1e-400", tiny));
    EXPECT_EQ(tiny, 0.0);
}

TEST(StrictNumber, AnythingElseIsRefusedAndLeavesTheValue) {
    for (const char* text :
         {"",      " 1",    "1 ",     "abc", "nan", "NaN",   "inf",     "-Infinity", "0x10",
          "0x1p3", "1e999", "-1e400", "1e",  "1e+", "--1",   "+-1",     "1.2.3",     "1,5",
          ".",     "-",     "+",      "e5",  "1d",  "36.8N", "\xD9\xA1"}) {
        double value = 42.0;
        EXPECT_FALSE(readStrictNumber(text, value)) << text;
        EXPECT_EQ(value, 42.0) << text;
    }
    double value = 42.0;
    EXPECT_FALSE(readStrictNumber(std::string("1\0", 2), value));
}

TEST(StrictNumber, ShortestTextReadsBack) {
    EXPECT_EQ(shortestNumberText(36.815), "36.815");
    EXPECT_EQ(shortestNumberText(-121.0), "-121");
    EXPECT_EQ(shortestNumberText(90.01), "90.01");
}
