// Keep-out areas and the operating region as OGR geometry near the route: built from the
// areas of the files, repaired where invalid, cut to the route's surroundings.
#pragma once

#include "route/geo_area.h"
#include "route/sea_survey.h"
#include "sea/near_box.h"

#include <geos_c.h>
#include <memory>
#include <ogr_geometry.h>
#include <string>
#include <vector>

// The areas of one --keepOut or --opRegion file, as the input layer read them.
struct ZoneSource {
    ZoneKind kind = ZoneKind::keepOut;
    std::string file; // as the planner named it
    std::vector<GeoArea> areas;
};

// One zone ready for the tests along the legs: its record, and the same polygons as
// geometry (x longitude, y latitude, on the route's run), prepared for fast repeated tests.
struct ZoneShape {
    SeaZone record;
    OGRGeometryUniquePtr geometry;
    OGRPreparedGeometryUniquePtr prepared;
    OGREnvelope envelope;
    // The route's surroundings, where every test along a leg is made.
    GeoBox surroundings;
    // Not cut to them: the rings of a polygon of many vertices, simple in the surroundings,
    // reaching beyond them (see PolygonsNearBox). Only its edges answer for it, never GEOS,
    // and only about places in the surroundings.
    bool reachesBeyond = false;
};

struct ZonesResult {
    bool ok = true;
    std::string error; // one message, in tavra's words
    std::vector<ZoneShape> zones;
    GeoBox surroundings; // what every zone was cut to
};

// Each leg's longitudes put on one run with the legs before it: the turns (multiples of
// 360) to add to the leg's from and to.
std::vector<double> routeRun(const std::vector<SurveyLeg>& legs);

// The box around every leg on the globe, widened by padMeters on every side.
GeoBox routeSurroundings(const std::vector<SurveyLeg>& legs, double padMeters);

// Degrees of latitude and of longitude (at the box's most poleward latitude) that cover
// meters on the ground anywhere in a box reaching from south to north.
double latitudeDegrees(double meters);
double longitudeDegrees(double meters, double south, double north);

// The keep-out areas that come within the route's surroundings (the margin and 2 km more),
// one zone each, in file order; then the operating region, all its areas together, as one
// zone. Each is cut to the surroundings, or reaches beyond them uncut (see ZoneShape). An invalid
// polygon near the route is made valid (and noted); one that cannot be made valid, or an operating
// region without any area, stops the run with a message.
ZonesResult prepareZones(const std::vector<ZoneSource>& sources, const std::vector<SurveyLeg>& legs,
                         double marginMeters);

// What of a geometry lies inside the box, cut ring by ring: linear in the vertices, where an
// overlay would node the whole of a continent's or a chart's rings first. Null when GEOS
// cannot cut it.
OGRGeometryUniquePtr clippedToBox(const OGRGeometry& geometry, const GeoBox& box);

// A geometry held as GEOS holds it, to be cut to many boxes without converting it each time.
// Polygons of a coast's detail are held in chunks instead, and each cut is made from what the
// box can see of them: a cut costs GEOS a pass over every vertex it is given, and the legs
// of a route ask about thousands of small boxes.
class BoxCutter {
  public:
    explicit BoxCutter(const OGRGeometry& geometry);
    ~BoxCutter();
    BoxCutter(BoxCutter&&) noexcept;
    // As clippedToBox. valid, when given, is set when GEOS finds the cut a valid polygon or
    // multipolygon, checked before it leaves GEOS; unset, nothing is known.
    OGRGeometryUniquePtr cut(const GeoBox& box, bool* valid = nullptr) const;
    // For polygons of many vertices, not cut: their rings with every run lying beyond one
    // side of the box put as its ends (see PolygonsNearBox), which wind round each place in
    // the box as the whole does; null for a geometry of few vertices.
    OGRGeometryUniquePtr near(const GeoBox& box) const;

  private:
    std::shared_ptr<GEOSContextHandle_HS> context_; // declared first: freed last
    std::shared_ptr<GEOSGeometry> geometry_;        // a geometry of few vertices
    std::unique_ptr<PolygonsNearBox> large_;        // or polygons of many
};

// Only the polygons of a result, as one multipolygon: a repair or a cut may add the lines
// and points where polygons touched, which keep nothing out.
OGRGeometryUniquePtr polygonalPart(const OGRGeometry& geometry);

// The box as a polygon, for cutting geometry to it.
OGRGeometryUniquePtr boxPolygon(const GeoBox& box);

// The polygons of a geometry as area records (outer ring, holes), without closing vertices.
std::vector<GeoArea> areasOf(const OGRGeometry& geometry, const std::string& name);
