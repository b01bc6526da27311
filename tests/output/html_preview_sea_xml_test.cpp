// The HTML preview measured against the sea, checked by reading the page as XML: the areas
// on the map where they lie, the legs coloured by the findings, the depth profile through
// hand-worked values, and nothing of the sea without the sea checks; and a survey's area.
#include "export_fixture.h"
#include "output/html_depth_profile.h"
#include "output/html_preview_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// The frame of the two-point route, worked out apart from the program (see
// HtmlPreview.MapIsFittedAndCentredOnTheRoute), and the sphere of 6371 km.
constexpr double kMidLon = -121.81052147612851;
constexpr double kMidLat = 36.81840654032872;
constexpr double kPixelsPerMeter = 880.0 / 2122.4009764348225;
constexpr double kMetersPerDegree = 6371000.0 * std::numbers::pi / 180.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct At {
    double x;
    double y;
};

// Where the map puts a position: the middle of the map area (480, 355) plus meters east
// and north at the route's middle latitude.
At onMap(double lat, double lon) {
    const double east =
        (lon - kMidLon) * kMetersPerDegree * std::cos(kMidLat * std::numbers::pi / 180.0);
    const double north = (lat - kMidLat) * kMetersPerDegree;
    return {480.0 + east * kPixelsPerMeter, 355.0 - north * kPixelsPerMeter};
}

// The two-point route's points on the map, as the writer's own tests worked them out.
const At kLaunch{40.0, 497.621};
const At kFirst{237.199, 433.679};
const At kLast{920.0, 212.379};

At between(At from, At to, double share) {
    return {from.x + (to.x - from.x) * share, from.y + (to.y - from.y) * share};
}

// Every number in an SVG path or points list, in order.
std::vector<double> numbersIn(const char* text) {
    std::vector<double> numbers;
    const char* at = text;
    while (*at != '\0') {
        if ((*at >= '0' && *at <= '9') || *at == '-' || *at == '.') {
            char* end = nullptr;
            numbers.push_back(std::strtod(at, &end));
            at = end;
        } else {
            ++at;
        }
    }
    return numbers;
}

std::vector<double> flat(const std::vector<At>& points) {
    std::vector<double> numbers;
    for (const At& point : points) {
        numbers.push_back(point.x);
        numbers.push_back(point.y);
    }
    return numbers;
}

// The page's coordinates carry one decimal.
void expectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 0.051) << what << " number " << i;
    }
}

SurveyLeg leg(std::size_t index, double length, double routeStart, std::int32_t from,
              std::int32_t to) {
    SurveyLeg result;
    result.leg = index;
    result.fromNumber = from;
    result.toNumber = to;
    result.length = length;
    result.routeStart = routeStart;
    return result;
}

// The legs of the two-point route: the launch leg of 500 m and the leg of the file.
SeaSurvey twoPointLegs() {
    SeaSurvey sea;
    sea.legs = {leg(0, 500.0, 0.0, 0, 1), leg(1, kLegOneDistance, 500.0, 1, 2)};
    return sea;
}

PlanFinding placed(FindingSeverity severity, std::size_t legIndex,
                   std::vector<LegStretch> stretches) {
    FindingPlace place;
    place.leg = legIndex;
    place.stretches = std::move(stretches);
    return PlanFinding(severity, "finding", place);
}

std::string page(const SeaSurvey& sea, const std::vector<PlanFinding>& findings,
                 const MissionParameters& params = {}, bool landChecked = true) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    std::ostringstream out;
    writeHtmlPreview(out, "2020_189_155.html", route, twoPointTotals(), sea, findings, params,
                     landChecked);
    return out.str();
}

struct Page {
    pugi::xml_document document;
    explicit Page(const std::string& text) {
        const pugi::xml_parse_result parsed = document.load_string(text.c_str());
        EXPECT_TRUE(parsed) << parsed.description() << " at byte " << parsed.offset;
    }
    pugi::xpath_node_set all(const std::string& query) const {
        return document.select_nodes(query.c_str());
    }
    pugi::xml_node one(const std::string& query) const {
        const pugi::xpath_node_set nodes = all(query);
        EXPECT_EQ(nodes.size(), 1u) << query;
        return nodes.empty() ? pugi::xml_node() : nodes.first().node();
    }
};

const char* kMap = "//svg[@aria-label='Map of the route']";
const char* kProfile = "//svg[@class='profile']";
// What is drawn, not its sample in a legend.
const std::string kDrawn = "[not(ancestor::g[@class='legend'])]";

