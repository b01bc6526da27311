// Offline HTML preview of the planned route: an inline SVG map and the table of legs.
#include "output/html_preview_writer.h"

#include "output/export_common.h"
#include "output/number_format.h"
#include "output/writer_common.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace {

// The sphere the legs were measured on, so that the scale bar agrees with the distances.
constexpr double kEarthRadiusMeters = 6371000.0;
constexpr double kMetersPerDegree = kEarthRadiusMeters * std::numbers::pi / 180.0;

// Page layout in SVG units: a band for the legend and the north arrow on top, the map area
// in the middle and a band for the scale bar below.
constexpr double kPageWidth = 960.0;
constexpr double kPageHeight = 700.0;
constexpr double kMapLeft = 40.0;
constexpr double kMapTop = 80.0;
constexpr double kMapWidth = 880.0;
constexpr double kMapHeight = 550.0;
constexpr double kScaleBarY = 675.0;
// A route shorter than this either way is drawn as if it measured this much, so that a
// route of one point, or of points on one meridian, still has a scale.
constexpr double kMinSpanMeters = 1.0;
// Arrows stand at least this far apart along the line, and so do all but the longest legs'
// arrows, so that a densely split route keeps arrows without being covered by them.
constexpr double kMinArrowSpacing = 60.0;
// Vertices closer than this to the last one drawn change nothing on the screen.
constexpr double kMinVertexStep = 0.5;

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:16px;color:#222}\n"
    "h1{font-size:20px;margin:0 0 6px}\n"
    "p{margin:4px 0 10px}\n"
    "svg{display:block;width:960px;max-width:100%;height:auto;background:#e6f0f7;"
    "border:1px solid #9ab}\n"
    ".route{fill:none;stroke:#d7301f;stroke-width:2;stroke-linejoin:round}\n"
    ".dir{fill:none;stroke:none;marker-mid:url(#arrow)}\n"
    "#arrow path{fill:#d7301f}\n"
    "circle.waypoint{fill:#1f5fbf;stroke:#fff}\n"
    "path.launch{fill:#1a9641;stroke:#fff}\n"
    "path.split{fill:#e08000;stroke:#fff}\n"
    ".label{font-size:12px;fill:#111;stroke:#fff;stroke-width:3px;paint-order:stroke}\n"
    ".legend text,.scale text,.north text{font-size:13px}\n"
    ".north text{font-weight:bold;text-anchor:middle}\n"
    ".scale path{fill:none;stroke:#222;stroke-width:2}\n"
    "table{border-collapse:collapse;margin-top:14px;font-size:13px}\n"
    "th,td{border:1px solid #bcc8d4;padding:2px 8px;text-align:right}\n"
    "td.kind{text-align:left}\n"
    "tr.launch td{background:#e2f3e6}\n"
    "tr.split td{color:#8a5a00}\n";

void appendPixels(std::string& text, double value) {
    appendFixed(text, value, 1);
}

void appendXY(std::string& text, double x, double y) {
    appendPixels(text, x);
    text += ' ';
    appendPixels(text, y);
}

// The three point symbols, centred on (x, y); also used by the legend.
void appendSymbol(std::string& text, WaypointKind kind, double x, double y) {
    switch (kind) {
    case WaypointKind::launch:
        text += "<path class=\"launch\" d=\"M";
        appendXY(text, x, y - 8.0);
        text += " L";
        appendXY(text, x + 7.0, y + 5.0);
        text += " L";
        appendXY(text, x - 7.0, y + 5.0);
        text += " Z\"/>";
        return;
    case WaypointKind::splitPoint:
        text += "<path class=\"split\" d=\"M";
        appendXY(text, x, y - 5.0);
        text += " L";
        appendXY(text, x + 5.0, y);
        text += " L";
        appendXY(text, x, y + 5.0);
        text += " L";
        appendXY(text, x - 5.0, y);
        text += " Z\"/>";
        return;
    case WaypointKind::fromFile:
        break;
    }
    text += "<circle class=\"waypoint\" cx=\"";
    appendPixels(text, x);
    text += "\" cy=\"";
    appendPixels(text, y);
    text += "\" r=\"5\"/>";
}

// A leg drawn invisibly through its middle, where the arrow marker sits pointing along it.
void appendArrow(std::string& text, MapPoint from, MapPoint to) {
    text += "<path class=\"dir\" d=\"M";
    appendXY(text, from.x, from.y);
    text += " L";
    appendXY(text, (from.x + to.x) / 2.0, (from.y + to.y) / 2.0);
    text += " L";
    appendXY(text, to.x, to.y);
    text += "\"/>\n";
}

