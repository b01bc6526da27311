// The plan-check report, whole: route table, totals as in the CSV summary, findings.
#include "output/plan_report.h"
#include "route_fixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string report(const WaypointList& route, const RouteTotals& totals,
                   const std::vector<PlanFinding>& findings) {
    std::ostringstream out;
    writePlanReport(out, route, totals, findings);
    return out.str();
}

const char* const kHeader = "  No.  Kind    Latitude   Longitude  Heading      Leg m      Leg s"
                            "      Sum m      Sum s\n";
const char* const kLegend =
    "\nLeg: the leg that leaves the point. Sum: distance and time run when the point is "
    "reached.\n";

} // namespace

TEST(PlanReport, TwoPointExampleWithoutFindings) {
    WaypointList route;
    fillTwoPointRoute(route);
    route.head->kind = WaypointKind::launch;
    EXPECT_EQ(report(route, twoPointTotals(), {}),
              std::string("Route of 3 points: 1 launch waypoint, 2 from the file, 0 split points\n"
                          "\n") +
                  kHeader +
                  "    0  launch   36.8153   -121.8224     72.0      500.0      650.0        0.0"
                  "        0.0\n"
                  "    1  file     36.8167   -121.8171     72.0     1731.1     1731.1      500.0"
                  "      650.0\n"
                  "    2  file     36.8215   -121.7986      0.0        0.0        0.0     2231.1"
                  "     2381.1\n" +
                  kLegend +
                  "\nExpected survey line 2231.1 meters\n"
                  "\nExpected mission time 2381.1 seconds\n"
                  "    0 hours\n"
                  "    39 minutes\n"
                  "\nFindings: none\n");
}

TEST(PlanReport, SplitPointsSumsAndFindings) {
    // A leg of 4600.5 m due north cut at 3600 m: sums are the legs run before each point.
    WaypointList route;
    fillRoute(route, {{0, -0.0045, 10.0, 500.0, 360.0, 650.0},
                      {1, 0.0, 10.0, 3600.0, 360.0, 3600.0},
                      {2, 0.0324, 10.0, 1000.5, 360.0, 1000.5},
                      {3, 0.0414, 10.0, 0.0, 0.0, 0.0}});
    route.head->kind = WaypointKind::launch;
    route.head->next->next->kind = WaypointKind::splitPoint;
    const std::vector<PlanFinding> findings = {
        {FindingSeverity::error, "gpsHits 0 is not greater than 0"},
        {FindingSeverity::warning, "gulperMission 2 is neither 0 nor 1 and counts as 0 (off)"}};
    // 5250.5 s: 1 whole hour, and 1650 s past it make 27 whole minutes.
    EXPECT_EQ(report(route, RouteTotals{5100.5, 5250.5}, findings),
              std::string("Route of 4 points: 1 launch waypoint, 2 from the file, 1 split point\n"
                          "\n") +
                  kHeader +
                  "    0  launch   -0.0045     10.0000    360.0      500.0      650.0        0.0"
                  "        0.0\n"
                  "    1  file      0.0000     10.0000    360.0     3600.0     3600.0      500.0"
                  "      650.0\n"
                  "    2  split     0.0324     10.0000    360.0     1000.5     1000.5     4100.0"
                  "     4250.0\n"
                  "    3  file      0.0414     10.0000      0.0        0.0        0.0     5100.5"
                  "     5250.5\n" +
                  kLegend +
                  "\nExpected survey line 5100.5 meters\n"
                  "\nExpected mission time 5250.5 seconds\n"
                  "    1 hours\n"
                  "    27 minutes\n"
                  "\nFindings: 1 error, 1 warning\n"
                  "error: gpsHits 0 is not greater than 0\n"
                  "warning: gulperMission 2 is neither 0 nor 1 and counts as 0 (off)\n");
}

TEST(PlanReport, ValuesWiderThanTheirColumnStaySeparated) {
    WaypointList route;
    fillRoute(route, {{0, 0.0, 0.0, 500.0, 0.0, 650.0}, {1, 100.0, -1234567.0, 0.0, 0.0, 0.0}});
    const std::string text = report(route, RouteTotals{500.0, 650.0}, {});
    EXPECT_NE(text.find("\n    1  file    100.0000 -1234567.0000      0.0"), std::string::npos)
        << text;
}

namespace {

// The two-point route measured against a grid: the launch leg everywhere 35 m deep, the
// leg to waypoint 2 down to 12.25 m and a stretch of it off the grid.
SeaSurvey twoPointSeabed() {
    SeaSurvey survey;
    survey.gridFile = "bay.tif";
    survey.seabed.resize(2);
    survey.seabed[0].leg = 0;
    survey.seabed[0].samples = {DepthSample{0, 0, 0, 0, DepthState::known, 36.0, 35.0},
                                DepthSample{500, 500, 0, 0, DepthState::known, 36.0, 35.0}};
    survey.seabed[1].leg = 1;
    survey.seabed[1].samples = {
        DepthSample{0, 500, 0, 0, DepthState::known, 20.0, 12.25},
        DepthSample{800, 1300, 0, 0, DepthState::known, 30.0, 18.0},
        DepthSample{1731, 2231, 0, 0, DepthState::offGrid, std::nan(""), std::nan("")}};
    return survey;
}

} // namespace

TEST(PlanReport, WithAGridEachRowShowsTheShallowestDepthUnderItsLeg) {
    WaypointList route;
    fillTwoPointRoute(route);
    route.head->kind = WaypointKind::launch;
    const SeaSurvey sea = twoPointSeabed();
    std::ostringstream out;
    writePlanReport(out, route, twoPointTotals(),
                    {{FindingSeverity::warning, "no depth under the leg"},
                     {FindingSeverity::note, "the shortest leg is 500.0 m"}},
                    &sea);
    EXPECT_EQ(out.str(),
              std::string("Route of 3 points: 1 launch waypoint, 2 from the file, 0 split points\n"
                          "\n") +
                  "  No.  Kind    Latitude   Longitude  Heading      Leg m      Leg s"
                  "      Sum m      Sum s   Depth m\n"
                  "    0  launch   36.8153   -121.8224     72.0      500.0      650.0        0.0"
                  "        0.0      35.0\n"
                  "    1  file     36.8167   -121.8171     72.0     1731.1     1731.1      500.0"
                  "      650.0      12.2\n"
                  "    2  file     36.8215   -121.7986      0.0        0.0        0.0     2231.1"
                  "     2381.1         -\n" +
                  kLegend +
                  "Depth: the shallowest water depth under the leg, from bay.tif: at each place "
                  "read, the shallowest of the four grid cells around it, over the part of the "
                  "leg the grid covers.\n"
                  "\nExpected survey line 2231.1 meters\n"
                  "\nExpected mission time 2381.1 seconds\n"
                  "    0 hours\n"
                  "    39 minutes\n"
                  "\nFindings: 0 errors, 1 warning, 1 note\n"
                  "warning: no depth under the leg\n"
                  "note: the shortest leg is 500.0 m\n");
    // Keep-out areas alone add findings but no column; no sea at all changes nothing.
    SeaSurvey zonesOnly;
    std::ostringstream withZones;
    writePlanReport(withZones, route, twoPointTotals(), {}, &zonesOnly);
    EXPECT_EQ(withZones.str(), report(route, twoPointTotals(), {}));
}
