// The edges of a zone of a chart's detail in a grid of cells, for what a leg asks of it.
#pragma once

#include "route/geo_area.h"

#include <cstddef>
#include <cstdint>
#include <ogr_geometry.h>
#include <vector>

// The rings of the polygons in a geometry, at any depth of collections; nothing of other
// kinds.
void collectRings(const OGRGeometry& geometry, std::vector<const OGRLinearRing*>& rings);

// A stretch of a straight piece that lies in a zone, edges and corners counted as inside:
// from and to are fractions of the piece (0 its start, 1 its end), with the places where
// the stretch begins and ends (x longitude, y latitude).
struct PieceStretch {
    double from = 0.0;
    double to = 0.0;
    double fromX = 0.0, fromY = 0.0;
    double toX = 0.0, toY = 0.0;
};

// The rings of a polygon or a multipolygon, their edges filed by the cells of a grid they
// pass through. A leg's piece meets only the edges of the few cells round it, and a place's
// parity of crossings is counted along one row of cells: where GEOS, handed the zone or
// its cut to a box, would index or join every edge there, and the spikes of a star or the
// detail of a shore put thousands of edges into any box round a leg.
class ZoneEdges {
  public:
    // asked: the box the places and pieces asked about lie in, over which the cells are
    // laid (a zone may reach far beyond it); an empty box for the zone's whole extent.
    explicit ZoneEdges(const OGRGeometry& geometry, const GeoBox& asked = GeoBox{});

    // Whether the place lies in the zone or on one of its edges.
    bool contains(double x, double y) const;

    // The stretches of the straight piece from (x0, y0) to (x1, y1) that lie in the zone,
    // in order, each as long as it is unbroken (a place where the piece only touches an edge
    // or a corner is a stretch of no length). startInside: whether (x0, y0) lies in the zone
    // or on an edge, as contains() gives it.
    std::vector<PieceStretch> stretches(double x0, double y0, double x1, double y1,
                                        bool startInside) const;

  private:
    struct Edge {
        double ax, ay, bx, by;
    };
    void addRing(const OGRLinearRing& ring);
    void file(const GeoBox& asked);
    std::size_t column(double x) const;
    std::size_t row(double y) const;
    // Calls visit(edge index) once for each edge filed in the cells of the columns and rows
    // given (inclusive).
    template <typename Visit>
    void eachEdge(std::size_t column0, std::size_t column1, std::size_t row0, std::size_t row1,
                  Visit visit) const;

    std::vector<Edge> edges_;
    GeoBox extent_;                   // of every edge
    double west_ = 0.0, south_ = 0.0; // where the grid starts
    double cellWidth_ = 1.0, cellHeight_ = 1.0;
    std::size_t columns_ = 1, rows_ = 1;
    std::vector<std::uint32_t> firstInCell_;  // per cell, where its edges start in filed_
    std::vector<std::uint32_t> filed_;        // edge indices, cell by cell
    mutable std::vector<std::uint32_t> seen_; // per edge, the last visit that saw it
    mutable std::uint32_t visit_ = 0;
};
