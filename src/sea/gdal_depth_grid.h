// Opens a bathymetry grid with GDAL: any raster it reads (GeoTIFF, netCDF as GEBCO and ETOPO
// ship, BAG, ASCII grid ...), in any coordinate system it can transform to WGS 84.
#pragma once

#include "sea/depth_grid.h"

#include <memory>
#include <string>

struct GridOpening {
    std::unique_ptr<DepthGrid> grid; // null when the grid cannot be used
    std::string error;               // then one message, in tavra's words
};

// path is handed to GDAL; name is the grid as the planner named it, for the messages.
// The grid's first band holds meters, elevation positive up (GEBCO, ETOPO) unless
// positiveDown says it holds depth. A grid without a coordinate system is taken as
// longitude/latitude on WGS 84. Cells are read through GDAL's block cache, so that a route
// reads only the blocks it crosses of a global grid.
GridOpening openDepthGrid(const std::string& path, const std::string& name, bool positiveDown);

// The block cache a run allows itself unless GDAL_CACHEMAX says otherwise: a route reads
// a few blocks, and a global grid's blocks must not pile up in memory.
constexpr long long kGridCacheBytes = 64LL * 1024 * 1024;
