// Tests of the TopoJSON reader: arcs joined and decoded, worked by hand, and what is refused.
#include "document_fixture.h"
#include "input/document_readers.h"

#include <gtest/gtest.h>

namespace {

// Two arcs without a transform: (0,0) (1,0) (1,1), and back by (0,1) to the start.
std::string topology(const std::string& geometries) {
    return R"({"type": "Topology", "arcs": [[[0,0],[1,0],[1,1]], [[1,1],[0,1],[0,0]]],)"
           "\n"
           R"("objects": {"a": {"type": "GeometryCollection", "geometries": [)" +
           geometries + "]}}}";
}

TEST(TopoJsonReader, ArcsAreJoinedAndNamedAsEachGeometrySays) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> candidates;
        Positions first; // of the first candidate: its points, or its outer ring
    };
    const std::vector<Case> cases{
        {"a ring of two arcs, named in capitals",
         topology(R"({"type": "Polygon", "arcs": [[0, 1]], "properties": {"NAME": "sq"}})"),
         {"area TopoJSON polygon 'sq' line 2"},
         {{0, 0}, {0, 1}, {1, 1}, {1, 0}}},
        {"an arc run backwards",
         topology(R"({"type": "LineString", "arcs": [-2]})"),
         {"route TopoJSON line '' line 2"},
         {{0, 0}, {1, 0}, {1, 1}}},
        {"lines and polygons of a multi-part geometry are candidates each",
         topology(R"({"type": "MultiLineString", "arcs": [[0], [1]], "properties": {"name": 7}})"),
         {"route TopoJSON line '7 (part 1 of 2)' line 2",
          "route TopoJSON line '7 (part 2 of 2)' line 2"},
         {{0, 0}, {0, 1}, {1, 1}}},
        {"a run of points, and a single point beside it that is no route of its own",
         topology(R"({"type": "Point", "coordinates": [5, 6]}, )"
                  R"({"type": "MultiPoint", "coordinates": [[7, 8]]}, {"type": null})"),
         {"route TopoJSON points '' line 2"},
         {{8, 7}}},
        {"quantized: a step from the last position, scaled and moved",
         fixtureBytes("box.topojson"),
         {"area TopoJSON polygon 'Box' line 1"},
         {{36.0, -122.0}, {36.0, -121.0}, {36.5, -121.0}, {36.5, -122.0}}},
        {"a ring folded there and back leaves its polygon out",
         R"({"type": "Topology", "arcs": [[[0,0],[1,0],[0,0]], [[0,0],[2,0],[2,2],[0,0]]],)"
         R"("objects": {"a": {"type": "MultiPolygon", "arcs": [[[0]], [[1], [0]]]}}})",
         {"area TopoJSON polygon '' line 1"},
         {{0, 0}, {0, 2}, {2, 2}}},
    };
    for (const Case& c : cases) {
        const DocumentResult read = readTopoJson(c.bytes, "x.topojson");
        ASSERT_TRUE(read.ok) << c.what << ": " << read.error;
        EXPECT_EQ(describe(read.document), c.candidates) << c.what;
        const SourceFeature& first = read.document.features.at(0);
        EXPECT_EQ(
            positionsOnly(first.shape == FeatureShape::area ? first.rings.at(0) : first.points),
            c.first)
            << c.what;
    }
}

// The message quotes a number or a name itself, a container by its first line.
TEST(TopoJsonReader, RefusesWhatIsNoTopologyNamingTheValue) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {topology(R"({"type": "LineString", "arcs": [2]})"),
         "\"2\" (an arc index is a whole number below the count of arcs (2), or ~i for arc i "
         "reversed)"},
        {topology(R"({"type": "LineString", "arcs": [0.5]})"),
         "\"0.5\" (an arc index is a whole number below the count of arcs (2), or ~i for arc "
         "i reversed)"},
        {topology(R"({"type": "Polygon", "arcs": [[0]]})"),
         "(a ring needs at least 4 positions, the last repeating the first)"},
        {topology(R"({"type": "Circle", "arcs": [0]})"), "\"Circle\" (unknown geometry type "
                                                         "\"Circle\")"},
        {topology(R"({"type": "Polygon"})"), "(a Polygon needs \"arcs\")"},
        {R"({"type": "Topology", "objects": {}, "arcs": [[[0, 95]]]})",
         "(latitude outside -90..90)"},
        {R"({"type": "Topology", "objects": {}, "arcs": [], "transform": {"scale": [1, 1]}})",
         "(a transform needs \"scale\" and \"translate\")"},
        {R"({"type": "Topology", "objects": {}})", "(a Topology needs \"arcs\")"},
        {R"({"type": "Topology", "objects": {"a": 1}, "arcs": []})",
         "\"1\" (an object of a Topology is a geometry)"},
    };
    for (const auto& [bytes, error] : cases) {
        const DocumentResult read = readTopoJson(bytes, "x.topojson");
        EXPECT_FALSE(read.ok) << bytes;
        EXPECT_NE(read.error.find("*** BAD TopoJSON FILE *** x.topojson line "), std::string::npos)
            << read.error;
        EXPECT_TRUE(read.error.ends_with(error)) << read.error;
    }
}

} // namespace
