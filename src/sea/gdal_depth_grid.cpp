// Opens a bathymetry grid with GDAL and reads its cells through GDAL's block cache.
#include "sea/gdal_depth_grid.h"

#include "gdal/gdal_gate.h"
#include "gdal/gdal_messages.h"
#include "route/displayable_text.h"
#include "route/geodesy.h"
#include "sea/route_legs.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <gdal_priv.h>
#include <limits>
#include <memory>
#include <ogr_spatialref.h>
#include <optional>
#include <utility>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t kMaxFailureCharacters = 240;

struct TransformDeleter {
    void operator()(OGRCoordinateTransformation* transform) const {
        OGRCoordinateTransformation::DestroyCT(transform);
    }
};
using TransformPtr = std::unique_ptr<OGRCoordinateTransformation, TransformDeleter>;

// One band read a cell at a time through GDAL's block cache. The block last used stays
// locked in the cache until another is needed, so a leg crossing one block reads it once.
class BlockReader {
  public:
    explicit BlockReader(GDALRasterBand* band_) : band(band_), type(band_->GetRasterDataType()) {
        band->GetBlockSize(&blockWidth, &blockHeight);
        typeBytes = GDALGetDataTypeSizeBytes(type);
    }
    ~BlockReader() { release(); }
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // The raw value of the cell, or nothing when its block cannot be read.
    std::optional<double> value(std::int64_t column, std::int64_t row) {
        const auto blockX = static_cast<int>(column / blockWidth);
        const auto blockY = static_cast<int>(row / blockHeight);
        if (block == nullptr || blockX != currentX || blockY != currentY) {
            release();
            block = band->GetLockedBlockRef(blockX, blockY);
            if (block == nullptr) {
                return std::nullopt;
            }
            currentX = blockX;
            currentY = blockY;
        }
        const std::int64_t index =
            (row % blockHeight) * static_cast<std::int64_t>(blockWidth) + column % blockWidth;
        double result = 0.0;
        GDALCopyWords(static_cast<const GByte*>(block->GetDataRef()) + index * typeBytes, type, 0,
                      &result, GDT_Float64, 0, 1);
        return result;
    }

  private:
    void release() {
        if (block != nullptr) {
            block->DropLock();
            block = nullptr;
        }
    }

    GDALRasterBand* band;
    GDALDataType type;
    int blockWidth = 1;
    int blockHeight = 1;
    int typeBytes = 1;
    GDALRasterBlock* block = nullptr;
    int currentX = -1;
    int currentY = -1;
};

// How the grid's no-data value compares with a cell read as a double: a Float32 grid holds
// the value rounded to a float (ETOPO5's -1e34 is stored as -9.9999998e33).
double storedNoData(double noData, GDALDataType type) {
    if (type == GDT_Float32 && std::isfinite(noData) &&
        std::fabs(noData) <= std::numeric_limits<float>::max()) {
        return static_cast<double>(static_cast<float>(noData));
    }
    return noData;
}

class GdalDepthGrid final : public DepthGrid {
  public:
    GdalDepthGrid(std::shared_ptr<void> folder_, GDALDatasetUniquePtr dataset_,
                  GDALRasterBand* band_, bool positiveDown_)
        : folder(std::move(folder_)), dataset(std::move(dataset_)), band(band_), values(band_),
          positiveDown(positiveDown_) {
        gridShape.columns = band->GetXSize();
        gridShape.rows = band->GetYSize();
        int has = 0;
        const double noData = band->GetNoDataValue(&has);
        hasNoData = has != 0;
        noDataValue = storedNoData(noData, band->GetRasterDataType());
        scale = band->GetScale(&has);
        scale = has != 0 ? scale : 1.0;
        offset = band->GetOffset(&has);
        offset = has != 0 ? offset : 0.0;
        const int flags = band->GetMaskFlags();
        // A mask of its own (a per-dataset mask, an alpha band) beside or instead of the
        // no-data value; a plain no-data value is compared directly, much faster.
        if ((flags & (GMF_ALL_VALID | GMF_NODATA)) == 0) {
            mask.emplace(band->GetMaskBand());
        }
    }

