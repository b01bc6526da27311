// Tests of the plain format reader: accepted layouts and the first line it refuses.
#include "input/line_text.h"
#include "input/plain_reader.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// The reader's outcome in the terms the old reader gave it: the number and the text of
// the refused line, read back from the message.
struct ReadOutcome {
    bool ok = true;
    std::uint64_t badLineNumber = 0;
    std::string badLineText; // as the message shows it
    std::string error;
};

struct Read {
    ReadOutcome result;
    std::vector<std::pair<double, double>> positions;
    DocumentResult document;
};

Read readText(const std::string& text) {
    Read read;
    read.document = readPlain(text, "survey.txt");
    read.result.ok = read.document.ok;
    read.result.error = read.document.error;
    if (!read.document.ok) {
        // *** BAD WAYPOINT LINE *** survey.txt line N: "TEXT" (why)
        const std::string& error = read.document.error;
        const std::size_t line = error.find(" line ") + 6;
        const std::size_t colon = error.find(": \"", line);
        read.result.badLineNumber = std::stoull(error.substr(line, colon - line));
        const std::size_t close = error.rfind("\" (");
        read.result.badLineText = error.substr(colon + 3, close - colon - 3);
        return read;
    }
    EXPECT_EQ(read.document.document.features.size(), 1u);
    for (const SourcePoint& point : read.document.document.features.front().points) {
        read.positions.emplace_back(point.lat, point.lon);
    }
    return read;
}

using Positions = std::vector<std::pair<double, double>>;

} // namespace

// Positions are compared exactly: strtod gives the double nearest to the text, and
// the literals below are that same double.
TEST(PlainReader, OneWaypointPerLineInFileOrder) {
    const Read r = readText("36.8167 -121.8171\n36.8215\t-121.7986\n-33.85 151.2");
    EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(r.positions,
              (Positions{{36.8167, -121.8171}, {36.8215, -121.7986}, {-33.85, 151.2}}));
}

TEST(PlainReader, EmptyInputGivesAnEmptyList) {
    const Read r = readText("");
    EXPECT_TRUE(r.result.ok);
    EXPECT_TRUE(r.positions.empty());
}

TEST(PlainReader, LongLineIsOneWaypoint) {
    const std::string line = "36.8167" + std::string(60, ' ') + "-121.8171" +
                             std::string(200, ' ') + "station 12, sand ripples";
    const Read r = readText(line + "\n36.8215 -121.7986\n");
    EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(r.positions, (Positions{{36.8167, -121.8171}, {36.8215, -121.7986}}));
}

TEST(PlainReader, BlankAndCommentLinesAreSkipped) {
    const Read r = readText("# Monterey survey\n\n  \t\v\f\n36.8 -121.9\n   # turn north\n"
                            "36.9 -121.9 # after the numbers\n\n\n");
    EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(r.positions, (Positions{{36.8, -121.9}, {36.9, -121.9}}));
}

TEST(PlainReader, CarriageReturnsAndByteOrderMarkAreAccepted) {
    const Read r = readText("\xEF\xBB\xBF"
                            "36.8 -121.9\r\n\r\n# note\r\n36.9 -121.8\r\n");
    EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(r.positions, (Positions{{36.8, -121.9}, {36.9, -121.8}}));
}

TEST(PlainReader, ByteOrderMarkAfterTheStartIsRefused) {
    const Read r = readText("36.8 -121.9\n\xEF\xBB\xBF"
                            "36.9 -121.8\n");
    EXPECT_FALSE(r.result.ok);
    EXPECT_EQ(r.result.badLineNumber, 2u);
}

TEST(PlainReader, TextAfterTheTwoNumbersIsIgnored) {
    const Read r = readText("36.8 -121.9 50 extra,fields\n0x1p-1 0x10\n1e2 -2.5e1\n");
    EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(r.positions, (Positions{{36.8, -121.9}, {0.5, 16.0}, {100.0, -25.0}}));
}

// Long tracks take a quick path for plain decimals; every other spelling strtod reads must
// still give strtod's value, and the nearest double to the text either way.
TEST(PlainReader, NumbersAreReadAsStrtodReadsThem) {
    const Read r = readText("+36.8 -121.9\n"
                            "\t 36.80000000000000000000000001\v-1.219e2\n"
                            "-.5 5.\n"
                            "00036.8 -00121.9\n"
                            "1e-320 -2.5e-310\n"
                            "1e5 2E-1y\n");
    EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(r.positions, (Positions{{36.8, -121.9},
                                      {36.8, -121.9},
                                      {-0.5, 5.0},
                                      {36.8, -121.9},
                                      {1e-320, -2.5e-310},
                                      {1e5, 0.2}}));
}

TEST(PlainReader, NumbersEndAtANulByte) {
    const std::string line("36.8\0 -121.9", 12);
    const Read r = readText("1 2\n" + line + "\n");
    EXPECT_FALSE(r.result.ok);
    EXPECT_EQ(r.result.badLineNumber, 2u);
    EXPECT_EQ(r.result.badLineText, displayableLine(line));
}

