// Tests of the candidate headings and of the search over criteria passed in.
#include "survey/heading_search.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

TEST(HeadingSearch, CandidatesRunAlongTheEdgesWhicheverWayTheRingRuns) {
    // A rectangle whose long sides run at 30 degrees, and a hole whose edges run at 0 and 90.
    const double s = 0.5;
    const double c = 0.8660254037844386;
    PlaneArea area{
        {{0, 0}, {200 * s, 200 * c}, {200 * s + 80 * c, 200 * c - 80 * s}, {80 * c, -80 * s}},
        {{{60, 20}, {70, 20}, {70, 30}}}};
    const std::vector<double> forwards = candidateHeadings(area);
    std::reverse(area.outer.begin(), area.outer.end());
    EXPECT_EQ(candidateHeadings(area), forwards);
    ASSERT_EQ(forwards.size(), 5u);
    EXPECT_EQ(forwards[0], 0.0);
    EXPECT_NEAR(forwards[1], 30.0, 1e-12);
    EXPECT_NEAR(forwards[2], 45.0, 1e-12);
    EXPECT_EQ(forwards[3], 90.0);
    EXPECT_NEAR(forwards[4], 120.0, 1e-12);
    EXPECT_EQ(lineHeadingOf(-30.0), 150.0);
    EXPECT_EQ(lineHeadingOf(210.0), 30.0);
    EXPECT_EQ(lineHeadingOf(180.0 - 1e-12), 0.0);
}

// The second criterion decides among the ties of the first only, and is asked about them
// alone; a tie left at the end goes to the smallest heading.
TEST(HeadingSearch, CriteriaNarrowTheCandidatesInTurn) {
    std::vector<double> asked;
    const HeadingCriterion lines{[](double h) { return h < 100.0 ? 3.0 : 4.0; }, 0.5};
    const HeadingCriterion route{[&](double h) {
                                     asked.push_back(h);
                                     return h == 40.0 ? 10.0 : 10.0005;
                                 },
                                 1e-3};
    EXPECT_EQ(searchHeading({120.0, 40.0, 10.0, 170.0}, {lines, route}), 10.0);
    EXPECT_EQ(asked, (std::vector<double>{10.0, 40.0}));
    const HeadingCriterion strictRoute{route.score, 1e-4};
    EXPECT_EQ(searchHeading({120.0, 40.0, 10.0, 170.0}, {lines, strictRoute}), 40.0);
    EXPECT_EQ(searchHeading({120.0}, {lines, route}), 120.0);
    // Scores that are no number lose, and a criterion that scores none keeps them all.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const HeadingCriterion partly{[&](double h) { return h == 40.0 ? 5.0 : nan; }, 0.5};
    const HeadingCriterion never{[&](double) { return nan; }, 0.0};
    EXPECT_EQ(searchHeading({120.0, 40.0, 10.0}, {partly}), 40.0);
    EXPECT_EQ(searchHeading({120.0, 40.0, 10.0}, {never}), 10.0);
    EXPECT_EQ(searchHeading({}, {lines}), 0.0);
}

// A rough score keeps those within a share of the best, and of them at most so many, the
// best first; the order of the headings kept stays that of the headings.
TEST(HeadingSearch, ARoughCriterionKeepsTheLikeliest) {
    std::vector<double> asked;
    const HeadingCriterion rough{[](double h) {
                                     return h == 50.0 ? 100.0 : h == 20.0 ? 105.0 : 111.0;
                                 },
                                 0.0, 0.1, 8};
    const HeadingCriterion exact{[&](double h) {
                                     asked.push_back(h);
                                     return h == 50.0 ? 2.0 : 1.0;
                                 },
                                 0.5};
    EXPECT_EQ(searchHeading({70.0, 50.0, 20.0}, {rough, exact}), 20.0);
    EXPECT_EQ(asked, (std::vector<double>{20.0, 50.0}));
    asked.clear();
    const HeadingCriterion roughest{rough.score, 0.0, 0.1, 1};
    EXPECT_EQ(searchHeading({70.0, 50.0, 20.0}, {roughest, exact}), 50.0);
    EXPECT_TRUE(asked.empty());
}
