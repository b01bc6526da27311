// Tests of degrees and minutes: every spelling read with its value, every refusal with its
// reason, and the lines that keep their decimal meaning.
#include "input/degrees_minutes.h"
#include "input/plain_reader.h"

#include <gtest/gtest.h>
#include <string>

// Values are worked out by hand and compared exactly: the reader sums the parts in whole
// units of the last digit and divides once, so 36 48.9 is the double nearest to 36.815,
// as the literal is (48.9 / 60 = 0.815; 57.3 / 60 = 0.955; 48'54" = 2934" = 0.815 deg;
// 57'18" = 3438" = 0.955 deg).
TEST(DegreesMinutes, SpellingsAndTheirValues) {
    const struct {
        const char* line;
        double lat;
        double lon;
    } cases[] = {
        // The spellings the planners asked for, all 36.815 -121.955.
        {"36 48.900 N 121 57.300 W", 36.815, -121.955},
        {"36\xC2\xB0"
         "48.9'N 121\xC2\xB0"
         "57.3'W",
         36.815, -121.955},
        {"N36 48.900 W121 57.300", 36.815, -121.955},
        {"36-48.900N 121-57.300W", 36.815, -121.955},
        {"36 48 54 N 121 57 18 W", 36.815, -121.955},
        {"36:48:54N 121:57:18W", 36.815, -121.955},
        // The other marks: masculine ordinal, prime and double prime, d.
        {"36\xC2\xBA"
         "48.9\xE2\x80\xB2N 121\xC2\xBA"
         "57.3\xE2\x80\xB2W",
         36.815, -121.955},
        {"36\xC2\xB0"
         "48\xE2\x80\xB2"
         "54\xE2\x80\xB3N 121\xC2\xB0"
         "57\xE2\x80\xB2"
         "18\xE2\x80\xB3W",
         36.815, -121.955},
        {"36\xC2\xB0"
         "48'54\"N 121\xC2\xB0"
         "57'18\"W",
         36.815, -121.955},
        {"36d48.9'N 121d57.3'W", 36.815, -121.955},
        {"36 \xC2\xB0 48.9 ' N 121 \xC2\xB0 57.3 ' W", 36.815, -121.955},
        // Letters in either case, before or after, with or without blanks.
        {"n36 48.9 w121 57.3", 36.815, -121.955},
        {"36 48.9 n 121 57.3 w", 36.815, -121.955},
        {"N 36 48.9 W 121 57.3", 36.815, -121.955},
        {"36 48.9N W121 57.3", 36.815, -121.955},
        {"N36 48.9 121 57.3W", 36.815, -121.955},   // the fraction ends the latitude
        {"N36 48 54 121 57 18W", 36.815, -121.955}, // only three and three parts fit
        // The letters say which is which, in either order.
        {"W121 57.3 N36 48.9", 36.815, -121.955},
        {"121 57.3 W 36 48.9 N", 36.815, -121.955},
        // Hemispheres.
        {"36 48.9 S 121 57.3 E", -36.815, 121.955},
        {"00 30 S 000 30 E", -0.5, 0.5},
        {"0 0.5 S 0 0.5 W", -1.0 / 120.0, -1.0 / 120.0},
        // Degrees alone, whole or with a fraction.
        {"36.815N 121.955W", 36.815, -121.955},
        {"36N 121W", 36.0, -121.0},
        // The limits, and minutes just under 60.
        {"90 00 N 180 00 W", 90.0, -180.0},
        {"89 59.99999 S 179 59 59.999 E", -(89.0 + 59.99999 / 60.0),
         179.0 + 59.0 / 60.0 + 59.999 / 3600.0},
        // Marks without letters: signs give the hemispheres, latitude first.
        {"36\xC2\xB0"
         "48.9' -121\xC2\xB0"
         "57.3'",
         36.815, -121.955},
        {"-36\xC2\xB0"
         "48.9' +121\xC2\xB0"
         "57.3'",
         -36.815, 121.955},
        {"36:48:54 -121:57:18", 36.815, -121.955},
        {"36:48.9 121:57.3", 36.815, 121.955},
        {"36\xC2\xB0"
         "48' 54\" -121\xC2\xB0"
         "57' 18\"",
         36.815, -121.955},
        // What follows the position is the planner's.
        {"36 48.900 N 121 57.300 W station 4, sand", 36.815, -121.955},
        {"36 48.9 N 121 57.3 W 50", 36.815, -121.955},
        {"\t36 48.9 N\t121 57.3 W # north end", 36.815, -121.955},
        {"36 48.9 N 121 57.3 W.", 36.815, -121.955},
    };
    for (const auto& c : cases) {
        const DegreesPosition position = readDegreesPosition(c.line);
        ASSERT_EQ(position.outcome, DegreesOutcome::read) << c.line << ": " << position.problem;
        EXPECT_EQ(position.lat, c.lat) << c.line;
        EXPECT_EQ(position.lon, c.lon) << c.line;
    }
}

