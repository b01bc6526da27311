// Fuzz target: survey generation on areas made from the input, in meters around a point of
// Monterey Bay: GEOS and PROJ on whatever polygons come, valid or not.
#include "check.h"
#include "output/survey_waypoint_writer.h"
#include "route/geodesy.h"
#include "survey/launch_check.h"
#include "survey/survey_plan.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <geodesic.h>
#include <string>
#include <vector>

namespace {

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    std::uint8_t next() { return at < size ? data[at++] : 0; }
    // Meters within 2.5 km either way, on a 10 cm grid, so that vertices meet and lines
    // run through them often.
    double meters() {
        const auto raw = static_cast<std::int16_t>(next() | (next() << 8));
        return raw / 32768.0 * 2500.0;
    }
};

GeoRing ring(Bytes& bytes, std::size_t count) {
    static const geod_geodesic ellipsoid = [] {
        geod_geodesic g;
        geod_init(&g, 6378137.0, 1.0 / 298.257223563);
        return g;
    }();
    GeoRing points;
    for (std::size_t i = 0; i < count; ++i) {
        const double east = std::round(bytes.meters() * 10.0) / 10.0;
        const double north = std::round(bytes.meters() * 10.0) / 10.0;
        GeoPoint p;
        geod_direct(&ellipsoid, 36.8, -121.95, std::atan2(east, north) * 180.0 / M_PI,
                    std::hypot(east, north), &p.lat, &p.lon, nullptr);
        points.push_back(p);
    }
    return points;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes{data, size};
    GeoArea area;
    area.outer = ring(bytes, 3 + bytes.next() % 10);
    const std::size_t holes = bytes.next() % 3;
    for (std::size_t h = 0; h < holes; ++h) {
        area.holes.push_back(ring(bytes, 3 + bytes.next() % 6));
    }
    SurveyRequest request;
    request.spacing = 20.0 + bytes.next() * 2.0;
    const std::uint8_t options = bytes.next();
    if (options & 1U) {
        request.heading = bytes.next() * 360.0 / 256.0;
    }
    if (options & 2U) {
        request.runIn = bytes.next();
    }
    if (options & 4U) {
        request.startNear = GeoPoint{36.8 + (bytes.next() - 128) * 1e-4, -121.95};
    }
    request.crossLines = (options >> 3) % 3;
    // Legs from 50 m up: the cut points must leave none longer for the planner.
    request.maxLegMeters = 50.0 + bytes.next() * 20.0;

    const SurveyResult result = planSurvey(area, request);
    if (!result.ok) {
        FUZZ_CHECK(!result.error.empty());
        return 0;
    }
    const SurveyPlan& plan = result.plan;
    FUZZ_CHECK(!plan.lines.empty());
    FUZZ_CHECK(plan.lineCells.size() == plan.lines.size());
    FUZZ_CHECK(plan.runs.size() == plan.lines.size() + plan.crossLines.size());
    FUZZ_CHECK(plan.ways.size() + 1 == plan.runs.size());
    FUZZ_CHECK(plan.turns + 1 == plan.runs.size());
    FUZZ_CHECK(plan.waypoints.size() >= 2 * plan.runs.size());
    FUZZ_CHECK(plan.heading >= 0.0 && plan.heading < 180.0);
    FUZZ_CHECK(std::isfinite(plan.lineLength) && plan.lineLength > 0.0);
    FUZZ_CHECK(std::isfinite(plan.transitLength) && plan.transitLength >= 0.0);
    for (const GeoPoint& p : plan.waypoints) {
        FUZZ_CHECK(std::abs(p.lat - 36.8) < 0.1 && std::abs(p.lon + 121.95) < 0.1);
    }
    for (std::size_t i = 0; i + 1 < plan.waypoints.size(); ++i) {
        const GeoPoint a = asWritten(plan.waypoints[i]);
        const GeoPoint b = asWritten(plan.waypoints[i + 1]);
        FUZZ_CHECK(greatCircleDistance(a.lat, a.lon, b.lat, b.lon) <= request.maxLegMeters);
    }
    FUZZ_CHECK(!plan.pieces.empty() && plan.pieces.back().last + 1 == plan.waypoints.size());
    // A launch leg from anywhere near to the first waypoint: at most one finding, a sentence.
    const GeoPoint launch{36.8 + (bytes.next() - 128) * 1e-4,
                          -121.95 + (bytes.next() - 128) * 1e-4};
    const std::vector<PlanFinding> launchFindings =
        checkLaunchLeg(area, launch, plan.waypoints.front());
    FUZZ_CHECK(launchFindings.size() <= 1);
    for (const PlanFinding& finding : launchFindings) {
        FUZZ_CHECK(!finding.message.empty() && finding.message.find('\n') == std::string::npos);
    }
    return 0;
}
