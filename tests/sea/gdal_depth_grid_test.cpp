// Tests of the GDAL grid: elevation and depth, no data, longitudes stored 0..360, projected
// grids and grids without a coordinate system, and the grids it refuses.
#include "grid_files.h"
#include "route/geodesy.h"
#include "sea/gdal_depth_grid.h"
#include "sea/leg_sampling.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>

namespace {

// A 4 x 3 grid of 0.01 degree cells west of Monterey, elevations -10 -20 -30 ... -120.
GridFile shelf(const std::string& srs = "EPSG:4326") {
    GridFile grid = northUpGrid(-122.0, 36.9, 0.01, 4, 3, srs);
    for (int i = 0; i < 12; ++i) {
        grid.values.push_back(-10.0 * (i + 1));
    }
    return grid;
}

std::unique_ptr<DepthGrid> opened(const std::string& path, bool positiveDown = false) {
    GridOpening opening = openDepthGrid(path, "grid", positiveDown);
    EXPECT_TRUE(opening.grid) << opening.error;
    return std::move(opening.grid);
}

// The depth of the cell whose centre is at column, row of the shelf.
GridReading atCentre(DepthGrid& grid, int column, int row) {
    return readGrid(grid, 36.9 - (row + 0.5) * 0.01, -122.0 + (column + 0.5) * 0.01);
}

} // namespace

TEST(GdalDepthGrid, ElevationBecomesWaterDepthAndDepthGridsReadAsStored) {
    GridFolder folder;
    writeGridFile(folder.path("shelf.tif"), shelf());
    std::unique_ptr<DepthGrid> elevation = opened(folder.path("shelf.tif"));
    ASSERT_TRUE(elevation);
    EXPECT_EQ(elevation->shape().columns, 4);
    EXPECT_EQ(elevation->shape().rows, 3);
    EXPECT_FALSE(elevation->shape().wrapsColumns);
    EXPECT_NEAR(atCentre(*elevation, 2, 1).depth, 70.0, 1e-9);
    EXPECT_NEAR(atCentre(*elevation, 0, 0).depth, 10.0, 1e-9);
    // Stored as depth, the same numbers are land.
    std::unique_ptr<DepthGrid> depth = opened(folder.path("shelf.tif"), true);
    ASSERT_TRUE(depth);
    EXPECT_NEAR(atCentre(*depth, 2, 1).depth, -70.0, 1e-9);
    // A cell 0.01 degrees on a side at 36.88 N, measured apart from the grid.
    const GroundCell cell = elevation->cellOnGround(36.885, -121.985);
    const double radians = 3.14159265358979323846 / 180.0;
    EXPECT_NEAR(cell.height, 6371000.0 * 0.01 * radians, 0.01);
    EXPECT_NEAR(cell.width, 6371000.0 * 0.01 * radians * std::cos(36.885 * radians), 0.01);
}

TEST(GdalDepthGrid, AnAsciiGridReadsLikeAnyOther) {
    GridFolder folder;
    writeGridFile(folder.path("shelf.tif"), shelf());
    {
        GDALDatasetUniquePtr tiff(GDALDataset::Open(folder.path("shelf.tif").c_str()));
        GDALDriver* ascii = GetGDALDriverManager()->GetDriverByName("AAIGrid");
        ASSERT_NE(ascii, nullptr);
        GDALDatasetUniquePtr copy(ascii->CreateCopy(folder.path("shelf.asc").c_str(), tiff.get(),
                                                    FALSE, nullptr, nullptr, nullptr));
        ASSERT_TRUE(copy);
    }
    std::unique_ptr<DepthGrid> grid = opened(folder.path("shelf.asc"));
    ASSERT_TRUE(grid);
    EXPECT_NEAR(atCentre(*grid, 2, 1).depth, 70.0, 1e-9);
    EXPECT_NEAR(atCentre(*grid, 3, 2).depth, 120.0, 1e-9);
}

TEST(GdalDepthGrid, NoDataAndNotANumberHoldNoDepth) {
    GridFolder folder;
    GridFile grid = shelf();
    grid.hasNoData = true;
    grid.noData = -32767.0;
    grid.values[5] = -32767.0;                                 // column 1, row 1
    grid.values[3] = std::numeric_limits<double>::quiet_NaN(); // column 3, row 0
    writeGridFile(folder.path("holes.tif"), grid);
    std::unique_ptr<DepthGrid> opened_ = opened(folder.path("holes.tif"));
    ASSERT_TRUE(opened_);
    EXPECT_FALSE(opened_->cellDepth(1, 1).has_value());
    EXPECT_FALSE(opened_->cellDepth(3, 0).has_value());
    EXPECT_EQ(*opened_->cellDepth(2, 1), 70.0);
    EXPECT_EQ(atCentre(*opened_, 1, 1).state, DepthState::noData);
    EXPECT_EQ(atCentre(*opened_, 2, 2).state, DepthState::known);
    // Off the grid: half a cell beyond the outer centres.
    // Between the grid's west edge and the first centre a place is still on the grid.
    EXPECT_EQ(readGrid(*opened_, 36.9 - 0.025, -122.0 - 0.001).state, DepthState::offGrid);
    EXPECT_EQ(readGrid(*opened_, 36.9 - 0.025, -122.0 + 0.004).state, DepthState::known);
}

