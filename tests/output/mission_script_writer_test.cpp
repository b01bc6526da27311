// The mission script, whole, for worked routes, and its turn, rounding and time rules.
#include "output/mission_script_writer.h"
#include "route_fixture.h"

#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <string>

namespace {

std::string script(const WaypointList& route, const MissionParameters& params = {},
                   const RouteTotals& totals = {}) {
    std::ostringstream out;
    writeMissionScript(out, "2020_189_155.cfg", route, params, totals);
    return out.str();
}

// The lines that start with prefix, in file order, each ended by "|".
std::string linesStartingWith(const std::string& text, const std::string& prefix) {
    std::string found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) == 0) {
            found += line.substr(prefix.size()) + "|";
        }
    }
    return found;
}

} // namespace

TEST(MissionScript, TwoPointExampleAndEachFlagOnOnlyWhenOne) {
    WaypointList route;
    fillTwoPointRoute(route);
    EXPECT_EQ(script(route, {}, twoPointTotals()), readTestData("two_point_2020_189_155.cfg"));
    for (int off : {0, 2}) {
        MissionParameters noYoyo, noGulper, noAbort;
        noYoyo.yoyoMission = noGulper.gulperMission = noAbort.abortOnTimeout = off;
        EXPECT_EQ(script(route, noYoyo, twoPointTotals()), readTestData("two_point_no_yoyo.cfg"));
        EXPECT_EQ(script(route, noGulper, twoPointTotals()),
                  readTestData("two_point_no_gulper.cfg"));
        EXPECT_EQ(script(route, noAbort, twoPointTotals()), readTestData("two_point_no_abort.cfg"));
    }
}

TEST(MissionScript, OneWaypointHasOnlyTheFinalSection) {
    WaypointList route;
    fillOnePointRoute(route);
    EXPECT_EQ(script(route, {}, {500.0, 650.0}), readTestData("one_point_2020_189_155.cfg"));
}

TEST(MissionScript, NoScriptWithoutAWaypointToRunTo) {
    WaypointList route;
    EXPECT_EQ(script(route), "");
    fillRoute(route, {{0, 1.0, 2.0, 500.0, 0.0, 650.0}});
    EXPECT_EQ(script(route), "");
}

TEST(MissionScript, SplitLegMarkersRunFromTheFinalNumberDownToOne) {
    WaypointList route;
    fillRoute(route, {{0, 0, 0, 500, 90, 650},
                      {1, 0, 1, 3600, 90, 3600},
                      {2, 0, 2, 3600, 90, 3600},
                      {3, 0, 3, 1800, 90, 1800},
                      {4, 0, 4, 0, 0, 0}});
    EXPECT_EQ(linesStartingWith(script(route), "# ***** "),
              "Mission Ends ^ *****|FINAL WAYPOINT NUMBER: 4 ^ *****|WAYPOINT NUMBER: 3 ^ *****|"
              "WAYPOINT NUMBER: 2 ^ *****|WAYPOINT NUMBER: 1 ^ *****|LAUNCH WAYPOINT 0 *****|");
}

TEST(MissionScript, AscendModeFollowsTheTurnWithoutWrapAtNorth) {
    // Turns met at waypoints 1 to 6: 0, 70 (heading), 70.5 (rudder), 40, 69.5, 350 to 10.
    WaypointList route;
    fillRoute(route, {{0, 0, 0, 500, 100, 650},
                      {1, 0, 1, 1000, 100, 1234.5},
                      {2, 0, 2, 1000, 170, 1235.5},
                      {3, 0, 3, 1000, 240.5, 1000},
                      {4, 0, 4, 1000, 280.5, 1000},
                      {5, 0, 5, 1000, 350, 1000},
                      {6, 0, 6, 1000, 10, 1000},
                      {7, 0, 7, 0, 0, 0}});
    const std::string text = script(route);
    // Sections from waypoint 7, the last, which always surfaces on the rudder, down to 1.
    EXPECT_EQ(linesStartingWith(text, "horizontalMode   = "),
              "rudder;|rudder;|heading;|heading;|rudder;|heading;|heading;|");
    EXPECT_EQ(linesStartingWith(text, "horizontal       = "), "5;|5;|280;|240;|5;|100;|100;|");
    EXPECT_EQ(linesStartingWith(text, "heading      = "), "10;|350;|280;|240;|170;|100;|100;|");
    EXPECT_EQ(linesStartingWith(text, "duration      = "),
              "1000;|1000;|1000;|1000;|1236;|1234;|650;|");
}

TEST(MissionScript, MissionTimeInHoursMinutesAndTimeout) {
    WaypointList route;
    fillOnePointRoute(route);
    const auto timeLines = [&](double seconds) {
        std::string text = script(route, {}, {0.0, seconds});
        const std::size_t from = text.find("# Expected mission time");
        text = text.substr(from, text.find('}', from) - from);
        return linesStartingWith(text, "#    ") + linesStartingWith(text, "timeOut = ");
    };
    EXPECT_EQ(timeLines(3600.0), "1 hours|0 minutes|4319;|");
    EXPECT_EQ(timeLines(5000.7), "1 hours|23 minutes|6000;|");
    EXPECT_EQ(timeLines(7199.99), "1 hours|59 minutes|8639;|");
    EXPECT_EQ(timeLines(90061.0), "25 hours|1 minutes|108073;|");
    // Far beyond any mission: hours stay a real, minutes and timeout saturate.
    EXPECT_EQ(timeLines(1e12), "277777777 hours|14 minutes|2147483647;|");
}

TEST(MissionScript, TimeoutIsTwentyPercentMoreTruncatedInExtendedPrecision) {
    EXPECT_EQ(missionTimeout(650.0), 779);
    EXPECT_EQ(missionTimeout(1000.0), 1199);
    EXPECT_EQ(missionTimeout(3600.0), 4319);
    EXPECT_EQ(missionTimeout(5000.7), 6000);
    EXPECT_EQ(missionTimeout(-1e300), INT32_MIN);
    EXPECT_EQ(missionTimeout(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(MissionScript, DegreeMinuteLinesKeepTheirFixedLetters) {
    WaypointList route;
    fillRoute(route, {{0, -0.5, -0.25, 500, 10, 650},
                      {1, 12.9999999, 0, 100, 10, 100},
                      {2, -33.5, 151.25, 0, 0, 0}});
    EXPECT_EQ(linesStartingWith(script(route), "# N"),
              "-33 30.0000 W151 15.0000|12 60.0000 W0 0.0000|-0 30.0000 W0 15.0000|");
}

TEST(MissionScript, LongRouteIsWrittenWhole) {
    constexpr int kWaypoints = 5000;
    WaypointList route;
    fillRoute(route, {{0, 0, 0, 500, 90, 650}});
    for (int number = 1; number <= kWaypoints; ++number) {
        fillRoute(route, {{number, 0, 0, 1000, number < kWaypoints ? 90.0 : 0.0, 1000}});
    }
    const std::string text = script(route);
    int sections = 0;
    for (auto at = text.find("\nbehavior ascend"); at != std::string::npos;
         at = text.find("\nbehavior ascend", at + 1)) {
        ++sections;
    }
    EXPECT_EQ(sections, kWaypoints);
    EXPECT_NE(text.find("FINAL WAYPOINT NUMBER: 5000 ^"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 27), "# INITIAL HEADING:  90.0  \n");
}
