// The area checked and carried into its flat frame.
#include "survey/area_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace {

// A ring whose vertices all lie this close to one line encloses nothing.
constexpr double kLeastRingWidth = 1e-6; // meters

// Whether every vertex lies on the line through the first and the one farthest from it. The
// area a ring encloses cannot tell: a bow tie's two halves cancel.
bool onOneLine(const PlaneRing& ring) {
    const PlanePoint a = ring.front();
    PlanePoint b = a;
    for (const PlanePoint& p : ring) {
        if (distance(a, p) > distance(a, b)) {
            b = p;
        }
    }
    const double length = distance(a, b);
    for (const PlanePoint& p : ring) {
        const double offset = ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / length;
        if (!(std::abs(offset) < kLeastRingWidth)) {
            return false;
        }
    }
    return true;
}

std::string ringName(std::size_t ring) {
    return ring == 0 ? "the boundary" : "hole " + std::to_string(ring);
}

std::string numberText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// Longitudes up to a turn either way are taken, so that a ring written eastwards across 180
// degrees (179.5 then 180.5) is read as it was meant.
std::string vertexRangeError(const GeoRing& ring, std::size_t ringIndex) {
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const GeoPoint& p = ring[i];
        const std::string where = "vertex " + std::to_string(i + 1) + " of " + ringName(ringIndex);
        if (!std::isfinite(p.lat) || p.lat < -90.0 || p.lat > 90.0) {
            return where + " has latitude " + numberText(p.lat) + ", outside -90..90";
        }
        if (!std::isfinite(p.lon) || p.lon < -360.0 || p.lon > 360.0) {
            return where + " has longitude " + numberText(p.lon) + ", outside -360..360";
        }
    }
    return {};
}

GeoRing withoutRepeats(const GeoRing& ring) {
    GeoRing kept;
    for (const GeoPoint& p : ring) {
        if (kept.empty() || p.lat != kept.back().lat || p.lon != kept.back().lon) {
            kept.push_back(p);
        }
    }
    while (kept.size() > 1 && kept.back().lat == kept.front().lat &&
           kept.back().lon == kept.front().lon) {
        kept.pop_back();
    }
    return kept;
}

// GEOS's reasons, in the planner's words.
std::string reasonText(std::string_view reason) {
    if (reason == "Self-intersection") {
        return "two of its edges cross";
    }
    if (reason == "Ring Self-intersection") {
        return "a ring touches itself";
    }
    if (reason == "Hole lies outside shell") {
        return "a hole lies outside the boundary";
    }
    if (reason == "Holes are nested") {
        return "a hole lies inside another hole";
    }
    if (reason == "Interior is disconnected") {
        return "its holes cut the water into separate pieces";
    }
    if (reason.starts_with("Too few")) {
        return "a ring has fewer than 3 distinct vertices";
    }
    if (reason == "Duplicate Rings") {
        return "two rings are the same";
    }
    return "GEOS finds it invalid (" + std::string(reason) + ")";
}

FramedAreaResult refused(std::string error) {
    FramedAreaResult result;
    result.ok = false;
    result.error = std::move(error);
    return result;
}

// Whether the area is valid, found in parts: the boundary alone, the holes inside a plain
// box round it, and each hole strictly inside the boundary. GEOS's check of the whole looks
// each hole up in the boundary vertex by vertex, seconds for a thousand rocks off a shore of
// 10^5 vertices. Where the parts find the area valid, so does the whole (no hole meets the
// boundary, so whatever could be wrong between the holes is wrong in the box too); where
// they do not, the whole is checked, for GEOS's own reason and place.
bool validInParts(const Geos& geos, const PlaneArea& area) {
    const GeosGeometry shell = makePolygon(geos, area.outer);
    if (GEOSisValid_r(geos.handle(), shell.get()) != 1) {
        return false;
    }
    const Extent x = alongExtent(area);
    const Extent y = acrossExtent(area);
    const PlaneRing box{{x.low - 1.0, y.low - 1.0},
                        {x.high + 1.0, y.low - 1.0},
                        {x.high + 1.0, y.high + 1.0},
                        {x.low - 1.0, y.high + 1.0}};
    const GeosGeometry boxed = makePolygon(geos, box, area.holes);
    if (GEOSisValid_r(geos.handle(), boxed.get()) != 1) {
        return false;
    }
    const GeosPrepared boundary = prepared(geos, shell.get());
    for (const PlaneRing& hole : area.holes) {
        const GeosGeometry rock = makePolygon(geos, hole);
        if (GEOSPreparedContainsProperly_r(geos.handle(), boundary.get(), rock.get()) != 1) {
            return false;
        }
    }
    return true;
}

