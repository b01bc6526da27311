// The map's graticule: where its lines fall and what their labels say, across 180 degrees.
#include "export_fixture.h"
#include "output/html_graticule.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <pugixml.hpp>
#include <string>
#include <vector>

// The antimeridian route spans 179.5 to 180.5 degrees east at 16.5 S: a degree of longitude
// fills the map's 880 units, so x = 480 + (lon - 180) * 880 and y = 355 - (lat + 16.5) * 880
// / cos(16.5 deg). Steps: 1 degree in 8 is 0.125, rounded to 0.2; the 0.599 degrees of
// latitude in 6 are 0.1. Labels east of 180 are named west of it; 180 is 180.
TEST(HtmlGraticule, LabelsAcrossTheAntimeridianStayWithin180) {
    WaypointList route;
    fillAntimeridianRoute(route);
    std::string text;
    appendGraticule(text, fitMapFrame(route));
    pugi::xml_document svg;
    ASSERT_TRUE(svg.load_string(text.c_str())) << text;
    struct Label {
        const char* axis;
        double at; // x of a meridian, y of a parallel
        const char* words;
    };
    const double perLat = 880.0 / std::cos(16.5 * std::numbers::pi / 180.0);
    const std::vector<Label> expected = {
        {"lat", 355.0 + 0.2 * perLat, "-16.7°"}, {"lat", 355.0 + 0.1 * perLat, "-16.6°"},
        {"lat", 355.0, "-16.5°"},                {"lat", 355.0 - 0.1 * perLat, "-16.4°"},
        {"lat", 355.0 - 0.2 * perLat, "-16.3°"}, {"lon", 480.0 - 0.4 * 880.0, "179.6°"},
        {"lon", 480.0 - 0.2 * 880.0, "179.8°"},  {"lon", 480.0, "180.0°"},
        {"lon", 480.0 + 0.2 * 880.0, "-179.8°"}, {"lon", 480.0 + 0.4 * 880.0, "-179.6°"},
    };
    const pugi::xpath_node_set labels = svg.select_nodes("/g[@class='graticule']/text");
    ASSERT_EQ(labels.size(), expected.size()) << text;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const pugi::xml_node label = labels[i].node();
        const Label& want = expected[i];
        EXPECT_STREQ(label.attribute("class").value(), want.axis) << i;
        EXPECT_STREQ(label.child_value(), want.words) << i;
        // Latitudes 3 units above their line, longitudes 3 units right of theirs.
        const bool lat = std::string(want.axis) == "lat";
        const double at = lat ? label.attribute("y").as_double() + 3.0
                              : label.attribute("x").as_double() - 3.0;
        EXPECT_NEAR(at, want.at, 0.051) << want.words;
    }

    // A frame on no route draws nothing.
    std::string none;
    appendGraticule(none, fitMapFrame(WaypointList{}));
    EXPECT_EQ(none, "");
}
