// Tests of the GeoJSON reader: geometries in features and collections, the crs member, and
// what is refused.
#include "document_fixture.h"
#include "input/document_readers.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string feature(const std::string& geometry, const std::string& name = "") {
    return R"({"type": "Feature", "properties": {"name": ")" + name + R"("}, "geometry": )" +
           geometry + "}";
}

std::string collection(const std::string& features) {
    return "{\"type\": \"FeatureCollection\", \"features\": [\n" + features + "\n]}";
}

} // namespace

TEST(GeoJsonReader, QgisLineIsOneCandidateWithItsLine) {
    const DocumentResult read = readGeoJson(fixtureBytes("qgis_line.geojson"), "line.geojson");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.document.format, "GeoJSON");
    EXPECT_EQ(describe(read.document),
              (std::vector<std::string>{"route GeoJSON LineString 'Moss Landing test' line 6"}));
    EXPECT_EQ(located(read.document.features[0].points),
              (Located{{36.8167, -121.8171, 6}, {36.8215, -121.7986, 6}}));
}

TEST(GeoJsonReader, WhatBecomesTheCandidates) {
    const std::string square = "[[[0,0],[1,0],[1,1],[0,0]]]";
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> candidates;
    } cases[] = {
        {"a bare LineString",
         R"({"type": "LineString", "coordinates": [[1,2],[3,4]]})",
         {"route GeoJSON LineString '' line 1"}},
        {"a Feature",
         feature(R"({"type": "MultiPoint", "coordinates": [[1,2],[3,4]]})", "M"),
         {"route GeoJSON MultiPoint 'M' line 1"}},
        {"Point features in order as one route",
         collection(feature(R"({"type": "Point", "coordinates": [1,2]})", "a") + ",\n" +
                    feature(R"({"type": "Point", "coordinates": [3,4,5]})", "b")),
         {"route GeoJSON points '' line 2"}},
        {"points beside a line are not a route",
         collection(feature(R"({"type": "Point", "coordinates": [1,2]})") + ",\n" +
                    feature(R"({"type": "LineString", "coordinates": [[1,2],[3,4]]})", "L")),
         {"route GeoJSON LineString 'L' line 3"}},
        {"each line of a MultiLineString a candidate",
         feature(R"({"type": "MultiLineString", "coordinates": [[[1,2],[3,4]], [[5,6],[7,8]]]})",
                 "ML"),
         {"route GeoJSON MultiLineString 'ML (part 1 of 2)' line 1",
          "route GeoJSON MultiLineString 'ML (part 2 of 2)' line 1"}},
        {"polygons as areas, each of a MultiPolygon apart",
         collection(
             feature(R"({"type": "Polygon", "coordinates": )" + square + "}", "P") + ",\n" +
             feature(R"({"type": "MultiPolygon", "coordinates": [)" + square + "," + square + "]}",
                     "Q")),
         {"area GeoJSON Polygon 'P' line 2", "area GeoJSON MultiPolygon 'Q (part 1 of 2)' line 3",
          "area GeoJSON MultiPolygon 'Q (part 2 of 2)' line 3"}},
        {"a GeometryCollection",
         feature(R"({"type": "GeometryCollection", "geometries": [{"type": "LineString", )"
                 R"("coordinates": [[1,2],[3,4]]}, {"type": "Point", "coordinates": [0,0]}]})",
                 "G"),
         {"route GeoJSON LineString 'G' line 1"}},
        {"null geometry and empty lines are skipped",
         collection(feature("null", "N") + ",\n" +
                    feature(R"({"type": "LineString", "coordinates": []})", "E")),
         {}},
        {"the name in any case",
         R"({"type": "Feature", "properties": {"NAME": "Upper"}, "geometry": {"type": )"
         R"("LineString", "coordinates": [[1,2],[3,4]]}})",
         {"route GeoJSON LineString 'Upper' line 1"}},
        {"a number as name",
         R"({"type": "Feature", "properties": {"name": 12}, "geometry": {"type": )"
         R"("LineString", "coordinates": [[1,2],[3,4]]}})",
         {"route GeoJSON LineString '12' line 1"}},
        {"the name among attributes and foreign members, which are not read",
         R"({"type": "Feature", "bbox": [1,2,3,4], "id": {"type": "x"}, "properties": {"a": )"
         R"([[1, {"name": "no"}]], "name": "Kept", "b": {"c": null}}, "geometry": {"type": )"
         R"("LineString", "coordinates": [[1,2],[3,4]], "extra": [[[[]]]]}})",
         {"route GeoJSON LineString 'Kept' line 1"}},
        {"a name that is no text",
         R"({"type": "Feature", "properties": {"name": [[1, 2]]}, "geometry": {"type": )"
         R"("LineString", "coordinates": [[1,2],[3,4]]}})",
         {"route GeoJSON LineString '' line 1"}},
        {"QGIS and GDAL spellings of WGS 84",
         R"({"type": "FeatureCollection", "crs": {"type": "name", "properties": {"name": )"
         R"("urn:ogc:def:crs:EPSG::4326"}}, "features": [)" +
             feature(R"({"type": "LineString", "coordinates": [[1,2],[3,4]], "crs": {"type": )"
                     R"("name", "properties": {"name": "EPSG:4326"}}})") +
             "]}",
         {"route GeoJSON LineString '' line 1"}},
    };
    for (const auto& c : cases) {
        const DocumentResult read = readGeoJson(c.bytes, "x.geojson");
        ASSERT_TRUE(read.ok) << c.what << ": " << read.error;
        EXPECT_EQ(describe(read.document), c.candidates) << c.what;
    }
}

