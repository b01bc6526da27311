// Cut points of the survey's lines and transits, on the lines as laid out in the frame.
#include "survey/leg_split.h"

#include "output/survey_waypoint_writer.h"
#include "route/ellipsoid.h"
#include "route/geodesy.h"

#include <algorithm>
#include <cmath>

namespace {

// The frame measures a segment a little longer than the ellipsoid does away from its centre,
// and the planner's sphere may measure it up to about half a percent longer again: a cut
// that misses is tried again with more pieces, growing by this share, this many times.
constexpr double kMorePieces = 0.002;
constexpr int kMostTries = 64;

} // namespace

std::uint64_t leastPieces(double meters, double maxLegMeters) {
    const double pieces = std::ceil(meters / maxLegMeters);
    if (!(pieces >= 1.0)) {
        return 1;
    }
    return pieces < 1e18 ? static_cast<std::uint64_t>(pieces)
                         : std::uint64_t{1'000'000'000'000'000'000};
}

bool legFits(GeoPoint from, GeoPoint to, const LegLimit& limit) {
    const GeoPoint a = asWritten(from);
    const GeoPoint b = asWritten(to);
    if (!(greatCircleDistance(a.lat, a.lon, b.lat, b.lon) <= limit.maxLegMeters)) {
        return false;
    }
    return !limit.geodesic ||
           geodesicBetween(a.lat, a.lon, b.lat, b.lon).meters <= limit.maxLegMeters;
}

std::optional<std::vector<GeoPoint>> cutSegment(const AreaFrame& frame, PlanePoint a, PlanePoint b,
                                                GeoPoint start, GeoPoint end,
                                                const LegLimit& limit) {
    std::uint64_t pieces = leastPieces(distance(a, b), limit.maxLegMeters);
    std::vector<PlanePoint> plane;
    std::vector<GeoPoint> cuts;
    for (int tries = 0; tries < kMostTries; ++tries) {
        plane.clear();
        for (std::uint64_t k = 1; k < pieces; ++k) {
            const double share = static_cast<double>(k) / static_cast<double>(pieces);
            plane.push_back({a.x + (b.x - a.x) * share, a.y + (b.y - a.y) * share});
        }
        if (!toGeo(frame, plane, cuts)) {
            return std::nullopt;
        }
        cuts.insert(cuts.begin(), start);
        bool fits = true;
        for (std::size_t i = 0; i < cuts.size() && fits; ++i) {
            fits = legFits(cuts[i], i + 1 < cuts.size() ? cuts[i + 1] : end, limit);
        }
        if (fits) {
            return cuts;
        }
        pieces += std::max<std::uint64_t>(
            1, static_cast<std::uint64_t>(static_cast<double>(pieces) * kMorePieces));
    }
    return std::nullopt;
}