    // Sets where the grid lies; false when GDAL cannot say (no georeferencing).
    bool place(std::string& error) {
        if (dataset->GetGeoTransform(geoTransform) != CE_None ||
            !GDALInvGeoTransform(geoTransform, inverse)) {
            error = "it has no georeferencing: GDAL cannot tell where its cells lie";
            return false;
        }
        const OGRSpatialReference* stored = dataset->GetSpatialRef();
        OGRSpatialReference wgs84;
        wgs84.SetWellKnownGeogCS("WGS84");
        wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        geographic = stored == nullptr || stored->IsGeographic();
        if (stored != nullptr && !(stored->IsGeographic() && stored->IsSameGeogCS(&wgs84))) {
            OGRSpatialReference grid(*stored);
            grid.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
            toGrid.reset(OGRCreateCoordinateTransformation(&wgs84, &grid));
            fromGrid.reset(OGRCreateCoordinateTransformation(&grid, &wgs84));
            if (!toGrid || !fromGrid) {
                error = "GDAL cannot transform WGS 84 longitude/latitude into its coordinate "
                        "system";
                return false;
            }
        }
        if (geographic) {
            const double width =
                std::fabs(geoTransform[1]) * static_cast<double>(gridShape.columns);
            const bool northUp = geoTransform[2] == 0.0 && geoTransform[4] == 0.0;
            gridShape.wrapsColumns =
                northUp && std::fabs(width - 360.0) <= std::fabs(geoTransform[1]) / 2.0;
            lonCentre = geoTransform[0] +
                        geoTransform[1] * static_cast<double>(gridShape.columns) / 2.0 +
                        geoTransform[2] * static_cast<double>(gridShape.rows) / 2.0;
        }
        return true;
    }

    GridShape shape() const override { return gridShape; }

    std::optional<GridPoint> locate(double lat, double lon) const override {
        double x = lon;
        double y = lat;
        if (toGrid && !toGrid->Transform(1, &x, &y)) {
            return std::nullopt;
        }
        if (!std::isfinite(x) || !std::isfinite(y)) {
            return std::nullopt;
        }
        if (geographic) {
            x = sameTurn(x, lonCentre);
        }
        const double pixel = inverse[0] + inverse[1] * x + inverse[2] * y;
        const double line = inverse[3] + inverse[4] * x + inverse[5] * y;
        return GridPoint{pixel - 0.5, line - 0.5};
    }

    std::optional<double> cellDepth(std::int64_t column, std::int64_t row) override {
        const std::optional<double> raw = values.value(column, row);
        if (!raw) {
            noteFailure();
            return std::nullopt;
        }
        if (mask) {
            const std::optional<double> valid = mask->value(column, row);
            if (!valid) {
                noteFailure();
                return std::nullopt;
            }
            if (*valid == 0.0) {
                return std::nullopt;
            }
        }
        // An infinite depth is no measurement either: it is unknown, not deep water.
        if (!std::isfinite(*raw) || (hasNoData && *raw == noDataValue)) {
            return std::nullopt;
        }
        const double value = *raw * scale + offset;
        if (!std::isfinite(value)) {
            return std::nullopt;
        }
        return positiveDown ? value : -value;
    }

    GroundCell cellOnGround(double lat, double lon) const override {
        const std::optional<GridPoint> point = locate(lat, lon);
        if (!point) {
            return GroundCell{kNaN, kNaN};
        }
        const auto across = [this](GridPoint a, GridPoint b) {
            const std::optional<GeoPoint> first = onEarth(a);
            const std::optional<GeoPoint> second = onEarth(b);
            return first && second
                       ? greatCircleDistance(first->lat, first->lon, second->lat, second->lon)
                       : kNaN;
        };
        const double c = point->column;
        const double r = point->row;
        return GroundCell{across({c - 0.5, r}, {c + 0.5, r}), across({c, r - 0.5}, {c, r + 0.5})};
    }

    std::string readFailure() const override { return failure; }

  private:
    std::optional<GeoPoint> onEarth(GridPoint point) const {
        const double pixel = point.column + 0.5;
        const double line = point.row + 0.5;
        double x = geoTransform[0] + pixel * geoTransform[1] + line * geoTransform[2];
        double y = geoTransform[3] + pixel * geoTransform[4] + line * geoTransform[5];
        if (fromGrid && !fromGrid->Transform(1, &x, &y)) {
            return std::nullopt;
        }
        if (!std::isfinite(x) || !std::isfinite(y)) {
            return std::nullopt;
        }
        return GeoPoint{y, x};
    }

