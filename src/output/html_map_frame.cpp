// The HTML preview's map: the page layout and how a position on the globe lands on it.
#include "output/html_map_frame.h"

#include "output/svg_text.h"

#include <algorithm>
#include <cmath>

namespace {

// A route shorter than this either way is drawn as if it measured this much, so that a
// route of one point, or of points on one meridian, still has a scale.
constexpr double kMinSpanMeters = 1.0;

} // namespace

double unwrappedLongitude(double previousUnwrapped, double previousLon, double lon) {
    return previousUnwrapped + std::remainder(lon - previousLon, 360.0);
}

MapFrame fitMapFrame(const WaypointList& route, const std::vector<GeoArea>& areas) {
    MapFrame frame;
    if (route.head == nullptr) {
        return frame;
    }
    double minLon = route.head->lon;
    double maxLon = minLon;
    double minLat = route.head->lat;
    double maxLat = minLat;
    double unwrapped = route.head->lon;
    for (const WaypointNode* node = route.head->next; node != nullptr; node = node->next) {
        unwrapped = unwrappedLongitude(unwrapped, node->prev->lon, node->lon);
        minLon = std::min(minLon, unwrapped);
        maxLon = std::max(maxLon, unwrapped);
        minLat = std::min(minLat, node->lat);
        maxLat = std::max(maxLat, node->lat);
    }
    // An area's longitudes are taken the short way round from the route's middle.
    const double routeMidLon = (minLon + maxLon) / 2.0;
    for (const GeoArea& area : areas) {
        for (const GeoPoint& vertex : area.outer) {
            const double lon = routeMidLon + std::remainder(vertex.lon - routeMidLon, 360.0);
            minLon = std::min(minLon, lon);
            maxLon = std::max(maxLon, lon);
            minLat = std::min(minLat, vertex.lat);
            maxLat = std::max(maxLat, vertex.lat);
        }
    }
    frame.midLon = (minLon + maxLon) / 2.0;
    frame.midLat = (minLat + maxLat) / 2.0;
    // Equirectangular about the middle latitude: true to scale there and close to it over
    // the few kilometres of a survey.
    frame.metersPerLonDegree =
        kMapMetersPerDegree * std::cos(frame.midLat * std::numbers::pi / 180.0);
    const double spanX = std::max((maxLon - minLon) * frame.metersPerLonDegree, kMinSpanMeters);
    const double spanY = std::max((maxLat - minLat) * kMapMetersPerDegree, kMinSpanMeters);
    frame.pixelsPerMeter = std::min(kMapWidth / spanX, kMapHeight / spanY);
    return frame;
}

MapPoint projectOnMap(const MapFrame& frame, double unwrappedLon, double lat) {
    const double east = (unwrappedLon - frame.midLon) * frame.metersPerLonDegree;
    const double north = (lat - frame.midLat) * kMapMetersPerDegree;
    return {kMapLeft + kMapWidth / 2.0 + east * frame.pixelsPerMeter,
            kMapTop + kMapHeight / 2.0 - north * frame.pixelsPerMeter};
}

std::vector<MapPoint> routeOnMap(const WaypointList& route, const MapFrame& frame) {
    std::vector<MapPoint> points;
    double unwrapped = 0.0;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        unwrapped = node == route.head ? node->lon
                                       : unwrappedLongitude(unwrapped, node->prev->lon, node->lon);
        points.push_back(projectOnMap(frame, unwrapped, node->lat));
    }
    return points;
}

double scaleBarMeters(double maxMeters) {
    const double power = std::pow(10.0, std::floor(std::log10(maxMeters)));
    const double leading = maxMeters / power;
    if (leading >= 5.0) {
        return 5.0 * power;
    }
    if (leading >= 2.0) {
        return 2.0 * power;
    }
    return power;
}

void appendRingPath(std::string& text, const GeoRing& ring, const MapFrame& frame,
                    bool& firstRing) {
    bool started = false;
    MapPoint drawn{0.0, 0.0};
    for (const GeoPoint& vertex : ring) {
        double lon = vertex.lon;
        if (std::fabs(lon - frame.midLon) > 180.0) {
            lon = frame.midLon + std::remainder(lon - frame.midLon, 360.0);
        }
        const MapPoint at = projectOnMap(frame, lon, vertex.lat);
        if (!std::isfinite(at.x) || !std::isfinite(at.y) ||
            (started && std::fabs(at.x - drawn.x) < kMinVertexStep &&
             std::fabs(at.y - drawn.y) < kMinVertexStep)) {
            continue;
        }
        text += started ? " L" : (firstRing ? "M" : " M");
        appendXY(text, at.x, at.y);
        drawn = at;
        started = true;
    }
    if (started) {
        text += " Z";
        firstRing = false;
    }
}
