// Output file stems from UTC calendar times.
#include "output/output_name.h"

#include <cstdint>
#include <ctime>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

// Seconds since 1970 for a UTC calendar time, counted by hand so that the test needs no
// platform call that takes a broken-down UTC time.
std::time_t utcTime(std::int64_t year, int month, int day, int hour, int minute) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = era * 146097 + dayOfEra - 719468;
    return static_cast<std::time_t>(days * 86400 + hour * 3600 + minute * 60);
}

} // namespace

TEST(OutputName, StemCarriesYearDayHourMinuteWithoutLeadingZeros) {
    EXPECT_EQ(makeOutputBaseName(utcTime(2020, 7, 8, 15, 5)), "2020_189_155.");
    EXPECT_EQ(makeOutputBaseName(utcTime(2020, 7, 8, 15, 50)), "2020_189_1550.");
    EXPECT_EQ(makeOutputBaseName(utcTime(2020, 7, 8, 1, 55)), "2020_189_155.");
    EXPECT_EQ(makeOutputBaseName(utcTime(2021, 1, 1, 0, 0)), "2021_0_00.");
    EXPECT_EQ(makeOutputBaseName(utcTime(2020, 1, 1, 10, 0)), "2020_0_100.");
    EXPECT_EQ(makeOutputBaseName(utcTime(2019, 2, 3, 9, 7)), "2019_33_97.");
    EXPECT_EQ(makeOutputBaseName(utcTime(2019, 12, 31, 23, 59)), "2019_364_2359.");
    EXPECT_EQ(makeOutputBaseName(utcTime(2020, 12, 31, 23, 59)), "2020_365_2359.");
    // Seconds play no part.
    EXPECT_EQ(makeOutputBaseName(utcTime(2020, 7, 8, 15, 5) + 59), "2020_189_155.");
    EXPECT_EQ(makeOutputBaseName(utcTime(2020, 7, 8, 15, 5) + 60), "2020_189_156.");
}

TEST(OutputName, ClockNowGivesAStemAndUnbreakableTimeNone) {
    const std::string stem = makeOutputBaseName();
    ASSERT_GE(stem.size(), 9u);
    EXPECT_EQ(stem.find_first_not_of("0123456789_."), std::string::npos);
    EXPECT_EQ(stem.back(), '.');
    EXPECT_EQ(makeOutputBaseName(std::numeric_limits<std::time_t>::max()), "");
}
