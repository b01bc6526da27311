// Boustrophedon decomposition: the area cut along the lines' direction at each critical
// point, where a hole or a bend of the boundary splits the water across the lines in two or
// joins two into one, so that every cell meets each line across it in one piece and can be
// swept line by line; and at each step, an edge along the lines where the water widens, so
// that every cell can be covered to its edges by lines of its own.
#pragma once

#include "survey/geos_context.h"
#include "survey/plane.h"

#include <vector>

// Vertices whose y differ by less than this are taken to lie on one line across.
constexpr double kLevelTolerance = 1e-6; // meters

// The area (in the frame of the lines) with every y that lies within kLevelTolerance of a
// lower one set equal to it: an edge meant parallel to the lines, off by the rounding of the
// rotation, is then exactly parallel, and two holes whose ends are level share one cut.
PlaneArea leveled(const PlaneArea& area);

// A critical point: a vertex, or a run of level vertices, where the water lies on both sides
// along the line through it and both neighbours lie on one side across (a split when they
// lie above, a join when below); or a step: an edge along the lines with water beyond one of
// its ends.
struct CriticalPoint {
    double y = 0.0;
    double xLow = 0.0; // the run's span along the line
    double xHigh = 0.0;
    double cutLow = 0.0; // the piece of water across the line through it
    double cutHigh = 0.0;
};

std::vector<CriticalPoint> criticalPoints(const Geos& geos, const PlaneArea& area);

// The cells of a leveled area (frame of the lines), ordered by their lowest y, then x.
std::vector<PlaneArea> decompose(const Geos& geos, const PlaneArea& area);