// Up to ten fraction digits the sum is exact (48.12345678 / 60 = 0.802057613); beyond, it
// is made in doubles, within a few units of the last place.
TEST(DegreesMinutes, ManyFractionDigits) {
    const DegreesPosition exact = readDegreesPosition("36 48.1234567800 N 121 57.3 W");
    ASSERT_EQ(exact.outcome, DegreesOutcome::read);
    EXPECT_EQ(exact.lat, 36.802057613);
    const DegreesPosition position = readDegreesPosition("36 48.900000000001 N 121 57.3 W");
    ASSERT_EQ(position.outcome, DegreesOutcome::read);
    EXPECT_NEAR(position.lat, 36.815 + 0.000000000001 / 60.0, 1e-13);
}

// Degrees of more digits than a double holds are beyond every limit, never 0.
TEST(DegreesMinutes, EndlessDegreesAreBeyondTheLimit) {
    const std::string degrees = "1" + std::string(400, '0');
    for (const std::string& line : {degrees + " 30 N 121 W", degrees + "N 121W"}) {
        const DegreesPosition position = readDegreesPosition(line);
        EXPECT_EQ(position.outcome, DegreesOutcome::refused);
        EXPECT_EQ(position.problem, "latitude inf is beyond 90");
    }
}

TEST(DegreesMinutes, RefusalsAndTheirReasons) {
    const struct {
        const char* line;
        const char* problem;
    } cases[] = {
        {"36 60 N 121 57 W", "minutes must be below 60, not 60"},
        {"36 48 60.0 N 121 57 18 W", "seconds must be below 60, not 60.0"},
        {"36 48.9 N 121 75.5 W", "minutes must be below 60, not 75.5"},
        {"-36 48.9 N 121 57.3 W", "a sign and a hemisphere letter together"},
        {"N36 48.9 W-121 57.3", "a sign and a hemisphere letter together"},
        {"36 48.9 N 121 57.3 S", "two N/S letters and no E/W"},
        {"36 48.9 E 121 57.3 W", "two E/W letters and no N/S"},
        {"36 48.9 N 121 57.3", "a hemisphere letter on one coordinate only"},
        {"36 48.9 -121 57.3 W", "a hemisphere letter on one coordinate only"},
        {"36.8167 -121.8171 N", "a hemisphere letter on one coordinate only"},
        {"36.5 48 N 121 57 W",
         "a fraction before the last part: only the last of degrees, minutes and seconds may "
         "have one"},
        {"36 48.5 30 N 121 57 W",
         "a fraction before the last part: only the last of degrees, minutes and seconds may "
         "have one"},
        {"91 00 N 121 57 W", "latitude 91 is beyond 90"},
        {"90 00.6 N 0 0 E", "latitude 90.01 is beyond 90"},
        {"90.5N 10E", "latitude 90.5 is beyond 90"},
        {"36 48 N 181 0 W", "longitude 181 is beyond 180"},
        {"36 48 N 180 0 0.1 W", "longitude 180.00002777777777 is beyond 180"},
        {"36-48.9' -121-57.3'", "degrees-minutes written with a dash need hemisphere letters"},
        {"36\xC2\xB0"
         "48.9\xC2\xB0N 121\xC2\xB0"
         "57.3'W",
         "marks out of order: degrees take \xC2\xB0, minutes ', seconds \""},
        {"36'48.9 N 121 57.3 W",
         "marks out of order: degrees take \xC2\xB0, minutes ', seconds \""},
        {"36 48 54 12 N 121 W", "more than degrees, minutes and seconds"},
        {"36 48.9 N 121 -57.3 W", "a sign before the minutes"},
        {"36 1e1 N 121 57 W", "an exponent in degrees and minutes"},
        {"N W121 57.3", "a hemisphere letter without its degrees"},
        {"36 48.9 N W", "a hemisphere letter without its degrees"},
        {"N36 48 12 57W",
         "cannot tell where the first coordinate ends: write each letter after its coordinate, "
         "or mark the parts"},
        {"N36 48.9 W121 57.3 50", "cannot tell where the position ends: a number follows it"},
        {"36\xC2\xB0"
         "48.9' -121\xC2\xB0"
         "57 50 12",
         "cannot tell where the position ends: a number follows it"},
        {"36\xC2\xB0"
         "48.9'",
         "expected latitude then longitude"},
        {"36: N 121:57 W", "a number must follow ':' or '-'"},
    };
    for (const auto& c : cases) {
        const DegreesPosition position = readDegreesPosition(c.line);
        EXPECT_EQ(position.outcome, DegreesOutcome::refused) << c.line;
        EXPECT_EQ(position.problem, c.problem) << c.line;
    }
}

