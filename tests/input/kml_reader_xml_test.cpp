// Tests of the KML reader: paths, tracks, pins and polygons as Google Earth saves them.
#include "document_fixture.h"
#include "input/document_readers.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string kml(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml "
           "xmlns=\"http://www.opengis.net/kml/2.2\" "
           "xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n<Document>\n" +
           body + "</Document>\n</kml>\n";
}

} // namespace

// Google Earth indents with tabs and may break the coordinates over lines.
TEST(KmlReader, GoogleEarthPathIsOneCandidateWithItsLines) {
    const DocumentResult read = readKml(fixtureBytes("google_earth_path.kml"), "path.kml");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.document.format, "KML");
    EXPECT_EQ(describe(read.document),
              (std::vector<std::string>{"route KML path 'Moss Landing test' line 17"}));
    EXPECT_EQ(located(read.document.features[0].points),
              (Located{{36.8167, -121.8171, 20}, {36.8215, -121.7986, 20}}));
}

TEST(KmlReader, PinsInNestedFoldersAreOneRouteInDocumentOrder) {
    const DocumentResult read = readKml(fixtureBytes("google_earth_points.kml"), "pins.kml");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(describe(read.document), (std::vector<std::string>{"route KML points '' line 12"}));
    EXPECT_EQ(located(read.document.features[0].points),
              (Located{{36.8167, -121.8171, 12}, {36.8215, -121.7986, 20}}));
}

TEST(KmlReader, CoordinatesAreSeparatedByAnyWhiteSpace) {
    const DocumentResult read =
        readKml(kml("<Placemark><LineString><coordinates>\n\t-121.8,36.8,0\n\n"
                    "-121.7,36.9\t\t-121.6,37.0,12.5 \r\n -121.5,37.1</coordinates>"
                    "</LineString></Placemark>\n"),
                "x.kml");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(
        located(read.document.features[0].points),
        (Located{{36.8, -121.8, 5}, {36.9, -121.7, 7}, {37.0, -121.6, 7}, {37.1, -121.5, 8}}));
}

TEST(KmlReader, WhatBecomesTheCandidates) {
    const std::string ring = "<coordinates>0,0 1,0 1,1 0,0</coordinates>";
    const struct {
        const char* what;
        std::string body;
        std::vector<std::string> candidates;
    } cases[] = {
        {"paths in document order, pins beside them dropped",
         "<Placemark><name>P</name><Point><coordinates>1,1</coordinates></Point></Placemark>\n"
         "<Folder><Folder><Placemark><name>A</name><LineString><coordinates>1,1 2,2</coordinates>"
         "</LineString></Placemark></Folder></Folder>\n"
         "<Placemark><name>B</name><LineString><coordinates>3,3 4,4</coordinates></LineString>"
         "</Placemark>\n",
         {"route KML path 'A' line 5", "route KML path 'B' line 6"}},
        {"a gx:Track and a MultiTrack joined",
         "<Placemark><name>T</name><gx:Track><when>2020-07-08T15:00:00Z</when>"
         "<gx:coord>-121.8 36.8 0</gx:coord>\n<gx:coord>-121.7 36.9</gx:coord></gx:Track>"
         "</Placemark>\n<Placemark><gx:MultiTrack><gx:Track><gx:coord>1 1 0</gx:coord></gx:Track>"
         "<gx:Track><gx:coord>2 2 0</gx:coord></gx:Track></gx:MultiTrack></Placemark>\n",
         {"route KML track 'T' line 4", "route KML track '' line 6"}},
        {"MultiGeometry parts are named apart",
         "<Placemark><name>M</name><MultiGeometry><LineString><coordinates>1,1 2,2</coordinates>"
         "</LineString><Point><coordinates>5,5</coordinates></Point><MultiGeometry><Polygon>"
         "<outerBoundaryIs><LinearRing>" +
             ring +
             "</LinearRing></outerBoundaryIs></Polygon></MultiGeometry></MultiGeometry>"
             "</Placemark>\n",
         {"route KML path 'M (part 1 of 2)' line 4", "area KML polygon 'M (part 2 of 2)' line 4"}},
        {"polygons beside pins, the pins still a route",
         "<Placemark><name>A</name><Polygon><outerBoundaryIs><LinearRing>" + ring +
             "</LinearRing></outerBoundaryIs></Polygon></Placemark>\n"
             "<Placemark><Point><coordinates>1,1</coordinates></Point></Placemark>\n",
         {"area KML polygon 'A' line 4", "route KML points '' line 5"}},
        {"prefixed elements",
         "<kml:Placemark><kml:name>K</kml:name><kml:LineString><kml:coordinates>"
         "1,1 2,2</kml:coordinates></kml:LineString></kml:Placemark>\n",
         {"route KML path 'K' line 4"}},
        {"empty geometry",
         "<Placemark><LineString><coordinates> </coordinates></LineString>"
         "</Placemark>\n",
         {}},
    };
    for (const auto& c : cases) {
        const DocumentResult read = readKml(kml(c.body), "x.kml");
        ASSERT_TRUE(read.ok) << c.what << ": " << read.error;
        EXPECT_EQ(describe(read.document), c.candidates) << c.what;
    }
}

