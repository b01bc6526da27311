// The cuts noded with the rings where the slices meet them, and the faces walked round.
#include "survey/cell_outlines.h"

#include "survey/decompose.h"
#include "survey/plane_faces.h"

#include <algorithm>
#include <cmath>

namespace {

// The cuts of one slice joined where they overlap, in order along it.
std::vector<Interval> joinedCuts(std::vector<Interval> cuts) {
    std::sort(cuts.begin(), cuts.end(),
              [](const Interval& a, const Interval& b) { return a.low < b.low; });
    std::vector<Interval> joined;
    for (const Interval& cut : cuts) {
        if (!joined.empty() && cut.low <= joined.back().high) {
            joined.back().high = std::max(joined.back().high, cut.high);
        } else {
            joined.push_back(cut);
        }
    }
    return joined;
}

// Whether x lies in one of the joined intervals, ends included.
bool within(const std::vector<Interval>& joined, double x) {
    const auto after = std::upper_bound(joined.begin(), joined.end(), x,
                                        [](double v, const Interval& i) { return v < i.low; });
    return after != joined.begin() && x <= std::prev(after)->high;
}

// Where a ring's edge is split: a point of it, by ring and edge.
struct EdgeSplit {
    std::size_t ring = 0;
    std::size_t edge = 0;
    PlanePoint at;
};

// The cuts of one slice at y, noded with every edge that meets the slice: their pieces between
// the points where edges meet them (those along an edge of a ring are that edge), and the
// points where they split the rings' edges.
void nodeSlice(double y, const std::vector<Interval>& sliceCuts, const std::vector<EdgeMeet>& meets,
               std::vector<FaceEdge>& pieces, std::vector<EdgeSplit>& splits) {
    const std::vector<Interval> cuts = joinedCuts(sliceCuts);
    std::vector<double> breaks;
    std::vector<Interval> alongEdges;
    for (const Interval& cut : cuts) {
        breaks.push_back(cut.low);
        breaks.push_back(cut.high);
    }
    for (const EdgeMeet& meet : meets) {
        breaks.push_back(meet.x.low);
        breaks.push_back(meet.x.high);
        if (meet.x.low < meet.x.high) {
            alongEdges.push_back(meet.x);
        }
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    const std::vector<Interval> along = joinedCuts(alongEdges);
    for (const Interval& cut : cuts) {
        auto at = std::lower_bound(breaks.begin(), breaks.end(), cut.low);
        for (; std::next(at) != breaks.end() && *std::next(at) <= cut.high; ++at) {
            // Between two breaks a piece lies along an edge of a ring throughout or nowhere.
            if (!within(along, (*at + *std::next(at)) / 2.0)) {
                pieces.push_back({{*at, y}, {*std::next(at), y}, true, true});
            }
        }
    }
    for (const EdgeMeet& meet : meets) {
        auto at = std::lower_bound(breaks.begin(), breaks.end(), meet.x.low);
        for (; at != breaks.end() && *at <= meet.x.high; ++at) {
            if (within(cuts, *at)) {
                splits.push_back({meet.ring, meet.edge, {*at, y}});
            }
        }
    }
}

bool samePoint(PlanePoint a, PlanePoint b) {
    return a.x == b.x && a.y == b.y;
}

// A ring (number r) as edges of the walk: its vertices and splits in order, the nodes marked
// (the splits, and the vertices split at), then cut at the nodes into stretches, each one
// edge with the water on its side. The splits of the ring come next from `split`.
void addStretches(const PlaneRing& ring, std::size_t r,
                  std::vector<EdgeSplit>::const_iterator& split,
                  std::vector<EdgeSplit>::const_iterator end, std::vector<FaceEdge>& edges) {
    // The boundary counterclockwise or a hole clockwise has the water to its left.
    const bool waterLeft = (r == 0) == (signedArea(ring) > 0.0);
    struct Place {
        PlanePoint at;
        bool node = false;
    };
    std::vector<Place> places;
    std::vector<PlanePoint> within; // the splits of one edge, between its ends
    bool markNext = false;          // the next vertex was split at, as the far end of an edge
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const PlanePoint a = ring[i];
        const PlanePoint b = ring[(i + 1) % ring.size()];
        if (places.empty() || !samePoint(places.back().at, a)) {
            places.push_back({a, false});
        }
        places.back().node = places.back().node || markNext;
        markNext = false;
        within.clear();
        for (; split != end && split->ring == r && split->edge == i; ++split) {
            if (samePoint(split->at, a)) {
                places.back().node = true;
            } else if (samePoint(split->at, b)) {
                markNext = true;
            } else {
                within.push_back(split->at);
            }
        }
        const auto along = [&](PlanePoint p) {
            return (p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y);
        };
        std::sort(within.begin(), within.end(),
                  [&](PlanePoint p, PlanePoint q) { return along(p) < along(q); });
        for (const PlanePoint& p : within) {
            if (samePoint(places.back().at, p)) {
                places.back().node = true;
            } else {
                places.push_back({p, true});
            }
        }
    }
    if (places.empty()) {
        return;
    }
    places.front().node = places.front().node || markNext; // the last edge ends at the first
    if (places.size() > 1 && samePoint(places.back().at, places.front().at)) {
        places.front().node = places.front().node || places.back().node;
        places.pop_back();
    }
    // A ring that nothing meets is one edge from a vertex round to itself.
    const auto first =
        std::find_if(places.begin(), places.end(), [](const Place& place) { return place.node; });
    const std::size_t begin =
        first == places.end() ? 0 : static_cast<std::size_t>(first - places.begin());
    const std::size_t n = places.size();
    FaceEdge edge{places[begin].at, places[begin].at, waterLeft, !waterLeft};
    for (std::size_t k = 1; k <= n; ++k) {
        const Place& place = places[(begin + k) % n];
        if (k == n || place.node) {
            edge.to = place.at;
            edges.push_back(std::move(edge));
            edge = FaceEdge{place.at, place.at, waterLeft, !waterLeft};
        } else {
            edge.through.push_back(place.at);
        }
    }
}

} // namespace

