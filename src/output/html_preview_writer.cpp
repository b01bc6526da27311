// Offline HTML preview of the planned route: an inline SVG map and the table of legs.
#include "output/html_preview_writer.h"

#include "output/export_common.h"
#include "output/finding_marks.h"
#include "output/html_depth_profile.h"
#include "output/html_graticule.h"
#include "output/html_sea_map.h"
#include "output/number_format.h"
#include "output/svg_legend.h"
#include "output/svg_text.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// Arrows stand at least this far apart along the line, and so do all but the longest legs'
// arrows, so that a densely split route keeps arrows without being covered by them.
constexpr double kMinArrowSpacing = 60.0;
// Room for marks, in page units: the launch point and the waypoints of the file keep their
// symbols unless they all but coincide; split points need clearly more; a number needs
// about the space of four digits.
constexpr double kMinChosenSpacing = 3.0;
constexpr double kMinSplitSpacing = 10.0;
constexpr double kLabelWidth = 30.0;
constexpr double kLabelHeight = 14.0;

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:16px;color:#222}\n"
    "h1{font-size:20px;margin:0 0 6px}\n"
    "p{margin:4px 0 10px}\n"
    "svg{display:block;width:960px;max-width:100%;height:auto;background:#e6f0f7;"
    "border:1px solid #9ab}\n"
    ".route{fill:none;stroke:#34495e;stroke-width:2;stroke-linejoin:round}\n"
    ".dir{fill:none;stroke:none;marker-mid:url(#arrow)}\n"
    "#arrow path{fill:#34495e}\n"
    "svg.landunchecked{background:#f2f2ef}\n"
    "text.landunchecked{font-size:13px;font-style:italic;fill:#56606b;text-anchor:end}\n"
    ".graticule path{fill:none;stroke:#7a8794;stroke-width:.6;stroke-opacity:.55}\n"
    ".graticule text{font-size:11px;fill:#56606b;text-anchor:middle}\n"
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

// With a survey: the area it was laid out in, faintly, its holes left open.
constexpr const char* kSurveyStyle =
    ".surveyarea path,rect.surveyarea{fill:#2b8cbe;fill-opacity:.08;stroke:#2b8cbe;"
    "stroke-width:1.5;stroke-linejoin:round;fill-rule:evenodd}\n"
    ".linenumber{font-size:11px;font-weight:bold;fill:#08519c;text-anchor:middle;"
    "stroke:#fff;stroke-width:3px;paint-order:stroke}\n";

// With the sea: the areas on the map, the findings' colours (the legs' own colour is
// neutral in every preview, so that red and orange only ever mean findings); the depth
// profile.
constexpr const char* kSeaStyle =
    ".keepout path,rect.keepout{fill:#e8dcb5;stroke:#8c6d3f;stroke-width:1;"
    "stroke-linejoin:round;stroke-linecap:round;fill-rule:evenodd}\n"
    ".opregion path,rect.opregion{fill:#1a9641;fill-opacity:.06;stroke:#1a9641;stroke-width:2;"
    "stroke-dasharray:8 4;fill-rule:evenodd}\n"
    ".unread{fill:#56606b;fill-opacity:.12;fill-rule:evenodd}\n"
    ".finding{fill:none;stroke-width:6;stroke-linecap:round;stroke-linejoin:round;"
    "stroke-opacity:.85}\n"
    ".place{fill:none;stroke-width:2.5}\n"
    ".error{stroke:#d7301f}\n"
    ".warning{stroke:#f39c12}\n"
    "h2{font-size:17px;margin:18px 0 4px}\n"
    "svg.profile{background:#fff}\n"
    ".water{fill:#e6f0f7}\n"
    ".air{fill:#fbfaf5}\n"
    ".grid{fill:none;stroke:#c9d6e2}\n"
    ".yoyo{fill:#2b8cbe;fill-opacity:.18;stroke:#2b8cbe;stroke-dasharray:4 3}\n"
    ".commanded{stroke:#2b8cbe;stroke-width:2}\n"
    ".surface{stroke:#2b6cb0;stroke-width:1.5}\n"
    ".ground{fill:#d8c49a}\n"
    ".band{fill:#52606d;fill-opacity:.5}\n"
    ".cellsize{fill:none;stroke:#52606d;stroke-dasharray:3 2}\n"
    ".seabed{fill:none;stroke:#5a3d14;stroke-width:1.5;stroke-linejoin:round;"
    "stroke-linecap:round}\n"
    ".minaltitude{fill:none;stroke:#2b8cbe;stroke-width:1.2;stroke-dasharray:6 3}\n"
    ".abortaltitude{fill:none;stroke:#1b1b1b;stroke-width:1;stroke-dasharray:2 2}\n"
    ".abortdepth{stroke:#7b1fa2;stroke-width:1.5;stroke-dasharray:10 4}\n"
    "rect.nodepth{fill:url(#hatch)}\n"
    "#hatch path{stroke:#8a96a3;stroke-width:2}\n"
    ".failing{stroke:none}\n"
    ".failing.error{fill:#d7301f;fill-opacity:.08}\n"
    ".failing.warning{fill:#f39c12;fill-opacity:.1}\n"
    ".bar{stroke:none}\n"
    ".bar.error{fill:#d7301f}\n"
    ".bar.warning{fill:#f39c12}\n"
    ".failplace{stroke-width:2}\n"
    ".frame{fill:none;stroke:#56606b}\n"
    ".depthaxis path,.distanceaxis path{stroke:#56606b}\n"
    ".depthaxis text{font-size:12px;text-anchor:end}\n"
    ".distanceaxis text{font-size:12px;text-anchor:middle}\n"
    "text.title{font-size:13px;text-anchor:middle}\n"
    ".number{font-size:11px;text-anchor:middle;fill:#333}\n"
    ".surfacing{fill:#1f5fbf}\n";

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

