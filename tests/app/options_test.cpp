// Tests of the command-line parser: option forms, operand position, help and bad options.
#include "app/options.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace {

// getopt_long permutes the vector it is given, so every parse gets its own copy.
struct Arguments {
    std::vector<std::string> words;
    std::vector<char*> pointers;

    Arguments(std::initializer_list<const char*> list) : words(list.begin(), list.end()) {
        for (std::string& word : words) {
            pointers.push_back(word.data());
        }
        pointers.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(words.size()); }
    char** argv() { return pointers.data(); }
};

struct Parsed {
    MissionParameters params;
    CommandLine commandLine;
    std::string out; // the mistake, if any
};

Parsed parse(std::initializer_list<const char*> list) {
    Arguments args(list);
    Parsed parsed;
    parsed.commandLine = parseOptions(args.argc(), args.argv(), parsed.params);
    parsed.out = parsed.commandLine.mistake.value_or("");
    return parsed;
}

} // namespace

TEST(Options, EveryLongOptionReachesItsField) {
    const Parsed p = parse({"tavra",  "--gpsHits",
                            "11",     "--gulperMission",
                            "0",      "--abortOnTimeout",
                            "0",      "--yoyoMission",
                            "2",      "--yoyoMinAltitude",
                            "16",     "--missionYoyoMinDepth",
                            "12",     "--missionYoyoMaxDepth",
                            "80",     "--missionYoyoMaxDepthShallow",
                            "25",     "--missionSpeed",
                            "1.75",   "--missionSpeedSlow",
                            "1.125",  "--maxLegMeters",
                            "2500.5", "--minDepth",
                            "5.5",    "--maxDepth",
                            "70",     "--abortDepth",
                            "95",     "--abortAltitude",
                            "3.25",   "--abortLockoutDepth",
                            "7",      "--diveAngle",
                            "25",     "--wayPointDepth",
                            "40",     "survey.txt"});
    EXPECT_EQ(p.params.gpsHits, 11);
    EXPECT_EQ(p.params.gulperMission, 0);
    EXPECT_EQ(p.params.abortOnTimeout, 0);
    EXPECT_EQ(p.params.yoyoMission, 2);
    EXPECT_EQ(p.params.yoyoMinAltitude, 16);
    EXPECT_EQ(p.params.missionYoyoMinDepth, 12);
    EXPECT_EQ(p.params.missionYoyoMaxDepth, 80);
    EXPECT_EQ(p.params.missionYoyoMaxDepthShallow, 25);
    // Exact: every value below is a short binary fraction.
    EXPECT_EQ(p.params.missionSpeed, 1.75);
    EXPECT_EQ(p.params.missionSpeedSlow, 1.125);
    EXPECT_EQ(p.params.maxLegMeters, 2500.5);
    EXPECT_EQ(p.params.minDepth, 5.5);
    EXPECT_EQ(p.params.maxDepth, 70.0);
    EXPECT_EQ(p.params.abortDepth, 95.0);
    EXPECT_EQ(p.params.abortAltitude, 3.25);
    EXPECT_EQ(p.params.abortLockoutDepth, 7.0);
    EXPECT_EQ(p.params.diveAngle, 25.0);
    EXPECT_EQ(p.params.wayPointDepth, 40.0);
    EXPECT_EQ(p.params.launchDistance, 500);
    EXPECT_EQ(p.params.verbose, 0);
    EXPECT_EQ(p.params.interactive, 0);
    EXPECT_EQ(p.commandLine.waypointFile, "survey.txt");
    EXPECT_EQ(p.out, "");
}

TEST(Options, ArgumentMayFollowAnEqualsSignOrStandAsTheNextWord) {
    EXPECT_EQ(parse({"tavra", "--gpsHits=12", "f"}).params.gpsHits, 12);
    EXPECT_EQ(parse({"tavra", "--gpsHits", "12", "f"}).params.gpsHits, 12);
}

TEST(Options, OperandIsFoundWhereverItStands) {
    const Parsed before = parse({"tavra", "survey.txt", "--gpsHits", "7", "--verbose"});
    EXPECT_EQ(before.commandLine.waypointFile, "survey.txt");
    EXPECT_EQ(before.params.gpsHits, 7);
    EXPECT_EQ(before.params.verbose, 1);

    const Parsed between = parse({"tavra", "--gpsHits", "7", "survey.txt", "--minDepth", "3"});
    EXPECT_EQ(between.commandLine.waypointFile, "survey.txt");
    EXPECT_EQ(between.params.minDepth, 3.0);

    EXPECT_FALSE(parse({"tavra", "--verbose"}).commandLine.waypointFile.has_value());
}

