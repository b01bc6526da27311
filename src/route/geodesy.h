// Distance, heading and destination on a spherical Earth, and the time of a leg.
#pragma once

struct GeoPoint {
    double lat; // decimal degrees, north positive
    double lon; // decimal degrees, east positive
};

// Length of the great circle from (lat1, lon1) to (lat2, lon2), in meters.
double greatCircleDistance(double lat1, double lon1, double lat2, double lon2);

// Initial course from the start to the end point, degrees in (0, 360]: north is 360.
double initialBearing(double lat1, double lon1, double lat2, double lon2);

// Position reached from (lat, lon) after distance meters on heading degrees.
// The longitude is not brought back into -180..180.
GeoPoint destinationPoint(double lat, double lon, double heading, double distance);

// Seconds to run a leg of distance meters: one second per meter.
double legTimeFor(double distance);
