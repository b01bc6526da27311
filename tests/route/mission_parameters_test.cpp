// Tests of the parameter echo that --verbose prints.
#include "route/mission_parameters.h"

#include <gtest/gtest.h>
#include <sstream>

TEST(MissionParameters, EchoOfTheDefaultsIsExact) {
    std::ostringstream out;
    printParameters(out, MissionParameters{});
    EXPECT_EQ(out.str(), "\n\n Parameters Set:  \n"
                         "gpsHits...........................30\n"
                         "gulperMission.....................1\n"
                         "abortOnTimeout....................1\n"
                         "yoyoMission.......................1\n"
                         "yoyoMinAltitude...................15\n"
                         "missionYoyoMinDepth...............10\n"
                         "missionYoyoMaxDepth...............90\n"
                         "missionYoyoMaxDepthShallow........20\n"
                         "missionSpeed......................1.500\n"
                         "missionSpeedSlow..................1.250\n"
                         "maxLegMeters......................3600.0\n"
                         "minDepth..........................10.0\n"
                         "maxDepth..........................90.0\n"
                         "abortDepth........................100.0\n"
                         "abortAltitude.....................2.5\n"
                         "abortLockoutDepth.................8.0\n"
                         "diveAngle.........................30.0\n"
                         "wayPointDepth.....................50.0\n");
}

TEST(MissionParameters, EchoShowsValuesAsStoredWithoutRangeChecks) {
    MissionParameters params;
    params.gpsHits = -2147483647 - 1;
    params.yoyoMission = 2;
    params.missionSpeed = 0.0625; // exactly halfway: "%.3f" rounds to the even 0.062
    params.maxLegMeters = -0.04;  // keeps its sign after rounding
    params.diveAngle = 1e20;
    std::ostringstream out;
    printParameters(out, params);
    const std::string echo = out.str();
    EXPECT_NE(echo.find("\ngpsHits...........................-2147483648\n"), std::string::npos);
    EXPECT_NE(echo.find("\nyoyoMission.......................2\n"), std::string::npos);
    EXPECT_NE(echo.find("\nmissionSpeed......................0.062\n"), std::string::npos);
    EXPECT_NE(echo.find("\nmaxLegMeters......................-0.0\n"), std::string::npos);
    EXPECT_NE(echo.find("\ndiveAngle.........................100000000000000000000.0\n"),
              std::string::npos);
}

TEST(MissionParameters, OnlyExactlyOneCountsAsOn) {
    EXPECT_TRUE(isOn(1));
    EXPECT_FALSE(isOn(0));
    EXPECT_FALSE(isOn(2));
    EXPECT_FALSE(isOn(-1));
}
