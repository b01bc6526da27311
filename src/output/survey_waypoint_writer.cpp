// The waypoints of a survey as a plain waypoint file.
#include "output/survey_waypoint_writer.h"

#include "output/number_format.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

namespace {

void appendLineName(std::string& text, const SurveyPiece& piece) {
    text += piece.kind == PieceKind::tie ? "tie line " : "line ";
    appendInt(text, static_cast<std::int64_t>(piece.number));
}

} // namespace

void writeSurveyWaypoints(std::ostream& out, const std::string& comment,
                          const std::vector<GeoPoint>& waypoints,
                          const std::vector<SurveyPiece>& pieces) {
    std::string text;
    startChunks(text);
    text += "# " + comment + '\n';
    auto piece = pieces.begin();
    const auto nextLine = [&] {
        while (piece != pieces.end() &&
               (piece->kind == PieceKind::transit || piece->last >= waypoints.size())) {
            ++piece;
        }
    };
    nextLine();
    for (std::size_t index = 0; index < waypoints.size(); ++index) {
        const bool starts = piece != pieces.end() && piece->first == index;
        if (starts) {
            text += "# ";
            appendLineName(text, *piece);
            if (piece->cell != 0) {
                text += ", cell ";
                appendInt(text, static_cast<std::int64_t>(piece->cell));
            }
            text += ", heading ";
            appendFixed(text, piece->heading, 1);
            text += ", ";
            appendFixed(text, piece->length, 1);
            text += " m\n";
        }
        const GeoPoint& point = waypoints[index];
        appendFixed(text, point.lat, kSurveyWaypointDecimals);
        text += ' ';
        appendFixed(text, normalLongitude(point.lon), kSurveyWaypointDecimals);
        text += '\n';
        if (piece != pieces.end() && piece->last == index && (starts || piece->first < index)) {
            text += "# end of ";
            appendLineName(text, *piece);
            text += '\n';
            ++piece;
            nextLine();
        }
        writeChunkIfFull(out, text);
    }
    writeRest(out, text);
}

GeoPoint asWritten(GeoPoint point) {
    return {readBackFixed(point.lat, kSurveyWaypointDecimals),
            readBackFixed(normalLongitude(point.lon), kSurveyWaypointDecimals)};
}
