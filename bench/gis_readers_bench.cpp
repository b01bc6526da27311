// Throughput of the GIS readers on long lines, and the time GDAL takes over a world's land
// polygons, which the sea checks read whole as keep-out zones.
#include "input/document_readers.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// count positions along a random walk off Monterey, as "%.7f" text, longitude first.
template <typename Format> std::string walkText(std::int64_t count, Format format) {
    std::string text;
    double lat = 36.8;
    double lon = -121.9;
    std::uint32_t state = 12345;
    char position[96];
    for (std::int64_t i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        lat += (static_cast<int>((state >> 8) % 2001) - 1000) * 1e-6;
        lon += (static_cast<int>((state >> 16) % 2001) - 1000) * 1e-6;
        format(position, sizeof position, lat, lon, i + 1 == count);
        text += position;
    }
    return text;
}

std::string geoJsonLine(std::int64_t count) {
    return "{\"type\": \"LineString\", \"coordinates\": [\n" +
           walkText(count,
                    [](char* out, std::size_t size, double lat, double lon, bool last) {
                        std::snprintf(out, size, "[%.7f, %.7f]%s\n", lon, lat, last ? "" : ",");
                    }) +
           "]}\n";
}

template <typename Make, typename Read>
void readerBench(benchmark::State& state, Make make, Read read) {
    const std::int64_t points = state.range(0);
    const std::string bytes = make(points);
    for (auto _ : state) {
        const DocumentResult result = read(bytes, "bench");
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        benchmark::DoNotOptimize(result.document.features.data());
    }
    state.SetItemsProcessed(state.iterations() * points);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void BM_ReadGeoJsonLine(benchmark::State& state) {
    readerBench(state, geoJsonLine, readGeoJson);
}

#ifdef TAVRA_HAVE_XML
std::string kmlPath(std::int64_t count) {
    return "<kml><Placemark><LineString><coordinates>\n" +
           walkText(count, [](char* out, std::size_t size, double lat, double lon,
                              bool) { std::snprintf(out, size, "\t%.7f,%.7f,0\n", lon, lat); }) +
           "</coordinates></LineString></Placemark></kml>\n";
}

std::string gpxRoute(std::int64_t count) {
    return "<gpx><rte>\n" +
           walkText(count,
                    [](char* out, std::size_t size, double lat, double lon, bool) {
                        std::snprintf(out, size, "<rtept lat=\"%.7f\" lon=\"%.7f\"/>\n", lat, lon);
                    }) +
           "</rte></gpx>\n";
}

void BM_ReadKmlPath(benchmark::State& state) {
    readerBench(state, kmlPath, readKml);
}

void BM_ReadGpxRoute(benchmark::State& state) {
    readerBench(state, gpxRoute, readGpx);
}
#endif

#ifdef TAVRA_HAVE_GDAL
// Natural Earth's 1:10m land as npm's world-atlas ships it (TopoJSON, about 400 000
// vertices), from the folder TAVRA_WORLD_ATLAS names; skipped where it is not set.
void BM_ReadWorldLandWithGdal(benchmark::State& state) {
    const char* folder = std::getenv("TAVRA_WORLD_ATLAS");
    const std::string path = folder == nullptr ? "" : std::string(folder) + "/land-10m.json";
    if (path.empty() || !std::filesystem::exists(path)) {
        state.SkipWithError("TAVRA_WORLD_ATLAS does not name a folder with land-10m.json");
        return;
    }
    std::int64_t vertices = 0;
    for (auto _ : state) {
        const DocumentResult result = readWithGdal(path, "land-10m.json");
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        vertices = 0;
        for (const SourceFeature& feature : result.document.features) {
            for (const auto& ring : feature.rings) {
                vertices += static_cast<std::int64_t>(ring.size());
            }
        }
    }
    state.counters["vertices"] = static_cast<double>(vertices);
}
#endif

void lineSizes(benchmark::internal::Benchmark* bench) {
    bench->Arg(250'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_ReadGeoJsonLine)->Apply(lineSizes);
#ifdef TAVRA_HAVE_XML
BENCHMARK(BM_ReadKmlPath)->Apply(lineSizes);
BENCHMARK(BM_ReadGpxRoute)->Apply(lineSizes);
#endif
#ifdef TAVRA_HAVE_GDAL
BENCHMARK(BM_ReadWorldLandWithGdal)->Unit(benchmark::kMillisecond);
#endif
