// Tests of what the GIS readers share: strict numbers, lines of bytes, rings and messages.
#include "input/document_text.h"

#include <gtest/gtest.h>
#include <string>

TEST(DocumentText, DecimalNumbersAreReadExactly) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"36.8167", 36.8167}, {"-121.8171", -121.8171}, {"+36.8", 36.8},
                 {"0", 0.0},           {"-0.0", -0.0},           {".5", 0.5},
                 {"5.", 5.0},          {"1e2", 100.0},           {"-1.5E-1", -0.15},
                 {"1e+2", 100.0},      {"00036.80", 36.8},       {"36.816700000", 36.8167},
                 {"180", 180.0},       {"-90.000", -90.0}};
    for (const auto& c : cases) {
        double value = 1234.0;
        EXPECT_TRUE(readDecimal(c.text, value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

// Whatever a lenient conversion would turn into 0 or into a number nobody wrote.
TEST(DocumentText, AnythingButADecimalNumberIsRefused) {
    for (const char* text :
         {"",     " ",        "abc",   "36.8 ", " 36.8", "36,8",   "nan",   "NaN", "inf",
          "-inf", "infinity", "0x10",  "1e",    "1e+",   "e5",     ".",     "-",   "+",
          "--1",  "+-1",      "1.2.3", "36.8N", "1e999", "-1e400", "1_000", "١٢"}) {
        double value = 1234.0;
        EXPECT_FALSE(readDecimal(text, value)) << text;
        EXPECT_EQ(value, 1234.0) << text;
    }
}

TEST(DocumentText, CoordinatesAreRefusedOutsideTheirRange) {
    const struct {
        const char* text;
        Axis axis;
        const char* reason;
    } cases[] = {{"90", Axis::latitude, ""},
                 {"-90", Axis::latitude, ""},
                 {"90.0000001", Axis::latitude, "latitude must be between -90 and 90"},
                 {"-91", Axis::latitude, "latitude must be between -90 and 90"},
                 {"180", Axis::longitude, ""},
                 {"-180", Axis::longitude, ""},
                 {"180.5", Axis::longitude, "longitude must be between -180 and 180"},
                 {"-360", Axis::longitude, "longitude must be between -180 and 180"},
                 {"abc", Axis::latitude, "latitude must be a decimal number"},
                 {"", Axis::longitude, "longitude must be a decimal number"}};
    for (const auto& c : cases) {
        double value = 0.0;
        EXPECT_EQ(readCoordinate(c.text, c.axis, value), c.reason) << c.text;
    }
}

TEST(DocumentText, OffsetsBecomeLines) {
    const std::string bytes = "ab\ncd\r\n\nlast";
    const LineIndex lines = indexLines(bytes);
    const struct {
        std::size_t offset;
        std::uint64_t line;
    } cases[] = {{0, 1}, {2, 1}, {3, 2}, {6, 2}, {7, 3}, {8, 4}, {11, 4}, {100, 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(lineAt(lines, c.offset), c.line) << c.offset;
    }
    EXPECT_EQ(lineText(bytes, lines, 1), "ab");
    EXPECT_EQ(lineText(bytes, lines, 2), "cd");
    EXPECT_EQ(lineText(bytes, lines, 3), "");
    EXPECT_EQ(lineText(bytes, lines, 4), "last");
    EXPECT_EQ(lineText(bytes, lines, 5), "");
}

TEST(DocumentText, ClosedRingsLoseTheirRepeatedVertex) {
    std::vector<SourcePoint> ring{{0, 0, 1}, {0, 1, 2}, {1, 1, 3}, {0, 0, 4}};
    EXPECT_EQ(openClosedRing(ring), "");
    EXPECT_EQ(ring.size(), 3u);

    std::vector<SourcePoint> open{{0, 0, 1}, {0, 1, 2}, {1, 1, 3}, {1, 0, 4}};
    EXPECT_EQ(openClosedRing(open), "ring not closed: its last position must repeat its first");
    std::vector<SourcePoint> small{{0, 0, 1}, {0, 1, 2}, {0, 0, 3}};
    EXPECT_EQ(openClosedRing(small),
              "a ring needs at least 4 positions, the last repeating the first");
}

TEST(DocumentText, RefusalsNameFileLineAndText) {
    EXPECT_EQ(documentRefusal("GPX", "a.gpx", 12, "abc", "latitude must be a decimal number"),
              "*** BAD GPX FILE *** a.gpx line 12: \"abc\" (latitude must be a decimal number)");
    EXPECT_EQ(documentRefusal("GPKG", "b.gpkg", 0, "", "no coordinate reference system"),
              "*** BAD GPKG FILE *** b.gpkg: no coordinate reference system");
    EXPECT_EQ(documentRefusal("KML", "c.kml", 3, "x\ty\x1b", "r"),
              "*** BAD KML FILE *** c.kml line 3: \"x?y?\" (r)");
    const std::string wide(100, 'w');
    EXPECT_EQ(displayableText(wide), std::string(80, 'w') + "...");
    EXPECT_EQ(displayableText(std::string(82, 'a').replace(0, 2, "\xc3\xa9")),
              "\xc3\xa9" + std::string(79, 'a') + "...");
}

TEST(DocumentText, PartsOfOneFeatureAreNamedApart) {
    EXPECT_EQ(partName("Lines", 1, 1), "Lines");
    EXPECT_EQ(partName("Lines", 2, 3), "Lines (part 2 of 3)");
    EXPECT_EQ(partName("", 1, 2), "part 1 of 2");
}
