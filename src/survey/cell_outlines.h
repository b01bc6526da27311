// The outlines of the cells of a decomposition, walked round without GEOS's polygonizer: what
// the heading search needs to count the lines of each heading it weighs.
#pragma once

#include "survey/geos_context.h"
#include "survey/plane.h"

#include <optional>
#include <vector>

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
