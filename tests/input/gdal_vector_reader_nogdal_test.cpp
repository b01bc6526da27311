// Tests of a build without GDAL: other GIS files are refused in one line naming the formats
// this build reads.
#include "input/document_readers.h"

#include <gtest/gtest.h>

TEST(GdalVectorReader, BuildWithoutGdalSaysWhichFormatsItReads) {
    EXPECT_FALSE(gdalRecognises(std::string(TAVRA_TEST_DATA_DIR) + "/input/box.topojson"));
    const DocumentResult read = readWithGdal("lines.shp", "lines.shp");
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.document.features.empty());
#ifdef TAVRA_HAVE_XML
    EXPECT_EQ(read.error, "*** lines.shp: this build of tavra reads waypoint files in plain text, "
                          "CSV, GPX, KML and GeoJSON only; other GIS formats need a build with "
                          "GDAL ***");
#else
    EXPECT_EQ(read.error, "*** lines.shp: this build of tavra reads waypoint files in plain text, "
                          "CSV and GeoJSON only; other GIS formats need a build with GDAL ***");
#endif
}
