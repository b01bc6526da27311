// The legs of a planned route as the sea records count them, and the places along a leg.
#pragma once

#include "route/geo_area.h"
#include "route/sea_survey.h"
#include "route/waypoint_list.h"

#include <cstddef>
#include <vector>

// Every leg of the planned route, the launch leg first, with the distance run before it.
std::vector<SurveyLeg> routeLegs(const WaypointList& route);

// The place at along meters from the leg's start, on the great circle to its end (along 0
// gives the start, along >= the leg's distance its end, as planned). The longitude runs on
// from the start's, so that a leg across the antimeridian stays one run (179.9 to 180.1).
GeoPoint placeAlong(const SurveyLeg& leg, double along);

// The distance between the leg's ends on tavra's sphere, meters; the planned length of
// the launch leg is its launch distance, which this equals to rounding.
double legSpan(const SurveyLeg& leg);

// Longitude lon moved by whole turns to lie within half a turn of reference.
double sameTurn(double lon, double reference);

// count + 1 places evenly along the leg, both ends included.
std::vector<GeoPoint> placesAlong(const SurveyLeg& leg, std::size_t count);