TEST(PlainReader, FirstBadLineStopsReadingWithItsNumberAndText) {
    const Read r = readText("36.8 -121.9\n# note\n36.9 -121.8\nlat lon\r\n37.0 -121.7\n");
    EXPECT_FALSE(r.result.ok);
    EXPECT_EQ(r.result.badLineNumber, 4u);
    EXPECT_EQ(r.result.badLineText, "lat lon");
    EXPECT_EQ(r.result.error, "*** BAD WAYPOINT LINE *** survey.txt line 4: \"lat lon\" (expected "
                              "latitude then longitude in decimal degrees)");
}

TEST(PlainReader, LinesWithoutTwoFiniteNumbersAreRefused) {
    for (const char* line :
         {"36.8", "36.8 ", "36.8,-121.9", "nan -121.9", "36.8 inf", "1e999 -121.9", "36.8 -1e400",
          "-", "., .", "\x01", "1e 2", "--1 2", "- 1 2", "0x 1"}) {
        const Read r = readText(std::string("1 2\n") + line + "\n3 4\n");
        EXPECT_FALSE(r.result.ok) << line;
        EXPECT_EQ(r.result.badLineNumber, 2u) << line;
        EXPECT_EQ(r.result.badLineText, displayableLine(line)) << line;
        EXPECT_TRUE(r.document.document.features.empty()) << line;
    }
}

TEST(PlainReader, EquatorAndPrimeMeridianAreOrdinaryPositions) {
    const Read r = readText("0 0\n0.0 10.5\n");
    EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(r.positions, (Positions{{0.0, 0.0}, {0.0, 10.5}}));
}

TEST(PlainReader, DegreesAndMinutesLinesBesideDecimalOnes) {
    const Read r = readText("36 48.900 N 121 57.300 W\n36.8215 -121.7986\nN36 49.29 W121 47.916\n");
    EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(r.positions,
              (Positions{{36.815, -121.955}, {36.8215, -121.7986}, {36.8215, -121.7986}}));
    EXPECT_TRUE(r.document.document.notes.empty());
}

// One note for the whole file, on its first such line, with the count of the others.
TEST(PlainReader, MoreThanTwoNumbersIsNotedOnce) {
    const Read one = readText("36.8 -121.9\n36 48.900 -121 57.300\n");
    EXPECT_TRUE(one.result.ok);
    EXPECT_EQ(one.positions, (Positions{{36.8, -121.9}, {36.0, 48.9}}));
    ASSERT_EQ(one.document.document.notes.size(), 1u);
    EXPECT_EQ(one.document.document.notes[0].line, 2u);
    EXPECT_EQ(one.document.document.notes[0].message,
              "survey.txt line 2: \"36 48.900 -121 57.300\" holds more than two numbers and was "
              "read as latitude 36, longitude 48.9; if it is degrees and minutes, write the "
              "hemisphere letters (N/S, E/W)");
    const Read three = readText("36.8 -121.9 50\n36.9 -121.9 45 sand\n36-48.9 -121-57.3\n");
    ASSERT_EQ(three.document.document.notes.size(), 1u);
    EXPECT_EQ(three.document.document.notes[0].message,
              "survey.txt line 1: \"36.8 -121.9 50\" holds more than two numbers and was read as "
              "latitude 36.8, longitude -121.9; if it is degrees and minutes, write the "
              "hemisphere letters (N/S, E/W) (2 more lines like it)");
    for (const char* text : {"36.8 -121.9\n", "36.8 -121.9 station 5\n", "36.8 -121.9 50m\n",
                             "36.8 -121.9 #5\n", "36 48.9 N 121 57.3 W 50\n"}) {
        EXPECT_TRUE(readText(text).document.document.notes.empty()) << text;
    }
}

TEST(PlainReader, LinesLongerThanOneMebibyteAreRefused) {
    const std::string limit(kMaxLineBytes, '#');
    EXPECT_TRUE(readText(limit + "\n1 2\n").result.ok);
    const Read r = readText("1 2\n" + limit + "#\n3 4\n");
    EXPECT_FALSE(r.result.ok);
    EXPECT_EQ(r.result.error, "*** BAD WAYPOINT LINE *** survey.txt line 2: \"" +
                                  std::string(80, '#') + "...\" (a line longer than 1 MiB)");
    // Without a line end, as a device gives it.
    EXPECT_FALSE(readText(std::string(kMaxLineBytes + 1, '\0')).result.ok);
}

TEST(PlainReader, APositionBeginsTheLine) {
    for (const char* line : {"36.8 -121.9", "  1 2 x", "36 48.9 N 121 57.3 W", "0x1p1 -5"}) {
        EXPECT_TRUE(isPlainPosition(line)) << line;
    }
    for (const char* line : {"lat lon", "36.8", "<?xml", "36 60 N 121 57 W", ""}) {
        EXPECT_FALSE(isPlainPosition(line)) << line;
    }
}
