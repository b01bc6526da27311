// How each leg meets the keep-out areas and the operating region.
#include "sea/leg_zones.h"

#include "gdal/gdal_messages.h"
#include "route/geodesy.h"
#include "sea/route_legs.h"
#include "sea/zone_edges.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <ogr_api.h>
#include <ogr_spatialref.h>
#include <optional>

namespace {

// A leg is tested as a chain of straight longitude/latitude pieces this long at most,
// which stray from its great circle by about a centimetre.
constexpr double kPieceMeters = 500.0;
// The part of a zone cut out around a leg for the margin reaches this much further: the edges
// of the cut then lie well beyond the margin from the leg, and GEOS widens by the margin only
// what lies about that close (it widens every spike of a star that it is given).
constexpr double kNearPadMeters = 10.0;
// The edges near a leg are measured in the leg's frame in steps of this many degrees at most.
constexpr double kNearStepDegrees = 0.001;

struct TransformDeleter {
    void operator()(OGRCoordinateTransformation* transform) const {
        OGRCoordinateTransformation::DestroyCT(transform);
    }
};
using TransformPtr = std::unique_ptr<OGRCoordinateTransformation, TransformDeleter>;

struct LegPath {
    std::vector<GeoPoint> places; // on the route's run of longitudes
    OGRLineString line;
    OGREnvelope envelope;
};

// Near a pole the longitude turns fast along a leg, and a straight piece in longitude and
// latitude between two places would stray far from the leg there: pieces are halved until
// each turns at most this much.
constexpr double kMostPieceDegrees = 1.0;
constexpr int kMostHalvings = 40;

// The places between a and b (along meters from the leg's start) that keep each piece
// within kMostPieceDegrees, then b. A piece over the pole itself, which no halving makes
// short in longitude, runs up the meridian of a to the pole, along it, and down b's.
void refineInto(std::vector<GeoPoint>& places, const SurveyLeg& leg, const GeoPoint& a,
                double alongA, const GeoPoint& b, double alongB, int halvings) {
    if (std::fabs(b.lon - a.lon) > kMostPieceDegrees) {
        if (halvings >= kMostHalvings) {
            const double pole = a.lat + b.lat < 0.0 ? -90.0 : 90.0;
            places.push_back(GeoPoint{pole, a.lon});
            places.push_back(GeoPoint{pole, b.lon});
        } else {
            const double along = (alongA + alongB) / 2.0;
            GeoPoint middle = placeAlong(leg, along);
            middle.lon = sameTurn(middle.lon, a.lon);
            GeoPoint end = b;
            end.lon = sameTurn(b.lon, middle.lon);
            refineInto(places, leg, a, alongA, middle, along, halvings + 1);
            refineInto(places, leg, middle, along, end, alongB, halvings + 1);
            return;
        }
    }
    places.push_back(b);
}

LegPath pathOf(const SurveyLeg& leg, double turn) {
    LegPath path;
    const double span = legSpan(leg);
    const auto pieces =
        static_cast<std::size_t>(std::clamp(std::ceil(span / kPieceMeters), 1.0, 1e7));
    const std::vector<GeoPoint> even = placesAlong(leg, pieces);
    path.places.reserve(even.size());
    path.places.push_back(even.front());
    for (std::size_t i = 1; i < even.size(); ++i) {
        const double along = span * static_cast<double>(i) / static_cast<double>(pieces);
        const double before = span * static_cast<double>(i - 1) / static_cast<double>(pieces);
        refineInto(path.places, leg, path.places.back(), before, even[i], along, 0);
    }
    path.line.setNumPoints(static_cast<int>(path.places.size()), FALSE);
    for (std::size_t i = 0; i < path.places.size(); ++i) {
        path.places[i].lon += turn;
        path.line.setPoint(static_cast<int>(i), path.places[i].lon, path.places[i].lat);
    }
    path.line.getEnvelope(&path.envelope);
    return path;
}

OGREnvelope widened(const OGREnvelope& envelope, double meters) {
    OGREnvelope result = envelope;
    const double lat = latitudeDegrees(meters);
    result.MinY = std::max(-90.0, envelope.MinY - lat);
    result.MaxY = std::min(90.0, envelope.MaxY + lat);
    const double lon = longitudeDegrees(meters, result.MinY, result.MaxY);
    result.MinX -= lon;
    result.MaxX += lon;
    return result;
}

bool preparedIntersects(const ZoneShape& zone, const OGRGeometry& geometry) {
    return zone.prepared && OGRPreparedGeometryIntersects(
                                zone.prepared.get(),
                                OGRGeometry::ToHandle(const_cast<OGRGeometry*>(&geometry))) != 0;
}

bool preparedContains(const ZoneShape& zone, const OGRGeometry& geometry) {
    return zone.prepared && OGRPreparedGeometryContains(
                                zone.prepared.get(),
                                OGRGeometry::ToHandle(const_cast<OGRGeometry*>(&geometry))) != 0;
}

bool inside(const ZoneShape& zone, const GeoPoint& place) {
    const OGRPoint point(place.lon, place.lat);
    return preparedIntersects(zone, point);
}

void collectVertices(const OGRGeometry& geometry, std::vector<OGRPoint>& points) {
    switch (wkbFlatten(geometry.getGeometryType())) {
    case wkbPoint:
        points.push_back(*geometry.toPoint());
        break;
    case wkbLineString:
        for (const OGRPoint& point : *geometry.toLineString()) {
            points.push_back(point);
        }
        break;
    case wkbMultiPoint:
    case wkbMultiLineString:
    case wkbGeometryCollection:
        for (const OGRGeometry* part : *geometry.toGeometryCollection()) {
            collectVertices(*part, points);
        }
        break;
    default:
        break;
    }
}

// The vertex of the geometry nearest to (x, y): on a straight piece that starts at (x, y),
// the first place of the piece that the geometry holds.
std::optional<OGRPoint> nearestVertex(const OGRGeometry& geometry, double x, double y) {
    std::vector<OGRPoint> points;
    collectVertices(geometry, points);
    std::optional<OGRPoint> nearest;
    double best = std::numeric_limits<double>::infinity();
    for (const OGRPoint& point : points) {
        const double distance = std::hypot(point.getX() - x, point.getY() - y);
        if (distance < best) {
            best = distance;
            nearest = point;
        }
    }
    return nearest;
}

// The place on the leg where a found point lies: put back onto the great circle by its
// distance from the start, which is what the messages give.
LegPlace placeOnLeg(const SurveyLeg& leg, const GeoPoint& start, const OGRPoint& point) {
    const double along = greatCircleDistance(start.lat, start.lon, point.getY(), point.getX());
    const double span = legSpan(leg);
    const double planned = span > 0.0 ? leg.length * std::min(1.0, along / span) : 0.0;
    return LegPlace{planned, placeAlong(leg, along)};
}

OGRLineString piece(const LegPath& path, std::size_t k) {
    OGRLineString line;
    line.addPoint(path.places[k].lon, path.places[k].lat);
    line.addPoint(path.places[k + 1].lon, path.places[k + 1].lat);
    return line;
}

// Zones of more vertices than this meet the legs through their edges filed in a grid, and
// are cut to each leg's surroundings before the near pass is measured: the distance and the
// widening by the margin take every edge they are given.
constexpr std::size_t kMostVerticesOverlaid = 2000;
// Zones of more vertices than this, and no more than the above, are cut to thin boxes round
// the pieces of a leg before each piece is laid over them: the spikes of a star of a few thousand
// vertices already cost the overlay thousands of their neighbours each.
constexpr std::size_t kMostVerticesOverlaidWithPiece = 256;

std::size_t vertexCount(const OGRGeometry* geometry) {
    std::vector<const OGRLinearRing*> rings;
    if (geometry != nullptr) {
        collectRings(*geometry, rings);
    }
    std::size_t count = 0;
    for (const OGRLinearRing* ring : rings) {
        count += static_cast<std::size_t>(ring->getNumPoints());
    }
    return count;
}

void collectParts(const OGRGeometry& geometry, std::vector<const OGRGeometry*>& parts) {
    switch (wkbFlatten(geometry.getGeometryType())) {
    case wkbMultiPoint:
    case wkbMultiLineString:
    case wkbGeometryCollection:
        for (const OGRGeometry* part : *geometry.toGeometryCollection()) {
            collectParts(*part, parts);
        }
        break;
    default:
        if (!geometry.IsEmpty()) {
            parts.push_back(&geometry);
        }
        break;
    }
}

// Whether the leg, just before reaching (x, y) from (fromX, fromY), already lies in another
// keep-out area of the same file: world data is cut into polygons at the antimeridian (and
// charts at their sheet edges), and stepping from one such polygon into the next is no
// shore.
// indexed: the edges of each zone of many vertices, null for the others.
using IndexedZones = std::vector<std::unique_ptr<ZoneEdges>>;

bool fromNeighbour(const std::vector<ZoneShape>& zones, const IndexedZones& indexed,
                   std::size_t self, double fromX, double fromY, double x, double y) {
    const double length = std::hypot(x - fromX, y - fromY);
    if (!(length > 0.0)) {
        return false;
    }
    // A millionth of a degree: a tenth of a metre, well inside any polygon the leg is in.
    const double back = std::min(1.0, 1e-6 / length);
    const OGRPoint before(x + (fromX - x) * back, y + (fromY - y) * back);
    for (std::size_t z = 0; z < zones.size(); ++z) {
        const ZoneShape& other = zones[z];
        if (z != self && other.record.kind == ZoneKind::keepOut &&
            other.record.file == zones[self].record.file &&
            (indexed[z] ? indexed[z]->contains(before.getX(), before.getY())
                        : preparedIntersects(other, before))) {
            return true;
        }
    }
    return false;
}

// A piece's box reaches this far (degrees: about a tenth of a metre) beyond the piece.
constexpr double kPieceBoxPadDegrees = 1e-6;

// What of the piece lies in the shape. GEOS nodes every edge of both against every other
// edge whose box meets its own, and the edges of a star's spikes or of a shore's detail
// overlap in their boxes by the thousand: a shape of many vertices is first cut to a thin
// box round the piece, which holds all the piece meets.
// The part of the shape near the piece: over a shape of many vertices, its cut to a thin
// box round the piece, which holds all the piece meets; null to take the whole shape.
OGRGeometryUniquePtr nearPiece(const OGRLineString& line, const BoxCutter* cutter) {
    if (cutter == nullptr) {
        return nullptr;
    }
    OGREnvelope around;
    line.getEnvelope(&around);
    const GeoBox box{around.MinX - kPieceBoxPadDegrees, around.MaxX + kPieceBoxPadDegrees,
                     around.MinY - kPieceBoxPadDegrees, around.MaxY + kPieceBoxPadDegrees};
    const OGRGeometryUniquePtr near = cutter->cut(box);
    return near ? polygonalPart(*near) : nullptr;
}

OGRGeometryUniquePtr pieceInside(const OGRGeometry& shape, const OGRLineString& line,
                                 const BoxCutter* cutter) {
    const OGRGeometryUniquePtr near = nearPiece(line, cutter);
    return OGRGeometryUniquePtr((near ? *near : shape).Intersection(&line));
}

// Where the leg first enters zone z from outside, walking from its start: from a start
// inside, where it comes back in after leaving. zone: zone z; cutter: the zone's, when it
// has a few hundred vertices or more.
std::optional<LegPlace> firstEntry(const SurveyLeg& leg, const LegPath& path,
                                   const std::vector<ZoneShape>& zones, const IndexedZones& indexed,
                                   std::size_t z, const ZoneShape& zone, bool startInside,
                                   const BoxCutter* cutter) {
    const OGRGeometry& shape = *zone.geometry;
    bool wasInside = startInside;
    for (std::size_t k = 0; k + 1 < path.places.size(); ++k) {
        const OGRLineString line = piece(path, k);
        if (!preparedIntersects(zone, line)) {
            wasInside = false;
            continue;
        }
        if (wasInside && preparedContains(zone, line)) {
            continue;
        }
        const double x = path.places[k].lon;
        const double y = path.places[k].lat;
        const OGRGeometryUniquePtr hit = pieceInside(shape, line, cutter);
        std::vector<const OGRGeometry*> parts;
        if (hit) {
            collectParts(*hit, parts);
        }
        // Each stretch of the piece inside the zone starts where it is nearest the piece's
        // start; taken in order along the piece.
        std::vector<OGRPoint> starts;
        for (const OGRGeometry* part : parts) {
            if (const std::optional<OGRPoint> first = nearestVertex(*part, x, y)) {
                starts.push_back(*first);
            }
        }
        std::sort(starts.begin(), starts.end(), [x, y](const OGRPoint& a, const OGRPoint& b) {
            return std::hypot(a.getX() - x, a.getY() - y) < std::hypot(b.getX() - x, b.getY() - y);
        });
        for (const OGRPoint& start : starts) {
            const bool atPieceStart = start.getX() == x && start.getY() == y;
            if ((wasInside && atPieceStart) ||
                fromNeighbour(zones, indexed, z, x, y, start.getX(), start.getY())) {
                continue; // the stretch the leg is already in, or one beyond a seam
            }
            return placeOnLeg(leg, path.places.front(), start);
        }
        wasInside = inside(zone, path.places[k + 1]);
    }
    return std::nullopt;
}

// As firstEntry, of a zone of many vertices: each piece is met with the edges filed near it.
std::optional<LegPlace> firstEntryAmongEdges(const SurveyLeg& leg, const LegPath& path,
                                             const std::vector<ZoneShape>& zones,
                                             const IndexedZones& indexed, std::size_t z,
                                             bool startInside) {
    bool wasInside = startInside;
    for (std::size_t k = 0; k + 1 < path.places.size(); ++k) {
        const GeoPoint& from = path.places[k];
        const GeoPoint& to = path.places[k + 1];
        const std::vector<PieceStretch> inZone =
            indexed[z]->stretches(from.lon, from.lat, to.lon, to.lat, wasInside);
        for (const PieceStretch& stretch : inZone) {
            if ((wasInside && stretch.from == 0.0) ||
                fromNeighbour(zones, indexed, z, from.lon, from.lat, stretch.fromX,
                              stretch.fromY)) {
                continue; // the stretch the leg is already in, or one beyond a seam
            }
            return placeOnLeg(leg, path.places.front(), OGRPoint(stretch.fromX, stretch.fromY));
        }
        wasInside = !inZone.empty() && inZone.back().to == 1.0;
    }
    return std::nullopt;
}

// As firstExit, of a zone of many vertices.
std::optional<LegPlace> firstExitAmongEdges(const SurveyLeg& leg, const LegPath& path,
                                            const ZoneEdges& edges) {
    for (std::size_t k = 0; k + 1 < path.places.size(); ++k) {
        const GeoPoint& from = path.places[k];
        const GeoPoint& to = path.places[k + 1];
        const std::vector<PieceStretch> inZone =
            edges.stretches(from.lon, from.lat, to.lon, to.lat, true);
        if (inZone.empty() || inZone.front().from > 0.0) {
            return placeOnLeg(leg, path.places.front(), OGRPoint(from.lon, from.lat));
        }
        if (inZone.front().to < 1.0) {
            return placeOnLeg(leg, path.places.front(),
                              OGRPoint(inZone.front().toX, inZone.front().toY));
        }
    }
    return std::nullopt;
}

// Where the leg first leaves the zone, walking from its start.
std::optional<LegPlace> firstExit(const SurveyLeg& leg, const LegPath& path, const ZoneShape& zone,
                                  const BoxCutter* cutter) {
    for (std::size_t k = 0; k + 1 < path.places.size(); ++k) {
        const OGRLineString line = piece(path, k);
        if (preparedContains(zone, line)) {
            continue;
        }
        const OGRGeometryUniquePtr near = zone.geometry ? nearPiece(line, cutter) : nullptr;
        const OGRGeometry* shape = near ? near.get() : zone.geometry.get();
        const OGRGeometryUniquePtr outside(shape ? line.Difference(shape) : line.clone());
        const std::optional<OGRPoint> exit =
            outside ? nearestVertex(*outside, path.places[k].lon, path.places[k].lat)
                    : std::nullopt;
        if (exit) {
            return placeOnLeg(leg, path.places.front(), *exit);
        }
    }
    return std::nullopt;
}

// Azimuthal equidistant about the leg's start on tavra's sphere: the leg is a straight line
// from the origin there, and the distance of a point from the origin is its distance along
// the great circle. The pipeline names its input order (longitude, then latitude) itself.
TransformPtr aboutStart(const GeoPoint& start) {
    char pipeline[256];
    std::snprintf(pipeline, sizeof pipeline,
                  "+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad "
                  "+step +proj=aeqd +lat_0=%.17g +lon_0=%.17g +R=6371000",
                  start.lat, start.lon);
    OGRCoordinateTransformationOptions options;
    options.SetCoordinateOperation(pipeline, false);
    return TransformPtr(OGRCreateCoordinateTransformation(nullptr, nullptr, options));
}

struct NearPass {
    double nearest = 0.0;
    LegPlace from;
};

// How close the leg passes the zone, in meters, when closer than the margin.
std::optional<NearPass> nearPass(const SurveyLeg& leg, const LegPath& path, const ZoneShape& zone,
                                 const OGRGeometry* local, double margin, bool& failed) {
    const OGREnvelope around = widened(path.envelope, margin + kNearPadMeters);
    const OGRGeometryUniquePtr box =
        boxPolygon(GeoBox{around.MinX, around.MaxX, around.MinY, around.MaxY});
    OGRGeometryUniquePtr nearby(local != nullptr ? local->clone()
                                                 : zone.geometry->Intersection(box.get()));
    if (!nearby || nearby->IsEmpty()) {
        return std::nullopt;
    }
    // An edge is straight in longitude and latitude, as every other test takes it; carried
    // into the leg's frame by its ends alone it would be straight there instead, and off by
    // decimetres over a kilometre. A step of a thousandth of a degree keeps it within a
    // millimetre, whatever the cut round the leg left of it.
    nearby->segmentize(kNearStepDegrees);
    const TransformPtr transform = aboutStart(path.places.front());
    OGRLineString line(path.line);
    if (!transform || nearby->transform(transform.get()) != OGRERR_NONE ||
        line.transform(transform.get()) != OGRERR_NONE) {
        failed = true;
        return std::nullopt;
    }
    const double nearest = line.Distance(nearby.get());
    if (!(nearest < margin)) {
        return std::nullopt;
    }
    // The first place within the margin: where the leg enters the area widened by it.
    const OGRGeometryUniquePtr widenedArea(nearby->Buffer(margin));
    const OGRGeometryUniquePtr within(widenedArea ? line.Intersection(widenedArea.get()) : nullptr);
    std::optional<OGRPoint> first =
        within ? nearestVertex(*within, 0.0, 0.0) : std::optional<OGRPoint>();
    if (!first) {
        // Closer than the margin by less than the buffer's rounding: the nearest vertex.
        double best = std::numeric_limits<double>::infinity();
        for (const OGRPoint& point : line) {
            const double distance = point.Distance(nearby.get());
            if (distance < best) {
                best = distance;
                first = point;
            }
        }
    }
    const double along = std::hypot(first->getX(), first->getY());
    const double span = legSpan(leg);
    const double planned = span > 0.0 ? leg.length * std::min(1.0, along / span) : 0.0;
    return NearPass{nearest, LegPlace{planned, placeAlong(leg, along)}};
}

} // namespace

