// Boustrophedon decomposition at the critical points of the boundary and the holes.
#include "survey/decompose.h"

#include "survey/plane_faces.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Pieces of a line closer than this are one piece.
constexpr double kJoinGap = 1e-6; // meters
// A cut is drawn a little past the boundary at both ends, so that GEOS nodes it with the
// boundary however its computed ends were rounded; the stubs outside are dropped as dangles.
constexpr double kCutOvershoot = 1e-3; // meters

// Vertices whose y differ by no more than this make one run: an edge meant to run along the
// lines but drawn in latitude and longitude lies a few centimeters off in the frame.
constexpr double kRunTolerance = 0.05; // meters
// A run that is not a turning point is an edge along the lines, a step, only where it climbs
// across them no more than this for each meter along: a shore of a chart's detail, its
// vertices centimeters apart, climbs a whole run's tolerance across in a few of them, and
// taking each such run for a step cut the water into a cell, and so a line, every few
// centimeters across.
constexpr double kStepSlope = 0.01;

// Where the ring turns back across the lines (an extreme), or an edge that runs along them,
// as the vertices at its two ends.
struct Run {
    PlanePoint low;       // the end at the least x
    PlanePoint high;      // the end at the greatest x
    bool extreme = false; // both neighbours on one side across; else an edge along the lines
};

// Runs of vertices within kRunTolerance across whose two neighbours lie on the same side
// across, and edges along the lines whose neighbours lie on either side.
void addRuns(const PlaneRing& ring, std::vector<Run>& runs) {
    const std::size_t n = ring.size();
    std::size_t start = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::abs(ring[i].y - ring[(i + n - 1) % n].y) > kRunTolerance) {
            start = i;
            break;
        }
    }
    if (start == n) {
        return; // a ring level throughout encloses nothing across the lines
    }
    for (std::size_t done = 0; done < n;) {
        const std::size_t first = (start + done) % n;
        Run run{ring[first], ring[first], false};
        double low = ring[first].y;
        double high = ring[first].y;
        std::size_t length = 1;
        for (; length < n; ++length) {
            const PlanePoint& p = ring[(first + length) % n];
            if (std::max(high, p.y) - std::min(low, p.y) > kRunTolerance) {
                break;
            }
            low = std::min(low, p.y);
            high = std::max(high, p.y);
            run.low = p.x < run.low.x ? p : run.low;
            run.high = p.x > run.high.x ? p : run.high;
        }
        const double before = ring[(first + n - 1) % n].y;
        const double after = ring[(first + length) % n].y;
        run.extreme = (before > high && after > high) || (before < low && after < low);
        const bool alongLines = high - low <= kStepSlope * (run.high.x - run.low.x);
        if (run.extreme || (length > 1 && alongLines)) {
            runs.push_back(run);
        }
        done += length;
    }
}

struct Interval {
    double low = 0.0;
    double high = 0.0;
};

// Where a slice meets the edges of one ring: the x of each crossing into the water above
// the slice and into the water below it, and the edges that lie along it.
struct SliceCrossings {
    std::vector<double> above;
    std::vector<double> below;
    std::vector<Interval> along;
};

// Where an edge meets a slice, for noding the cuts with the rings: at one x, or from low to
// high for an edge along the slice.
struct EdgeMeet {
    Interval x;
    std::size_t ring = 0; // 0 the boundary, k the hole k - 1
    std::size_t edge = 0; // from the vertex of this index to the next
};
using SliceMeets = std::vector<std::vector<EdgeMeet>>; // by slice

// Where the edge from a to b meets the slice at y: a vertex on it is met exactly there, any
// other point where GEOS's own segment intersection puts it, the same point GEOS's overlay
// of the slice with the area found.
double crossingX(const Geos& geos, PlanePoint a, PlanePoint b, double y, Extent along) {
    if (a.y == y) {
        return a.x;
    }
    if (b.y == y) {
        return b.x;
    }
    double x = 0.0;
    double atY = 0.0;
    if (GEOSSegmentIntersection_r(geos.handle(), along.low - 1.0, y, along.high + 1.0, y, a.x, a.y,
                                  b.x, b.y, &x, &atY) != 1) {
        throw GeometryFailure("GEOS cannot meet a slice with an edge of the area");
    }
    return x;
}

