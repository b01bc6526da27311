// Where the plan check's findings lie along the route.
#include "output/finding_marks.h"

#include <algorithm>
#include <cmath>

namespace {

// A leg's length as the drawings may divide by it: a finite figure of 0 or more.
double drawnLength(const SurveyLeg& leg) {
    return std::isfinite(leg.length) && leg.length > 0.0 ? leg.length : 0.0;
}

double onLeg(double along, double length) {
    return std::isfinite(along) ? std::clamp(along, 0.0, length) : 0.0;
}

} // namespace

FindingMarks findingMarks(const std::vector<PlanFinding>& findings, const SeaSurvey& sea) {
    FindingMarks marks;
    for (const PlanFinding& finding : findings) {
        if (finding.severity == FindingSeverity::note || !finding.place ||
            finding.place->leg >= sea.legs.size()) {
            continue;
        }
        const FindingPlace& place = *finding.place;
        const double length = drawnLength(sea.legs[place.leg]);
        bool anyStretch = false;
        for (const LegStretch& stretch : place.stretches) {
            const FindingMark mark{place.leg, finding.severity, onLeg(stretch.start, length),
                                   onLeg(stretch.end, length)};
            if (mark.end > mark.start) {
                marks.stretches.push_back(mark);
                anyStretch = true;
            } else {
                marks.places.push_back(mark);
            }
        }
        if (!anyStretch) {
            marks.wholeLegs.push_back(FindingMark{place.leg, finding.severity, 0.0, length});
        }
    }
    return marks;
}
