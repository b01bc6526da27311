// The CSV summary (csv): one record per route point, then distance and duration.
#include "output/csv_summary_writer.h"

#include "output/number_format.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

#include <cmath>
#include <string>

namespace {

// Leg values are shown in whole units but stay reals, so that no size of value overflows;
// halfway cases go to the even neighbour.
void appendWholeValue(std::string& text, double value) {
    appendFixed(text, std::nearbyint(value), 1);
    text += ',';
}

// Unlike the mission script, no hemisphere letters: the sign of the degrees tells it.
void appendDegreesMinutes(std::string& text, double value) {
    const DegreesMinutes split = degreesMinutes(value);
    appendFixed(text, split.degrees, 0);
    text += ' ';
    appendFixed(text, split.minutes, 4);
}

} // namespace

void writeCsvSummary(std::ostream& out, const WaypointList& route, const RouteTotals& totals) {
    if (route.head == nullptr) {
        return;
    }
    std::string text;
    startChunks(text);
    text += "\nWpt #, Lat, Lon, Hdg, Mtrs, Secs";
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        text += "\n\n";
        appendInt(text, node->wptNumber);
        text += ',';
        appendFixed(text, node->lat, 4);
        text += ',';
        appendFixed(text, normalLongitude(node->lon), 4);
        text += ',';
        appendWholeValue(text, node->legHeading);
        appendWholeValue(text, node->legDistance);
        appendWholeValue(text, node->legTime);
        // The degree/minute line starts with an empty cell so that its values stand in the
        // Lat and Lon columns.
        text += "\n, ";
        appendDegreesMinutes(text, node->lat);
        text += ", ";
        appendDegreesMinutes(text, normalLongitude(node->lon));
        writeChunkIfFull(out, text);
    }
    text += "\n\n";
    appendTotalsLines(text, totals);
    writeRest(out, text);
}
