// Tests of recognising a file from its bytes and handing it to its reader.
#include "input/read_source.h"

#include <gtest/gtest.h>
#include <string>

namespace {

SourceFormat formatOf(const std::string& bytes) {
    return detectFormat(InputSource{"f", "", bytes});
}

} // namespace

TEST(ReadSource, FormatFromTheBytes) {
    const struct {
        const char* bytes;
        SourceFormat format;
    } cases[] = {
        {"36.8 -121.9\n", SourceFormat::plain},
        {"", SourceFormat::plain},
        {"# only a comment\n\n", SourceFormat::plain},
        {"north of the kelp\n", SourceFormat::plain},
        {"36 48.900 N 121 57.300 W\n", SourceFormat::plain},
        {"lat,lon\n36.8,-121.9\n", SourceFormat::csv},
        {"\xEF\xBB\xBF# exported\r\n\r\nName;LATITUDE;Longitude\r\n", SourceFormat::csv},
        {"\"lat\"\t\"lng\"\n", SourceFormat::csv},
        {"lat lon\n", SourceFormat::plain}, // blanks separate no CSV columns
        {"latitude,depth\n", SourceFormat::plain},
        {"<?xml version=\"1.0\"?>\n<gpx version=\"1.1\">", SourceFormat::gpx},
        {"\xEF\xBB\xBF  <!-- made by hand -->\n<!DOCTYPE gpx [<!ENTITY a \">\">]>\n<gpx>",
         SourceFormat::gpx},
        {"<kml xmlns=\"http://www.opengis.net/kml/2.2\">", SourceFormat::kml},
        {"<?xml version=\"1.0\"?><kml:kml xmlns:kml=\"x\">", SourceFormat::kml},
        {"<?xml version=\"1.0\"?><osm>", SourceFormat::plain},
        {"<gpxx>", SourceFormat::plain},
        {"{\"type\": \"FeatureCollection\"}", SourceFormat::geojson},
        {"\r\n  [", SourceFormat::geojson},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatOf(c.bytes), c.format) << c.bytes;
    }
}

// Without a path GDAL cannot open a database; the file still goes to GDAL's reader, which
// tells what this build or this input can do, instead of being read as lines of text.
TEST(ReadSource, GisDatabasesAreRecognisedByTheirFirstBytes) {
    EXPECT_EQ(formatOf(std::string("SQLite format 3\0\x10\x00", 18)), SourceFormat::gdal);
    EXPECT_EQ(formatOf(std::string("\x00\x00\x27\x0A\x00\x00", 6)), SourceFormat::gdal);
    EXPECT_EQ(formatOf("fgb\x03"
                       "fgb\x01"),
              SourceFormat::gdal);
    EXPECT_EQ(formatOf("SQLite format 3 notes\n"), SourceFormat::plain);
}

TEST(ReadSource, EachFormatGoesToItsReader) {
    const DocumentResult plain = readSource(InputSource{"p.txt", "", "36.8 -121.9\n"});
    ASSERT_TRUE(plain.ok);
    EXPECT_EQ(plain.document.format, "plain");
    const DocumentResult csv = readSource(InputSource{"c.csv", "", "lat,lon\n36.8,-121.9\n"});
    ASSERT_TRUE(csv.ok) << csv.error;
    EXPECT_EQ(csv.document.format, "CSV");
    ASSERT_EQ(csv.document.features.size(), 1u);
    EXPECT_EQ(csv.document.features[0].points.size(), 1u);
    const DocumentResult bad = readSource(InputSource{"b.txt", "", "36.8\n"});
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.error, "*** BAD WAYPOINT LINE *** b.txt line 1: \"36.8\" (expected latitude "
                         "then longitude in decimal degrees)");
}