// Calls visit(node, position on the page) for every node from head on, longitudes taken
// the short way round from the node before.
template <typename Visit>
void forEachOnMap(const WaypointList& route, const MapFrame& frame, Visit visit) {
    double unwrapped = 0.0;
    const WaypointNode* previous = nullptr;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        unwrapped = previous == nullptr ? node->lon
                                        : unwrappedLongitude(unwrapped, previous->lon, node->lon);
        visit(*node, projectOnMap(frame, unwrapped, node->lat));
        previous = node;
    }
}

double drawnLength(const WaypointList& route, const MapFrame& frame) {
    double length = 0.0;
    const WaypointNode* previous = nullptr;
    MapPoint previousAt{0.0, 0.0};
    forEachOnMap(route, frame, [&](const WaypointNode& node, MapPoint at) {
        if (previous != nullptr) {
            length += std::hypot(at.x - previousAt.x, at.y - previousAt.y);
        }
        previous = &node;
        previousAt = at;
    });
    return length;
}

// The whole route as one line, vertices that would fall on the same spot left out.
void writeRouteLine(std::ostream& out, std::string& text, const WaypointList& route,
                    const MapFrame& frame) {
    text += "<polyline class=\"route\" points=\"";
    MapPoint drawn{0.0, 0.0};
    forEachOnMap(route, frame, [&](const WaypointNode& node, MapPoint at) {
        const bool first = &node == route.head;
        if (!first && node.next != nullptr && std::fabs(at.x - drawn.x) < kMinVertexStep &&
            std::fabs(at.y - drawn.y) < kMinVertexStep) {
            return;
        }
        if (!first) {
            text += ' ';
        }
        appendPixels(text, at.x);
        text += ',';
        appendPixels(text, at.y);
        drawn = at;
        writeChunkIfFull(out, text);
    });
    text += "\"/>\n";
}

// An arrow in the middle of a leg wherever the line has run spacing since the last arrow;
// the first leg of any length gets one.
std::string directionArrows(const WaypointList& route, const MapFrame& frame, double spacing) {
    std::string arrows;
    const WaypointNode* previous = nullptr;
    MapPoint previousAt{0.0, 0.0};
    double sinceArrow = spacing;
    forEachOnMap(route, frame, [&](const WaypointNode& node, MapPoint at) {
        if (previous != nullptr) {
            // A leg of no length has no direction to show.
            const double leg = std::hypot(at.x - previousAt.x, at.y - previousAt.y);
            if (leg > 0.0 && sinceArrow + leg / 2.0 >= spacing) {
                appendArrow(arrows, previousAt, at);
                sinceArrow = leg / 2.0;
            } else {
                sinceArrow += leg;
            }
        }
        previous = &node;
        previousAt = at;
    });
    return arrows;
}

