// The WGS 84 ellipsoid through PROJ's geodesic routines, which come with GDAL.
#include "route/ellipsoid.h"

#include <cmath>
#include <geodesic.h>
#include <vector>

namespace {

const geod_geodesic& wgs84() {
    static const geod_geodesic ellipsoid = [] {
        geod_geodesic g;
        geod_init(&g, 6378137.0, 1.0 / 298.257223563);
        return g;
    }();
    return ellipsoid;
}

} // namespace

std::optional<std::string> missingEllipsoid() {
    return std::nullopt;
}

Geodesic geodesicBetween(double lat1, double lon1, double lat2, double lon2) {
    Geodesic result;
    double unused = 0.0;
    geod_inverse(&wgs84(), lat1, lon1, lat2, lon2, &result.meters, &result.azimuth, &unused);
    return result;
}

std::vector<GeoPoint> alongGeodesic(double lat1, double lon1, double lat2, double lon2,
                                    const std::vector<double>& meters) {
    geod_geodesicline line;
    geod_inverseline(&line, &wgs84(), lat1, lon1, lat2, lon2,
                     GEOD_LATITUDE | GEOD_LONGITUDE | GEOD_DISTANCE_IN);
    std::vector<GeoPoint> points(meters.size());
    for (std::size_t i = 0; i < meters.size(); ++i) {
        geod_position(&line, meters[i], &points[i].lat, &points[i].lon, nullptr);
    }
    return points;
}

GeoPoint geodesicDestination(double lat, double lon, double azimuth, double meters) {
    GeoPoint at;
    geod_direct(&wgs84(), lat, lon, azimuth, meters, &at.lat, &at.lon, nullptr);
    return at;
}

double ringArea(const GeoRing& ring) {
    std::vector<double> lats;
    std::vector<double> lons;
    for (const GeoPoint& p : ring) {
        lats.push_back(p.lat);
        lons.push_back(p.lon);
    }
    double area = 0.0;
    if (!ring.empty()) {
        geod_polygonarea(&wgs84(), lats.data(), lons.data(), static_cast<int>(ring.size()), &area,
                         nullptr);
    }
    return std::fabs(area);
}
