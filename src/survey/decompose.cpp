// Boustrophedon decomposition at the critical points of the boundary and the holes.
#include "survey/decompose.h"

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

// Where a slice meets the edges of one ring: the x of each crossing into the water above
// the slice and into the water below it, and the edges that lie along it.
struct SliceCrossings {
    std::vector<double> above;
    std::vector<double> below;
    std::vector<Interval> along;
};

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
    return cutsOnSlices(geos, area, ys, nullptr);
}

std::vector<Cut> cutsOnSlices(const Geos& geos, const PlaneArea& area, std::vector<double>& ys,
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
