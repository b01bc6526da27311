// Distances, courses and positions on the WGS 84 ellipsoid, for the plans that ask to be
// measured there rather than on the route planner's sphere; PROJ's geodesics where the build
// has them (GDAL's), none otherwise.
#pragma once

#include "route/geo_area.h"

#include <optional>
#include <string>
#include <vector>

// Nothing when this build measures on the ellipsoid; else the one line that says it cannot.
std::optional<std::string> missingEllipsoid();

struct Geodesic {
    double meters = 0.0;  // length of the geodesic, m
    double azimuth = 0.0; // course at its start, degrees clockwise from north in (-180, 180]
};

// The geodesic from (lat1, lon1) to (lat2, lon2), degrees. NaN in a build without it.
Geodesic geodesicBetween(double lat1, double lon1, double lat2, double lon2);

// The positions at each distance (meters) along the geodesic from (lat1, lon1) to (lat2, lon2);
// the geodesic is solved once for all of them.
std::vector<GeoPoint> alongGeodesic(double lat1, double lon1, double lat2, double lon2,
                                    const std::vector<double>& meters);

// The position meters from (lat, lon) on the course azimuth, degrees clockwise from north.
GeoPoint geodesicDestination(double lat, double lon, double azimuth, double meters);

// The area the ring encloses on the ellipsoid, m^2, whichever way it runs.
double ringArea(const GeoRing& ring);