void appendLabel(std::string& text, const WaypointNode& node, MapPoint at) {
    text += "<text class=\"label\" x=\"";
    appendPixels(text, at.x + 7.0);
    text += "\" y=\"";
    appendPixels(text, at.y - 7.0);
    text += "\">";
    appendInt(text, node.wptNumber);
    text += "</text>\n";
}

void appendLegend(std::string& text) {
    text += "<g class=\"legend\">";
    appendSymbol(text, WaypointKind::launch, 24.0, 26.0);
    text += "<text x=\"38\" y=\"31\">launch waypoint</text>";
    appendSymbol(text, WaypointKind::fromFile, 174.0, 26.0);
    text += "<text x=\"188\" y=\"31\">waypoint from the file</text>";
    appendSymbol(text, WaypointKind::splitPoint, 354.0, 26.0);
    text += "<text x=\"368\" y=\"31\">split point</text>";
    text += "<path class=\"route\" d=\"M464 26 L500 26\"/>"
            "<path class=\"dir\" d=\"M464 26 L482 26 L500 26\"/>"
            "<text x=\"508\" y=\"31\">leg, in the direction run</text></g>\n";
}

void appendNorthArrow(std::string& text) {
    text += "<g class=\"north\"><path d=\"M920 12 L929 44 L920 37 L911 44 Z\"/>"
            "<text x=\"920\" y=\"62\">N</text></g>\n";
}

void appendScaleBar(std::string& text, const MapFrame& frame) {
    const double meters = scaleBarMeters(kMapWidth / 4.0 / frame.pixelsPerMeter);
    const double length = meters * frame.pixelsPerMeter;
    text += "<g class=\"scale\"><path d=\"M";
    appendXY(text, kMapLeft, kScaleBarY - 6.0);
    text += " L";
    appendXY(text, kMapLeft, kScaleBarY);
    text += " L";
    appendXY(text, kMapLeft + length, kScaleBarY);
    text += " L";
    appendXY(text, kMapLeft + length, kScaleBarY - 6.0);
    text += "\"/><text x=\"";
    appendPixels(text, kMapLeft + length + 8.0);
    text += "\" y=\"";
    appendPixels(text, kScaleBarY + 4.0);
    text += "\">";
    if (meters >= 1000.0) {
        appendExact(text, meters / 1000.0);
        text += " km";
    } else {
        appendExact(text, meters);
        text += " m";
    }
    text += "</text></g>\n";
}

struct Counts {
    std::size_t points = 0;
    std::size_t launch = 0;
    std::size_t fromFile = 0;
    std::size_t split = 0;
};

Counts countPoints(const WaypointList& route) {
    Counts counts;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        ++counts.points;
        switch (node->kind) {
        case WaypointKind::launch:
            ++counts.launch;
            break;
        case WaypointKind::splitPoint:
            ++counts.split;
            break;
        case WaypointKind::fromFile:
            ++counts.fromFile;
            break;
        }
    }
    return counts;
}

void appendCount(std::string& text, std::size_t count) {
    appendInt(text, static_cast<std::int64_t>(count));
}

// The whole route as one line, vertices that would fall on the same spot left out.
// Returns the length of the line in page units.
double writeRouteLine(std::ostream& out, std::string& text, const WaypointList& route,
                      const MapFrame& frame) {
    text += "<polyline class=\"route\" points=\"";
    double unwrapped = 0.0;
    const WaypointNode* previous = nullptr;
    MapPoint drawn{0.0, 0.0};
    MapPoint previousAt{0.0, 0.0};
    double length = 0.0;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        unwrapped = previous == nullptr ? node->lon
                                        : unwrappedLongitude(unwrapped, previous->lon, node->lon);
        const MapPoint at = projectOnMap(frame, unwrapped, node->lat);
        if (previous != nullptr) {
            length += std::hypot(at.x - previousAt.x, at.y - previousAt.y);
        }
        previous = node;
        previousAt = at;
        const bool last = node->next == nullptr;
        if (node != route.head && !last && std::fabs(at.x - drawn.x) < kMinVertexStep &&
            std::fabs(at.y - drawn.y) < kMinVertexStep) {
            continue;
        }
        if (node != route.head) {
            text += ' ';
        }
        appendPixels(text, at.x);
        text += ',';
        appendPixels(text, at.y);
        drawn = at;
        writeChunkIfFull(out, text);
    }
    text += "\"/>\n";
    return length;
}

