// The waypoint file (wpt) for chart software: one numbered line per route point.
#include "output/waypoint_file_writer.h"

#include "output/number_format.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

#include <string>

void writeWaypointFile(std::ostream& out, const WaypointList& route) {
    std::string text;
    startChunks(text);
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        appendInt(text, node->wptNumber);
        // The chart software expects the letter N whatever the hemisphere.
        text += ",N";
        appendFixed(text, node->lat, 4);
        text += ',';
        appendFixed(text, normalLongitude(node->lon), 4);
        text += ",5,250.000,0.0,0.0,255,0.000  \n";
        writeChunkIfFull(out, text);
    }
    writeRest(out, text);
}
