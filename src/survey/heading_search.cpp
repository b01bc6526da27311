// The search for the direction of the lines.
#include "survey/heading_search.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// Headings closer than this are the same direction.
constexpr double kSameHeading = 1e-9; // degrees
// Candidates closer than this are tried once: over 10 km their lines part by under 2 mm,
// and edges of a boundary and a hole drawn parallel would each cost a layout.
constexpr double kDistinctCandidates = 1e-5; // degrees

// The heading of an edge, from the edge's direction turned to point northwards, so that an
// edge and its reverse give the very same double whichever way the ring runs.
double edgeHeading(PlanePoint a, PlanePoint b) {
    double east = b.x - a.x;
    double north = b.y - a.y;
    if (north < 0.0 || (north == 0.0 && east < 0.0)) {
        east = -east;
        north = -north;
    }
    return lineHeadingOf(std::atan2(east, north) * 180.0 / std::numbers::pi);
}

void addEdges(const PlaneRing& ring, std::vector<double>& headings) {
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const PlanePoint& a = ring[i];
        const PlanePoint& b = ring[(i + 1) % ring.size()];
        if (a.x != b.x || a.y != b.y) {
            headings.push_back(edgeHeading(a, b));
        }
    }
}

} // namespace

double lineHeadingOf(double heading) {
    double line = std::fmod(heading, 180.0);
    if (line < 0.0) {
        line += 180.0;
    }
    return line >= 180.0 - kSameHeading ? 0.0 : line;
}

std::vector<double> candidateHeadings(const PlaneArea& area) {
    std::vector<double> headings;
    addEdges(area.outer, headings);
    for (const PlaneRing& hole : area.holes) {
        addEdges(hole, headings);
    }
    std::sort(headings.begin(), headings.end());
    std::vector<double> distinct;
    for (const double heading : headings) {
        if (distinct.empty() || heading - distinct.back() > kDistinctCandidates) {
            distinct.push_back(heading);
        }
    }
    return distinct;
}

double searchHeading(std::vector<double> candidates,
                     const std::vector<HeadingCriterion>& criteria) {
    std::sort(candidates.begin(), candidates.end());
    for (const HeadingCriterion& criterion : criteria) {
        if (candidates.size() < 2) {
            break;
        }
        std::vector<double> scores;
        scores.reserve(candidates.size());
        for (const double heading : candidates) {
            // A score that is no number (an area degenerate in that direction) is the worst.
            const double score = criterion.score(heading);
            scores.push_back(std::isnan(score) ? std::numeric_limits<double>::infinity() : score);
        }
        const double best = *std::min_element(scores.begin(), scores.end());
        std::vector<std::size_t> kept;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (scores[i] <= best + criterion.tolerance + criterion.share * std::abs(best)) {
                kept.push_back(i);
            }
        }
        if (kept.empty()) {
            continue; // every score infinite: the criterion tells none apart
        }
        // The best first, the smaller heading first among equals; then in heading order again.
        std::stable_sort(kept.begin(), kept.end(),
                         [&](std::size_t a, std::size_t b) { return scores[a] < scores[b]; });
        kept.resize(std::min(kept.size(), criterion.most));
        std::sort(kept.begin(), kept.end());
        std::vector<double> narrowed;
        for (const std::size_t i : kept) {
            narrowed.push_back(candidates[i]);
        }
        candidates = std::move(narrowed);
    }
    return candidates.empty() ? 0.0 : candidates.front();
}
