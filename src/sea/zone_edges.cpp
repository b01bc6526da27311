// The edges of a zone of a chart's detail in a grid of cells, for what a leg asks of it.
#include "sea/zone_edges.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The grid has about a cell for every kEdgesPerCell edges, at most kMostCellsASide a side:
// the long edges of a star's spikes pass through many cells each, and larger cells file
// them in fewer steps for a few more edges to look at round each piece of a leg.
constexpr std::size_t kMostCellsASide = 4096;
constexpr double kEdgesPerCell = 4.0;
// An edge is filed in every cell it comes within this fraction of a cell of, so that a
// place on a cell's border finds the edges through it on either side.
constexpr double kCellPad = 1e-9;

// The sign of the turn from a to b to c: 1 to the left, -1 to the right, 0 on the line.
// Worked in extended precision, as the places are often the same few decimals apart.
int turn(double ax, double ay, double bx, double by, double cx, double cy) {
    const long double d =
        (static_cast<long double>(bx) - ax) * (static_cast<long double>(cy) - ay) -
        (static_cast<long double>(by) - ay) * (static_cast<long double>(cx) - ax);
    return d > 0 ? 1 : (d < 0 ? -1 : 0);
}

// A place where a piece meets an edge: at fraction t of the piece. A crossing is where the
// piece passes from one side of an edge to the other between the edge's ends; anything
// else (a corner on the piece, an end of the piece on an edge, a piece along an edge) is a
// touch, after which the side the piece runs on is told by a place beyond it.
struct Meeting {
    double t;
    double x, y;
    bool crossing;
};

} // namespace

void collectRings(const OGRGeometry& geometry, std::vector<const OGRLinearRing*>& rings) {
    switch (wkbFlatten(geometry.getGeometryType())) {
    case wkbPolygon:
        for (const OGRLinearRing* ring : *geometry.toPolygon()) {
            rings.push_back(ring);
        }
        break;
    case wkbMultiPolygon:
    case wkbGeometryCollection:
        for (const OGRGeometry* part : *geometry.toGeometryCollection()) {
            collectRings(*part, rings);
        }
        break;
    default:
        break;
    }
}

ZoneEdges::ZoneEdges(const OGRGeometry& geometry, const GeoBox& asked) {
    std::vector<const OGRLinearRing*> rings;
    collectRings(geometry, rings);
    for (const OGRLinearRing* ring : rings) {
        addRing(*ring);
    }
    file(asked);
}

void ZoneEdges::addRing(const OGRLinearRing& ring) {
    const int n = ring.getNumPoints();
    for (int i = 0; i < n; ++i) {
        // An open ring is closed from its last vertex to its first.
        const int j = i + 1 < n ? i + 1 : 0;
        const Edge edge{ring.getX(i), ring.getY(i), ring.getX(j), ring.getY(j)};
        if (edge.ax != edge.bx || edge.ay != edge.by) {
            edges_.push_back(edge);
        }
    }
}

std::size_t ZoneEdges::column(double x) const {
    const double c = std::floor((x - west_) / cellWidth_);
    if (!(c > 0.0)) {
        return 0;
    }
    return c >= static_cast<double>(columns_) ? columns_ - 1 : static_cast<std::size_t>(c);
}

std::size_t ZoneEdges::row(double y) const {
    const double r = std::floor((y - south_) / cellHeight_);
    if (!(r > 0.0)) {
        return 0;
    }
    return r >= static_cast<double>(rows_) ? rows_ - 1 : static_cast<std::size_t>(r);
}

