// Tests of the cells a leg is judged by: the cells it crosses are those an independent
// intersection of the leg with each cell's square finds, wherever the leg is read, so that
// shifting a leg by a fraction of a cell changes its verdict only where it meets another cell.
#include "memory_grid.h"
#include "route/plan_check.h"
#include "sea/leg_sampling.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ogr_geometry.h>
#include <set>
#include <utility>

namespace {

using Cells = std::set<std::pair<std::int64_t, std::int64_t>>;

// A grid of 0.1 degree cells round the equator, 200 m deep, with land in one cell.
constexpr double kWest = -0.5;
constexpr double kNorth = 0.5;
constexpr double kCell = 0.1;
constexpr std::int64_t kLandColumn = 5;
constexpr std::int64_t kLandRow = 4;

// The cells whose square the straight leg runs through (touching an edge is not crossing),
// by OGR: near the equator over a few cells a great circle is straight in degrees to far
// under the shifts below.
Cells cellsByOgr(const SurveyLeg& leg) {
    OGRLineString line;
    line.addPoint(leg.from.lon, leg.from.lat);
    line.addPoint(leg.to.lon, leg.to.lat);
    Cells cells;
    for (std::int64_t row = 0; row < 10; ++row) {
        for (std::int64_t column = 0; column < 10; ++column) {
            const double west = kWest + static_cast<double>(column) * kCell;
            const double north = kNorth - static_cast<double>(row) * kCell;
            OGRLinearRing ring;
            ring.addPoint(west, north);
            ring.addPoint(west + kCell, north);
            ring.addPoint(west + kCell, north - kCell);
            ring.addPoint(west, north - kCell);
            ring.closeRings();
            OGRPolygon square;
            square.addRing(&ring);
            if (line.Intersects(&square) && !line.Touches(&square)) {
                cells.insert({column, row});
            }
        }
    }
    return cells;
}

} // namespace

TEST(CellWalk, TheCrossedCellsAndTheVerdictFollowTheLegNotItsSampling) {
    MemoryGrid grid(kWest, kNorth, kCell, 10, 10, 200.0);
    grid.at(kLandColumn, kLandRow) = -5.0;
    MissionParameters params;
    // Legs of a few cells across the land cell's neighbours, each shifted east by tenths of a
    // cell from 0.05 to 1.95 cells: a north-south leg, a diagonal one and an east-west one.
    const std::pair<GeoPoint, GeoPoint> legs[] = {{{0.28, -0.07}, {-0.12, -0.07}},
                                                  {{0.23, -0.16}, {-0.04, 0.01}},
                                                  {{0.04, -0.37}, {0.04, -0.09}}};
    for (const auto& [from, to] : legs) {
        for (int tenth = 0; tenth < 20; ++tenth) {
            const double east = (0.05 + 0.1 * tenth) * kCell;
            SurveyLeg leg;
            leg.from = {from.lat, from.lon + east};
            leg.to = {to.lat, to.lon + east};
            leg.length = greatCircleDistance(leg.from.lat, leg.from.lon, leg.to.lat, leg.to.lon);
            const SeabedResult result = sampleRoute(grid, {leg}, "grid.tif");
            ASSERT_TRUE(result.ok) << result.error;
            Cells crossed;
            bool bandHasLand = false;
            for (const LegCell& cell : result.seabed[0].cells) {
                if (cell.crossed) {
                    crossed.insert({cell.column, cell.row});
                }
                bandHasLand = bandHasLand || (!cell.crossed && cell.depth < 0.0);
            }
            const Cells expected = cellsByOgr(leg);
            const std::string where = "leg from " + std::to_string(leg.from.lon) + " shifted " +
                                      std::to_string(0.05 + 0.1 * tenth) + " cells";
            EXPECT_EQ(crossed, expected) << where;
            // An error exactly when the land cell is crossed; a cell beside the leg only
            // ever makes it unverified.
            SeaSurvey survey;
            survey.gridFile = "grid.tif";
            survey.legs = {leg};
            survey.seabed = result.seabed;
            const std::vector<PlanFinding> findings = checkSea(params, survey);
            const bool landCrossed = expected.count({kLandColumn, kLandRow}) != 0;
            EXPECT_EQ(hasError(findings), landCrossed) << where;
            const bool unverified =
                std::any_of(findings.begin(), findings.end(), [](const PlanFinding& finding) {
                    return finding.severity == FindingSeverity::unverified;
                });
            EXPECT_EQ(unverified, !landCrossed && bandHasLand) << where;
        }
    }
}
