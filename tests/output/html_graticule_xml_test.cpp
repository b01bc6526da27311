// The map's graticule: where its lines fall and what their labels say, across 180 degrees.
#include "export_fixture.h"
#include "output/html_graticule.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

// The antimeridian route spans 179.5 to 180.5 degrees east at 16.5 S: a degree of longitude
// fills the map's 880 units, so x = 480 + (lon - 180) * 880; 1 degree in 8 steps is 0.125,
// rounded to 0.2. The map's 550 units hold 0.599 degrees of latitude (550 / 880 * cos 16.5
// degrees), in 6 steps 0.1. Labels east of 180 are named west of it; 180 is 180.
TEST(HtmlGraticule, LabelsAcrossTheAntimeridianStayWithin180) {
    WaypointList route;
    fillAntimeridianRoute(route);
    std::string text;
    appendGraticule(text, fitMapFrame(route));
    pugi::xml_document svg;
    ASSERT_TRUE(svg.load_string(text.c_str())) << text;
    // Each label centred under its line.
    const std::vector<std::pair<double, std::string>> expected = {{480.0 - 0.4 * 880.0, "179.6°"},
                                                                  {480.0 - 0.2 * 880.0, "179.8°"},
                                                                  {480.0, "180.0°"},
                                                                  {480.0 + 0.2 * 880.0, "-179.8°"},
                                                                  {480.0 + 0.4 * 880.0, "-179.6°"}};
    const pugi::xpath_node_set labels =
        svg.select_nodes("/g[@class='graticule']/text[@class='lon']");
    ASSERT_EQ(labels.size(), expected.size()) << text;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(labels[i].node().child_value(), expected[i].second);
        EXPECT_NEAR(labels[i].node().attribute("x").as_double(), expected[i].first, 0.051);
    }
    // The parallels every 0.1 degree, the middle one at 355: half way down the map.
    const pugi::xml_node middle = svg.select_node("//text[.='-16.5°']").node();
    EXPECT_NEAR(middle.attribute("y").as_double(), 355.0, 0.051);
    EXPECT_EQ(svg.select_nodes("//text[@class='lat']").size(), 5u);
}
