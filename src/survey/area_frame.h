// The flat frame of one area: WGS 84 in an ellipsoidal azimuthal equidistant projection
// centred on the area, where every distance from the centre is the geodesic distance, so
// that lines laid out a spacing apart there are that far apart on the ellipsoid.
#pragma once

#include "route/geo_area.h"
#include "survey/plane.h"

#include <memory>
#include <ogr_spatialref.h>
#include <string>
#include <vector>

struct AreaFrame {
    GeoPoint centre;
    std::shared_ptr<OGRCoordinateTransformation> toPlane; // longitude/latitude to east/north
    std::shared_ptr<OGRCoordinateTransformation> toGeo;   // and back
};

struct FrameResult {
    bool ok = true;
    std::string error;
    AreaFrame frame;
};

// The middle of the area's span of latitude and of longitude; an area across 180 degrees
// of longitude spans the short way round, the complement of the widest gap between its
// longitudes, so the centre does not depend on where the rings begin.
GeoPoint areaCentre(const GeoArea& area);

// The degrees of longitude the area spans, the short way round.
double longitudeSpan(const GeoArea& area);

FrameResult makeFrame(GeoPoint centre);

// False when PROJ cannot place a point (none of a valid area's).
bool toPlane(const AreaFrame& frame, const std::vector<GeoPoint>& points,
             std::vector<PlanePoint>& plane);
bool toGeo(const AreaFrame& frame, const std::vector<PlanePoint>& plane,
           std::vector<GeoPoint>& points);
GeoPoint toGeo(const AreaFrame& frame, PlanePoint point);