void ZoneEdges::file(const GeoBox& asked) {
    seen_.assign(edges_.size(), 0);
    constexpr double inf = std::numeric_limits<double>::infinity();
    extent_ = GeoBox{inf, -inf, inf, -inf};
    for (const Edge& e : edges_) {
        extent_.west = std::min({extent_.west, e.ax, e.bx});
        extent_.east = std::max({extent_.east, e.ax, e.bx});
        extent_.south = std::min({extent_.south, e.ay, e.by});
        extent_.north = std::max({extent_.north, e.ay, e.by});
    }
    if (edges_.empty()) {
        extent_ = GeoBox{0.0, 1.0, 0.0, 1.0};
    }
    // The grid covers only what is asked about; edges beyond it are filed in its outer
    // cells, where a ray from a place in it still meets them.
    double east = extent_.east, north = extent_.north;
    west_ = extent_.west;
    south_ = extent_.south;
    if (asked.west < asked.east && asked.south < asked.north && asked.west < east &&
        asked.east > west_ && asked.south < north && asked.north > south_) {
        west_ = std::max(west_, asked.west);
        east = std::min(east, asked.east);
        south_ = std::max(south_, asked.south);
        north = std::min(north, asked.north);
    }
    std::size_t within = 0;
    for (const Edge& e : edges_) {
        within += std::max(e.ax, e.bx) >= west_ && std::min(e.ax, e.bx) <= east &&
                  std::max(e.ay, e.by) >= south_ && std::min(e.ay, e.by) <= north;
    }
    const double width = east - west_;
    const double height = north - south_;
    const double count = static_cast<double>(std::max<std::size_t>(within, 1));
    double cell = width * height > 0.0 ? std::sqrt(width * height * kEdgesPerCell / count)
                                       : std::max(width, height) / count;
    if (!(cell > 0.0)) {
        cell = 1.0;
    }
    const auto side = [cell](double extent) {
        return static_cast<std::size_t>(
            std::clamp(std::ceil(extent / cell), 1.0, static_cast<double>(kMostCellsASide)));
    };
    columns_ = side(width);
    rows_ = side(height);
    cellWidth_ = width > 0.0 ? width / static_cast<double>(columns_) : 1.0;
    cellHeight_ = height > 0.0 ? height / static_cast<double>(rows_) : 1.0;

    // Each edge goes into the cells of every column it passes through, from the row where it
    // enters the column to the row where it leaves.
    const auto eachCell = [this](const Edge& e, auto&& into) {
        const double padX = cellWidth_ * kCellPad;
        const double padY = cellHeight_ * kCellPad;
        const double minX = std::min(e.ax, e.bx);
        const double maxX = std::max(e.ax, e.bx);
        const std::size_t c0 = column(minX - padX);
        const std::size_t c1 = column(maxX + padX);
        for (std::size_t c = c0; c <= c1; ++c) {
            // The outer columns hold what lies beyond the grid too.
            const double left =
                c == 0 ? minX : std::max(minX, west_ + static_cast<double>(c) * cellWidth_ - padX);
            const double right =
                c + 1 == columns_
                    ? maxX
                    : std::min(maxX, west_ + static_cast<double>(c + 1) * cellWidth_ + padX);
            double low = std::min(e.ay, e.by);
            double high = std::max(e.ay, e.by);
            if (e.bx != e.ax && c0 != c1) {
                const double slope = (e.by - e.ay) / (e.bx - e.ax);
                const double yLeft = e.ay + slope * (left - e.ax);
                const double yRight = e.ay + slope * (right - e.ax);
                low = std::max(low, std::min(yLeft, yRight));
                high = std::min(high, std::max(yLeft, yRight));
            }
            const std::size_t r0 = row(low - padY);
            const std::size_t r1 = row(high + padY);
            for (std::size_t r = r0; r <= r1; ++r) {
                into(r * columns_ + c);
            }
        }
    };
    firstInCell_.assign(columns_ * rows_ + 1, 0);
    for (const Edge& e : edges_) {
        eachCell(e, [this](std::size_t cell) { ++firstInCell_[cell + 1]; });
    }
    for (std::size_t cell = 0; cell + 1 < firstInCell_.size(); ++cell) {
        firstInCell_[cell + 1] += firstInCell_[cell];
    }
    filed_.resize(firstInCell_.back());
    std::vector<std::size_t> next(firstInCell_.begin(), firstInCell_.end() - 1);
    for (std::size_t i = 0; i < edges_.size(); ++i) {
        eachCell(edges_[i],
                 [&](std::size_t cell) { filed_[next[cell]++] = static_cast<std::uint32_t>(i); });
    }
}

