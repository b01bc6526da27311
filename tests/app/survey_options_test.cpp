// The options of survey generation: the values they take, and the refusals that end a run
// before the area is read.
#include "app/survey_options.h"

#include <gtest/gtest.h>
#include <string>

namespace {

CommandLine survey(
    std::initializer_list<std::pair<std::optional<std::string> CommandLine::*, const char*>> values,
    bool withArea = true) {
    CommandLine commandLine;
    if (withArea) {
        commandLine.surveyArea = "area.txt";
    }
    for (const auto& [field, text] : values) {
        commandLine.*field = text;
    }
    return commandLine;
}

} // namespace

TEST(SurveyOptions, ValuesAsTyped) {
    const SurveyOptions spaced =
        readSurveyOptions(survey({{&CommandLine::lineSpacing, " 50.5 "},
                                  {&CommandLine::lineHeading, "-30"},
                                  {&CommandLine::runIn, "0"},
                                  {&CommandLine::startNear, "36.8, -121.95"},
                                  {&CommandLine::crossLines, "3"}}));
    ASSERT_TRUE(spaced.ok) << spaced.refusal;
    EXPECT_EQ(spaced.request.spacing, 50.5);
    EXPECT_EQ(spaced.request.heading, -30.0);
    EXPECT_EQ(spaced.request.runIn, 0.0);
    ASSERT_TRUE(spaced.request.startNear);
    EXPECT_EQ(spaced.request.startNear->lat, 36.8);
    EXPECT_EQ(spaced.request.startNear->lon, -121.95);
    EXPECT_EQ(spaced.request.crossLines, 3u);
    // As typed, for a refusal once the area is known.
    EXPECT_EQ(spaced.request.spacingAsked, "--lineSpacing 50.5");
    EXPECT_EQ(spaced.request.runInAsked, "--runIn 0");

    // spacing = swath x (1 - overlap / 100); a chart position in degrees and minutes.
    const SurveyOptions swath =
        readSurveyOptions(survey({{&CommandLine::swathWidth, "200"},
                                  {&CommandLine::overlap, "25"},
                                  {&CommandLine::startNear, "36 48.9 N 121 57.3 W"}}));
    ASSERT_TRUE(swath.ok) << swath.refusal;
    EXPECT_EQ(swath.request.spacing, 150.0);
    EXPECT_FALSE(swath.request.heading);
    EXPECT_NEAR(swath.request.startNear->lat, 36.815, 1e-12);
    EXPECT_NEAR(swath.request.startNear->lon, -121.955, 1e-12);
    EXPECT_EQ(swath.request.spacingAsked, "--swathWidth 200 less --overlap 25 %");
    EXPECT_EQ(swath.request.runInAsked, "");
    EXPECT_EQ(readSurveyOptions(survey({{&CommandLine::swathWidth, "80"}})).request.spacing, 80.0);

    // Without --survey and without its options, nothing is asked of them.
    EXPECT_TRUE(readSurveyOptions(CommandLine{}).ok);
}

TEST(SurveyOptions, Refusals) {
    using C = CommandLine;
    const struct {
        CommandLine commandLine;
        const char* refusal;
    } cases[] = {
        {survey({{&C::lineSpacing, "50"}}, false),
         "--lineSpacing applies only with --survey AREA_FILE"},
        {survey({{&C::crossLines, "2"}}, false),
         "--crossLines applies only with --survey AREA_FILE"},
        {survey({}),
         "--survey needs the spacing of the lines: --lineSpacing METERS, or --swathWidth "
         "METERS with --overlap PERCENT"},
        {survey({{&C::lineSpacing, "50"}, {&C::swathWidth, "60"}}),
         "--lineSpacing and --swathWidth both give the spacing of the lines: use one of them"},
        {survey({{&C::lineSpacing, "50"}, {&C::overlap, "10"}}),
         "--overlap applies only with --swathWidth"},
        {survey({{&C::lineSpacing, "abc"}}),
         "--lineSpacing must be a number of meters greater than 0, not \"abc\""},
        {survey({{&C::lineSpacing, "0"}}),
         "--lineSpacing must be a number of meters greater than 0, not \"0\""},
        {survey({{&C::lineSpacing, "nan"}}),
         "--lineSpacing must be a number of meters greater than 0, not \"nan\""},
        {survey({{&C::lineSpacing, "50m"}}),
         "--lineSpacing must be a number of meters greater than 0, not \"50m\""},
        {survey({{&C::swathWidth, "-5"}}),
         "--swathWidth must be a number of meters greater than 0, not \"-5\""},
        {survey({{&C::swathWidth, "100"}, {&C::overlap, "100"}}),
         "--overlap must be a percentage from 0 up to but not including 100, not \"100\""},
        {survey({{&C::swathWidth, "100"}, {&C::overlap, "-1"}}),
         "--overlap must be a percentage from 0 up to but not including 100, not \"-1\""},
        {survey({{&C::lineSpacing, "50"}, {&C::lineHeading, "north"}}),
         "--lineHeading must be a number of degrees clockwise from north, not \"north\""},
        {survey({{&C::lineSpacing, "50"}, {&C::runIn, "-10"}}),
         "--runIn must be a number of meters, 0 or more, not \"-10\""},
        {survey({{&C::lineSpacing, "50"}, {&C::minStrip, "100"}}),
         "--minStrip must be a percentage of the spacing from 0 up to but not including 100, "
         "not \"100\""},
        {survey({{&C::lineSpacing, "50"}, {&C::turnRadius, "-1"}}),
         "--turnRadius must be a number of meters, 0 or more, not \"-1\""},
        {survey({{&C::lineSpacing, "50"}, {&C::standoff, "10m"}}),
         "--standoff must be a number of meters, 0 or more, not \"10m\""},
        {survey({{&C::lineSpacing, "50"}, {&C::startNear, "36.8"}}),
         "--startNear must be a position \"LATITUDE LONGITUDE\" in degrees (latitude -90..90, "
         "longitude -180..180), not \"36.8\""},
        {survey({{&C::lineSpacing, "50"}, {&C::startNear, "-121.95 95"}}),
         "--startNear must be a position \"LATITUDE LONGITUDE\" in degrees (latitude -90..90, "
         "longitude -180..180), not \"-121.95 95\""},
        {survey({{&C::lineSpacing, "50"}, {&C::crossLines, "2.5"}}),
         "--crossLines must be a whole number from 0 to 1000, not \"2.5\""},
        {survey({{&C::lineSpacing, "50"}, {&C::crossLines, "1001"}}),
         "--crossLines must be a whole number from 0 to 1000, not \"1001\""},
    };
    for (const auto& c : cases) {
        const SurveyOptions options = readSurveyOptions(c.commandLine);
        EXPECT_FALSE(options.ok) << c.refusal;
        EXPECT_EQ(options.refusal, std::string("*** ") + c.refusal + " ***");
    }
}
