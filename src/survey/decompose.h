// Boustrophedon decomposition: the area cut along the lines' direction at each critical
// point, where a hole or a bend of the boundary splits the water across the lines in two or
// joins two into one, so that every cell meets each line across it in one piece and can be
// swept line by line; and at each step, an edge along the lines where the water widens, so
// that every cell can be covered to its edges by lines of its own.
#pragma once

#include "survey/geos_context.h"
#include "survey/plane.h"

#include <optional>
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

// The cells of a leveled area (frame of the lines), ordered by their lowest y, then x.
std::vector<PlaneArea> decompose(const Geos& geos, const PlaneArea& area);

// The outlines of the cells decompose gives (their boundaries alone, in no order), found by
// noding the cuts with the rings where the slices meet them and walking round the faces,
// without GEOS's noding and polygonization of the whole area: what the heading search needs
// to count the lines of each heading it weighs. None where the walk meets what only the
// polygonizer sorts out (a cell round a hole, a cut into a cell); decompose then gives them.
// The rings are taken to keep apart but where the cuts node them: where a ring touches
// another, or crosses it once leveled, GEOS's noding would add a node that the walk does not
// (ringsComeWithin tells such areas).
std::optional<std::vector<PlaneArea>> cellOutlines(const Geos& geos, const PlaneArea& area);

// Whether a hole comes within `within` meters of the boundary or of another hole: a rock that
// touches the shore, or nearly, which the rotation and leveling of a heading may make cross it.
bool ringsComeWithin(const Geos& geos, const PlaneArea& area, double within);
