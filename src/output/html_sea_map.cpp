// The sea on the HTML preview's map: the areas under the route and the findings' colours.
#include "output/html_sea_map.h"

#include "output/export_common.h"
#include "output/svg_legend.h"
#include "output/svg_text.h"
#include "output/writer_common.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

// The areas may reach over the margins of the page but not into the legend above the map.
constexpr double kAreasTop = 66.0;
// The window stays this far inside the surroundings, so that no cut edge is drawn.
constexpr double kCutInset = 1.0;

bool finitePoint(MapPoint at) {
    return std::isfinite(at.x) && std::isfinite(at.y);
}

void appendZoneTitle(std::string& text, const SeaZone& zone) {
    text += "<title>";
    if (zone.kind == ZoneKind::opRegion) {
        text += "operating region of ";
    } else {
        text += "keep-out area ";
        appendXmlEscaped(text, zone.name);
        text += " of ";
    }
    appendXmlEscaped(text, zone.file);
    text += "</title>";
}

void writeZones(std::ostream& out, std::string& text, const SeaSurvey& sea, const MapFrame& frame,
                ZoneKind kind) {
    for (const SeaZone& zone : sea.zones) {
        if (zone.kind != kind || zone.parts.empty()) {
            continue;
        }
        text += kind == ZoneKind::opRegion ? "<g class=\"opregion\">" : "<g class=\"keepout\">";
        appendZoneTitle(text, zone);
        for (const GeoArea& part : zone.parts) {
            text += "<path d=\"";
            bool firstRing = true;
            appendRingPath(text, part.outer, frame, firstRing);
            for (const GeoRing& hole : part.holes) {
                appendRingPath(text, hole, frame, firstRing);
                writeChunkIfFull(out, text);
            }
            text += "\"/>";
            writeChunkIfFull(out, text);
        }
        text += "</g>\n";
    }
}

void appendRectPath(std::string& text, double left, double top, double right, double bottom) {
    text += 'M';
    appendXY(text, left, top);
    text += " H";
    appendPixels(text, right);
    text += " V";
    appendPixels(text, bottom);
    text += " H";
    appendPixels(text, left);
    text += " Z";
}

// The point at along meters on leg k, on the leg's line as the map draws it.
MapPoint alongDrawnLeg(const std::vector<MapPoint>& points, const SurveyLeg& leg, double along) {
    const MapPoint from = points[leg.leg];
    const MapPoint to = points[leg.leg + 1];
    const double share = leg.length > 0.0 ? along / leg.length : 0.0;
    return {from.x + (to.x - from.x) * share, from.y + (to.y - from.y) * share};
}

bool drawable(const FindingMark& mark, const SeaSurvey& sea, const std::vector<MapPoint>& points) {
    return mark.leg < sea.legs.size() && sea.legs[mark.leg].leg + 1 < points.size();
}

// One path of all the marked stretches of one severity; a stretch that starts where the
// one before ended goes on from it.
void appendStretches(std::string& text, const FindingMarks& marks, const SeaSurvey& sea,
                     const std::vector<MapPoint>& points, FindingSeverity severity) {
    std::string path;
    MapPoint last{std::numeric_limits<double>::quiet_NaN(), 0.0};
    const auto add = [&](const FindingMark& mark) {
        if (mark.severity != severity || !drawable(mark, sea, points)) {
            return;
        }
        const SurveyLeg& leg = sea.legs[mark.leg];
        const MapPoint from = alongDrawnLeg(points, leg, mark.start);
        const MapPoint to = alongDrawnLeg(points, leg, mark.end);
        if (!finitePoint(from) || !finitePoint(to)) {
            return;
        }
        if (!(std::fabs(from.x - last.x) < 0.05 && std::fabs(from.y - last.y) < 0.05)) {
            path += path.empty() ? "M" : " M";
            appendXY(path, from.x, from.y);
        }
        path += " L";
        appendXY(path, to.x, to.y);
        last = to;
    };
    for (const FindingMark& mark : marks.wholeLegs) {
        add(mark);
    }
    for (const FindingMark& mark : marks.stretches) {
        add(mark);
    }
    if (path.empty()) {
        return;
    }
    text += severity == FindingSeverity::error ? "<path class=\"finding error\" d=\""
                                               : "<path class=\"finding warning\" d=\"";
    text += path;
    text += "\"/>\n";
}

