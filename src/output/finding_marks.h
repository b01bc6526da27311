// Where the plan check's findings lie along the route, for the drawings that mark them.
#pragma once

#include "route/plan_check.h"
#include "route/sea_survey.h"

#include <cstddef>
#include <vector>

// One part of one leg that a finding concerns.
struct FindingMark {
    std::size_t leg = 0; // index into SeaSurvey::legs
    FindingSeverity severity = FindingSeverity::warning;
    // Meters along the leg, within 0 and its length; equal for a place (a crossing, a
    // route point).
    double start = 0.0;
    double end = 0.0;
};

struct FindingMarks {
    std::vector<FindingMark> stretches; // parts of some length, where the finding holds
    std::vector<FindingMark> places;    // single places
    // Legs with a finding that has only places: the leg as a whole is what it concerns
    // (start 0, end the leg's length).
    std::vector<FindingMark> wholeLegs;
};

// The errors and warnings with a place on a leg of the survey, in the order found; notes,
// findings without a place and places on no leg of the survey are left out.
FindingMarks findingMarks(const std::vector<PlanFinding>& findings, const SeaSurvey& sea);
