// GEOS through its reentrant C interface.
#include "survey/geos_context.h"

#include <utility>

namespace {

// GEOS formats its messages printf-style; the last one is kept for a failure's text.
void keepMessage(const char* message, void* userdata) {
    *static_cast<std::string*>(userdata) = message;
}

GEOSCoordSequence* ringSequence(const Geos& geos, const PlaneRing& ring, bool close) {
    const auto size = static_cast<unsigned>(ring.size() + (close ? 1 : 0));
    GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(geos.handle(), size, 2);
    if (sequence == nullptr) {
        throw GeometryFailure("GEOS could not make a coordinate sequence");
    }
    for (unsigned i = 0; i < size; ++i) {
        const PlanePoint& p = ring[i % ring.size()];
        GEOSCoordSeq_setXY_r(geos.handle(), sequence, i, p.x, p.y);
    }
    return sequence;
}

GeosGeometry linearRing(const Geos& geos, const PlaneRing& ring) {
    return owned(geos, GEOSGeom_createLinearRing_r(geos.handle(), ringSequence(geos, ring, true)),
                 "make a ring");
}

GeosGeometry collection(const Geos& geos, int type, std::vector<GeosGeometry>& parts,
                        const char* what) {
    std::vector<GEOSGeometry*> raw;
    raw.reserve(parts.size());
    for (GeosGeometry& part : parts) {
        raw.push_back(part.release()); // the collection owns them from here
    }
    return owned(geos,
                 GEOSGeom_createCollection_r(geos.handle(), type, raw.data(),
                                             static_cast<unsigned>(raw.size())),
                 what);
}

std::vector<PlanePoint> pointsOf(const Geos& geos, const GEOSGeometry* line) {
    const GEOSCoordSequence* sequence = GEOSGeom_getCoordSeq_r(geos.handle(), line);
    unsigned size = 0;
    GEOSCoordSeq_getSize_r(geos.handle(), sequence, &size);
    std::vector<PlanePoint> points(size);
    for (unsigned i = 0; i < size; ++i) {
        GEOSCoordSeq_getXY_r(geos.handle(), sequence, i, &points[i].x, &points[i].y);
    }
    return points;
}

PlaneRing ringOf(const Geos& geos, const GEOSGeometry* ring) {
    PlaneRing points = pointsOf(geos, ring);
    if (!points.empty()) {
        points.pop_back(); // the closing vertex
    }
    return points;
}

void collectLines(const Geos& geos, const GEOSGeometry* geometry,
                  std::vector<std::vector<PlanePoint>>& lines) {
    const int type = GEOSGeomTypeId_r(geos.handle(), geometry);
    if (type == GEOS_LINESTRING || type == GEOS_LINEARRING) {
        // A clipped result may hold an empty line; it is no piece of anything.
        std::vector<PlanePoint> points = pointsOf(geos, geometry);
        if (points.size() >= 2) {
            lines.push_back(std::move(points));
        }
    } else if (type == GEOS_MULTILINESTRING || type == GEOS_GEOMETRYCOLLECTION) {
        const int parts = GEOSGetNumGeometries_r(geos.handle(), geometry);
        for (int i = 0; i < parts; ++i) {
            collectLines(geos, GEOSGetGeometryN_r(geos.handle(), geometry, i), lines);
        }
    }
}

void collectPolygons(const Geos& geos, const GEOSGeometry* geometry,
                     std::vector<PlaneArea>& polygons) {
    const int type = GEOSGeomTypeId_r(geos.handle(), geometry);
    if (type == GEOS_POLYGON) {
        PlaneArea area;
        area.outer = ringOf(geos, GEOSGetExteriorRing_r(geos.handle(), geometry));
        if (area.outer.size() < 3) {
            return; // an empty polygon, or one that encloses nothing
        }
        const int holes = GEOSGetNumInteriorRings_r(geos.handle(), geometry);
        for (int i = 0; i < holes; ++i) {
            area.holes.push_back(ringOf(geos, GEOSGetInteriorRingN_r(geos.handle(), geometry, i)));
        }
        polygons.push_back(std::move(area));
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        const int parts = GEOSGetNumGeometries_r(geos.handle(), geometry);
        for (int i = 0; i < parts; ++i) {
            collectPolygons(geos, GEOSGetGeometryN_r(geos.handle(), geometry, i), polygons);
        }
    }
}

} // namespace

Geos makeGeos() {
    Geos geos;
    geos.context.reset(GEOS_init_r());
    geos.lastMessage = std::make_unique<std::string>();
    GEOSContext_setErrorMessageHandler_r(geos.handle(), keepMessage, geos.lastMessage.get());
    GEOSContext_setNoticeMessageHandler_r(geos.handle(), keepMessage, geos.lastMessage.get());
    return geos;
}

