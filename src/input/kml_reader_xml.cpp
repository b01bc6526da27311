// Reads KML 2.2 as Google Earth saves it: paths and tracks, else the Point placemarks as
// one route, and polygons as areas, from Folders nested at any depth.
#include "input/document_readers.h"
#include "input/document_text.h"
#include "input/feature_candidates.h"
#include "input/strict_number.h"
#include "input/xml_document_xml.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kFormat = "KML";
// MultiGeometry may hold MultiGeometry; no real file nests them deeply, and a bound keeps
// a hostile one from exhausting the stack.
constexpr int kMaxGeometryDepth = 32;

struct KmlRead {
    const XmlDocument& xml;
    const std::string& fileName;
    std::string error; // the first refusal; reading stops there
    FeatureCandidates candidates;
};

bool refuse(KmlRead& read, std::uint64_t line, std::string_view text, std::string_view reason) {
    read.error = documentRefusal(kFormat, read.fileName, line, text, reason);
    return false;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// One position from its parts, longitude first; the altitude, if any, must be a number too,
// but the vehicle's depth comes from the mission, not from the drawing.
bool readTuple(KmlRead& read, std::uint64_t line, std::string_view tuple,
               const std::vector<std::string_view>& parts, SourcePoint& point) {
    const bool emptyPart = std::find(parts.begin(), parts.end(), "") != parts.end();
    if (parts.size() < 2 || parts.size() > 3 || emptyPart) {
        return refuse(read, line, tuple,
                      "expected longitude,latitude[,altitude] without blanks inside");
    }
    std::string reason = readCoordinate(parts[0], Axis::longitude, point.lon);
    if (reason.empty()) {
        reason = readCoordinate(parts[1], Axis::latitude, point.lat);
    }
    double altitude = 0.0;
    if (reason.empty() && parts.size() == 3 && !readStrictNumber(parts[2], altitude)) {
        reason = "altitude must be a decimal number";
    }
    point.line = line;
    return reason.empty() || refuse(read, line, tuple, reason);
}

// The text of a coordinates element: tuples "lon,lat[,alt]" separated by any white space,
// as Google Earth writes them with tabs and line ends. A comment splits the text in pieces,
// each read in turn.
bool readCoordinates(KmlRead& read, pugi::xml_node coordinates, std::vector<SourcePoint>& points) {
    const std::uint64_t lastLine = ::lastLine(read.xml.lines);
    std::vector<std::string_view> parts;
    for (pugi::xml_node text = coordinates.first_child(); text; text = text.next_sibling()) {
        if (text.type() != pugi::node_pcdata && text.type() != pugi::node_cdata) {
            continue;
        }
        std::uint64_t line = lineOf(read.xml, text);
        const std::string_view all = text.value();
        std::size_t at = 0;
        while (at < all.size()) {
            if (isSpace(all[at])) {
                // Only a character reference (&#10;) adds a line end the file does not have.
                line = all[at] == '\n' && line != 0 ? std::min(line + 1, lastLine) : line;
                ++at;
                continue;
            }
            std::size_t end = at;
            while (end < all.size() && !isSpace(all[end])) {
                ++end;
            }
            const std::string_view tuple = all.substr(at, end - at);
            parts.clear();
            for (std::size_t start = 0;;) {
                const std::size_t comma = tuple.find(',', start);
                parts.push_back(tuple.substr(start, comma - start));
                if (comma == std::string_view::npos) {
                    break;
                }
                start = comma + 1;
            }
            SourcePoint point;
            if (!readTuple(read, line, tuple, parts, point)) {
                return false;
            }
            points.push_back(point);
            at = end;
        }
    }
    return true;
}

// gx:coord holds "lon lat alt" separated by blanks, one position per element.
bool readTrack(KmlRead& read, pugi::xml_node track, std::vector<SourcePoint>& points) {
    for (pugi::xml_node coord = track.first_child(); coord; coord = coord.next_sibling()) {
        if (coord.type() != pugi::node_element || localName(coord) != "coord") {
            continue;
        }
        const std::uint64_t line = lineOf(read.xml, coord);
        const std::string whole = elementText(coord);
        const std::string_view tuple = trimmedText(whole);
        std::vector<std::string_view> parts;
        for (std::size_t at = 0; at < tuple.size();) {
            std::size_t end = at;
            while (end < tuple.size() && !isSpace(tuple[end])) {
                ++end;
            }
            parts.push_back(tuple.substr(at, end - at));
            while (end < tuple.size() && isSpace(tuple[end])) {
                ++end;
            }
            at = end;
        }
        SourcePoint point;
        if (!readTuple(read, line, tuple, parts, point)) {
            return false;
        }
        points.push_back(point);
    }
    return true;
}

// The rings of a LinearRing, closed as KML requires, without the repeated vertex.
bool readRing(KmlRead& read, pugi::xml_node ring, std::vector<std::vector<SourcePoint>>& rings) {
    const pugi::xml_node coordinates = childNamed(ring, "coordinates");
    std::vector<SourcePoint> points;
    if (!readCoordinates(read, coordinates, points)) {
        return false;
    }
    const std::string reason = openClosedRing(points);
    if (!reason.empty()) {
        const std::uint64_t line = points.empty() ? lineOf(read.xml, ring) : points.back().line;
        return refuse(read, line, trimmedText(lineText(read.xml.bytes, read.xml.lines, line)),
                      reason);
    }
    rings.push_back(std::move(points));
    return true;
}

bool readPolygon(KmlRead& read, pugi::xml_node polygon, SourceFeature& area) {
    const pugi::xml_node outer = childNamed(childNamed(polygon, "outerBoundaryIs"), "LinearRing");
    if (!outer) {
        return refuse(read, lineOf(read.xml, polygon), "Polygon",
                      "a Polygon needs outerBoundaryIs with a LinearRing");
    }
    if (!readRing(read, outer, area.rings)) {
        return false;
    }
    for (pugi::xml_node inner = polygon.first_child(); inner; inner = inner.next_sibling()) {
        if (inner.type() != pugi::node_element || localName(inner) != "innerBoundaryIs") {
            continue;
        }
        for (pugi::xml_node ring = inner.first_child(); ring; ring = ring.next_sibling()) {
            if (ring.type() == pugi::node_element && localName(ring) == "LinearRing" &&
                !readRing(read, ring, area.rings)) {
                return false;
            }
        }
    }
    return true;
}

SourceFeature partOf(const KmlRead& read, pugi::xml_node geometry, FeatureShape shape,
                     std::string kind) {
    SourceFeature feature;
    feature.shape = shape;
    feature.kind = std::move(kind);
    feature.line = lineOf(read.xml, geometry);
    return feature;
}

// One geometry of a placemark: lines and areas become parts, points join the point run.
bool readGeometry(KmlRead& read, pugi::xml_node geometry, int depth,
                  std::vector<SourceFeature>& parts) {
    const std::string_view name = localName(geometry);
    if (name == "Point") {
        std::vector<SourcePoint> points;
        if (!readCoordinates(read, childNamed(geometry, "coordinates"), points)) {
            return false;
        }
        for (const SourcePoint& point : points) {
            addPoint(read.candidates, point);
        }
        return true;
    }
    if (name == "LineString" || name == "LinearRing") {
        SourceFeature path = partOf(read, geometry, FeatureShape::route,
                                    name == "LineString" ? "KML path" : "KML ring");
        if (!readCoordinates(read, childNamed(geometry, "coordinates"), path.points)) {
            return false;
        }
        if (!path.points.empty()) {
            parts.push_back(std::move(path));
        }
        return true;
    }
    if (name == "Track" || name == "MultiTrack") {
        // A MultiTrack is one track in pieces, as a GPX track is in segments: joined.
        SourceFeature track = partOf(read, geometry, FeatureShape::route, "KML track");
        if (name == "Track" && !readTrack(read, geometry, track.points)) {
            return false;
        }
        for (pugi::xml_node piece = geometry.first_child(); name == "MultiTrack" && piece;
             piece = piece.next_sibling()) {
            if (piece.type() == pugi::node_element && localName(piece) == "Track" &&
                !readTrack(read, piece, track.points)) {
                return false;
            }
        }
        if (!track.points.empty()) {
            parts.push_back(std::move(track));
        }
        return true;
    }
    if (name == "Polygon") {
        SourceFeature area = partOf(read, geometry, FeatureShape::area, "KML polygon");
        if (!readPolygon(read, geometry, area)) {
            return false;
        }
        parts.push_back(std::move(area));
        return true;
    }
    if (name == "MultiGeometry") {
        if (depth >= kMaxGeometryDepth) {
            return refuse(read, lineOf(read.xml, geometry), "MultiGeometry",
                          "MultiGeometry nested too deeply");
        }
        for (pugi::xml_node child = geometry.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element &&
                !readGeometry(read, child, depth + 1, parts)) {
                return false;
            }
        }
    }
    // Anything else (Model, a Style, a description) carries no position of a route.
    return true;
}

