// The survey waypoint file, whole, and the positions a run plans from it.
#include "output/survey_waypoint_writer.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

TEST(SurveyWaypoints, OnePositionALineToNineDecimals) {
    std::ostringstream out;
    writeSurveyWaypoints(out, "from bay.txt", {{36.8, -121.95}, {-0.0000000004, 179.9999999996}});
    EXPECT_EQ(out.str(), "# from bay.txt\n"
                         "36.800000000 -121.950000000\n"
                         "-0.000000000 180.000000000\n");
}

// What a run plans is what reading the file gives back, bit for bit.
TEST(SurveyWaypoints, PlannedAsTheFileReadsBack) {
    const GeoPoint points[] = {{36.81234567891234, -121.9876543219876}, {-45.0000000004999, 0.1}};
    for (const GeoPoint& point : points) {
        std::ostringstream out;
        writeSurveyWaypoints(out, "", {point});
        const std::string line = out.str().substr(out.str().find('\n') + 1);
        char* end = nullptr;
        const double lat = std::strtod(line.c_str(), &end);
        const double lon = std::strtod(end, nullptr);
        EXPECT_EQ(asWritten(point).lat, lat);
        EXPECT_EQ(asWritten(point).lon, lon);
        EXPECT_NEAR(asWritten(point).lat, point.lat, 5e-10);
    }
}
