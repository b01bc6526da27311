// A longitude/latitude grid held in memory, so that the sampling is tested without files.
#pragma once

#include "route/geodesy.h"
#include "sea/depth_grid.h"
#include "sea/route_legs.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

// Cells of cellDegrees on a side; the first cell's north-west corner at (north, west); rows
// run south. Depths are water depths, NaN for a cell without data.
class MemoryGrid : public DepthGrid {
  public:
    MemoryGrid(double west_, double north_, double cellDegrees_, std::int64_t columns,
               std::int64_t rows, double depth)
        : west(west_), north(north_), cellDegrees(cellDegrees_),
          depths(static_cast<std::size_t>(columns * rows), depth) {
        gridShape.columns = columns;
        gridShape.rows = rows;
        gridShape.wrapsColumns =
            std::fabs(cellDegrees * static_cast<double>(columns) - 360.0) < cellDegrees / 2.0;
    }

    double& at(std::int64_t column, std::int64_t row) {
        return depths[static_cast<std::size_t>(row * gridShape.columns + column)];
    }

    // Where the centre of a cell lies.
    GeoPoint centre(std::int64_t column, std::int64_t row) const {
        return GeoPoint{north - (static_cast<double>(row) + 0.5) * cellDegrees,
                        west + (static_cast<double>(column) + 0.5) * cellDegrees};
    }

    GridShape shape() const override { return gridShape; }

    std::optional<GridPoint> locate(double lat, double lon) const override {
        const double middle = west + cellDegrees * static_cast<double>(gridShape.columns) / 2.0;
        return GridPoint{(sameTurn(lon, middle) - west) / cellDegrees - 0.5,
                         (north - lat) / cellDegrees - 0.5};
    }

    std::optional<double> cellDepth(std::int64_t column, std::int64_t row) override {
        ++reads;
        if (column < 0 || row < 0 || column >= gridShape.columns || row >= gridShape.rows) {
            outside = true;
            return std::nullopt;
        }
        const double depth = depths[static_cast<std::size_t>(row * gridShape.columns + column)];
        if (std::isnan(depth)) {
            return std::nullopt;
        }
        return depth;
    }

    GroundCell cellOnGround(double lat, double) const override {
        return GroundCell{greatCircleDistance(lat, 0.0, lat, cellDegrees),
                          greatCircleDistance(lat, 0.0, lat + cellDegrees, 0.0)};
    }

    std::string readFailure() const override { return failure; }

    std::string failure; // what readFailure reports
    std::uint64_t reads = 0;
    bool outside = false; // a cell off the grid was asked for, which the sampling never does

  private:
    double west;
    double north;
    double cellDegrees;
    std::vector<double> depths;
    GridShape gridShape;
};
