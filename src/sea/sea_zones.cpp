// Keep-out areas and the operating region as OGR geometry near the route: built from the
// areas of the files, repaired where invalid, cut to the route's surroundings.
#include "sea/sea_zones.h"

#include "gdal/gdal_messages.h"
#include "route/geodesy.h"
#include "sea/ring_crossings.h"
#include "sea/route_legs.h"

#include <algorithm>
#include <cmath>
#include <geos_c.h>
#include <limits>
#include <memory>
#include <ogr_api.h>
#include <utility>

namespace {

// One degree of a great circle on tavra's sphere of 6371 km.
constexpr double kMetersPerDegree = 6'371'000.0 * 3.14159265358979323846 / 180.0;
// The surroundings reach this much beyond the margin, so that nothing a test along a leg
// could meet is cut away, and the cut edges stay well clear of every leg.
constexpr double kSurroundingsPadMeters = 2000.0;
// Legs are walked this finely to find how far they bulge towards a pole.
constexpr double kBulgeSpacingMeters = 50'000.0;
// Beyond this latitude a box takes every longitude.
constexpr double kPolarLatitude = 89.0;
// Areas of more vertices than this (a coast, a chart's shore) are judged only near the
// route; smaller ones whole, as a planner drew them, where GEOS's check costs nothing.
constexpr std::size_t kMostVerticesJudgedWhole = 2000;
// A geometry of more vertices than this is cut to boxes from what each box can see of it.
constexpr std::size_t kMostVerticesCutWhole = 2000;

OGRLinearRing ringOf(const GeoRing& ring, double shift) {
    OGRLinearRing result;
    result.setNumPoints(static_cast<int>(ring.size() + 1), FALSE);
    for (std::size_t i = 0; i < ring.size(); ++i) {
        result.setPoint(static_cast<int>(i), ring[i].lon + shift, ring[i].lat);
    }
    if (!ring.empty()) {
        result.setPoint(static_cast<int>(ring.size()), ring[0].lon + shift, ring[0].lat);
    }
    return result;
}

// World data cut at the antimeridian leaves rings that step from 180 to -180 and back (a
// vertex at -180 among vertices at 180); taken literally, such an island's ring spans the
// globe, and repairing it would lay a strip of land round the world. Each ring is put on
// one run of longitudes instead, every edge the shorter way round, so that the island
// stays where it is.
// A ring that goes once round a pole (Antarctica's coast, a closed area about a pole)
// cannot close on one run: taken literally, its last edge runs straight back across the
// map, and what it encloses south of that edge (Antarctica south of 85 S) is lost. On the
// sphere it encloses the cap about the pole on its side of the equator, so it is closed
// through that pole: on to its first vertex one turn on, to the pole, back along the pole
// and up to its first vertex.
GeoRing onOneRun(const GeoRing& ring) {
    GeoRing run = ring;
    for (std::size_t i = 1; i < run.size(); ++i) {
        run[i].lon = sameTurn(ring[i].lon, run[i - 1].lon);
    }
    if (run.empty()) {
        return run;
    }
    const double closing = sameTurn(ring.front().lon, run.back().lon);
    if (closing == run.front().lon) {
        return run;
    }
    if (std::fabs(closing - run.front().lon) != 360.0) {
        return ring; // round the pole more than once: no cap it encloses
    }
    double latitudes = 0.0;
    for (const GeoPoint& point : ring) {
        latitudes += point.lat;
    }
    const double pole = latitudes < 0.0 ? -90.0 : 90.0;
    run.push_back(GeoPoint{run.front().lat, closing});
    run.push_back(GeoPoint{pole, closing});
    run.push_back(GeoPoint{pole, run.front().lon});
    return run;
}

GeoArea areaOnOneRun(const GeoArea& area) {
    GeoArea result;
    result.name = area.name;
    result.outer = onOneRun(area.outer);
    for (const GeoRing& hole : area.holes) {
        GeoRing ring = onOneRun(hole);
        // A hole lies in the same turn as its boundary.
        if (!ring.empty() && !result.outer.empty()) {
            const double turn =
                sameTurn(ring.front().lon, result.outer.front().lon) - ring.front().lon;
            for (GeoPoint& point : ring) {
                point.lon += turn;
            }
        }
        result.holes.push_back(std::move(ring));
    }
    return result;
}

OGRGeometryUniquePtr polygonOf(const GeoArea& area, double shift) {
    auto polygon = std::make_unique<OGRPolygon>();
    OGRLinearRing outer = ringOf(area.outer, shift);
    polygon->addRing(&outer);
    for (const GeoRing& hole : area.holes) {
        OGRLinearRing ring = ringOf(hole, shift);
        polygon->addRing(&ring);
    }
    return OGRGeometryUniquePtr(polygon.release());
}

void addPolygons(OGRMultiPolygon& into, const OGRGeometry& geometry) {
    switch (wkbFlatten(geometry.getGeometryType())) {
    case wkbPolygon:
        if (!geometry.IsEmpty()) {
            into.addGeometry(&geometry);
        }
        break;
    case wkbMultiPolygon:
    case wkbGeometryCollection:
        for (const OGRGeometry* part : *geometry.toGeometryCollection()) {
            addPolygons(into, *part);
        }
        break;
    default:
        break; // lines and points where polygons touch have no area
    }
}

struct Checked {
    OGRGeometryUniquePtr geometry; // null when it could not be made valid
    bool repaired = false;
    std::string reason;
    bool uncut = false;  // valid, but GEOS could not cut it; the reason says why
    bool beyond = false; // not cut: the rings near the box, reaching beyond it
};

struct GeosContextFree {
    void operator()(GEOSContextHandle_t context) const { OGRGeometry::freeGEOSContext(context); }
};

struct GeosGeometryFree {
    GEOSContextHandle_t context = nullptr;
    void operator()(GEOSGeometry* geometry) const { GEOSGeom_destroy_r(context, geometry); }
};

// GEOS tells why a polygon is invalid as a warning, which the messages collect. known: GEOS
// has found it valid already.
Checked madeValid(OGRGeometryUniquePtr geometry, GdalMessages& messages, bool known = false) {
    messages.clear();
    if (known || geometry->IsValid()) {
        return Checked{std::move(geometry), false, ""};
    }
    Checked checked{nullptr, true, messages.summary("GEOS gives no reason")};
    // The union of its outer rings less its holes: what a map of land or of closed areas
    // means, whatever the rings' self-touches and spikes, and far quicker on a continent
    // than rebuilding it from its lines.
    const char* const structure[] = {"METHOD=STRUCTURE", nullptr};
    OGRGeometryUniquePtr repaired(geometry->MakeValid(structure));
    if (!repaired) {
        repaired.reset(geometry->MakeValid());
    }
    if (repaired) {
        repaired = polygonalPart(*repaired);
        if (!repaired->IsEmpty() && repaired->IsValid()) {
            checked.geometry = std::move(repaired);
        }
    }
    return checked;
}

struct AreaBox {
    double west = std::numeric_limits<double>::infinity();
    double east = -std::numeric_limits<double>::infinity();
    double south = std::numeric_limits<double>::infinity();
    double north = -std::numeric_limits<double>::infinity();
};

AreaBox boxOf(const GeoRing& ring) {
    AreaBox box;
    for (const GeoPoint& point : ring) {
        box.west = std::min(box.west, point.lon);
        box.east = std::max(box.east, point.lon);
        box.south = std::min(box.south, point.lat);
        box.north = std::max(box.north, point.lat);
    }
    return box;
}

bool overlaps(const AreaBox& area, double shift, const GeoBox& box) {
    return area.west + shift <= box.east && area.east + shift >= box.west &&
           area.south <= box.north && area.north >= box.south;
}

// The area cut to the box, taken in every turn of longitude that reaches into it; null
// when it does not reach the box. failed is set when it cannot be made valid.
struct Cut {
    OGRGeometryUniquePtr geometry;
    bool repaired = false;
    std::string reason;
    bool failed = false;
    bool beyond = false; // see Checked
};

// The area in one turn of longitude, checked whole (a note says when it is not valid),
// made valid, then cut to the box ring by ring: an overlay with the box would node every
// edge of a continent or a chart, far from the route as most of them lie. The way for an
// area that GEOS cannot cut as it stands.
Checked madeValidThenCut(OGRGeometryUniquePtr polygon, const GeoBox& box,
                         const OGRGeometry& boxShape, GdalMessages& messages) {
    Checked checked = madeValid(std::move(polygon), messages);
    if (!checked.geometry) {
        return checked;
    }
    OGRGeometryUniquePtr inside = clippedToBox(*checked.geometry, box);
    if (inside) {
        inside = polygonalPart(*inside);
    } else {
        inside.reset(checked.geometry->Intersection(&boxShape));
    }
    if (!inside) {
        checked.uncut = true;
        checked.reason = messages.summary("GEOS could not cut it to the route's surroundings");
    }
    checked.geometry = std::move(inside);
    return checked;
}

// The area in one turn of longitude, cut to the box ring by ring first, then checked and
// made valid: a coast or a star of a million vertices costs a pass over its vertices
// rather than GEOS's check of every edge against every other one nearby (quadratic in the
// spikes of a star), and a ring crossing itself off another continent is no note about
// the route. The cut keeps every edge inside the box as it is, so a crossing near the
// route is still found, repaired and noted.
// mayReachBeyond: the area may be left uncut, as the only turn of longitude of an area that
// is a zone of its own.
Checked cutThenMadeValid(const GeoArea& area, double shift, const GeoBox& box,
                         const OGRGeometry& boxShape, GdalMessages& messages, bool mayReachBeyond) {
    OGRGeometryUniquePtr polygon = polygonOf(area, shift);
    const BoxCutter cutter(*polygon);
    if (mayReachBeyond) {
        // A polygon of one ring near the box, simple there, needs no cut: what the box sees
        // of it is what the box sees of the whole, and the tests along the legs ask only
        // about the box, of its edges. GEOS's cut of a star's spikes would join thousands
        // of pieces pair by pair, and its check of the cut compare thousands of long edges
        // with one another. A ring of few vertices near the box is cut all the same: GEOS
        // answers the tests about it, and needs it valid.
        OGRGeometryUniquePtr near = cutter.near(box);
        if (near && wkbFlatten(near->getGeometryType()) == wkbPolygon &&
            near->toPolygon()->getNumInteriorRings() == 0 &&
            static_cast<std::size_t>(near->toPolygon()->getExteriorRing()->getNumPoints()) >
                kMostVerticesCutWhole &&
            !ringMeetsItselfNearBox(*near->toPolygon()->getExteriorRing(), box)) {
            Checked checked{std::move(near), false, ""};
            checked.beyond = true;
            return checked;
        }
    }
    bool valid = false;
    OGRGeometryUniquePtr inside = cutter.cut(box, &valid);
    if (inside) {
        Checked checked = madeValid(polygonalPart(*inside), messages, valid);
        if (checked.geometry) {
            return checked;
        }
    }
    // A cut GEOS could not make, or one left with no area (a spike of no width crossing the
    // box): the area is judged whole, as a planner drew it.
    return madeValidThenCut(std::move(polygon), box, boxShape, messages);
}

// mayReachBeyond: an area of many vertices that is a zone of its own may be left uncut (see
// cutThenMadeValid).
Cut cutToBox(const GeoArea& fileArea, const GeoBox& box, const OGRGeometry& boxShape,
             GdalMessages& messages, bool mayReachBeyond) {
    Cut cut;
    AreaBox extent = boxOf(fileArea.outer);
    if (!overlaps(extent, -360.0, box) && !overlaps(extent, 0.0, box) &&
        !overlaps(extent, 360.0, box) && extent.east - extent.west < 180.0) {
        return cut; // far from the route, whatever its rings do at 180 degrees
    }
    const GeoArea area = areaOnOneRun(fileArea);
    extent = boxOf(area.outer);
    std::size_t vertices = area.outer.size();
    for (const GeoRing& hole : area.holes) {
        vertices += hole.size();
    }
    auto parts = std::make_unique<OGRMultiPolygon>();
    const int reaching = static_cast<int>(overlaps(extent, -360.0, box)) +
                         static_cast<int>(overlaps(extent, 0.0, box)) +
                         static_cast<int>(overlaps(extent, 360.0, box));
    int turns = 0;
    for (const double shift : {-360.0, 0.0, 360.0}) {
        if (!overlaps(extent, shift, box)) {
            continue;
        }
        ++turns;
        Checked checked = vertices > kMostVerticesJudgedWhole
                              ? cutThenMadeValid(area, shift, box, boxShape, messages,
                                                 mayReachBeyond && reaching == 1)
                              : madeValidThenCut(polygonOf(area, shift), box, boxShape, messages);
        cut.beyond = checked.beyond;
        if (checked.repaired && !cut.repaired) {
            cut.repaired = true;
            cut.reason = checked.reason;
        }
        if (!checked.geometry) {
            cut.failed = true;
            if (checked.uncut) {
                cut.reason = checked.reason;
            }
            return cut;
        }
        addPolygons(*parts, *checked.geometry);
    }
    if (turns > 1 && parts->getNumGeometries() > 1) {
        // Turns of one area that meet at a seam (a cap about a pole, taken in the turns on
        // both sides of the route) are one area: the seam between them is no edge.
        OGRGeometryUniquePtr joined(parts->UnionCascaded());
        if (joined) {
            cut.geometry = polygonalPart(*joined);
            return cut;
        }
    }
    if (!parts->IsEmpty()) {
        cut.geometry.reset(parts.release());
    }
    return cut;
}

std::string areaLabel(const ZoneSource& source, const GeoArea& area) {
    return (source.kind == ZoneKind::keepOut ? "--keepOut " : "--opRegion ") + source.file +
           ": area " + area.name;
}

void finish(ZoneShape& zone) {
    zone.record.parts = areasOf(*zone.geometry, zone.record.name);
    zone.geometry->getEnvelope(&zone.envelope);
    if (!zone.geometry->IsEmpty()) {
        zone.prepared.reset(OGRCreatePreparedGeometry(OGRGeometry::ToHandle(zone.geometry.get())));
    }
}

} // namespace

