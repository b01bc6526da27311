// Independent checks of a survey's geometry: geodesics on WGS 84 from PROJ's geodesic.h, and
// polygons in GDAL's OGR (GEOS) in a Lambert azimuthal equal-area projection of the tests'
// own, never the survey layer's frame.
#pragma once

#include "route/geo_area.h"
#include "survey/survey_request.h"

#include <algorithm>
#include <cmath>
#include <geodesic.h>
#include <memory>
#include <numbers>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <utility>
#include <vector>

namespace survey_checks {

inline const geod_geodesic& wgs84() {
    static const geod_geodesic ellipsoid = [] {
        geod_geodesic g;
        geod_init(&g, 6378137.0, 1.0 / 298.257223563);
        return g;
    }();
    return ellipsoid;
}

inline double geodesicDistance(GeoPoint a, GeoPoint b) {
    double meters = 0.0;
    geod_inverse(&wgs84(), a.lat, a.lon, b.lat, b.lon, &meters, nullptr, nullptr);
    return meters;
}

// The point at east, north meters from the origin: that far along the geodesic at that
// azimuth, so areas can be drawn in meters.
inline GeoPoint fromMeters(GeoPoint origin, double east, double north) {
    GeoPoint p;
    geod_direct(&wgs84(), origin.lat, origin.lon,
                std::atan2(east, north) * 180.0 / std::numbers::pi, std::hypot(east, north), &p.lat,
                &p.lon, nullptr);
    return p;
}

inline GeoRing ringFromMeters(GeoPoint origin,
                              const std::vector<std::pair<double, double>>& eastNorth) {
    GeoRing ring;
    for (const auto& [east, north] : eastNorth) {
        ring.push_back(fromMeters(origin, east, north));
    }
    return ring;
}

// Points along the geodesics between the given ones, at most step meters apart.
inline std::vector<GeoPoint> densified(const std::vector<GeoPoint>& points, bool closed,
                                       double step) {
    std::vector<GeoPoint> dense;
    const std::size_t legs = closed ? points.size() : points.size() - 1;
    for (std::size_t i = 0; i < legs; ++i) {
        const GeoPoint a = points[i];
        const GeoPoint b = points[(i + 1) % points.size()];
        geod_geodesicline line;
        geod_inverseline(&line, &wgs84(), a.lat, a.lon, b.lat, b.lon, 0);
        const int pieces = std::max(1, static_cast<int>(std::ceil(line.s13 / step)));
        for (int k = 0; k < pieces; ++k) {
            GeoPoint p;
            geod_position(&line, line.s13 * k / pieces, &p.lat, &p.lon, nullptr);
            dense.push_back(p);
        }
    }
    if (!closed) {
        dense.push_back(points.back());
    }
    return dense;
}

// The meters from p to the geodesic from start to end; interior tells whether the nearest
// point lies inside the line rather than at one of its ends.
inline double distanceToLine(GeoPoint p, const GeoLine& segment, bool& interior) {
    geod_geodesicline line;
    geod_inverseline(&line, &wgs84(), segment.start.lat, segment.start.lon, segment.end.lat,
                     segment.end.lon, 0);
    const auto at = [&](double s) {
        GeoPoint q;
        geod_position(&line, s, &q.lat, &q.lon, nullptr);
        return geodesicDistance(p, q);
    };
    double low = 0.0;
    double high = line.s13;
    const double golden = (std::sqrt(5.0) - 1.0) / 2.0;
    while (high - low > 1e-6) {
        const double a = high - golden * (high - low);
        const double b = low + golden * (high - low);
        (at(a) < at(b) ? high : low) = at(a) < at(b) ? b : a;
    }
    const double s = (low + high) / 2.0;
    interior = s > 1e-3 && s < line.s13 - 1e-3;
    return at(s);
}

// The area of a polygon or of the polygons of a collection, in square units of its frame.
inline double areaOf(const OGRGeometry& geometry) {
    const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
    if (type == wkbPolygon) {
        return geometry.toPolygon()->get_Area();
    }
    if (type == wkbMultiPolygon) {
        return geometry.toMultiPolygon()->get_Area();
    }
    if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
        double total = 0.0;
        for (const OGRGeometry* part : *geometry.toGeometryCollection()) {
            total += areaOf(*part);
        }
        return total;
    }
    return 0.0;
}

