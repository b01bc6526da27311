// Throughput of reading, planning and each writer for routes of a quarter, one and four
// million points, in points and bytes per second.
#include "bench_routes.h"
#include "input/plain_reader.h"
#include "output/csv_summary_writer.h"
#include "output/mission_script_writer.h"
#include "output/survey_line_writer.h"
#include "output/waypoint_file_writer.h"
#include "route/route_planner.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <functional>
#include <string>

namespace {

void routeSizes(benchmark::internal::Benchmark* bench) {
    bench->Arg(250'000)->Arg(1'000'000)->Arg(4'000'000)->Unit(benchmark::kMillisecond);
}

void reportThroughput(benchmark::State& state, std::int64_t points, std::uint64_t bytes) {
    state.SetItemsProcessed(state.iterations() * points);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

// Bytes are those of the waypoint file read, from memory into the route.
void BM_ReadWaypoints(benchmark::State& state) {
    const std::int64_t points = state.range(0);
    const std::string text = randomWalkText(points);
    for (auto _ : state) {
        WaypointList list;
        {
            const DocumentResult result = readPlain(text, "walk.txt");
            for (const SourcePoint& point : result.document.features.front().points) {
                appendNode(list, point.lat, point.lon);
            }
        }
        benchmark::DoNotOptimize(list.tail);
        state.PauseTiming(); // releasing millions of nodes is not reading
        list = WaypointList();
        state.ResumeTiming();
    }
    reportThroughput(state, points, text.size());
}

// Bytes are those of the finished route's nodes.
void planBench(benchmark::State& state,
               const std::function<void(WaypointList&, MissionParameters&)>& fill) {
    std::int64_t points = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WaypointList list;
        MissionParameters params;
        fill(list, params);
        state.ResumeTiming();
        RouteTotals totals;
        const PlanResult result = planRoute(list, params, totals);
        benchmark::DoNotOptimize(totals);
        points = static_cast<std::int64_t>(result.routePoints);
        state.PauseTiming();
        list = WaypointList();
        state.ResumeTiming();
    }
    reportThroughput(state, points, static_cast<std::uint64_t>(points) * sizeof(WaypointNode));
}

// Many waypoints of short legs: every leg measured, none cut.
void BM_PlanRandomWalk(benchmark::State& state) {
    const std::int64_t points = state.range(0);
    planBench(state,
              [&](WaypointList& list, MissionParameters&) { fillRandomWalk(list, points - 1); });
}

// One long leg cut into pieces: almost every point is a split point placed by dead reckoning.
void BM_PlanLongLeg(benchmark::State& state) {
    const std::int64_t points = state.range(0);
    planBench(state, [&](WaypointList& list, MissionParameters& params) {
        fillLongLeg(list, points, params);
    });
}

void writerBench(benchmark::State& state,
                 const std::function<void(std::ostream&, const PlannedRoute&)>& write) {
    const std::int64_t points = state.range(0);
    const PlannedRoute& route = plannedRandomWalk(points);
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        CountingSink sink;
        std::ostream out(&sink);
        write(out, route);
        bytes = sink.bytes();
    }
    reportThroughput(state, points, bytes);
}

const std::string kStem = "2020_189_155.";

void BM_WriteMissionScript(benchmark::State& state) {
    writerBench(state, [](std::ostream& out, const PlannedRoute& route) {
        writeMissionScript(out, kStem + "cfg", route.list, route.params, route.totals);
    });
}

void BM_WriteWaypointFile(benchmark::State& state) {
    writerBench(state, [](std::ostream& out, const PlannedRoute& route) {
        writeWaypointFile(out, route.list);
    });
}

void BM_WriteSurveyLine(benchmark::State& state) {
    writerBench(state, [](std::ostream& out, const PlannedRoute& route) {
        writeSurveyLine(out, kStem + "pts", route.list);
    });
}

void BM_WriteCsvSummary(benchmark::State& state) {
    writerBench(state, [](std::ostream& out, const PlannedRoute& route) {
        writeCsvSummary(out, route.list, route.totals);
    });
}

} // namespace

BENCHMARK(BM_ReadWaypoints)->Apply(routeSizes);
BENCHMARK(BM_PlanRandomWalk)->Apply(routeSizes);
BENCHMARK(BM_PlanLongLeg)->Apply(routeSizes);
BENCHMARK(BM_WriteMissionScript)->Apply(routeSizes);
BENCHMARK(BM_WriteWaypointFile)->Apply(routeSizes);
BENCHMARK(BM_WriteSurveyLine)->Apply(routeSizes);
BENCHMARK(BM_WriteCsvSummary)->Apply(routeSizes);

BENCHMARK_MAIN();
