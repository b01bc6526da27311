// The survey-line file (pts) for chart software: a header naming the file, then the points.
#include "output/survey_line_writer.h"

#include "output/number_format.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

void writeSurveyLine(std::ostream& out, const std::string& fileName, const WaypointList& route) {
    if (route.head == nullptr) {
        return;
    }
    std::string text;
    startChunks(text);
    text += "0,";
    text += fileName;
    text += ",0,0.000,0.000,1,3,255,0,0.200,0,0,1.000 \n";
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        text += "1,";
        appendFixed(text, node->lat, 4);
        text += ',';
        appendFixed(text, normalLongitude(node->lon), 4);
        text += ",0.00m,0.00m,0.0,0.0,0.0  \n";
        writeChunkIfFull(out, text);
    }
    writeRest(out, text);
}
