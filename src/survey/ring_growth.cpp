// A polygon grown ring by ring, where its rings lie apart.
#include "survey/ring_growth.h"

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

namespace {

// Rings nearer than this many distances might meet once grown, and so change each other.
constexpr double kApart = 4.0;

struct Box {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
};

Box boxOf(const Geos& geos, const GEOSGeometry* geometry) {
    Box box;
    if (GEOSGeom_getExtent_r(geos.handle(), geometry, &box.minX, &box.minY, &box.maxX, &box.maxY) !=
        1) {
        throw GeometryFailure("GEOS could not find the extent of a ring");
    }
    return box;
}

GeosGeometry polygonOfRing(const Geos& geos, const GEOSGeometry* ring) {
    GeosGeometry shell = owned(geos, GEOSGeom_clone_r(geos.handle(), ring), "copy a ring");
    return owned(geos, GEOSGeom_createPolygon_r(geos.handle(), shell.release(), nullptr, 0),
                 "make a polygon");
}

// Whether every hole lies farther than margin from the shell and from every other hole:
// GEOS measures the distance only where the boxes, grown by the margin, overlap. (GEOS's
// prepared distance of a line compares every pair of edges, the shore's with each hole's.)
bool ringsApart(const Geos& geos, const GEOSGeometry* shell,
                const std::vector<const GEOSGeometry*>& holes, double margin) {
    std::vector<Box> boxes;
    for (const GEOSGeometry* hole : holes) {
        boxes.push_back(boxOf(geos, hole));
    }
    const GEOSCoordSequence* sequence = GEOSGeom_getCoordSeq_r(geos.handle(), shell);
    unsigned size = 0;
    if (sequence == nullptr || GEOSCoordSeq_getSize_r(geos.handle(), sequence, &size) != 1) {
        return false;
    }
    std::vector<PlanePoint> points(size);
    for (unsigned i = 0; i < size; ++i) {
        GEOSCoordSeq_getXY_r(geos.handle(), sequence, i, &points[i].x, &points[i].y);
    }
    struct Edge {
        Box box;
        std::size_t start = 0;
    };
    std::vector<Edge> edges;
    double widest = 0.0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const PlanePoint& a = points[i];
        const PlanePoint& b = points[i + 1];
        const Box box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                      std::max(a.y, b.y)};
        widest = std::max(widest, box.maxX - box.minX);
        edges.push_back({box, i});
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.box.minX < b.box.minX; });
    const auto overlap = [&](const Box& a, const Box& b) {
        return !(b.minX > a.maxX + margin || a.minX > b.maxX + margin || b.minY > a.maxY + margin ||
                 a.minY > b.maxY + margin);
    };
    for (std::size_t h = 0; h < holes.size(); ++h) {
        const Box& box = boxes[h];
        auto edge = std::lower_bound(edges.begin(), edges.end(), box.minX - margin - widest,
                                     [](const Edge& e, double x) { return e.box.minX < x; });
        for (; edge != edges.end() && edge->box.minX <= box.maxX + margin; ++edge) {
            if (!overlap(box, edge->box)) {
                continue;
            }
            const GeosGeometry line =
                makeSegment(geos, points[edge->start], points[edge->start + 1]);
            if (answer(geos, GEOSDistanceWithin_r(geos.handle(), line.get(), holes[h], margin),
                       "measure a hole's distance from the boundary")) {
                return false;
            }
        }
    }
    std::vector<std::size_t> order(holes.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return boxes[a].minX < boxes[b].minX; });
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Box& a = boxes[order[i]];
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            const Box& b = boxes[order[j]];
            if (b.minX > a.maxX + margin) {
                break;
            }
            if (!overlap(a, b)) {
                continue;
            }
            if (answer(
                    geos,
                    GEOSDistanceWithin_r(geos.handle(), holes[order[i]], holes[order[j]], margin),
                    "measure the distance between two holes")) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

GeosGeometry grownByRings(const Geos& geos, const GEOSGeometry* polygon, double distance,
                          int quadrantSegments, const char* what) {
    const auto whole = [&] {
        return owned(geos, GEOSBuffer_r(geos.handle(), polygon, distance, quadrantSegments), what);
    };
    if (GEOSGeomTypeId_r(geos.handle(), polygon) != GEOS_POLYGON ||
        GEOSGetNumInteriorRings_r(geos.handle(), polygon) <= 0) {
        return whole();
    }
    const GEOSGeometry* shell = GEOSGetExteriorRing_r(geos.handle(), polygon);
    std::vector<const GEOSGeometry*> holes;
    const int holeCount = GEOSGetNumInteriorRings_r(geos.handle(), polygon);
    for (int i = 0; i < holeCount; ++i) {
        holes.push_back(GEOSGetInteriorRingN_r(geos.handle(), polygon, i));
    }
    if (shell == nullptr || !ringsApart(geos, shell, holes, kApart * distance)) {
        return whole();
    }
    // The grown shell may enclose land of its own, where it closes round a headland.
    const GeosGeometry grownShell = owned(
        geos,
        GEOSBuffer_r(geos.handle(), polygonOfRing(geos, shell).get(), distance, quadrantSegments),
        what);
    if (GEOSGeomTypeId_r(geos.handle(), grownShell.get()) != GEOS_POLYGON) {
        return whole();
    }
    std::vector<GeosGeometry> rings;
    for (int i = 0; i < GEOSGetNumInteriorRings_r(geos.handle(), grownShell.get()); ++i) {
        rings.push_back(
            owned(geos,
                  GEOSGeom_clone_r(geos.handle(),
                                   GEOSGetInteriorRingN_r(geos.handle(), grownShell.get(), i)),
                  "copy a ring"));
    }
    for (const GEOSGeometry* hole : holes) {
        const GeosGeometry shrunk =
            owned(geos,
                  GEOSBuffer_r(geos.handle(), polygonOfRing(geos, hole).get(), -distance,
                               quadrantSegments),
                  what);
        // A hole that vanishes or falls apart: the buffer of the whole decides.
        if (GEOSGeomTypeId_r(geos.handle(), shrunk.get()) != GEOS_POLYGON ||
            GEOSisEmpty_r(geos.handle(), shrunk.get()) != 0 ||
            GEOSGetNumInteriorRings_r(geos.handle(), shrunk.get()) != 0) {
            return whole();
        }
        rings.push_back(owned(
            geos,
            GEOSGeom_clone_r(geos.handle(), GEOSGetExteriorRing_r(geos.handle(), shrunk.get())),
            "copy a ring"));
    }
    GeosGeometry outer = owned(
        geos,
        GEOSGeom_clone_r(geos.handle(), GEOSGetExteriorRing_r(geos.handle(), grownShell.get())),
        "copy a ring");
    return polygonOfRings(geos, std::move(outer), std::move(rings), "make the grown polygon");
}
