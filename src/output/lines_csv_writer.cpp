// The table of a survey's lines.
#include "output/lines_csv_writer.h"

#include "output/number_format.h"
#include "output/survey_waypoint_writer.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

#include <cmath>
#include <string>

namespace {

void appendPlace(std::string& text, const WaypointNode& node) {
    appendFixed(text, node.lat, kSurveyWaypointDecimals);
    text += ',';
    appendFixed(text, normalLongitude(node.lon), kSurveyWaypointDecimals);
    text += ',';
}

} // namespace

void writeLinesCsv(std::ostream& out, const WaypointList& route,
                   const std::vector<SurveyPiece>& pieces) {
    std::vector<const WaypointNode*> fromFile;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        if (node->kind == WaypointKind::fromFile) {
            fromFile.push_back(node);
        }
    }
    std::string text;
    startChunks(text);
    text += "line,kind,start_lat,start_lon,end_lat,end_lon,heading,length_m,cell\n";
    for (const SurveyPiece& piece : pieces) {
        if (piece.kind == PieceKind::transit || piece.last >= fromFile.size()) {
            continue;
        }
        appendInt(text, static_cast<std::int64_t>(piece.number));
        text += piece.kind == PieceKind::tie ? ",tie," : ",line,";
        appendPlace(text, *fromFile[piece.first]);
        appendPlace(text, *fromFile[piece.last]);
        // A course a hair short of north reads 0.00, not 360.00.
        const double heading = std::round(piece.heading * 100.0) / 100.0;
        appendFixed(text, heading >= 360.0 ? heading - 360.0 : heading, 2);
        text += ',';
        appendFixed(text, piece.length, 1);
        text += ',';
        if (piece.kind == PieceKind::line) {
            appendInt(text, static_cast<std::int64_t>(piece.cell));
        }
        text += '\n';
        writeChunkIfFull(out, text);
    }
    writeRest(out, text);
}
