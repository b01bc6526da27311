// Tests of CSV files: the header, separators, RFC 4180 quoting, cells in decimal degrees or
// degrees and minutes, and the first row refused with its line and text.
#include "input/csv_reader.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Rows = std::vector<std::tuple<double, double, std::uint64_t>>; // lat, lon, line

Rows rowsOf(const DocumentResult& read) {
    Rows rows;
    for (const SourcePoint& p : read.document.features.at(0).points) {
        rows.emplace_back(p.lat, p.lon, p.line);
    }
    return rows;
}

} // namespace

TEST(CsvReader, HeaderFindsTheColumnsAndTheSeparator) {
    const struct {
        const char* bytes;
        char separator;
        std::size_t lat;
        std::size_t lon;
        std::uint64_t line;
    } cases[] = {
        {"lat,lon\n", ',', 0, 1, 1},
        {"Name;Latitude;Longitude\n", ';', 1, 2, 1},
        {"id\tLNG\tLAT\r\n", '\t', 2, 1, 1},
        {"\xEF\xBB\xBF# exported from the chart table\n\n\"lat\",\"long\"\n", ',', 0, 1, 3},
        {" lat , lon \n", ',', 0, 1, 1},
        {" \"lat\" , \"lon\"\n", ',', 0, 1, 1},
        {"name;x,y;lat;lon\n", ';', 2, 3, 1},
    };
    for (const auto& c : cases) {
        const std::optional<CsvHeader> header = findCsvHeader(c.bytes);
        ASSERT_TRUE(header) << c.bytes;
        EXPECT_EQ(header->separator, c.separator) << c.bytes;
        EXPECT_EQ(header->latitudeColumns, std::vector<std::size_t>{c.lat}) << c.bytes;
        EXPECT_EQ(header->longitudeColumns, std::vector<std::size_t>{c.lon}) << c.bytes;
        EXPECT_EQ(header->line, c.line) << c.bytes;
    }
    for (const char* bytes : {"", "lat lon\n", "latitude,depth\n", "36.8,-121.9\nlat,lon\n",
                              "x,y\n", "lat|lon\n", "latitudes,longitudes\n"}) {
        EXPECT_FALSE(findCsvHeader(bytes)) << bytes;
    }
}

TEST(CsvReader, RowsInFileOrderWithTheirLines) {
    const std::string bytes = "name,lat,lon,depth\n"
                              "\"Buoy, north\",36.8167,-121.8171,50\n"
                              "\n"
                              ",,,\n"
                              "\"He said \"\"turn\"\"\", 36.8215 , -121.7986 ,\n"
                              "\"two\nlines\",36.9,-121.9\n"
                              "last,-0.5,1e1";
    const DocumentResult read = readCsv(bytes, "route.csv");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.document.format, "CSV");
    EXPECT_EQ(read.document.features[0].line, 2u);
    EXPECT_EQ(
        rowsOf(read),
        (Rows{
            {36.8167, -121.8171, 2}, {36.8215, -121.7986, 5}, {36.9, -121.9, 6}, {-0.5, 10.0, 8}}));
}

// A spreadsheet set to a decimal comma exports semicolons, with commas in the numbers.
TEST(CsvReader, SemicolonsQuotesAndDecimalCommas) {
    const DocumentResult read = readCsv("Name;Latitude;Longitude\r\n"
                                        "\"A;1\";\"36,8167\";-121,8171\r\n"
                                        "B;36.8215;\"-121.7986\"\r\n",
                                        "route.csv");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(rowsOf(read), (Rows{{36.8167, -121.8171, 2}, {36.8215, -121.7986, 3}}));
}

TEST(CsvReader, DegreesAndMinutesInCells) {
    const DocumentResult read = readCsv("lat\tlon\n"
                                        "36 48.9 N\t121 57.3 W\n"
                                        "36\xC2\xB0"
                                        "48'54\"N\tW121 57 18\n"
                                        "-36 48.9\t121:57.3\n",
                                        "chart.tsv");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(rowsOf(read),
              (Rows{{36.815, -121.955, 2}, {36.815, -121.955, 3}, {-36.815, 121.955, 4}}));
}