// One leg of 500 m and one of 1500 m. The first is known from end to end (depths 20, 30 and
// 40 m, the shallowest cells 5 m less); the second is off the grid in its middle sample and
// known at 1000 m (80 m, shallowest 70 m) and at its end (60 m, shallowest 55 m).
SeaSurvey profileSurvey() {
    SeaSurvey sea;
    sea.legs = {leg(0, 500.0, 0.0, 0, 1), leg(1, 1500.0, 500.0, 1, 2)};
    sea.gridFile = "shelf.tif";
    const auto sample = [](double alongLeg, double alongRoute, double depth, double shallowest) {
        DepthSample result;
        result.alongLeg = alongLeg;
        result.alongRoute = alongRoute;
        result.state = std::isnan(depth) ? DepthState::offGrid : DepthState::known;
        result.depth = depth;
        result.shallowest = shallowest;
        return result;
    };
    LegSeabed first;
    first.leg = 0;
    first.samples = {sample(0.0, 0.0, 20.0, 15.0), sample(250.0, 250.0, 30.0, 25.0),
                     sample(500.0, 500.0, 40.0, 35.0)};
    LegSeabed second;
    second.leg = 1;
    second.samples = {sample(0.0, 500.0, 40.0, 35.0), sample(500.0, 1000.0, kNaN, kNaN),
                      sample(1000.0, 1500.0, 80.0, 70.0), sample(1500.0, 2000.0, 60.0, 55.0)};
    sea.seabed = {first, second};
    return sea;
}

// The profile's plot runs from x 70 to 930 over the 2000 m of the route, and from 0 down to
// 120 m over y 100 to 350: the deepest to show is the abort depth of 100 m (within 1.5 times
// the yo-yo's 90 m), the ticks are 20 m apart and the axis ends a tick beyond.
At profileAt(double alongRoute, double depth) {
    return {70.0 + alongRoute / 2000.0 * 860.0, 100.0 + depth / 120.0 * 250.0};
}

} // namespace

std::size_t count(const std::string& text, char letter) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), letter));
}

TEST(HtmlPreviewSea, AreasAreDrawnWhereTheyLieUnderTheRoute) {
    SeaSurvey sea = twoPointLegs();
    SeaZone land;
    land.kind = ZoneKind::keepOut;
    land.file = "land.geojson";
    land.name = "1";
    GeoArea island;
    island.outer = {{36.817, -121.812}, {36.817, -121.808}, {36.819, -121.808}, {36.819, -121.812}};
    island.holes = {{{36.8175, -121.8110}, {36.8180, -121.8100}, {36.8185, -121.8110}}};
    land.parts = {island};
    SeaZone region;
    region.kind = ZoneKind::opRegion;
    region.file = "permit.kml";
    GeoArea permit;
    permit.outer = {{36.80, -121.85}, {36.80, -121.77}, {36.84, -121.77}, {36.84, -121.85}};
    region.parts = {permit};
    sea.zones = {land, region};
    // Reaching past every edge of the page: nothing on it is cut.
    sea.surroundings = GeoBox{-121.86, -121.76, 36.79, 36.85};
    const std::string text = page(sea, {});
    const Page read(text);

    std::vector<At> rings;
    for (const GeoPoint& vertex : island.outer) {
        rings.push_back(onMap(vertex.lat, vertex.lon));
    }
    for (const GeoPoint& vertex : island.holes[0]) {
        rings.push_back(onMap(vertex.lat, vertex.lon));
    }
    const pugi::xml_node keepOut = read.one(std::string(kMap) + "//g[@class='keepout']");
    EXPECT_STREQ(keepOut.child_value("title"), "keep-out area 1 of land.geojson");
    const std::string islandPath = keepOut.child("path").attribute("d").value();
    expectNear(numbersIn(islandPath.c_str()), flat(rings), "keep-out area");
    EXPECT_EQ(count(islandPath, 'M'), 2u) << islandPath; // the outer ring and the hole
    EXPECT_EQ(count(islandPath, 'Z'), 2u) << islandPath;

    std::vector<At> corners;
    for (const GeoPoint& vertex : permit.outer) {
        corners.push_back(onMap(vertex.lat, vertex.lon));
    }
    const pugi::xml_node opRegion = read.one(std::string(kMap) + "//g[@class='opregion']");
    EXPECT_STREQ(opRegion.child_value("title"), "operating region of permit.kml");
    expectNear(numbersIn(opRegion.child("path").attribute("d").value()), flat(corners),
               "operating region");

    // The region under the keep-out areas, both under the route; clipped to the page below
    // the legend, and nothing greyed, since the surroundings reach past the page.
    EXPECT_LT(text.find("<g class=\"opregion\">"), text.find("<g class=\"keepout\">"));
    EXPECT_LT(text.find("<g class=\"keepout\">"), text.find("<polyline class=\"route\""));
    EXPECT_TRUE(read.all("//path[@class='unread']").empty());
    expectNear(numbersIn(read.one("//clipPath[@id='surroundings']/path").attribute("d").value()),
               {0.0, 66.0, 960.0, 700.0, 0.0}, "clip to the page");
    EXPECT_EQ(read.one(std::string(kMap) + "//g[@clip-path='url(#surroundings)']")
                  .select_nodes("g")
                  .size(),
              2u);
    EXPECT_EQ(read.all("//g[@class='legend']/text[.='keep-out area']").size(), 1u);
    EXPECT_EQ(read.all("//g[@class='legend']/text[.='operating region']").size(), 1u);
    EXPECT_TRUE(read.all("//g[@class='legend']/text[.='areas not read']").empty());
}