TEST(KmlReader, PolygonRingsOuterFirstWithoutTheClosingVertex) {
    const DocumentResult read = readKml(
        kml("<Placemark><name>Box</name><Polygon>\n<outerBoundaryIs><LinearRing><coordinates>\n"
            "0,0,0 4,0,0 4,4,0 0,4,0 0,0,0\n</coordinates></LinearRing></outerBoundaryIs>\n"
            "<innerBoundaryIs><LinearRing><coordinates>1,1 1,2 2,2 1,1</coordinates></LinearRing>"
            "</innerBoundaryIs>\n<innerBoundaryIs><LinearRing><coordinates>3,3 3,3.5 3.5,3.5 3,3"
            "</coordinates></LinearRing></innerBoundaryIs></Polygon></Placemark>\n"),
        "x.kml");
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.document.features.size(), 1u);
    const SourceFeature& area = read.document.features[0];
    ASSERT_EQ(area.rings.size(), 3u);
    EXPECT_EQ(located(area.rings[0]), (Located{{0, 0, 6}, {0, 4, 6}, {4, 4, 6}, {4, 0, 6}}));
    EXPECT_EQ(located(area.rings[1]), (Located{{1, 1, 8}, {2, 1, 8}, {2, 2, 8}}));
    EXPECT_EQ(located(area.rings[2]), (Located{{3, 3, 9}, {3.5, 3, 9}, {3.5, 3.5, 9}}));
}