OGRGeometryUniquePtr polygonalPart(const OGRGeometry& geometry) {
    auto parts = std::make_unique<OGRMultiPolygon>();
    addPolygons(*parts, geometry);
    return OGRGeometryUniquePtr(parts.release());
}

BoxCutter::BoxCutter(const OGRGeometry& geometry)
    : context_(OGRGeometry::createGEOSContext(), GeosContextFree{}) {
    auto polygons = std::make_unique<PolygonsNearBox>(geometry);
    if (polygons->polygonal() && polygons->vertices() > kMostVerticesCutWhole) {
        large_ = std::move(polygons);
        return;
    }
    geometry_ = std::shared_ptr<GEOSGeometry>(geometry.exportToGEOS(context_.get()),
                                              GeosGeometryFree{context_.get()});
}

BoxCutter::~BoxCutter() = default;
BoxCutter::BoxCutter(BoxCutter&&) noexcept = default;

OGRGeometryUniquePtr BoxCutter::cut(const GeoBox& box, bool* valid) const {
    using GeosPtr = std::unique_ptr<GEOSGeometry, GeosGeometryFree>;
    GeosPtr near(large_ ? large_->nearBox(context_.get(), box) : nullptr,
                 GeosGeometryFree{context_.get()});
    const GEOSGeometry* from = large_ ? near.get() : geometry_.get();
    if (!from) {
        return nullptr;
    }
    const GeosPtr inside(
        GEOSClipByRect_r(context_.get(), from, box.west, box.south, box.east, box.north),
        GeosGeometryFree{context_.get()});
    if (!inside) {
        return nullptr;
    }
    if (valid != nullptr) {
        const int type = GEOSGeomTypeId_r(context_.get(), inside.get());
        *valid = (type == GEOS_POLYGON || type == GEOS_MULTIPOLYGON) &&
                 GEOSisValid_r(context_.get(), inside.get()) == 1;
    }
    return OGRGeometryUniquePtr(OGRGeometryFactory::createFromGEOS(context_.get(), inside.get()));
}

