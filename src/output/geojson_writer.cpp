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

// Where there is no leg to measure, both figures are null.
void appendSeabed(std::string& text, const SeaSurvey& sea, std::size_t leg, bool hasLeg) {
    const bool measured = hasLeg && leg < sea.seabed.size() && !sea.seabed[leg].samples.empty();
    const SeabedSummary summary = measured ? summarizeSeabed(sea.seabed[leg]) : SeabedSummary{};
    text += ",\"legShallowestDepth\":";
    if (measured && summary.anyKnown) {
        appendJsonNumber(text, summary.shallowest);
    } else {
        text += "null";
    }
    text += ",\"legUnknownDepthLength\":";
    if (measured) {
        appendJsonNumber(text, summary.unknownLength);
    } else {
        text += "null";
    }
}

} // namespace

void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals) {
    writeGeoJson(out, route, totals, nullptr);
}

void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals,
                  const SeaSurvey* sea) {
    const bool depths = sea != nullptr && !sea->gridFile.empty();
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
    std::size_t leg = 0;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next, ++leg) {
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
        if (depths) {
            appendSeabed(text, *sea, leg, node->next != nullptr);
        }
        text += "},\"geometry\":{\"type\":\"Point\",\"coordinates\":";
        appendPosition(text, *node);
        text += "}}";
        writeChunkIfFull(out, text);
    }
    text += "\n]}\n";
    writeRest(out, text);
}
