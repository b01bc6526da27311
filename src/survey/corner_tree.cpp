// A tree of boxes over the water's corners, halved at the median of the longer side, and the
// walk through it by the detour.
#include "survey/corner_tree.h"

#include <algorithm>
#include <cmath>

namespace {

// A box of no more corners than this is not halved.
constexpr std::uint32_t kCornersPerBox = 16;
// A box's bound is lowered by this share: the detour of a corner and the distances to its box
// are rounded apart, and a bound a little low only opens a box a little early.
constexpr double kBoundMargin = 1e-12;

} // namespace

CornerTree cornerTree(const std::vector<PlanePoint>& corners) {
    CornerTree tree;
    if (corners.empty()) {
        return tree;
    }
    tree.order.resize(corners.size());
    for (std::uint32_t i = 0; i < tree.order.size(); ++i) {
        tree.order[i] = i;
    }
    tree.boxes.push_back({{}, {}, 0, static_cast<std::uint32_t>(corners.size()), 0});
    // Boxes are halved in the order they were made: each one's halves follow the boxes before.
    for (std::size_t at = 0; at < tree.boxes.size(); ++at) {
        CornerTree::Box box = tree.boxes[at];
        box.low = box.high = corners[tree.order[box.begin]];
        for (std::uint32_t k = box.begin; k < box.end; ++k) {
            const PlanePoint p = corners[tree.order[k]];
            box.low = {std::min(box.low.x, p.x), std::min(box.low.y, p.y)};
            box.high = {std::max(box.high.x, p.x), std::max(box.high.y, p.y)};
        }
        if (box.end - box.begin > kCornersPerBox) {
            const bool alongX = box.high.x - box.low.x >= box.high.y - box.low.y;
            const std::uint32_t middle = box.begin + (box.end - box.begin) / 2;
            const auto start = tree.order.begin();
            std::nth_element(start + box.begin, start + middle, start + box.end,
                             [&](std::uint32_t a, std::uint32_t b) {
                                 return alongX ? corners[a].x < corners[b].x
                                               : corners[a].y < corners[b].y;
                             });
            box.first = static_cast<std::uint32_t>(tree.boxes.size());
            tree.boxes.push_back({{}, {}, box.begin, middle, 0});
            tree.boxes.push_back({{}, {}, middle, box.end, 0});
        }
        tree.boxes[at] = box;
    }
    return tree;
}

DetourWalk::DetourWalk(const CornerTree& tree, const std::vector<PlanePoint>& corners,
                       PlanePoint from, PlanePoint to)
    : tree_(tree), corners_(corners), from_(from), to_(to) {
    if (!tree_.boxes.empty()) {
        boxes_.push({boxBound(tree_.boxes.front()), 0});
    }
}

// No corner of the box has a shorter detour than the box's nearest points to either end.
double DetourWalk::boxBound(const CornerTree::Box& box) const {
    const auto nearest = [&](PlanePoint p) {
        return PlanePoint{std::clamp(p.x, box.low.x, box.high.x),
                          std::clamp(p.y, box.low.y, box.high.y)};
    };
    const double bound = distance(from_, nearest(from_)) + distance(nearest(to_), to_);
    return bound * (1.0 - kBoundMargin);
}

bool DetourWalk::next(std::size_t& corner, double& detour) {
    // A corner goes out only when no box left can hold one of a shorter or equal detour (an
    // equal one might be of a lower number).
    while (!boxes_.empty() && (found_.empty() || !(found_.top().first < boxes_.top().first))) {
        const CornerTree::Box& box = tree_.boxes[boxes_.top().second];
        boxes_.pop();
        if (box.first != 0) {
            boxes_.push({boxBound(tree_.boxes[box.first]), box.first});
            boxes_.push({boxBound(tree_.boxes[box.first + 1]), box.first + 1});
            continue;
        }
        for (std::uint32_t k = box.begin; k < box.end; ++k) {
            const std::uint32_t c = tree_.order[k];
            found_.push({distance(from_, corners_[c]) + distance(corners_[c], to_), c});
        }
    }
    if (found_.empty()) {
        return false;
    }
    corner = found_.top().second;
    detour = found_.top().first;
    found_.pop();
    return true;
}
