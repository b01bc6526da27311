// Where the findings lie along the route, for the drawings: stretches, places and whole
// legs, and what is left out.
#include "output/finding_marks.h"

#include <gtest/gtest.h>

namespace {

PlanFinding placed(FindingSeverity severity, std::size_t leg, std::vector<LegStretch> stretches) {
    FindingPlace place;
    place.leg = leg;
    place.stretches = std::move(stretches);
    return PlanFinding(severity, "finding", place);
}

std::vector<double> figures(const std::vector<FindingMark>& marks) {
    std::vector<double> result;
    for (const FindingMark& mark : marks) {
        result.push_back(static_cast<double>(mark.leg));
        result.push_back(mark.severity == FindingSeverity::error ? 1.0 : 0.0);
        result.push_back(mark.start);
        result.push_back(mark.end);
    }
    return result;
}

} // namespace

TEST(FindingMarks, StretchesPlacesAndWholeLegs) {
    SeaSurvey sea;
    sea.legs.resize(3);
    sea.legs[0].length = 500.0;
    sea.legs[1].length = 1000.0;
    sea.legs[2].length = 0.0;
    const std::vector<PlanFinding> findings = {
        // Two stretches, one reaching past the leg's end as rounding may leave it.
        placed(FindingSeverity::warning, 1, {{0.0, 100.0}, {900.0, 1000.0000001}}),
        // A crossing: a place only, so the whole leg with it.
        placed(FindingSeverity::error, 0, {{250.0, 250.0}}),
        // A stretch and a place: the stretch is what it concerns.
        placed(FindingSeverity::error, 1, {{10.0, 20.0}, {30.0, 30.0}}),
        // A route point on a leg of no length.
        placed(FindingSeverity::error, 2, {{0.0, 0.0}}),
        // Left out: a note, a finding without a place, a leg the survey does not have.
        placed(FindingSeverity::note, 1, {{0.0, 1000.0}}),
        PlanFinding(FindingSeverity::error, "gpsHits 0 is not greater than 0"),
        placed(FindingSeverity::warning, 3, {{0.0, 1.0}}),
    };
    const FindingMarks marks = findingMarks(findings, sea);
    EXPECT_EQ(figures(marks.stretches),
              (std::vector<double>{1, 0, 0, 100, 1, 0, 900, 1000, 1, 1, 10, 20}));
    EXPECT_EQ(figures(marks.places),
              (std::vector<double>{0, 1, 250, 250, 1, 1, 30, 30, 2, 1, 0, 0}));
    EXPECT_EQ(figures(marks.wholeLegs), (std::vector<double>{0, 1, 0, 500, 2, 1, 0, 0}));
}
