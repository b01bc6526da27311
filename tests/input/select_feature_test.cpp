// Tests of choosing the route or the area of a file: one candidate, several, --feature by
// name and by number, a polygon asked for as a route, plain positions as an area.
#include "input/plain_reader.h"
#include "input/read_source.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

SourceFeature route(const std::string& name, const std::string& kind, std::uint64_t line,
                    std::vector<SourcePoint> points) {
    SourceFeature feature;
    feature.shape = FeatureShape::route;
    feature.name = name;
    feature.kind = kind;
    feature.line = line;
    feature.points = std::move(points);
    return feature;
}

SourceFeature area(const std::string& name, std::uint64_t line,
                   std::vector<std::vector<SourcePoint>> rings) {
    SourceFeature feature;
    feature.shape = FeatureShape::area;
    feature.name = name;
    feature.kind = "KML polygon";
    feature.line = line;
    feature.rings = std::move(rings);
    return feature;
}

const std::vector<SourcePoint> kLegA = {{36.8, -121.9, 6}, {36.9, -121.9, 7}};
const std::vector<SourcePoint> kLegB = {{36.7, -121.8, 12}, {36.6, -121.8, 13}};
const std::vector<SourcePoint> kSquare = {
    {36.0, -122.0}, {36.0, -121.0}, {37.0, -121.0}, {37.0, -122.0}};
const std::vector<SourcePoint> kHole = {{36.4, -121.6}, {36.4, -121.4}, {36.6, -121.5}};

// Two paths, a polygon with a hole, and a third path named like the first.
SourceDocument survey() {
    SourceDocument document;
    document.format = "KML";
    document.features = {route("Leg A", "KML path", 5, kLegA), route("", "KML path", 11, kLegB),
                         area("Kelp bed", 20, {kSquare, kHole})};
    return document;
}

std::vector<std::pair<double, double>> positions(const std::vector<SourcePoint>& points) {
    std::vector<std::pair<double, double>> result;
    for (const SourcePoint& p : points) {
        result.emplace_back(p.lat, p.lon);
    }
    return result;
}

std::vector<std::pair<double, double>> positions(const GeoRing& ring) {
    std::vector<std::pair<double, double>> result;
    for (const GeoPoint& p : ring) {
        result.emplace_back(p.lat, p.lon);
    }
    return result;
}

const std::string kSurveyRoutes =
    "\n  1, \"Leg A\" (KML path, line 5)\n  2, unnamed (KML path, line 11)";

} // namespace

TEST(SelectFeature, OneRouteIsTakenWithoutFeature) {
    SourceDocument document = survey();
    document.features.erase(document.features.begin() + 1);
    const RouteSelection selection = selectRoute(document, "kelp.kml", std::nullopt);
    ASSERT_TRUE(selection.ok) << selection.error;
    EXPECT_EQ(positions(selection.points), positions(kLegA));
    EXPECT_EQ(selection.points[1].line, 7u);
}

TEST(SelectFeature, SeveralRoutesAreListedWithNumberNameAndKind) {
    const RouteSelection selection = selectRoute(survey(), "kelp.kml", std::nullopt);
    EXPECT_FALSE(selection.ok);
    EXPECT_EQ(selection.error, "*** kelp.kml holds 2 routes: choose one with --feature NAME or "
                               "--feature NUMBER ***" +
                                   kSurveyRoutes);
}

TEST(SelectFeature, FeatureByNameOrByNumber) {
    const struct {
        const char* feature;
        const std::vector<SourcePoint>& points;
    } cases[] = {{"Leg A", kLegA}, {"1", kLegA}, {"2", kLegB}, {"02", kLegB}};
    for (const auto& c : cases) {
        const RouteSelection selection = selectRoute(survey(), "kelp.kml", c.feature);
        ASSERT_TRUE(selection.ok) << c.feature << ": " << selection.error;
        EXPECT_EQ(positions(selection.points), positions(c.points)) << c.feature;
    }
}