TEST(Options, LastOfVerboseAndBriefWins) {
    EXPECT_EQ(parse({"tavra", "--verbose", "--brief"}).params.verbose, 0);
    EXPECT_EQ(parse({"tavra", "--brief", "--verbose"}).params.verbose, 1);
}

TEST(Options, ShortOptionsTakeTheirArgumentLikeTheLongForms) {
    const Parsed p = parse({"tavra", "-a", "5", "-b0", "-c", "0", "-d", "2", "-f", "8", "x"});
    EXPECT_EQ(p.params.gpsHits, 5);
    EXPECT_EQ(p.params.gulperMission, 0);
    EXPECT_EQ(p.params.abortOnTimeout, 0);
    EXPECT_EQ(p.params.yoyoMission, 2);
    EXPECT_EQ(p.params.missionYoyoMinDepth, 8);
    EXPECT_EQ(p.commandLine.waypointFile, "x");
    EXPECT_EQ(p.out, "");
}

// Every mistake stops the run with one line naming the word; the first one is reported.
TEST(Options, MistakesAreNamed) {
    const struct {
        std::initializer_list<const char*> words;
        const char* message;
    } cases[] = {
        {{"tavra", "-a"}, "*** -a needs a value ***"},
        {{"tavra", "f", "--gpsHits"}, "*** --gpsHits needs a value ***"},
        {{"tavra", "-hx", "f"}, "*** unknown option -x ***"},
        {{"tavra", "--gpsHit", "30", "f"}, ""}, // an abbreviation, not a mistake
        {{"tavra", "--gpsHts", "30", "f"},
         "*** unknown option --gpsHts: did you mean --gpsHits? ***"},
        {{"tavra", "--m", "5", "f"},
         "*** --m is ambiguous: it may mean --missionYoyoMinDepth, --missionYoyoMaxDepth, "
         "--missionYoyoMaxDepthShallow, --missionSpeed, --missionSpeedSlow, --maxLegMeters, "
         "--minDepth, --maxDepth, --minStrip ***"},
        {{"tavra", "--check=yes", "f"}, "*** --check takes no value: --check=yes ***"},
        {{"tavra", "-a", "2.5", "f"}, "*** -a takes a whole number, not \"2.5\" ***"},
        {{"tavra", "--wayPointDepth", "40m", "f"},
         "*** --wayPointDepth takes a number, not \"40m\" ***"},
        {{"tavra", "--minDepth", "", "f"}, "*** --minDepth takes a number, not \"\" ***"},
        {{"tavra", "--diveAngle", "0x10", "f"}, "*** --diveAngle takes a number, not \"0x10\" ***"},
        {{"tavra", "--gpsHits", "--d", "f"}, "*** --gpsHits takes a whole number, not \"--d\" ***"},
        {{"tavra", "--minDepth", "deep\x1b[2J", "f"},
         "*** --minDepth takes a number, not \"deep\\x1b[2J\" ***"},
        {{"tavra", "--bogus", "--gpsHits", "x", "f"}, "*** unknown option --bogus ***"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse(c.words).out, c.message) << *(c.words.begin() + 1);
    }
}

TEST(Options, NumbersAreReadWhole) {
    const Parsed p = parse({"tavra", "--gpsHits", "1e2", "-b", "-0", "--minDepth", "+2.5e1",
                            "--yoyoMinAltitude", "-99999999999", "f"});
    EXPECT_EQ(p.out, "");
    EXPECT_EQ(p.params.gpsHits, 100);
    EXPECT_EQ(p.params.gulperMission, 0);
    EXPECT_EQ(p.params.minDepth, 25.0);
    EXPECT_EQ(p.params.yoyoMinAltitude, INT_MIN);
    EXPECT_EQ(parse({"tavra", "-a", std::string(5000, '9').c_str(), "f"}).params.gpsHits, INT_MAX);
}

TEST(Options, HelpIsCountedAndParsingGoesOn) {
    const Parsed p = parse({"tavra", "--help", "f", "--usage", "-h", "--gpsHits", "4"});
    EXPECT_EQ(p.commandLine.helpAsked, 3);
    EXPECT_EQ(p.params.gpsHits, 4);
    EXPECT_EQ(p.commandLine.waypointFile, "f");
    EXPECT_EQ(p.out, "");
}

TEST(Options, OutputFolderAndOverwrite) {
    const Parsed p = parse({"tavra", "--outputDir", "missions", "--overw", "f"});
    EXPECT_EQ(p.commandLine.outputDir, "missions");
    EXPECT_TRUE(p.commandLine.overwrite);
    // -h took the letter that --missionYoyoMaxDepthShallow's value had.
    EXPECT_EQ(parse({"tavra", "--missionYoyoMaxDepthShallow", "25", "f"})
                  .params.missionYoyoMaxDepthShallow,
              25);
}