// Longitude first, as RFC 7946 writes positions; the closing vertex is dropped.
TEST(GeoJsonReader, PolygonRingsOuterFirstWithoutTheClosingVertex) {
    const DocumentResult read = readGeoJson(R"({"type": "Polygon", "coordinates": [
  [[0,0],[4,0],[4,4],[0,4],[0,0]],
  [[1,1],[1,2],[2,2],[1,1]]
]})",
                                            "x.geojson");
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.document.features.size(), 1u);
    const SourceFeature& area = read.document.features[0];
    ASSERT_EQ(area.rings.size(), 2u);
    EXPECT_EQ(located(area.rings[0]), (Located{{0, 0, 2}, {0, 4, 2}, {4, 4, 2}, {4, 0, 2}}));
    EXPECT_EQ(located(area.rings[1]), (Located{{1, 1, 3}, {2, 1, 3}, {2, 2, 3}}));
}

TEST(GeoJsonReader, RefusalsNameFileLineAndText) {
    const auto line = [](const std::string& coordinates) {
        return "{\"type\": \"LineString\", \"coordinates\": [\n" + coordinates + "\n]}";
    };
    const struct {
        const char* what;
        std::string bytes;
        const char* error;
    } cases[] = {
        {"a string where a number belongs", line("[1, 2],\n[\"-121.8\", 36.8]"),
         "*** BAD GeoJSON FILE *** x.geojson line 3: \"-121.8\" (longitude must be a number)"},
        {"null latitude", line("[-121.8, null]"),
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"null\" (latitude must be a number)"},
        {"text altitude", line("[-121.8, 36.8, \"deep\"]"),
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"deep\" (altitude must be a number)"},
        {"latitude first by mistake", line("[36.8, -121.8]"),
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"-121.8\" (latitude outside -90..90)"},
        {"longitude beyond 180", line("[180.25, 0]"),
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"180.25\" (longitude outside -180..180)"},
        {"one number", line("[1]"),
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"[1]\" (a position is an array [longitude, "
         "latitude])"},
        {"NaN is no JSON", line("[NaN, 1]"),
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"[NaN, 1]\" (not valid JSON)"},
        {"overflow", line("[1e400, 1]"),
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"1e400\" (number beyond the range of a "
         "double)"},
        {"another crs",
         R"({"type": "FeatureCollection", "crs": {"type": "name", "properties": {"name": )"
         "\n\"urn:ogc:def:crs:EPSG::3857\"}}, \"features\": []}",
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"urn:ogc:def:crs:EPSG::3857\" (GeoJSON "
         "positions must be WGS 84 longitude, latitude (CRS84 or EPSG:4326))"},
        {"a linked crs",
         "{\"type\": \"Point\", \"coordinates\": [1,2],\n\"crs\": {\"type\": \"link\", "
         "\"properties\": {}}}",
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"\"crs\": {\"type\": \"link\", "
         "\"properties\": {}}}\" "
         "(GeoJSON positions must be WGS 84 longitude, latitude (CRS84 or EPSG:4326))"},
        {"unclosed ring", "{\"type\": \"Polygon\", \"coordinates\": [\n[[0,0],[1,0],[1,1],[0,1]]]}",
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"[[0,0],[1,0],[1,1],[0,1]]]}\" (ring not "
         "closed: its last position must repeat its first)"},
        {"unknown type", R"({"type": "Circle", "coordinates": [1,2]})",
         "*** BAD GeoJSON FILE *** x.geojson line 1: \"{\"type\": \"Circle\", \"coordinates\": "
         "[1,2]}\" (unknown geometry type \"Circle\")"},
        {"no type", R"({"coordinates": [1,2]})",
         "*** BAD GeoJSON FILE *** x.geojson line 1: \"{\"coordinates\": [1,2]}\" (a GeoJSON "
         "object "
         "needs a \"type\" string)"},
        {"coordinates twice", R"({"type": "Point", "coordinates": [1,2], "coordinates": [3,4]})",
         "*** BAD GeoJSON FILE *** x.geojson line 1: \"{\"type\": \"Point\", \"coordinates\": "
         "[1,2], \"coordinates\": [3,4]}\" (member \"coordinates\" given twice)"},
        {"not an object", "[1, 2]",
         "*** BAD GeoJSON FILE *** x.geojson line 1: \"[1, 2]\" (a GeoJSON document is an "
         "object)"},
        {"a position deeper than a MultiPolygon's",
         "{\"type\": \"MultiPolygon\",\n"
         "\"coordinates\": [[[[[0, 0]]]]]}",
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"\"coordinates\": [[[[[0, 0]]]]]}\" (a "
         "position is an array [longitude, latitude])"},
        {"a number too large among attributes",
         R"({"type": "Feature", "geometry": {"type": "Point", "coordinates": [1,2]},)"
         "\n"
         R"("properties": {"x": [1e400]}})",
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"1e400\" (number beyond the range of a "
         "double)"},
        {"TopoJSON", R"({"type": "Topology", "objects": {}, "arcs": []})",
         "*** BAD GeoJSON FILE *** x.geojson line 1: \"{\"type\": \"Topology\", \"objects\": {}, "
         "\"arcs\": []}\" (a TopoJSON file, for the TopoJSON reader)"},
        {"geometries no array", R"({"type": "GeometryCollection", "geometries": 5})",
         "*** BAD GeoJSON FILE *** x.geojson line 1: \"5\" (a GeometryCollection needs a "
         "\"geometries\" array)"},
        {"a Point in features", collection(R"({"type": "Point", "coordinates": [1,2]})"),
         "*** BAD GeoJSON FILE *** x.geojson line 2: \"{\"type\": \"Point\", \"coordinates\": "
         "[1,2]}\" (expected a Feature, not \"Point\")"},
    };
    for (const auto& c : cases) {
        const DocumentResult read = readGeoJson(c.bytes, "x.geojson");
        EXPECT_FALSE(read.ok) << c.what;
        EXPECT_EQ(read.error, c.error) << c.what;
        EXPECT_TRUE(read.document.features.empty()) << c.what;
    }
}