bool readPlacemark(KmlRead& read, pugi::xml_node placemark) {
    std::vector<SourceFeature> parts;
    for (pugi::xml_node child = placemark.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && !readGeometry(read, child, 0, parts)) {
            return false;
        }
    }
    addParts(read.candidates, childText(placemark, "name"), parts);
    return true;
}

// Every Placemark in document order, however deep in Documents and Folders; iterative, so
// that no nesting can exhaust the stack.
bool readPlacemarks(KmlRead& read, pugi::xml_node root) {
    pugi::xml_node node = root.first_child();
    while (node) {
        if (node.type() == pugi::node_element && localName(node) == "Placemark") {
            if (!readPlacemark(read, node)) {
                return false;
            }
        } else if (node.type() == pugi::node_element && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling() && node != root) {
            node = node.parent();
        }
        if (!node || node == root) {
            break;
        }
        node = node.next_sibling();
    }
    return true;
}

} // namespace

DocumentResult readKml(std::string_view bytes, const std::string& fileName) {
    DocumentResult result;
    XmlDocument xml;
    if (!loadXmlDocument(bytes, kFormat, "kml", fileName, xml, result)) {
        return result;
    }
    KmlRead read{xml, fileName, "", {}};
    if (readPlacemarks(read, xml.document.document_element())) {
        result.document.features = finishCandidates(read.candidates, "KML points");
    } else {
        result.ok = false;
        result.error = std::move(read.error);
    }
    return result;
}