PassesResult measurePasses(const std::vector<SurveyLeg>& legs, const std::vector<ZoneShape>& zones,
                           double marginMeters) {
    PassesResult result;
    GdalMessages messages;
    const std::vector<double> turns = routeRun(legs);
    std::vector<std::optional<BoxCutter>> cutters(zones.size());
    std::vector<bool> cutAroundLegs(zones.size(), false);
    IndexedZones indexed(zones.size());
    for (std::size_t z = 0; z < zones.size(); ++z) {
        const std::size_t vertices = vertexCount(zones[z].geometry.get());
        cutAroundLegs[z] = vertices > kMostVerticesOverlaid || zones[z].reachesBeyond;
        // A zone whose edges are filed is cut only round the legs that pass near it.
        if ((vertices > kMostVerticesOverlaidWithPiece || zones[z].reachesBeyond) &&
            (!cutAroundLegs[z] || marginMeters > 0.0)) {
            cutters[z].emplace(*zones[z].geometry);
        }
        if (cutAroundLegs[z]) {
            indexed[z] = std::make_unique<ZoneEdges>(*zones[z].geometry, zones[z].surroundings);
        }
    }
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const SurveyLeg& leg = legs[i];
        if (!leg.onGlobe) {
            continue;
        }
        const LegPath path = pathOf(leg, turns[i]);
        const OGREnvelope reach = widened(path.envelope, marginMeters);
        for (std::size_t z = 0; z < zones.size(); ++z) {
            const ZoneShape& zone = zones[z];
            const bool keepOut = zone.record.kind == ZoneKind::keepOut;
            if (keepOut && !zone.envelope.Intersects(reach)) {
                continue;
            }
            // What a leg asks of a large zone is asked of its edges filed near the leg: GEOS
            // would index every edge of the zone, or join every piece of its cut to a box
            // round the leg, to answer the first question.
            const ZoneEdges* edges = indexed[z].get();
            LegZonePass pass;
            pass.leg = leg.leg;
            pass.zone = z;
            const auto holds = [&](const GeoPoint& place) {
                return edges ? edges->contains(place.lon, place.lat) : inside(zone, place);
            };
            pass.startInside = holds(path.places.front());
            pass.endInside = holds(path.places.back());
            if (keepOut && edges) {
                const std::optional<LegPlace> entry =
                    firstEntryAmongEdges(leg, path, zones, indexed, z, pass.startInside);
                pass.crosses = entry.has_value();
                pass.crossing = entry.value_or(LegPlace{});
            }
            if (keepOut) {
                // A large zone is cut to the leg's surroundings once, for the near pass, and
                // only for a leg that needs one; the entry cuts thin boxes round its pieces.
                OGRGeometryUniquePtr local;
                const auto cutLocally = [&] {
                    if (cutAroundLegs[z] && !local) {
                        const OGREnvelope around =
                            widened(path.envelope, marginMeters + kNearPadMeters);
                        local = cutters[z]->cut(
                            GeoBox{around.MinX, around.MaxX, around.MinY, around.MaxY});
                    }
                };
                if (!edges && preparedIntersects(zone, path.line) &&
                    !(pass.startInside && preparedContains(zone, path.line))) {
                    const std::optional<LegPlace> entry =
                        firstEntry(leg, path, zones, indexed, z, zone, pass.startInside,
                                   cutters[z] ? &*cutters[z] : nullptr);
                    pass.crosses = entry.has_value();
                    pass.crossing = entry.value_or(LegPlace{});
                }
                if (!pass.crosses && !pass.startInside && !pass.endInside && marginMeters > 0.0) {
                    bool failed = false;
                    cutLocally();
                    const std::optional<NearPass> near =
                        nearPass(leg, path, zone, local.get(), marginMeters, failed);
                    if (failed) {
                        result.ok = false;
                        result.error = "*** --keepOutMargin: PROJ cannot measure around the leg "
                                       "from waypoint " +
                                       std::to_string(leg.fromNumber) + " (" +
                                       messages.summary("no reason given") + ") ***";
                        return result;
                    }
                    pass.near = near.has_value();
                    if (near) {
                        pass.nearest = near->nearest;
                        pass.nearFrom = near->from;
                    }
                }
                if (!pass.startInside && !pass.endInside && !pass.crosses && !pass.near) {
                    continue;
                }
            } else if (pass.startInside) {
                const std::optional<LegPlace> exit =
                    edges ? firstExitAmongEdges(leg, path, *edges)
                          : firstExit(leg, path, zone, cutters[z] ? &*cutters[z] : nullptr);
                pass.crosses = exit.has_value();
                pass.crossing = exit.value_or(LegPlace{});
            }
            result.passes.push_back(pass);
        }
    }
    return result;
}
