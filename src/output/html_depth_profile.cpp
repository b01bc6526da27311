// The depth profile of the HTML preview: the water depth along the route from the grid.
#include "output/html_depth_profile.h"

#include "output/export_common.h"
#include "output/number_format.h"
#include "output/svg_legend.h"
#include "output/svg_text.h"
#include "output/writer_common.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

constexpr double kPlotRight = kPlotLeft + kPlotWidth;
constexpr double kPlotBottom = kPlotTop + kPlotHeight;
// Where a route point is marked at the surface, and where its number stands over the plot.
constexpr double kSurfaceMarkSpacing = 4.0;
constexpr double kNumberSpacing = 30.0;
constexpr double kNumberY = kPlotTop - 12.0;
// The failing stretches also show as a bar this high along the top of the plot, so that a
// narrow one is seen however the seabed runs.
constexpr double kBarHeight = 6.0;
// Places of findings closer than this on the page are drawn as one line.
constexpr double kMinColumn = 0.5;
// An abort depth deeper than this many times the rest of the profile would squeeze the
// seabed into a strip; the legend names it instead.
constexpr double kAbortDepthReach = 1.5;
// Meters: deeper than the deepest sea, higher than the highest ground.
constexpr double kDeepestSea = 11'000.0;
constexpr double kHighestGround = 9'000.0;
// The legend's first row, from the top of the drawing.
constexpr double kLegendFirstRow = 18.0;

// The known depths of one unbroken stretch of the route.
struct SeabedRun {
    std::vector<double> x; // page units
    std::vector<double> depth;
    std::vector<double> shallowest;
};

struct Span {
    double start = 0.0; // meters along the route
    double end = 0.0;
};

struct Profile {
    double length = 0.0; // meters, the whole route
    std::vector<SeabedRun> runs;
    std::vector<Span> unknown;
    bool anyKnown = false;
    double low = 0.0; // the extremes of the depths known
    double high = 0.0;
};

double routeLength(const SeaSurvey& sea) {
    double length = 0.0;
    for (const SurveyLeg& leg : sea.legs) {
        const double end = leg.routeStart + leg.length;
        if (std::isfinite(end)) {
            length = std::max(length, end);
        }
    }
    return length;
}

void addUnknown(std::vector<Span>& spans, double start, double end) {
    if (!std::isfinite(start) || !std::isfinite(end)) {
        return; // a leg off the globe has no place on the axis either
    }
    if (!spans.empty() && start <= spans.back().end) {
        spans.back().end = std::max(spans.back().end, end);
    } else {
        spans.push_back({start, end});
    }
}

bool knownSample(const DepthSample& sample) {
    return sample.state == DepthState::known && std::isfinite(sample.depth) &&
           std::isfinite(sample.shallowest) && std::isfinite(sample.alongRoute);
}

// Page units from meters along the route.
double profileX(const Profile& profile, double meters) {
    return kPlotLeft + meters / profile.length * kPlotWidth;
}

Profile gatherProfile(const SeaSurvey& sea) {
    Profile profile;
    profile.length = routeLength(sea);
    if (!(profile.length > 0.0)) {
        profile.length = 1.0; // a route of no length still has an axis
    }
    bool inRun = false;
    for (const LegSeabed& seabed : sea.seabed) {
        if (seabed.leg >= sea.legs.size()) {
            continue;
        }
        const SurveyLeg& leg = sea.legs[seabed.leg];
        if (seabed.samples.empty()) {
            if (leg.length > 0.0) {
                addUnknown(profile.unknown, leg.routeStart, leg.routeStart + leg.length);
            }
            inRun = false;
            continue;
        }
        for (std::size_t i = 0; i < seabed.samples.size(); ++i) {
            const DepthSample& sample = seabed.samples[i];
            if (!knownSample(sample)) {
                const LegStretch span = sampleSpan(seabed.samples, i);
                addUnknown(profile.unknown, leg.routeStart + span.start, leg.routeStart + span.end);
                inRun = false;
                continue;
            }
            if (!inRun) {
                profile.runs.emplace_back();
                inRun = true;
            }
            SeabedRun& run = profile.runs.back();
            run.x.push_back(profileX(profile, sample.alongRoute));
            run.depth.push_back(sample.depth);
            run.shallowest.push_back(sample.shallowest);
            const double low = std::min(sample.depth, sample.shallowest);
            const double high = std::max(sample.depth, sample.shallowest);
            profile.low = profile.anyKnown ? std::min(profile.low, low) : low;
            profile.high = profile.anyKnown ? std::max(profile.high, high) : high;
            profile.anyKnown = true;
        }
    }
    return profile;
}

