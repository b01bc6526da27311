// Reads TopoJSON as Natural Earth's npm packages and mapshaper write it: each geometry of
// each object its arcs joined, lines as routes, polygons as areas, points as one run.
#include "input/document_readers.h"
#include "input/document_text.h"
#include "input/feature_candidates.h"
#include "input/json_document_read.h"
#include "input/json_feature_name.h"
#include "input/json_tree.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kFormat = "TopoJSON";

// What the reader keeps: the members below, the arcs and positions down to their numbers,
// and a geometry's name among its properties. Attributes and foreign members are parsed
// but not kept, so a world's land takes a tree of 12 bytes a value, not a DOM.
enum TopoRole : JsonRole {
    kTopoObject = kJsonLeaf + 1, // the topology, a geometry or the transform
    kTopoObjects,                // the named objects: each a geometry
    kTopoList,                   // a collection's geometries
    kTopoProperties,             // only the name is read
    kTopoNumbers,                // an array of numbers: a position, a scale, a translate
    kTopoArcs,                   // the arcs, then an arc, then its positions
    kTopoArc,
    kTopoReferences, // a geometry's arc indexes, nested up to three deep, or its coordinates
    kTopoDeepest = kTopoReferences + 3,
};

bool isName(std::string_view name) {
    return name.size() == 4 && (name[0] | 0x20) == 'n' && (name[1] | 0x20) == 'a' &&
           (name[2] | 0x20) == 'm' && (name[3] | 0x20) == 'e';
}

JsonRole topoRole(JsonRole container, JsonKind kind, std::string_view name) {
    if (kind == JsonKind::object) {
        switch (container) {
        case kTopoProperties:
            return isName(name) ? kJsonLeaf : kJsonSkip;
        case kTopoObjects:
            return kTopoObject;
        case kTopoObject:
            if (name == "type") {
                return kJsonLeaf;
            }
            if (name == "objects") {
                return kTopoObjects;
            }
            if (name == "transform") {
                return kTopoObject;
            }
            if (name == "scale" || name == "translate") {
                return kTopoNumbers;
            }
            if (name == "arcs") {
                // The topology's arcs or a geometry's references to them: both kept, told
                // apart by where they stand once the tree is built.
                return kTopoArcs;
            }
            if (name == "coordinates") {
                return kTopoReferences;
            }
            if (name == "geometries") {
                return kTopoList;
            }
            return name == "properties" ? JsonRole{kTopoProperties} : kJsonSkip;
        default:
            return kJsonSkip;
        }
    }
    switch (container) {
    case kTopoList:
        return kTopoObject;
    case kTopoNumbers:
        return kJsonLeaf;
    case kTopoArcs:
        return kTopoArc;
    case kTopoArc:
        return kTopoReferences;
    default:
        break;
    }
    if (container >= kTopoReferences && container < kTopoDeepest) {
        return static_cast<JsonRole>(container + 1);
    }
    return container == kTopoDeepest ? kJsonLeaf : kJsonSkip;
}

constexpr JsonInterest kTopoInterest{kTopoObject, topoRole};

struct Transform {
    double scaleX = 1.0, scaleY = 1.0, translateX = 0.0, translateY = 0.0;
};

struct TopoRead : JsonDocumentRead {
    std::optional<Transform> transform;
    std::vector<std::vector<SourcePoint>> arcs; // in degrees, delta-decoding undone
    std::size_t arcPositions = 0;               // in all the arcs
    std::size_t joinedPositions = 0;            // in the lines and rings joined so far
    FeatureCandidates candidates;
};

// The numbers of an array of at least two: x and y, and any more, which must be numbers too.
bool readPair(TopoRead& read, std::size_t value, std::string_view what, double& x, double& y) {
    if (kindOf(read, value) != JsonKind::array || itemCount(read.tree, value) < 2) {
        return refuse(read, value, what);
    }
    for (std::size_t item = firstItem(read.tree, value); item != kNoJsonValue;
         item = nextItem(read.tree, value, item)) {
        if (kindOf(read, item) != JsonKind::number) {
            return refuse(read, item, "expected a number");
        }
    }
    const std::size_t first = firstItem(read.tree, value);
    x = jsonNumber(read.tree, read.bytes, first);
    y = jsonNumber(read.tree, read.bytes, nextItem(read.tree, value, first));
    return true;
}