// A survey's area under the route, its hole left open, with or without the sea; a vertex
// written 360 degrees round is drawn where it lies.
TEST(HtmlPreviewSea, TheSurveyAreaIsDrawnUnderTheRoute) {
    GeoArea bay;
    bay.name = "bay <north>";
    // Within the route's extent, which the map is then fitted to.
    bay.outer = {
        {36.816, -121.82}, {36.816, -121.80}, {36.821, -121.80 + 360.0}, {36.821, -121.82}};
    bay.holes = {{{36.818, -121.812}, {36.820, -121.812}, {36.820, -121.808}}};
    std::vector<At> rings;
    for (const GeoRing* ring : {&bay.outer, &bay.holes[0]}) {
        for (const GeoPoint& vertex : *ring) {
            rings.push_back(onMap(vertex.lat, std::remainder(vertex.lon, 360.0)));
        }
    }
    WaypointList route;
    fillTwoPointExportRoute(route);
    std::vector<At> fromFile;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        if (node->kind == WaypointKind::fromFile) {
            fromFile.push_back(onMap(node->lat, node->lon));
        }
    }
    // Its one line, numbered a third of the way along, beside the line and above it.
    const std::vector<SurveyPiece> lines = {{PieceKind::line, 5, 1, 0, 1, 0.0, 0.0}};
    const At third = between(fromFile[0], fromFile[1], 1.0 / 3.0);
    std::ostringstream plain;
    const std::vector<GeoArea> areas = {bay};
    writeHtmlPreview(plain, "2020_189_155.html", route, twoPointTotals(), areas, &lines);
    std::ostringstream withSea;
    writeHtmlPreview(withSea, "2020_189_155.html", route, twoPointTotals(), twoPointLegs(), {}, {},
                     true, &areas, &lines);
    for (const std::string& text : {plain.str(), withSea.str()}) {
        const Page read(text);
        const pugi::xml_node area = read.one(std::string(kMap) + "//g[@class='surveyarea']");
        EXPECT_STREQ(area.child_value("title"), "survey area bay <north>");
        const std::string path = area.child("path").attribute("d").value();
        expectNear(numbersIn(path.c_str()), flat(rings), "survey area");
        EXPECT_EQ(count(path, 'M'), 2u) << path;
        EXPECT_LT(text.find("<g class=\"surveyarea\">"), text.find("<polyline class=\"route\""));
        // One row for it in the legend, which the sea shares.
        EXPECT_EQ(read.all("//g[@class='legend']/text[.='survey area']").size(), 1u);
        EXPECT_EQ(read.all("//g[@class='legend']").size(), 2u);
        const pugi::xml_node number =
            read.one(std::string(kMap) + "//g[title]/text[@class='linenumber']");
        EXPECT_STREQ(number.child_value(), "5");
        const double x = number.attribute("x").as_double();
        const double y = number.attribute("y").as_double() - 4.0; // the baseline below it
        EXPECT_NEAR(std::hypot(x - third.x, y - third.y), 8.0, 0.1);
        EXPECT_LT(y, third.y);
        EXPECT_EQ(read.all("//g[@class='legend']/text[.='survey line, numbered in the order "
                           "run']")
                      .size(),
                  1u);
    }
    EXPECT_EQ(plain.str().find("profile"), std::string::npos);
}