struct DepthRange {
    AxisTicks axis;
    bool abortDepthShown = false;
};

// The deepest the mission commands: the bottom of the yo-yo, or the depth of a plain leg.
double commandedBottom(const MissionParameters& params) {
    return isOn(params.yoyoMission) ? static_cast<double>(params.missionYoyoMaxDepth)
                                    : params.wayPointDepth;
}

DepthRange depthRange(const Profile& profile, const MissionParameters& params) {
    double low = profile.anyKnown ? std::min(0.0, profile.low) : 0.0;
    double high = profile.anyKnown ? profile.high : 0.0;
    // No sea is deeper, and no land higher: a grid's value beyond is drawn off the plot
    // rather than stretch the axis past every real depth.
    low = std::max(low, -kHighestGround);
    high = std::min(high, kDeepestSea);
    const double commanded = commandedBottom(params);
    if (std::isfinite(commanded)) {
        high = std::clamp(commanded, high, kDeepestSea);
    }
    DepthRange range;
    if (std::isfinite(params.abortDepth) &&
        params.abortDepth <= kAbortDepthReach * std::max(high, 1.0)) {
        high = std::clamp(params.abortDepth, high, kDeepestSea);
        range.abortDepthShown = true;
    }
    if (!(high > low)) {
        high = low + 1.0;
    }
    range.axis = depthAxis(low, high);
    return range;
}

struct Scale {
    const Profile& profile;
    AxisTicks axis;
    double x(double meters) const { return profileX(profile, meters); }
    // Off the plot by at most its own height: the clip hides it all the same.
    double y(double depth) const {
        const double y = kPlotTop + (depth - axis.first) / (axis.last - axis.first) * kPlotHeight;
        return std::clamp(y, kPlotTop - kPlotHeight, kPlotBottom + kPlotHeight);
    }
};

void appendPolylinePoints(std::string& text, const std::vector<double>& x,
                          const std::vector<double>& y, const std::vector<std::size_t>& kept,
                          const Scale& scale, double offset) {
    for (std::size_t k = 0; k < kept.size(); ++k) {
        if (k != 0) {
            text += ' ';
        }
        appendPixels(text, x[kept[k]]);
        text += ',';
        appendPixels(text, scale.y(y[kept[k]] - offset));
    }
    if (kept.size() == 1) { // a run of one place: a dot
        text += ' ';
        appendPixels(text, x[kept[0]]);
        text += ',';
        appendPixels(text, scale.y(y[kept[0]] - offset));
    }
}

void appendPolyline(std::string& text, const char* element, const std::vector<double>& x,
                    const std::vector<double>& y, const std::vector<std::size_t>& kept,
                    const Scale& scale, double offset = 0.0) {
    text += "<polyline class=\"";
    text += element;
    text += "\" points=\"";
    appendPolylinePoints(text, x, y, kept, scale, offset);
    text += "\"/>\n";
}

// The shallowest cells as the checks judge them: each sample's value held over the part of
// the run it stands for (half way to its neighbours), a step where the cells judged change
// rather than a ramp between samples, which no cell has; equal neighbours make one step.
struct Steps {
    std::vector<double> x; // page units, two vertices a step
    std::vector<double> value;
};

Steps shallowestSteps(const SeabedRun& run) {
    Steps steps;
    const std::size_t count = run.x.size();
    for (std::size_t i = 0; i < count; ++i) {
        const double left = i == 0 ? run.x[0] : (run.x[i - 1] + run.x[i]) / 2.0;
        const double right = i + 1 == count ? run.x[i] : (run.x[i] + run.x[i + 1]) / 2.0;
        if (!steps.value.empty() && steps.value.back() == run.shallowest[i]) {
            steps.x.back() = right;
            continue;
        }
        steps.x.insert(steps.x.end(), {left, right});
        steps.value.insert(steps.value.end(), {run.shallowest[i], run.shallowest[i]});
    }
    return steps;
}

