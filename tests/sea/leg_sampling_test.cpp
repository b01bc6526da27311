// Tests of the sampling along the legs: bilinear against the shallowest cell, every cell the
// leg crosses, unknown depth off the grid and on no data, wrapping grids, distances along.
#include "memory_grid.h"
#include "route/geodesy.h"
#include "route/route_planner.h"
#include "sea/leg_sampling.h"
#include "sea/route_legs.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace {

SurveyLeg legBetween(GeoPoint from, GeoPoint to) {
    SurveyLeg leg;
    leg.from = from;
    leg.to = to;
    leg.length = greatCircleDistance(from.lat, from.lon, to.lat, to.lon);
    return leg;
}

std::vector<DepthSample> samplesOf(MemoryGrid& grid, const SurveyLeg& leg) {
    const SeabedResult result = sampleRoute(grid, {leg}, "grid.tif");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_FALSE(grid.outside);
    return result.ok ? result.seabed.at(0).samples : std::vector<DepthSample>{};
}

} // namespace

TEST(LegSampling, BilinearBetweenTheFourCellsAndTheShallowestOfThem) {
    MemoryGrid grid(-122.0, 37.0, 0.01, 2, 2, 0.0);
    grid.at(0, 0) = 10.0;
    grid.at(1, 0) = 20.0;
    grid.at(0, 1) = 30.0;
    grid.at(1, 1) = 40.0;
    // Half way between all four centres.
    GridReading reading = readGrid(grid, 36.99, -121.99);
    EXPECT_EQ(reading.state, DepthState::known);
    EXPECT_NEAR(reading.depth, 25.0, 1e-9);
    EXPECT_EQ(reading.shallowest, 10.0);
    // A quarter of the way east and three quarters south of the first centre:
    // 10*0.75*0.25 + 20*0.25*0.25 + 30*0.75*0.75 + 40*0.25*0.75.
    const GeoPoint first = grid.centre(0, 0);
    reading = readGrid(grid, first.lat - 0.0075, first.lon + 0.0025);
    EXPECT_NEAR(reading.depth, 1.875 + 1.25 + 16.875 + 7.5, 1e-9);
    EXPECT_EQ(reading.shallowest, 10.0);
    // On a centre the bilinear depth is the cell's own; the judged one still takes the
    // neighbours into account, as the cell's edge lies half a cell away.
    reading = readGrid(grid, grid.centre(1, 1).lat, grid.centre(1, 1).lon);
    EXPECT_NEAR(reading.depth, 40.0, 1e-9);
    EXPECT_EQ(reading.shallowest, 40.0);
}

TEST(LegSampling, TheShallowestCellFindsAShoalTheBilinearDepthPassesOver) {
    MemoryGrid grid(-122.0, 37.0, 0.001, 20, 20, 100.0);
    grid.at(10, 10) = -5.0; // a rock awash, one cell
    // Along the line half way between the rows of centres 9 and 10.
    const double lat = grid.centre(0, 9).lat - 0.0005;
    const std::vector<DepthSample> samples =
        samplesOf(grid, legBetween({lat, grid.centre(3, 0).lon}, {lat, grid.centre(17, 0).lon}));
    double shallowest = 1e9;
    double bilinear = 1e9;
    for (const DepthSample& sample : samples) {
        ASSERT_EQ(sample.state, DepthState::known);
        shallowest = std::min(shallowest, sample.shallowest);
        bilinear = std::min(bilinear, sample.depth);
    }
    EXPECT_EQ(shallowest, -5.0);
    // 100 - 105 * (weight of the rock, at most a half there): never land.
    EXPECT_GE(bilinear, 47.5 - 1e-6);
    EXPECT_LT(bilinear, 61.0);
}

