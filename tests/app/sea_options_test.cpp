// Tests of the sea options: what is accepted, and each refusal with its message.
#include "app/sea_options.h"

#include <gtest/gtest.h>
#include <string>

namespace {

CommandLine withMargin(const char* margin) {
    CommandLine commandLine;
    commandLine.keepOut = {"land.geojson"};
    commandLine.keepOutMargin = margin;
    return commandLine;
}

} // namespace

TEST(SeaOptions, NoneAskedIsNoCheck) {
    const SeaOptionsResult result = readSeaOptions(CommandLine{});
    EXPECT_FALSE(result.asked);
    EXPECT_TRUE(result.ok);
}

TEST(SeaOptions, MarginsAreMetersOfZeroOrMore) {
    struct Case {
        const char* text;
        double meters; // negative: refused
    };
    for (const Case c :
         {Case{"0", 0.0}, Case{"50", 50.0}, Case{"12.5", 12.5}, Case{"1e3", 1000.0},
          Case{"-0", 0.0}, Case{"-1", -1}, Case{"abc", -1}, Case{"", -1}, Case{"nan", -1},
          Case{"inf", -1}, Case{"5 m", -1}, Case{"0x10", -1}, Case{" 5", -1}}) {
        SCOPED_TRACE(c.text);
        const SeaOptionsResult result = readSeaOptions(withMargin(c.text));
        EXPECT_TRUE(result.asked);
        if (c.meters >= 0.0) {
            EXPECT_TRUE(result.ok) << result.error;
            EXPECT_EQ(result.options.keepOutMargin, c.meters);
        } else {
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.error,
                      std::string("*** --keepOutMargin \"") + c.text +
                          "\" is not a distance in meters (a number of 0 or more) ***");
        }
    }
}

TEST(SeaOptions, OptionsThatWouldCheckNothingAreRefused) {
    CommandLine commandLine;
    commandLine.keepOutMargin = "50";
    EXPECT_EQ(readSeaOptions(commandLine).error,
              "*** --keepOutMargin needs --keepOut: there is no keep-out area to keep the margin "
              "from ***");
    commandLine = CommandLine{};
    commandLine.depthPositiveDown = true;
    EXPECT_EQ(readSeaOptions(commandLine).error,
              "*** --depthPositiveDown needs --bathymetry: there is no grid to read as depth ***");
    commandLine = CommandLine{};
    commandLine.bathymetry = "";
    EXPECT_EQ(readSeaOptions(commandLine).error,
              "*** --bathymetry needs the name of a grid file ***");
    commandLine = CommandLine{};
    commandLine.keepOut = {"a.kml", ""};
    EXPECT_EQ(readSeaOptions(commandLine).error,
              "*** --keepOut needs the name of a polygon file ***");
    commandLine = CommandLine{};
    commandLine.opRegion = "";
    EXPECT_EQ(readSeaOptions(commandLine).error,
              "*** --opRegion needs the name of a polygon file ***");
}

TEST(SeaOptions, EverythingTogether) {
    CommandLine commandLine = withMargin("25");
    commandLine.keepOut.push_back("closures.kml");
    commandLine.bathymetry = "gebco.nc";
    commandLine.depthPositiveDown = true;
    commandLine.opRegion = "permit.geojson";
    const SeaOptionsResult result = readSeaOptions(commandLine);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(*result.options.grid, "gebco.nc");
    EXPECT_TRUE(result.options.depthPositiveDown);
    EXPECT_EQ(result.options.keepOut, (std::vector<std::string>{"land.geojson", "closures.kml"}));
    EXPECT_EQ(result.options.keepOutMargin, 25.0);
    EXPECT_EQ(*result.options.opRegion, "permit.geojson");
}
