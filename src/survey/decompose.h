// Boustrophedon decomposition: the area cut along the lines' direction at each critical
// point, where a hole or a bend of the boundary splits the water across the lines in two or
// joins two into one, so that every cell meets each line across it in one piece and can be
// swept line by line; and at each step, an edge along the lines where the water widens, so
// that every cell can be covered to its edges by lines of its own.
#pragma once

#include "survey/geos_context.h"
#include "survey/plane.h"

#include <cstddef>
#include <vector>

// Vertices whose y differ by less than this are taken to lie on one line across.
constexpr double kLevelTolerance = 1e-6; // meters

// The area (in the frame of the lines) with every y that lies within kLevelTolerance of a
// lower one set equal to it: an edge meant parallel to the lines, off by the rounding of the
// rotation, is then exactly parallel, and two holes whose ends are level share one cut.
PlaneArea leveled(const PlaneArea& area);

// A cut across the water along the lines, from a critical point out to the boundary. A
// critical point is a vertex, or a run of vertices along the lines, where the ring turns back
// across them with water on both sides (a split when its neighbours lie above, a join when
// below): it has a cut on each side. A step, an edge along the lines with water beyond one
// of its ends, where the water across widens, has one cut on that side.
struct Cut {
    double y = 0.0;    // meters across
    double xLow = 0.0; // meters along: the cut's ends, one of them the critical vertex
    double xHigh = 0.0;
};

std::vector<Cut> cutsAcross(const Geos& geos, const PlaneArea& area);

// Meters along a slice, from low to high.
struct Interval {
    double low = 0.0;
    double high = 0.0;
};

// Where an edge meets a slice, for noding the cuts with the rings: at one x, or from low to
// high for an edge along the slice.
struct EdgeMeet {
    Interval x;
    std::size_t ring = 0; // 0 the boundary, k the hole k - 1
    std::size_t edge = 0; // from the vertex of this index to the next
};
using SliceMeets = std::vector<std::vector<EdgeMeet>>; // by slice

// The cuts, with the ys of the slices through the critical points and steps (ascending);
// where meets is given, also where the rings' edges meet each of those slices.
std::vector<Cut> cutsOnSlices(const Geos& geos, const PlaneArea& area, std::vector<double>& ys,
                              SliceMeets* meets);

// The cells of a leveled area (frame of the lines), ordered by their lowest y, then x.
std::vector<PlaneArea> decompose(const Geos& geos, const PlaneArea& area);