// Holes from this many on are checked in parts first.
constexpr std::size_t kHolesCheckedInParts = 16;

std::string validityError(const Geos& geos, const FramedArea& framed) {
    if (framed.plane.holes.size() >= kHolesCheckedInParts && validInParts(geos, framed.plane)) {
        return {};
    }
    const GeosGeometry polygon = makePolygon(geos, framed.plane);
    char* reason = nullptr;
    GEOSGeometry* location = nullptr;
    const char valid = GEOSisValidDetail_r(geos.handle(), polygon.get(), 0, &reason, &location);
    const GeosGeometry place(location, GeosGeometryDeleter{geos.handle()});
    if (valid == 1) {
        return {};
    }
    if (valid != 0 || reason == nullptr) {
        return "GEOS cannot check the area";
    }
    std::string text = "the area is not a valid polygon: " + reasonText(reason);
    GEOSFree_r(geos.handle(), reason);
    double x = 0.0;
    double y = 0.0;
    if (place && GEOSGeomGetX_r(geos.handle(), place.get(), &x) == 1 &&
        GEOSGeomGetY_r(geos.handle(), place.get(), &y) == 1) {
        text += " near " + positionText(toGeo(framed.frame, {x, y}));
    }
    return text;
}

} // namespace

std::string positionText(GeoPoint point) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f %.6f", point.lat, point.lon);
    return text;
}

GeoArea withoutRepeatedVertices(const GeoArea& area) {
    GeoArea kept;
    kept.name = area.name;
    kept.outer = withoutRepeats(area.outer);
    for (const GeoRing& hole : area.holes) {
        kept.holes.push_back(withoutRepeats(hole));
    }
    return kept;
}

namespace {

FramedAreaResult frame(const Geos& geos, const GeoArea& given, bool checkValidity) {
    if (std::string error = vertexRangeError(given.outer, 0); !error.empty()) {
        return refused(error);
    }
    for (std::size_t i = 0; i < given.holes.size(); ++i) {
        if (std::string error = vertexRangeError(given.holes[i], i + 1); !error.empty()) {
            return refused(error);
        }
    }
    const GeoArea area = withoutRepeatedVertices(given);
    if (area.outer.size() < 3) {
        return refused("the boundary has " + std::to_string(area.outer.size()) +
                       " distinct vertices; an area needs at least 3");
    }
    for (std::size_t i = 0; i < area.holes.size(); ++i) {
        if (area.holes[i].size() < 3) {
            return refused(ringName(i + 1) + " has " + std::to_string(area.holes[i].size()) +
                           " distinct vertices; a hole needs at least 3");
        }
    }
    // Holes lie inside the boundary, so the boundary alone says how far the area reaches.
    const double span = longitudeSpan(area);
    if (span >= 180.0) {
        return refused("the area spans " + numberText(span) +
                       " degrees of longitude; a survey area spans less than 180");
    }

    const FrameResult frame = makeFrame(areaCentre(area));
    if (!frame.ok) {
        return refused(frame.error);
    }
    FramedAreaResult result;
    result.area.frame = frame.frame;
    PlaneArea& plane = result.area.plane;
    if (!toPlane(frame.frame, area.outer, plane.outer)) {
        return refused("PROJ cannot place the boundary in the frame of the area");
    }
    plane.holes.resize(area.holes.size());
    for (std::size_t i = 0; i < area.holes.size(); ++i) {
        if (!toPlane(frame.frame, area.holes[i], plane.holes[i])) {
            return refused("PROJ cannot place " + ringName(i + 1) + " in the frame of the area");
        }
    }
    double farthest = 0.0;
    for (const PlanePoint& p : plane.outer) {
        farthest = std::max(farthest, std::hypot(p.x, p.y));
    }
    if (farthest > kMaxAreaRadius) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "the area reaches %.1f km from its centre; one survey covers up to %.0f km",
                      farthest / 1000.0, kMaxAreaRadius / 1000.0);
        return refused(text);
    }
    if (onOneLine(plane.outer)) {
        return refused("the boundary encloses no area: its vertices lie on one line");
    }
    for (std::size_t i = 0; i < plane.holes.size(); ++i) {
        if (onOneLine(plane.holes[i])) {
            return refused(ringName(i + 1) + " encloses no area: its vertices lie on one line");
        }
    }
    if (checkValidity) {
        if (std::string error = validityError(geos, result.area); !error.empty()) {
            return refused(error);
        }
    }
    orientRings(plane);
    return result;
}

} // namespace

FramedAreaResult frameArea(const Geos& geos, const GeoArea& area) {
    return frame(geos, area, true);
}

FramedAreaResult frameAcceptedArea(const Geos& geos, const GeoArea& area) {
    return frame(geos, area, false);
}
