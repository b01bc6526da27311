// The water a vehicle may cross between lines, and the shortest way through it: straight
// where nothing is in the way, else bending only at the corners that stick into the water,
// never straight across a bay or an island.
#pragma once

#include "survey/geos_context.h"
#include "survey/plane.h"

#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

// A way that strays this far past the water's edge still counts as inside it: the ends of
// the lines lie on the edge as GEOS computed them, up to rounding.
constexpr double kWayTolerance = 1e-4; // meters

struct FreeWater {
    GeosGeometry region;             // the area grown by the run-in, less the holes
    GeosGeometry tolerant;           // the region grown by kWayTolerance
    GeosPrepared tolerantPrepared;   // for the many straight-way tests
    std::vector<PlanePoint> corners; // where the region's edge turns into the water
    // A way is tested in pieces about this long (meters): GEOS tests a straight segment
    // against every edge within its bounding box, which for a long way across a shore of a
    // chart's detail is most of the shore.
    double pieceLength = 0.0;
    // Whether two corners see each other, by their numbers (the lower in the high half), as
    // found so far: most pairs are never asked about.
    std::unordered_map<std::uint64_t, bool> cornerSight;
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