bool readTransform(TopoRead& read, std::size_t topology) {
    std::size_t transform = kNoJsonValue;
    if (!member(read, topology, "transform", transform)) {
        return false;
    }
    if (transform == kNoJsonValue) {
        return true;
    }
    if (kindOf(read, transform) != JsonKind::object) {
        return refuse(read, transform, "a transform is an object");
    }
    std::size_t scale = kNoJsonValue;
    std::size_t translate = kNoJsonValue;
    if (!member(read, transform, "scale", scale) ||
        !member(read, transform, "translate", translate)) {
        return false;
    }
    if (scale == kNoJsonValue || translate == kNoJsonValue) {
        return refuse(read, transform, "a transform needs \"scale\" and \"translate\"");
    }
    Transform t;
    if (!readPair(read, scale, "a scale is an array [x, y]", t.scaleX, t.scaleY) ||
        !readPair(read, translate, "a translate is an array [x, y]", t.translateX, t.translateY)) {
        return false;
    }
    read.transform = t;
    return true;
}

// A position in degrees, checked for its range once the transform is applied.
bool place(TopoRead& read, std::size_t value, double x, double y, SourcePoint& point) {
    if (read.transform) {
        x = x * read.transform->scaleX + read.transform->translateX;
        y = y * read.transform->scaleY + read.transform->translateY;
    }
    point.lon = x;
    point.lat = y;
    point.line = read.tree.values[value].line;
    std::string reason = checkCoordinate(Axis::longitude, x);
    if (reason.empty()) {
        reason = checkCoordinate(Axis::latitude, y);
    }
    return reason.empty() || refuse(read, value, reason);
}

// Every arc, its positions in degrees. Quantized arcs give each position as the step from
// the one before.
bool readArcs(TopoRead& read, std::size_t topology) {
    std::size_t arcs = kNoJsonValue;
    if (!member(read, topology, "arcs", arcs)) {
        return false;
    }
    if (arcs == kNoJsonValue) {
        return refuse(read, topology, "a Topology needs \"arcs\"");
    }
    if (!isArray(read, arcs, "the arcs are an array of arcs")) {
        return false;
    }
    read.arcs.reserve(itemCount(read.tree, arcs));
    for (std::size_t arc = firstItem(read.tree, arcs); arc != kNoJsonValue;
         arc = nextItem(read.tree, arcs, arc)) {
        if (!isArray(read, arc, "an arc is an array of positions")) {
            return false;
        }
        std::vector<SourcePoint> points;
        points.reserve(itemCount(read.tree, arc));
        double x = 0.0;
        double y = 0.0;
        for (std::size_t position = firstItem(read.tree, arc); position != kNoJsonValue;
             position = nextItem(read.tree, arc, position)) {
            double dx = 0.0;
            double dy = 0.0;
            if (!readPair(read, position, "a position is an array [x, y]", dx, dy)) {
                return false;
            }
            x = read.transform ? x + dx : dx;
            y = read.transform ? y + dy : dy;
            SourcePoint point;
            if (!place(read, position, x, y, point)) {
                return false;
            }
            points.push_back(point);
        }
        read.arcPositions += points.size();
        read.arcs.push_back(std::move(points));
    }
    return true;
}

// Neighbouring countries share their border's arc, and a file of counties, states and the
// nation names one arc up to five times; a file that names its arcs over and over would
// otherwise make a few bytes into millions of positions.
constexpr std::size_t kMostUsesOfAnArc = 8;
constexpr std::size_t kPositionsAlwaysJoined = std::size_t{1} << 20;

// The arcs a line or ring names, joined: a negative index ~i is arc i run backwards, and
// each arc after the first begins where the one before ended, so its first position is
// left out.
bool joinArcs(TopoRead& read, std::size_t references, std::vector<SourcePoint>& points) {
    if (!isArray(read, references, "expected an array of arc indexes")) {
        return false;
    }
    const auto count = static_cast<double>(read.arcs.size());
    for (std::size_t item = firstItem(read.tree, references); item != kNoJsonValue;
         item = nextItem(read.tree, references, item)) {
        const double index =
            kindOf(read, item) == JsonKind::number ? jsonNumber(read.tree, read.bytes, item) : NAN;
        if (!(index == std::floor(index) && index >= -count && index < count)) {
            return refuse(read, item,
                          "an arc index is a whole number below the count of arcs (" +
                              std::to_string(read.arcs.size()) + "), or ~i for arc i reversed");
        }
        const bool reversed = index < 0.0;
        const std::vector<SourcePoint>& arc =
            read.arcs[static_cast<std::size_t>(reversed ? -index - 1.0 : index)];
        const std::size_t skip = points.empty() ? 0 : 1;
        read.joinedPositions += arc.size();
        if (read.joinedPositions > kMostUsesOfAnArc * read.arcPositions + kPositionsAlwaysJoined) {
            return refuse(read, item,
                          "the geometries name the arcs over and over: more than " +
                              std::to_string(kMostUsesOfAnArc) +
                              " times the positions the arcs hold");
        }
        for (std::size_t k = skip; k < arc.size(); ++k) {
            points.push_back(reversed ? arc[arc.size() - 1 - k] : arc[k]);
        }
    }
    return true;
}