std::optional<std::vector<PlaneArea>> cellOutlines(const Geos& geos, const PlaneArea& area) {
    std::vector<double> ys;
    SliceMeets meets;
    const std::vector<Cut> cuts = cutsOnSlices(geos, area, ys, &meets);
    if (cuts.empty()) {
        return std::vector<PlaneArea>{area};
    }
    std::vector<std::vector<Interval>> cutsBySlice(ys.size());
    for (const Cut& cut : cuts) {
        const auto k =
            static_cast<std::size_t>(std::lower_bound(ys.begin(), ys.end(), cut.y) - ys.begin());
        cutsBySlice[k].push_back({cut.xLow, cut.xHigh});
    }
    std::vector<FaceEdge> edges;
    std::vector<EdgeSplit> splits;
    for (std::size_t k = 0; k < ys.size(); ++k) {
        if (!cutsBySlice[k].empty()) {
            nodeSlice(ys[k], cutsBySlice[k], meets[k], edges, splits);
        }
    }
    std::sort(splits.begin(), splits.end(), [](const EdgeSplit& a, const EdgeSplit& b) {
        return a.ring != b.ring ? a.ring < b.ring : a.edge < b.edge;
    });
    auto split = splits.cbegin();
    for (std::size_t r = 0; r <= area.holes.size(); ++r) {
        addStretches(r == 0 ? area.outer : area.holes[r - 1], r, split, splits.cend(), edges);
    }
    std::optional<std::vector<PlaneRing>> faces = insideFaces(edges);
    if (!faces) {
        return std::nullopt;
    }
    std::vector<PlaneArea> cells;
    for (PlaneRing& face : *faces) {
        cells.push_back({std::move(face), {}});
    }
    return cells;
}

bool ringsComeWithin(const Geos& geos, const PlaneArea& area, double within) {
    if (area.holes.empty()) {
        return false;
    }
    const GeosGeometry shellLine = makeRingLines(geos, PlaneArea{area.outer, {}});
    const GeosPrepared shell = prepared(geos, shellLine.get());
    const GeosGeometry shellArea = makePolygon(geos, area.outer);
    const GeosPrepared inside = prepared(geos, shellArea.get());
    struct Box {
        Extent along;
        Extent across;
        std::size_t hole = 0;
    };
    std::vector<Box> boxes;
    std::vector<GeosGeometry> holes;
    for (std::size_t h = 0; h < area.holes.size(); ++h) {
        holes.push_back(makePolygon(geos, area.holes[h]));
        const PlaneArea hole{area.holes[h], {}};
        const Box box{alongExtent(hole), acrossExtent(hole), h};
        boxes.push_back(box);
        // Most rocks lie well inside, their box too; only for the others is the distance
        // measured, by the boundary's index of edges (GEOS tells "within" edge by edge).
        const GeosGeometry around =
            makePolygon(geos, PlaneRing{{box.along.low - within, box.across.low - within},
                                        {box.along.high + within, box.across.low - within},
                                        {box.along.high + within, box.across.high + within},
                                        {box.along.low - within, box.across.high + within}});
        if (answer(geos, GEOSPreparedContainsProperly_r(geos.handle(), inside.get(), around.get()),
                   "place a hole inside the boundary")) {
            continue;
        }
        double apart = 0.0;
        if (GEOSPreparedDistance_r(geos.handle(), shell.get(), holes.back().get(), &apart) != 1) {
            throw GeometryFailure("GEOS cannot measure a hole's distance from the boundary");
        }
        if (!(apart > within)) {
            return true;
        }
    }
    // Holes whose boxes come within the distance, found by a sweep along x.
    std::sort(boxes.begin(), boxes.end(),
              [](const Box& a, const Box& b) { return a.along.low < b.along.low; });
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1;
             j < boxes.size() && boxes[j].along.low <= boxes[i].along.high + within; ++j) {
            if (boxes[j].across.low > boxes[i].across.high + within ||
                boxes[i].across.low > boxes[j].across.high + within) {
                continue;
            }
            if (answer(geos,
                       GEOSDistanceWithin_r(geos.handle(), holes[boxes[i].hole].get(),
                                            holes[boxes[j].hole].get(), within),
                       "measure the distance between two holes")) {
                return true;
            }
        }
    }
    return false;
}