// The ground under the seabed, the band up to the shallowest cells, the seabed itself,
// and the lines of the altitudes the vehicle keeps above the shallowest cells.
void appendRun(std::string& text, const SeabedRun& run, const Scale& scale,
               const MissionParameters& params) {
    const std::vector<std::size_t> byDepth = thinnedToColumns(run.x, run.depth);
    const Steps steps = shallowestSteps(run);
    const std::vector<std::size_t> byShallowest = thinnedToColumns(steps.x, steps.value);
    text += "<path class=\"ground\" d=\"M";
    appendXY(text, run.x[byDepth.front()], kPlotBottom);
    for (const std::size_t i : byDepth) {
        text += " L";
        appendXY(text, run.x[i], scale.y(run.depth[i]));
    }
    text += " L";
    appendXY(text, run.x[byDepth.back()], kPlotBottom);
    text += " Z\"/>\n<path class=\"band\" d=\"M";
    for (std::size_t k = 0; k < byShallowest.size(); ++k) {
        const std::size_t i = byShallowest[k];
        if (k != 0) {
            text += " L";
        }
        appendXY(text, steps.x[i], scale.y(steps.value[i]));
    }
    for (auto i = byDepth.rbegin(); i != byDepth.rend(); ++i) {
        text += " L";
        appendXY(text, run.x[*i], scale.y(run.depth[*i]));
    }
    text += " Z\"/>\n";
    appendPolyline(text, "seabed", run.x, run.depth, byDepth, scale);
    if (isOn(params.yoyoMission)) {
        appendPolyline(text, "minaltitude", steps.x, steps.value, byShallowest, scale,
                       static_cast<double>(params.yoyoMinAltitude));
    }
    appendPolyline(text, "abortaltitude", steps.x, steps.value, byShallowest, scale,
                   params.abortAltitude);
}

void appendAcross(std::string& text, const char* element, double y) {
    text += "<path class=\"";
    text += element;
    text += "\" d=\"M";
    appendXY(text, kPlotLeft, y);
    text += " H";
    appendPixels(text, kPlotRight);
    text += "\"/>\n";
}

// The ticks' values, each a whole number of steps, so that 0 is 0 and not a rounding of it.
std::vector<double> tickValues(const AxisTicks& axis) {
    std::vector<double> values;
    const auto firstIndex = static_cast<std::int64_t>(std::llround(axis.first / axis.step));
    const auto lastIndex = static_cast<std::int64_t>(std::llround(axis.last / axis.step));
    for (std::int64_t index = firstIndex; index <= lastIndex; ++index) {
        values.push_back(static_cast<double>(index) * axis.step);
    }
    return values;
}

// Faint lines across the plot at the depth axis's ticks, under the ground.
void appendDepthGrid(std::string& text, const Scale& scale) {
    text += "<path class=\"grid\" d=\"";
    bool first = true;
    for (const double depth : tickValues(scale.axis)) {
        text += first ? "M" : " M";
        first = false;
        appendXY(text, kPlotLeft, scale.y(depth));
        text += " H";
        appendPixels(text, kPlotRight);
    }
    text += "\"/>\n";
}

void appendCommanded(std::string& text, const Scale& scale, const MissionParameters& params) {
    if (isOn(params.yoyoMission)) {
        const double top = scale.y(static_cast<double>(params.missionYoyoMinDepth));
        const double bottom = scale.y(static_cast<double>(params.missionYoyoMaxDepth));
        appendRect(text, "yoyo", kPlotLeft, std::min(top, bottom), kPlotRight,
                   std::max(top, bottom));
        text += '\n';
    } else if (std::isfinite(params.wayPointDepth)) {
        appendAcross(text, "commanded", scale.y(params.wayPointDepth));
    }
}