// Symbols and numbers for every markEvery-th point (and the last), and an arrow in the
// middle of a leg wherever the line has run arrowSpacing since the last arrow; each kind of
// mark is gathered apart so that numbers lie on top of symbols and symbols on top of arrows.
void appendMarks(std::string& text, const WaypointList& route, const MapFrame& frame,
                 std::size_t markEvery, double arrowSpacing) {
    std::string arrows;
    std::string symbols;
    std::string labels;
    double unwrapped = 0.0;
    const WaypointNode* previous = nullptr;
    MapPoint previousAt{0.0, 0.0};
    // Run along the line since the last arrow; the first leg of any length gets one.
    double sinceArrow = arrowSpacing;
    std::size_t index = 0;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next, ++index) {
        unwrapped = previous == nullptr ? node->lon
                                        : unwrappedLongitude(unwrapped, previous->lon, node->lon);
        const MapPoint at = projectOnMap(frame, unwrapped, node->lat);
        const bool marked = index % markEvery == 0 || node->next == nullptr;
        if (previous != nullptr) {
            // A leg of no length has no direction to show.
            const double leg = std::hypot(at.x - previousAt.x, at.y - previousAt.y);
            if (leg > 0.0 && sinceArrow + leg / 2.0 >= arrowSpacing) {
                appendArrow(arrows, previousAt, at);
                sinceArrow = leg / 2.0;
            } else {
                sinceArrow += leg;
            }
        }
        if (marked) {
            appendSymbol(symbols, node->kind, at.x, at.y);
            symbols += '\n';
            appendLabel(labels, *node, at);
        }
        previous = node;
        previousAt = at;
    }
    text += arrows;
    text += symbols;
    text += labels;
}

void appendTableHead(std::string& text) {
    text +=
        "<table>\n<thead>\n<tr><th rowspan=\"2\">#</th><th rowspan=\"2\">Kind</th>"
        "<th rowspan=\"2\">Latitude °</th><th rowspan=\"2\">Longitude °</th>"
        "<th colspan=\"3\">Leg to the next point</th><th colspan=\"2\">Reached after</th></tr>\n"
        "<tr><th>Heading °</th><th>Distance m</th><th>Time s</th>"
        "<th>Distance m</th><th>Time s</th></tr>\n</thead>\n<tbody>\n";
}

void appendCell(std::string& text, double value, int decimals) {
    text += "<td>";
    appendFixed(text, value, decimals);
    text += "</td>";
}

void writeTable(std::ostream& out, std::string& text, const WaypointList& route) {
    appendTableHead(text);
    // Summed in the order and the precision of the route totals, so that the last point is
    // reached after exactly the totals.
    long double distance = 0.0L;
    long double time = 0.0L;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        const char* kind = kindLabel(node->kind);
        text += "<tr class=\"";
        text += kind;
        text += "\"><td>";
        appendInt(text, node->wptNumber);
        text += "</td><td class=\"kind\">";
        text += kind;
        text += "</td>";
        appendCell(text, node->lat, 7);
        appendCell(text, node->lon, 7);
        appendCell(text, node->legHeading, 1);
        appendCell(text, node->legDistance, 1);
        appendCell(text, node->legTime, 1);
        appendCell(text, static_cast<double>(distance), 1);
        appendCell(text, static_cast<double>(time), 1);
        text += "</tr>\n";
        distance += node->legDistance;
        time += node->legTime;
        writeChunkIfFull(out, text);
    }
    text += "</tbody>\n</table>\n";
}

} // namespace

double unwrappedLongitude(double previousUnwrapped, double previousLon, double lon) {
    return previousUnwrapped + std::remainder(lon - previousLon, 360.0);
}

