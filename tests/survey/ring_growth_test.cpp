// Tests of growing a polygon ring by ring: the very rings of GEOS's buffer of the whole.
#include "survey/ring_growth.h"

#include <gtest/gtest.h>

TEST(RingGrowth, GivesTheBufferOfTheWholeRingForRing) {
    const PlaneRing shore{{0, 0}, {100, 0}, {100, 60}, {60, 60}, {50, 80}, {0, 80}};
    const PlaneRing rock{{20, 20}, {20, 30}, {30, 30}, {30, 20}};
    const struct {
        const char* name;
        std::vector<PlaneRing> holes;
    } cases[] = {
        {"rocks apart", {rock, {{60, 20}, {70, 35}, {80, 20}}}},
        // Rocks that touch, and a rock a tenth of the growth from the shore, grow into each
        // other: the buffer of the whole is taken.
        {"rocks touching", {rock, {{30, 30}, {30, 40}, {40, 40}}}},
        {"rock by the shore", {{{90, 10}, {90, 20}, {99.9999, 20}}}},
        {"a rock that vanishes", {rock, {{50, 50}, {50, 50.0001}, {50.0001, 50}}}},
    };
    const Geos geos = makeGeos();
    for (const auto& c : cases) {
        const GeosGeometry polygon = makePolygon(geos, shore, c.holes);
        const GeosGeometry ours = grownByRings(geos, polygon.get(), 1e-4, 2, "grow");
        const GeosGeometry whole =
            owned(geos, GEOSBuffer_r(geos.handle(), polygon.get(), 1e-4, 2), "grow the whole");
        // Normalized, the same rings in the same order from the same vertex, to the bit.
        ASSERT_EQ(GEOSNormalize_r(geos.handle(), ours.get()), 0) << c.name;
        ASSERT_EQ(GEOSNormalize_r(geos.handle(), whole.get()), 0) << c.name;
        EXPECT_EQ(GEOSEqualsExact_r(geos.handle(), ours.get(), whole.get(), 0.0), 1) << c.name;
    }
}