TEST(GdalDepthGrid, LongitudesStoredFrom0To360) {
    GridFolder folder;
    // The shelf moved to 238 E, as ETOPO stores the Pacific.
    GridFile regional = shelf();
    regional.geoTransform[0] = 238.0;
    writeGridFile(folder.path("east.tif"), regional);
    std::unique_ptr<DepthGrid> east = opened(folder.path("east.tif"));
    ASSERT_TRUE(east);
    EXPECT_NEAR(readGrid(*east, 36.885, -121.975).depth, 70.0, 1e-9);
    EXPECT_NEAR(readGrid(*east, 36.885, 238.025).depth, 70.0, 1e-9);

    // A whole globe of 10 degree cells from 0 E: 355 E and 5 E are neighbours across 0.
    GridFile globe = northUpGrid(0.0, 90.0, 10.0, 36, 18);
    globe.values.assign(36 * 18, -1000.0);
    globe.values[8 * 36 + 35] = -40.0; // 355 E, 5 N
    globe.values[8 * 36 + 0] = -60.0;  // 5 E, 5 N
    writeGridFile(folder.path("globe.tif"), globe);
    std::unique_ptr<DepthGrid> round = opened(folder.path("globe.tif"));
    ASSERT_TRUE(round);
    EXPECT_TRUE(round->shape().wrapsColumns);
    for (const double lon : {0.0, 360.0, -360.0}) {
        const GridReading reading = readGrid(*round, 5.0, lon);
        EXPECT_NEAR(reading.depth, 50.0, 1e-9) << lon;
        EXPECT_EQ(reading.shallowest, 40.0) << lon;
    }
}

TEST(GdalDepthGrid, ProjectedGridsAreReachedFromLongitudeLatitude) {
    GridFolder folder;
    // UTM zone 10 north, 100 m cells, each cell's value its own column and row.
    GridFile utm = northUpGrid(591500.0, 4073500.0, 100.0, 20, 20, "EPSG:32610");
    for (int row = 0; row < 20; ++row) {
        for (int column = 0; column < 20; ++column) {
            utm.values.push_back(-(1000.0 + column * 100.0 + row));
        }
    }
    writeGridFile(folder.path("utm.tif"), utm);
    std::unique_ptr<DepthGrid> grid = opened(folder.path("utm.tif"));
    ASSERT_TRUE(grid);
    // Where PROJ puts the position, asked apart from the grid.
    OGRSpatialReference wgs84 = gisOrder("EPSG:4326");
    OGRSpatialReference zone10 = gisOrder("EPSG:32610");
    std::unique_ptr<OGRCoordinateTransformation> toUtm(
        OGRCreateCoordinateTransformation(&wgs84, &zone10));
    for (const GeoPoint place :
         {GeoPoint{36.8, -121.97}, GeoPoint{36.79, -121.96}, GeoPoint{36.7855, -121.9555}}) {
        double x = place.lon;
        double y = place.lat;
        ASSERT_TRUE(toUtm->Transform(1, &x, &y));
        const double column = (x - 591500.0) / 100.0 - 0.5;
        const double row = (4073500.0 - y) / 100.0 - 0.5;
        ASSERT_GT(column, 0.0);
        ASSERT_LT(column, 19.0);
        ASSERT_GT(row, 0.0);
        ASSERT_LT(row, 19.0);
        const GridReading reading = readGrid(*grid, place.lat, place.lon);
        ASSERT_EQ(reading.state, DepthState::known);
        // Bilinear in a grid whose value grows by 100 a column and 1 a row is exact.
        EXPECT_NEAR(reading.depth, 1000.0 + column * 100.0 + row, 1e-6);
        EXPECT_EQ(reading.shallowest, 1000.0 + std::floor(column) * 100.0 + std::floor(row));
    }
    // A 100 m cell on the ground, worked out by hand: the map is 1/k of the ellipsoid,
    // with k = 0.9996 (1 + x^2 / 2R^2) at x from the central meridian, and tavra measures on
    // its sphere of 6371 km, not on the ellipsoid's radii N (east-west) and M (north-south).
    double x = -121.96;
    double y = 36.79;
    ASSERT_TRUE(toUtm->Transform(1, &x, &y));
    const double k = 0.9996 * (1.0 + std::pow(x - 500000.0, 2) / (2.0 * 6371000.0 * 6371000.0));
    const double e2 = 0.00669437999014;
    const double sin2 = std::pow(std::sin(36.79 * 3.14159265358979323846 / 180.0), 2);
    const double n = 6378137.0 / std::sqrt(1.0 - e2 * sin2);
    const double m = 6378137.0 * (1.0 - e2) / std::pow(1.0 - e2 * sin2, 1.5);
    const GroundCell cell = grid->cellOnGround(36.79, -121.96);
    EXPECT_NEAR(cell.width, 100.0 / k * 6371000.0 / n, 0.005);
    EXPECT_NEAR(cell.height, 100.0 / k * 6371000.0 / m, 0.005);
    // A position the projection does not reach well is off the grid, never a pass.
    EXPECT_EQ(readGrid(*grid, -60.0, 60.0).state, DepthState::offGrid);
}

