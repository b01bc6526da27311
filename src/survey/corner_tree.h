// The water's corners in a tree of boxes, handed out by the detour through them between two
// points: a search of ways takes the few dozen nearest of a shore's hundreds of thousands.
#pragma once

#include "survey/plane.h"

#include <cstdint>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

struct CornerTree {
    struct Box {
        PlanePoint low;
        PlanePoint high;
        std::uint32_t begin = 0; // where its corners begin in order
        std::uint32_t end = 0;
        std::uint32_t first = 0; // its two halves, first and first + 1; 0: none, corners
    };
    std::vector<Box> boxes;           // the whole first
    std::vector<std::uint32_t> order; // corner numbers, each box's a run of them
};

CornerTree cornerTree(const std::vector<PlanePoint>& corners);

// The corners in increasing order of the detour from, corner, to (distance from `from` plus
// distance to `to`, in meters), corners of equal detour by their numbers: the order a sort of
// every corner would give, found by opening only the boxes that can hold the next.
class DetourWalk {
  public:
    DetourWalk(const CornerTree& tree, const std::vector<PlanePoint>& corners, PlanePoint from,
               PlanePoint to);
    // The next corner's number and detour; false when every corner has been handed out.
    bool next(std::size_t& corner, double& detour);

  private:
    double boxBound(const CornerTree::Box& box) const;

    const CornerTree& tree_;
    const std::vector<PlanePoint>& corners_;
    PlanePoint from_;
    PlanePoint to_;
    using Entry = std::pair<double, std::uint32_t>; // detour or its bound, number
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> boxes_;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> found_;
};