template <typename Visit>
void ZoneEdges::eachEdge(std::size_t column0, std::size_t column1, std::size_t row0,
                         std::size_t row1, Visit visit) const {
    if (++visit_ == 0) { // counted round: forget every earlier visit
        std::fill(seen_.begin(), seen_.end(), 0);
        visit_ = 1;
    }
    for (std::size_t r = row0; r <= row1; ++r) {
        for (std::size_t c = column0; c <= column1; ++c) {
            const std::size_t cell = r * columns_ + c;
            for (std::size_t k = firstInCell_[cell]; k < firstInCell_[cell + 1]; ++k) {
                const std::uint32_t i = filed_[k];
                if (seen_[i] != visit_) {
                    seen_[i] = visit_;
                    visit(edges_[i]);
                }
            }
        }
    }
}

bool ZoneEdges::contains(double x, double y) const {
    if (edges_.empty() || x < extent_.west || x > extent_.east || y < extent_.south ||
        y > extent_.north) {
        return false;
    }
    const std::size_t c = column(x);
    const std::size_t r = row(y);
    bool onEdge = false;
    eachEdge(c, c, r, r, [&](const Edge& e) {
        onEdge = onEdge || (turn(e.ax, e.ay, e.bx, e.by, x, y) == 0 && std::min(e.ax, e.bx) <= x &&
                            x <= std::max(e.ax, e.bx) && std::min(e.ay, e.by) <= y &&
                            y <= std::max(e.ay, e.by));
    });
    if (onEdge) {
        return true;
    }
    // The parity of the edges crossing the ray east from the place: each crosses it in the
    // place's row, east of its column. An edge holds its lower end and not its upper, so a
    // ray through a corner counts it once.
    bool inside = false;
    eachEdge(c, columns_ - 1, r, r, [&](const Edge& e) {
        if ((e.ay > y) != (e.by > y)) {
            const int side = turn(e.ax, e.ay, e.bx, e.by, x, y);
            if (e.by > e.ay ? side > 0 : side < 0) {
                inside = !inside;
            }
        }
    });
    return inside;
}

