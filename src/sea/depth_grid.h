// A bathymetry grid as the leg sampling sees it: where a position falls among the cells,
// the water depth of a cell, and how large a cell is on the ground. The GDAL grid is one such
// grid; the tests hand the sampling small grids held in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A position in the grid, in cells: cell centres lie on whole numbers, column 0 is the
// grid's first column and row 0 its first row, as the grid stores them.
struct GridPoint {
    double column = 0.0;
    double row = 0.0;
};

struct GridShape {
    std::int64_t columns = 0;
    std::int64_t rows = 0;
    // The columns go once round the globe (a global longitude/latitude grid), so the last
    // column's neighbour is the first.
    bool wrapsColumns = false;
};

// The ground distance between neighbouring cell centres, in meters on tavra's sphere.
struct GroundCell {
    double width = 0.0;  // from one column to the next
    double height = 0.0; // from one row to the next
};

class DepthGrid {
  public:
    virtual ~DepthGrid() = default;

    virtual GridShape shape() const = 0;

    // Where the position (decimal degrees, WGS 84; the longitude in any turn, 190 is -170)
    // falls, or nothing where it cannot be placed on the grid at all (a projection that
    // does not reach it). The point may lie outside the grid.
    virtual std::optional<GridPoint> locate(double lat, double lon) const = 0;

    // The water depth of the cell, meters positive down, whatever the grid stores; nothing
    // where the cell holds no data. column and row lie within shape().
    virtual std::optional<double> cellDepth(std::int64_t column, std::int64_t row) = 0;

    // The size of a cell on the ground at the position; NaN in both where it cannot be told.
    virtual GroundCell cellOnGround(double lat, double lon) const = 0;

    // Why reading a cell failed (a damaged file, a read error), or empty: a grid that failed
    // to read is never taken for one without data.
    virtual std::string readFailure() const = 0;
};
