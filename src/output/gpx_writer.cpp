// GPX export of the planned route: one route of numbered route points.
#include "output/gpx_writer.h"

#include "output/export_common.h"
#include "output/writer_common.h"

#include <string>

void writeGpx(std::ostream& out, const std::string& fileName, const WaypointList& route,
              const RouteTotals& totals) {
    std::string text;
    startChunks(text);
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<gpx version=\"1.1\" creator=\"tavra\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
            "<rte><name>";
    appendXmlEscaped(text, fileName);
    text += "</name><desc>survey line ";
    appendExact(text, totals.surveyLineDistance);
    text += " m, expected mission time ";
    appendExact(text, totals.expectedMissionTime);
    text += " s</desc>\n";
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        // GPX attributes are plain decimals, latitude first, longitude below 180.
        text += "<rtept lat=\"";
        appendExact(text, node->lat);
        text += "\" lon=\"";
        appendExact(text, wrappedLongitude(node->lon));
        text += "\"><name>";
        appendInt(text, node->wptNumber);
        text += "</name><desc>";
        appendLegDescription(text, *node);
        text += "</desc><type>";
        text += kindLabel(node->kind);
        text += "</type></rtept>\n";
        writeChunkIfFull(out, text);
    }
    text += "</rte>\n</gpx>\n";
    writeRest(out, text);
}
