// Reads GPX 1.0 and 1.1 as chart plotters, OpenCPN and GPS receivers write it: the routes,
// else the tracks, else the waypoints.
#include "input/document_readers.h"
#include "input/document_text.h"
#include "input/xml_document_xml.h"

#include <string>
#include <vector>

namespace {

constexpr std::string_view kFormat = "GPX";

struct GpxRead {
    const XmlDocument& xml;
    const std::string& fileName;
    std::string error; // the first refusal; reading stops there
};

// One coordinate attribute of a point; GPX writes both as attributes, never as elements.
bool readAttribute(GpxRead& read, pugi::xml_node point, const char* name, Axis axis,
                   double& value) {
    const std::uint64_t line = lineOf(read.xml, point);
    const pugi::xml_attribute attribute = point.attribute(name);
    if (!attribute) {
        read.error = documentRefusal(kFormat, read.fileName, line,
                                     trimmedText(lineText(read.xml.bytes, read.xml.lines, line)),
                                     std::string(point.name()) + " without " + name);
        return false;
    }
    const std::string_view text = attribute.value();
    const std::string reason = readCoordinate(trimmedText(text), axis, value);
    if (!reason.empty()) {
        read.error = documentRefusal(kFormat, read.fileName, line, text, reason);
        return false;
    }
    return true;
}

// Appends every child point of that name (rtept, trkpt, wpt) in file order.
bool readPoints(GpxRead& read, pugi::xml_node parent, std::string_view name,
                std::vector<SourcePoint>& points) {
    for (pugi::xml_node point = parent.first_child(); point; point = point.next_sibling()) {
        if (point.type() != pugi::node_element || localName(point) != name) {
            continue;
        }
        SourcePoint position;
        position.line = lineOf(read.xml, point);
        if (!readAttribute(read, point, "lat", Axis::latitude, position.lat) ||
            !readAttribute(read, point, "lon", Axis::longitude, position.lon)) {
            return false;
        }
        points.push_back(position);
    }
    return true;
}

SourceFeature routeFeature(const GpxRead& read, pugi::xml_node element, std::string kind) {
    SourceFeature feature;
    feature.name = childText(element, "name");
    feature.kind = std::move(kind);
    feature.line = lineOf(read.xml, element);
    return feature;
}

// Each rte with points is a candidate.
bool readRoutes(GpxRead& read, pugi::xml_node gpx, std::vector<SourceFeature>& features) {
    for (pugi::xml_node rte = gpx.first_child(); rte; rte = rte.next_sibling()) {
        if (rte.type() != pugi::node_element || localName(rte) != "rte") {
            continue;
        }
        SourceFeature feature = routeFeature(read, rte, "GPX route");
        if (!readPoints(read, rte, "rtept", feature.points)) {
            return false;
        }
        if (!feature.points.empty()) {
            features.push_back(std::move(feature));
        }
    }
    return true;
}

// Each trk with points is a candidate; a receiver starts a new segment where it lost its
// fix, but the vehicle is to run the whole track, so the segments are joined in order.
bool readTracks(GpxRead& read, pugi::xml_node gpx, std::vector<SourceFeature>& features) {
    for (pugi::xml_node trk = gpx.first_child(); trk; trk = trk.next_sibling()) {
        if (trk.type() != pugi::node_element || localName(trk) != "trk") {
            continue;
        }
        SourceFeature feature = routeFeature(read, trk, "GPX track");
        for (pugi::xml_node segment = trk.first_child(); segment;
             segment = segment.next_sibling()) {
            if (segment.type() == pugi::node_element && localName(segment) == "trkseg" &&
                !readPoints(read, segment, "trkpt", feature.points)) {
                return false;
            }
        }
        if (!feature.points.empty()) {
            features.push_back(std::move(feature));
        }
    }
    return true;
}

} // namespace

DocumentResult readGpx(std::string_view bytes, const std::string& fileName) {
    DocumentResult result;
    XmlDocument xml;
    if (!loadXmlDocument(bytes, kFormat, "gpx", fileName, xml, result)) {
        return result;
    }
    const pugi::xml_node gpx = xml.document.document_element();
    GpxRead read{xml, fileName, ""};
    if (readRoutes(read, gpx, result.document.features) && result.document.features.empty() &&
        readTracks(read, gpx, result.document.features) && result.document.features.empty()) {
        // A file of marks only: the planner's positions in the order they were saved.
        SourceFeature waypoints = routeFeature(read, gpx, "GPX waypoints");
        waypoints.name.clear();
        if (readPoints(read, gpx, "wpt", waypoints.points) && !waypoints.points.empty()) {
            waypoints.line = waypoints.points.front().line;
            result.document.features.push_back(std::move(waypoints));
        }
    }
    if (!read.error.empty()) {
        result.ok = false;
        result.error = std::move(read.error);
        result.document.features.clear();
    }
    return result;
}
