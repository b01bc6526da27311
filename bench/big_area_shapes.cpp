// A shore with rocks and a star of spikes, of any number of vertices.
#include "big_area_shapes.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kMetersPerDegree = 111195.0;
constexpr double kPi = 3.14159265358979323846;

Point offset(Point centre, double east, double north) {
    return {centre.lat + north / kMetersPerDegree,
            centre.lon + east / (kMetersPerDegree * std::cos(centre.lat * kPi / 180.0))};
}

} // namespace

// A shore 12 km round a point, its bays and headlands a sum of waves of falling height, the
// same at every count of vertices, which only adds detail; the rocks are octagons of 30 m on
// a grid well inside it.
std::vector<std::vector<Point>> shore(std::size_t vertices, std::size_t holes) {
    const Point centre{36.80, -122.10};
    constexpr double kReach = 12000.0; // meters
    std::vector<std::vector<Point>> rings(1);
    for (std::size_t i = 0; i < vertices; ++i) {
        const double azimuth = 2.0 * kPi * static_cast<double>(i) / static_cast<double>(vertices);
        double scale = 1.0;
        for (int k = 2; k <= 24; ++k) {
            scale += 0.06 / k * std::sin(k * azimuth + 1.7 * k * k);
        }
        const double reach = kReach * scale;
        rings[0].push_back(offset(centre, reach * std::sin(azimuth), reach * std::cos(azimuth)));
    }
    const auto side = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(holes))));
    const double inner = kReach * 0.6; // the rocks' square lies inside every bay
    const double step = side > 0 ? 2.0 * inner / static_cast<double>(side) : 0.0;
    for (std::size_t h = 0; h < holes; ++h) {
        // Every other row shifted by a third of a step, so that no two rocks line up.
        const double east =
            -inner +
            (static_cast<double>(h % side) + 0.5 + ((h / side) % 2 == 0 ? 0.0 : 0.33)) * step;
        const double north = -inner + (static_cast<double>(h / side) + 0.5) * step;
        std::vector<Point> rock;
        for (int k = 8; k-- > 0;) {
            const double a = 2.0 * kPi * (k + 0.3) / 8.0;
            rock.push_back(offset(centre, east + 30.0 * std::sin(a), north + 30.0 * std::cos(a)));
        }
        rings.push_back(std::move(rock));
    }
    return rings;
}

// A star of spikes between 1.5 and 2 degrees from a point among the route's lines, so that
// its edge crosses the lines and most of it lies far from them.
std::vector<std::vector<Point>> star(std::size_t vertices) {
    const Point centre{36.0, -124.0};
    std::vector<std::vector<Point>> rings(1);
    for (std::size_t i = 0; i < vertices; ++i) {
        const double azimuth = 2.0 * kPi * static_cast<double>(i) / static_cast<double>(vertices);
        const double reach = (i % 2 == 0 ? 2.0 : 1.5) * kMetersPerDegree;
        rings[0].push_back(offset(centre, reach * std::sin(azimuth), reach * std::cos(azimuth)));
    }
    return rings;
}
