// Tests of the GPX reader: what becomes a candidate, in which order, and what is refused.
#include "document_fixture.h"
#include "input/document_readers.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string gpx(const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
           body + "</gpx>\n";
}

} // namespace

TEST(GpxReader, OpenCpnRouteIsOneCandidateWithItsLines) {
    const DocumentResult read = readGpx(fixtureBytes("opencpn_route.gpx"), "route.gpx");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.document.format, "GPX");
    EXPECT_EQ(describe(read.document),
              (std::vector<std::string>{"route GPX route 'Moss Landing test' line 14"}));
    EXPECT_EQ(located(read.document.features[0].points),
              (Located{{36.8167, -121.8171, 21}, {36.8215, -121.7986, 32}}));
}

TEST(GpxReader, TrackSegmentsAreJoinedWhenThereIsNoRoute) {
    const DocumentResult read = readGpx(fixtureBytes("plotter_track.gpx"), "track.gpx");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(describe(read.document),
              (std::vector<std::string>{"route GPX track 'Moss Landing test' line 8"}));
    EXPECT_EQ(located(read.document.features[0].points),
              (Located{{36.8167, -121.8171, 11}, {36.8215, -121.7986, 14}}));
}

TEST(GpxReader, WaypointsInFileOrderWhenThereIsNoRouteNorTrack) {
    const DocumentResult read = readGpx(fixtureBytes("marks.gpx"), "marks.gpx");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(describe(read.document), (std::vector<std::string>{"route GPX waypoints '' line 3"}));
    EXPECT_EQ(located(read.document.features[0].points),
              (Located{{36.8167, -121.8171, 3}, {36.8215, -121.7986, 6}}));
}

TEST(GpxReader, WhatBecomesTheCandidates) {
    const struct {
        const char* what;
        std::string body;
        std::vector<std::string> candidates;
    } cases[] = {
        {"two routes, in file order",
         "<rte><name>A</name><rtept lat='1' lon='2'/></rte>\n"
         "<rte><name>B</name><rtept lat='3' lon='4'/></rte>\n",
         {"route GPX route 'A' line 3", "route GPX route 'B' line 4"}},
        {"routes win over tracks and waypoints",
         "<wpt lat='0' lon='0'/>\n<trk><trkseg><trkpt lat='1' lon='1'/></trkseg></trk>\n"
         "<rte><rtept lat='2' lon='2'/></rte>\n",
         {"route GPX route '' line 5"}},
        {"an empty route is no candidate",
         "<rte><name>E</name></rte>\n<wpt lat='0' lon='0'/>\n",
         {"route GPX waypoints '' line 4"}},
        {"several tracks",
         "<trk><name>T1</name><trkseg><trkpt lat='1' lon='1'/></trkseg></trk>\n"
         "<trk><name>T2</name><trkseg/><trkseg><trkpt lat='2' lon='2'/></trkseg></trk>\n",
         {"route GPX track 'T1' line 3", "route GPX track 'T2' line 4"}},
        {"nothing at all", "<metadata><name>x</name></metadata>\n", {}},
        {"names keep inner blanks, lose outer ones",
         "<rte><name>\n  Line  12 \n</name><rtept lat='1' lon='1'/></rte>\n",
         {"route GPX route 'Line  12' line 3"}},
    };
    for (const auto& c : cases) {
        const DocumentResult read = readGpx(gpx(c.body), "x.gpx");
        ASSERT_TRUE(read.ok) << c.what << ": " << read.error;
        EXPECT_EQ(describe(read.document), c.candidates) << c.what;
    }
}

