// Tests of a zone's edges filed in a grid: the stretches of a piece inside the zone and the
// places inside it, against OGR's (GEOS's) own intersection of the piece with the polygon.
#include "sea/zone_edges.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <ogr_geometry.h>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A star of spikes round (0, 0), every other vertex at the inner reach.
std::string starWkt(int spikes) {
    std::string wkt = "POLYGON((";
    for (int i = 0; i <= 2 * spikes; ++i) {
        const double a = kPi * (i % (2 * spikes)) / spikes;
        const double r = i % 2 == 0 ? 2.0 : 1.5;
        wkt += (i == 0 ? "" : ",") + std::to_string(r * std::cos(a)) + " " +
               std::to_string(r * std::sin(a));
    }
    return wkt + "))";
}

struct Stretch {
    double from, to;
};

// The stretches of the piece in OGR's intersection of it with the shape, as fractions of
// the piece, joined where they meet.
std::vector<Stretch> overlaid(const OGRGeometry& shape, const OGRLineString& piece) {
    const double x0 = piece.getX(0), y0 = piece.getY(0);
    const double dx = piece.getX(1) - x0, dy = piece.getY(1) - y0;
    const auto fraction = [&](const OGRPoint& p) {
        return std::fabs(dx) >= std::fabs(dy) ? (p.getX() - x0) / dx : (p.getY() - y0) / dy;
    };
    std::vector<Stretch> parts;
    const auto add = [&](const OGRGeometry& part) {
        Stretch s{2.0, -1.0};
        const auto take = [&](const OGRPoint& p) {
            s.from = std::min(s.from, fraction(p));
            s.to = std::max(s.to, fraction(p));
        };
        if (wkbFlatten(part.getGeometryType()) == wkbPoint) {
            take(*part.toPoint());
        } else if (wkbFlatten(part.getGeometryType()) == wkbLineString) {
            for (const OGRPoint& p : *part.toLineString()) {
                take(p);
            }
        }
        if (s.from <= s.to) {
            parts.push_back(s);
        }
    };
    const std::unique_ptr<OGRGeometry> hit(shape.Intersection(&piece));
    if (hit && OGR_GT_IsSubClassOf(wkbFlatten(hit->getGeometryType()), wkbGeometryCollection)) {
        for (const OGRGeometry* part : *hit->toGeometryCollection()) {
            add(*part);
        }
    } else if (hit) {
        add(*hit);
    }
    std::sort(parts.begin(), parts.end(),
              [](const Stretch& a, const Stretch& b) { return a.from < b.from; });
    std::vector<Stretch> joined;
    for (const Stretch& s : parts) {
        if (!joined.empty() && s.from <= joined.back().to + 1e-12) {
            joined.back().to = std::max(joined.back().to, s.to);
        } else {
            joined.push_back(s);
        }
    }
    return joined;
}

} // namespace

TEST(ZoneEdges, StretchesAndPlacesInsideAreThoseOfOgrsIntersection) {
    struct Case {
        const char* what;
        std::string wkt;
        double x0, y0, x1, y1;
    };
    const std::string square = "POLYGON((0 0,4 0,4 4,0 4,0 0),(1 1,1 3,3 3,3 1,1 1))";
    const std::vector<Case> cases = {
        {"across a star's spikes", starWkt(500), -2.5, 0.31, 2.5, 0.33},
        {"from inside a star out through a spike", starWkt(500), 0.2, 0.1, 1.9, 0.1},
        {"across a hole", square, -1.0, 2.0, 5.0, 2.0},
        {"starting in the hole", square, 2.0, 2.5, 2.0, 5.0},
        {"along an edge and beyond", square, -1.0, 0.0, 2.0, 0.0},
        {"along the hole's edge", square, 1.0, 1.0, 1.0, 3.0},
        {"through a corner only", square, -1.0, 5.0, 1.0, 3.0},
        {"through a corner into the area", square, -1.0, -1.0, 0.5, 0.5},
        {"ending on an edge from outside", square, -2.0, 2.0, 0.0, 2.0},
        {"starting on an edge going out", square, 4.0, 2.0, 6.0, 2.0},
        {"wholly outside", square, 5.0, 5.0, 6.0, 7.0},
        {"through a spike's tip", starWkt(500), 2.0, -1.0, 2.0, 1.0},
        {"into a spike's tip", starWkt(500), 3.0, 0.0, 2.0, 0.0},
        {"through the corner two squares share",
         "MULTIPOLYGON(((0 0,2 0,2 2,0 2,0 0)),((2 2,4 2,4 4,2 4,2 2)))", 0.0, 4.0, 4.0, 0.0},
        {"across two squares", "MULTIPOLYGON(((0 0,2 0,2 2,0 2,0 0)),((3 0,5 0,5 2,3 2,3 0)))",
         -1.0, 1.0, 6.0, 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OGRGeometry* made = nullptr;
        ASSERT_EQ(OGRGeometryFactory::createFromWkt(c.wkt.c_str(), nullptr, &made), OGRERR_NONE);
        const std::unique_ptr<OGRGeometry> shape(made);
        OGRLineString piece;
        piece.addPoint(c.x0, c.y0);
        piece.addPoint(c.x1, c.y1);
        const std::vector<Stretch> expected = overlaid(*shape, piece);
        // The grid laid over the whole zone, and over a small box round the piece's start
        // only, the rest of the zone filed in its outer cells.
        for (const GeoBox asked :
             {GeoBox{}, GeoBox{c.x0 - 0.3, c.x0 + 0.3, c.y0 - 0.3, c.y0 + 0.3}}) {
            SCOPED_TRACE(asked.east - asked.west);
            const ZoneEdges edges(*shape, asked);
            const OGRPoint start(c.x0, c.y0), end(c.x1, c.y1);
            const bool startInside = edges.contains(c.x0, c.y0);
            EXPECT_EQ(startInside, shape->Intersects(&start) != 0);
            EXPECT_EQ(edges.contains(c.x1, c.y1), shape->Intersects(&end) != 0);
            const std::vector<PieceStretch> found =
                edges.stretches(c.x0, c.y0, c.x1, c.y1, startInside);
            ASSERT_EQ(found.size(), expected.size());
            for (std::size_t i = 0; i < found.size(); ++i) {
                EXPECT_NEAR(found[i].from, expected[i].from, 1e-9);
                EXPECT_NEAR(found[i].to, expected[i].to, 1e-9);
                EXPECT_NEAR(found[i].fromX, c.x0 + found[i].from * (c.x1 - c.x0), 1e-9);
                EXPECT_NEAR(found[i].fromY, c.y0 + found[i].from * (c.y1 - c.y0), 1e-9);
            }
        }
    }
}