TEST(LegSampling, EveryCellTheLegCrossesIsAmongTheFourAroundASample) {
    struct Case {
        const char* what;
        GeoPoint from;
        GeoPoint to;
    };
    const Case cases[] = {
        {"east along the equator", {0.003, 0.002}, {0.004, 0.21}},
        {"north-east at 45 degrees", {45.001, 0.004}, {45.17, 0.23}},
        {"diagonal through corners", {45.0, 0.0}, {45.2, 0.2}},
        {"south-west at 70 degrees, narrow cells", {70.19, 0.24}, {70.01, 0.003}},
        {"short, inside one cell", {10.0041, 0.0042}, {10.0043, 0.0046}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const double north = std::floor(std::max(c.from.lat, c.to.lat)) + 1.0;
        MemoryGrid grid(-0.5, north, 0.01, 200, 200, 50.0);
        const SurveyLeg leg = legBetween(c.from, c.to);
        const std::vector<DepthSample> samples = samplesOf(grid, leg);
        ASSERT_GE(samples.size(), 1u);
        std::set<std::pair<std::int64_t, std::int64_t>> judged;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const GridPoint p = *grid.locate(samples[i].lat, samples[i].lon);
            for (const double dc : {0.0, 1.0}) {
                for (const double dr : {0.0, 1.0}) {
                    judged.insert({static_cast<std::int64_t>(std::floor(p.column) + dc),
                                   static_cast<std::int64_t>(std::floor(p.row) + dr)});
                }
            }
            if (i > 0) {
                // Half a cell apart at most across the columns and along the rows: a leg
                // heading north crosses the narrow columns of high latitudes no faster than
                // it heads east.
                const GridPoint q = *grid.locate(samples[i - 1].lat, samples[i - 1].lon);
                EXPECT_LE(std::fabs(p.column - q.column), 0.5);
                EXPECT_LE(std::fabs(p.row - q.row), 0.5);
            }
        }
        // The leg walked a hundred times finer than the samples, each place in its cell.
        const double span = legSpan(leg);
        const double heading = initialBearing(c.from.lat, c.from.lon, c.to.lat, c.to.lon);
        const int steps = static_cast<int>(samples.size()) * 100;
        for (int k = 0; k <= steps; ++k) {
            const GeoPoint at = destinationPoint(c.from.lat, c.from.lon, heading,
                                                 span * k / static_cast<double>(steps));
            const GridPoint p = *grid.locate(at.lat, at.lon);
            const std::pair<std::int64_t, std::int64_t> cell{std::llround(p.column),
                                                             std::llround(p.row)};
            EXPECT_TRUE(judged.count(cell) == 1)
                << "cell " << cell.first << " " << cell.second << " at " << k;
        }
        EXPECT_EQ(samples.front().alongLeg, 0.0);
        EXPECT_EQ(samples.back().alongLeg, leg.length);
        EXPECT_EQ(samples.back().lat, c.to.lat);
        EXPECT_EQ(samples.back().lon, c.to.lon);
    }
}

TEST(LegSampling, OffTheGridAndNoDataAreUnknownNeverAPass) {
    MemoryGrid grid(-122.0, 37.0, 0.01, 10, 10, 80.0);
    grid.at(4, 5) = std::nan("");
    // Due east along the row of centres 2, from the middle of the grid off its east edge.
    const double lat = grid.centre(0, 2).lat;
    const std::vector<DepthSample> samples =
        samplesOf(grid, legBetween({lat, -121.95}, {lat, -121.85}));
    for (const DepthSample& sample : samples) {
        const double column = grid.locate(sample.lat, sample.lon)->column;
        // Within half a cell of the last centre a place is still on the grid.
        if (column <= 9.5) {
            EXPECT_EQ(sample.state, DepthState::known) << column;
            EXPECT_EQ(sample.shallowest, 80.0);
        } else {
            EXPECT_EQ(sample.state, DepthState::offGrid) << column;
            EXPECT_TRUE(std::isnan(sample.depth));
            EXPECT_TRUE(std::isnan(sample.shallowest));
        }
    }
    // Across the cell without data, and the cells around it.
    const GeoPoint hole = grid.centre(4, 5);
    const std::vector<DepthSample> across =
        samplesOf(grid, legBetween({hole.lat, hole.lon - 0.03}, {hole.lat, hole.lon + 0.03}));
    std::size_t noData = 0;
    for (const DepthSample& sample : across) {
        const double column = grid.locate(sample.lat, sample.lon)->column;
        const bool nearHole = column > 3.0 && column < 5.0;
        EXPECT_EQ(sample.state, nearHole ? DepthState::noData : DepthState::known) << column;
        noData += sample.state == DepthState::noData ? 1 : 0;
    }
    EXPECT_GT(noData, 2u);
    // Entirely off the grid.
    const std::vector<DepthSample> away = samplesOf(grid, legBetween({10.0, 10.0}, {10.0, 10.1}));
    for (const DepthSample& sample : away) {
        EXPECT_EQ(sample.state, DepthState::offGrid);
    }
}

