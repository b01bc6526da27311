// Tests of the walk round the faces of a plane graph.
#include "survey/plane_faces.h"

#include <gtest/gtest.h>

// A square of 10 m, its boundary with the inside to the left, and the edges added to it.
TEST(PlaneFaces, FacesInsideOrWhyNone) {
    const std::vector<FaceEdge> square{
        {{0, 0}, {5, 0}, true, false},    {{5, 0}, {10, 0}, true, false},
        {{10, 0}, {10, 10}, true, false}, {{10, 10}, {5, 10}, true, false},
        {{5, 10}, {0, 10}, true, false},  {{0, 10}, {0, 0}, true, false}};
    const struct {
        const char* name;
        std::vector<FaceEdge> added;
        std::vector<double> areas; // square meters of each face, in the order found; none: refused
        bool refused;
    } cases[] = {
        {"the square alone", {}, {100.0}, false},
        {"cut in two", {{{5, 0}, {5, 10}, true, true}}, {50.0, 50.0}, false},
        // The polygonizer drops an edge that only reaches into a face.
        {"a cut that ends inside", {{{5, 0}, {5, 4}, true, true}}, {}, true},
        {"a hole in it",
         {{{4, 4}, {4, 6}, true, false},
          {{4, 6}, {6, 6}, true, false},
          {{6, 6}, {6, 4}, true, false},
          {{6, 4}, {4, 4}, true, false}},
         {},
         true},
        {"an edge twice", {{{5, 0}, {5, 10}, true, true}, {{5, 10}, {5, 0}, true, true}}, {}, true},
        // Inside on the left of an edge that leads into the outside.
        {"inside met from outside", {{{10, 10}, {20, 10}, true, false}}, {}, true},
    };
    // The square again as two stretches of a ring between the cut's ends, each one edge.
    const std::optional<std::vector<PlaneRing>> halves =
        insideFaces({{{5, 0}, {5, 10}, true, false, {{10, 0}, {10, 10}}},
                     {{5, 10}, {5, 0}, true, false, {{0, 10}, {0, 0}}},
                     {{5, 0}, {5, 10}, true, true}});
    ASSERT_TRUE(halves.has_value());
    ASSERT_EQ(halves->size(), 2u);
    for (const PlaneRing& face : *halves) {
        EXPECT_EQ(face.size(), 4u);
        EXPECT_NEAR(signedArea(face), 50.0, 1e-9);
    }
    for (const auto& c : cases) {
        std::vector<FaceEdge> edges = square;
        edges.insert(edges.end(), c.added.begin(), c.added.end());
        const std::optional<std::vector<PlaneRing>> faces = insideFaces(edges);
        ASSERT_EQ(faces.has_value(), !c.refused) << c.name;
        if (faces) {
            ASSERT_EQ(faces->size(), c.areas.size()) << c.name;
            for (std::size_t i = 0; i < faces->size(); ++i) {
                EXPECT_NEAR(signedArea((*faces)[i]), c.areas[i], 1e-9) << c.name;
            }
        }
    }
}
