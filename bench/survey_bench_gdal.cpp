// Survey lines from an area: a 10 km x 10 km square with three islands at 20 m spacing (laid
// 11 m apart, so that rounding to 0.0001 degrees opens no gap: some 1000 lines), laid out
// with the heading chosen, then planned as a route; the same square 22 km across, for some
// 2700 lines.
#include "big_area_shapes.h"
#include "route/route_planner.h"
#include "survey/survey_plan.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <geodesic.h>
#include <utility>
#include <vector>

namespace {

// The point east, north meters from the origin along the geodesic, on WGS 84.
GeoPoint offset(GeoPoint origin, double east, double north) {
    static const geod_geodesic ellipsoid = [] {
        geod_geodesic g;
        geod_init(&g, 6378137.0, 1.0 / 298.257223563);
        return g;
    }();
    GeoPoint p;
    geod_direct(&ellipsoid, origin.lat, origin.lon, std::atan2(east, north) * 180.0 / M_PI,
                std::hypot(east, north), &p.lat, &p.lon, nullptr);
    return p;
}

GeoRing ring(GeoPoint origin, const std::vector<std::pair<double, double>>& corners) {
    GeoRing points;
    for (const auto& [east, north] : corners) {
        points.push_back(offset(origin, east, north));
    }
    return points;
}

// Islands of 1 km, 1.5 km and 800 m, the last turned 30 degrees to the lines; every length
// times scale.
GeoArea squareWithThreeIslands(double scale = 1.0) {
    const GeoPoint origin{36.70, -122.10};
    const auto scaled = [scale](std::vector<std::pair<double, double>> corners) {
        for (auto& [east, north] : corners) {
            east *= scale;
            north *= scale;
        }
        return corners;
    };
    GeoArea area;
    area.outer = ring(origin, scaled({{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}}));
    area.holes.push_back(
        ring(origin, scaled({{2000, 2000}, {3000, 2000}, {3000, 3000}, {2000, 3000}})));
    area.holes.push_back(
        ring(origin, scaled({{6000, 5000}, {7500, 5000}, {7500, 6500}, {6000, 6500}})));
    area.holes.push_back(
        ring(origin, scaled({{3000, 7000}, {3693, 7400}, {3293, 8093}, {2600, 7693}})));
    return area;
}

SurveyRequest twentyMeters() {
    SurveyRequest request;
    request.spacing = 20.0;
    return request;
}

void reportLines(benchmark::State& state, const SurveyResult& result) {
    state.counters["lines"] = static_cast<double>(result.plan.lines.size());
    state.counters["cells"] = static_cast<double>(result.plan.cells);
    state.counters["waypoints"] = static_cast<double>(result.plan.waypoints.size());
}

// Lays the survey out over and over at the spacing; a refusal ends the case with its message.
void timeSurveys(benchmark::State& state, const GeoArea& area, double spacing) {
    SurveyRequest request;
    request.spacing = spacing;
    SurveyResult result;
    for (auto _ : state) {
        result = planSurvey(area, request);
        benchmark::DoNotOptimize(result.ok);
    }
    if (!result.ok) {
        state.SkipWithError(result.error.c_str());
    }
    reportLines(state, result);
}

void BM_SurveyTenKilometres(benchmark::State& state) {
    const GeoArea area = squareWithThreeIslands();
    SurveyResult result;
    for (auto _ : state) {
        result = planSurvey(area, twentyMeters());
        benchmark::DoNotOptimize(result.ok);
    }
    if (!result.ok) {
        state.SkipWithError(result.error.c_str());
    }
    reportLines(state, result);
}

void BM_SurveyTenKilometresTimesTwoPointTwo(benchmark::State& state) {
    timeSurveys(state, squareWithThreeIslands(2.2), 20.0);
}

// The survey and its planning as a route, as a run does before writing its files.
void BM_SurveyAndPlanTenKilometres(benchmark::State& state) {
    const GeoArea area = squareWithThreeIslands();
    SurveyResult result;
    for (auto _ : state) {
        result = planSurvey(area, twentyMeters());
        WaypointList route;
        for (const GeoPoint& waypoint : result.plan.waypoints) {
            appendNode(route, waypoint.lat, waypoint.lon);
        }
        MissionParameters params;
        RouteTotals totals;
        const PlanResult plan = planRoute(route, params, totals);
        benchmark::DoNotOptimize(plan.routePoints);
    }
    reportLines(state, result);
}

// A ragged shore: 400 vertices at random distances from 2.55 to 3 km round a point, nearly
// every one a turning point across the lines, some 200 cells at 50 m spacing. The heading
// search must stay linear in the vertices for each direction it weighs.
void BM_SurveyRaggedShore(benchmark::State& state) {
    const GeoPoint centre{36.80, -121.95};
    std::uint32_t seed = 3;
    GeoArea area;
    for (int i = 400; i-- > 0;) {
        seed = seed * 1664525U + 1013904223U; // a fixed shore for every run
        const double reach = 3000.0 * (0.85 + 0.15 * (seed >> 8) / 16777216.0);
        const double azimuth = 2.0 * M_PI * i / 400.0;
        area.outer.push_back(offset(centre, reach * std::sin(azimuth), reach * std::cos(azimuth)));
    }
    timeSurveys(state, area, 50.0);
}

GeoArea areaOf(const std::vector<std::vector<Point>>& rings) {
    GeoArea area;
    for (std::size_t r = 0; r < rings.size(); ++r) {
        GeoRing ring;
        for (const Point& p : rings[r]) {
            ring.push_back({p.lat, p.lon});
        }
        if (r == 0) {
            area.outer = std::move(ring);
        } else {
            area.holes.push_back(std::move(ring));
        }
    }
    return area;
}

// A shore of a chart's detail (argument: vertices) and one with rocks in it (argument:
// rocks, on a shore of 2000 vertices), at 50 m spacing, as bench/big_areas.sh runs them whole.
void BM_SurveyChartShore(benchmark::State& state) {
    const GeoArea area = areaOf(shore(static_cast<std::size_t>(state.range(0)), 0));
    timeSurveys(state, area, 50.0);
}

void BM_SurveyRocks(benchmark::State& state) {
    const GeoArea area = areaOf(shore(2000, static_cast<std::size_t>(state.range(0))));
    timeSurveys(state, area, 50.0);
}

} // namespace

BENCHMARK(BM_SurveyChartShore)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurveyRocks)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurveyRaggedShore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurveyTenKilometres)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurveyTenKilometresTimesTwoPointTwo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurveyAndPlanTenKilometres)->Unit(benchmark::kMillisecond);