TEST(SelectFeature, ANameComesBeforeANumber) {
    SourceDocument document = survey();
    document.features[1].name = "1";
    const RouteSelection selection = selectRoute(document, "kelp.kml", std::string("1"));
    ASSERT_TRUE(selection.ok);
    EXPECT_EQ(positions(selection.points), positions(kLegB));
}

TEST(SelectFeature, UnknownFeatureListsTheRoutes) {
    for (const char* feature : {"Leg C", "leg a", "4", "0", "-1", "1.0", ""}) {
        const RouteSelection selection = selectRoute(survey(), "kelp.kml", std::string(feature));
        EXPECT_FALSE(selection.ok) << feature;
        EXPECT_EQ(selection.error, "*** kelp.kml has no feature named or numbered \"" +
                                       std::string(feature) +
                                       "\" ***\nits routes:" + kSurveyRoutes);
    }
}

TEST(SelectFeature, TwoRoutesOfOneNameNeedTheNumber) {
    SourceDocument document = survey();
    document.features[1].name = "Leg A";
    const RouteSelection selection = selectRoute(document, "kelp.kml", std::string("Leg A"));
    EXPECT_FALSE(selection.ok);
    EXPECT_EQ(selection.error, "*** kelp.kml holds 2 routes named \"Leg A\": choose one with "
                               "--feature NUMBER ***\n  1, \"Leg A\" (KML path, line 5)\n  2, "
                               "\"Leg A\" (KML path, line 11)");
}

TEST(SelectFeature, AnAreaIsNoRoute) {
    for (const char* feature : {"Kelp bed", "3"}) {
        const RouteSelection selection = selectRoute(survey(), "kelp.kml", std::string(feature));
        EXPECT_FALSE(selection.ok);
        EXPECT_EQ(selection.error, "*** kelp.kml: feature 3, \"Kelp bed\" (KML polygon, line 20) "
                                   "is an area, not a route; an area is used with --survey or "
                                   "--keepOut ***");
    }
    SourceDocument areasOnly = survey();
    areasOnly.features.erase(areasOnly.features.begin(), areasOnly.features.begin() + 2);
    const RouteSelection selection = selectRoute(areasOnly, "kelp.kml", std::nullopt);
    EXPECT_FALSE(selection.ok);
    EXPECT_EQ(selection.error, "*** kelp.kml holds no route, only 1 area, used with --survey or "
                               "--keepOut ***\n  1, \"Kelp bed\" (KML polygon, line 20)");
}

TEST(SelectFeature, AnEmptyDocumentIsAnEmptyRoute) {
    const RouteSelection selection = selectRoute(SourceDocument{}, "empty.gpx", std::nullopt);
    EXPECT_TRUE(selection.ok);
    EXPECT_TRUE(selection.points.empty());
}

TEST(SelectFeature, TheAreaWithItsHoles) {
    for (const std::optional<std::string>& feature :
         {std::optional<std::string>(), std::optional<std::string>("Kelp bed"),
          std::optional<std::string>("3")}) {
        const AreaSelection selection = selectArea(survey(), "kelp.kml", feature);
        ASSERT_TRUE(selection.ok) << selection.error;
        EXPECT_EQ(selection.area.name, "Kelp bed");
        EXPECT_EQ(positions(selection.area.outer), positions(kSquare));
        ASSERT_EQ(selection.area.holes.size(), 1u);
        EXPECT_EQ(selection.area.holes[0].size(), 3u);
    }
    const AreaSelection route = selectArea(survey(), "kelp.kml", std::string("Leg A"));
    EXPECT_FALSE(route.ok);
    EXPECT_EQ(route.error, "*** kelp.kml: feature 1, \"Leg A\" (KML path, line 5) is a route, not "
                           "an area (a polygon) ***");
}

