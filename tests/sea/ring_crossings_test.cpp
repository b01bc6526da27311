// Tests of the sweep that tells whether a ring meets itself near a box, against GEOS's own
// validity check of the ring as a polygon.
#include "sea/ring_crossings.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
const GeoBox kEverywhere{-1e9, 1e9, -1e9, 1e9};

OGRLinearRing ringOf(const std::vector<std::pair<double, double>>& points) {
    OGRLinearRing ring;
    for (const auto& [x, y] : points) {
        ring.addPoint(x, y);
    }
    ring.closeRings();
    return ring;
}

bool geosFindsItValid(const OGRLinearRing& ring) {
    OGRPolygon polygon;
    polygon.addRingDirectly(ring.clone());
    return polygon.IsValid();
}

} // namespace

// Rings of a few vertices on a coarse lattice, so that many pass through one another's
// vertices, run along one another's edges, come back to a vertex or fold back: the sweep
// finds a meeting exactly where GEOS finds the polygon invalid.
TEST(RingCrossings, SmallRingsMeetThemselvesWhereGeosFindsThemInvalid) {
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> lattice(0, 4);
    std::uniform_int_distribution<int> corners(3, 8);
    int invalid = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<std::pair<double, double>> points;
        const int count = corners(random);
        for (int i = 0; i < count; ++i) {
            points.emplace_back(lattice(random) * 0.25, lattice(random) * 0.5);
        }
        const OGRLinearRing ring = ringOf(points);
        const bool valid = geosFindsItValid(ring);
        invalid += valid ? 0 : 1;
        ASSERT_EQ(ringMeetsItselfNearBox(ring, kEverywhere), !valid) << trial;
    }
    EXPECT_GT(invalid, 300); // both kinds were tried
    EXPECT_LT(invalid, 2700);
}

TEST(RingCrossings, OnlyMeetingsNearTheBoxCount) {
    // A star of 2000 spikes, one of them bent over its neighbour at the east.
    std::vector<std::pair<double, double>> star;
    for (int i = 0; i < 4000; ++i) {
        const double a = 2.0 * kPi * i / 4000.0;
        const double r = i % 2 == 0 ? 2.0 : 1.5;
        star.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    const OGRLinearRing simple = ringOf(star);
    std::swap(star[0], star[2]); // two tips trade places: their spikes cross
    const OGRLinearRing bent = ringOf(star);
    ASSERT_TRUE(geosFindsItValid(simple));
    ASSERT_FALSE(geosFindsItValid(bent));
    // A bow tie crossing itself at (1, 1).
    const OGRLinearRing bowTie = ringOf({{0, 0}, {2, 2}, {2, 0}, {0, 2}});
    struct Case {
        const char* what;
        const OGRLinearRing& ring;
        GeoBox box;
        bool meets;
    };
    const Case cases[] = {
        {"a simple star", simple, kEverywhere, false},
        {"a bent star", bent, kEverywhere, true},
        {"a bent star seen from the west", bent, GeoBox{-2.5, -1.0, -0.5, 0.5}, false},
        {"a bent star seen at the bend", bent, GeoBox{1.8, 2.5, -0.1, 0.1}, true},
        {"a bow tie round its crossing", bowTie, GeoBox{0.9, 1.1, 0.9, 1.1}, true},
        {"a bow tie beside its crossing edges", bowTie, GeoBox{0.0, 0.5, 1.8, 1.9}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ringMeetsItselfNearBox(c.ring, c.box), c.meets) << c.what;
    }
}