// Surroundings smaller than the page: the areas are clipped a unit inside them, so that no
// cut edge is drawn as a shore, and what lies beyond is greyed as not read.
TEST(HtmlPreviewSea, BeyondTheSurroundingsIsGreyedAsNotRead) {
    SeaSurvey sea = twoPointLegs();
    SeaZone land;
    land.file = "land.geojson";
    land.name = "Point Pinos";
    GeoArea cut;
    cut.outer = {{36.812, -121.83}, {36.812, -121.81}, {36.814, -121.81}};
    land.parts = {cut};
    sea.zones = {land};
    sea.surroundings = GeoBox{-121.82, -121.80, 36.813, 36.822};
    const Page read(page(sea, {}));
    const At northWest = onMap(36.822, -121.82);
    const At southEast = onMap(36.813, -121.80);
    // The box lies on the page, below the legend.
    ASSERT_GT(northWest.x, 0.0);
    ASSERT_GT(northWest.y, 66.0);
    ASSERT_LT(southEast.x, 960.0);
    ASSERT_LT(southEast.y, 700.0);
    const std::vector<double> window = {northWest.x + 1.0, northWest.y + 1.0, southEast.x - 1.0,
                                        southEast.y - 1.0, northWest.x + 1.0};
    expectNear(numbersIn(read.one("//clipPath[@id='surroundings']/path").attribute("d").value()),
               window, "clip to the surroundings");
    std::vector<double> grey = {0.0, 66.0, 960.0, 700.0, 0.0};
    grey.insert(grey.end(), window.begin(), window.end());
    expectNear(numbersIn(read.one("//path[@class='unread']").attribute("d").value()), grey,
               "grey beyond");
    EXPECT_STREQ(read.one("//g[@class='keepout']").child_value("title"),
                 "keep-out area Point Pinos of land.geojson");
    EXPECT_EQ(read.all("//g[@class='legend']/text[.='areas not read']").size(), 1u);
    EXPECT_TRUE(read.all("//g[@class='opregion']").empty());
}

// Orange where a warning lies and red where an error lies, over the route's line and under
// its symbols: the launch leg wholly orange for a warning over all of it, and wholly red
// for an error that has only a place (a crossing half way, ringed); the leg of the file red
// from a quarter to a half of its length. Notes, findings without a place and places on no
// leg of the route are not drawn.
TEST(HtmlPreviewSea, LegsAreColouredWhereTheFindingsLie) {
    const SeaSurvey sea = twoPointLegs();
    const std::vector<PlanFinding> findings = {
        placed(FindingSeverity::warning, 0, {{0.0, 500.0}}),
        placed(FindingSeverity::error, 1, {{0.25 * kLegOneDistance, 0.5 * kLegOneDistance}}),
        placed(FindingSeverity::error, 0, {{250.0, 250.0}}),
        placed(FindingSeverity::note, 1, {{0.0, kLegOneDistance}}),
        PlanFinding(FindingSeverity::warning, "gpsHits"),
        placed(FindingSeverity::warning, 7, {{0.0, 1.0}}),
    };
    const std::string text = page(sea, findings);
    const Page read(text);
    expectNear(
        numbersIn(read.one("//path[@class='finding warning']" + kDrawn).attribute("d").value()),
        flat({kLaunch, kFirst}), "warning");
    expectNear(
        numbersIn(read.one("//path[@class='finding error']" + kDrawn).attribute("d").value()),
        flat({kLaunch, kFirst, between(kFirst, kLast, 0.25), between(kFirst, kLast, 0.5)}),
        "errors");
    const pugi::xml_node ring = read.one("//circle[@class='place error']");
    const At middle = between(kLaunch, kFirst, 0.5);
    EXPECT_NEAR(ring.attribute("cx").as_double(), middle.x, 0.051);
    EXPECT_NEAR(ring.attribute("cy").as_double(), middle.y, 0.051);
    EXPECT_TRUE(read.all("//circle[@class='place warning']").empty());
    // Errors over warnings; both over the route and under the arrows and the symbols.
    EXPECT_LT(text.find("<polyline class=\"route\""), text.find("class=\"finding warning\""));
    EXPECT_LT(text.find("class=\"finding warning\""), text.find("class=\"finding error\""));
    EXPECT_LT(text.find("class=\"place error\""), text.find("<path class=\"dir\""));
    // Without a grid there is no profile.
    EXPECT_TRUE(read.all(kProfile).empty());
    EXPECT_EQ(text.find("<h2>"), std::string::npos);
}

