// A survey of 1000 waypoints off the coast of California and a grid of GEBCO's global size
// under it, made on the spot for the benchmarks of the sea checks.
#include "sea_fixtures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <vector>

namespace {

constexpr int kLines = 500;
constexpr double kSouth = 36.2;
constexpr double kLineSpacingDegrees = 290.0 / 111195.0;
constexpr double kWest = -122.35;
constexpr double kEast = -122.238;

constexpr int kColumns = 86400;
constexpr int kRows = 43200;
constexpr double kCell = 1.0 / 240.0; // 15 arc seconds

template <typename Visit> void lawnmower(Visit visit) {
    for (int line = 0; line < kLines; ++line) {
        const double lat = kSouth + line * kLineSpacingDegrees;
        const bool eastward = line % 2 == 0;
        visit(lat, eastward ? kWest : kEast);
        visit(lat, eastward ? kEast : kWest);
    }
}

} // namespace

std::string seaRouteText() {
    std::string text;
    lawnmower([&](double lat, double lon) {
        char line[64];
        std::snprintf(line, sizeof line, "%.6f %.6f\n", lat, lon);
        text += line;
    });
    return text;
}

void fillSeaRoute(WaypointList& route) {
    lawnmower([&](double lat, double lon) { appendNode(route, lat, lon); });
}

std::string writeGebcoSizeGrid(const std::string& path) {
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    if (driver == nullptr) {
        return "GDAL has no GeoTIFF driver";
    }
    CPLStringList options;
    options.AddString("TILED=YES");
    options.AddString("BLOCKXSIZE=256");
    options.AddString("BLOCKYSIZE=256");
    options.AddString("COMPRESS=DEFLATE");
    options.AddString("SPARSE_OK=TRUE");
    options.AddString("BIGTIFF=IF_SAFER");
    GDALDatasetUniquePtr grid(
        driver->Create(path.c_str(), kColumns, kRows, 1, GDT_Int16, options.List()));
    if (!grid) {
        return "cannot create " + path;
    }
    double transform[6] = {-180.0, kCell, 0.0, 90.0, 0.0, -kCell};
    grid->SetGeoTransform(transform);
    OGRSpatialReference wgs84;
    wgs84.SetWellKnownGeogCS("WGS84");
    grid->SetSpatialRef(&wgs84);
    GDALRasterBand* band = grid->GetRasterBand(1);
    band->SetNoDataValue(-32768.0);
    const int firstColumn = static_cast<int>((-123.0 + 180.0) / kCell);
    const int lastColumn = static_cast<int>((-121.0 + 180.0) / kCell);
    const int firstRow = static_cast<int>((90.0 - 38.0) / kCell);
    const int lastRow = static_cast<int>((90.0 - 35.5) / kCell);
    const int width = lastColumn - firstColumn;
    const int height = lastRow - firstRow;
    std::vector<std::int16_t> cells(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            // From 250 m deep at 123 W up to 250 m of land at 121 W, with a ripple: the
            // survey runs in 60 to 90 m of water, where the yo-yo and the abort depth warn.
            const double x = static_cast<double>(column) / width;
            const double ripple = 30.0 * std::sin(row * 0.05) * std::cos(column * 0.07);
            cells[static_cast<std::size_t>(row) * width + column] =
                static_cast<std::int16_t>(-250.0 + 500.0 * x + ripple);
        }
    }
    if (band->RasterIO(GF_Write, firstColumn, firstRow, width, height, cells.data(), width, height,
                       GDT_Int16, 0, 0) != CE_None) {
        return "cannot write " + path;
    }
    return "";
}

std::string landFile() {
    if (const char* named = std::getenv("TAVRA_WORLD_ATLAS")) {
        return std::string(named) + "/land-10m.json";
    }
    std::error_code error;
    for (std::filesystem::path folder = std::filesystem::current_path(error); !folder.empty();
         folder = folder.parent_path()) {
        const std::filesystem::path candidate = folder / "node_modules/world-atlas/land-10m.json";
        if (std::filesystem::exists(candidate, error)) {
            return candidate.string();
        }
        if (folder == folder.parent_path()) {
            break;
        }
    }
    return "";
}