void addCrossings(const Geos& geos, const PlaneRing& ring, std::size_t ringIndex,
                  const std::vector<double>& ys, Extent along, std::vector<SliceCrossings>& slices,
                  SliceMeets* meets) {
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PlanePoint& a = ring[i];
        const PlanePoint& b = ring[(i + 1) % n];
        const double low = std::min(a.y, b.y);
        const double high = std::max(a.y, b.y);
        auto k = static_cast<std::size_t>(std::lower_bound(ys.begin(), ys.end(), low) - ys.begin());
        for (; k < ys.size() && ys[k] <= high; ++k) {
            const double y = ys[k];
            if (low == high) {
                const Interval x{std::min(a.x, b.x), std::max(a.x, b.x)};
                slices[k].along.push_back(x);
                if (meets != nullptr) {
                    (*meets)[k].push_back({x, ringIndex, i});
                }
                continue;
            }
            const double x = crossingX(geos, a, b, y, along);
            if (meets != nullptr) {
                (*meets)[k].push_back({{x, x}, ringIndex, i});
            }
            if ((a.y > y) != (b.y > y)) {
                slices[k].above.push_back(x);
            }
            if ((a.y < y) != (b.y < y)) {
                slices[k].below.push_back(x);
            }
        }
    }
}

// The water on each side of a slice lies between every other crossing, in order along it.
void addBetween(std::vector<double>& crossings, std::vector<Interval>& intervals) {
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
        intervals.push_back({crossings[i], crossings[i + 1]});
    }
}

// The pieces of each slice through the area, joined where they touch, by the slice's y: what
// lies in the water just above or just below the slice, and the edges along it. Found edge by
// edge, in time with the edges and the crossings: an overlay of every slice with a shore of a
// chart's detail takes seconds.
std::map<double, std::vector<Interval>> sliceIntervals(const Geos& geos, const PlaneArea& area,
                                                       const std::vector<double>& ys, Extent along,
                                                       SliceMeets* meets) {
    std::vector<SliceCrossings> slices(ys.size());
    if (meets != nullptr) {
        meets->assign(ys.size(), {});
    }
    addCrossings(geos, area.outer, 0, ys, along, slices, meets);
    for (std::size_t h = 0; h < area.holes.size(); ++h) {
        addCrossings(geos, area.holes[h], h + 1, ys, along, slices, meets);
    }
    std::map<double, std::vector<Interval>> bySlice;
    for (std::size_t k = 0; k < ys.size(); ++k) {
        std::vector<Interval> intervals = std::move(slices[k].along);
        addBetween(slices[k].above, intervals);
        addBetween(slices[k].below, intervals);
        std::sort(intervals.begin(), intervals.end(),
                  [](const Interval& a, const Interval& b) { return a.low < b.low; });
        std::vector<Interval> joined;
        for (const Interval& interval : intervals) {
            if (interval.low == interval.high) {
                continue; // a corner that only touches the slice holds no water along it
            }
            if (!joined.empty() && interval.low <= joined.back().high + kJoinGap) {
                joined.back().high = std::max(joined.back().high, interval.high);
            } else {
                joined.push_back(interval);
            }
        }
        bySlice.emplace_hint(bySlice.end(), ys[k], std::move(joined));
    }
    return bySlice;
}

// The cuts, and where the rings meet the slices the cuts lie on (ys, ascending) when meets
// is given.
std::vector<Cut> findCuts(const Geos& geos, const PlaneArea& area, std::vector<double>& ys,
                          SliceMeets* meets);

} // namespace

PlaneArea leveled(const PlaneArea& area) {
    std::vector<double> ys;
    const auto gather = [&](const PlaneRing& ring) {
        for (const PlanePoint& p : ring) {
            ys.push_back(p.y);
        }
    };
    gather(area.outer);
    for (const PlaneRing& hole : area.holes) {
        gather(hole);
    }
    std::sort(ys.begin(), ys.end());
    // Each level is the lowest y of its group; a group ends where a y lies more than the
    // tolerance above that lowest one, so a slow rise is never flattened.
    std::vector<double> levels;
    for (const double y : ys) {
        if (levels.empty() || y - levels.back() > kLevelTolerance) {
            levels.push_back(y);
        }
    }
    const auto level = [&](PlaneRing& ring) {
        for (PlanePoint& p : ring) {
            p.y = *std::prev(std::upper_bound(levels.begin(), levels.end(), p.y));
        }
    };
    PlaneArea result = area;
    level(result.outer);
    for (PlaneRing& hole : result.holes) {
        level(hole);
    }
    return result;
}

std::vector<Cut> cutsAcross(const Geos& geos, const PlaneArea& area) {
    std::vector<double> ys;
    return findCuts(geos, area, ys, nullptr);
}

