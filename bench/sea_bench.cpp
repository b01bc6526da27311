// The sea checks of a survey of 1000 waypoints: over a grid of GEBCO's global size, made on
// the spot, and against the land of the whole world in Natural Earth's 10 m detail.
#include "route/plan_check.h"
#include "route/route_planner.h"
#include "sea/gdal_depth_grid.h"
#include "sea/sea_zones.h"
#include "sea/survey_route.h"
#include "sea_fixtures.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <gdal_priv.h>
#include <memory>
#include <ogrsf_frmts.h>
#include <string>

namespace {

struct PlannedSurvey {
    WaypointList route;
    MissionParameters params;
};

const PlannedSurvey& survey() {
    static const std::unique_ptr<PlannedSurvey> planned = [] {
        auto result = std::make_unique<PlannedSurvey>();
        fillSeaRoute(result->route);
        RouteTotals totals;
        planRoute(result->route, result->params, totals);
        return result;
    }();
    return *planned;
}

// The grid is written once per process and removed at its end.
class GridFile {
  public:
    GridFile() {
        folder = std::filesystem::temp_directory_path() / "tavra_sea_bench";
        std::filesystem::create_directories(folder);
        path = (folder / "gebco_size.tif").string();
        error = writeGebcoSizeGrid(path);
    }
    ~GridFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
    std::string path;
    std::string error;
};

void BM_SeaOverGebcoSizeGrid(benchmark::State& state) {
    static const GridFile grid;
    if (!grid.error.empty()) {
        state.SkipWithError(grid.error.c_str());
        return;
    }
    const PlannedSurvey& planned = survey();
    std::size_t findings = 0;
    for (auto _ : state) {
        GridOpening opening = openDepthGrid(grid.path, "gebco_size.tif", false);
        const SeaSurveyResult measured =
            surveyRoute(planned.route, SeaRequest{opening.grid.get(), "gebco_size.tif", {}, 0.0});
        findings = checkSea(planned.params, measured.survey).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_SeaOverGebcoSizeGrid)->Unit(benchmark::kMillisecond);

// The land as the input layer hands it on: one area per polygon. Reading the TopoJSON is
// the input layer's work and is timed with the whole run in bench/sea.sh.
const std::vector<GeoArea>& worldLand(const std::string& path) {
    static const std::vector<GeoArea> areas = [&path] {
        std::vector<GeoArea> read;
        GDALAllRegister();
        GDALDatasetUniquePtr dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
        if (!dataset) {
            return read;
        }
        for (const auto& feature : dataset->GetLayer(0)) {
            for (GeoArea& area : areasOf(*feature->GetGeometryRef(), "land")) {
                read.push_back(std::move(area));
            }
        }
        return read;
    }();
    return areas;
}

void BM_SeaAgainstWorldLand(benchmark::State& state) {
    const std::string path = landFile();
    if (path.empty() || worldLand(path).empty()) {
        state.SkipWithError(
            "no land-10m.json: npm install world-atlas, or name its folder in TAVRA_WORLD_ATLAS");
        return;
    }
    const PlannedSurvey& planned = survey();
    std::size_t findings = 0;
    for (auto _ : state) {
        const SeaSurveyResult measured = surveyRoute(
            planned.route,
            SeaRequest{nullptr,
                       "",
                       {ZoneSource{ZoneKind::keepOut, "land-10m.json", worldLand(path)}},
                       200.0});
        findings = checkSea(planned.params, measured.survey).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["areas"] = static_cast<double>(worldLand(path).size());
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_SeaAgainstWorldLand)->Unit(benchmark::kMillisecond);

} // namespace
