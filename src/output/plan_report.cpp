// The report of a plan check: the route point by point, the totals and the findings.
#include "output/plan_report.h"

#include "output/number_format.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Column widths, so that values up to a few thousand kilometers and hours stay aligned.
constexpr std::size_t kNumberWidth = 5;
constexpr std::size_t kKindWidth = 6;
constexpr std::size_t kLatitudeWidth = 10;
constexpr std::size_t kLongitudeWidth = 12;
constexpr std::size_t kHeadingWidth = 9;
constexpr std::size_t kValueWidth = 11;
constexpr std::size_t kDepthWidth = 10;

// A value too wide for its column still gets one blank, so that columns never run together.
void appendRight(std::string& text, const std::string& value, std::size_t width) {
    text.append(value.size() < width ? width - value.size() : 1, ' ');
    text += value;
}

void appendLeft(std::string& text, const std::string& value, std::size_t width) {
    text += value;
    if (value.size() < width) {
        text.append(width - value.size(), ' ');
    }
}

void appendFixedRight(std::string& text, double value, int decimals, std::size_t width) {
    std::string number;
    appendFixed(number, value, decimals);
    appendRight(text, number, width);
}

const char* kindName(WaypointKind kind) {
    switch (kind) {
    case WaypointKind::launch:
        return "launch";
    case WaypointKind::splitPoint:
        return "split";
    case WaypointKind::fromFile:
        break;
    }
    return "file";
}

std::string counted(std::size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void appendSummaryLine(std::string& text, const WaypointList& route) {
    std::size_t points = 0;
    std::size_t launch = 0;
    std::size_t fromFile = 0;
    std::size_t splitPoints = 0;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        ++points;
        launch += node->kind == WaypointKind::launch ? 1 : 0;
        fromFile += node->kind == WaypointKind::fromFile ? 1 : 0;
        splitPoints += node->kind == WaypointKind::splitPoint ? 1 : 0;
    }
    text += "Route of " + counted(points, "point") + ": " + counted(launch, "launch waypoint") +
            ", " + std::to_string(fromFile) + " from the file, " +
            counted(splitPoints, "split point") + "\n\n";
}

void appendHeader(std::string& text, bool depths) {
    appendRight(text, "No.", kNumberWidth);
    text += "  ";
    appendLeft(text, "Kind", kKindWidth);
    appendRight(text, "Latitude", kLatitudeWidth);
    appendRight(text, "Longitude", kLongitudeWidth);
    appendRight(text, "Heading", kHeadingWidth);
    appendRight(text, "Leg m", kValueWidth);
    appendRight(text, "Leg s", kValueWidth);
    appendRight(text, "Sum m", kValueWidth);
    appendRight(text, "Sum s", kValueWidth);
    if (depths) {
        appendRight(text, "Depth m", kDepthWidth);
    }
    text += '\n';
}

// The shallowest judged depth under the leg, "unknown" where the grid has none anywhere
// under it, "-" where there is no leg (the last point, an end off the globe).
std::string legDepthText(const SeaSurvey& sea, std::size_t leg) {
    if (leg >= sea.seabed.size() || sea.seabed[leg].samples.empty()) {
        return "-";
    }
    const SeabedSummary summary = summarizeSeabed(sea.seabed[leg]);
    if (!summary.anyKnown) {
        return "unknown";
    }
    std::string number;
    appendFixed(number, summary.shallowest, 1);
    return number;
}

void appendTotals(std::string& text, const RouteTotals& totals) {
    text += '\n';
    appendTotalsLines(text, totals);
}

void appendFindings(std::string& text, const std::vector<PlanFinding>& findings) {
    if (findings.empty()) {
        text += "\nFindings: none\n";
        return;
    }
    std::size_t errors = 0;
    for (const PlanFinding& finding : findings) {
        errors += finding.severity == FindingSeverity::error ? 1 : 0;
    }
    std::size_t notes = 0;
    for (const PlanFinding& finding : findings) {
        notes += finding.severity == FindingSeverity::note ? 1 : 0;
    }
    std::size_t unverified = 0;
    for (const PlanFinding& finding : findings) {
        unverified += finding.severity == FindingSeverity::unverified ? 1 : 0;
    }
    text += "\nFindings: " + counted(errors, "error") + ", " +
            counted(findings.size() - errors - notes - unverified, "warning") +
            (unverified == 0 ? std::string() : ", " + std::to_string(unverified) + " unverified") +
            (notes == 0 ? std::string() : ", " + counted(notes, "note")) + "\n";
    for (const PlanFinding& finding : findings) {
        text += findingText(finding);
        text += '\n';
    }
}

} // namespace

void writePlanReport(std::ostream& out, const WaypointList& route, const RouteTotals& totals,
                     const std::vector<PlanFinding>& findings) {
    writePlanReport(out, route, totals, findings, nullptr);
}

void writePlanReport(std::ostream& out, const WaypointList& route, const RouteTotals& totals,
                     const std::vector<PlanFinding>& findings, const SeaSurvey* sea) {
    const bool depths = sea != nullptr && !sea->gridFile.empty();
    std::string text;
    startChunks(text);
    appendSummaryLine(text, route);
    appendHeader(text, depths);
    std::size_t leg = 0;
    // Summed in the same order and precision as the route totals, so that the last row
    // shows exactly the totals below the table.
    long double distanceRun = 0.0L;
    long double timeRun = 0.0L;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        std::string number;
        appendInt(number, node->wptNumber);
        appendRight(text, number, kNumberWidth);
        text += "  ";
        appendLeft(text, kindName(node->kind), kKindWidth);
        appendFixedRight(text, node->lat, 4, kLatitudeWidth);
        appendFixedRight(text, normalLongitude(node->lon), 4, kLongitudeWidth);
        appendFixedRight(text, node->legHeading, 1, kHeadingWidth);
        appendFixedRight(text, node->legDistance, 1, kValueWidth);
        appendFixedRight(text, node->legTime, 1, kValueWidth);
        appendFixedRight(text, static_cast<double>(distanceRun), 1, kValueWidth);
        appendFixedRight(text, static_cast<double>(timeRun), 1, kValueWidth);
        if (depths) {
            appendRight(text, node->next == nullptr ? "-" : legDepthText(*sea, leg), kDepthWidth);
        }
        ++leg;
        text += '\n';
        distanceRun += node->legDistance;
        timeRun += node->legTime;
        writeChunkIfFull(out, text);
    }
    text += "\nLeg: the leg that leaves the point. Sum: distance and time run when the point is "
            "reached.\n";
    if (depths) {
        text += "Depth: the shallowest water depth under the leg, from " + sea->gridFile +
                ": at each place read, the shallowest of the four grid cells around it, over "
                "the part of the leg the grid covers.\n";
    }
    appendTotals(text, totals);
    appendFindings(text, findings);
    writeRest(out, text);
}
