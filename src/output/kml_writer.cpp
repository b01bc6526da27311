// KML export of the planned route: a LineString Placemark and one Point Placemark per node.
#include "output/kml_writer.h"

#include "output/export_common.h"
#include "output/writer_common.h"

#include <string>

namespace {

// KML colours are alpha, blue, green, red; the same colours as the HTML preview.
constexpr const char* kStyles = "<Style id=\"route\"><LineStyle><color>ff1f30d7</color>"
                                "<width>3</width></LineStyle></Style>\n"
                                "<Style id=\"launch\"><IconStyle><color>ff41961a</color>"
                                "<scale>1.2</scale></IconStyle></Style>\n"
                                "<Style id=\"waypoint\"><IconStyle><color>ffbf5f1f</color>"
                                "</IconStyle></Style>\n"
                                "<Style id=\"split\"><IconStyle><color>ff0080e0</color>"
                                "<scale>0.7</scale></IconStyle></Style>\n";

// KML takes longitudes from -180 to 180 only; Google Earth joins the points across the
// antimeridian by itself.
void appendCoordinates(std::string& text, const WaypointNode& node) {
    appendExact(text, wrappedLongitude(node.lon));
    text += ',';
    appendExact(text, node.lat);
}

} // namespace

void writeKml(std::ostream& out, const std::string& fileName, const WaypointList& route,
              const RouteTotals& totals) {
    std::string text;
    startChunks(text);
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>";
    appendXmlEscaped(text, fileName);
    text += "</name>\n<description>survey line ";
    appendExact(text, totals.surveyLineDistance);
    text += " m, expected mission time ";
    appendExact(text, totals.expectedMissionTime);
    text += " s</description>\n";
    text += kStyles;
    if (route.head != nullptr && route.head->next != nullptr) {
        // Tessellated, so that Google Earth draws each leg along the ground as planned.
        text += "<Placemark><name>route</name><styleUrl>#route</styleUrl>"
                "<LineString><tessellate>1</tessellate><coordinates>";
        for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
            if (node != route.head) {
                text += ' ';
            }
            appendCoordinates(text, *node);
            writeChunkIfFull(out, text);
        }
        text += "</coordinates></LineString></Placemark>\n";
    }
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        const char* kind = kindLabel(node->kind);
        text += "<Placemark><name>";
        appendInt(text, node->wptNumber);
        text += "</name><description>";
        text += kind;
        text += "; ";
        appendLegDescription(text, *node);
        text += "</description><styleUrl>#";
        text += kind;
        text += "</styleUrl><Point><coordinates>";
        appendCoordinates(text, *node);
        text += "</coordinates></Point></Placemark>\n";
        writeChunkIfFull(out, text);
    }
    text += "</Document>\n</kml>\n";
    writeRest(out, text);
}