TEST(CsvReader, FirstBadRowIsRefusedWithItsLineAndText) {
    const std::string header = "name,lat,lon\nA,36.8,-121.9\n";
    const struct {
        std::string rows;
        std::string message; // after "*** BAD CSV FILE *** f.csv "
    } cases[] = {
        {"B,,-121.9\n", "line 3: \"B,,-121.9\" (the latitude cell is empty)"},
        {"B,36.8, \n", "line 3: \"B,36.8, \" (the longitude cell is empty)"},
        {"B,abc,-121.9\n",
         "line 3: \"abc\" (latitude must be decimal degrees or degrees and minutes)"},
        {"B,nan,-121.9\n",
         "line 3: \"nan\" (latitude must be decimal degrees or degrees and minutes)"},
        {"B,36.8,inf\n",
         "line 3: \"inf\" (longitude must be decimal degrees or degrees and minutes)"},
        {"B,0x10,1\n",
         "line 3: \"0x10\" (latitude must be decimal degrees or degrees and minutes)"},
        {"B,36.8,\"-121,9\"\n",
         "line 3: \"-121,9\" (longitude must be decimal degrees or degrees and minutes)"},
        {"B,95.2,-121.9\n", "line 3: \"95.2\" (latitude outside -90..90)"},
        {"B,-90.000001,0\n", "line 3: \"-90.000001\" (latitude outside -90..90)"},
        {"B,36.8,-181\n", "line 3: \"-181\" (longitude outside -180..180)"},
        {"B,36.8\n", "line 3: \"B,36.8\" (no longitude cell: the row has 2, the header names "
                     "column 3)"},
        {"B,36 48.9 N,-121.955\n",
         "line 3: \"B,36 48.9 N,-121.955\" (a hemisphere letter on one coordinate only)"},
        {"B,36 60 N,121 57 W\n", "line 3: \"36 60 N\" (minutes must be below 60, not 60)"},
        {"B,36 48.9 E,121 57 W\n", "line 3: \"36 48.9 E\" (an E/W letter on the latitude)"},
        {"\"B,36.8,-121.9\n,1,2\n", "line 3: \"\"B,36.8,-121.9\" (a quoted cell without its "
                                    "closing quote)"},
        {"B,36.8,-121.9\n" + std::string(1024 * 1024 + 1, 'x') + "\n",
         "line 4: \"" + std::string(80, 'x') + "...\" (a line longer than 1 MiB)"},
    };
    for (const auto& c : cases) {
        const DocumentResult read = readCsv(header + c.rows, "f.csv");
        EXPECT_FALSE(read.ok) << c.rows;
        EXPECT_EQ(read.error, "*** BAD CSV FILE *** f.csv " + c.message) << c.rows;
        EXPECT_TRUE(read.document.features.empty());
    }
}

TEST(CsvReader, HeaderRefusals) {
    const DocumentResult twice = readCsv("lat,lon,latitude\n1,2,3\n", "f.csv");
    EXPECT_EQ(twice.error,
              "*** BAD CSV FILE *** f.csv line 1: \"lat,lon,latitude\" (more than one latitude "
              "column: 1 and 3)");
    const DocumentResult none = readCsv("# positions\nx,y\n1,2\n", "f.csv");
    EXPECT_EQ(none.error, "*** BAD CSV FILE *** f.csv line 2: \"x,y\" (expected a header naming "
                          "a latitude and a longitude column)");
}

TEST(CsvReader, HeaderWithoutRowsIsAnEmptyRoute) {
    const DocumentResult read = readCsv("lat,lon\n", "f.csv");
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(read.document.features.at(0).points.empty());
}