MapFrame fitMapFrame(const WaypointList& route) {
    MapFrame frame;
    if (route.head == nullptr) {
        return frame;
    }
    double minLon = route.head->lon;
    double maxLon = minLon;
    double minLat = route.head->lat;
    double maxLat = minLat;
    double unwrapped = route.head->lon;
    for (const WaypointNode* node = route.head->next; node != nullptr; node = node->next) {
        unwrapped = unwrappedLongitude(unwrapped, node->prev->lon, node->lon);
        minLon = std::min(minLon, unwrapped);
        maxLon = std::max(maxLon, unwrapped);
        minLat = std::min(minLat, node->lat);
        maxLat = std::max(maxLat, node->lat);
    }
    frame.midLon = (minLon + maxLon) / 2.0;
    frame.midLat = (minLat + maxLat) / 2.0;
    // Equirectangular about the middle latitude: true to scale there and close to it over
    // the few kilometres of a survey.
    frame.metersPerLonDegree = kMetersPerDegree * std::cos(frame.midLat * std::numbers::pi / 180.0);
    const double spanX = std::max((maxLon - minLon) * frame.metersPerLonDegree, kMinSpanMeters);
    const double spanY = std::max((maxLat - minLat) * kMetersPerDegree, kMinSpanMeters);
    frame.pixelsPerMeter = std::min(kMapWidth / spanX, kMapHeight / spanY);
    return frame;
}

MapPoint projectOnMap(const MapFrame& frame, double unwrappedLon, double lat) {
    const double east = (unwrappedLon - frame.midLon) * frame.metersPerLonDegree;
    const double north = (lat - frame.midLat) * kMetersPerDegree;
    return {kMapLeft + kMapWidth / 2.0 + east * frame.pixelsPerMeter,
            kMapTop + kMapHeight / 2.0 - north * frame.pixelsPerMeter};
}

double scaleBarMeters(double maxMeters) {
    const double power = std::pow(10.0, std::floor(std::log10(maxMeters)));
    const double leading = maxMeters / power;
    if (leading >= 5.0) {
        return 5.0 * power;
    }
    if (leading >= 2.0) {
        return 2.0 * power;
    }
    return power;
}

void writeHtmlPreview(std::ostream& out, const std::string& fileName, const WaypointList& route,
                      const RouteTotals& totals) {
    const Counts counts = countPoints(route);
    const std::size_t markEvery = counts.points <= kMaxMarkedPoints
                                      ? 1
                                      : (counts.points + kMaxMarkedPoints - 1) / kMaxMarkedPoints;
    const MapFrame frame = fitMapFrame(route);

    std::string text;
    startChunks(text);
    text += "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n"
            "<head>\n<meta charset=\"utf-8\"/>\n<title>Route ";
    appendXmlEscaped(text, fileName);
    text += "</title>\n<style>\n";
    text += kStyle;
    text += "</style>\n</head>\n<body>\n<h1>Route ";
    appendXmlEscaped(text, fileName);
    text += "</h1>\n<p>";
    appendCount(text, counts.points);
    text += " route points: ";
    appendCount(text, counts.launch);
    text += " launch, ";
    appendCount(text, counts.fromFile);
    text += " from the waypoint file, ";
    appendCount(text, counts.split);
    text += " split. North is up.";
    if (markEvery > 1) {
        text += " The map marks one point in ";
        appendCount(text, markEvery);
        text += " and the last; the table lists them all.";
    }
    text += "</p>\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ";
    appendExact(text, kPageWidth);
    text += ' ';
    appendExact(text, kPageHeight);
    text += "\" role=\"img\" aria-label=\"Map of the route\">\n"
            "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"5\" refY=\"5\" "
            "markerWidth=\"11\" markerHeight=\"11\" markerUnits=\"userSpaceOnUse\" "
            "orient=\"auto\"><path d=\"M0 0 L10 5 L0 10 Z\"/></marker></defs>\n";
    if (route.head != nullptr) {
        const double lineLength = writeRouteLine(out, text, route, frame);
        const double arrowSpacing =
            std::max(kMinArrowSpacing, lineLength / static_cast<double>(kMaxMarkedPoints));
        appendMarks(text, route, frame, markEvery, arrowSpacing);
        appendScaleBar(text, frame);
    }
    appendLegend(text);
    appendNorthArrow(text);
    text += "</svg>\n";
    writeTable(out, text, route);
    text += "<p class=\"totals\">Expected survey line ";
    appendFixed(text, totals.surveyLineDistance, 1);
    text += " meters<br/>Expected mission time ";
    appendFixed(text, totals.expectedMissionTime, 1);
    text += " seconds<br/>";
    appendFixed(text, wholeHours(totals.expectedMissionTime), 0);
    text += " hours ";
    appendInt(text, minutesPastHour(totals.expectedMissionTime));
    text += " minutes</p>\n</body>\n</html>\n";
    writeRest(out, text);
}
