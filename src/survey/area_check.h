// The first stage of a survey: the area checked and carried into its flat frame.
#pragma once

#include "route/geo_area.h"
#include "survey/area_frame.h"
#include "survey/geos_context.h"
#include "survey/plane.h"

#include <string>

// Beyond this distance from its centre an area is taken for a mistake: its frame would
// stretch the spacing by more than a part in 10^3 at its edge (the azimuthal scale grows
// with the square of the distance), and no vehicle surveys such a field in one mission.
constexpr double kMaxAreaRadius = 500'000.0; // meters

struct FramedArea {
    AreaFrame frame;
    PlaneArea plane; // boundary counterclockwise, holes clockwise
};

struct FramedAreaResult {
    bool ok = true;
    std::string error; // what is wrong and where, without the file's name
    FramedArea area;
};

// The rings without a closing vertex that repeats the first and without a vertex that
// repeats the one before it: the same polygon, however the file wrote it.
GeoArea withoutRepeatedVertices(const GeoArea& area);

// Refuses, saying what is wrong and where: a vertex off the globe, a ring of fewer than three
// distinct vertices or enclosing nothing, rings that cross or touch themselves or each
// other, a hole outside the boundary or inside another hole, holes that cut the water in
// pieces, an area too large for one frame.
FramedAreaResult frameArea(const Geos& geos, const GeoArea& area);
// As frameArea, for an area it has already accepted, as the launch leg's check after the
// survey was planned: GEOS's check of validity, which looks each hole up in the boundary
// vertex by vertex (seconds for a thousand rocks off a shore of 10^5 vertices), is left out.
FramedAreaResult frameAcceptedArea(const Geos& geos, const GeoArea& area);

// "36.812345 -121.912345": latitude then longitude, to the decimeter.
std::string positionText(GeoPoint point);
