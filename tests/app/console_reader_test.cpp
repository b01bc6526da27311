// Tests of the dialogue's scanf-like reads: what each takes, stores and leaves behind.
#include "app/console_reader.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace {

std::string rest(std::istream& in) {
    std::string left;
    char c = 0;
    while (in.get(c)) {
        left.push_back(c);
    }
    return left;
}

struct IntCase {
    const char* input;
    ScanResult result;
    std::int32_t value; // the value found, or the untouched start value
    const char* left;
};

TEST(ConsoleReader, IntReadsLikeScanf) {
    const IntCase cases[] = {
        {"  \n\t 42\nx", ScanResult::value, 42, "\nx"},
        {"+7 8", ScanResult::value, 7, " 8"},
        {"-12abc", ScanResult::value, -12, "abc"},
        {"0007\n", ScanResult::value, 7, "\n"},
        {"1.5\n", ScanResult::value, 1, ".5\n"},
        {"x1\n", ScanResult::noNumber, -99, "x1\n"},
        // a sign without digits stays consumed
        {"-x\n", ScanResult::noNumber, -99, "x\n"},
        {"- 5", ScanResult::noNumber, -99, " 5"},
        {"2147483647", ScanResult::value, 2147483647, ""},
        {"-2147483648", ScanResult::value, std::numeric_limits<std::int32_t>::min(), ""},
        // beyond the 32-bit range the value is clamped, never wrapped
        {"2147483648\n", ScanResult::value, 2147483647, "\n"},
        {"99999999999999999999999", ScanResult::value, 2147483647, ""},
        {"-99999999999999999999999", ScanResult::value, std::numeric_limits<std::int32_t>::min(),
         ""},
        {"", ScanResult::endOfInput, -99, ""},
        {" \n \r\n", ScanResult::endOfInput, -99, ""},
        {"\n-", ScanResult::endOfInput, -99, ""},
    };
    for (const IntCase& c : cases) {
        std::istringstream in(c.input);
        std::int32_t value = -99;
        EXPECT_EQ(readInt(in, value), c.result) << c.input;
        EXPECT_EQ(value, c.value) << c.input;
        EXPECT_EQ(rest(in), c.left) << c.input;
    }
}

struct DoubleCase {
    const char* input;
    ScanResult result;
    double value; // exact: every value here is representable
    const char* left;
};

TEST(ConsoleReader, DoubleReadsLikeScanf) {
    const DoubleCase cases[] = {
        {" \n 2.25\n", ScanResult::value, 2.25, "\n"},
        {"-.5x", ScanResult::value, -0.5, "x"},
        {"5.\n", ScanResult::value, 5.0, "\n"},
        {"+1e3\n", ScanResult::value, 1000.0, "\n"},
        {"25E-1 ", ScanResult::value, 2.5, " "},
        {"1.5.3", ScanResult::value, 1.5, ".3"},
        // an exponent mark without digits is consumed and ignored
        {"1e\n", ScanResult::value, 1.0, "\n"},
        {"1e+x", ScanResult::value, 1.0, "x"},
        {"0x1.8p1\n", ScanResult::value, 3.0, "\n"},
        {"0x10 ", ScanResult::value, 16.0, " "},
        {"0xg", ScanResult::noNumber, -99.0, "g"},
        {".x", ScanResult::noNumber, -99.0, "x"},
        {"-y", ScanResult::noNumber, -99.0, "y"},
        {"abc", ScanResult::noNumber, -99.0, "abc"},
        {"inx", ScanResult::noNumber, -99.0, "x"},
        {"infinitx", ScanResult::noNumber, -99.0, "x"},
        {"", ScanResult::endOfInput, -99.0, ""},
        {"\n\n", ScanResult::endOfInput, -99.0, ""},
        {"-.", ScanResult::endOfInput, -99.0, ""},
    };
    for (const DoubleCase& c : cases) {
        std::istringstream in(c.input);
        double value = -99.0;
        EXPECT_EQ(readDouble(in, value), c.result) << c.input;
        EXPECT_EQ(value, c.value) << c.input;
        EXPECT_EQ(rest(in), c.left) << c.input;
    }
}

TEST(ConsoleReader, DoubleReadsInfinityAndNan) {
    std::istringstream in("inf -Infinity\nINFx nan\n1e999\n");
    double value = 0.0;
    ASSERT_EQ(readDouble(in, value), ScanResult::value);
    EXPECT_EQ(value, std::numeric_limits<double>::infinity());
    ASSERT_EQ(readDouble(in, value), ScanResult::value);
    EXPECT_EQ(value, -std::numeric_limits<double>::infinity());
    ASSERT_EQ(readDouble(in, value), ScanResult::value);
    EXPECT_EQ(value, std::numeric_limits<double>::infinity());
    EXPECT_EQ(in.get(), 'x');
    ASSERT_EQ(readDouble(in, value), ScanResult::value);
    EXPECT_TRUE(std::isnan(value));
    ASSERT_EQ(readDouble(in, value), ScanResult::value);
    EXPECT_EQ(value, std::numeric_limits<double>::infinity());
}

TEST(ConsoleReader, CharTakesTheVeryNextCharacter) {
    std::istringstream in(" \ny");
    char c = '0';
    ASSERT_EQ(readChar(in, c), ScanResult::value);
    EXPECT_EQ(c, ' ');
    ASSERT_EQ(readChar(in, c), ScanResult::value);
    EXPECT_EQ(c, '\n');
    discardOneChar(in);
    EXPECT_EQ(readChar(in, c), ScanResult::endOfInput);
    EXPECT_EQ(c, '\n');
    discardOneChar(in); // nothing left to drop: no harm
}

TEST(ConsoleReader, WholeLineKeepsBlanksAndDropsTheLineEnd) {
    std::istringstream in(" my file.txt \r\n\nlast\rline");
    std::string line;
    ASSERT_TRUE(readWholeLine(in, line));
    EXPECT_EQ(line, " my file.txt ");
    ASSERT_TRUE(readWholeLine(in, line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(readWholeLine(in, line));
    EXPECT_EQ(line, "last\rline");
    EXPECT_FALSE(readWholeLine(in, line));
    EXPECT_EQ(line, "");
}

} // namespace
