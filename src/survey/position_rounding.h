// How far the mission files' rounding of positions moves a survey line sideways.
#pragma once

#include "route/geo_area.h"

// The cfg and the wpt hold latitude and longitude to this many degrees: the vehicle runs
// the lines between positions rounded to it.
constexpr double kWrittenStep = 1e-4; // degrees
constexpr int kWrittenDecimals = 4;

// The most that rounding to kWrittenStep moves a position of the area, meters: half a step of
// longitude at the area's latitude nearest the equator, of latitude at the one nearest a pole.
struct PositionRounding {
    double east = 0.0;
    double north = 0.0;
};

PositionRounding positionRounding(const GeoArea& area);

// The most that rounding moves a line on the heading (degrees clockwise from north) across
// itself, meters: what its ends and the points between them move sideways, at worst.
double sidewaysRounding(const PositionRounding& rounding, double heading);

// The position as the mission files hold it: the survey waypoint's position as its own file
// holds it (the route is planned from that), rounded as the cfg's and wpt's writers round it.
GeoPoint inMissionFiles(GeoPoint point);
