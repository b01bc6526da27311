// The graticule of the HTML preview's map.
#include "output/html_graticule.h"

#include "output/number_format.h"
#include "output/round_step.h"
#include "output/svg_text.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double kMapRight = kMapLeft + kMapWidth;
constexpr double kMapBottom = kMapTop + kMapHeight;
// About as many intervals as the map area's sides have room for labels.
constexpr int kLongitudeIntervals = 8;
constexpr int kLatitudeIntervals = 6;
// Where the labels stand, in the margins around the map area, and what they keep clear of:
// the legend above, the scale bar below.
constexpr double kLatitudeLabelX = kMapLeft - 5.0;
constexpr double kLongitudeLabelY = kMapBottom + 14.0;
constexpr double kLegendBottom = 68.0;
constexpr double kScaleBarTop = kScaleBarY - 12.0;

// Room a label takes at its size; the degree sign is two bytes and one character.
double labelWidth(const std::string& label) {
    return 6.5 * static_cast<double>(label.size() - 1);
}

struct Line {
    double degrees; // on the route's run of longitudes, or the latitude
    double at;      // page units: x of a meridian, y of a parallel
};

// The round values from low to high, each a whole number of steps, so that 0 is 0 and not a
// rounding of it; none where the extent is not a finite span.
std::vector<double> roundValues(double low, double high, int intervals, double& step) {
    std::vector<double> values;
    if (!(std::isfinite(low) && std::isfinite(high) && high > low)) {
        return values;
    }
    step = roundStep(high - low, intervals);
    const double first = std::ceil(low / step - 1e-9);
    const double last = std::floor(high / step + 1e-9);
    // At most intervals + 1 values by the choice of step; the bound only guards the loop.
    for (double index = first; index <= last && values.size() <= 2 * kLongitudeIntervals; ++index) {
        values.push_back(index * step);
    }
    return values;
}

void appendDegrees(std::string& text, double degrees, int decimals) {
    appendFixed(text, degrees + 0.0, decimals); // + 0.0: never "-0"
    text += "°";
}

// A longitude of the route's run as the globe names it, 180 rather than -180.
double namedLongitude(double lon) {
    const double named = std::remainder(lon, 360.0);
    return named <= -180.0 ? named + 360.0 : named;
}

} // namespace

void appendGraticule(std::string& text, const MapFrame& frame) {
    if (!(frame.pixelsPerMeter > 0.0) || !(frame.metersPerLonDegree > 0.0)) {
        return; // a frame on no route, or on positions off the globe
    }
    const double halfWidth = kMapWidth / 2.0 / frame.pixelsPerMeter / frame.metersPerLonDegree;
    const double halfHeight = kMapHeight / 2.0 / frame.pixelsPerMeter / kMapMetersPerDegree;
    double lonStep = 1.0;
    double latStep = 1.0;
    std::vector<Line> meridians;
    for (const double lon : roundValues(frame.midLon - halfWidth, frame.midLon + halfWidth,
                                        kLongitudeIntervals, lonStep)) {
        meridians.push_back({lon, projectOnMap(frame, lon, frame.midLat).x});
    }
    std::vector<Line> parallels;
    for (const double lat :
         roundValues(std::max(frame.midLat - halfHeight, -90.0),
                     std::min(frame.midLat + halfHeight, 90.0), kLatitudeIntervals, latStep)) {
        parallels.push_back({lat, projectOnMap(frame, frame.midLon, lat).y});
    }
    if (meridians.empty() && parallels.empty()) {
        return;
    }
    text += "<g class=\"graticule\"><path d=\"";
    bool first = true;
    for (const Line& meridian : meridians) {
        text += first ? "M" : " M";
        first = false;
        appendXY(text, meridian.at, kMapTop);
        text += " V";
        appendPixels(text, kMapBottom);
    }
    for (const Line& parallel : parallels) {
        text += first ? "M" : " M";
        first = false;
        appendXY(text, kMapLeft, parallel.at);
        text += " H";
        appendPixels(text, kMapRight);
    }
    text += "\"/>";
    // Labels in the margins, clear of the route: the latitudes' read upward left of the map
    // area, the longitudes' under it; each only where it has room between the legend, the
    // scale bar and the page's edges.
    for (const Line& parallel : parallels) {
        std::string label;
        appendDegrees(label, parallel.degrees, stepDecimals(latStep));
        const double half = labelWidth(label) / 2.0;
        if (parallel.at - half < kLegendBottom || parallel.at + half > kScaleBarTop) {
            continue;
        }
        text += "<text class=\"lat\" x=\"";
        appendPixels(text, kLatitudeLabelX);
        text += "\" y=\"";
        appendPixels(text, parallel.at);
        text += "\" transform=\"rotate(-90 ";
        appendXY(text, kLatitudeLabelX, parallel.at);
        text += ")\">";
        text += label;
        text += "</text>";
    }
    for (const Line& meridian : meridians) {
        std::string label;
        appendDegrees(label, namedLongitude(meridian.degrees), stepDecimals(lonStep));
        const double half = labelWidth(label) / 2.0;
        if (meridian.at - half < kLatitudeLabelX + 2.0 || meridian.at + half > kPageWidth) {
            continue;
        }
        text += "<text class=\"lon\" x=\"";
        appendPixels(text, meridian.at);
        text += "\" y=\"";
        appendPixels(text, kLongitudeLabelY);
        text += "\">";
        text += label;
        text += "</text>";
    }
    text += "</g>\n";
}