// The profile of profileSurvey() with the default yo-yo mission, worked by hand.
TEST(HtmlPreviewSea, ProfilePassesThroughTheSamples) {
    SeaSurvey sea = profileSurvey();
    const std::vector<PlanFinding> findings = {
        placed(FindingSeverity::error, 1, {{1000.0, 1500.0}}),
        placed(FindingSeverity::warning, 0, {{100.0, 100.0}}),
    };
    const Page read(page(sea, findings));
    const std::string profile = std::string(kProfile);
    read.one(profile);
    EXPECT_STREQ(read.one("//h2").child_value(), "Depth along the route");

    // The seabed in two runs, broken where the grid has no depth; the legs' junction at
    // 500 m is a sample of both legs, drawn once.
    const pugi::xpath_node_set seabed = read.all(profile + "//polyline[@class='seabed']");
    ASSERT_EQ(seabed.size(), 2u);
    expectNear(numbersIn(seabed[0].node().attribute("points").value()),
               flat({profileAt(0, 20), profileAt(250, 30), profileAt(500, 40)}),
               "seabed before the gap");
    EXPECT_NEAR(profileAt(250, 30).y, 162.5, 1e-9);
    expectNear(numbersIn(seabed[1].node().attribute("points").value()),
               flat({profileAt(1500, 80), profileAt(2000, 60)}), "seabed after the gap");

    // The ground from the bottom of the plot up to the seabed; the band from the shallowest
    // cells down to the seabed, back the other way, the shallowest cells in steps that change
    // half way between the samples at 1500 and 2000 m.
    const pugi::xpath_node_set ground = read.all(profile + "//path[@class='ground']");
    ASSERT_EQ(ground.size(), 2u);
    expectNear(numbersIn(ground[1].node().attribute("d").value()),
               flat({{715.0, 350.0}, profileAt(1500, 80), profileAt(2000, 60), {930.0, 350.0}}),
               "ground");
    const pugi::xpath_node_set band = read.all(profile + "//path[@class='band']");
    ASSERT_EQ(band.size(), 2u);
    expectNear(numbersIn(band[1].node().attribute("d").value()),
               flat({profileAt(1500, 70), profileAt(1750, 70), profileAt(1750, 55),
                     profileAt(2000, 55), profileAt(2000, 60), profileAt(1500, 80)}),
               "band");
    // yoyoMinAltitude 15 m and abortAltitude 2.5 m above the shallowest cells.
    const pugi::xpath_node_set minimum = read.all(profile + "//polyline[@class='minaltitude']");
    ASSERT_EQ(minimum.size(), 2u);
    expectNear(
        numbersIn(minimum[1].node().attribute("points").value()),
        flat({profileAt(1500, 55), profileAt(1750, 55), profileAt(1750, 40), profileAt(2000, 40)}),
        "minimum altitude");
    const pugi::xpath_node_set abort = read.all(profile + "//polyline[@class='abortaltitude']");
    ASSERT_EQ(abort.size(), 2u);
    expectNear(numbersIn(abort[1].node().attribute("points").value()),
               flat({profileAt(1500, 67.5), profileAt(1750, 67.5), profileAt(1750, 52.5),
                     profileAt(2000, 52.5)}),
               "abort altitude");

    // The gap: the off-grid sample stands for 250 m either side of it.
    const pugi::xml_node gap = read.one(profile + "//rect[@class='nodepth']" + kDrawn);
    expectNear({gap.attribute("x").as_double(), gap.attribute("width").as_double()},
               {profileAt(750, 0).x, 215.0}, "gap");
    // The yo-yo band, 10 to 90 m; the abort depth, 100 m; the surface.
    const pugi::xml_node yoyo = read.one(profile + "//rect[@class='yoyo']" + kDrawn);
    expectNear({yoyo.attribute("y").as_double(), yoyo.attribute("height").as_double()},
               {profileAt(0, 10).y, 80.0 / 120.0 * 250.0}, "yo-yo band");
    expectNear(
        numbersIn(
            read.one(profile + "//path[@class='abortdepth']" + kDrawn).attribute("d").value()),
        {70.0, profileAt(0, 100).y, 930.0}, "abort depth");
    expectNear(numbersIn(read.one(profile + "//path[@class='surface']").attribute("d").value()),
               {70.0, 100.0, 930.0}, "surface");
    EXPECT_TRUE(read.all(profile + "//path[@class='commanded']" + kDrawn).empty());

    // The error's stretch, 1500 to 2000 m along the route, and the warning's place.
    const pugi::xml_node failing = read.one(profile + "//rect[@class='failing error']");
    expectNear({failing.attribute("x").as_double(), failing.attribute("width").as_double()},
               {715.0, 215.0}, "error stretch");
    read.one(profile + "//rect[@class='bar error']" + kDrawn);
    expectNear(
        numbersIn(read.one(profile + "//path[@class='failplace warning']").attribute("d").value()),
        {profileAt(100, 0).x, 100.0, 350.0}, "warning place");

    // The route's three points at the surface, numbered.
    EXPECT_EQ(read.all(profile + "//path[@class='surfacing']").size(), 3u + 1u); // and the legend's
    const pugi::xpath_node_set numbers = read.all(profile + "//text[@class='number']");
    ASSERT_EQ(numbers.size(), 3u);
    EXPECT_STREQ(numbers[2].node().child_value(), "2");
    EXPECT_NEAR(numbers[1].node().attribute("x").as_double(), 285.0, 0.051);

    // Axes: depths every 20 m from 0 to 120, distances every 0.5 km.
    std::string depths;
    for (const pugi::xpath_node& label : read.all(profile + "//g[@class='depthaxis']/text")) {
        depths += std::string(label.node().child_value()) + ";";
    }
    EXPECT_EQ(depths, "0;20;40;60;80;100;120;water depth, m;");
    std::string distances;
    for (const pugi::xpath_node& label : read.all(profile + "//g[@class='distanceaxis']/text")) {
        distances += std::string(label.node().child_value()) + ";";
    }
    EXPECT_EQ(distances, "0.0;0.5;1.0;1.5;2.0;distance from the launch waypoint, km;");
    const pugi::xml_node legend = read.one(profile + "//g[@class='legend']");
    std::string words;
    for (const pugi::xml_node& entry : legend.children("text")) {
        words += std::string(entry.child_value()) + ";";
    }
    EXPECT_EQ(words,
              "seabed (bilinear);up to the shallowest of the 4 cells around, in steps "
              "(what is checked);yo-yo band 10 m to 90 m;yoyoMinAltitude 15 m above the shallowest "
              "cells;abortAltitude 2.5 m above them;abortDepth 100 m;route point, at the "
              "surface;no depth;error;warning;");
}

