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

// Lines and tie lines are marked where they start and end; transits between them are not.
TEST(SurveyWaypoints, MarksWhereEachLineStartsAndEnds) {
    std::ostringstream out;
    const std::vector<SurveyPiece> pieces = {{PieceKind::line, 1, 2, 0, 1, 90.0, 1000.0},
                                             {PieceKind::transit, 1, 0, 1, 3, 0.0, 300.0},
                                             {PieceKind::tie, 2, 0, 3, 4, 0.05, 12.34}};
    writeSurveyWaypoints(out, "c", {{1, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}, pieces);
    EXPECT_EQ(out.str(), "# c\n# line 1, cell 2, heading 90.0, 1000.0 m\n"
                         "1.000000000 2.000000000\n1.000000000 3.000000000\n# end of line 1\n"
                         "2.000000000 3.000000000\n# tie line 2, heading 0.1, 12.3 m\n"
                         "3.000000000 3.000000000\n4.000000000 3.000000000\n# end of tie line 2\n");
}