bool readRings(TopoRead& read, std::size_t rings, SourceFeature& area) {
    if (!isArray(read, rings, "a Polygon is an array of rings")) {
        return false;
    }
    for (std::size_t ring = firstItem(read.tree, rings); ring != kNoJsonValue;
         ring = nextItem(read.tree, rings, ring)) {
        std::vector<SourcePoint> points;
        if (!joinArcs(read, ring, points)) {
            return false;
        }
        // Quantizing folds a rock smaller than a step into a ring there and back (Natural
        // Earth's land has a dozen): it encloses nothing and is left out, and so is a polygon
        // whose outer ring it is, holes and all, as GDAL leaves them out.
        if (points.size() < 4 && points.size() >= 2 && points.front().lat == points.back().lat &&
            points.front().lon == points.back().lon) {
            if (area.rings.empty()) {
                return true;
            }
            continue;
        }
        const std::string reason = openClosedRing(points);
        if (!reason.empty()) {
            return refuse(read, ring, reason);
        }
        area.rings.push_back(std::move(points));
    }
    return true;
}

SourceFeature partOf(const TopoRead& read, std::size_t at, FeatureShape shape,
                     std::string_view what) {
    SourceFeature feature;
    feature.shape = shape;
    feature.kind = std::string(kFormat) + " " + std::string(what);
    feature.line = read.tree.values[at].line;
    return feature;
}

bool readPoints(TopoRead& read, std::size_t geometry, const std::string& type,
                std::vector<SourceFeature>& parts) {
    std::size_t coordinates = kNoJsonValue;
    if (!member(read, geometry, "coordinates", coordinates)) {
        return false;
    }
    if (coordinates == kNoJsonValue) {
        return refuse(read, geometry, "a " + type + " needs \"coordinates\"");
    }
    SourceFeature run = partOf(read, geometry, FeatureShape::route, "points");
    const bool single = type == "Point";
    if (!single && !isArray(read, coordinates, "expected an array of positions")) {
        return false;
    }
    for (std::size_t item = single ? coordinates : firstItem(read.tree, coordinates);
         item != kNoJsonValue;
         item = single ? kNoJsonValue : nextItem(read.tree, coordinates, item)) {
        double x = 0.0;
        double y = 0.0;
        SourcePoint point;
        if (!readPair(read, item, "a position is an array [x, y]", x, y) ||
            !place(read, item, x, y, point)) {
            return false;
        }
        if (single) {
            addPoint(read.candidates, point);
        } else {
            run.points.push_back(point);
        }
    }
    if (!run.points.empty()) {
        parts.push_back(std::move(run));
    }
    return true;
}

bool readGeometry(TopoRead& read, std::size_t geometry, int depth,
                  std::vector<SourceFeature>& parts) {
    if (kindOf(read, geometry) != JsonKind::object) {
        return refuse(read, geometry, "a geometry is an object");
    }
    std::size_t typeValue = kNoJsonValue;
    if (!member(read, geometry, "type", typeValue)) {
        return false;
    }
    // A geometry of type null has no place: nothing to plan.
    if (typeValue != kNoJsonValue && kindOf(read, typeValue) == JsonKind::null) {
        return true;
    }
    if (typeValue == kNoJsonValue || kindOf(read, typeValue) != JsonKind::string) {
        return refuse(read, typeValue == kNoJsonValue ? geometry : typeValue,
                      "a TopoJSON geometry needs a \"type\" string");
    }
    const std::string type(jsonString(read.tree, read.tree.values[typeValue].data));
    if (type == "GeometryCollection") {
        // The geometries of a collection are each a part of the one feature.
        return readCollection(read, geometry, depth, [&](std::size_t item, int itemDepth) {
            return readGeometry(read, item, itemDepth, parts);
        });
    }
    if (type == "Point" || type == "MultiPoint") {
        return readPoints(read, geometry, type, parts);
    }
    if (type != "LineString" && type != "MultiLineString" && type != "Polygon" &&
        type != "MultiPolygon") {
        return refuse(read, typeValue, "unknown geometry type \"" + type + "\"");
    }
    std::size_t arcs = kNoJsonValue;
    if (!member(read, geometry, "arcs", arcs)) {
        return false;
    }
    if (arcs == kNoJsonValue) {
        return refuse(read, geometry, "a " + type + " needs \"arcs\"");
    }
    if (type == "LineString" || type == "Polygon") {
        const bool line = type == "LineString";
        SourceFeature part = partOf(read, geometry, line ? FeatureShape::route : FeatureShape::area,
                                    line ? "line" : "polygon");
        if (!(line ? joinArcs(read, arcs, part.points) : readRings(read, arcs, part))) {
            return false;
        }
        if (!part.points.empty() || !part.rings.empty()) {
            parts.push_back(std::move(part));
        }
        return true;
    }
    // Each line of a MultiLineString and each polygon of a MultiPolygon is a candidate of
    // its own: joining lines would add a leg nobody drew.
    const bool lines = type == "MultiLineString";
    if (!isArray(read, arcs,
                 lines ? "expected an array of lines" : "expected an array of polygons")) {
        return false;
    }
    for (std::size_t item = firstItem(read.tree, arcs); item != kNoJsonValue;
         item = nextItem(read.tree, arcs, item)) {
        SourceFeature part = partOf(read, item, lines ? FeatureShape::route : FeatureShape::area,
                                    lines ? "line" : "polygon");
        if (!(lines ? joinArcs(read, item, part.points) : readRings(read, item, part))) {
            return false;
        }
        if (!part.points.empty() || !part.rings.empty()) {
            parts.push_back(std::move(part));
        }
    }
    return true;
}