// At least a page unit wide, so that a short stretch is still seen.
std::pair<double, double> visibleSpan(const Scale& scale, const Span& span) {
    double left = scale.x(span.start);
    double right = scale.x(span.end);
    if (right - left < 1.0) {
        const double middle = (left + right) / 2.0;
        left = middle - 0.5;
        right = middle + 0.5;
    }
    return {left, right};
}

void appendUnknown(std::string& text, const Profile& profile, const Scale& scale) {
    for (const Span& span : profile.unknown) {
        const auto [left, right] = visibleSpan(scale, span);
        appendRect(text, "nodepth", left, kPlotTop, right, kPlotBottom);
        text += '\n';
    }
}

// The stretches of one severity along the route, those that touch on the drawing merged.
std::vector<Span> failingSpans(const FindingMarks& marks, const SeaSurvey& sea,
                               FindingSeverity severity, double touching) {
    std::vector<Span> spans;
    for (const FindingMark& mark : marks.stretches) {
        const double start = sea.legs[mark.leg].routeStart;
        if (mark.severity == severity && std::isfinite(start)) {
            spans.push_back({start + mark.start, start + mark.end});
        }
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.start < b.start; });
    std::vector<Span> merged;
    for (const Span& span : spans) {
        if (!merged.empty() && span.start <= merged.back().end + touching) {
            merged.back().end = std::max(merged.back().end, span.end);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

// The parts of spans that no span of worse lies on (both sorted and apart, as failingSpans
// gives them), so that each stretch is tinted once, by its worst finding.
std::vector<Span> withoutWorse(const std::vector<Span>& spans, const std::vector<Span>& worse) {
    std::vector<Span> left;
    for (Span span : spans) {
        for (const Span& cut : worse) {
            if (cut.end <= span.start || cut.start >= span.end) {
                continue;
            }
            if (cut.start > span.start) {
                left.push_back({span.start, cut.start});
            }
            span.start = cut.end;
        }
        if (span.end > span.start) {
            left.push_back(span);
        }
    }
    return left;
}

void appendFailing(std::string& text, const FindingMarks& marks, const SeaSurvey& sea,
                   const Scale& scale, FindingSeverity severity) {
    const bool error = severity == FindingSeverity::error;
    const double touching = 0.5 * scale.profile.length / kPlotWidth;
    std::vector<Span> spans = failingSpans(marks, sea, severity, touching);
    if (!error) {
        spans = withoutWorse(spans, failingSpans(marks, sea, FindingSeverity::error, touching));
    }
    for (const Span& span : spans) {
        const auto [left, right] = visibleSpan(scale, span);
        appendRect(text, error ? "failing error" : "failing warning", left, kPlotTop, right,
                   kPlotBottom);
        appendRect(text, error ? "bar error" : "bar warning", left, kPlotTop, right,
                   kPlotTop + kBarHeight);
        text += '\n';
    }
    std::vector<double> places;
    for (const FindingMark& mark : marks.places) {
        const double x = scale.x(sea.legs[mark.leg].routeStart + mark.start);
        if (mark.severity == severity && std::isfinite(x)) {
            places.push_back(x);
        }
    }
    std::sort(places.begin(), places.end());
    std::string path;
    double last = -1.0;
    for (const double x : places) {
        if (!path.empty() && x - last < kMinColumn) {
            continue;
        }
        path += path.empty() ? "M" : " M";
        appendXY(path, x, kPlotTop);
        path += " V";
        appendPixels(path, kPlotBottom);
        last = x;
    }
    if (!path.empty()) {
        text += error ? "<path class=\"failplace error\" d=\""
                      : "<path class=\"failplace warning\" d=\"";
        text += path;
        text += "\"/>\n";
    }
}

struct RoutePoint {
    double x = 0.0;
    std::int32_t number = 0;
};

std::vector<RoutePoint> routePoints(const SeaSurvey& sea, const Scale& scale) {
    std::vector<RoutePoint> points;
    const auto add = [&points, &scale](double meters, std::int32_t number) {
        if (std::isfinite(meters)) {
            points.push_back({scale.x(meters), number});
        }
    };
    // Each leg's start, and its end where no leg starts from there on the axis.
    for (std::size_t k = 0; k < sea.legs.size(); ++k) {
        const SurveyLeg& leg = sea.legs[k];
        add(leg.routeStart, leg.fromNumber);
        if (k + 1 == sea.legs.size() || !std::isfinite(sea.legs[k + 1].routeStart)) {
            add(leg.routeStart + leg.length, leg.toNumber);
        }
    }
    return points;
}

// The first and the last point, and those between that stand spacing from the last one
// kept and from the last point.
std::vector<std::size_t> spacedOut(const std::vector<RoutePoint>& points, double spacing) {
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const bool end = i == 0 || i + 1 == points.size();
        if (end || (points[i].x - points[kept.back()].x >= spacing &&
                    points.back().x - points[i].x >= spacing)) {
            kept.push_back(i);
        }
    }
    return kept;
}

void appendRoutePoints(std::string& text, const SeaSurvey& sea, const Scale& scale) {
    const std::vector<RoutePoint> points = routePoints(sea, scale);
    const double surface = scale.y(0.0);
    for (const std::size_t i : spacedOut(points, kSurfaceMarkSpacing)) {
        text += "<path class=\"surfacing\" d=\"M";
        appendXY(text, points[i].x - 4.0, surface - 7.0);
        text += " L";
        appendXY(text, points[i].x + 4.0, surface - 7.0);
        text += " L";
        appendXY(text, points[i].x, surface);
        text += " Z\"/>\n";
    }
    for (const std::size_t i : spacedOut(points, kNumberSpacing)) {
        text += "<text class=\"number\" x=\"";
        appendPixels(text, points[i].x);
        text += "\" y=\"";
        appendPixels(text, kNumberY);
        text += "\">";
        appendInt(text, points[i].number);
        text += "</text>\n";
    }
}

void appendTickLabel(std::string& text, double x, double y, double value, int decimals) {
    text += "<text x=\"";
    appendPixels(text, x);
    text += "\" y=\"";
    appendPixels(text, y);
    text += "\">";
    appendFixed(text, value, decimals);
    text += "</text>";
}

void appendDepthAxis(std::string& text, const Scale& scale) {
    text += "<g class=\"depthaxis\">";
    for (const double value : tickValues(scale.axis)) {
        const double y = scale.y(value);
        text += "<path d=\"M";
        appendXY(text, kPlotLeft - 5.0, y);
        text += " H";
        appendPixels(text, kPlotLeft);
        text += "\"/>";
        appendTickLabel(text, kPlotLeft - 8.0, y + 4.0, value, scale.axis.decimals);
    }
    text += "<text class=\"title\" transform=\"translate(20 ";
    appendPixels(text, kPlotTop + kPlotHeight / 2.0);
    text += ") rotate(-90)\">water depth, m</text></g>\n";
}

void appendDistanceAxis(std::string& text, const Scale& scale) {
    const double length = scale.profile.length;
    const bool kilometers = length >= 2000.0;
    const double unit = kilometers ? 1000.0 : 1.0;
    const double step = roundStep(length / unit, 8);
    const int decimals = stepDecimals(step);
    text += "<g class=\"distanceaxis\">";
    for (std::int64_t index = 0; static_cast<double>(index) * step <= length / unit * (1.0 + 1e-9);
         ++index) {
        const double value = static_cast<double>(index) * step;
        const double x = scale.x(value * unit);
        text += "<path d=\"M";
        appendXY(text, x, kPlotBottom);
        text += " V";
        appendPixels(text, kPlotBottom + 5.0);
        text += "\"/>";
        appendTickLabel(text, x, kPlotBottom + 19.0, value, decimals);
    }
    text += "<text class=\"title\" x=\"";
    appendPixels(text, kPlotLeft + kPlotWidth / 2.0);
    text += "\" y=\"";
    appendPixels(text, kPlotBottom + 40.0);
    text += kilometers ? "\">distance from the launch waypoint, km</text></g>\n"
                       : "\">distance from the launch waypoint, m</text></g>\n";
}

std::string meters(double value) {
    std::string text;
    appendExact(text, value);
    return text + " m";
}

// A cell's side as the legend gives it: whole meters, or kilometres to a tenth.
std::string cellSide(double meters) {
    std::string text;
    if (meters >= 1000.0) {
        appendFixed(text, meters / 1000.0, 1);
        return text + " km";
    }
    appendFixed(text, meters, 0);
    return text + " m";
}

// The sides of the grid's cells along the route, "9.3 km" or, where the legs' cells differ
// as shown, "7.3–7.5 km"; empty where no leg lies on the grid.
struct CellSize {
    std::string eastWest;
    std::string northSouth;
};

std::string sideRange(double low, double high) {
    const std::string lowText = cellSide(low);
    const std::string highText = cellSide(high);
    if (lowText == highText) {
        return lowText;
    }
    // One unit for both where they share it: "7.3–7.5 km", but "950 m–1.2 km".
    const std::size_t unit = lowText.find(' ');
    const bool sameUnit = lowText.substr(unit) == highText.substr(highText.find(' '));
    return (sameUnit ? lowText.substr(0, unit) : lowText) + "–" + highText;
}

CellSize cellSize(const SeaSurvey& sea) {
    double lowWidth = 0.0;
    double highWidth = 0.0;
    double lowHeight = 0.0;
    double highHeight = 0.0;
    bool any = false;
    for (const LegSeabed& seabed : sea.seabed) {
        if (!(std::isfinite(seabed.cellWidth) && std::isfinite(seabed.cellHeight) &&
              seabed.cellWidth > 0.0 && seabed.cellHeight > 0.0)) {
            continue; // a leg off the grid, or one that could not be placed on it
        }
        lowWidth = any ? std::min(lowWidth, seabed.cellWidth) : seabed.cellWidth;
        highWidth = any ? std::max(highWidth, seabed.cellWidth) : seabed.cellWidth;
        lowHeight = any ? std::min(lowHeight, seabed.cellHeight) : seabed.cellHeight;
        highHeight = any ? std::max(highHeight, seabed.cellHeight) : seabed.cellHeight;
        any = true;
    }
    if (!any) {
        return {};
    }
    return {sideRange(lowWidth, highWidth), sideRange(lowHeight, highHeight)};
}

std::string profileLegend(const MissionParameters& params, bool abortDepthShown,
                          const CellSize& cells) {
    SvgLegend legend(12.0, kLegendFirstRow, kProfileWidth - 12.0);
    legend.add("seabed (bilinear)", legendLine("seabed"));
    legend.add("up to the shallowest of the 4 cells around, in steps (what is checked)",
               legendBox("band"));
    if (isOn(params.yoyoMission)) {
        legend.add("yo-yo band " + meters(params.missionYoyoMinDepth) + " to " +
                       meters(params.missionYoyoMaxDepth),
                   legendBox("yoyo"));
        legend.add("yoyoMinAltitude " + meters(params.yoyoMinAltitude) +
                       " above the shallowest cells",
                   legendLine("minaltitude"));
    } else {
        legend.add("wayPointDepth " + meters(params.wayPointDepth), legendLine("commanded"));
    }
    legend.add("abortAltitude " + meters(params.abortAltitude) + " above them",
               legendLine("abortaltitude"));
    legend.add("abortDepth " + meters(params.abortDepth) +
                   (abortDepthShown ? "" : ", below the plot"),
               legendLine("abortdepth"));
    legend.add("route point, at the surface", [](std::string& text, double x, double y) {
        text += "<path class=\"surfacing\" d=\"M";
        appendXY(text, x + 8.0, y - 5.0);
        text += " L";
        appendXY(text, x + 16.0, y - 5.0);
        text += " L";
        appendXY(text, x + 12.0, y + 2.0);
        text += " Z\"/>";
    });
    legend.add("no depth", legendBox("nodepth"));
    legend.add("error", legendBox("bar error"));
    legend.add("warning", legendBox("bar warning"));
    if (!cells.eastWest.empty()) {
        legend.add("cells " + cells.eastWest + " east-west, " + cells.northSouth + " north-south",
                   legendBox("cellsize"));
    }
    return legend.group();
}

} // namespace

