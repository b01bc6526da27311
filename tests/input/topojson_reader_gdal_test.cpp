// Tests of the TopoJSON reader against GDAL's own reading of the same bytes.
#include "document_fixture.h"
#include "input/document_readers.h"

#include <gtest/gtest.h>

namespace {

// Real borders shared between countries, quantized and delta-encoded, and made-up shapes of
// every geometry type: tavra reads the very candidates GDAL does, to the bit.
TEST(TopoJsonReader, ReadsWhatGdalReads) {
    const std::vector<std::string> documents{
        fixtureBytes("ne110m_benelux_denmark.topojson"),
        fixtureBytes("box.topojson"),
        R"({"type": "Topology", "arcs": [[[0,0],[1,0],[1,1]], [[1,1],[0,1],[0,0]],
            [[0,0],[1,0],[0,0]], [[0.2,0.2],[0.4,0.2],[0.4,0.4],[0.2,0.2]]],
            "objects": {
              "lines": {"type": "GeometryCollection", "geometries": [
                {"type": "LineString", "arcs": [0, 1], "properties": {"name": "loop"}},
                {"type": "MultiLineString", "arcs": [[-2], [-1]], "properties": {"Name": "two"}},
                {"type": "MultiPoint", "coordinates": [[3,4], [5,6]]}]},
              "areas": {"type": "MultiPolygon", "arcs": [[[2]], [[0, 1], [3]], [[-2, -1]]]}}})",
    };
    for (const std::string& bytes : documents) {
        const DocumentResult ours = readTopoJson(bytes, "-");
        const DocumentResult gdal = readWithGdal("", "-", bytes);
        ASSERT_TRUE(ours.ok) << ours.error;
        ASSERT_TRUE(gdal.ok) << gdal.error;
        ASSERT_EQ(ours.document.features.size(), gdal.document.features.size()) << bytes;
        for (std::size_t i = 0; i < ours.document.features.size(); ++i) {
            const SourceFeature& a = ours.document.features[i];
            const SourceFeature& b = gdal.document.features[i];
            EXPECT_EQ(a.kind + " " + a.name, b.kind + " " + b.name);
            EXPECT_EQ(positionsOnly(a.points), positionsOnly(b.points)) << a.name;
            ASSERT_EQ(a.rings.size(), b.rings.size()) << a.name;
            for (std::size_t r = 0; r < a.rings.size(); ++r) {
                EXPECT_EQ(positionsOnly(a.rings[r]), positionsOnly(b.rings[r])) << a.name;
            }
        }
    }
}

} // namespace