// Without letters and marks that belong to the position a line is decimal degrees, read
// as it always was; words, abbreviations and marks after the position do not count.
TEST(DegreesMinutes, LinesThatKeepTheirDecimalMeaning) {
    for (const char* line :
         {"36.8167 -121.8171", "36 48.900 -121 57.300", "36.8167 -121.8171 station A",
          "36.8167 -121.8171 N/A", "36.8167 -121.8171 S-curve", "36.8 -121.9 50' deep",
          "36.8 -121.9 5:30", "1e5 2E-1y", "36-48.900 -121-57.300", "0x1p-1 0x10",
          "north of the kelp", "", "   "}) {
        const DegreesPosition position = readDegreesPosition(line);
        EXPECT_EQ(position.outcome, DegreesOutcome::notDegrees) << line;
    }
}

// A CSV cell holds one coordinate, so blanks alone may separate its parts.
TEST(DegreesMinutes, CellsOfOneCoordinate) {
    const struct {
        const char* text;
        CoordinateAxis axis;
        double value;
        bool lettered;
    } read[] = {
        {"36 48.9 N", CoordinateAxis::latitude, 36.815, true},
        {"N36\xC2\xB0"
         "48.9'",
         CoordinateAxis::latitude, 36.815, true},
        {"s36 48 54", CoordinateAxis::latitude, -36.815, true},
        {"-121 57.3", CoordinateAxis::longitude, -121.955, false},
        {"121\xC2\xB0"
         "57'18\"W",
         CoordinateAxis::longitude, -121.955, true},
        {"121-57.300W", CoordinateAxis::longitude, -121.955, true},
        {"121:57:18", CoordinateAxis::longitude, 121.955, false},
    };
    for (const auto& c : read) {
        const DegreesCoordinate coordinate = readDegreesCoordinate(c.text, c.axis);
        ASSERT_TRUE(coordinate.ok) << c.text << ": " << coordinate.problem;
        EXPECT_EQ(coordinate.value, c.value) << c.text;
        EXPECT_EQ(coordinate.lettered, c.lettered) << c.text;
    }
    const struct {
        const char* text;
        CoordinateAxis axis;
        const char* problem;
    } refused[] = {
        {"36 48.9 E", CoordinateAxis::latitude, "an E/W letter on the latitude"},
        {"121 57.3 N", CoordinateAxis::longitude, "an N/S letter on the longitude"},
        {"N36 48.9 S", CoordinateAxis::latitude, "two hemisphere letters on one coordinate"},
        {"36-48.9", CoordinateAxis::latitude,
         "degrees-minutes written with a dash need hemisphere letters"},
        {"90 30 N", CoordinateAxis::latitude, "latitude 90.5 is beyond 90"},
        {"-36 48.9 S", CoordinateAxis::latitude, "a sign and a hemisphere letter together"},
        {"abc", CoordinateAxis::latitude,
         "latitude must be decimal degrees or degrees and minutes"},
        {"36 48.9 N x", CoordinateAxis::latitude,
         "latitude must be decimal degrees or degrees and minutes"},
        {"", CoordinateAxis::longitude, "longitude must be decimal degrees or degrees and minutes"},
    };
    for (const auto& c : refused) {
        const DegreesCoordinate coordinate = readDegreesCoordinate(c.text, c.axis);
        EXPECT_FALSE(coordinate.ok) << c.text;
        EXPECT_EQ(coordinate.problem, c.problem) << c.text;
    }
}

// In a waypoint file the refusal names the file, the line and its text.
TEST(DegreesMinutes, PlainFileNamesTheRefusedLine) {
    const DocumentResult read =
        readPlain("36 48.9 N 121 57.3 W\n# next\n36 60 N 121 57 W\n", "chart.txt");
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "*** BAD WAYPOINT LINE *** chart.txt line 3: \"36 60 N 121 57 W\" "
                          "(minutes must be below 60, not 60)");
}
