// The search for the direction of the lines: candidate headings weighed by criteria that are
// passed in, so that "fewest lines" and "shortest route" can be tried and swapped alone.
#pragma once

#include "survey/plane.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Line headings are degrees clockwise from north in [0, 180): a line run the other way is
// the same line.
double lineHeadingOf(double heading);

// The headings worth trying for an area (in its east/north frame): along each edge of the
// boundary and the holes, sorted, each once. On a convex area the fewest lines lie along an
// edge of its hull, where its width is least; and lines along an edge end square on the
// edges across them and cover to the edges along them, as a planner would lay them by hand.
std::vector<double> candidateHeadings(const PlaneArea& area);

struct HeadingCriterion {
    std::function<double(double heading)> score; // less is better
    double tolerance = 0.0;                      // scores this close to the best tie with it
    double share = 0.0;                          // and this share of the best, for a rough score
    std::size_t most = SIZE_MAX;                 // of those, at most this many, the best first
};

// Keeps, criterion by criterion, the candidates that score best, each criterion asked only
// about the candidates the ones before it kept; of those left, the smallest heading.
// A score that is not a number counts as the worst; no candidates at all give heading 0.
double searchHeading(std::vector<double> candidates, const std::vector<HeadingCriterion>& criteria);
