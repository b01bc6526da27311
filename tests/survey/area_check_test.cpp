// Tests of what areas are refused, with what is wrong and where, and what is accepted.
#include "survey/area_check.h"
#include "survey_checks.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace survey_checks;

namespace {

const GeoPoint kOrigin{36.80, -121.95};

GeoArea inMeters(const std::vector<std::pair<double, double>>& outer,
                 const std::vector<std::vector<std::pair<double, double>>>& holes = {}) {
    GeoArea area;
    area.outer = ringFromMeters(kOrigin, outer);
    for (const auto& hole : holes) {
        area.holes.push_back(ringFromMeters(kOrigin, hole));
    }
    return area;
}

const std::vector<std::pair<double, double>> kSquare{{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}};

} // namespace

TEST(AreaCheck, RefusesWithWhatAndWhere) {
    GeoArea pole = inMeters(kSquare);
    pole.outer[1].lat = 95.0;
    GeoArea farEast = inMeters(kSquare);
    farEast.outer[2].lon = 400.0;
    GeoArea twoPoints;
    twoPoints.outer = {{1, 1}, {2, 2}, {1, 1}};
    GeoArea wide;
    wide.outer = {{0, -120}, {0, 0}, {0, 120}, {10, 0}};
    const struct {
        const char* name;
        GeoArea area;
        const char* refusal; // the whole message, or its start when it ends in a position
    } cases[] = {
        {"latitude off the globe", pole,
         "vertex 2 of the boundary has latitude 95, outside -90..90"},
        {"longitude beyond a turn", farEast,
         "vertex 3 of the boundary has longitude 400, outside -360..360"},
        {"two distinct vertices", twoPoints,
         "the boundary has 2 distinct vertices; an area needs at least 3"},
        {"a hole of two vertices", inMeters(kSquare, {{{100, 100}, {200, 200}}}),
         "hole 1 has 2 distinct vertices; a hole needs at least 3"},
        {"vertices on one line", inMeters({{0, 0}, {500, 500}, {1000, 1000}}),
         "the boundary encloses no area: its vertices lie on one line"},
        {"half the globe", wide,
         "the area spans 240 degrees of longitude; a survey area spans less than 180"},
        {"too far from its centre", inMeters({{0, 0}, {1.2e6, 0}, {1.2e6, 1e5}}),
         "the area reaches 605.6 km from its centre; one survey covers up to 500 km"},
        {"a bow tie", inMeters({{0, 0}, {1000, 1000}, {1000, 0}, {0, 1000}}),
         "the area is not a valid polygon: two of its edges cross near "},
        {"a hole outside", inMeters(kSquare, {{{2000, 0}, {2100, 0}, {2100, 100}}}),
         "the area is not a valid polygon: a hole lies outside the boundary near "},
        {"a hole in a hole",
         inMeters(kSquare, {{{100, 100}, {900, 100}, {900, 900}, {100, 900}},
                            {{400, 400}, {600, 400}, {600, 600}}}),
         "the area is not a valid polygon: a hole lies inside another hole near "},
        {"holes that cross",
         inMeters(kSquare, {{{100, 100}, {600, 100}, {600, 600}, {100, 600}},
                            {{400, 400}, {900, 400}, {900, 900}, {400, 900}}}),
         "the area is not a valid polygon: two of its edges cross near "},
        {"a boundary that touches itself",
         inMeters({{0, 0}, {1000, 0}, {500, 500}, {1000, 1000}, {0, 1000}, {500, 500}}),
         "the area is not a valid polygon: a ring touches itself near "},
        {"holes that cut the water in two",
         inMeters(kSquare,
                  {{{500, 250}, {200, 200}, {200, 800}, {500, 750}, {300, 700}, {300, 300}},
                   {{500, 250}, {700, 300}, {700, 700}, {500, 750}, {800, 800}, {800, 200}}}),
         "the area is not a valid polygon: its holes cut the water into separate pieces near "},
    };
    const Geos geos = makeGeos();
    for (const auto& c : cases) {
        const FramedAreaResult result = frameArea(geos, c.area);
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_EQ(result.error.rfind(c.refusal, 0), 0u) << c.name << ": " << result.error;
    }
}

// GEOS's place of a crossing, carried back to the globe: the bow tie's edges cross in its
// middle.
TEST(AreaCheck, PlacesTheCrossing) {
    const Geos geos = makeGeos();
    const FramedAreaResult result =
        frameArea(geos, inMeters({{0, 0}, {1000, 1000}, {1000, 0}, {0, 1000}}));
    ASSERT_FALSE(result.ok);
    GeoPoint place;
    ASSERT_EQ(std::sscanf(result.error.c_str() + result.error.rfind("near ") + 5, "%lf %lf",
                          &place.lat, &place.lon),
              2);
    EXPECT_LT(geodesicDistance(place, fromMeters(kOrigin, 500, 500)), 0.2);
}

TEST(AreaCheck, TakesRepeatsAndEitherOrientation) {
    GeoArea area = inMeters(kSquare, {{{100, 100}, {300, 100}, {300, 300}}});
    std::reverse(area.outer.begin(), area.outer.end());
    area.outer.insert(area.outer.begin() + 1, area.outer[1]);
    area.outer.push_back(area.outer.front());
    std::reverse(area.holes[0].begin(), area.holes[0].end());
    const Geos geos = makeGeos();
    const FramedAreaResult result = frameArea(geos, area);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.area.plane.outer.size(), 4u);
    EXPECT_GT(signedArea(result.area.plane.outer), 0.0);
    EXPECT_LT(signedArea(result.area.plane.holes[0]), 0.0);
    EXPECT_NEAR(signedArea(result.area.plane.outer), 1e6, 1.0);
}

// With many holes the area is first checked in parts: where they find fault, the reason is
// still GEOS's for the whole, and a rock that touches the boundary at a vertex, valid, is
// still accepted.
TEST(AreaCheck, ManyHolesGiveTheSameVerdict) {
    const auto withRocks = [](std::vector<std::vector<std::pair<double, double>>> holes) {
        for (int i = 0; i < 16; ++i) {
            holes.push_back({{30.0 + 60 * i, 950}, {60.0 + 60 * i, 950}, {45.0 + 60 * i, 980}});
        }
        return inMeters(kSquare, holes);
    };
    const struct {
        const char* name;
        GeoArea area;
        const char* refusal; // "" when accepted
    } cases[] = {
        {"rocks", withRocks({}), ""},
        {"a rock at a corner of the boundary", withRocks({{{0, 0}, {50, 100}, {100, 50}}}), ""},
        {"a hole outside", withRocks({{{2000, 0}, {2100, 0}, {2100, 100}}}),
         "the area is not a valid polygon: a hole lies outside the boundary near "},
        {"a hole across the boundary", withRocks({{{-50, 500}, {50, 450}, {50, 550}}}),
         "the area is not a valid polygon: two of its edges cross near "},
        {"holes that cross",
         withRocks({{{100, 100}, {600, 100}, {600, 600}, {100, 600}},
                    {{400, 400}, {900, 400}, {900, 900}, {400, 900}}}),
         "the area is not a valid polygon: two of its edges cross near "},
    };
    const Geos geos = makeGeos();
    for (const auto& c : cases) {
        const FramedAreaResult result = frameArea(geos, c.area);
        EXPECT_EQ(result.ok, c.refusal[0] == '\0') << c.name << ": " << result.error;
        EXPECT_EQ(result.error.rfind(c.refusal, 0), 0u) << c.name << ": " << result.error;
    }
}