// Space on the page for marks that must not cover each other: a grid of cells of the size
// one mark needs, so that a mark can only clash with those in its own and the eight cells
// around it, and each cell holds at most one.
struct Room {
    double width = 0.0;
    double height = 0.0;
    std::size_t columns = 0;
    std::size_t rows = 0;
    std::vector<char> taken;
    std::vector<MapPoint> marks;
};

Room makeRoom(double width, double height) {
    Room room;
    room.width = width;
    room.height = height;
    room.columns = static_cast<std::size_t>(kPageWidth / width) + 1;
    room.rows = static_cast<std::size_t>(kPageHeight / height) + 1;
    room.taken.assign(room.columns * room.rows, 0);
    room.marks.assign(room.columns * room.rows, MapPoint{0.0, 0.0});
    return room;
}

// Whether a mark fits at the point; if it does, the space is taken.
bool takeRoom(Room& room, MapPoint at) {
    // Also keeps a position that is not a number out of the grid.
    if (!(at.x >= 0.0 && at.x < kPageWidth && at.y >= 0.0 && at.y < kPageHeight)) {
        return false;
    }
    const auto column = static_cast<std::size_t>(at.x / room.width);
    const auto row = static_cast<std::size_t>(at.y / room.height);
    for (std::size_t r = row == 0 ? 0 : row - 1; r <= row + 1 && r < room.rows; ++r) {
        for (std::size_t c = column == 0 ? 0 : column - 1; c <= column + 1 && c < room.columns;
             ++c) {
            const std::size_t cell = r * room.columns + c;
            if (room.taken[cell] != 0 && std::fabs(room.marks[cell].x - at.x) < room.width &&
                std::fabs(room.marks[cell].y - at.y) < room.height) {
                return false;
            }
        }
    }
    const std::size_t cell = row * room.columns + column;
    room.taken[cell] = 1;
    room.marks[cell] = at;
    return true;
}

struct Marks {
    std::string splitSymbols;
    std::string symbols; // launch and waypoints, drawn over split points
    std::string labels;
    bool all = true; // every point has its symbol and its number
};