OGRGeometryUniquePtr BoxCutter::near(const GeoBox& box) const {
    if (!large_) {
        return nullptr;
    }
    const std::unique_ptr<GEOSGeometry, GeosGeometryFree> near(large_->nearBox(context_.get(), box),
                                                               GeosGeometryFree{context_.get()});
    return near ? OGRGeometryUniquePtr(
                      OGRGeometryFactory::createFromGEOS(context_.get(), near.get()))
                : nullptr;
}

OGRGeometryUniquePtr clippedToBox(const OGRGeometry& geometry, const GeoBox& box) {
    return BoxCutter(geometry).cut(box);
}

double latitudeDegrees(double meters) {
    return meters / kMetersPerDegree;
}

double longitudeDegrees(double meters, double south, double north) {
    const double poleward = std::max(std::fabs(south), std::fabs(north));
    if (poleward >= kPolarLatitude) {
        return 360.0;
    }
    return std::min(
        360.0, meters / (kMetersPerDegree * std::cos(poleward * 3.14159265358979323846 / 180.0)));
}

std::vector<double> routeRun(const std::vector<SurveyLeg>& legs) {
    std::vector<double> turns;
    turns.reserve(legs.size());
    bool started = false;
    double previous = 0.0;
    for (const SurveyLeg& leg : legs) {
        if (!leg.onGlobe) {
            turns.push_back(0.0);
            continue;
        }
        const double turn = started ? sameTurn(leg.from.lon, previous) - leg.from.lon : 0.0;
        turns.push_back(turn);
        previous = sameTurn(leg.to.lon, leg.from.lon) + turn;
        started = true;
    }
    return turns;
}

