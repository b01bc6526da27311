// Tests of the launch leg against the holes of a survey area: clear, on a shore, along a
// shore, inside, and across, where the reported entry must lie on the hole's edge.
#include "route/geodesy.h"
#include "survey/launch_check.h"
#include "survey_checks.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

using namespace survey_checks;

namespace {

const GeoPoint kOrigin{36.80, -121.95};

// A 2 km square with a strip of land 200 m wide and 1 km long in its middle.
GeoArea squareWithStrip() {
    GeoArea area;
    area.outer = ringFromMeters(kOrigin, {{0, 0}, {2000, 0}, {2000, 2000}, {0, 2000}});
    area.holes.push_back(
        ringFromMeters(kOrigin, {{900, 500}, {1100, 500}, {1100, 1500}, {900, 1500}}));
    return area;
}

GeoPoint at(double east, double north) {
    return fromMeters(kOrigin, east, north);
}

// The position at the end of a message, "(lat lon)".
GeoPoint lastPosition(const std::string& message) {
    GeoPoint p;
    const std::size_t open = message.rfind('(');
    EXPECT_EQ(std::sscanf(message.c_str() + open, "(%lf %lf)", &p.lat, &p.lon), 2) << message;
    return p;
}

} // namespace

TEST(LaunchCheck, LegsThatKeepClearOrOnlyTouchAShoreGiveNothing) {
    const GeoArea area = squareWithStrip();
    GeoArea noHoles = area;
    noHoles.holes.clear();
    const struct {
        const char* name;
        GeoPoint launch, first;
    } cases[] = {
        {"clear of the strip", at(100, 200), at(600, 200)},
        {"ending on its shore", at(400, 1000), at(900, 1000)},
        {"ending at its corner", at(900, 200), at(900, 500)},
        {"along its shore", at(900, 300), at(900, 800)},
        {"of no length, on its shore", at(1100, 1000), at(1100, 1000)},
        {"leaving the area, not into a hole", at(-500, 1000), at(100, 1000)},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(checkLaunchLeg(area, c.launch, c.first).empty()) << c.name;
    }
    EXPECT_TRUE(checkLaunchLeg(noHoles, at(1000, 1000), at(1000, 1200)).empty());
}

TEST(LaunchCheck, ALaunchWaypointInsideAHoleIsAnError) {
    const std::vector<PlanFinding> findings =
        checkLaunchLeg(squareWithStrip(), at(1000, 1000), at(1100, 1000));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].severity, FindingSeverity::error);
    const std::string& message = findings[0].message;
    GeoPoint launch;
    EXPECT_EQ(std::sscanf(message.c_str(), "the launch waypoint (0) at %lf %lf is inside",
                          &launch.lat, &launch.lon),
              2)
        << message;
    EXPECT_LT(geodesicDistance(launch, at(1000, 1000)), 0.2);
    EXPECT_TRUE(message.ends_with(" is inside hole 1 of the survey area")) << message;
}

// The entry lies on the strip's western edge, 300 m from the launch waypoint; how far along
// the leg is measured on tavra's sphere, as the leg itself is.
TEST(LaunchCheck, ALegAcrossAHoleIsAnErrorAtItsFirstEntry) {
    const GeoPoint launch = at(600, 1000);
    const std::vector<PlanFinding> findings =
        checkLaunchLeg(squareWithStrip(), launch, at(1400, 1000));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].severity, FindingSeverity::error);
    const std::string& message = findings[0].message;
    EXPECT_EQ(message.rfind("the launch leg, from waypoint 0 to waypoint 1, enters hole 1 of the "
                            "survey area at ",
                            0),
              0u)
        << message;
    const GeoPoint entry = lastPosition(message);
    EXPECT_LT(geodesicDistance(entry, at(900, 1000)), 0.2);
    double along = 0.0;
    EXPECT_EQ(std::sscanf(message.c_str() + message.find(" at ") + 4, "%lf m along it", &along), 1);
    EXPECT_NEAR(along, greatCircleDistance(launch.lat, launch.lon, entry.lat, entry.lon), 0.1);
}
