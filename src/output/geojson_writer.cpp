// GeoJSON export of the planned route: one LineString and one Point per node.
#include "output/geojson_writer.h"

#include "output/export_common.h"
#include "output/writer_common.h"

#include <string>

namespace {

// Longitudes are written as planned, not wrapped: GeoJSON takes any value, and a route
// near the antimeridian then stays one unbroken line in web maps.
void appendPosition(std::string& text, const WaypointNode& node) {
    text += '[';
    appendJsonNumber(text, node.lon);
    text += ',';
    appendJsonNumber(text, node.lat);
    text += ']';
}

void appendTotals(std::string& text, const RouteTotals& totals) {
    text += "\"surveyLineDistance\":";
    appendJsonNumber(text, totals.surveyLineDistance);
    text += ",\"expectedMissionTime\":";
    appendJsonNumber(text, totals.expectedMissionTime);
}

} // namespace

void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals) {
    std::string text;
    startChunks(text);
    text += "{\"type\":\"FeatureCollection\",\n\"totals\":{";
    appendTotals(text, totals);
    text += "},\n\"features\":[";
    bool first = true;
    // A LineString needs two positions; a route always has them, launch leg included.
    if (route.head != nullptr && route.head->next != nullptr) {
        text += "\n{\"type\":\"Feature\",\"properties\":{\"kind\":\"route\",";
        appendTotals(text, totals);
        text += "},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[";
        for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
            if (node != route.head) {
                text += ',';
            }
            appendPosition(text, *node);
            writeChunkIfFull(out, text);
        }
        text += "]}}";
        first = false;
    }
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        text += first ? "\n" : ",\n";
        first = false;
        text += "{\"type\":\"Feature\",\"properties\":{\"number\":";
        appendInt(text, node->wptNumber);
        text += ",\"kind\":\"";
        text += kindLabel(node->kind);
        text += "\",\"legDistance\":";
        appendJsonNumber(text, node->legDistance);
        text += ",\"legHeading\":";
        appendJsonNumber(text, node->legHeading);
        text += ",\"legTime\":";
        appendJsonNumber(text, node->legTime);
        text += "},\"geometry\":{\"type\":\"Point\",\"coordinates\":";
        appendPosition(text, *node);
        text += "}}";
        writeChunkIfFull(out, text);
    }
    text += "\n]}\n";
    writeRest(out, text);
}