GeoBox routeSurroundings(const std::vector<SurveyLeg>& legs, double padMeters) {
    const std::vector<double> turns = routeRun(legs);
    AreaBox extent;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        if (!legs[i].onGlobe) {
            continue;
        }
        const double pieces = std::ceil(legSpan(legs[i]) / kBulgeSpacingMeters);
        const auto count = static_cast<std::size_t>(std::clamp(pieces, 1.0, 1000.0));
        for (const GeoPoint& place : placesAlong(legs[i], count)) {
            extent.west = std::min(extent.west, place.lon + turns[i]);
            extent.east = std::max(extent.east, place.lon + turns[i]);
            extent.south = std::min(extent.south, place.lat);
            extent.north = std::max(extent.north, place.lat);
        }
    }
    if (!(extent.west <= extent.east)) {
        return GeoBox{0.0, 0.0, 0.0, 0.0};
    }
    const double latPad = latitudeDegrees(padMeters);
    GeoBox box{extent.west, extent.east, std::max(-90.0, extent.south - latPad),
               std::min(90.0, extent.north + latPad)};
    const double lonPad = longitudeDegrees(padMeters, box.south, box.north);
    if (lonPad >= 360.0 || box.east - box.west + 2.0 * lonPad >= 360.0) {
        box.west = -540.0;
        box.east = 540.0;
    } else {
        box.west -= lonPad;
        box.east += lonPad;
    }
    return box;
}

