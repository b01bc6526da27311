// Tests of the scores of every heading at once against a walk round the rings per heading.
#include "survey/heading_scores.h"
#include "survey/heading_search.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

// A ragged ring round a point and a ragged hole inside it, counterclockwise and clockwise.
PlaneArea raggedArea(std::size_t vertices, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> reach(0.7, 1.0);
    PlaneArea area;
    area.holes.emplace_back();
    for (std::size_t i = 0; i < vertices; ++i) {
        const double a = 2.0 * M_PI * static_cast<double>(i) / static_cast<double>(vertices);
        area.outer.push_back({1000.0 * reach(random) * std::cos(a), 500.0 * std::sin(a)});
        area.holes[0].push_back({100.0 * reach(random) * std::cos(-a), 50.0 * std::sin(-a)});
    }
    return area;
}

// The climb walked round every ring in the frame of the lines.
double walkedClimb(const PlaneArea& area, double heading) {
    const PlaneArea turned = toLineFrame(lineAxes(heading), area);
    double climb = 0.0;
    const auto walk = [&](const PlaneRing& ring) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            climb += std::abs(ring[(i + 1) % ring.size()].y - ring[i].y);
        }
    };
    walk(turned.outer);
    for (const PlaneRing& hole : turned.holes) {
        walk(hole);
    }
    return climb;
}

} // namespace

TEST(HeadingScores, ClimbAndWidthOfEveryHeadingAsWalkedRoundTheRings) {
    const Geos geos = makeGeos();
    for (const unsigned seed : {1U, 2U, 3U}) {
        const PlaneArea area = raggedArea(200 + 100 * seed, seed);
        const std::vector<double> headings = candidateHeadings(area);
        const AcrossClimb climb(area);
        const std::vector<double> widths = widthsAcross(geos, area, headings);
        ASSERT_EQ(widths.size(), headings.size());
        for (std::size_t i = 0; i < headings.size(); i += 7) {
            SCOPED_TRACE(headings[i]);
            EXPECT_NEAR(climb.at(headings[i]), walkedClimb(area, headings[i]), 1e-6);
            const Extent across = acrossExtent(toLineFrame(lineAxes(headings[i]), area));
            EXPECT_NEAR(widths[i], across.high - across.low, 1e-9);
        }
    }
    // A square's sides climb twice its side across lines along them, and more between.
    const PlaneArea square{{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {}};
    EXPECT_NEAR(AcrossClimb(square).at(0.0), 200.0, 1e-9);
    EXPECT_NEAR(AcrossClimb(square).at(45.0), 200.0 * std::sqrt(2.0), 1e-9);
}

TEST(HeadingScores, TheLeastClimbingSpreadOverTheDirections) {
    const PlaneArea area = raggedArea(400, 5);
    const std::vector<double> headings = candidateHeadings(area);
    const std::vector<double> kept = leastClimbing(AcrossClimb(area), headings, 0.5, 32);
    ASSERT_EQ(kept.size(), 32u);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
    for (std::size_t i = 1; i < kept.size(); ++i) {
        EXPECT_NE(std::floor(kept[i] / 0.5), std::floor(kept[i - 1] / 0.5)); // a span each
    }
}
