// Reads GeoJSON (RFC 7946) as QGIS, GDAL and web maps write it: lines and point runs as
// routes, polygons as areas, in a FeatureCollection, a Feature or a bare geometry.
#include "input/document_readers.h"
#include "input/document_text.h"
#include "input/feature_candidates.h"
#include "input/json_document_read.h"
#include "input/json_feature_name.h"
#include "input/json_tree.h"

#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kFormat = "GeoJSON";
// What the reader looks at: the members below, the positions down to their numbers, and a
// feature's name among its properties; attributes, foreign members and anything nested
// deeper than a reader descends are parsed but not kept. The roles follow the containers:
enum GeoJsonRole : JsonRole {
    kGeoObject = kJsonLeaf + 1, // a document, feature, geometry or crs
    kGeoList,                   // features or geometries
    kGeoProperties,             // a feature's or crs's properties: only the name is read
    kGeoCoordinates,            // coordinates, then each level of nesting down to a position
    kGeoDeepest = kGeoCoordinates + 3,
};

JsonRole geoJsonRole(JsonRole container, JsonKind kind, std::string_view name) {
    if (kind == JsonKind::object) {
        if (container == kGeoProperties) {
            return name.size() == 4 && (name[0] | 0x20) == 'n' && (name[1] | 0x20) == 'a' &&
                           (name[2] | 0x20) == 'm' && (name[3] | 0x20) == 'e'
                       ? kJsonLeaf
                       : kJsonSkip;
        }
        if (container != kGeoObject) {
            return kJsonSkip;
        }
        if (name == "type") {
            return kJsonLeaf;
        }
        if (name == "crs" || name == "geometry") {
            return kGeoObject;
        }
        if (name == "features" || name == "geometries") {
            return kGeoList;
        }
        if (name == "coordinates") {
            return kGeoCoordinates;
        }
        return name == "properties" ? JsonRole{kGeoProperties} : kJsonSkip;
    }
    if (container == kGeoList) {
        return kGeoObject;
    }
    if (container >= kGeoCoordinates && container < kGeoDeepest) {
        return static_cast<JsonRole>(container + 1);
    }
    // A position's numbers; an array among them is refused without looking inside.
    return container == kGeoDeepest ? kJsonLeaf : kJsonSkip;
}

constexpr JsonInterest kGeoJsonInterest{kGeoObject, geoJsonRole};

struct GeoJsonRead : JsonDocumentRead {
    FeatureCandidates candidates;
};

std::optional<std::string_view> stringOf(const GeoJsonRead& read, std::size_t value) {
    if (value == kNoJsonValue || kindOf(read, value) != JsonKind::string) {
        return std::nullopt;
    }
    return jsonString(read.tree, read.tree.values[value].data);
}

bool typeOf(GeoJsonRead& read, std::size_t object, std::string& type) {
    std::size_t value = kNoJsonValue;
    if (!member(read, object, "type", value)) {
        return false;
    }
    const std::optional<std::string_view> text = stringOf(read, value);
    if (!text) {
        return refuse(read, value == kNoJsonValue ? object : value,
                      "a GeoJSON object needs a \"type\" string");
    }
    type = *text;
    return true;
}

