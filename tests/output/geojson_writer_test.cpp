// The GeoJSON export, whole, for a planned route, an antimeridian route and degenerate lists.
#include "export_fixture.h"
#include "output/geojson_writer.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <utility>
#include <vector>

namespace {

std::string geoJson(const WaypointList& route, const RouteTotals& totals) {
    std::ostringstream out;
    writeGeoJson(out, route, totals);
    return out.str();
}

} // namespace

TEST(GeoJson, TwoPointRouteWhole) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    // 500 + 1731.1133172116536 is 2231.1133172116533 in doubles.
    EXPECT_EQ(
        geoJson(route, twoPointTotals()),
        "{\"type\":\"FeatureCollection\",\n"
        "\"totals\":{\"surveyLineDistance\":2231.1133172116533,"
        "\"expectedMissionTime\":2381.1133172116533},\n"
        "\"features\":[\n"
        "{\"type\":\"Feature\",\"properties\":{\"kind\":\"route\","
        "\"surveyLineDistance\":2231.1133172116533,\"expectedMissionTime\":2381.1133172116533},"
        "\"geometry\":{\"type\":\"LineString\",\"coordinates\":"
        "[[-121.82244295225705,36.81531308065744],[-121.8171,36.8167],[-121.7986,36.8215]]}},\n"
        "{\"type\":\"Feature\",\"properties\":{\"number\":0,\"kind\":\"launch\","
        "\"legDistance\":500,\"legHeading\":72.0365515156257,\"legTime\":650},"
        "\"geometry\":{\"type\":\"Point\",\"coordinates\":[-121.82244295225705,36.81531308065744]}}"
        ",\n"
        "{\"type\":\"Feature\",\"properties\":{\"number\":1,\"kind\":\"waypoint\","
        "\"legDistance\":1731.1133172116536,\"legHeading\":72.0365515156257,"
        "\"legTime\":1731.1133172116536},"
        "\"geometry\":{\"type\":\"Point\",\"coordinates\":[-121.8171,36.8167]}},\n"
        "{\"type\":\"Feature\",\"properties\":{\"number\":2,\"kind\":\"waypoint\","
        "\"legDistance\":0,\"legHeading\":0,\"legTime\":0},"
        "\"geometry\":{\"type\":\"Point\",\"coordinates\":[-121.7986,36.8215]}}\n"
        "]}\n");
}

// The split point planned at 180.25 is written at -179.75, and the line is cut where it
// crosses 180 degrees, on the parallel of 16.5 S it runs along.
TEST(GeoJson, SplitPointsAreNamedAndTheRouteIsCutAtTheAntimeridian) {
    WaypointList route;
    fillAntimeridianRoute(route);
    EXPECT_EQ(geoJson(route, antimeridianTotals()),
              "{\"type\":\"FeatureCollection\",\n"
              "\"totals\":{\"surveyLineDistance\":5100.5,\"expectedMissionTime\":5250.5},\n"
              "\"features\":[\n"
              "{\"type\":\"Feature\",\"properties\":{\"kind\":\"route\","
              "\"surveyLineDistance\":5100.5,\"expectedMissionTime\":5250.5},"
              "\"geometry\":{\"type\":\"MultiLineString\",\"coordinates\":"
              "[[[179.5,-16.5],[179.75,-16.5],[180,-16.5]],"
              "[[-180,-16.5],[-179.75,-16.5],[-179.5,-16.5]]]}},\n"
              "{\"type\":\"Feature\",\"properties\":{\"number\":0,\"kind\":\"launch\","
              "\"legDistance\":500,\"legHeading\":90,\"legTime\":650},"
              "\"geometry\":{\"type\":\"Point\",\"coordinates\":[179.5,-16.5]}},\n"
              "{\"type\":\"Feature\",\"properties\":{\"number\":1,\"kind\":\"waypoint\","
              "\"legDistance\":3600,\"legHeading\":90,\"legTime\":3600},"
              "\"geometry\":{\"type\":\"Point\",\"coordinates\":[179.75,-16.5]}},\n"
              "{\"type\":\"Feature\",\"properties\":{\"number\":2,\"kind\":\"split\","
              "\"legDistance\":1000.5,\"legHeading\":90,\"legTime\":1000.5},"
              "\"geometry\":{\"type\":\"Point\",\"coordinates\":[-179.75,-16.5]}},\n"
              "{\"type\":\"Feature\",\"properties\":{\"number\":3,\"kind\":\"waypoint\","
              "\"legDistance\":0,\"legHeading\":0,\"legTime\":0},"
              "\"geometry\":{\"type\":\"Point\",\"coordinates\":[-179.5,-16.5]}}\n"
              "]}\n");
}