// A plain mission holds wayPointDepth and has no minimum altitude; ground above the sea
// lifts the top of the plot above the surface; an abort depth far below everything else is
// named in the legend rather than drawn.
TEST(HtmlPreviewSea, ProfileOfAPlainMissionOverLand) {
    SeaSurvey sea = profileSurvey();
    sea.seabed[1].samples[3].depth = -30.0; // ground 30 m above the sea
    sea.seabed[1].samples[3].shallowest = -35.0;
    MissionParameters params;
    params.yoyoMission = 0;
    params.wayPointDepth = 50.0;
    params.abortDepth = 1000.0;
    const Page read(page(sea, {}, params));
    const std::string profile = kProfile;
    // From -35 m to the deepest of the seabed (80 m) and wayPointDepth: steps of 50 m, a step
    // beyond each end, -50 m to 100 m, over 250 units.
    const auto y = [](double depth) { return 100.0 + (depth + 50.0) / 150.0 * 250.0; };
    expectNear(
        numbersIn(read.one(profile + "//path[@class='commanded']" + kDrawn).attribute("d").value()),
        {70.0, y(50.0), 930.0}, "waypoint depth");
    expectNear(numbersIn(read.one(profile + "//path[@class='surface']").attribute("d").value()),
               {70.0, y(0.0), 930.0}, "surface");
    const pugi::xml_node air = read.one(profile + "//rect[@class='air']");
    EXPECT_NEAR(air.attribute("height").as_double(), y(0.0) - 100.0, 0.051);
    const pugi::xpath_node_set seabed = read.all(profile + "//polyline[@class='seabed']");
    ASSERT_EQ(seabed.size(), 2u);
    expectNear(numbersIn(seabed[1].node().attribute("points").value()),
               {715.0, y(80.0), 930.0, y(-30.0)}, "seabed up onto land");
    EXPECT_TRUE(read.all(profile + "//rect[@class='yoyo']" + kDrawn).empty());
    EXPECT_TRUE(read.all(profile + "//polyline[@class='minaltitude']").empty());
    EXPECT_EQ(read.all(profile + "//polyline[@class='abortaltitude']").size(), 2u);
    EXPECT_TRUE(read.all(profile + "//path[@class='abortdepth']" + kDrawn).empty());
    EXPECT_EQ(read.all(profile + "//g[@class='legend']/text[.='abortDepth 1000 m, below the plot']")
                  .size(),
              1u);
    EXPECT_EQ(read.all(profile + "//g[@class='legend']/text[.='wayPointDepth 50 m']").size(), 1u);
    std::string depths;
    for (const pugi::xpath_node& label : read.all(profile + "//g[@class='depthaxis']/text")) {
        depths += std::string(label.node().child_value()) + ";";
    }
    EXPECT_EQ(depths, "-50;0;50;100;water depth, m;");
}

