// Polygons of a coast's detail held for many cuts to small boxes.
#include "sea/near_box.h"

#include <algorithm>
#include <limits>

namespace {

// A ring's vertices are looked at in chunks, and chunks in blocks, each with its bounding
// box: a block or chunk lying wholly beyond one side of a box is passed in one step.
constexpr std::size_t kChunk = 64;
constexpr std::size_t kBlock = 64 * kChunk;

constexpr unsigned kWest = 1;
constexpr unsigned kEast = 2;
constexpr unsigned kSouth = 4;
constexpr unsigned kNorth = 8;

// The sides of the box that a place lies beyond; none for a place in it or on its edge.
unsigned sidesOf(double x, double y, const GeoBox& box) {
    return (x < box.west ? kWest : 0u) | (x > box.east ? kEast : 0u) |
           (y < box.south ? kSouth : 0u) | (y > box.north ? kNorth : 0u);
}

} // namespace

PolygonsNearBox::Ring PolygonsNearBox::ringOf(const OGRLinearRing& ogrRing) {
    Ring ring;
    const std::size_t n = static_cast<std::size_t>(ogrRing.getNumPoints());
    ring.xy.resize(2 * n);
    constexpr double inf = std::numeric_limits<double>::infinity();
    ring.extent = Extent{inf, -inf, inf, -inf};
    double topY = -inf;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = ogrRing.getX(static_cast<int>(i));
        const double y = ogrRing.getY(static_cast<int>(i));
        ring.xy[2 * i] = x;
        ring.xy[2 * i + 1] = y;
        if (i % kChunk == 0) {
            ring.chunks.push_back(Extent{inf, -inf, inf, -inf});
        }
        Extent& chunk = ring.chunks.back();
        chunk.west = std::min(chunk.west, x);
        chunk.east = std::max(chunk.east, x);
        chunk.south = std::min(chunk.south, y);
        chunk.north = std::max(chunk.north, y);
        topY = std::max(topY, y);
    }
    for (std::size_t c = 0; c < ring.chunks.size(); ++c) {
        const Extent& chunk = ring.chunks[c];
        if (c % (kBlock / kChunk) == 0) {
            ring.blocks.push_back(Extent{inf, -inf, inf, -inf});
        }
        Extent& block = ring.blocks.back();
        block.west = std::min(block.west, chunk.west);
        block.east = std::max(block.east, chunk.east);
        block.south = std::min(block.south, chunk.south);
        block.north = std::max(block.north, chunk.north);
        ring.extent.west = std::min(ring.extent.west, chunk.west);
        ring.extent.east = std::max(ring.extent.east, chunk.east);
        ring.extent.south = std::min(ring.extent.south, chunk.south);
        ring.extent.north = std::max(ring.extent.north, chunk.north);
    }
    ring.chunkHoldsTop.assign(ring.chunks.size(), false);
    ring.blockHoldsTop.assign(ring.blocks.size(), false);
    if (n < 2) {
        return ring;
    }
    // The closing vertex repeats the first: its neighbours are the second and the last but one.
    const auto keep = [&ring](std::size_t i) {
        ring.top.push_back(i);
        ring.chunkHoldsTop[i / kChunk] = true;
        ring.blockHoldsTop[i / kBlock] = true;
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (ring.xy[2 * i + 1] == topY) {
            keep(i == 0 || i == n - 1 ? n - 2 : i - 1);
            keep(i);
            keep(i == 0 || i == n - 1 ? 1 : i + 1);
            if (i == 0 || i == n - 1) {
                keep(0);
                keep(n - 1);
            }
        }
    }
    std::sort(ring.top.begin(), ring.top.end());
    ring.top.erase(std::unique(ring.top.begin(), ring.top.end()), ring.top.end());
    return ring;
}

PolygonsNearBox::PolygonsNearBox(const OGRGeometry& geometry) {
    bool degenerate = false;
    const auto add = [this, &degenerate](const OGRPolygon& polygon) {
        Polygon ours;
        for (const OGRLinearRing* ring : polygon) {
            ours.rings.push_back(ringOf(*ring));
            vertices_ += ours.rings.back().size();
            if (ours.rings.back().size() < 4) {
                degenerate = true; // no ring GEOS would take
            }
        }
        polygons_.push_back(std::move(ours));
    };
    switch (wkbFlatten(geometry.getGeometryType())) {
    case wkbPolygon:
        polygonal_ = true;
        add(*geometry.toPolygon());
        break;
    case wkbMultiPolygon:
        polygonal_ = true;
        multi_ = true;
        for (const OGRPolygon* polygon : *geometry.toMultiPolygon()) {
            add(*polygon);
        }
        break;
    default:
        break;
    }
    if (degenerate) {
        polygonal_ = false;
        polygons_.clear();
    }
}

