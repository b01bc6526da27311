// Tests of the grid's land against a coastline: land cells the coast shows as open water
// more than half a cell from any shore convict nothing; near a shore they still do.
#include "memory_grid.h"
#include "route/plan_check.h"
#include "sea/coast_check.h"
#include "sea/leg_sampling.h"

#include <algorithm>
#include <gtest/gtest.h>

TEST(CoastCheck, LandCellsFarOffTheCoastAreADisagreementNearItLand) {
    // 0.1 degree cells at the equator (11 km, half a cell 5.6 km), land in the cell from 0
    // to 0.1 degrees east and north; the leg crosses it along latitude 0.05.
    MemoryGrid grid(-0.5, 0.5, 0.1, 10, 10, 200.0);
    grid.at(5, 4) = -5.0;
    SurveyLeg leg;
    leg.from = {0.05, -0.15};
    leg.to = {0.05, 0.25};
    leg.length = greatCircleDistance(0.05, -0.15, 0.05, 0.25);
    const auto square = [](double west, double south, double side) {
        return GeoArea{"shore",
                       {{south, west},
                        {south, west + side},
                        {south + side, west + side},
                        {south + side, west}},
                       {}};
    };
    struct Case {
        const char* what;
        GeoArea shore;
        bool disagree;
    };
    const Case cases[] = {
        {"an island 40 km off", square(0.4, 0.3, 0.05), true},
        {"a shore 2 km east of the cell", square(0.12, 0.0, 0.02), false},
        {"land over the cell", square(-0.01, -0.01, 0.12), false},
    };
    for (const Case& c : cases) {
        SeaSurvey survey;
        survey.gridFile = "grid.tif";
        survey.legs = {leg};
        SeabedResult sampled = sampleRoute(grid, survey.legs, "grid.tif");
        ASSERT_TRUE(sampled.ok);
        survey.seabed = std::move(sampled.seabed);
        const CoastResult compared = compareCoast(
            survey.seabed, survey.legs, ZoneSource{ZoneKind::keepOut, "coast.geojson", {c.shore}});
        ASSERT_TRUE(compared.ok) << compared.error;
        survey.coastFile = "coast.geojson";
        const std::vector<PlanFinding> findings = checkSea(MissionParameters{}, survey);
        EXPECT_EQ(hasError(findings), !c.disagree) << c.what;
        const bool said = std::any_of(findings.begin(), findings.end(), [](const PlanFinding& f) {
            return f.severity == FindingSeverity::unverified &&
                   f.message.find("coast.geojson has water more than half a cell (5.6 km)") !=
                       std::string::npos;
        });
        EXPECT_EQ(said, c.disagree) << c.what;
    }
}