OGRGeometryUniquePtr boxPolygon(const GeoBox& box) {
    auto polygon = std::make_unique<OGRPolygon>();
    OGRLinearRing ring;
    ring.addPoint(box.west, box.south);
    ring.addPoint(box.east, box.south);
    ring.addPoint(box.east, box.north);
    ring.addPoint(box.west, box.north);
    ring.addPoint(box.west, box.south);
    polygon->addRing(&ring);
    return OGRGeometryUniquePtr(polygon.release());
}

std::vector<GeoArea> areasOf(const OGRGeometry& geometry, const std::string& name) {
    std::vector<GeoArea> areas;
    OGRMultiPolygon polygons;
    addPolygons(polygons, geometry);
    for (const OGRPolygon* polygon : polygons) {
        GeoArea area;
        area.name = name;
        bool outer = true;
        for (const OGRLinearRing* ring : *polygon) {
            GeoRing points;
            const int count = ring->getNumPoints();
            for (int i = 0; i + 1 < count; ++i) {
                points.push_back(GeoPoint{ring->getY(i), ring->getX(i)});
            }
            if (outer) {
                area.outer = std::move(points);
                outer = false;
            } else {
                area.holes.push_back(std::move(points));
            }
        }
        areas.push_back(std::move(area));
    }
    return areas;
}