namespace {

std::vector<Cut> findCuts(const Geos& geos, const PlaneArea& area, std::vector<double>& ys,
                          SliceMeets* meets) {
    std::vector<Run> runs;
    addRuns(area.outer, runs);
    for (const PlaneRing& hole : area.holes) {
        addRuns(hole, runs);
    }
    ys.clear();
    for (const Run& run : runs) {
        ys.push_back(run.low.y);
        ys.push_back(run.high.y);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    if (ys.empty()) {
        return {};
    }
    const auto slices = sliceIntervals(geos, area, ys, alongExtent(area), meets);
    // The piece of water across the line through a run's end that holds the end.
    const auto waterAt = [&](PlanePoint end) -> const Interval* {
        for (const Interval& interval : slices.at(end.y)) {
            if (interval.low <= end.x + kJoinGap && interval.high >= end.x - kJoinGap) {
                return &interval;
            }
        }
        return nullptr;
    };
    std::vector<Cut> cuts;
    for (const Run& run : runs) {
        const Interval* before = waterAt(run.low);
        const Interval* after = waterAt(run.high);
        const bool waterBefore = before != nullptr && before->low < run.low.x - kJoinGap;
        const bool waterAfter = after != nullptr && after->high > run.high.x + kJoinGap;
        // A turning point splits or joins the water only with water on both sides; an edge
        // along the lines with water beyond one end is a step, where the water widens.
        if (run.extreme ? !(waterBefore && waterAfter) : !(waterBefore || waterAfter)) {
            continue;
        }
        if (waterBefore) {
            cuts.push_back({run.low.y, before->low, run.low.x});
        }
        if (waterAfter) {
            cuts.push_back({run.high.y, run.high.x, after->high});
        }
    }
    return cuts;
}

} // namespace

std::vector<PlaneArea> decompose(const Geos& geos, const PlaneArea& area) {
    // Each cut runs from a run's end outwards across the water to the boundary; it is drawn
    // past the boundary at its far end, its near end being the very vertex.
    std::vector<PlaneSegment> cuts;
    for (const Cut& cut : cutsAcross(geos, area)) {
        cuts.push_back({{cut.xLow - kCutOvershoot, cut.y}, {cut.xHigh + kCutOvershoot, cut.y}});
    }
    const auto sameCut = [](const PlaneSegment& a, const PlaneSegment& b) {
        return a.start.y == b.start.y && a.start.x == b.start.x && a.end.x == b.end.x;
    };
    std::sort(cuts.begin(), cuts.end(), [](const PlaneSegment& a, const PlaneSegment& b) {
        return a.start.y != b.start.y ? a.start.y < b.start.y : a.start.x < b.start.x;
    });
    cuts.erase(std::unique(cuts.begin(), cuts.end(), sameCut), cuts.end());

    std::vector<PlaneArea> cells;
    if (cuts.empty()) {
        cells.push_back(area);
        return cells;
    }
    // The rings and the cuts, noded together, bound the faces; the faces in the water are
    // the cells, the others are the holes.
    GeosGeometry rings = makeRingLines(geos, area);
    GeosGeometry cutLines = makeSegments(geos, cuts);
    GEOSGeometry* parts[] = {rings.release(), cutLines.release()};
    const GeosGeometry linework =
        owned(geos, GEOSGeom_createCollection_r(geos.handle(), GEOS_GEOMETRYCOLLECTION, parts, 2),
              "collect the cuts");
    const GeosGeometry noded =
        owned(geos, GEOSUnaryUnion_r(geos.handle(), linework.get()), "node the cuts");
    const GEOSGeometry* nodedParts[] = {noded.get()};
    const GeosGeometry faces =
        owned(geos, GEOSPolygonize_r(geos.handle(), nodedParts, 1), "polygonize the cells");
    const GeosGeometry polygon = makePolygon(geos, area);
    const GeosPrepared water = prepared(geos, polygon.get());
    const int count = GEOSGetNumGeometries_r(geos.handle(), faces.get());
    for (int i = 0; i < count; ++i) {
        const GEOSGeometry* face = GEOSGetGeometryN_r(geos.handle(), faces.get(), i);
        const GeosGeometry inside =
            owned(geos, GEOSPointOnSurface_r(geos.handle(), face), "find a point in a cell");
        if (answer(geos, GEOSPreparedContains_r(geos.handle(), water.get(), inside.get()),
                   "place a cell")) {
            for (PlaneArea& cell : polygonsOf(geos, face)) {
                orientRings(cell);
                cells.push_back(std::move(cell));
            }
        }
    }
    std::sort(cells.begin(), cells.end(), [](const PlaneArea& a, const PlaneArea& b) {
        const Extent ya = acrossExtent(a);
        const Extent yb = acrossExtent(b);
        if (ya.low != yb.low) {
            return ya.low < yb.low;
        }
        return alongExtent(a).low < alongExtent(b).low;
    });
    return cells;
}

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
    const std::vector<Cut> cuts = findCuts(geos, area, ys, &meets);
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
