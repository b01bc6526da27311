// Tests of a build without pugixml: GPX and KML files are refused in one line each.
#include "input/document_readers.h"
#include "input/document_text.h"

#include <gtest/gtest.h>

TEST(XmlReaders, BuildWithoutPugixmlSaysItReadsNoGpxNorKml) {
    EXPECT_EQ(formatsThisBuildReads().find("GPX"), std::string::npos);
    const DocumentResult gpx = readGpx("<gpx><wpt lat='1' lon='2'/></gpx>", "route.gpx");
    EXPECT_FALSE(gpx.ok);
    EXPECT_EQ(gpx.error, "*** route.gpx: this build of tavra does not read GPX files; it reads " +
                             formatsThisBuildReads() + " ***");
    const DocumentResult kml = readKml("<kml/>", "path.kml");
    EXPECT_FALSE(kml.ok);
    EXPECT_EQ(kml.error, "*** path.kml: this build of tavra does not read KML files; it reads " +
                             formatsThisBuildReads() + " ***");
}
