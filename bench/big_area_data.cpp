// Writes the large polygons of bench/big_areas.sh as GeoJSON: a shore of a chart's detail
// with rocks in it for --survey, and a star of thin spikes round the route for --keepOut.
//
// Usage: tavra_big_area_data shore VERTICES HOLES FILE
//        tavra_big_area_data star VERTICES FILE
#include "big_area_shapes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

void writeRing(std::ostream& out, const std::vector<Point>& ring) {
    out << '[';
    char text[64];
    for (std::size_t i = 0; i <= ring.size(); ++i) {
        const Point& p = ring[i % ring.size()]; // closed, as GeoJSON writes rings
        std::snprintf(text, sizeof text, "%s[%.8f,%.8f]", i == 0 ? "" : ",", p.lon, p.lat);
        out << text;
    }
    out << ']';
}

void writePolygon(std::ostream& out, const std::string& name,
                  const std::vector<std::vector<Point>>& rings) {
    out << "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\","
           "\"properties\":{\"name\":\""
        << name << "\"},\"geometry\":{\"type\":\"Polygon\",\"coordinates\":[";
    for (std::size_t i = 0; i < rings.size(); ++i) {
        out << (i == 0 ? "" : ",");
        writeRing(out, rings[i]);
    }
    out << "]}}]}\n";
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "shore" && argc == 5) {
        std::ofstream out(argv[4]);
        writePolygon(out, "shore",
                     shore(std::strtoul(argv[2], nullptr, 10), std::strtoul(argv[3], nullptr, 10)));
        return out ? 0 : 1;
    }
    if (what == "star" && argc == 4) {
        std::ofstream out(argv[3]);
        writePolygon(out, "star", star(std::strtoul(argv[2], nullptr, 10)));
        return out ? 0 : 1;
    }
    std::cerr << "usage: tavra_big_area_data shore VERTICES HOLES FILE\n"
                 "       tavra_big_area_data star VERTICES FILE\n";
    return 2;
}
