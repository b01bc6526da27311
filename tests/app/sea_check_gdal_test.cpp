// Tests of the sea checks as a run prepares them: files read before the route, standard
// input for one of them at most, and the messages of what cannot be read.
#include "app/sea_check.h"
#include "route/route_planner.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

std::string data(const std::string& name) {
    return std::string(TAVRA_TEST_DATA_DIR) + "/sea/" + name;
}

std::string tempFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = std::filesystem::path(testing::TempDir()) / name;
    std::ofstream(path) << text;
    return path.string();
}

// A square of a few hundred meters in Monterey Bay, as plain positions.
const char* const kSquare = "36.82 -121.99\n36.83 -121.99\n36.83 -121.97\n36.82 -121.97\n";

} // namespace

TEST(SeaCheck, NothingAskedNothingRead) {
    const SeaPreparation preparation = prepareSeaChecks(CommandLine{}, nullptr);
    EXPECT_TRUE(preparation.ok);
    EXPECT_FALSE(preparation.inputs);
}

TEST(SeaCheck, GridAndAreasAreReadAndTheRouteMeasured) {
    CommandLine commandLine;
    commandLine.bathymetry = data("etopo5_monterey.nc");
    commandLine.keepOut = {tempFile("square.txt", kSquare)};
    commandLine.keepOutMargin = "100";
    SeaPreparation preparation = prepareSeaChecks(commandLine, nullptr);
    ASSERT_TRUE(preparation.ok) << preparation.error;
    ASSERT_TRUE(preparation.inputs);
    WaypointList route;
    appendNode(route, 36.80, -122.00);
    appendNode(route, 36.85, -121.95);
    MissionParameters params;
    RouteTotals totals;
    ASSERT_EQ(planRoute(route, params, totals).status, PlanStatus::planned);
    const SeaMeasurement measured = measureSea(*preparation.inputs, route);
    ASSERT_TRUE(measured.ok) << measured.error;
    EXPECT_EQ(measured.survey.gridFile, data("etopo5_monterey.nc"));
    EXPECT_EQ(measured.survey.seabed.size(), 3u);
    EXPECT_EQ(measured.survey.zones.size(), 1u);
    EXPECT_EQ(measured.survey.keepOutMargin, 100.0);
    EXPECT_FALSE(measured.survey.passes.empty());
}

TEST(SeaCheck, StandardInputServesOneFileWhenFree) {
    CommandLine commandLine;
    commandLine.keepOut = {"-"};
    std::istringstream in(kSquare);
    SeaPreparation preparation = prepareSeaChecks(commandLine, &in);
    EXPECT_TRUE(preparation.ok) << preparation.error;
    commandLine.keepOut = {"-", "-"};
    std::istringstream again(kSquare);
    preparation = prepareSeaChecks(commandLine, &again);
    EXPECT_EQ(preparation.error, "*** --keepOut -: standard input is taken (by the waypoints, the "
                                 "dialogue or another file); name the file ***");
    commandLine.keepOut.clear();
    // Made in place rather than assigned: GCC 12 sees the literal assigned to the string held
    // by the optional as a possible overlap (-Wrestrict) where there is none.
    commandLine.opRegion.emplace("-");
    preparation = prepareSeaChecks(commandLine, nullptr);
    EXPECT_EQ(preparation.error, "*** --opRegion -: standard input is taken (by the waypoints, "
                                 "the dialogue or another file); name the file ***");
}

TEST(SeaCheck, FilesThatCannotBeUsedStopTheRunWithTheirMessage) {
    CommandLine commandLine;
    commandLine.keepOut = {"/nonexistent/land.geojson"};
    EXPECT_EQ(prepareSeaChecks(commandLine, nullptr).error,
              "*** --keepOut /nonexistent/land.geojson: cannot open the file ***");
    commandLine.keepOut = {tempFile("two.txt", "36.8 -121.9\n36.9 -121.9\n")};
    EXPECT_EQ(prepareSeaChecks(commandLine, nullptr).error,
              "*** " + commandLine.keepOut[0] +
                  ": an area needs at least 3 positions, found 2 ***");
    commandLine = CommandLine{};
    commandLine.bathymetry = "-";
    EXPECT_EQ(prepareSeaChecks(commandLine, nullptr).error,
              "*** --bathymetry -: GDAL reads a grid from a file; name the file ***");
    commandLine.bathymetry = "/nonexistent/gebco.nc";
    EXPECT_EQ(prepareSeaChecks(commandLine, nullptr).error,
              "*** --bathymetry /nonexistent/gebco.nc: no such file ***");
}
