// The water a vehicle may cross between lines, and the shortest way through it: straight
// where nothing is in the way, else bending only at the corners that stick into the water,
// never straight across a bay or an island.
#pragma once

#include "survey/corner_sight.h"
#include "survey/corner_tree.h"
#include "survey/geos_context.h"
#include "survey/plane.h"
#include "survey/sight_table.h"

#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

// A way that strays this far past the water's edge still counts as inside it: the ends of
// the lines lie on the edge as GEOS computed them, up to rounding.
constexpr double kWayTolerance = 1e-4; // meters

// The edges of the water's tolerant edge, filed by the square cells their boxes cover: a
// straight way is checked against the few edges near it, and GEOS is asked only where an
// edge comes too close to tell by plain arithmetic.
struct EdgeGrid {
    PlanePoint origin; // the low corner of the grid
    double cell = 0.0; // meters, the side of a cell; 0: no grid
    std::size_t columns = 0;
    std::size_t rows = 0;
    std::vector<PlaneSegment> edges;
    std::vector<std::uint32_t> first; // per cell, where its edges begin in filed; one more
    std::vector<std::uint32_t> filed; // edge numbers, cell after cell
    // A cell of many edges, where a shore of a chart's detail runs through it, has its edges
    // in order of their low end along the axis the shore runs most along there: a short way
    // is compared only with the edges its box reaches along that axis.
    std::vector<std::uint8_t> axis; // per cell: 0 x, 1 y
    std::vector<double> reach;      // per cell: meters, the longest extent of its edges on it
    std::vector<double> low;        // per filed edge: meters, its low end on its cell's axis
    mutable std::vector<std::uint32_t> seen; // per edge, the last query that met it
    mutable std::uint32_t query = 0;

    // The cell that holds p, or the nearest at the grid's edge: column, row.
    std::pair<std::size_t, std::size_t> cellOf(PlanePoint p) const;
};

struct FreeWater {
    GeosGeometry region;             // the area grown by the run-in, less the holes
    GeosGeometry tolerant;           // the region grown by kWayTolerance
    GeosPrepared tolerantPrepared;   // for the many straight-way tests
    EdgeGrid edgeGrid;               // of the tolerant region's edges
    std::vector<PlanePoint> corners; // where the region's edge turns into the water
    // Per corner, the vertices before and after it on its ring: the land between them is
    // what a way bends round there.
    std::vector<std::array<PlanePoint, 2>> cornerSides;
    // The corners that stand out into the water, by number and place, and a tree of them:
    // a way between two places outside every pocket of the shore bends only at these.
    std::vector<std::uint32_t> openCorners;
    std::vector<PlanePoint> openPlaces;
    CornerTree openTree;
    // The corners in a pocket (a dent of the shore behind a straight way through the water
    // between two of its vertices), with each pocket's box and a tree of them: a way from or
    // to a place in the box may bend at the corner.
    std::vector<std::uint32_t> pocketCorners;
    std::vector<PlanePoint> pocketPlaces;
    std::vector<std::array<PlanePoint, 2>> pocketBoxes;
    CornerTree pocketTree;
    double pocketReach = 0.0; // meters, the farthest a pocket's box reaches from its corner
    // A way is tested in pieces about this long (meters): GEOS tests a straight segment
    // against every edge within its bounding box, which for a long way across a shore of a
    // chart's detail is most of the shore.
    double pieceLength = 0.0;
    // Whether two corners see each other, as found so far: most pairs are never asked about.
    CornerSight cornerSight;
    // Whether a point (a line's end, met again by every sweep of its cell and by the order)
    // sees a corner, as found so far: by the point, then by the corner's number and which
    // way the straight way was tested.
    std::map<std::array<double, 2>, SightTable> pointSight;
    // Ways found, by their ends in increasing order: a cell swept from each of its corners
    // turns between the same line ends again and again.
    std::map<std::array<double, 4>, std::vector<PlanePoint>> known;
};

// The area itself when runIn is 0. With a run-in the vehicle turns outside the area, so its
// water reaches a little more than the run-in past the boundary (never into a hole).
FreeWater makeFreeWater(const Geos& geos, const PlaneArea& area, double runIn);

bool clearWay(const Geos& geos, const FreeWater& water, PlanePoint from, PlanePoint to);

// The shortest way from one point of the water to another, both ends included. Throws a
// GeometryFailure when there is none (a point outside the water).
std::vector<PlanePoint> shortestWay(const Geos& geos, FreeWater& water, PlanePoint from,
                                    PlanePoint to);

double wayLength(const std::vector<PlanePoint>& way);
