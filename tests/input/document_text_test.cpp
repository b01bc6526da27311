// Tests of what the GIS readers share: coordinates, lines of bytes, rings and messages.
#include "input/document_text.h"

#include <gtest/gtest.h>
#include <string>

TEST(DocumentText, CoordinatesAreRefusedOutsideTheirRange) {
    const struct {
        const char* text;
        Axis axis;
        const char* reason;
    } cases[] = {{"90", Axis::latitude, ""},
                 {"-90", Axis::latitude, ""},
                 {"90.0000001", Axis::latitude, "latitude outside -90..90"},
                 {"-91", Axis::latitude, "latitude outside -90..90"},
                 {"180", Axis::longitude, ""},
                 {"-180", Axis::longitude, ""},
                 {"180.5", Axis::longitude, "longitude outside -180..180"},
                 {"-360", Axis::longitude, "longitude outside -180..180"},
                 {"abc", Axis::latitude, "latitude must be a decimal number"},
                 {"nan", Axis::latitude, "latitude must be a decimal number"},
                 {"1e999", Axis::longitude, "longitude must be a decimal number"},
                 {"0x10", Axis::longitude, "longitude must be a decimal number"},
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

// Lines counted block by block agree with counting every line end from the start, for
// lines shorter and longer than a block, empty lines and CR LF ends.
TEST(DocumentText, LinesAcrossBlocksAreCountedFromTheStart) {
    std::string bytes;
    for (std::size_t length : {0, 1, 511, 512, 513, 0, 0, 1500, 3, 2048, 0, 700}) {
        bytes += std::string(length, 'x') + (length % 2 == 1 ? "\r\n" : "\n");
    }
    bytes += "end";
    const LineIndex lines = indexLines(bytes);
    std::uint64_t line = 1;
    std::vector<std::string> texts{""};
    for (std::size_t offset = 0; offset <= bytes.size(); ++offset) {
        ASSERT_EQ(lineAt(lines, offset), line) << offset;
        if (offset < bytes.size() && bytes[offset] == '\n') {
            ++line;
            texts.emplace_back();
        } else if (offset < bytes.size() && bytes[offset] != '\r') {
            texts.back() += bytes[offset];
        }
    }
    EXPECT_EQ(lastLine(lines), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(lineText(bytes, lines, i + 1), texts[i]) << i + 1;
    }
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
              "*** BAD KML FILE *** c.kml line 3: \"x\\ty\\x1b\" (r)");
    EXPECT_EQ(documentRefusal("GeoJSON", "e\n.json", 2, "", "member \"\x1b[2J\" given twice"),
              "*** BAD GeoJSON FILE *** e\\n.json line 2: member \"\\x1b[2J\" given twice");
    EXPECT_EQ(documentRefusal("GPX", "d.gpx", 1, std::string(100, 'w'), "r"),
              "*** BAD GPX FILE *** d.gpx line 1: \"" + std::string(80, 'w') + "...\" (r)");
}

TEST(DocumentText, PartsOfOneFeatureAreNamedApart) {
    EXPECT_EQ(featurePartName("Lines", 1, 1), "Lines");
    EXPECT_EQ(featurePartName("Lines", 2, 3), "Lines (part 2 of 3)");
    EXPECT_EQ(featurePartName("", 1, 2), "part 1 of 2");
}