AxisTicks depthAxis(double low, double high) {
    AxisTicks axis;
    axis.step = roundStep(high - low, 5);
    // A value a rounding error off a tick counts as on it.
    axis.first = low < 0.0 ? (std::ceil(low / axis.step - 1e-9) - 1.0) * axis.step : 0.0;
    axis.last = (std::floor(high / axis.step + 1e-9) + 1.0) * axis.step;
    axis.decimals = stepDecimals(axis.step);
    return axis;
}

std::vector<std::size_t> thinnedToColumns(const std::vector<double>& x,
                                          const std::vector<double>& value) {
    std::vector<std::size_t> kept;
    std::size_t start = 0;
    while (start < x.size()) {
        const double column = std::floor(x[start]);
        std::size_t end = start + 1;
        while (end < x.size() && std::floor(x[end]) == column) {
            ++end;
        }
        std::size_t lowest = start;
        std::size_t highest = start;
        for (std::size_t i = start; i < end; ++i) {
            lowest = value[i] < value[lowest] ? i : lowest;
            highest = value[i] > value[highest] ? i : highest;
        }
        kept.push_back(std::min(lowest, highest));
        if (lowest != highest) {
            kept.push_back(std::max(lowest, highest));
        }
        start = end;
    }
    return kept;
}

void writeDepthProfile(std::ostream& out, std::string& text, const SeaSurvey& sea,
                       const FindingMarks& marks, const MissionParameters& params) {
    if (sea.gridFile.empty()) {
        return;
    }
    const Profile profile = gatherProfile(sea);
    const DepthRange range = depthRange(profile, params);
    const Scale scale{profile, range.axis};

    text += "<h2>Depth along the route</h2>\n<p>The water depth under the route from ";
    appendXmlEscaped(text, sea.gridFile);
    text += ", depth increasing downward, against the distance run from the launch waypoint; "
            "the route's points are marked at the surface with their numbers.</p>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"profile\" viewBox=\"0 0 ";
    appendExact(text, kProfileWidth);
    text += ' ';
    appendExact(text, kProfileHeight);
    text += "\" role=\"img\" aria-label=\"Depth profile along the route\">\n"
            "<defs><clipPath id=\"plot\">";
    appendRect(text, "", kPlotLeft, kPlotTop, kPlotRight, kPlotBottom);
    text += "</clipPath><pattern id=\"hatch\" width=\"6\" height=\"6\" "
            "patternUnits=\"userSpaceOnUse\" patternTransform=\"rotate(45)\">"
            "<path d=\"M0 0 V6\"/></pattern></defs>\n";
    appendRect(text, "water", kPlotLeft, kPlotTop, kPlotRight, kPlotBottom);
    text += '\n';
    if (range.axis.first < 0.0) {
        appendRect(text, "air", kPlotLeft, kPlotTop, kPlotRight, scale.y(0.0));
        text += '\n';
    }
    text += "<g clip-path=\"url(#plot)\">\n";
    appendDepthGrid(text, scale);
    appendCommanded(text, scale, params);
    appendAcross(text, "surface", scale.y(0.0));
    for (const SeabedRun& run : profile.runs) {
        appendRun(text, run, scale, params);
        writeChunkIfFull(out, text);
    }
    // Over the ground, so that the abort depth shows below the seabed as well as above it.
    if (range.abortDepthShown) {
        appendAcross(text, "abortdepth", scale.y(params.abortDepth));
    }
    appendUnknown(text, profile, scale);
    appendFailing(text, marks, sea, scale, FindingSeverity::warning);
    appendFailing(text, marks, sea, scale, FindingSeverity::error);
    text += "</g>\n";
    appendRect(text, "frame", kPlotLeft, kPlotTop, kPlotRight, kPlotBottom);
    text += '\n';
    appendRoutePoints(text, sea, scale);
    appendDepthAxis(text, scale);
    appendDistanceAxis(text, scale);
    text += profileLegend(params, range.abortDepthShown, cellSize(sea));
    text += "</svg>\n";
    writeChunkIfFull(out, text);
}
