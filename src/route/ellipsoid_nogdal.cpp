// The ellipsoid in a build without GDAL: there is none, and the run says so.
#include "route/ellipsoid.h"

#include <cmath>

std::optional<std::string> missingEllipsoid() {
    return "*** this build of tavra cannot measure on the WGS 84 geodesic (--splitOnGeodesic): "
           "it was built without GDAL ***";
}

Geodesic geodesicBetween(double, double, double, double) {
    return {NAN, NAN};
}

std::vector<GeoPoint> alongGeodesic(double, double, double, double,
                                    const std::vector<double>& meters) {
    return std::vector<GeoPoint>(meters.size(), GeoPoint{NAN, NAN});
}

GeoPoint geodesicDestination(double, double, double, double) {
    return {NAN, NAN};
}

double ringArea(const GeoRing&) {
    return NAN;
}