    void noteFailure() {
        if (failure.empty()) {
            // GDAL's words may quote the file's bytes.
            failure = displayableText(CPLGetLastErrorMsg(), kMaxFailureCharacters);
            if (failure.empty()) {
                failure = "GDAL could not read a block of it";
            }
        }
    }

    // GDAL held to the grid's folder while it reads the grid's blocks: a file it opens only
    // then (an Imagine file's spill file) lies there too.
    std::shared_ptr<void> folder;
    GDALDatasetUniquePtr dataset;
    GDALRasterBand* band;
    BlockReader values;
    std::optional<BlockReader> mask;
    bool positiveDown;
    GridShape gridShape;
    double geoTransform[6] = {0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
    double inverse[6] = {0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
    bool geographic = true;
    double lonCentre = 0.0;
    TransformPtr toGrid;
    TransformPtr fromGrid;
    bool hasNoData = false;
    double noDataValue = 0.0;
    double scale = 1.0;
    double offset = 0.0;
    std::string failure;
};

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Units GDAL reports for grids of feet or fathoms, which tavra does not convert.
bool unitIsNotMeters(const char* unit) {
    const std::string text = lowered(unit == nullptr ? "" : unit);
    return text == "ft" || text == "feet" || text == "foot" || text == "us survey foot" ||
           text == "ftus" || text == "fathom" || text == "fathoms" || text == "fm";
}

// The subdatasets GDAL lists for a container of several grids (a netCDF file with more
// than one variable), as names the planner can give instead.
std::string subdatasetNames(GDALDataset& dataset) {
    std::string names;
    CSLConstList list = dataset.GetMetadata("SUBDATASETS");
    for (int i = 0; list != nullptr && list[i] != nullptr; ++i) {
        const char* entry = list[i];
        const char* equals = std::strchr(entry, '=');
        if (equals != nullptr && std::strstr(entry, "_NAME=") != nullptr) {
            names += names.empty() ? "" : ", ";
            names += equals + 1;
        }
    }
    return names;
}

GridOpening refuse(const std::string& name, const std::string& why) {
    return GridOpening{nullptr, "*** --bathymetry " + name + ": " + why + " ***"};
}

} // namespace

GridOpening openDepthGrid(const std::string& path, const std::string& name, bool positiveDown) {
    if (CPLGetConfigOption("GDAL_CACHEMAX", nullptr) == nullptr) {
        GDALSetCacheMax64(kGridCacheBytes);
    }
    GdalMessages messages;
    GdalOpening opening = openGdalFile(path, GdalUse::grid);
    switch (opening.refusal) {
    case GdalRefusal::none:
        break;
    case GdalRefusal::name:
    case GdalRefusal::kind:
        return refuse(name, opening.reason);
    case GdalRefusal::unreadable:
        return refuse(name, "not a grid GDAL can read (" +
                                messages.summary("no raster driver recognises it") + ")");
    }
    GDALDatasetUniquePtr dataset = std::move(opening.dataset);
    if (dataset->GetRasterCount() < 1) {
        const std::string names = subdatasetNames(*dataset);
        return refuse(name, names.empty()
                                ? std::string("it holds no grid")
                                : "it holds several grids; name one of them instead: " + names);
    }
    GDALRasterBand* band = dataset->GetRasterBand(1);
    if (GDALDataTypeIsComplex(band->GetRasterDataType()) != 0) {
        return refuse(name, "its values are complex numbers, not depths");
    }
    if (unitIsNotMeters(band->GetUnitType())) {
        return refuse(name, std::string("its values are in ") + band->GetUnitType() +
                                "; tavra reads grids in meters");
    }
    auto grid = std::make_unique<GdalDepthGrid>(std::move(opening.folder), std::move(dataset), band,
                                                positiveDown);
    std::string error;
    if (!grid->place(error)) {
        return refuse(name, error);
    }
    return GridOpening{std::move(grid), ""};
}