TEST(GeoJsonReader, ByteOrderMarkAndCarriageReturnsAreAccepted) {
    const DocumentResult read = readGeoJson(
        "\xEF\xBB\xBF{\"type\": \"MultiPoint\",\r\n\"coordinates\": [[-121.9, 36.8],\r\n[-121.8, "
        "36.9]]}\r\n",
        "x.geojson");
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(located(read.document.features[0].points),
              (Located{{36.8, -121.9, 2}, {36.9, -121.8, 3}}));
}

TEST(GeoJsonReader, DeepNestingIsBounded) {
    std::string arrays(200000, '[');
    arrays += std::string(200000, ']');
    EXPECT_FALSE(readGeoJson(arrays, "x.geojson").ok);
    std::string geometry = R"({"type": "Point", "coordinates": [1,2]})";
    for (int i = 0; i < 40; ++i) {
        geometry = R"({"type": "GeometryCollection", "geometries": [)" + geometry + "]}";
    }
    const DocumentResult read = readGeoJson(geometry, "x.geojson");
    EXPECT_FALSE(read.ok);
    EXPECT_NE(read.error.find("nested too deeply"), std::string::npos) << read.error;
    // Nesting where nothing is read costs nothing kept, and is no reason to refuse a file.
    const DocumentResult deepProperties = readGeoJson(
        R"({"type": "Feature", "properties": {"a": )" + arrays +
            R"(, "name": "deep"}, "geometry": {"type": "Point", "coordinates": [1,2]}})",
        "x.geojson");
    EXPECT_TRUE(deepProperties.ok) << deepProperties.error;
}

TEST(GeoJsonReader, TopoJsonIsToldFromGeoJson) {
    const struct {
        std::string bytes;
        bool topology;
    } cases[] = {
        {fixtureBytes("box.topojson"), true},
        {"\xEF\xBB\xBF{\"arcs\": [[[0,0]]], \"type\": \"Topology\", \"objects\": {}}", true},
        {fixtureBytes("qgis_line.geojson"), false},
        {R"({"properties": {"type": "Topology"}, "type": "Feature", "geometry": null})", false},
        {R"([{"type": "Topology"}])", false},
        {R"({"type": ["Topology"]})", false},
        {"{\"type\": \"Topo", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isTopoJson(c.bytes), c.topology) << c.bytes;
    }
}
