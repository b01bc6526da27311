// Rounding of written positions, measured on the ellipsoid.
#include "survey/position_rounding.h"

#include "output/number_format.h"
#include "output/survey_waypoint_writer.h"
#include "route/ellipsoid.h"
#include "route/geodesy.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

PositionRounding positionRounding(const GeoArea& area) {
    double south = 90.0;
    double north = -90.0;
    for (const GeoPoint& p : area.outer) {
        south = std::min(south, p.lat);
        north = std::max(north, p.lat);
    }
    if (south > north) {
        return {};
    }
    // A degree of longitude is longest nearest the equator, one of latitude nearest a pole.
    const double nearEquator =
        south <= 0.0 && north >= 0.0 ? 0.0 : std::min(std::abs(south), std::abs(north));
    const double nearPole =
        std::min(std::max(std::abs(south), std::abs(north)), 90.0 - kWrittenStep);
    PositionRounding rounding;
    rounding.east = geodesicBetween(nearEquator, 0.0, nearEquator, kWrittenStep).meters / 2.0;
    rounding.north =
        geodesicBetween(nearPole - kWrittenStep / 2.0, 0.0, nearPole + kWrittenStep / 2.0, 0.0)
            .meters /
        2.0;
    return rounding;
}

double sidewaysRounding(const PositionRounding& rounding, double heading) {
    const double radians = heading * std::numbers::pi / 180.0;
    return rounding.east * std::abs(std::cos(radians)) +
           rounding.north * std::abs(std::sin(radians));
}

GeoPoint inMissionFiles(GeoPoint point) {
    const GeoPoint planned = asWritten(point);
    return {readBackFixed(planned.lat, kWrittenDecimals),
            readBackFixed(normalLongitude(planned.lon), kWrittenDecimals)};
}