bool isWgs84Name(std::string name) {
    for (char& c : name) {
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    constexpr std::array<std::string_view, 8> kNames{"urn:ogc:def:crs:ogc:1.3:crs84",
                                                     "urn:ogc:def:crs:ogc::crs84",
                                                     "urn:ogc:def:crs:epsg::4326",
                                                     "http://www.opengis.net/def/crs/ogc/1.3/crs84",
                                                     "http://www.opengis.net/def/crs/epsg/0/4326",
                                                     "ogc:crs84",
                                                     "crs84",
                                                     "epsg:4326"};
    for (std::string_view known : kNames) {
        if (name == known) {
            return true;
        }
    }
    // URNs that carry a version, as older writers give them: urn:ogc:def:crs:EPSG:6.6:4326.
    const std::string_view text = name;
    return (text.starts_with("urn:ogc:def:crs:epsg:") && text.ends_with(":4326")) ||
           (text.starts_with("urn:ogc:def:crs:ogc:") && text.ends_with(":crs84"));
}

// RFC 7946 positions are WGS 84 longitude, latitude; files of the older GeoJSON may name
// another system in a crs member, whose numbers would be read as degrees in the wrong
// place, so any other is refused.
bool checkCrs(GeoJsonRead& read, std::size_t object) {
    std::size_t crs = kNoJsonValue;
    if (!member(read, object, "crs", crs)) {
        return false;
    }
    if (crs == kNoJsonValue) {
        return true;
    }
    constexpr std::string_view kOnlyWgs84 =
        "GeoJSON positions must be WGS 84 longitude, latitude (CRS84 or EPSG:4326)";
    std::size_t type = kNoJsonValue;
    std::size_t properties = kNoJsonValue;
    std::size_t name = kNoJsonValue;
    if (kindOf(read, crs) != JsonKind::object || !member(read, crs, "type", type) ||
        !member(read, crs, "properties", properties)) {
        return read.error.empty() ? refuse(read, crs, kOnlyWgs84) : false;
    }
    const std::optional<std::string_view> typeText = stringOf(read, type);
    if (!typeText || *typeText != "name" || properties == kNoJsonValue ||
        kindOf(read, properties) != JsonKind::object) {
        return refuse(read, crs, kOnlyWgs84);
    }
    if (!member(read, properties, "name", name)) {
        return false;
    }
    const std::optional<std::string_view> nameText = stringOf(read, name);
    if (!nameText || !isWgs84Name(std::string(*nameText))) {
        return refuse(read, name == kNoJsonValue ? crs : name, kOnlyWgs84);
    }
    return true;
}

bool readPosition(GeoJsonRead& read, std::size_t value, SourcePoint& point) {
    if (kindOf(read, value) != JsonKind::array || itemCount(read.tree, value) < 2) {
        return refuse(read, value, "a position is an array [longitude, latitude]");
    }
    const std::size_t lon = firstItem(read.tree, value);
    const std::size_t lat = nextItem(read.tree, value, lon);
    // An altitude may follow; it must be a number too, but the vehicle's depth comes from
    // the mission, not from the drawing.
    for (std::size_t item = lon; item != kNoJsonValue; item = nextItem(read.tree, value, item)) {
        if (kindOf(read, item) != JsonKind::number) {
            return refuse(read, item,
                          item == lon   ? "longitude must be a number"
                          : item == lat ? "latitude must be a number"
                                        : "altitude must be a number");
        }
    }
    point.lon = jsonNumber(read.tree, read.bytes, lon);
    point.lat = jsonNumber(read.tree, read.bytes, lat);
    point.line = read.tree.values[lon].line;
    std::string reason = checkCoordinate(Axis::longitude, point.lon);
    if (!reason.empty()) {
        return refuse(read, lon, reason);
    }
    reason = checkCoordinate(Axis::latitude, point.lat);
    return reason.empty() || refuse(read, lat, reason);
}

bool readPositions(GeoJsonRead& read, std::size_t value, std::vector<SourcePoint>& points) {
    if (!isArray(read, value, "expected an array of positions")) {
        return false;
    }
    points.reserve(points.size() + itemCount(read.tree, value));
    for (std::size_t item = firstItem(read.tree, value); item != kNoJsonValue;
         item = nextItem(read.tree, value, item)) {
        SourcePoint point;
        if (!readPosition(read, item, point)) {
            return false;
        }
        points.push_back(point);
    }
    return true;
}

bool readPolygon(GeoJsonRead& read, std::size_t value, SourceFeature& area) {
    if (!isArray(read, value, "a Polygon is an array of rings")) {
        return false;
    }
    for (std::size_t ring = firstItem(read.tree, value); ring != kNoJsonValue;
         ring = nextItem(read.tree, value, ring)) {
        std::vector<SourcePoint> points;
        if (!readPositions(read, ring, points)) {
            return false;
        }
        const std::string reason = openClosedRing(points);
        if (!reason.empty()) {
            return refuse(read, ring, reason);
        }
        area.rings.push_back(std::move(points));
    }
    return true;
}

SourceFeature partOf(const GeoJsonRead& read, std::size_t geometry, FeatureShape shape,
                     std::string kind) {
    SourceFeature feature;
    feature.shape = shape;
    feature.kind = std::move(kind);
    feature.line = read.tree.values[geometry].line;
    return feature;
}

// One geometry: lines, MultiPoints and polygons become parts, points join the point run.
bool readGeometry(GeoJsonRead& read, std::size_t geometry, int depth,
                  std::vector<SourceFeature>& parts) {
    std::string type;
    if (kindOf(read, geometry) != JsonKind::object) {
        return refuse(read, geometry, "a geometry is an object");
    }
    if (!typeOf(read, geometry, type) || !checkCrs(read, geometry)) {
        return false;
    }
    if (type == "GeometryCollection") {
        return readCollection(read, geometry, depth, [&](std::size_t item, int itemDepth) {
            return readGeometry(read, item, itemDepth, parts);
        });
    }
    std::size_t coordinates = kNoJsonValue;
    if (!member(read, geometry, "coordinates", coordinates)) {
        return false;
    }
    if (type != "Point" && type != "MultiPoint" && type != "LineString" &&
        type != "MultiLineString" && type != "Polygon" && type != "MultiPolygon") {
        return refuse(read, geometry, "unknown geometry type \"" + type + "\"");
    }
    if (coordinates == kNoJsonValue) {
        return refuse(read, geometry, "a " + type + " needs \"coordinates\"");
    }
    if (type == "Point") {
        SourcePoint point;
        if (!readPosition(read, coordinates, point)) {
            return false;
        }
        addPoint(read.candidates, point);
        return true;
    }
    if (type == "MultiPoint" || type == "LineString") {
        SourceFeature route = partOf(read, geometry, FeatureShape::route, "GeoJSON " + type);
        if (!readPositions(read, coordinates, route.points)) {
            return false;
        }
        if (!route.points.empty()) {
            parts.push_back(std::move(route));
        }
        return true;
    }
    if (type == "Polygon") {
        SourceFeature area = partOf(read, geometry, FeatureShape::area, "GeoJSON Polygon");
        if (!readPolygon(read, coordinates, area)) {
            return false;
        }
        if (!area.rings.empty()) {
            parts.push_back(std::move(area));
        }
        return true;
    }
    // The lines of a MultiLineString are separate lines: joining them would add a leg
    // nobody drew between the end of one and the start of the next, so each is a
    // candidate of its own, and so is each polygon of a MultiPolygon.
    const bool lines = type == "MultiLineString";
    if (!isArray(read, coordinates,
                 "expected an array of " + std::string(lines ? "lines" : "polygons"))) {
        return false;
    }
    for (std::size_t item = firstItem(read.tree, coordinates); item != kNoJsonValue;
         item = nextItem(read.tree, coordinates, item)) {
        SourceFeature part =
            partOf(read, item, lines ? FeatureShape::route : FeatureShape::area, "GeoJSON " + type);
        if (!(lines ? readPositions(read, item, part.points) : readPolygon(read, item, part))) {
            return false;
        }
        if (!part.points.empty() || !part.rings.empty()) {
            parts.push_back(std::move(part));
        }
    }
    return true;
}

bool readFeature(GeoJsonRead& read, std::size_t feature) {
    std::string type;
    if (kindOf(read, feature) != JsonKind::object) {
        return refuse(read, feature, "a feature is an object");
    }
    if (!typeOf(read, feature, type) || !checkCrs(read, feature)) {
        return false;
    }
    if (type != "Feature") {
        return refuse(read, feature, "expected a Feature, not \"" + type + "\"");
    }
    std::size_t geometry = kNoJsonValue;
    if (!member(read, feature, "geometry", geometry)) {
        return false;
    }
    // A feature without a place (geometry null) holds nothing to plan.
    if (geometry == kNoJsonValue || kindOf(read, geometry) == JsonKind::null) {
        return true;
    }
    std::vector<SourceFeature> parts;
    if (!readGeometry(read, geometry, 0, parts)) {
        return false;
    }
    for (SourceFeature& part : parts) {
        part.line = read.tree.values[feature].line;
    }
    addParts(read.candidates, propertiesName(read.tree, read.bytes, feature), parts);
    return true;
}

bool readDocument(GeoJsonRead& read) {
    constexpr std::size_t kDocument = 0;
    std::string type;
    if (kindOf(read, kDocument) != JsonKind::object) {
        return refuse(read, kDocument, "a GeoJSON document is an object");
    }
    if (!typeOf(read, kDocument, type) || !checkCrs(read, kDocument)) {
        return false;
    }
    if (type == "FeatureCollection") {
        std::size_t features = kNoJsonValue;
        if (!member(read, kDocument, "features", features)) {
            return false;
        }
        if (features == kNoJsonValue) {
            return refuse(read, kDocument, "a FeatureCollection needs a \"features\" array");
        }
        if (!isArray(read, features, "a FeatureCollection needs a \"features\" array")) {
            return false;
        }
        for (std::size_t item = firstItem(read.tree, features); item != kNoJsonValue;
             item = nextItem(read.tree, features, item)) {
            if (!readFeature(read, item)) {
                return false;
            }
        }
        return true;
    }
    if (type == "Feature") {
        return readFeature(read, kDocument);
    }
    if (type == "Topology") {
        return refuse(read, kDocument, "a TopoJSON file, for the TopoJSON reader");
    }
    std::vector<SourceFeature> parts;
    if (!readGeometry(read, kDocument, 0, parts)) {
        return false;
    }
    addParts(read.candidates, "", parts);
    return true;
}

// Follows the parser's events only as far as the top-level "type" member.
struct TopLevelType {
    using json = nlohmann::json;
    int depth = 0;
    bool typeNext = false;
    std::string type;

    bool value() { return !typeNext; }
    bool null() { return value(); }
    bool boolean(bool) { return value(); }
    bool number_integer(json::number_integer_t) { return value(); }
    bool number_unsigned(json::number_unsigned_t) { return value(); }
    bool number_float(json::number_float_t, const json::string_t&) { return value(); }
    bool binary(json::binary_t&) { return value(); }
    bool string(json::string_t& text) {
        if (typeNext) {
            type = text;
        }
        return value();
    }
    bool start_object(std::size_t) { return ++depth, value(); }
    bool start_array(std::size_t) { return ++depth, value() && depth > 1; }
    bool end_object() { return --depth, true; }
    bool end_array() { return --depth, true; }
    bool key(json::string_t& name) {
        typeNext = depth == 1 && name == "type";
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
        return false;
    }
};

} // namespace

bool isTopoJson(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    TopLevelType top;
    nlohmann::json::sax_parse(bytes.begin(), bytes.end(), &top);
    return top.type == "Topology";
}

DocumentResult readGeoJson(std::string_view bytes, const std::string& fileName) {
    DocumentResult result;
    result.document.format = std::string(kFormat);
    // A byte-order mark is not JSON, but editors on Windows leave one.
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    JsonTree tree;
    const JsonParse parse = parseJsonTree(bytes, tree, kGeoJsonInterest);
    if (!parse.ok) {
        result.ok = false;
        result.error = documentRefusal(kFormat, fileName, parse.line, parse.text, parse.reason);
        return result;
    }
    GeoJsonRead read{{tree, bytes, kFormat, fileName, ""}, {}};
    if (readDocument(read)) {
        result.document.features = finishCandidates(read.candidates, "GeoJSON points");
        return result;
    }
    result.ok = false;
    result.error = std::move(read.error);
    return result;
}