// A long route sampled finely: the profile keeps a few values per column of the page, and
// a one-sample shoal among 200000 samples is still drawn at its depth.
TEST(HtmlPreviewSea, LongProfilesAreThinnedWithoutLosingAShoal) {
    SeaSurvey sea;
    sea.gridFile = "gebco.nc";
    constexpr int kSamples = 200000;
    constexpr double kStep = 25.0;
    sea.legs = {leg(0, kStep * (kSamples - 1), 0.0, 0, 1)};
    LegSeabed seabed;
    for (int i = 0; i < kSamples; ++i) {
        DepthSample sample;
        sample.alongLeg = sample.alongRoute = kStep * i;
        sample.state = DepthState::known;
        sample.depth = 200.0 + 20.0 * std::sin(i / 500.0);
        sample.shallowest = sample.depth - 5.0;
        if (i == 123457) {
            sample.depth = 12.0; // a rock one sample wide
            sample.shallowest = 3.0;
        }
        seabed.samples.push_back(sample);
    }
    sea.seabed = {seabed};
    const std::string text = page(sea, {});
    EXPECT_LT(text.size(), 200'000u);
    const Page read(text);
    const std::vector<double> points =
        numbersIn(read.one("//polyline[@class='seabed']").attribute("points").value());
    EXPECT_LE(points.size() / 2, 2u * 861u);
    // Depths 0 to 250 m over 250 units (the deepest to show is 220 m, ticks 50 m apart).
    double top = 350.0;
    double shoalX = 0.0;
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
        if (points[i + 1] < top) {
            top = points[i + 1];
            shoalX = points[i];
        }
    }
    EXPECT_NEAR(top, 100.0 + 12.0, 0.051);
    EXPECT_NEAR(shoalX, 70.0 + 123457.0 / (kSamples - 1) * 860.0, 0.051);
}

// The sea page is well-formed XHTML and as self-contained as the plain one: its only
// references are to its own definitions.
TEST(HtmlPreviewSea, WorksOfflineAndParses) {
    SeaSurvey sea = profileSurvey();
    SeaZone land;
    GeoArea area;
    area.outer = {{36.817, -121.812}, {36.817, -121.808}, {36.819, -121.808}};
    land.parts = {area};
    sea.zones = {land};
    const std::string text = page(sea, {placed(FindingSeverity::error, 0, {{0.0, 1.0}})});
    const Page read(text);
    EXPECT_EQ(read.all("//svg").size(), 2u);
    std::size_t references = 0;
    for (std::size_t at = text.find("url("); at != std::string::npos;
         at = text.find("url(", at + 1)) {
        EXPECT_EQ(text[at + 4], '#') << text.substr(at, 30);
        ++references;
    }
    EXPECT_GT(references, 0u);
    std::size_t links = 0;
    for (std::size_t at = text.find("http"); at != std::string::npos;
         at = text.find("http", at + 1)) {
        ++links;
    }
    EXPECT_EQ(links, 3u); // the XHTML namespace and the SVG namespace of each drawing
    EXPECT_EQ(text.find("<script"), std::string::npos);
}

// Without the sea checks the page is the one it always was: nothing of the sea in it.
TEST(HtmlPreviewSea, NothingOfTheSeaWithoutTheChecks) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    std::ostringstream out;
    writeHtmlPreview(out, "2020_189_155.html", route, twoPointTotals());
    const std::string text = out.str();
    const Page read(text);
    EXPECT_EQ(read.all("//svg").size(), 1u);
    for (const char* sea : {"keepout", "opregion", "finding", "place", "profile", "seabed",
                            "surroundings", "unread", "<h2>", ".route{stroke:#34495e}"}) {
        EXPECT_EQ(text.find(sea), std::string::npos) << sea;
    }
    EXPECT_EQ(read.all("//g[@class='legend']").size(), 1u);
}

