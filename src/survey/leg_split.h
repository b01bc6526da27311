// Cuts the survey's lines and transits where they were laid out, so that the route planner,
// which cuts a long leg along its starting course, finds no leg left to cut.
#pragma once

#include "route/geo_area.h"
#include "survey/area_frame.h"
#include "survey/plane.h"

#include <cstdint>
#include <optional>
#include <vector>

struct LegLimit {
    double maxLegMeters = 0.0; // > 0
    bool geodesic = false;     // legs are also measured on the ellipsoid
};

// Pieces of at most maxLegMeters that the path of so many meters takes at least.
std::uint64_t leastPieces(double meters, double maxLegMeters);

// True when the leg between the two points, as the survey waypoint file holds them, is no
// longer than the limit on the planner's sphere (and on the ellipsoid when it measures there).
bool legFits(GeoPoint from, GeoPoint to, const LegLimit& limit);

// The straight segment from a to b of the frame (whose ends on the globe are given) as
// points on it, from its start, without its end, equally spaced in the frame and so many
// that every leg between them fits the limit: the cut points lie on the line as laid out.
// Nothing when PROJ cannot place a point.
std::optional<std::vector<GeoPoint>> cutSegment(const AreaFrame& frame, PlanePoint a, PlanePoint b,
                                                GeoPoint start, GeoPoint end,
                                                const LegLimit& limit);
