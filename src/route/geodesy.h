// Distance, heading and destination on a spherical Earth, and the time of a leg.
#pragma once

#include "route/geo_area.h"

// Length of the great circle from (lat1, lon1) to (lat2, lon2), in meters.
double greatCircleDistance(double lat1, double lon1, double lat2, double lon2);

// Initial course from the start to the end point, degrees in (0, 360]: north is 360.
double initialBearing(double lat1, double lon1, double lat2, double lon2);

// Position reached from (lat, lon) after distance meters on heading degrees.
// The longitude is not brought back into -180..180.
GeoPoint destinationPoint(double lat, double lon, double heading, double distance);

// The longitude (degrees) brought by whole turns into -180..180, as every file the vehicle
// or a map reads holds it; one already within that range is kept to the last digit, and
// one more than a turn beyond it (no longitude at all) is kept as given.
double normalLongitude(double lon);

// Seconds to run a leg of distance meters: one second per meter.
double legTimeFor(double distance);

// The same formulas for a walk along the route, which meets each angle more than once: a
// waypoint's latitude in the leg into it and the leg out of it, a chain of split points'
// course and piece length in every piece. Their sines and cosines are taken once and the
// results are the very same doubles as above.
struct SineCosine {
    long double sin;
    long double cos;
};

struct LegEnd {
    double lat;            // decimal degrees, north positive
    double lon;            // decimal degrees, east positive
    SineCosine phi;        // of the latitude in radians, for the distance
    SineCosine headingPhi; // of the latitude in the radians the heading converts with
};

LegEnd legEnd(double lat, double lon);
double greatCircleDistance(const LegEnd& from, const LegEnd& to);
double initialBearing(const LegEnd& from, const LegEnd& to);

struct Course {
    SineCosine theta; // of the heading
    SineCosine delta; // of the angular distance
};

// heading in degrees, distance in meters.
Course courseFor(double heading, double distance);
GeoPoint destinationPoint(double lat, double lon, const Course& course);
