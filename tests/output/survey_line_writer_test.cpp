// The survey-line file for chart software, whole.
#include "output/survey_line_writer.h"
#include "route_fixture.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string surveyLine(const WaypointList& route) {
    std::ostringstream out;
    writeSurveyLine(out, "2020_189_155.pts", route);
    return out.str();
}

} // namespace

TEST(SurveyLine, HeaderNamesTheFileThenEveryPoint) {
    WaypointList route;
    EXPECT_EQ(surveyLine(route), "");
    fillTwoPointRoute(route);
    EXPECT_EQ(surveyLine(route), readTestData("two_point_2020_189_155.pts"));
}
