// Polygons of a coast's detail held for many cuts to small boxes: what a box can see of a
// ring of a million vertices is picked out in a few thousand steps, not a pass over them all.
#pragma once

#include "route/geo_area.h"

#include <cstddef>
#include <geos_c.h>
#include <ogr_geometry.h>
#include <vector>

class PolygonsNearBox {
  public:
    // The polygons of a polygon or a multipolygon; holds none for any other geometry.
    explicit PolygonsNearBox(const OGRGeometry& geometry);
    bool polygonal() const { return polygonal_; }
    std::size_t vertices() const { return vertices_; }

    // The polygons as GEOS geometry of the same type, with every run of vertices lying beyond
    // one side of the box (all west of it, say) given by its first and last vertex alone, and
    // every ring lying clear of the box left out. The edges that reach into the box are
    // kept as they are, and each ring still winds round every place in the box as often as
    // before, so a cut of this to the box is the cut of the whole; the vertices of each
    // ring's top are kept too, as GEOS tells a ring's orientation from them.
    GEOSGeometry* nearBox(GEOSContextHandle_t context, const GeoBox& box) const;

  private:
    struct Extent {
        double west, east, south, north;
    };
    struct Ring {
        std::vector<double> xy; // x, y of each vertex, closed (the last is the first)
        Extent extent;
        std::vector<Extent> chunks;      // of kChunk vertices each
        std::vector<Extent> blocks;      // of kBlock vertices each
        std::vector<std::size_t> top;    // the vertices of the top and those beside them
        std::vector<bool> chunkHoldsTop; // whether a chunk holds one of them
        std::vector<bool> blockHoldsTop; // the same for a block
        std::size_t size() const { return xy.size() / 2; }
    };
    struct Polygon {
        std::vector<Ring> rings; // the outer first
    };
    static Ring ringOf(const OGRLinearRing& ring);
    static void keepNear(const Ring& ring, const GeoBox& box, std::vector<double>& kept);

    std::vector<Polygon> polygons_;
    bool multi_ = false;
    bool polygonal_ = false;
    std::size_t vertices_ = 0;
};
