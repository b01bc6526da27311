// Tests of the fixed usage text.
#include "app/usage.h"

#include <gtest/gtest.h>
#include <sstream>

TEST(Usage, TextIsExactQuirksIncluded) {
    std::ostringstream out;
    printUsage(out);
    EXPECT_EQ(out.str(), "\n"
                         "tavra Command Line Parameters:\n"
                         "\n"
                         "--verbose.......sets verbose mode\n"
                         "--interactive...sets interactive mode\n"
                         "                                    ( Default: )\n"
                         "--gpsHits ..........................( 30 )\n"
                         "--gulperMission.....................( 1 = true)\n"
                         "--abortOnTimeout....................( 1 = true )\n"
                         "--yoyoMission.......................( 1 = true )\n"
                         "--yoyoMinAltitude...................( 15 )\n"
                         "--missionYoyoMinDepth...............( 10 )\n"
                         "--missionYoyoMaxDepth ..............( 90 )\n"
                         "--missionYoyoMaxDepthShallow........( 20 )\n"
                         "--missionSpeed......................( 1.5 )\n"
                         "--missionSpeedSlow..................( 1.25)\n"
                         "--maxLegMeters......................( 3600.0 )\n"
                         "--minDepth..........................( 10.0 )\n"
                         "--maxDepth..........................( 90.0 )\n"
                         "--abortDepth........................( 100.0 )\n"
                         "--abortAltitude.....................( 2.5 )\n"
                         "--abortLockoutDepth.................( 8.0 )\n"
                         "--diveAngle double..................( 30.0 )\n"
                         "--wayPointDepth.....................( 50.0 )\n"
                         "\n"
                         "Waypoint filename must follow arguments:\n"
                         "Latitude Longitude, Decimal Degrees format\n"
                         "eg: \n"
                         "36.8167 -121.8171\n"
                         "36.8215 -121.7986\n"
                         "\n");
}