// Values no sea has (a grid's garbage of 1e300 m, ground 1e300 m high) keep the axis to
// the Earth's own extremes and the page small; a leg that could not be placed is left out.
TEST(HtmlPreviewSea, ValuesBeyondTheEarthStayOffThePlot) {
    SeaSurvey sea = profileSurvey();
    sea.seabed[0].samples[1].depth = 1e300;
    sea.seabed[0].samples[1].shallowest = -1e300;
    sea.legs.push_back(leg(2, kNaN, kNaN, 2, 3));
    LegSeabed lost;
    lost.leg = 2;
    sea.seabed.push_back(lost);
    const std::string text = page(sea, {placed(FindingSeverity::error, 2, {{0.0, 0.0}})});
    EXPECT_LT(text.size(), 30'000u);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    const Page read(text);
    std::string depths;
    for (const pugi::xpath_node& label :
         read.all(std::string(kProfile) + "//g[@class='depthaxis']/text")) {
        depths += std::string(label.node().child_value()) + ";";
    }
    EXPECT_EQ(depths, "-10000;-5000;0;5000;10000;15000;water depth, m;");
    // The route's points that have a place: the first three.
    EXPECT_EQ(read.all(std::string(kProfile) + "//text[@class='number']").size(), 3u);
}

// A hand-made grid of 500 m cells read every 250 m along one 1000 m leg: the shallowest cells
// 10, 10, 30, 30 and 20 m are held to half way between samples, one step per value, and the
// altitudes above them step with them; the legend gives the cells' sides, a range where
// the legs' cells differ.
TEST(HtmlPreviewSea, TheCheckedBandStepsWhereTheCellsChange) {
    SeaSurvey sea;
    sea.gridFile = "cells.tif";
    sea.legs = {leg(0, 1000.0, 0.0, 0, 1), leg(1, 1000.0, 1000.0, 1, 2)};
    LegSeabed seabed;
    seabed.cellWidth = 500.0;
    seabed.cellHeight = 463.3;
    const double shallowest[] = {10.0, 10.0, 30.0, 30.0, 20.0};
    for (int i = 0; i < 5; ++i) {
        DepthSample sample;
        sample.alongLeg = sample.alongRoute = 250.0 * i;
        sample.state = DepthState::known;
        sample.shallowest = shallowest[i];
        sample.depth = shallowest[i] + 5.0;
        seabed.samples.push_back(sample);
    }
    LegSeabed wider; // no samples: a leg whose cells are wider
    wider.leg = 1;
    wider.cellWidth = 1200.0;
    wider.cellHeight = 463.3;
    sea.seabed = {seabed, wider};
    const Page read(page(sea, {}));
    const std::string profile = kProfile;
    // Meters along the route and depths of the band's upper edge; abortAltitude 2.5 m above.
    const double edge[] = {0, 10, 375, 10, 375, 30, 875, 30, 875, 20, 1000, 20};
    std::vector<double> band;
    std::vector<double> abort;
    for (std::size_t i = 0; i < std::size(edge); i += 2) {
        band.insert(band.end(), {profileAt(edge[i], 0).x, profileAt(0, edge[i + 1]).y});
        abort.insert(abort.end(), {band[i], profileAt(0, edge[i + 1] - 2.5).y});
    }
    std::vector<double> drawn =
        numbersIn(read.one(profile + "//path[@class='band']").attribute("d").value());
    drawn.resize(band.size());
    expectNear(drawn, band, "band's upper edge");
    expectNear(
        numbersIn(
            read.one(profile + "//polyline[@class='abortaltitude']").attribute("points").value()),
        abort, "abort altitude");
    EXPECT_EQ(
        read.all(profile + "//text[.='cells 500 m–1.2 km east-west, 463 m north-south']").size(),
        1u);
}

// The legs are one neutral colour on every map, and only findings colour them; the ground
// is water only where land was looked for, and otherwise neutral with a note.
TEST(HtmlPreviewSea, LegsAreNeutralAndUncheckedLandIsSaid) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    std::ostringstream plain;
    writeHtmlPreview(plain, "2020_189_155.html", route, twoPointTotals());
    const std::string noLand = page(twoPointLegs(), {}, {}, false);
    const std::string land =
        page(twoPointLegs(), {placed(FindingSeverity::error, 1, {{0.0, 10.0}})}, {}, true);
    const std::pair<std::string, bool> pages[] = {
        {plain.str(), false}, {noLand, false}, {land, true}};
    for (const auto& [text, checked] : pages) {
        const Page read(text);
        EXPECT_NE(text.find(".route{fill:none;stroke:#34495e;"), std::string::npos);
        EXPECT_EQ(read.all("//svg[@class='landunchecked']").size(), checked ? 0u : 1u);
        EXPECT_EQ(read.all(std::string(kMap) + "/text[.='land not checked']").size(),
                  checked ? 0u : 1u);
        EXPECT_EQ(read.all(std::string(kMap) + "//path[@class='finding error']" + kDrawn).size(),
                  checked ? 1u : 0u);
    }
}
