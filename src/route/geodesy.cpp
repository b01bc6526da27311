// Spherical-Earth leg measurement and dead reckoning for route planning.
//
// Notation (scratch names, as in the formulas):
//   phi1, phi2   latitudes of start and end (radians)
//   dLambda      longitude difference (radians)
//   theta        heading (radians, clockwise from north)
//   delta        angular distance along the great circle (radians)
//
// Every intermediate value is a long double and only the returned value is rounded to
// double, so the figures match those planned on machines that compute with a 64-bit
// significand. The constants are the route's historical ones and are used as written:
// the two degree/radian factors are not exact reciprocals of each other, and the heading
// converts with pi = 3.14159, so a due-south heading comes out a hair above 180.
#include "route/geodesy.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr long double kEarthRadiusKm = 6371.0L;
constexpr long double kMetersPerKm = 1000.0L;
constexpr long double kDegToRad = 0.01745329252L;
constexpr long double kRadToDeg = 57.29577951289617L;
constexpr long double kHeadingPi = 3.14159L;
constexpr long double kHalfTurnDeg = 180.0L;
constexpr long double kFullTurnDeg = 360.0L;

long double headingRadians(double degrees) {
    return static_cast<long double>(degrees) * kHeadingPi / kHalfTurnDeg;
}

// Rounding can push a sine a hair past 1 on a leg that ends at a pole, where asin would
// give NaN; the true value never exceeds 1. NaN passes through unchanged.
long double asinClamped(long double sine) {
    if (sine > 1.0L) {
        return std::asin(1.0L);
    }
    if (sine < -1.0L) {
        return std::asin(-1.0L);
    }
    return std::asin(sine);
}

SineCosine sineCosine(long double radians) {
    return {std::sin(radians), std::cos(radians)};
}

SineCosine distancePhi(double lat) {
    return sineCosine(static_cast<long double>(lat) * kDegToRad);
}

SineCosine headingPhi(double lat) {
    return sineCosine(headingRadians(lat));
}

// The chord form stays accurate for the short legs of a survey, where the law of cosines
// would lose most of its digits.
double chordDistance(double lon1, const SineCosine& phi1, double lon2, const SineCosine& phi2) {
    const long double dLambda =
        (static_cast<long double>(lon1) - static_cast<long double>(lon2)) * kDegToRad;
    const SineCosine lambda = sineCosine(dLambda);

    const long double x = lambda.cos * phi1.cos - phi2.cos;
    const long double y = lambda.sin * phi1.cos;
    const long double z = phi1.sin - phi2.sin;
    const long double chord = std::sqrt(x * x + y * y + z * z);

    return static_cast<double>(2.0L * asinClamped(chord * 0.5L) * kEarthRadiusKm * kMetersPerKm);
}

double bearing(double lon1, const SineCosine& phi1, double lon2, const SineCosine& phi2) {
    const long double dLambda = headingRadians(lon2) - headingRadians(lon1);
    const SineCosine lambda = sineCosine(dLambda);

    const long double y = lambda.sin * phi2.cos;
    const long double x = phi1.cos * phi2.sin - phi1.sin * phi2.cos * lambda.cos;
    long double theta = std::atan2(y, x) * kHalfTurnDeg / kHeadingPi;

    // Headings on the route run in (0, 360]: due north and a leg of no length are both 360,
    // never 0, which the route keeps for legs that were never measured.
    if (theta <= 0.0L) {
        theta += kFullTurnDeg;
    }
    // A course a hair east of north (a leg towards the pole across a sliver of longitude)
    // can be too small for a double and would come out as the 0 of an unmeasured leg.
    const double heading = static_cast<double>(theta);
    return heading > 0.0 ? heading : static_cast<double>(kFullTurnDeg);
}

} // namespace

double greatCircleDistance(double lat1, double lon1, double lat2, double lon2) {
    return chordDistance(lon1, distancePhi(lat1), lon2, distancePhi(lat2));
}

double initialBearing(double lat1, double lon1, double lat2, double lon2) {
    return bearing(lon1, headingPhi(lat1), lon2, headingPhi(lat2));
}

GeoPoint destinationPoint(double lat, double lon, double heading, double distance) {
    return destinationPoint(lat, lon, courseFor(heading, distance));
}

double normalLongitude(double lon) {
    // Beyond a turn either way a value is no longitude anyone meant (1e308 from a damaged
    // file): it is written as given, and the check names it.
    if ((lon >= -180.0 && lon <= 180.0) || !(std::fabs(lon) <= 540.0)) {
        return lon;
    }
    const double turned = lon - 360.0 * std::round(lon / 360.0);
    // Rounding can leave the sum a hair beyond the end it should land on.
    return std::clamp(turned, -180.0, 180.0);
}

double legTimeFor(double distance) {
    return distance;
}

LegEnd legEnd(double lat, double lon) {
    return {lat, lon, distancePhi(lat), headingPhi(lat)};
}

double greatCircleDistance(const LegEnd& from, const LegEnd& to) {
    return chordDistance(from.lon, from.phi, to.lon, to.phi);
}

double initialBearing(const LegEnd& from, const LegEnd& to) {
    return bearing(from.lon, from.headingPhi, to.lon, to.headingPhi);
}

Course courseFor(double heading, double distance) {
    const long double theta = static_cast<long double>(heading) * kDegToRad;
    const long double delta = static_cast<long double>(distance) / kMetersPerKm / kEarthRadiusKm;
    return {sineCosine(theta), sineCosine(delta)};
}

GeoPoint destinationPoint(double lat, double lon, const Course& course) {
    const SineCosine phi1 = distancePhi(lat);
    const long double phi2 =
        asinClamped(phi1.sin * course.delta.cos + phi1.cos * course.delta.sin * course.theta.cos);
    const long double lambda2 = static_cast<long double>(lon) * kDegToRad +
                                std::atan2(course.theta.sin * course.delta.sin * phi1.cos,
                                           course.delta.cos - phi1.sin * std::sin(phi2));

    return GeoPoint{static_cast<double>(phi2 * kRadToDeg),
                    static_cast<double>(lambda2 * kRadToDeg)};
}
