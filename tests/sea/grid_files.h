// Small grid files written with GDAL in a test's own folder, for the grid reader's tests.
#pragma once

#include <filesystem>
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>
#include <string>
#include <vector>

struct GridFile {
    int columns = 0;
    int rows = 0;
    double geoTransform[6] = {0.0, 1.0, 0.0, 0.0, 0.0, -1.0}; // GDAL's: corner, steps
    std::string srs; // "EPSG:4326", "EPSG:32610", ... or empty for none
    GDALDataType type = GDT_Float32;
    bool hasNoData = false;
    double noData = 0.0;
    std::string unit;                 // the band's unit type, if any
    std::vector<double> values;       // row by row from the first (north) row
    bool georeferenced = true;        // false: no geotransform at all
    std::vector<std::string> options; // creation options, such as "TILED=YES"
};

// A grid with north up: its north-west corner and square cells of cell in the units of its
// coordinate system, longitude/latitude on WGS 84 unless srs says otherwise.
inline GridFile northUpGrid(double west, double north, double cell, int columns, int rows,
                            const std::string& srs = "EPSG:4326") {
    GridFile grid;
    grid.columns = columns;
    grid.rows = rows;
    grid.geoTransform[0] = west;
    grid.geoTransform[1] = cell;
    grid.geoTransform[3] = north;
    grid.geoTransform[5] = -cell;
    grid.srs = srs;
    return grid;
}

// A coordinate system by name ("EPSG:4326"), longitude or easting first.
inline OGRSpatialReference gisOrder(const char* name) {
    OGRSpatialReference srs;
    srs.SetFromUserInput(name);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

// Writes the grid as a GeoTIFF at path; fails the test where GDAL cannot.
inline void writeGridFile(const std::string& path, const GridFile& grid) {
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    ASSERT_NE(driver, nullptr);
    CPLStringList options;
    for (const std::string& option : grid.options) {
        options.AddString(option.c_str());
    }
    GDALDatasetUniquePtr dataset(
        driver->Create(path.c_str(), grid.columns, grid.rows, 1, grid.type, options.List()));
    ASSERT_TRUE(dataset) << path;
    if (grid.georeferenced) {
        double transform[6];
        std::copy(std::begin(grid.geoTransform), std::end(grid.geoTransform), transform);
        ASSERT_EQ(dataset->SetGeoTransform(transform), CE_None);
    }
    if (!grid.srs.empty()) {
        OGRSpatialReference srs;
        ASSERT_EQ(srs.SetFromUserInput(grid.srs.c_str()), OGRERR_NONE);
        ASSERT_EQ(dataset->SetSpatialRef(&srs), CE_None);
    }
    GDALRasterBand* band = dataset->GetRasterBand(1);
    if (grid.hasNoData) {
        ASSERT_EQ(band->SetNoDataValue(grid.noData), CE_None);
    }
    if (!grid.unit.empty()) {
        band->SetUnitType(grid.unit.c_str());
    }
    if (!grid.values.empty()) {
        std::vector<double> values = grid.values;
        ASSERT_EQ(values.size(), static_cast<std::size_t>(grid.columns) * grid.rows);
        ASSERT_EQ(band->RasterIO(GF_Write, 0, 0, grid.columns, grid.rows, values.data(),
                                 grid.columns, grid.rows, GDT_Float64, 0, 0),
                  CE_None);
    }
}

// A fresh folder for one test's files, removed with it.
class GridFolder {
  public:
    GridFolder() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::path(testing::TempDir()) /
                 (std::string("tavra_sea_") + test->test_suite_name() + "_" + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    ~GridFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string path(const std::string& name) const { return (folder / name).string(); }

  private:
    std::filesystem::path folder;
};