// The tests' own flat frame: equal-area, so shares of the area are read off directly.
class CheckFrame {
  public:
    // Lambert azimuthal equal-area unless another projection ("aeqd") is named.
    explicit CheckFrame(GeoPoint centre, const std::string& projection = "laea") {
        OGRSpatialReference geographic;
        geographic.SetWellKnownGeogCS("WGS84");
        geographic.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        OGRSpatialReference flat;
        const std::string definition =
            "+proj=" + projection + " +lat_0=" + std::to_string(centre.lat) +
            " +lon_0=" + std::to_string(centre.lon) + " +datum=WGS84 +units=m +no_defs";
        flat.importFromProj4(definition.c_str());
        flat.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        transform_.reset(OGRCreateCoordinateTransformation(&geographic, &flat));
    }

    OGRLineString lineString(const std::vector<GeoPoint>& points) const {
        OGRLineString line;
        for (const GeoPoint& p : points) {
            double x = p.lon;
            double y = p.lat;
            transform_->Transform(1, &x, &y);
            line.addPoint(x, y);
        }
        return line;
    }

    // The area with its edges as geodesics, densified to 10 m: a chord of 10 m strays a few
    // micrometers from its geodesic.
    OGRPolygon polygon(const GeoArea& area) const {
        OGRPolygon polygon;
        polygon.addRingDirectly(ring(area.outer));
        for (const GeoRing& hole : area.holes) {
            polygon.addRingDirectly(ring(hole));
        }
        return polygon;
    }

    // How far the path (geodesic legs) strays out of the area or into a hole, in meters.
    double stray(const OGRPolygon& area, const std::vector<GeoPoint>& path) const {
        const OGRLineString line = lineString(densified(path, false, 10.0));
        std::unique_ptr<OGRGeometry> outside(line.Difference(&area));
        double farthest = 0.0;
        if (outside == nullptr || outside->IsEmpty()) {
            return farthest;
        }
        // A point in a hole is outside the polygon, and its distance is to the hole's ring.
        forEachPoint(*outside,
                     [&](const OGRPoint& p) { farthest = std::max(farthest, p.Distance(&area)); });
        return farthest;
    }

    // The share of the area that no swath covers, a swath being a run +- half the spacing.
    double uncoveredShare(const OGRPolygon& area, const std::vector<GeoLine>& runs,
                          double spacing) const {
        OGRMultiPolygon swaths;
        for (const GeoLine& run : runs) {
            const OGRLineString ends = lineString({run.start, run.end});
            const double dx = ends.getX(1) - ends.getX(0);
            const double dy = ends.getY(1) - ends.getY(0);
            const double length = std::hypot(dx, dy);
            const double nx = -dy / length * spacing / 2.0;
            const double ny = dx / length * spacing / 2.0;
            auto* rectangle = new OGRLinearRing;
            rectangle->addPoint(ends.getX(0) + nx, ends.getY(0) + ny);
            rectangle->addPoint(ends.getX(1) + nx, ends.getY(1) + ny);
            rectangle->addPoint(ends.getX(1) - nx, ends.getY(1) - ny);
            rectangle->addPoint(ends.getX(0) - nx, ends.getY(0) - ny);
            rectangle->closeRings();
            auto* swath = new OGRPolygon;
            swath->addRingDirectly(rectangle);
            swaths.addGeometryDirectly(swath);
        }
        std::unique_ptr<OGRGeometry> covered(swaths.UnionCascaded());
        std::unique_ptr<OGRGeometry> left(area.Difference(covered.get()));
        return areaOf(*left) / area.get_Area();
    }

  private:
    OGRLinearRing* ring(const GeoRing& points) const {
        const OGRLineString line = lineString(densified(points, true, 10.0));
        auto* ring = new OGRLinearRing;
        for (int i = 0; i < line.getNumPoints(); ++i) {
            ring->addPoint(line.getX(i), line.getY(i));
        }
        ring->closeRings();
        return ring;
    }

    template <typename Visit> static void forEachPoint(const OGRGeometry& geometry, Visit visit) {
        const OGRwkbGeometryType type = wkbFlatten(geometry.getGeometryType());
        if (type == wkbLineString) {
            const auto& line = *geometry.toLineString();
            for (int i = 0; i < line.getNumPoints(); ++i) {
                OGRPoint p;
                line.getPoint(i, &p);
                visit(p);
            }
        } else if (type == wkbPoint) {
            visit(*geometry.toPoint());
        } else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
            for (const OGRGeometry* part : *geometry.toGeometryCollection()) {
                forEachPoint(*part, visit);
            }
        }
    }

    std::unique_ptr<OGRCoordinateTransformation> transform_;
};

} // namespace survey_checks
