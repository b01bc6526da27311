// GEOS, the geometry engine under GDAL's OGR, through its reentrant C interface: clipping,
// validity with its reason and place, and prepared containment tests.
#pragma once

#include "survey/plane.h"

#include <geos_c.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// GEOS reports into the context that made a geometry; each survey has its own, so that
// nothing is printed and nothing is shared between threads.
struct GeosContextDeleter {
    void operator()(GEOSContextHandle_t context) const { GEOS_finish_r(context); }
};

struct Geos {
    std::unique_ptr<GEOSContextHandle_HS, GeosContextDeleter> context;
    std::unique_ptr<std::string> lastMessage; // where GEOS's handlers write, at a fixed address

    GEOSContextHandle_t handle() const { return context.get(); }
};

Geos makeGeos();

struct GeosGeometryDeleter {
    GEOSContextHandle_t context = nullptr;
    void operator()(GEOSGeometry* geometry) const { GEOSGeom_destroy_r(context, geometry); }
};
using GeosGeometry = std::unique_ptr<GEOSGeometry, GeosGeometryDeleter>;

struct GeosPreparedDeleter {
    GEOSContextHandle_t context = nullptr;
    void operator()(const GEOSPreparedGeometry* prepared) const {
        GEOSPreparedGeom_destroy_r(context, prepared);
    }
};
using GeosPrepared = std::unique_ptr<const GEOSPreparedGeometry, GeosPreparedDeleter>;

// GEOS could not compute what was asked (a topology failure on near-degenerate input).
// Thrown inside the survey layer only; planSurvey turns it into a message.
struct GeometryFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Takes ownership of what a GEOS call returned, or throws with GEOS's own words when it
// returned nothing; what names the operation.
GeosGeometry owned(const Geos& geos, GEOSGeometry* geometry, const char* what);
GeosPrepared prepared(const Geos& geos, const GEOSGeometry* geometry);

// A GEOS predicate's answer; 2, its failure, throws.
bool answer(const Geos& geos, char result, const char* what);

GeosGeometry makePoint(const Geos& geos, PlanePoint point);
GeosGeometry makeSegment(const Geos& geos, PlanePoint start, PlanePoint end);
GeosGeometry makeSegments(const Geos& geos, const std::vector<PlaneSegment>& segments);
// A polygon of its shell and holes, which it takes over; `what` names the step if GEOS fails.
GeosGeometry polygonOfRings(const Geos& geos, GeosGeometry shell, std::vector<GeosGeometry> holes,
                            const char* what);
GeosGeometry makePolygon(const Geos& geos, const PlaneRing& outer,
                         const std::vector<PlaneRing>& holes = {});
GeosGeometry makePolygon(const Geos& geos, const PlaneArea& area);
// The holes as polygons of their own, in one collection.
GeosGeometry makeHoles(const Geos& geos, const PlaneArea& area);
// The rings as lines, for noding with other lines.
GeosGeometry makeRingLines(const Geos& geos, const PlaneArea& area);

// The line strings of a result, at any depth of collections, each of two points at least;
// points and empty lines are dropped.
std::vector<std::vector<PlanePoint>> linesOf(const Geos& geos, const GEOSGeometry* geometry);
// The polygons of a result, at any depth of collections; rings without a closing vertex.
// Empty polygons and those whose boundary has fewer than three vertices are dropped.
std::vector<PlaneArea> polygonsOf(const Geos& geos, const GEOSGeometry* geometry);
