// The area's azimuthal equidistant frame, through GDAL's OGRSpatialReference and PROJ.
#include "survey/area_frame.h"

#include "gdal/gdal_messages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Longitude brought into [-180, 180).
double wrapped(double lon) {
    const double turned = std::fmod(lon + 180.0, 360.0);
    return (turned < 0.0 ? turned + 360.0 : turned) - 180.0;
}

std::vector<double> sortedLongitudes(const GeoArea& area) {
    std::vector<double> lons;
    for (const GeoPoint& p : area.outer) {
        lons.push_back(wrapped(p.lon));
    }
    std::sort(lons.begin(), lons.end());
    return lons;
}

// The span is what the widest gap between neighbouring longitudes leaves, reckoned
// eastwards from the longitude after the gap.
struct LongitudeSpan {
    double west = 0.0;  // degrees, in [-180, 180)
    double width = 0.0; // degrees eastwards
};

LongitudeSpan spanOf(const GeoArea& area) {
    const std::vector<double> lons = sortedLongitudes(area);
    if (lons.empty()) {
        return {};
    }
    std::size_t afterGap = 0;
    double widestGap = lons.front() + 360.0 - lons.back();
    for (std::size_t i = 1; i < lons.size(); ++i) {
        if (lons[i] - lons[i - 1] > widestGap) {
            widestGap = lons[i] - lons[i - 1];
            afterGap = i;
        }
    }
    return {lons[afterGap], 360.0 - widestGap};
}

std::unique_ptr<OGRSpatialReference> wgs84() {
    auto reference = std::make_unique<OGRSpatialReference>();
    reference->SetWellKnownGeogCS("WGS84");
    reference->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER); // longitude first
    return reference;
}

} // namespace

GeoPoint areaCentre(const GeoArea& area) {
    double south = area.outer.front().lat;
    double north = south;
    for (const GeoPoint& p : area.outer) {
        south = std::min(south, p.lat);
        north = std::max(north, p.lat);
    }
    const LongitudeSpan span = spanOf(area);
    return {(south + north) / 2.0, wrapped(span.west + span.width / 2.0)};
}

double longitudeSpan(const GeoArea& area) {
    return spanOf(area).width;
}

FrameResult makeFrame(GeoPoint centre) {
    FrameResult result;
    result.frame.centre = centre;
    GdalMessages errors;
    const std::unique_ptr<OGRSpatialReference> geographic = wgs84();
    OGRSpatialReference projected;
    char definition[256];
    std::snprintf(definition, sizeof definition,
                  "+proj=aeqd +lat_0=%.17g +lon_0=%.17g +x_0=0 +y_0=0 +datum=WGS84 +units=m "
                  "+no_defs",
                  centre.lat, centre.lon);
    if (projected.importFromProj4(definition) != OGRERR_NONE) {
        result.ok = false;
        result.error =
            "PROJ refused the frame of the area (" + errors.summary("no reason given") + ")";
        return result;
    }
    projected.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER); // east first
    result.frame.toPlane.reset(OGRCreateCoordinateTransformation(geographic.get(), &projected),
                               OGRCoordinateTransformation::DestroyCT);
    result.frame.toGeo.reset(OGRCreateCoordinateTransformation(&projected, geographic.get()),
                             OGRCoordinateTransformation::DestroyCT);
    if (!result.frame.toPlane || !result.frame.toGeo) {
        result.ok = false;
        result.error = "PROJ cannot transform into the frame of the area (" +
                       errors.summary("no reason given") + ")";
    }
    return result;
}

namespace {

// Transforms the coordinates in place; false when PROJ cannot place one of them.
bool transformAll(OGRCoordinateTransformation& transform, std::vector<double>& x,
                  std::vector<double>& y) {
    std::vector<int> success(x.size());
    GdalMessages errors;
    if (!x.empty() && !transform.Transform(static_cast<int>(x.size()), x.data(), y.data(), nullptr,
                                           success.data())) {
        return false;
    }
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (success[i] == 0 || !std::isfinite(x[i]) || !std::isfinite(y[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

bool toPlane(const AreaFrame& frame, const std::vector<GeoPoint>& points,
             std::vector<PlanePoint>& plane) {
    std::vector<double> x;
    std::vector<double> y;
    for (const GeoPoint& p : points) {
        x.push_back(p.lon);
        y.push_back(p.lat);
    }
    if (!transformAll(*frame.toPlane, x, y)) {
        return false;
    }
    plane.clear();
    for (std::size_t i = 0; i < x.size(); ++i) {
        plane.push_back({x[i], y[i]});
    }
    return true;
}

bool toGeo(const AreaFrame& frame, const std::vector<PlanePoint>& plane,
           std::vector<GeoPoint>& points) {
    std::vector<double> x;
    std::vector<double> y;
    for (const PlanePoint& p : plane) {
        x.push_back(p.x);
        y.push_back(p.y);
    }
    if (!transformAll(*frame.toGeo, x, y)) {
        return false;
    }
    points.clear();
    for (std::size_t i = 0; i < x.size(); ++i) {
        points.push_back({y[i], x[i]});
    }
    return true;
}

GeoPoint toGeo(const AreaFrame& frame, PlanePoint point) {
    std::vector<GeoPoint> points;
    if (!toGeo(frame, {point}, points)) {
        return {NAN, NAN};
    }
    return points.front();
}
