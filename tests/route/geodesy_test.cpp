// Tests of leg distance, heading, dead reckoning and leg time on the spherical Earth.
#include "route/geodesy.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

// Expected figures are worked from the chord, atan2 and direct formulas with the route's
// constants. Tolerances: 1 mm for distances, 1e-6 degrees for headings.
TEST(Geodesy, MeasuresLegs) {
    const double d = greatCircleDistance(36.8167, -121.8171, 36.8215, -121.7986);
    EXPECT_NEAR(d, 1731.1133, 1e-3);
    EXPECT_NEAR(greatCircleDistance(36.8215, -121.7986, 36.8167, -121.8171), d, 1e-9);
    EXPECT_NEAR(initialBearing(36.8167, -121.8171, 36.8215, -121.7986), 72.036552, 1e-6);
    EXPECT_NEAR(greatCircleDistance(0.0, 0.0, 1.0, 0.0), 0.01745329252 * 6371000.0, 1e-3);
    EXPECT_EQ(greatCircleDistance(36.8167, -121.8171, 36.8167, -121.8171), 0.0);
    EXPECT_EQ(initialBearing(36.8167, -121.8171, 36.8167, -121.8171), 360.0);
}

// pi is taken as 3.14159 for headings, so the cardinal headings are off by under 1e-3
// degrees and still print as the cardinal values.
TEST(Geodesy, CardinalHeadingsPrintAsSuch) {
    EXPECT_EQ(initialBearing(0.0, 0.0, 1.0, 0.0), 360.0);
    const double south = initialBearing(1.0, 0.0, 0.0, 0.0);
    const double east = initialBearing(0.0, 0.0, 0.0, 1.0);
    const double west = initialBearing(0.0, 0.0, 0.0, -1.0);
    EXPECT_NEAR(south, 180.000152, 1e-6);
    EXPECT_NEAR(east, 90.000076, 1e-6);
    EXPECT_NEAR(west, 269.999924, 1e-6);
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.1f %.1f %.1f", south, east, west);
    EXPECT_EQ(std::string(printed), "180.0 90.0 270.0");
}

// Towards the pole across the smallest longitude a double holds, the course east of north
// is about 6.5e-330 degrees (8.6e-326 rad of longitude times the cosine 1.3e-6 that the
// pole gets with pi as 3.14159), far below any double: it is still north, 360, not the 0
// of a leg never measured. Caught by the planner fuzz target's heading check; the other
// side of north for symmetry.
TEST(Geodesy, CourseTooSmallForADoubleIsNorth) {
    EXPECT_EQ(initialBearing(0.0, 0.0, 90.0, 4.9406564584124654e-324), 360.0);
    EXPECT_EQ(initialBearing(0.0, 0.0, 89.0, -4.9406564584124654e-324), 360.0);
}

TEST(Geodesy, DestinationPoint) {
    const GeoPoint same = destinationPoint(36.8167, -121.8171, 72.0, 0.0);
    EXPECT_NEAR(same.lat, 36.8167, 1e-12);
    EXPECT_NEAR(same.lon, -121.8171, 1e-12);

    // The sample leg run forward lands within millimeters of its end point.
    const GeoPoint end = destinationPoint(36.8167, -121.8171, 72.03655151562570, 1731.11331721165);
    EXPECT_LT(greatCircleDistance(end.lat, end.lon, 36.8215, -121.7986), 0.005);
    EXPECT_NEAR(end.lat, 36.8214999825, 1e-9);

    // Due north from 89.7732 by 25217.44 m reaches the pole within centimeters, where
    // rounding once made the sine of the latitude exceed 1 and gave NaN.
    EXPECT_NEAR(destinationPoint(89.773214130566075, 0.0, 0.0, 25217.438083762823).lat, 90.0, 1e-6);
    // Longitudes are not wrapped into -180..180.
    EXPECT_NEAR(destinationPoint(0.0, 179.99, 90.0, 2000.0).lon, 180.007986, 1e-6);
}

TEST(Geodesy, LegTimeIsOneSecondPerMeter) {
    EXPECT_EQ(legTimeFor(3600.0), 3600.0);
    EXPECT_EQ(legTimeFor(0.0), 0.0);
}