void appendPlaces(std::string& text, const FindingMarks& marks, const SeaSurvey& sea,
                  const std::vector<MapPoint>& points, FindingSeverity severity) {
    for (const FindingMark& mark : marks.places) {
        if (mark.severity != severity || !drawable(mark, sea, points)) {
            continue;
        }
        const MapPoint at = alongDrawnLeg(points, sea.legs[mark.leg], mark.start);
        if (!finitePoint(at)) {
            continue;
        }
        text += severity == FindingSeverity::error ? "<circle class=\"place error\" cx=\""
                                                   : "<circle class=\"place warning\" cx=\"";
        appendPixels(text, at.x);
        text += "\" cy=\"";
        appendPixels(text, at.y);
        text += "\" r=\"8\"/>\n";
    }
}

bool hasZones(const SeaSurvey& sea, ZoneKind kind) {
    return std::any_of(sea.zones.begin(), sea.zones.end(), [kind](const SeaZone& zone) {
        return zone.kind == kind && !zone.parts.empty();
    });
}

} // namespace

AreaWindow areaWindow(const SeaSurvey& sea, const MapFrame& frame) {
    AreaWindow window{0.0, kAreasTop, kPageWidth, kPageHeight, false};
    if (sea.zones.empty()) {
        return window;
    }
    const GeoBox& box = sea.surroundings;
    const MapPoint northWest = projectOnMap(frame, box.west, box.north);
    const MapPoint southEast = projectOnMap(frame, box.east, box.south);
    // A box that cannot be placed (a frame of no size) leaves the areas as they are.
    if (!finitePoint(northWest) || !finitePoint(southEast)) {
        return window;
    }
    const double left = northWest.x + kCutInset;
    const double top = northWest.y + kCutInset;
    const double right = southEast.x - kCutInset;
    const double bottom = southEast.y - kCutInset;
    window.cut =
        left > window.left || top > window.top || right < window.right || bottom < window.bottom;
    window.left = std::clamp(left, window.left, window.right);
    window.top = std::clamp(top, window.top, window.bottom);
    window.right = std::clamp(right, window.left, window.right);
    window.bottom = std::clamp(bottom, window.top, window.bottom);
    return window;
}

void writeSeaAreas(std::ostream& out, std::string& text, const SeaSurvey& sea,
                   const MapFrame& frame) {
    if (!hasZones(sea, ZoneKind::keepOut) && !hasZones(sea, ZoneKind::opRegion)) {
        return;
    }
    const AreaWindow window = areaWindow(sea, frame);
    text += "<clipPath id=\"surroundings\"><path d=\"";
    appendRectPath(text, window.left, window.top, window.right, window.bottom);
    text += "\"/></clipPath>\n<g clip-path=\"url(#surroundings)\">\n";
    writeZones(out, text, sea, frame, ZoneKind::opRegion);
    writeZones(out, text, sea, frame, ZoneKind::keepOut);
    text += "</g>\n";
    if (window.cut) {
        text += "<path class=\"unread\" d=\"";
        appendRectPath(text, 0.0, kAreasTop, kPageWidth, kPageHeight);
        text += ' ';
        appendRectPath(text, window.left, window.top, window.right, window.bottom);
        text += "\"/>\n";
    }
}

void appendFindingColours(std::string& text, const FindingMarks& marks, const SeaSurvey& sea,
                          const std::vector<MapPoint>& routePoints) {
    // Errors over warnings, so that a leg with both shows its worst.
    appendStretches(text, marks, sea, routePoints, FindingSeverity::warning);
    appendStretches(text, marks, sea, routePoints, FindingSeverity::error);
    appendPlaces(text, marks, sea, routePoints, FindingSeverity::warning);
    appendPlaces(text, marks, sea, routePoints, FindingSeverity::error);
}

void appendSeaMapLegend(std::string& text, const SeaSurvey& sea, const AreaWindow& window,
                        bool surveyArea, bool lineNumbers) {
    // One row, clear of the north arrow.
    SvgLegend legend(12.0, kSecondLegendRowY, 900.0);
    if (surveyArea) {
        legend.add("survey area", legendBox("surveyarea"));
    }
    if (lineNumbers) {
        legend.add("survey line, numbered in the order run", legendLineNumber());
    }
    if (hasZones(sea, ZoneKind::keepOut)) {
        legend.add("keep-out area", legendBox("keepout"));
    }
    if (hasZones(sea, ZoneKind::opRegion)) {
        legend.add("operating region", legendBox("opregion"));
    }
    legend.add("error", legendLine("finding error"));
    legend.add("warning", legendLine("finding warning"));
    if (window.cut) {
        legend.add("areas not read", legendBox("unread"));
    }
    text += legend.group();
}
