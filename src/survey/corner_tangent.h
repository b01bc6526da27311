// Whether a straight leg can be part of a shortest way that bends at a corner of the water,
// and where no such leg can go: a search of ways weighs hundreds of legs at every corner of
// a ragged shore.
#pragma once

#include "survey/plane.h"

#include <array>

// A point's side of a line is taken as plain arithmetic gives it only when the cross product
// exceeds this share of its terms, far above their rounding.
constexpr double kSideBound = 1e-12;

// Whether a straight way between the corner (at, with the vertices before and after it on
// its ring) and another point can be a leg of a shortest way that bends at the corner.
bool tangentAt(PlanePoint at, const std::array<PlanePoint, 2>& sides, PlanePoint other);

// The places where tangentAt would not take a leg from a corner: two opposite wedges at the
// corner, through the land and straight on beyond it. At a corner of a shore of a chart's
// detail the land's two edges run nearly straight on, and the wedges take in nearly all the
// plane.
class Untangent {
  public:
    Untangent(PlanePoint at, const std::array<PlanePoint, 2>& sides);
    // Whether no place in the box from low to high is one tangentAt takes.
    bool holdsIn(PlanePoint low, PlanePoint high) const;

  private:
    PlanePoint at_;
    std::array<PlanePoint, 2> normal_{}; // crossed with a place less the corner: the side
    double sideReach_ = 0.0;             // the larger of the two sides, as a sum of two sides
};
