// The waypoints of a survey as a plain waypoint file.
#include "output/survey_waypoint_writer.h"

#include "output/number_format.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

#include <charconv>

namespace {

// The nearest double to the text, as every reader of the plain format takes it.
double writtenValue(double value) {
    std::string text;
    appendFixed(text, value, kSurveyWaypointDecimals);
    double read = value;
    std::from_chars(text.data(), text.data() + text.size(), read);
    return read;
}

} // namespace

void writeSurveyWaypoints(std::ostream& out, const std::string& comment,
                          const std::vector<GeoPoint>& waypoints) {
    std::string text;
    startChunks(text);
    text += "# " + comment + '\n';
    for (const GeoPoint& point : waypoints) {
        appendFixed(text, point.lat, kSurveyWaypointDecimals);
        text += ' ';
        appendFixed(text, normalLongitude(point.lon), kSurveyWaypointDecimals);
        text += '\n';
        writeChunkIfFull(out, text);
    }
    writeRest(out, text);
}

GeoPoint asWritten(GeoPoint point) {
    return {writtenValue(point.lat), writtenValue(normalLongitude(point.lon))};
}
