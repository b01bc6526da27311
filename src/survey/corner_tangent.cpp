// Tangent legs at a corner, tested one by one and ruled out box by box.
#include "survey/corner_tangent.h"

#include "survey/free_way.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The side of the line from o through at that p lies on, when p lies farther from it than a
// way may stray past the water's edge: 1 left, -1 right, 0 nearer. The end of a line lies on
// an edge of the shore only up to the rounding of its coordinates.
int sidePastTolerance(PlanePoint o, PlanePoint at, PlanePoint p) {
    const double dx = at.x - o.x;
    const double dy = at.y - o.y;
    const double left = dx * (p.y - o.y);
    const double right = dy * (p.x - o.x);
    const double cross = left - right;
    const double bound = kSideBound * (std::abs(left) + std::abs(right));
    // The distance from the line is the cross product over the line's length: compared in
    // squares, which a search of ways asks of millions of pairs.
    if (cross * cross <= kWayTolerance * kWayTolerance * (dx * dx + dy * dy) ||
        std::abs(cross) <= bound) {
        return 0;
    }
    return cross > 0.0 ? 1 : -1;
}

} // namespace

// Whether a straight way between the corner and another point can be a leg of a shortest way
// that bends at the corner. A shortest way is taut: where it bends, it bends round the land,
// so the land's two edges at the corner lie on one side of each leg's line. Where they lie
// plainly on either side, that line runs on past the corner into the land, and either a leg
// crosses the land or the way could be shortened beside the corner. Most corners of a ragged
// shore are teeth that a way meets only along the shore, so most pairs need no test at all.
bool tangentAt(PlanePoint at, const std::array<PlanePoint, 2>& sides, PlanePoint other) {
    const int before = sidePastTolerance(other, at, sides[0]);
    const int after = sidePastTolerance(other, at, sides[1]);
    return before == 0 || after == 0 || before == after;
}

Untangent::Untangent(PlanePoint at, const std::array<PlanePoint, 2>& sides) : at_(at) {
    for (std::size_t k = 0; k < 2; ++k) {
        normal_[k] = {at.y - sides[k].y, sides[k].x - at.x};
        sideReach_ = std::max(sideReach_, std::abs(normal_[k].x) + std::abs(normal_[k].y));
    }
}

// Each of a wedge's two sides is a test of a cross product, linear in the place, less the
// tolerance times the distance from the corner, so a concave function of the place: where it
// holds with room to spare at a box's four corners, it holds in the whole box, the room
// covering the roundings of this and of tangentAt's own arithmetic.
bool Untangent::holdsIn(PlanePoint low, PlanePoint high) const {
    const std::array<PlanePoint, 4> corners{low, PlanePoint{high.x, low.y}, high,
                                            PlanePoint{low.x, high.y}};
    std::array<std::array<double, 2>, 4> cross{};
    std::array<double, 4> squared{};
    double reach = 0.0; // bounds every distance from the corner, as sums of two sides
    for (std::size_t c = 0; c < 4; ++c) {
        const double dx = corners[c].x - at_.x;
        const double dy = corners[c].y - at_.y;
        reach = std::max(reach, std::abs(dx) + std::abs(dy));
        squared[c] = dx * dx + dy * dy;
        for (std::size_t k = 0; k < 2; ++k) {
            cross[c][k] = normal_[k].x * dx + normal_[k].y * dy;
        }
    }
    const double room = 8.0 * kSideBound * reach * (reach + 2.0 * sideReach_);
    const double tolerance = kWayTolerance * (1.0 + 1e-9);
    const auto plainly = [&](double side) {
        for (std::size_t c = 0; c < 4; ++c) {
            for (std::size_t k = 0; k < 2; ++k) {
                const double past = (k == 0 ? side : -side) * cross[c][k] - room;
                if (!(past > 0.0 && past * past > tolerance * tolerance * squared[c])) {
                    return false;
                }
            }
        }
        return true;
    };
    return plainly(1.0) || plainly(-1.0);
}