TEST(SelectFeature, AllAreasInFileOrderAndUnnamedByNumber) {
    SourceDocument document = survey();
    document.features.push_back(area("", 40, {kHole}));
    const AreasSelection selection = allAreas(document, "kelp.kml");
    ASSERT_TRUE(selection.ok);
    ASSERT_EQ(selection.areas.size(), 2u);
    EXPECT_EQ(selection.areas[0].name, "Kelp bed");
    EXPECT_EQ(selection.areas[1].name, "4");

    document.features.erase(document.features.begin() + 2, document.features.end());
    const AreasSelection none = allAreas(document, "kelp.kml");
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.error,
              "*** kelp.kml holds no area (a polygon), only 2 routes ***" + kSurveyRoutes);
}

// Plain positions as an area: a last position that repeats the first closes the ring.
TEST(SelectFeature, PlainPositionsAreTheBoundaryOfAnArea) {
    for (const char* text : {"36 -122\n36 -121\n37 -121\n37 -122\n",
                             "# closed\n36 -122\n36 -121\n37 -121\n37 -122\n36 -122\n"}) {
        const DocumentResult read = readPlain(text, "area.txt");
        ASSERT_TRUE(read.ok);
        const AreaSelection one = selectArea(read.document, "area.txt", std::nullopt);
        ASSERT_TRUE(one.ok) << one.error;
        EXPECT_EQ(positions(one.area.outer), positions(kSquare)) << text;
        EXPECT_TRUE(one.area.holes.empty());
        const AreasSelection all = allAreas(read.document, "area.txt");
        ASSERT_TRUE(all.ok);
        ASSERT_EQ(all.areas.size(), 1u);
        EXPECT_EQ(positions(all.areas[0].outer), positions(kSquare));
    }
    const DocumentResult two = readPlain("36 -122\n36 -121\n36 -122\n", "two.txt");
    const AreaSelection refused = selectArea(two.document, "two.txt", std::nullopt);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "*** two.txt: an area needs at least 3 positions, found 2 ***");
    EXPECT_FALSE(allAreas(two.document, "two.txt").ok);
}

// Several areas for one survey: "all", or each named once, in the order named; a name that
// picks no area refuses the lot.
TEST(SelectFeature, SeveralAreas) {
    SourceDocument document = survey();
    document.features.push_back(area("Wreck", 40, {kHole}));
    struct Case {
        std::vector<std::string> asked;
        std::vector<std::string> areas; // names picked, in order; none when refused
        std::string error;
    };
    const Case cases[] = {
        {{"all"}, {"Kelp bed", "Wreck"}, ""},
        {{"Wreck", "3"}, {"Wreck", "Kelp bed"}, ""},
        {{"Wreck", "4", "Wreck"}, {"Wreck"}, ""},
        {{"all", "Reef"}, {}, "*** kelp.kml has no feature named or numbered \"Reef\" ***"},
        {{}, {}, "*** kelp.kml holds 2 areas: choose one"},
        {{"Wreck", "Reef"}, {}, "*** kelp.kml has no feature named or numbered \"Reef\" ***"},
        {{"Wreck", "Leg A"},
         {},
         "*** kelp.kml: feature 1, \"Leg A\" (KML path, line 5) is a route, not an area (a "
         "polygon) ***"},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        const AreasSelection selection = selectAreas(document, "kelp.kml", c.asked);
        std::vector<std::string> names;
        for (const GeoArea& picked : selection.areas) {
            names.push_back(picked.name);
        }
        EXPECT_EQ(names, c.areas) << "case " << k;
        EXPECT_EQ(selection.ok, c.error.empty()) << "case " << k;
        EXPECT_EQ(selection.error.substr(0, c.error.size()), c.error) << "case " << k;
    }
    // A feature named "all" is the one meant.
    document.features.back().name = "all";
    const AreasSelection named = selectAreas(document, "kelp.kml", {"all"});
    ASSERT_EQ(named.areas.size(), 1u);
    EXPECT_EQ(named.areas[0].name, "all");
}
