// Scores of every candidate heading at once, for areas of many vertices, where weighing each
// heading by a walk round every ring would take the square of the vertices: how far the
// rings climb across the lines, and how wide the area is across them.
#pragma once

#include "survey/geos_context.h"
#include "survey/plane.h"

#include <vector>

// Meters the boundary and the holes climb across lines of any heading: twice the spacing
// times the lines a heading takes, without the rounding of each line to the grid. The edges
// are sorted by heading once, so that each heading costs a binary search.
class AcrossClimb {
  public:
    explicit AcrossClimb(const PlaneArea& area); // east/north frame
    double at(double heading) const;             // degrees in [0, 180); meters

  private:
    std::vector<double> headings_; // of the edges turned eastwards, radians, sorted
    std::vector<double> east_;     // prefix sums of the edges' east and north components
    std::vector<double> north_;
};

// Of the sorted headings, in each span of spanDegrees the one of least climb (the smaller
// among equals), and of those the most of least climb, sorted: spread over the directions,
// as the least climbs of all would bunch round one direction and miss a better one nearby.
std::vector<double> leastClimbing(const AcrossClimb& climb,
                                  const std::vector<double>& sortedHeadings, double spanDegrees,
                                  std::size_t most);

// The width of the area across lines of each heading (sorted, degrees in [0, 180)), as
// acrossExtent gives it, from the convex hull of the boundary: its extreme vertex moves round
// the hull as the heading turns, so all of them cost the hull once and a step or two each.
std::vector<double> widthsAcross(const Geos& geos, const PlaneArea& area,
                                 const std::vector<double>& sortedHeadings);