TEST(Options, InteractiveStopsParsing) {
    const Parsed p = parse({"tavra", "--gpsHits", "3", "--interactive", "--gpsHits", "9", "f"});
    EXPECT_EQ(p.params.interactive, 1);
    EXPECT_EQ(p.params.gpsHits, 3);
    EXPECT_FALSE(p.commandLine.waypointFile.has_value());
}

TEST(Options, SecondParseInOneProcessStartsAfresh) {
    EXPECT_EQ(parse({"tavra", "--gpsHits", "3", "a.txt"}).params.gpsHits, 3);
    const Parsed again = parse({"tavra", "--minDepth", "4", "b.txt"});
    EXPECT_EQ(again.params.gpsHits, 30);
    EXPECT_EQ(again.params.minDepth, 4.0);
    EXPECT_EQ(again.commandLine.waypointFile, "b.txt");
}

// An abbreviation keeps the option it named before newer options shared its letters.
TEST(Options, AbbreviationsMeanTheOldestOptionTheyFit) {
    EXPECT_EQ(parse({"tavra", "--d", "45", "s.txt"}).params.diveAngle, 45.0);
    EXPECT_EQ(parse({"tavra", "--d=45", "s.txt"}).params.diveAngle, 45.0);
    EXPECT_EQ(parse({"tavra", "--verbose", "--b", "s.txt"}).params.verbose, 0);
    EXPECT_EQ(parse({"tavra", "--v", "s.txt"}).params.verbose, 1);
    EXPECT_TRUE(parse({"tavra", "--vers"}).commandLine.showVersion);
    EXPECT_TRUE(parse({"tavra", "--c", "s.txt"}).commandLine.checkOnly);
    EXPECT_EQ(parse({"tavra", "--sur", "a.txt"}).commandLine.surveyArea, "a.txt");
    EXPECT_EQ(parse({"tavra", "--keepOut", "k.json"}).commandLine.keepOut,
              std::vector<std::string>{"k.json"});
    EXPECT_EQ(parse({"tavra", "--keepOutM", "5", "s.txt"}).commandLine.keepOutMargin, "5");
    // A word that is an option's argument or an operand is never spelled out.
    EXPECT_EQ(parse({"tavra", "--feature", "--d", "s.txt"}).commandLine.feature, "--d");
    EXPECT_EQ(parse({"tavra", "--", "--d"}).commandLine.waypointFile, "--d");
}

TEST(ParseIntArgument, ReadsLikeAtoi) {
    EXPECT_EQ(parseIntArgument("42"), 42);
    EXPECT_EQ(parseIntArgument(" \t\n\v\f\r-17"), -17);
    EXPECT_EQ(parseIntArgument("+8"), 8);
    EXPECT_EQ(parseIntArgument("12abc"), 12);
    EXPECT_EQ(parseIntArgument("3.9"), 3);
    EXPECT_EQ(parseIntArgument("abc"), 0);
    EXPECT_EQ(parseIntArgument(""), 0);
    EXPECT_EQ(parseIntArgument("- 5"), 0);
    EXPECT_EQ(parseIntArgument("--5"), 0);
    EXPECT_EQ(parseIntArgument("0x1F"), 0);
    EXPECT_EQ(parseIntArgument("007"), 7);
}

TEST(ParseIntArgument, SaturatesAtThe32BitRange) {
    EXPECT_EQ(parseIntArgument("2147483647"), INT_MAX);
    EXPECT_EQ(parseIntArgument("2147483648"), INT_MAX);
    EXPECT_EQ(parseIntArgument("99999999999"), INT_MAX);
    EXPECT_EQ(parseIntArgument("-2147483648"), INT_MIN);
    EXPECT_EQ(parseIntArgument("-2147483649"), INT_MIN);
    EXPECT_EQ(parseIntArgument(std::string(5000, '9').c_str()), INT_MAX);
    EXPECT_EQ(parseIntArgument("00000000000000000000012"), 12);
}

TEST(ParseDoubleArgument, ReadsLikeAtof) {
    EXPECT_EQ(parseDoubleArgument("3600"), 3600.0);
    EXPECT_EQ(parseDoubleArgument("  -5.25m"), -5.25);
    EXPECT_EQ(parseDoubleArgument("1e-12"), 1e-12);
    EXPECT_EQ(parseDoubleArgument("0x10"), 16.0);
    EXPECT_EQ(parseDoubleArgument("abc"), 0.0);
    EXPECT_TRUE(std::isnan(parseDoubleArgument("nan")));
    EXPECT_TRUE(std::isinf(parseDoubleArgument("1e999")));
}