// Symbols and numbers, as many as the page has room for. The launch point, the last point
// and the waypoints of the file come first, being what the planner chose; split points get
// a symbol where they stand apart from every other and a number where one fits.
Marks placeMarks(const WaypointList& route, const MapFrame& frame) {
    Marks marks;
    Room chosenRoom = makeRoom(kMinChosenSpacing, kMinChosenSpacing);
    Room symbolRoom = makeRoom(kMinSplitSpacing, kMinSplitSpacing);
    Room labelRoom = makeRoom(kLabelWidth, kLabelHeight);
    const auto place = [&](const WaypointNode& node, MapPoint at, bool chosen) {
        bool symbol = false;
        if (chosen) {
            symbol = takeRoom(chosenRoom, at);
            if (symbol) {
                takeRoom(symbolRoom, at); // so that split points keep clear of it
            }
        } else {
            symbol = takeRoom(symbolRoom, at);
        }
        if (!symbol) {
            marks.all = false;
            return;
        }
        std::string& symbols = chosen ? marks.symbols : marks.splitSymbols;
        appendSymbol(symbols, node.kind, at.x, at.y);
        symbols += '\n';
        if (takeRoom(labelRoom, at)) {
            appendLabel(marks.labels, node, at);
        } else {
            marks.all = false;
        }
    };
    const auto isChosen = [&](const WaypointNode& node) {
        return node.kind != WaypointKind::splitPoint || &node == route.head || node.next == nullptr;
    };
    MapPoint last{0.0, 0.0};
    forEachOnMap(route, frame, [&](const WaypointNode&, MapPoint at) { last = at; });
    if (route.head != nullptr) {
        forEachOnMap(route, frame, [&](const WaypointNode& node, MapPoint at) {
            if (&node == route.head) {
                place(node, at, true);
                if (route.tail != route.head) {
                    place(*route.tail, last, true);
                }
            } else if (node.next != nullptr && isChosen(node)) {
                place(node, at, true);
            }
        });
    }
    forEachOnMap(route, frame, [&](const WaypointNode& node, MapPoint at) {
        if (!isChosen(node)) {
            place(node, at, false);
        }
    });
    return marks;
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
        appendCell(text, normalLongitude(node->lon), 7);
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

// What the sea checks add to the page.
struct SeaView {
    const SeaSurvey& survey;
    const std::vector<PlanFinding>& findings;
    const MissionParameters& params;
    bool landChecked;
};

void appendSurveyArea(std::string& text, const GeoArea& area, const MapFrame& frame) {
    text += "<g class=\"surveyarea\"><title>survey area";
    if (!area.name.empty()) {
        text += ' ';
        appendXmlEscaped(text, area.name);
    }
    text += "</title><path d=\"";
    bool firstRing = true;
    appendRingPath(text, area.outer, frame, firstRing);
    for (const GeoRing& hole : area.holes) {
        appendRingPath(text, hole, frame, firstRing);
    }
    text += "\"/></g>\n";
}

// The number of each survey and tie line at its middle, where it keeps clear of the others;
// whether every line got its number.
bool appendLineNumbers(std::string& text, const WaypointList& route, const MapFrame& frame,
                       const std::vector<SurveyPiece>& pieces) {
    std::vector<MapPoint> fromFile;
    forEachOnMap(route, frame, [&](const WaypointNode& node, MapPoint at) {
        if (node.kind == WaypointKind::fromFile) {
            fromFile.push_back(at);
        }
    });
    Room room = makeRoom(kLabelWidth, kLabelHeight);
    bool all = true;
    for (const SurveyPiece& piece : pieces) {
        if (piece.kind == PieceKind::transit || piece.last >= fromFile.size()) {
            continue;
        }
        // A third of the way along, clear of the middle's direction arrow, and beside the
        // line (above it, or left of an upright one) rather than on it.
        const MapPoint from = fromFile[piece.first];
        const MapPoint to = fromFile[piece.last];
        const double length = std::hypot(to.x - from.x, to.y - from.y);
        MapPoint side{0.0, -1.0};
        if (length > 0.0) {
            side = {(to.y - from.y) / length, -(to.x - from.x) / length};
            if (side.y > 1e-9 || (std::fabs(side.y) <= 1e-9 && side.x > 0.0)) {
                side = {-side.x, -side.y};
            }
        }
        const MapPoint at{from.x + (to.x - from.x) / 3.0 + 8.0 * side.x,
                          from.y + (to.y - from.y) / 3.0 + 8.0 * side.y};
        if (!takeRoom(room, at)) {
            all = false;
            continue;
        }
        text += "<text class=\"linenumber\" x=\"";
        appendPixels(text, at.x);
        text += "\" y=\"";
        appendPixels(text, at.y + 4.0);
        text += "\">";
        appendInt(text, static_cast<std::int64_t>(piece.number));
        text += "</text>\n";
    }
    return all;
}

void writePage(std::ostream& out, const std::string& fileName, const WaypointList& route,
               const RouteTotals& totals, const SeaView* sea,
               const std::vector<GeoArea>* surveyAreas,
               const std::vector<SurveyPiece>* surveyLines) {
    const bool surveyArea = surveyAreas != nullptr && !surveyAreas->empty();
    const Counts counts = countPoints(route);
    const MapFrame frame = surveyArea ? fitMapFrame(route, *surveyAreas) : fitMapFrame(route);
    const double arrowSpacing =
        std::max(kMinArrowSpacing, drawnLength(route, frame) / static_cast<double>(kMaxArrows));
    const Marks marks = placeMarks(route, frame);

    std::string text;
    startChunks(text);
    text += "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n"
            "<head>\n<meta charset=\"utf-8\"/>\n<title>Route ";
    appendXmlEscaped(text, fileName);
    text += "</title>\n<style>\n";
    text += kStyle;
    if (surveyArea) {
        text += kSurveyStyle;
    }
    if (sea != nullptr) {
        text += kSeaStyle;
    }
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
    if (!marks.all) {
        text += " Where points crowd together the map marks or numbers only some of them; the "
                "table lists them all.";
    }
    // Water is only coloured as water where land was looked for; elsewhere the map is neutral
    // and says so.
    const bool landChecked = sea != nullptr && sea->landChecked;
    text += landChecked ? "</p>\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 "
                        : "</p>\n<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"landunchecked\" "
                          "viewBox=\"0 0 ";
    appendExact(text, kPageWidth);
    text += ' ';
    appendExact(text, kPageHeight);
    text += "\" role=\"img\" aria-label=\"Map of the route\">\n"
            "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"5\" refY=\"5\" "
            "markerWidth=\"11\" markerHeight=\"11\" markerUnits=\"userSpaceOnUse\" "
            "orient=\"auto\"><path d=\"M0 0 L10 5 L0 10 Z\"/></marker></defs>\n";
    const FindingMarks findings =
        sea != nullptr ? findingMarks(sea->findings, sea->survey) : FindingMarks{};
    if (surveyArea) {
        for (const GeoArea& area : *surveyAreas) {
            appendSurveyArea(text, area, frame);
        }
        writeChunkIfFull(out, text);
    }
    if (sea != nullptr) {
        writeSeaAreas(out, text, sea->survey, frame);
    }
    if (route.head != nullptr) {
        appendGraticule(text, frame);
        writeRouteLine(out, text, route, frame);
        if (sea != nullptr) {
            appendFindingColours(text, findings, sea->survey, routeOnMap(route, frame));
        }
        text += directionArrows(route, frame, arrowSpacing);
        text += marks.splitSymbols;
        text += marks.symbols;
        text += marks.labels;
        if (surveyLines != nullptr) {
            std::string numbers;
            const bool allNumbered = appendLineNumbers(numbers, route, frame, *surveyLines);
            text += "<g><title>";
            text += allNumbered ? "survey and tie lines numbered in the order run"
                                : "survey and tie lines numbered in the order run, where the "
                                  "map has room";
            text += "</title>\n" + numbers + "</g>\n";
        }
        appendScaleBar(text, frame);
    }
    if (!landChecked) {
        text += "<text class=\"landunchecked\" x=\"";
        appendPixels(text, kMapLeft + kMapWidth);
        text += "\" y=\"";
        appendPixels(text, kScaleBarY + 4.0);
        text += "\">land not checked</text>\n";
    }
    appendLegend(text);
    if (sea != nullptr) {
        appendSeaMapLegend(text, sea->survey, areaWindow(sea->survey, frame), surveyArea,
                           surveyLines != nullptr);
    } else if (surveyArea) {
        SvgLegend legend(12.0, kSecondLegendRowY, 900.0);
        legend.add("survey area", legendBox("surveyarea"));
        if (surveyLines != nullptr) {
            legend.add("survey line, numbered in the order run", legendLineNumber());
        }
        text += legend.group();
    }
    appendNorthArrow(text);
    text += "</svg>\n";
    if (sea != nullptr) {
        writeDepthProfile(out, text, sea->survey, findings, sea->params);
    }
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

} // namespace

void writeHtmlPreview(std::ostream& out, const std::string& fileName, const WaypointList& route,
                      const RouteTotals& totals) {
    writePage(out, fileName, route, totals, nullptr, nullptr, nullptr);
}

void writeHtmlPreview(std::ostream& out, const std::string& fileName, const WaypointList& route,
                      const RouteTotals& totals, const std::vector<GeoArea>& surveyAreas,
                      const std::vector<SurveyPiece>* surveyLines) {
    writePage(out, fileName, route, totals, nullptr, &surveyAreas, surveyLines);
}

void writeHtmlPreview(std::ostream& out, const std::string& fileName, const WaypointList& route,
                      const RouteTotals& totals, const SeaSurvey& sea,
                      const std::vector<PlanFinding>& findings, const MissionParameters& params,
                      bool landChecked, const std::vector<GeoArea>* surveyAreas,
                      const std::vector<SurveyPiece>* surveyLines) {
    const SeaView view{sea, findings, params, landChecked};
    writePage(out, fileName, route, totals, &view, surveyAreas, surveyLines);
}