TEST(GdalDepthGrid, AGridWithoutCoordinateSystemIsLongitudeLatitude) {
    GridFolder folder;
    writeGridFile(folder.path("bare.tif"), shelf(""));
    std::unique_ptr<DepthGrid> grid = opened(folder.path("bare.tif"));
    ASSERT_TRUE(grid);
    EXPECT_NEAR(atCentre(*grid, 3, 2).depth, 120.0, 1e-9);
}

TEST(GdalDepthGrid, GridsItCannotUseAreRefusedWithAReason) {
    GridFolder folder;
    std::ofstream(folder.path("notes.txt")) << "36.8 -121.9\n";
    GridOpening opening = openDepthGrid(folder.path("notes.txt"), "notes.txt", false);
    EXPECT_FALSE(opening.grid);
    EXPECT_EQ(opening.error.rfind("*** --bathymetry notes.txt: not a grid GDAL can read (", 0), 0u)
        << opening.error;

    opening = openDepthGrid(folder.path("missing.tif"), "missing.tif", false);
    EXPECT_FALSE(opening.grid);
    EXPECT_NE(opening.error.find("missing.tif"), std::string::npos);

    GridFile nowhere = shelf("");
    nowhere.georeferenced = false;
    writeGridFile(folder.path("nowhere.tif"), nowhere);
    opening = openDepthGrid(folder.path("nowhere.tif"), "nowhere.tif", false);
    EXPECT_EQ(opening.error, "*** --bathymetry nowhere.tif: it has no georeferencing: GDAL cannot "
                             "tell where its cells lie ***");

    GridFile feet = shelf();
    feet.unit = "ft";
    writeGridFile(folder.path("feet.tif"), feet);
    opening = openDepthGrid(folder.path("feet.tif"), "feet.tif", false);
    EXPECT_EQ(opening.error,
              "*** --bathymetry feet.tif: its values are in ft; tavra reads grids in meters ***");
}

TEST(GdalDepthGrid, OnlyTheBlocksAlongTheRouteAreRead) {
    GridFolder folder;
    // A tiled grid of 4096 x 4096 cells written sparsely: only one tile holds values, the
    // others were never written and read as no data, so reading them would show.
    GridFile tiled = northUpGrid(-123.0, 37.0, 0.001, 4096, 4096);
    tiled.hasNoData = true;
    tiled.noData = -32768.0;
    tiled.type = GDT_Int16;
    tiled.options = {"TILED=YES", "BLOCKXSIZE=256", "BLOCKYSIZE=256", "SPARSE_OK=TRUE",
                     "COMPRESS=DEFLATE"};
    writeGridFile(folder.path("tiled.tif"), tiled);
    {
        GDALDatasetUniquePtr dataset(
            GDALDataset::Open(folder.path("tiled.tif").c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE));
        ASSERT_TRUE(dataset);
        std::vector<std::int16_t> tile(256 * 256, -42);
        ASSERT_EQ(dataset->GetRasterBand(1)->RasterIO(GF_Write, 512, 256, 256, 256, tile.data(),
                                                      256, 256, GDT_Int16, 0, 0),
                  CE_None);
    }
    const GIntBig cachedBefore = GDALGetCacheUsed64();
    std::unique_ptr<DepthGrid> grid = opened(folder.path("tiled.tif"));
    ASSERT_TRUE(grid);
    // Inside the written tile: columns 512..767, rows 256..511.
    EXPECT_NEAR(readGrid(*grid, 37.0 - 0.3, -123.0 + 0.6).depth, 42.0, 1e-9);
    EXPECT_EQ(readGrid(*grid, 37.0 - 0.1, -123.0 + 0.1).state, DepthState::noData);
    EXPECT_EQ(grid->readFailure(), "");
    // Two tiles of 256 x 256 cells of 2 bytes in the block cache, not the grid's 256.
    EXPECT_LE(GDALGetCacheUsed64() - cachedBefore, 2 * 256 * 256 * 2 + 4096);
}