std::vector<PieceStretch> ZoneEdges::stretches(double x0, double y0, double x1, double y1,
                                               bool startInside) const {
    std::vector<PieceStretch> found;
    if (x0 == x1 && y0 == y1) {
        if (startInside) {
            found.push_back(PieceStretch{0.0, 0.0, x0, y0, x0, y0});
        }
        return found;
    }
    if (edges_.empty()) {
        return found;
    }
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const bool alongX = std::fabs(dx) >= std::fabs(dy);
    const auto fraction = [&](double x, double y) {
        return std::clamp(alongX ? (x - x0) / dx : (y - y0) / dy, 0.0, 1.0);
    };
    // A meeting at either end of the piece is at that end exactly.
    const auto meeting = [&](double t, double x, double y, bool crossing) {
        if (t == 0.0) {
            return Meeting{t, x0, y0, crossing};
        }
        if (t == 1.0) {
            return Meeting{t, x1, y1, crossing};
        }
        return Meeting{t, x, y, crossing};
    };
    std::vector<Meeting> meetings;
    std::vector<PieceStretch> alongEdges;
    eachEdge(column(std::min(x0, x1)), column(std::max(x0, x1)), row(std::min(y0, y1)),
             row(std::max(y0, y1)), [&](const Edge& e) {
                 const int sa = turn(x0, y0, x1, y1, e.ax, e.ay);
                 const int sb = turn(x0, y0, x1, y1, e.bx, e.by);
                 if (sa == 0 && sb == 0) {
                     // The edge lies on the piece's line: the stretch of the piece along it.
                     Meeting a = meeting(fraction(e.ax, e.ay), e.ax, e.ay, false);
                     Meeting b = meeting(fraction(e.bx, e.by), e.bx, e.by, false);
                     const double ta = alongX ? (e.ax - x0) / dx : (e.ay - y0) / dy;
                     const double tb = alongX ? (e.bx - x0) / dx : (e.by - y0) / dy;
                     if (std::max(ta, tb) < 0.0 || std::min(ta, tb) > 1.0) {
                         return;
                     }
                     if (a.t > b.t) {
                         std::swap(a, b);
                     }
                     meetings.push_back(a);
                     meetings.push_back(b);
                     alongEdges.push_back(PieceStretch{a.t, b.t, a.x, a.y, b.x, b.y});
                     return;
                 }
                 if (sa * sb > 0) {
                     return;
                 }
                 const int sp = turn(e.ax, e.ay, e.bx, e.by, x0, y0);
                 const int sq = turn(e.ax, e.ay, e.bx, e.by, x1, y1);
                 if (sp * sq > 0) {
                     return;
                 }
                 if (sa == 0) {
                     meetings.push_back(meeting(fraction(e.ax, e.ay), e.ax, e.ay, false));
                 } else if (sb == 0) {
                     meetings.push_back(meeting(fraction(e.bx, e.by), e.bx, e.by, false));
                 } else if (sp == 0 || sq == 0) {
                     meetings.push_back(meeting(sp == 0 ? 0.0 : 1.0, 0.0, 0.0, false));
                 } else {
                     const long double ex = static_cast<long double>(e.bx) - e.ax;
                     const long double ey = static_cast<long double>(e.by) - e.ay;
                     const long double p = ex * (y0 - e.ay) - ey * (x0 - e.ax);
                     const long double q = ex * (y1 - e.ay) - ey * (x1 - e.ax);
                     const double t = std::clamp(static_cast<double>(p / (p - q)), 0.0, 1.0);
                     meetings.push_back(meeting(t, x0 + t * dx, y0 + t * dy, true));
                 }
             });
    std::sort(meetings.begin(), meetings.end(),
              [](const Meeting& a, const Meeting& b) { return a.t < b.t; });

    // Between two meetings the piece runs wholly inside or wholly outside: past a crossing
    // it changes side, past a touch a place half way to the next meeting tells.
    std::vector<PieceStretch> pieces = alongEdges;
    const auto sideAfter = [&](std::size_t next, double t) {
        const double end = next < meetings.size() ? meetings[next].t : 1.0;
        const double middle = (t + end) / 2.0;
        return contains(x0 + middle * dx, y0 + middle * dy);
    };
    bool inside = startInside;
    double lastT = 0.0;
    double lastX = x0, lastY = y0;
    std::size_t i = 0;
    if (!meetings.empty() && meetings.front().t == 0.0) {
        while (i < meetings.size() && meetings[i].t == 0.0) {
            ++i;
        }
        pieces.push_back(PieceStretch{0.0, 0.0, x0, y0, x0, y0});
        inside = sideAfter(i, 0.0);
    }
    while (i < meetings.size()) {
        const Meeting& at = meetings[i];
        if (inside) {
            pieces.push_back(PieceStretch{lastT, at.t, lastX, lastY, at.x, at.y});
        }
        bool touched = false;
        std::size_t crossings = 0;
        std::size_t j = i;
        for (; j < meetings.size() && meetings[j].t == at.t; ++j) {
            touched = touched || !meetings[j].crossing;
            crossings += meetings[j].crossing ? 1 : 0;
        }
        pieces.push_back(PieceStretch{at.t, at.t, at.x, at.y, at.x, at.y});
        if (at.t < 1.0) {
            inside = touched ? sideAfter(j, at.t) : (inside != (crossings % 2 == 1));
        }
        lastT = at.t;
        lastX = at.x;
        lastY = at.y;
        i = j;
    }
    if (inside && lastT < 1.0) {
        pieces.push_back(PieceStretch{lastT, 1.0, lastX, lastY, x1, y1});
    }

    // Joined where they meet or overlap: each stretch as long as it is unbroken.
    std::sort(pieces.begin(), pieces.end(),
              [](const PieceStretch& a, const PieceStretch& b) { return a.from < b.from; });
    for (const PieceStretch& piece : pieces) {
        if (!found.empty() && piece.from <= found.back().to) {
            if (piece.to > found.back().to) {
                found.back().to = piece.to;
                found.back().toX = piece.toX;
                found.back().toY = piece.toY;
            }
        } else {
            found.push_back(piece);
        }
    }
    return found;
}
