// Tests of the GDAL reader on files ogr2ogr makes (through GDAL's own library call) from
// the GeoJSON fixture: Shapefile, GeoPackage, a projected Shapefile, one without its .prj.
#include "document_fixture.h"
#include "input/document_readers.h"

#include <filesystem>
#include <gdal_utils.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A scratch folder per test and process (builds of other checkouts may run the same test at
// the same time), removed with everything in it.
struct ScratchFolder {
    fs::path path;
    ScratchFolder() {
        path = fs::temp_directory_path() /
               ("tavra_gdal_" + std::to_string(::getpid()) + '_' +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder() { fs::remove_all(path); }
};

std::string fixturePath(const std::string& name) {
    return dataPath("input", name);
}

// ogr2ogr <arguments> <target> <source>, as the library call GDAL's own program makes.
void ogr2ogr(const std::vector<std::string>& arguments, const std::string& target,
             const std::string& source) {
    GDALAllRegister();
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    GDALVectorTranslateOptions* options = GDALVectorTranslateOptionsNew(argv.data(), nullptr);
    ASSERT_NE(options, nullptr);
    GDALDatasetH input = GDALOpenEx(source.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    ASSERT_NE(input, nullptr);
    int usageError = 0;
    GDALDatasetH output =
        GDALVectorTranslate(target.c_str(), nullptr, 1, &input, options, &usageError);
    GDALVectorTranslateOptionsFree(options);
    ASSERT_NE(output, nullptr);
    GDALClose(output);
    GDALClose(input);
}

const Located kTwoPoints{{36.8167, -121.8171, 0}, {36.8215, -121.7986, 0}};

} // namespace

TEST(GdalVectorReader, GisFilesGiveTheLineAsWritten) {
    ScratchFolder scratch;
    const struct {
        const char* driver;
        const char* file;
    } cases[] = {{"ESRI Shapefile", "line.shp"},
                 {"GPKG", "line.gpkg"},
                 {"FlatGeobuf", "line.fgb"},
                 {"LIBKML", "line.kmz"}}; // KML zipped, as Google Earth also saves it
    for (const auto& c : cases) {
        const std::string path = (scratch.path / c.file).string();
        ogr2ogr({"-f", c.driver}, path, fixturePath("qgis_line.geojson"));
        EXPECT_TRUE(gdalRecognises(path)) << c.driver;
        const DocumentResult read = readWithGdal(path, c.file);
        ASSERT_TRUE(read.ok) << c.driver << ": " << read.error;
        EXPECT_EQ(read.document.format, c.driver);
        EXPECT_EQ(describe(read.document),
                  (std::vector<std::string>{"route " + std::string(c.driver) +
                                            " line 'Moss Landing test' line 0"}))
            << c.driver;
        EXPECT_EQ(located(read.document.features.at(0).points), kTwoPoints) << c.driver;
    }
}

// Standard input and pipes have no path: GDAL reads their bytes from memory, which serves
// the formats of one file.
TEST(GdalVectorReader, BytesWithoutAPathAreReadFromMemory) {
    ScratchFolder scratch;
    const std::string path = (scratch.path / "line.gpkg").string();
    ogr2ogr({"-f", "GPKG"}, path, fixturePath("qgis_line.geojson"));
    const DocumentResult fromPipe = readWithGdal("", "-", fileBytes(path));
    ASSERT_TRUE(fromPipe.ok) << fromPipe.error;
    EXPECT_EQ(located(fromPipe.document.features.at(0).points), kTwoPoints);
    const DocumentResult topology = readWithGdal("", "-", fixtureBytes("box.topojson"));
    ASSERT_TRUE(topology.ok) << topology.error;
    EXPECT_EQ(topology.document.features.size(), 1u);
    const DocumentResult nothing = readWithGdal("", "-");
    EXPECT_FALSE(nothing.ok);
}

// The file holds metres of UTM zone 10; read back, they must be the degrees they were made
// from, to well under a millimetre.
TEST(GdalVectorReader, ProjectedPositionsAreTransformedToWgs84) {
    ScratchFolder scratch;
    const std::string path = (scratch.path / "utm.shp").string();
    ogr2ogr({"-f", "ESRI Shapefile", "-t_srs", "EPSG:32610"}, path,
            fixturePath("qgis_line.geojson"));
    const DocumentResult read = readWithGdal(path, "utm.shp");
    ASSERT_TRUE(read.ok) << read.error;
    const std::vector<SourcePoint>& points = read.document.features.at(0).points;
    ASSERT_EQ(points.size(), 2u);
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_NEAR(points[i].lat, std::get<0>(kTwoPoints[i]), 1e-8);
        EXPECT_NEAR(points[i].lon, std::get<1>(kTwoPoints[i]), 1e-8);
    }
}

// A table of notes beside the line has no geometry, so neither positions nor a coordinate
// reference system to ask for.
TEST(GdalVectorReader, TablesWithoutGeometryAreNoCandidates) {
    ScratchFolder scratch;
    const std::string path = (scratch.path / "plan.gpkg").string();
    ogr2ogr({"-f", "GPKG", "-nlt", "NONE", "-nln", "notes"}, path,
            fixturePath("qgis_line.geojson"));
    ogr2ogr({"-update", "-nln", "line"}, path, fixturePath("qgis_line.geojson"));
    const DocumentResult read = readWithGdal(path, "plan.gpkg");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(describe(read.document),
              (std::vector<std::string>{"route GPKG line 'Moss Landing test' line 0"}));
}

TEST(GdalVectorReader, LayerWithoutCoordinateSystemIsRefused) {
    ScratchFolder scratch;
    const std::string path = (scratch.path / "bare.shp").string();
    ogr2ogr({"-f", "ESRI Shapefile"}, path, fixturePath("qgis_line.geojson"));
    fs::remove(scratch.path / "bare.prj");
    const DocumentResult read = readWithGdal(path, "bare.shp");
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "*** BAD ESRI Shapefile FILE *** bare.shp layer \"bare\": no coordinate "
                          "reference system, so its positions could be anywhere (a Shapefile "
                          "keeps it in a .prj file beside the .shp)");
}

