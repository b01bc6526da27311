// Coverage of the written lines: the union of their swaths, clipped to the water.
#include "survey/written_coverage.h"

#include "survey/position_rounding.h"

#include <algorithm>
#include <vector>

namespace {

// Lines swept at once: neighbours in the order run, whose swaths overlap.
constexpr std::size_t kLinesSweptTogether = 64;

double areaOf(const Geos& geos, const GEOSGeometry* geometry) {
    double area = 0.0;
    if (GEOSArea_r(geos.handle(), geometry, &area) == 0) {
        throw GeometryFailure("GEOS cannot measure the area the survey lines cover");
    }
    return area;
}

// A line through the points, in order; at least two distinct points.
GeosGeometry makePath(const Geos& geos, const std::vector<PlanePoint>& points) {
    const auto size = static_cast<unsigned>(points.size());
    GEOSCoordSequence* sequence = GEOSCoordSeq_create_r(geos.handle(), size, 2);
    if (sequence == nullptr) {
        throw GeometryFailure("GEOS could not make a coordinate sequence");
    }
    for (unsigned i = 0; i < size; ++i) {
        GEOSCoordSeq_setXY_r(geos.handle(), sequence, i, points[i].x, points[i].y);
    }
    return owned(geos, GEOSGeom_createLineString_r(geos.handle(), sequence), "make a written line");
}

} // namespace

double writtenCoverage(const Geos& geos, const AreaFrame& frame, const PlaneArea& water,
                       const SurveyPlan& plan, double swath) {
    std::vector<GeoPoint> written;
    std::vector<std::size_t> ends; // where each line's points end in written
    for (const SurveyPiece& piece : plan.pieces) {
        if (piece.kind != PieceKind::line) {
            continue;
        }
        for (std::size_t i = piece.first; i <= piece.last && i < plan.waypoints.size(); ++i) {
            written.push_back(inMissionFiles(plan.waypoints[i]));
        }
        ends.push_back(written.size());
    }
    std::vector<PlanePoint> plane;
    if (!toPlane(frame, written, plane)) {
        throw GeometryFailure("PROJ cannot carry the written lines into the frame of the area");
    }
    const GeosGeometry area = makePolygon(geos, water);
    const double whole = areaOf(geos, area.get());
    if (!(whole > 0.0)) {
        return 0.0;
    }
    std::vector<GeosGeometry> lines;
    std::size_t begin = 0;
    for (const std::size_t end : ends) {
        // Points that rounding brought together are one: GEOS needs distinct vertices.
        std::vector<PlanePoint> path;
        for (std::size_t i = begin; i < end; ++i) {
            if (path.empty() || distance(path.back(), plane[i]) > 0.0) {
                path.push_back(plane[i]);
            }
        }
        begin = end;
        if (path.size() >= 2) { // else a line shorter than the rounding: the vehicle runs none
            lines.push_back(makePath(geos, path));
        }
    }
    // Flat ends: the swath lies across the line, not beyond where it ends. The lines are
    // swept in groups of neighbours and the groups' swaths joined pairwise: one sweep of all
    // the lines at once nodes every swath's edges against every other's.
    std::vector<GeosGeometry> swaths;
    for (std::size_t first = 0; first < lines.size(); first += kLinesSweptTogether) {
        std::vector<GEOSGeometry*> raw;
        for (std::size_t i = first; i < std::min(lines.size(), first + kLinesSweptTogether); ++i) {
            raw.push_back(lines[i].release());
        }
        const GeosGeometry group =
            owned(geos,
                  GEOSGeom_createCollection_r(geos.handle(), GEOS_MULTILINESTRING, raw.data(),
                                              static_cast<unsigned>(raw.size())),
                  "collect the written lines");
        swaths.push_back(owned(geos,
                               GEOSBufferWithStyle_r(geos.handle(), group.get(), swath / 2.0, 8,
                                                     GEOSBUF_CAP_FLAT, GEOSBUF_JOIN_MITRE, 2.0),
                               "sweep the written lines"));
    }
    std::vector<GEOSGeometry*> raw;
    for (GeosGeometry& swept : swaths) {
        raw.push_back(swept.release());
    }
    const GeosGeometry all =
        owned(geos,
              GEOSGeom_createCollection_r(geos.handle(), GEOS_GEOMETRYCOLLECTION, raw.data(),
                                          static_cast<unsigned>(raw.size())),
              "collect the swaths of the written lines");
    const GeosGeometry covered =
        owned(geos, GEOSUnaryUnion_r(geos.handle(), all.get()), "join the swaths");
    const GeosGeometry inWater =
        owned(geos, GEOSIntersection_r(geos.handle(), covered.get(), area.get()),
              "clip the swaths to the water");
    return std::min(1.0, areaOf(geos, inWater.get()) / whole);
}
