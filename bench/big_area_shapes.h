// The large polygons of the benchmarks, made on the spot: a shore of a chart's detail with
// rocks in it, and a star of thin spikes round the route of bench/big_areas.sh.
#pragma once

#include <cstddef>
#include <vector>

struct Point {
    double lat = 0.0; // degrees
    double lon = 0.0;
};

// The boundary first, then the rocks.
std::vector<std::vector<Point>> shore(std::size_t vertices, std::size_t holes);
std::vector<std::vector<Point>> star(std::size_t vertices);