TEST(LegSampling, GlobalGridsWrapAtTheirSeam) {
    // 0..360 as ETOPO stores it: the seam at Greenwich.
    MemoryGrid stored0To360(0.0, 90.0, 1.0, 360, 180, 1000.0);
    stored0To360.at(359, 79) = 50.0; // centre 359.5 E, 10.5 N
    stored0To360.at(0, 79) = 70.0;   // centre 0.5 E
    GridReading reading = readGrid(stored0To360, 10.5, 0.0);
    EXPECT_EQ(reading.state, DepthState::known);
    EXPECT_NEAR(reading.depth, 60.0, 1e-9);
    EXPECT_EQ(reading.shallowest, 50.0);
    // A hair west of the seam, where a rest of the turn rounds to the whole turn.
    for (const double lon : {-1e-13, 0.5 - 1e-17, 359.5}) {
        EXPECT_EQ(readGrid(stored0To360, 10.5, lon).state, DepthState::known) << lon;
    }
    for (const DepthSample& sample :
         samplesOf(stored0To360, legBetween({10.5, -0.4}, {10.5, 0.4}))) {
        EXPECT_EQ(sample.state, DepthState::known);
        EXPECT_EQ(sample.shallowest, 50.0);
    }
    // -180..180: the seam at the antimeridian, and a route that runs on past it.
    MemoryGrid storedPlusMinus(-180.0, 90.0, 1.0, 360, 180, 1000.0);
    storedPlusMinus.at(359, 79) = 30.0; // 179.5 E
    storedPlusMinus.at(0, 79) = 40.0;   // 179.5 W
    for (const double lon : {180.0, -180.0, 540.0}) {
        reading = readGrid(storedPlusMinus, 10.5, lon);
        EXPECT_NEAR(reading.depth, 35.0, 1e-9) << lon;
    }
    const std::vector<DepthSample> across =
        samplesOf(storedPlusMinus, legBetween({10.5, 179.8}, {10.5, -179.8}));
    for (const DepthSample& sample : across) {
        EXPECT_EQ(sample.state, DepthState::known);
        EXPECT_EQ(sample.shallowest, 30.0);
        // One run of longitudes along the leg, past 180.
        EXPECT_GE(sample.lon, 179.8 - 1e-9);
        EXPECT_LE(sample.lon, 180.2 + 1e-9);
    }
}

TEST(LegSampling, DistancesAlongRunFromTheLaunchWaypoint) {
    WaypointList route;
    appendNode(route, 36.80, -121.95);
    appendNode(route, 36.80, -121.90);
    appendNode(route, 36.81, -121.90);
    MissionParameters params;
    RouteTotals totals;
    ASSERT_EQ(planRoute(route, params, totals).status, PlanStatus::planned);
    const std::vector<SurveyLeg> legs = routeLegs(route);
    MemoryGrid grid(-122.1, 37.0, 0.01, 40, 40, 60.0);
    const SeabedResult result = sampleRoute(grid, legs, "grid.tif");
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(result.seabed.size(), legs.size());
    EXPECT_EQ(legs.front().fromNumber, 0);
    EXPECT_EQ(legs.front().toNumber, 1);
    EXPECT_EQ(legs.front().length, 500.0);
    double run = 0.0;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const std::vector<DepthSample>& samples = result.seabed[i].samples;
        EXPECT_NEAR(legs[i].routeStart, run, 1e-6);
        EXPECT_EQ(samples.front().alongRoute, legs[i].routeStart);
        EXPECT_NEAR(samples.back().alongRoute, legs[i].routeStart + legs[i].length, 1e-6);
        EXPECT_NEAR(result.seabed[i].cellHeight, 1111.95, 0.01);
        run += legs[i].length;
    }
    EXPECT_NEAR(run, totals.surveyLineDistance, 1e-6);
}

TEST(LegSampling, LegsOfNoLengthAndLegsOffTheGlobe) {
    MemoryGrid grid(-122.1, 37.0, 0.01, 40, 40, 60.0);
    const SeabedResult still = sampleRoute(grid, {legBetween({36.9, -122.0}, {36.9, -122.0})}, "g");
    ASSERT_TRUE(still.ok);
    ASSERT_EQ(still.seabed[0].samples.size(), 1u);
    EXPECT_EQ(still.seabed[0].samples[0].shallowest, 60.0);
    SurveyLeg beyondThePole = legBetween({36.9, -122.0}, {95.0, -122.0});
    beyondThePole.onGlobe = false;
    const SeabedResult off = sampleRoute(grid, {beyondThePole}, "g");
    ASSERT_TRUE(off.ok);
    EXPECT_TRUE(off.seabed[0].samples.empty());
}

TEST(LegSampling, AGridTooFineForTheRouteIsRefused) {
    MemoryGrid grid(-122.1, 37.0, 1e-7, 10, 10, 60.0);
    const SeabedResult result =
        sampleRoute(grid, {legBetween({36.0, -122.0}, {37.0, -122.0})}, "fine.tif");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "*** --bathymetry fine.tif: the route would be read at more than "
                            "4000000 places of this grid (half a cell apart); use a coarser grid "
                            "or a shorter route ***");
}

TEST(LegSampling, AGridThatFailsToReadStopsTheSampling) {
    MemoryGrid grid(-122.1, 37.0, 0.01, 40, 40, 60.0);
    grid.failure = "TIFFReadEncodedTile() failed";
    const SeabedResult result =
        sampleRoute(grid, {legBetween({36.9, -122.0}, {36.8, -122.0})}, "g.tif");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error,
              "*** --bathymetry g.tif: cannot read the grid (TIFFReadEncodedTile() failed) ***");
    EXPECT_TRUE(result.seabed.empty());
}
