// GeoJSON export of the planned route: one LineString and one Point per node.
#include "output/geojson_writer.h"

#include "output/export_common.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

// Longitudes within -180..180, as RFC 7946 asks.
void appendPosition(std::string& text, double lat, double lon) {
    text += '[';
    appendJsonNumber(text, normalLongitude(lon));
    text += ',';
    appendJsonNumber(text, lat);
    text += ']';
}

void appendPosition(std::string& text, const WaypointNode& node) {
    appendPosition(text, node.lat, node.lon);
}

// The other side of the antimeridian lies more than half a turn away in the longitudes
// as written.
bool crossesAntimeridian(const WaypointNode& from, const WaypointNode& to) {
    return std::fabs(normalLongitude(to.lon) - normalLongitude(from.lon)) > 180.0;
}

// The line through the nodes from first to last, both included. One that crosses the
// antimeridian is cut there into the parts of a MultiLineString (RFC 7946, 3.1.9), each
// ending at 180 or -180 at the latitude where the straight line between the two waypoints,
// taken the short way round, meets it.
void appendPathGeometry(std::ostream& out, std::string& text, const WaypointNode* first,
                        const WaypointNode* last) {
    bool cut = false;
    for (const WaypointNode* node = first; node != last; node = node->next) {
        cut = cut || crossesAntimeridian(*node, *node->next);
    }
    text += cut ? "\"geometry\":{\"type\":\"MultiLineString\",\"coordinates\":[["
                : "\"geometry\":{\"type\":\"LineString\",\"coordinates\":[";
    for (const WaypointNode* node = first;; node = node->next) {
        if (node != first) {
            text += ',';
            if (crossesAntimeridian(*node->prev, *node)) {
                const double from = normalLongitude(node->prev->lon);
                const double side = from > 0.0 ? 180.0 : -180.0;
                const double to = normalLongitude(node->lon) + 2.0 * side;
                const double share = (side - from) / (to - from);
                const double lat = node->prev->lat + share * (node->lat - node->prev->lat);
                appendPosition(text, lat, side);
                text += "],[";
                appendPosition(text, lat, -side);
                text += ',';
            }
        }
        appendPosition(text, *node);
        writeChunkIfFull(out, text);
        if (node == last) {
            break;
        }
    }
    text += cut ? "]]}}" : "]}}";
}

const char* pieceKindLabel(PieceKind kind) {
    switch (kind) {
    case PieceKind::tie:
        return "tie";
    case PieceKind::transit:
        return "transit";
    case PieceKind::line:
        break;
    }
    return "line";
}

// One LineString per line and transit of a survey, through the route points that run it:
// the waypoints of the survey are the route's waypoints from the file, in order.
void appendPieces(std::ostream& out, std::string& text, const WaypointList& route,
                  const std::vector<SurveyPiece>& pieces) {
    std::vector<const WaypointNode*> fromFile;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        if (node->kind == WaypointKind::fromFile) {
            fromFile.push_back(node);
        }
    }
    for (const SurveyPiece& piece : pieces) {
        if (piece.last >= fromFile.size() || piece.first >= piece.last) {
            continue; // a survey of other waypoints than this route's: nothing to draw
        }
        text += ",\n{\"type\":\"Feature\",\"properties\":{\"line\":";
        appendInt(text, static_cast<std::int64_t>(piece.number));
        text += ",\"kind\":\"";
        text += pieceKindLabel(piece.kind);
        text += "\",\"cell\":";
        if (piece.cell > 0) {
            appendInt(text, static_cast<std::int64_t>(piece.cell));
        } else {
            text += "null";
        }
        text += ",\"heading\":";
        appendJsonNumber(text, piece.heading);
        text += ",\"length_m\":";
        appendJsonNumber(text, piece.length);
        text += "},";
        appendPathGeometry(out, text, fromFile[piece.first], fromFile[piece.last]);
        writeChunkIfFull(out, text);
    }
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

// Every finding on the leg, as the report words it: a console gives them merged, the
// export keeps them all.
void appendFindings(std::string& text, const std::vector<PlanFinding>& findings, std::size_t leg,
                    bool hasLeg) {
    text += ",\"legFindings\":[";
    bool first = true;
    for (const PlanFinding& finding : findings) {
        if (hasLeg && finding.place && finding.place->leg == leg) {
            text += first ? "" : ",";
            text += nlohmann::json(findingText(finding))
                        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
            first = false;
        }
    }
    text += ']';
}

} // namespace

void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals) {
    writeGeoJson(out, route, totals, nullptr);
}

void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals,
                  const SeaSurvey* sea) {
    writeGeoJson(out, route, totals, sea, nullptr);
}

void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals,
                  const SeaSurvey* sea, const std::vector<PlanFinding>* findings,
                  const std::vector<SurveyPiece>* pieces) {
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
        text += "},";
        appendPathGeometry(out, text, route.head, route.tail);
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
        if (sea != nullptr && findings != nullptr) {
            appendFindings(text, *findings, leg, node->next != nullptr);
        }
        text += "},\"geometry\":{\"type\":\"Point\",\"coordinates\":";
        appendPosition(text, *node);
        text += "}}";
        writeChunkIfFull(out, text);
    }
    if (pieces != nullptr && !first) {
        appendPieces(out, text, route, *pieces);
    }
    text += "\n]}\n";
    writeRest(out, text);
}