TEST(GeoJson, ListsTooShortForALineStayValid) {
    WaypointList empty;
    EXPECT_EQ(geoJson(empty, RouteTotals{}),
              "{\"type\":\"FeatureCollection\",\n"
              "\"totals\":{\"surveyLineDistance\":0,\"expectedMissionTime\":0},\n"
              "\"features\":[\n]}\n");
    // One point: a LineString of one position would be invalid, so only the Point.
    WaypointList one;
    fillRoute(one, {{1, 36.8167, -121.8171, std::numeric_limits<double>::quiet_NaN(), 0, 0}});
    EXPECT_EQ(geoJson(one, RouteTotals{std::numeric_limits<double>::infinity(), 0}),
              "{\"type\":\"FeatureCollection\",\n"
              "\"totals\":{\"surveyLineDistance\":null,\"expectedMissionTime\":0},\n"
              "\"features\":[\n"
              "{\"type\":\"Feature\",\"properties\":{\"number\":1,\"kind\":\"waypoint\","
              "\"legDistance\":null,\"legHeading\":0,\"legTime\":0},"
              "\"geometry\":{\"type\":\"Point\",\"coordinates\":[-121.8171,36.8167]}}\n"
              "]}\n");
}

TEST(GeoJson, WithAGridEachPointCarriesTheShallowestDepthUnderItsLeg) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    SeaSurvey sea;
    sea.gridFile = "bay.tif";
    sea.seabed.resize(2);
    sea.seabed[0].samples = {DepthSample{0, 0, 0, 0, DepthState::offGrid, NAN, NAN},
                             DepthSample{500, 500, 0, 0, DepthState::offGrid, NAN, NAN}};
    sea.seabed[1].leg = 1;
    sea.seabed[1].samples = {DepthSample{0, 500, 0, 0, DepthState::known, 20.0, 12.25},
                             DepthSample{800, 1300, 0, 0, DepthState::noData, NAN, NAN},
                             DepthSample{1600, 2100, 0, 0, DepthState::known, 30.0, 18.5}};
    std::ostringstream out;
    writeGeoJson(out, route, twoPointTotals(), &sea);
    const std::string text = out.str();
    EXPECT_NE(text.find("\"legTime\":650,\"legShallowestDepth\":null,"
                        "\"legUnknownDepthLength\":500}"),
              std::string::npos)
        << text;
    // The sample at 800 m stands for 400 m to 1200 m.
    EXPECT_NE(text.find("\"legTime\":1731.1133172116536,\"legShallowestDepth\":12.25,"
                        "\"legUnknownDepthLength\":800}"),
              std::string::npos)
        << text;
    EXPECT_NE(
        text.find("\"legTime\":0,\"legShallowestDepth\":null,\"legUnknownDepthLength\":null}"),
        std::string::npos)
        << text;
    // With the findings, every one of a leg on the point that leaves it, as JSON strings.
    const std::vector<PlanFinding> findings = {
        PlanFinding(FindingSeverity::note, "grid bay.tif"),
        PlanFinding(FindingSeverity::error, "land \"x\"", FindingPlace{1, 1, 2, {}, {}, 0.0}),
        PlanFinding(FindingSeverity::unverified, "beside", FindingPlace{1, 1, 2, {}, {}, 0.0})};
    std::ostringstream withFindings;
    writeGeoJson(withFindings, route, twoPointTotals(), &sea, &findings);
    EXPECT_NE(withFindings.str().find("\"legUnknownDepthLength\":800,\"legFindings\":[\"error: "
                                      "land \\\"x\\\"\",\"unverified: beside\"]}"),
              std::string::npos)
        << withFindings.str();
    EXPECT_NE(withFindings.str().find("\"legUnknownDepthLength\":500,\"legFindings\":[]}"),
              std::string::npos);
    // Without a grid the points carry neither.
    std::ostringstream plain;
    writeGeoJson(plain, route, twoPointTotals(), nullptr);
    EXPECT_EQ(plain.str(), geoJson(route, twoPointTotals()));
}

// A survey's lines and transits follow the points, each through the route points that run
// it; the launch waypoint belongs to none, and a transit has no cell.
TEST(GeoJson, SurveyLinesAreNumberedFeatures) {
    WaypointList route;
    for (const auto& [lat, lon] : {std::pair{36.8, -121.9},
                                   {36.8, -121.89},
                                   {36.8, -121.88},
                                   {36.801, -121.88},
                                   {36.801, -121.9}}) {
        appendNode(route, lat, lon);
    }
    prependNode(route, 36.8, -121.905)->kind = WaypointKind::launch;
    const std::vector<SurveyPiece> pieces = {
        {PieceKind::line, 1, 1, 0, 2, 90.5, 1789.25},
        {PieceKind::transit, 1, 0, 2, 3, 0.0, 111.0},
    };
    std::ostringstream out;
    writeGeoJson(out, route, {}, nullptr, nullptr, &pieces);
    const std::string text = out.str();
    EXPECT_EQ(text.substr(text.find("{\"type\":\"Feature\",\"properties\":{\"line\":")),
              "{\"type\":\"Feature\",\"properties\":{\"line\":1,\"kind\":\"line\",\"cell\":1,"
              "\"heading\":90.5,\"length_m\":1789.25},\"geometry\":{\"type\":\"LineString\","
              "\"coordinates\":[[-121.9,36.8],[-121.89,36.8],[-121.88,36.8]]}},\n"
              "{\"type\":\"Feature\",\"properties\":{\"line\":1,\"kind\":\"transit\",\"cell\":null,"
              "\"heading\":0,\"length_m\":111},\"geometry\":{\"type\":\"LineString\","
              "\"coordinates\":[[-121.88,36.8],[-121.88,36.801]]}}\n]}\n");
}