TEST(KmlReader, BadCoordinatesStopTheReadWithFileLineAndText) {
    const auto path = [](const std::string& coordinates) {
        return kml("<Placemark><LineString><coordinates>\n" + coordinates +
                   "</coordinates></LineString></Placemark>\n");
    };
    const struct {
        const char* what;
        std::string bytes;
        const char* error;
    } cases[] = {
        {"text in a tuple", path("1,1\n-121.8,abc,0\n"),
         "*** BAD KML FILE *** x.kml line 6: \"-121.8,abc,0\" (latitude must be a decimal "
         "number)"},
        {"latitude first by mistake", path("36.8,-121.8\n36.9,-121.8\n"),
         "*** BAD KML FILE *** x.kml line 5: \"36.8,-121.8\" (latitude outside -90..90)"},
        {"blank after a comma", path("-121.8, 36.8\n"),
         "*** BAD KML FILE *** x.kml line 5: \"-121.8,\" (expected longitude,latitude[,altitude] "
         "without blanks inside)"},
        {"one number", path("-121.8\n"),
         "*** BAD KML FILE *** x.kml line 5: \"-121.8\" (expected longitude,latitude[,altitude] "
         "without blanks inside)"},
        {"text altitude", path("-121.8,36.8,deep\n"),
         "*** BAD KML FILE *** x.kml line 5: \"-121.8,36.8,deep\" (altitude must be a decimal "
         "number)"},
        {"longitude beyond 180", path("181,0\n"),
         "*** BAD KML FILE *** x.kml line 5: \"181,0\" (longitude outside -180..180)"},
        {"nan", path("nan,0\n"),
         "*** BAD KML FILE *** x.kml line 5: \"nan,0\" (longitude must be a decimal number)"},
        {"gx:coord with text",
         kml("<Placemark><gx:Track>\n<gx:coord>-121.8 north 0</gx:coord></gx:Track></Placemark>\n"),
         "*** BAD KML FILE *** x.kml line 5: \"-121.8 north 0\" (latitude must be a decimal "
         "number)"},
        {"unclosed ring",
         kml("<Placemark><Polygon><outerBoundaryIs><LinearRing><coordinates>\n0,0 1,0 1,1 0,1\n"
             "</coordinates></LinearRing></outerBoundaryIs></Polygon></Placemark>\n"),
         "*** BAD KML FILE *** x.kml line 5: \"0,0 1,0 1,1 0,1\" (ring not closed: its last "
         "position must repeat its first)"},
        {"polygon without outer ring", kml("<Placemark><Polygon/></Placemark>\n"),
         "*** BAD KML FILE *** x.kml line 4: \"Polygon\" (a Polygon needs outerBoundaryIs with a "
         "LinearRing)"},
        {"not KML", "<gpx/>",
         "*** BAD KML FILE *** x.kml line 1: \"gpx\" (the document element of a KML file is kml)"},
    };
    for (const auto& c : cases) {
        const DocumentResult read = readKml(c.bytes, "x.kml");
        EXPECT_FALSE(read.ok) << c.what;
        EXPECT_EQ(read.error, c.error) << c.what;
        EXPECT_TRUE(read.document.features.empty()) << c.what;
    }
}

// Hostile nesting ends in a message, not in an exhausted stack.
TEST(KmlReader, DeepNestingIsBounded) {
    std::string folders;
    for (int i = 0; i < 100000; ++i) {
        folders += "<Folder>";
    }
    folders += "<Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>";
    for (int i = 0; i < 100000; ++i) {
        folders += "</Folder>";
    }
    const DocumentResult deepFolders = readKml(kml(folders), "x.kml");
    ASSERT_TRUE(deepFolders.ok) << deepFolders.error;
    EXPECT_EQ(located(deepFolders.document.features.at(0).points), (Located{{2, 1, 4}}));

    std::string geometry;
    for (int i = 0; i < 40; ++i) {
        geometry += "<MultiGeometry>";
    }
    const DocumentResult deepGeometry =
        readKml(kml("<Placemark>" + geometry + "</Placemark>"), "x.kml");
    EXPECT_FALSE(deepGeometry.ok);
}

// Comments and CDATA split the text of an element; every piece counts, and a lone CR is no
// line end of the file.
TEST(KmlReader, CoordinatesInPiecesAreAllRead) {
    const DocumentResult read = readKml(
        kml("<Placemark><name>A<!-- x -->B</name><LineString><coordinates>1,1 <!-- turn -->\n"
            "2,2 <![CDATA[3,3\n4,4]]>\r5,5</coordinates></LineString></Placemark>\n"),
        "x.kml");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(describe(read.document), (std::vector<std::string>{"route KML path 'AB' line 4"}));
    EXPECT_EQ(located(read.document.features[0].points),
              (Located{{1, 1, 4}, {2, 2, 5}, {3, 3, 5}, {4, 4, 6}, {5, 5, 6}}));
}

// The bundled survey as Google Earth saves it holds the plain example's positions.
TEST(KmlReader, BundledExampleHasThePlainExamplesPositions) {
    const DocumentResult read =
        readKml(exampleBytes("monterey_lawnmower.kml"), "monterey_lawnmower.kml");
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.document.features.size(), 1u);
    EXPECT_EQ(positionsOnly(read.document.features[0].points), plainExamplePositions());
}