// A feature: a geometry standing in an object, or in the collection an object is.
bool readFeature(TopoRead& read, std::size_t geometry) {
    std::vector<SourceFeature> parts;
    if (!readGeometry(read, geometry, 0, parts)) {
        return false;
    }
    addParts(read.candidates, propertiesName(read.tree, read.bytes, geometry), parts);
    return true;
}

bool readObject(TopoRead& read, std::size_t object) {
    if (kindOf(read, object) != JsonKind::object) {
        return refuse(read, object, "an object of a Topology is a geometry");
    }
    const JsonMember type = findMember(read.tree, object, "type");
    const bool collection =
        type.value != kNoJsonValue && !type.repeated &&
        kindOf(read, type.value) == JsonKind::string &&
        jsonString(read.tree, read.tree.values[type.value].data) == "GeometryCollection";
    if (!collection) {
        return readFeature(read, object);
    }
    return readCollection(read, object, 0,
                          [&](std::size_t item, int) { return readFeature(read, item); });
}

bool readTopology(TopoRead& read) {
    constexpr std::size_t kTopology = 0;
    if (kindOf(read, kTopology) != JsonKind::object) {
        return refuse(read, kTopology, "a TopoJSON document is an object");
    }
    std::size_t type = kNoJsonValue;
    if (!member(read, kTopology, "type", type)) {
        return false;
    }
    if (type == kNoJsonValue || kindOf(read, type) != JsonKind::string ||
        jsonString(read.tree, read.tree.values[type].data) != "Topology") {
        return refuse(read, type == kNoJsonValue ? kTopology : type,
                      "a TopoJSON document is of type \"Topology\"");
    }
    std::size_t objects = kNoJsonValue;
    if (!readTransform(read, kTopology) || !readArcs(read, kTopology) ||
        !member(read, kTopology, "objects", objects)) {
        return false;
    }
    if (objects == kNoJsonValue || kindOf(read, objects) != JsonKind::object) {
        return refuse(read, objects == kNoJsonValue ? kTopology : objects,
                      "a Topology needs an \"objects\" object");
    }
    for (std::size_t item = firstItem(read.tree, objects); item != kNoJsonValue;
         item = nextItem(read.tree, objects, item)) {
        if (!readObject(read, item)) {
            return false;
        }
    }
    return true;
}

} // namespace

DocumentResult readTopoJson(std::string_view bytes, const std::string& fileName) {
    DocumentResult result;
    result.document.format = std::string(kFormat);
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    JsonTree tree;
    const JsonParse parse = parseJsonTree(bytes, tree, kTopoInterest);
    if (!parse.ok) {
        result.ok = false;
        result.error = documentRefusal(kFormat, fileName, parse.line, parse.text, parse.reason);
        return result;
    }
    TopoRead read{{tree, bytes, kFormat, fileName, ""}, std::nullopt, {}, 0, 0, {}};
    if (readTopology(read)) {
        result.document.features =
            finishCandidates(read.candidates, std::string(kFormat) + " points");
        return result;
    }
    result.ok = false;
    result.error = std::move(read.error);
    return result;
}
