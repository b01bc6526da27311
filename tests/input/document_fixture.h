// What the tests of the GIS readers share: fixture files and positions in a comparable form.
#pragma once

#include "input/source_document.h"

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// (latitude, longitude, line) of each position.
using Located = std::vector<std::tuple<double, double, std::uint64_t>>;

inline Located located(const std::vector<SourcePoint>& points) {
    Located result;
    for (const SourcePoint& point : points) {
        result.emplace_back(point.lat, point.lon, point.line);
    }
    return result;
}

// The bytes of a file.
inline std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The path of a file in a folder under tests/data, appended piece by piece: GCC 12 warns
// of a bound it misreads in a + b + c.
inline std::string dataPath(const char* folder, const std::string& name) {
    std::string path = TAVRA_TEST_DATA_DIR;
    path += '/';
    path += folder;
    path += '/';
    path += name;
    return path;
}

// The bytes of a file under tests/data/input.
inline std::string fixtureBytes(const std::string& name) {
    return fileBytes(dataPath("input", name));
}

// The bytes of a file under examples/.
inline std::string exampleBytes(const std::string& name) {
    return fileBytes(dataPath("../../examples", name));
}

using Positions = std::vector<std::pair<double, double>>;

inline Positions positionsOnly(const std::vector<SourcePoint>& points) {
    Positions result;
    for (const SourcePoint& point : points) {
        result.emplace_back(point.lat, point.lon);
    }
    return result;
}

// The positions of examples/monterey_lawnmower.txt: "latitude longitude" lines after a
// comment line.
inline Positions plainExamplePositions() {
    std::istringstream text(exampleBytes("monterey_lawnmower.txt"));
    Positions positions;
    std::string line;
    while (std::getline(text, line)) {
        std::istringstream fields(line);
        double lat = 0.0;
        double lon = 0.0;
        if (!line.starts_with("#") && fields >> lat >> lon) {
            positions.emplace_back(lat, lon);
        }
    }
    return positions;
}

// Name, kind and shape of every candidate, for comparing lists of them.
inline std::vector<std::string> describe(const SourceDocument& document) {
    std::vector<std::string> lines;
    for (const SourceFeature& feature : document.features) {
        lines.push_back((feature.shape == FeatureShape::area ? "area " : "route ") + feature.kind +
                        " '" + feature.name + "' line " + std::to_string(feature.line));
    }
    return lines;
}