ZonesResult prepareZones(const std::vector<ZoneSource>& sources, const std::vector<SurveyLeg>& legs,
                         double marginMeters) {
    ZonesResult result;
    GdalMessages messages;
    const GeoBox box = routeSurroundings(legs, marginMeters + kSurroundingsPadMeters);
    result.surroundings = box;
    const OGRGeometryUniquePtr boxShape = boxPolygon(box);
    std::vector<ZoneShape> regions;
    for (const ZoneSource& source : sources) {
        if (source.kind == ZoneKind::opRegion && source.areas.empty()) {
            result.ok = false;
            result.error = "*** --opRegion " + source.file + ": the file holds no area ***";
            return result;
        }
        auto region = std::make_unique<OGRMultiPolygon>();
        ZoneShape regionShape;
        regionShape.surroundings = box;
        regionShape.record.kind = ZoneKind::opRegion;
        regionShape.record.file = source.file;
        for (const GeoArea& area : source.areas) {
            // One area of an operating region is the region; areas of several are joined
            // by GEOS, and so cut.
            Cut cut = cutToBox(area, box, *boxShape, messages,
                               source.kind == ZoneKind::keepOut || source.areas.size() == 1);
            if (cut.failed) {
                result.ok = false;
                result.error = "*** " + areaLabel(source, area) + " is not a valid polygon (" +
                               cut.reason + ") and cannot be made one ***";
                return result;
            }
            if (source.kind == ZoneKind::opRegion) {
                if (cut.geometry) {
                    addPolygons(*region, *cut.geometry);
                }
                regionShape.reachesBeyond = cut.beyond;
                if (cut.repaired && !regionShape.record.repaired) {
                    regionShape.record.repaired = true;
                    regionShape.record.invalidReason = "area " + area.name + ": " + cut.reason;
                }
                continue;
            }
            if (!cut.geometry) {
                continue; // nowhere near the route
            }
            ZoneShape zone;
            zone.surroundings = box;
            zone.record.kind = ZoneKind::keepOut;
            zone.record.file = source.file;
            zone.record.name = area.name;
            zone.record.repaired = cut.repaired;
            zone.record.invalidReason = cut.reason;
            zone.geometry = std::move(cut.geometry);
            zone.reachesBeyond = cut.beyond;
            finish(zone);
            result.zones.push_back(std::move(zone));
        }
        if (source.kind == ZoneKind::opRegion) {
            // Areas of one region may overlap or touch; the route may pass from one to the
            // other, so they are one polygon. One valid polygon is its own union, and GEOS
            // would take a pass over a coast's vertices to give it back.
            OGRGeometryUniquePtr merged(region->getNumGeometries() <= 1 ? region->clone()
                                                                        : region->UnionCascaded());
            if (!merged) {
                result.ok = false;
                result.error = "*** --opRegion " + source.file + ": its areas cannot be joined (" +
                               messages.summary("GEOS gives no reason") + ") ***";
                return result;
            }
            regionShape.geometry = polygonalPart(*merged);
            finish(regionShape);
            regions.push_back(std::move(regionShape));
        }
    }
    for (ZoneShape& region : regions) {
        result.zones.push_back(std::move(region));
    }
    return result;
}