TEST(GpxReader, BadPositionsStopTheReadWithFileLineAndText) {
    const struct {
        const char* what;
        std::string body;
        const char* error;
    } cases[] = {
        {"text", "<rte>\n<rtept lat='1' lon='2'/>\n<rtept lat=\"abc\" lon='2'/></rte>\n",
         "*** BAD GPX FILE *** x.gpx line 5: \"abc\" (latitude must be a decimal number)"},
        {"missing lat", "<rte>\n<rtept lon='2'/></rte>\n",
         "*** BAD GPX FILE *** x.gpx line 4: \"<rtept lon='2'/></rte>\" (rtept without lat)"},
        {"empty lon", "<trk><trkseg><trkpt lat='1' lon=''/></trkseg></trk>\n",
         "*** BAD GPX FILE *** x.gpx line 3: longitude must be a decimal number"},
        {"not a number", "<wpt lat='NaN' lon='2'/>\n",
         "*** BAD GPX FILE *** x.gpx line 3: \"NaN\" (latitude must be a decimal number)"},
        {"infinite", "<wpt lat='1' lon='-INF'/>\n",
         "*** BAD GPX FILE *** x.gpx line 3: \"-INF\" (longitude must be a decimal number)"},
        {"latitude beyond 90", "<wpt lat='91' lon='2'/>\n",
         "*** BAD GPX FILE *** x.gpx line 3: \"91\" (latitude outside -90..90)"},
        {"longitude beyond 180", "<wpt lat='1' lon='-180.01'/>\n",
         "*** BAD GPX FILE *** x.gpx line 3: \"-180.01\" (longitude outside -180..180)"},
        {"comma decimal", "<wpt lat='36,8' lon='2'/>\n",
         "*** BAD GPX FILE *** x.gpx line 3: \"36,8\" (latitude must be a decimal number)"},
    };
    for (const auto& c : cases) {
        const DocumentResult read = readGpx(gpx(c.body), "x.gpx");
        EXPECT_FALSE(read.ok) << c.what;
        EXPECT_EQ(read.error, c.error) << c.what;
        EXPECT_TRUE(read.document.features.empty()) << c.what;
    }
}

TEST(GpxReader, BlanksAroundANumberAreAllowedAsXmlAllows) {
    const DocumentResult read = readGpx(gpx("<wpt lat=' 36.8 ' lon='\t-121.9'/>\n"), "x.gpx");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(located(read.document.features[0].points), (Located{{36.8, -121.9, 3}}));
}

TEST(GpxReader, WhatIsNotGpxIsRefused) {
    const struct {
        std::string bytes;
        const char* error;
    } cases[] = {
        {"<gpx><rte></gpx>",
         "*** BAD GPX FILE *** x.gpx line 1: \"<gpx><rte></gpx>\" (not well-formed XML: Start-end "
         "tags mismatch)"},
        {"<?xml version='1.0'?>\n<kml/>\n",
         "*** BAD GPX FILE *** x.gpx line 2: \"kml\" (the document element of a GPX file is gpx)"},
        {"", "*** BAD GPX FILE *** x.gpx line 1: not well-formed XML: No document element found"},
    };
    for (const auto& c : cases) {
        const DocumentResult read = readGpx(c.bytes, "x.gpx");
        EXPECT_FALSE(read.ok) << c.bytes;
        EXPECT_EQ(read.error, c.error) << c.bytes;
    }
}

TEST(GpxReader, ByteOrderMarkAndCarriageReturnsAreAccepted) {
    const DocumentResult read =
        readGpx("\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<gpx>\r\n<rte>\r\n"
                "<rtept lat=\"36.8\" lon=\"-121.9\"/>\r\n</rte>\r\n</gpx>\r\n",
                "x.gpx");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(located(read.document.features[0].points), (Located{{36.8, -121.9, 4}}));
}

// The bundled survey as a chart plotter writes it holds the plain example's positions.
TEST(GpxReader, BundledExampleHasThePlainExamplesPositions) {
    const DocumentResult read =
        readGpx(exampleBytes("monterey_lawnmower.gpx"), "monterey_lawnmower.gpx");
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.document.features.size(), 1u);
    EXPECT_EQ(read.document.features[0].name, "MONTEREY LAWNMOWER");
    EXPECT_EQ(positionsOnly(read.document.features[0].points), plainExamplePositions());
}