// Coordinates of the fixture, worked by hand: arc (0,0) (+10,0) (0,+10) (-10,0) (0,-10)
// scaled by (0.1, 0.05) from (-122, 36).
TEST(GdalVectorReader, TopoJsonPolygonsAreAreasInWgs84ByDefinition) {
    const DocumentResult read = readWithGdal(fixturePath("box.topojson"), "box.topojson");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(describe(read.document),
              (std::vector<std::string>{"area TopoJSON polygon 'Box' line 0"}));
    const SourceFeature& area = read.document.features.at(0);
    ASSERT_EQ(area.rings.size(), 1u);
    const Located expected{
        {36.0, -122.0, 0}, {36.0, -121.0, 0}, {36.5, -121.0, 0}, {36.5, -122.0, 0}};
    ASSERT_EQ(area.rings[0].size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(area.rings[0][i].lat, std::get<0>(expected[i]), 1e-12);
        EXPECT_NEAR(area.rings[0][i].lon, std::get<1>(expected[i]), 1e-12);
    }
}

// GDAL must never print: whatever it says ends up in tavra's one message.
TEST(GdalVectorReader, WhatGdalSaysIsCollectedNotPrinted) {
    ScratchFolder scratch;
    const std::string broken = (scratch.path / "broken.shp").string();
    ogr2ogr({"-f", "ESRI Shapefile"}, broken, fixturePath("qgis_line.geojson"));
    fs::remove(scratch.path / "broken.shx");
    fs::remove(scratch.path / "broken.dbf");
    const std::string missing = (scratch.path / "missing.gpkg").string();

    ::testing::internal::CaptureStderr();
    const DocumentResult brokenRead = readWithGdal(broken, "broken.shp");
    const DocumentResult missingRead = readWithGdal(missing, "missing.gpkg");
    const bool recognised = gdalRecognises(missing);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    EXPECT_FALSE(brokenRead.ok);
    EXPECT_TRUE(brokenRead.error.starts_with(
        "*** BAD GIS FILE *** broken.shp: not a vector file that GDAL can open (GDAL: "))
        << brokenRead.error;
    EXPECT_FALSE(missingRead.ok);
    EXPECT_TRUE(missingRead.error.starts_with("*** BAD GIS FILE *** missing.gpkg: "))
        << missingRead.error;
    EXPECT_FALSE(recognised);
}

TEST(GdalVectorReader, PlainWaypointFilesAreNotTakenForGisFiles) {
    EXPECT_FALSE(gdalRecognises(std::string(TAVRA_TEST_DATA_DIR) + "/run/two_points.txt"));
    EXPECT_FALSE(gdalRecognises(""));
    EXPECT_TRUE(gdalRecognises(fixturePath("box.topojson")));
}