// A failure names the operation only: GEOS's own text names its exception classes and
// algorithms ("IllegalArgumentException: CGAlgorithmsDD::orientationIndex ..."), which mean
// nothing to whoever plans a survey.
GeosGeometry owned(const Geos& geos, GEOSGeometry* geometry, const char* what) {
    if (geometry == nullptr) {
        throw GeometryFailure(std::string("GEOS could not ") + what);
    }
    return GeosGeometry(geometry, GeosGeometryDeleter{geos.handle()});
}

GeosPrepared prepared(const Geos& geos, const GEOSGeometry* geometry) {
    const GEOSPreparedGeometry* made = GEOSPrepare_r(geos.handle(), geometry);
    if (made == nullptr) {
        throw GeometryFailure("GEOS could not prepare a geometry");
    }
    return GeosPrepared(made, GeosPreparedDeleter{geos.handle()});
}

bool answer(const Geos&, char result, const char* what) {
    if (result == 2) {
        throw GeometryFailure(std::string("GEOS could not ") + what);
    }
    return result == 1;
}

GeosGeometry makePoint(const Geos& geos, PlanePoint point) {
    return owned(geos, GEOSGeom_createPointFromXY_r(geos.handle(), point.x, point.y),
                 "make a point");
}

GeosGeometry makeSegment(const Geos& geos, PlanePoint start, PlanePoint end) {
    GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(geos.handle(), 2, 2);
    GEOSCoordSeq_setXY_r(geos.handle(), sequence, 0, start.x, start.y);
    GEOSCoordSeq_setXY_r(geos.handle(), sequence, 1, end.x, end.y);
    return owned(geos, GEOSGeom_createLineString_r(geos.handle(), sequence), "make a line");
}

GeosGeometry makeSegments(const Geos& geos, const std::vector<PlaneSegment>& segments) {
    std::vector<GeosGeometry> lines;
    lines.reserve(segments.size());
    for (const PlaneSegment& segment : segments) {
        lines.push_back(makeSegment(geos, segment.start, segment.end));
    }
    return collection(geos, GEOS_MULTILINESTRING, lines, "collect lines");
}

GeosGeometry makePolygon(const Geos& geos, const PlaneRing& outer,
                         const std::vector<PlaneRing>& holes) {
    std::vector<GeosGeometry> inner;
    for (const PlaneRing& hole : holes) {
        inner.push_back(linearRing(geos, hole));
    }
    return polygonOfRings(geos, linearRing(geos, outer), std::move(inner), "make a polygon");
}

GeosGeometry polygonOfRings(const Geos& geos, GeosGeometry shell, std::vector<GeosGeometry> holes,
                            const char* what) {
    std::vector<GEOSGeometry*> raw;
    for (GeosGeometry& ring : holes) {
        raw.push_back(ring.release()); // the polygon owns its rings from here
    }
    return owned(geos,
                 GEOSGeom_createPolygon_r(geos.handle(), shell.release(), raw.data(),
                                          static_cast<unsigned>(raw.size())),
                 what);
}

GeosGeometry makePolygon(const Geos& geos, const PlaneArea& area) {
    return makePolygon(geos, area.outer, area.holes);
}

GeosGeometry makeHoles(const Geos& geos, const PlaneArea& area) {
    std::vector<GeosGeometry> holes;
    for (const PlaneRing& hole : area.holes) {
        holes.push_back(makePolygon(geos, hole));
    }
    return collection(geos, GEOS_MULTIPOLYGON, holes, "collect the holes");
}

GeosGeometry makeRingLines(const Geos& geos, const PlaneArea& area) {
    std::vector<GeosGeometry> lines;
    lines.push_back(owned(
        geos, GEOSGeom_createLineString_r(geos.handle(), ringSequence(geos, area.outer, true)),
        "make a line"));
    for (const PlaneRing& hole : area.holes) {
        lines.push_back(
            owned(geos, GEOSGeom_createLineString_r(geos.handle(), ringSequence(geos, hole, true)),
                  "make a line"));
    }
    return collection(geos, GEOS_MULTILINESTRING, lines, "collect the rings");
}

std::vector<std::vector<PlanePoint>> linesOf(const Geos& geos, const GEOSGeometry* geometry) {
    std::vector<std::vector<PlanePoint>> lines;
    collectLines(geos, geometry, lines);
    return lines;
}

std::vector<PlaneArea> polygonsOf(const Geos& geos, const GEOSGeometry* geometry) {
    std::vector<PlaneArea> polygons;
    collectPolygons(geos, geometry, polygons);
    return polygons;
}
