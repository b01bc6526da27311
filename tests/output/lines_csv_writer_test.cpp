// The table of a survey's lines, whole: lines and tie lines, no transits.
#include "output/lines_csv_writer.h"

#include <gtest/gtest.h>
#include <sstream>
#include <utility>
#include <vector>

TEST(LinesCsv, OneRecordPerLineFromTheRoutePointsThatRunIt) {
    WaypointList route;
    for (const auto& [lat, lon] :
         {std::pair{36.8, -121.9}, {36.8, -121.88}, {36.801, -121.88}, {36.801, -121.9}}) {
        appendNode(route, lat, lon);
    }
    prependNode(route, 36.8, -121.905)->kind = WaypointKind::launch;
    const std::vector<SurveyPiece> pieces = {
        {PieceKind::line, 1, 2, 0, 1, 90.004, 1789.25},
        {PieceKind::transit, 1, 0, 1, 2, 0.0, 111.0},
        {PieceKind::tie, 2, 0, 2, 3, 359.996, 1789.04},
    };
    std::ostringstream out;
    writeLinesCsv(out, route, pieces);
    EXPECT_EQ(out.str(), "line,kind,start_lat,start_lon,end_lat,end_lon,heading,length_m,cell\n"
                         "1,line,36.800000000,-121.900000000,36.800000000,-121.880000000,90.00,"
                         "1789.2,2\n"
                         "2,tie,36.801000000,-121.880000000,36.801000000,-121.900000000,0.00,"
                         "1789.0,\n");
}