// Appends to kept the vertices of the ring that a cut to the box needs. A run of vertices
// that all lie beyond one side of the box gives way to the straight edge from its first to
// its last: both lie beyond that side, with nothing between them in the box, and one is
// drawn into the other without passing over the box, so the ring winds as often round every
// place in it.
void PolygonsNearBox::keepNear(const Ring& ring, const GeoBox& box, std::vector<double>& kept) {
    const std::size_t n = ring.size();
    const auto sides = [&](std::size_t i) {
        return sidesOf(ring.xy[2 * i], ring.xy[2 * i + 1], box);
    };
    const auto beyond = [&box](const Extent& e) {
        return (e.east < box.west ? kWest : 0u) | (e.west > box.east ? kEast : 0u) |
               (e.north < box.south ? kSouth : 0u) | (e.south > box.north ? kNorth : 0u);
    };
    const auto keep = [&](std::size_t i) {
        kept.push_back(ring.xy[2 * i]);
        kept.push_back(ring.xy[2 * i + 1]);
    };
    keep(0);
    std::size_t runStart = 0;   // the run's first vertex, kept
    std::size_t last = 0;       // its last so far
    unsigned shared = sides(0); // the sides that every vertex of the run lies beyond
    std::size_t nextTop = 0;
    while (nextTop < ring.top.size() && ring.top[nextTop] == 0) {
        ++nextTop;
    }
    std::size_t k = 1;
    // Takes the whole block or chunk starting at k into the run when it holds no top vertex
    // and lies beyond a side that the run lies beyond.
    const auto skip = [&](std::size_t size, const auto& boxes, const auto& holdsTop) {
        if (k % size != 0 || holdsTop[k / size]) {
            return false;
        }
        const unsigned common = shared & beyond(boxes[k / size]);
        if (common == 0) {
            return false;
        }
        shared = common;
        last = std::min(k + size, n) - 1;
        k = last + 1;
        return true;
    };
    while (k < n) {
        if (skip(kBlock, ring.blocks, ring.blockHoldsTop) ||
            skip(kChunk, ring.chunks, ring.chunkHoldsTop)) {
            continue;
        }
        const bool top = nextTop < ring.top.size() && ring.top[nextTop] == k;
        if (top) {
            ++nextTop;
        } else {
            const unsigned common = shared & sides(k);
            if (common != 0) {
                shared = common;
                last = k++;
                continue;
            }
        }
        if (last != runStart) {
            keep(last);
        }
        shared = top ? 0u : sides(last) & sides(k);
        if (shared != 0) {
            runStart = last;
            last = k++;
            continue;
        }
        keep(k);
        runStart = last = k;
        shared = top ? 0u : sides(k);
        ++k;
    }
    if (last != runStart) {
        keep(last);
    }
}

GEOSGeometry* PolygonsNearBox::nearBox(GEOSContextHandle_t context, const GeoBox& box) const {
    const auto clear = [&box](const Extent& e) {
        return e.east < box.west || e.west > box.east || e.north < box.south || e.south > box.north;
    };
    std::vector<GEOSGeometry*> polygons;
    std::vector<double> kept;
    for (const Polygon& polygon : polygons_) {
        // A polygon whose outer ring neither reaches into the box nor goes round it has
        // nothing in it; nor has a hole of that kind anything to take out.
        std::vector<GEOSGeometry*> rings;
        bool failed = false;
        for (const Ring& ring : polygon.rings) {
            kept.clear();
            if (!clear(ring.extent) && ring.size() >= 4) {
                keepNear(ring, box, kept);
            }
            if (kept.size() < 8) {
                if (rings.empty()) {
                    break; // the outer ring
                }
                continue;
            }
            GEOSCoordSequence* sequence = GEOSCoordSeq_copyFromBuffer_r(
                context, kept.data(), static_cast<unsigned>(kept.size() / 2), 0, 0);
            GEOSGeometry* made =
                sequence ? GEOSGeom_createLinearRing_r(context, sequence) : nullptr;
            if (!made) {
                failed = true;
                break;
            }
            rings.push_back(made);
        }
        GEOSGeometry* made = nullptr;
        if (!failed && !rings.empty()) {
            made = GEOSGeom_createPolygon_r(context, rings.front(), rings.data() + 1,
                                            static_cast<unsigned>(rings.size() - 1));
            rings.clear(); // GEOS owns them now, made into a polygon or freed
            failed = made == nullptr;
        }
        if (failed) {
            for (GEOSGeometry* ring : rings) {
                GEOSGeom_destroy_r(context, ring);
            }
            for (GEOSGeometry* done : polygons) {
                GEOSGeom_destroy_r(context, done);
            }
            return nullptr;
        }
        if (made) {
            polygons.push_back(made);
        }
    }
    if (!multi_ && polygons.size() == 1) {
        return polygons.front();
    }
    if (!multi_) {
        return GEOSGeom_createEmptyPolygon_r(context);
    }
    return GEOSGeom_createCollection_r(context, GEOS_MULTIPOLYGON, polygons.data(),
                                       static_cast<unsigned>(polygons.size()));
}
