// Fuzz target: the option parser on argument vectors made from the input, words split at NUL.
#include "app/options.h"
#include "app/sea_options.h"
#include "app/survey_options.h"
#include "check.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// getopt_long permutes the vector it is given, so every parse gets fresh copies.
struct ArgumentVector {
    std::vector<std::string> words;
    std::vector<char*> pointers;

    explicit ArgumentVector(const std::vector<std::string>& source) : words(source) {
        for (std::string& word : words) {
            pointers.push_back(word.data());
        }
        pointers.push_back(nullptr);
    }
    int count() const { return static_cast<int>(words.size()); }
};

struct Parsed {
    MissionParameters params;
    CommandLine commandLine;
    std::string mistake;
};

Parsed parse(const std::vector<std::string>& words) {
    ArgumentVector argv(words);
    Parsed parsed;
    parsed.commandLine = parseOptions(argv.count(), argv.pointers.data(), parsed.params);
    parsed.mistake = parsed.commandLine.mistake.value_or("");
    return parsed;
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameParameters(const MissionParameters& a, const MissionParameters& b) {
    return a.gpsHits == b.gpsHits && a.gulperMission == b.gulperMission &&
           a.abortOnTimeout == b.abortOnTimeout && a.yoyoMission == b.yoyoMission &&
           a.yoyoMinAltitude == b.yoyoMinAltitude &&
           a.missionYoyoMinDepth == b.missionYoyoMinDepth &&
           a.missionYoyoMaxDepth == b.missionYoyoMaxDepth &&
           a.missionYoyoMaxDepthShallow == b.missionYoyoMaxDepthShallow &&
           sameBits(a.missionSpeed, b.missionSpeed) &&
           sameBits(a.missionSpeedSlow, b.missionSpeedSlow) &&
           sameBits(a.maxLegMeters, b.maxLegMeters) && sameBits(a.minDepth, b.minDepth) &&
           sameBits(a.maxDepth, b.maxDepth) && sameBits(a.abortDepth, b.abortDepth) &&
           sameBits(a.abortAltitude, b.abortAltitude) &&
           sameBits(a.abortLockoutDepth, b.abortLockoutDepth) &&
           sameBits(a.diveAngle, b.diveAngle) && sameBits(a.wayPointDepth, b.wayPointDepth) &&
           a.launchDistance == b.launchDistance && a.verbose == b.verbose &&
           a.interactive == b.interactive;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words{"tavra"};
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\0') {
            words.push_back(word);
            word.clear();
        } else {
            word.push_back(static_cast<char>(data[i]));
        }
    }
    if (size > 0) {
        words.push_back(word);
    }

    const Parsed first = parse(words);
    // The parser is reset on every call: a second parse of the same words agrees.
    const Parsed second = parse(words);
    FUZZ_CHECK(sameParameters(first.params, second.params));
    FUZZ_CHECK(first.commandLine.waypointFile == second.commandLine.waypointFile);
    FUZZ_CHECK(first.commandLine.exportList == second.commandLine.exportList);
    FUZZ_CHECK(first.commandLine.checkOnly == second.commandLine.checkOnly);
    FUZZ_CHECK(first.commandLine.showVersion == second.commandLine.showVersion);
    FUZZ_CHECK(first.mistake == second.mistake);
    // A mistake is one line of tavra's, whatever the words held.
    FUZZ_CHECK(first.mistake.empty() || (first.mistake.rfind("*** ", 0) == 0 &&
                                         first.mistake.find('\n') == std::string::npos));

    const MissionParameters defaults;
    FUZZ_CHECK(first.params.launchDistance == defaults.launchDistance);
    FUZZ_CHECK(first.params.verbose == 0 || first.params.verbose == 1);
    FUZZ_CHECK(first.params.interactive == 0 || first.params.interactive == 1);
    // The dialogue asks for the file itself; otherwise the operand is one of the words.
    if (first.params.interactive == 1) {
        FUZZ_CHECK(!first.commandLine.waypointFile);
    }
    // The survey's values, when taken, are in their ranges.
    const SurveyOptions survey = readSurveyOptions(first.commandLine);
    if (survey.ok && first.commandLine.surveyArea) {
        const SurveyRequest& request = survey.request;
        FUZZ_CHECK(std::isfinite(request.spacing) && request.spacing > 0.0);
        FUZZ_CHECK(!request.heading || std::isfinite(*request.heading));
        FUZZ_CHECK(std::isfinite(request.runIn) && request.runIn >= 0.0);
        FUZZ_CHECK(request.crossLines <= kMostCrossLines);
        FUZZ_CHECK(std::isfinite(request.standoff) && request.standoff >= 0.0);
        FUZZ_CHECK(std::isfinite(request.turnRadius) && request.turnRadius >= 0.0);
        FUZZ_CHECK(request.minStrip >= 0.0 && request.minStrip < 1.0);
        FUZZ_CHECK(!request.startNear || (std::abs(request.startNear->lat) <= 90.0 &&
                                          std::abs(request.startNear->lon) <= 180.0));
    }
    FUZZ_CHECK(survey.ok || (survey.refusal.rfind("*** ", 0) == 0 &&
                             survey.refusal.find('\n') == std::string::npos));
    if (first.commandLine.waypointFile) {
        bool found = false;
        for (std::size_t i = 1; i < words.size(); ++i) {
            found = found || words[i] == *first.commandLine.waypointFile;
        }
        FUZZ_CHECK(found);
    }

    // The sea options are converted strictly: a margin is a finite number of meters of 0 or
    // more, or the run is refused with a message.
    const SeaOptionsResult sea = readSeaOptions(first.commandLine);
    FUZZ_CHECK(sea.ok == sea.error.empty());
    FUZZ_CHECK(!sea.ok || sea.options.keepOut == first.commandLine.keepOut);
    if (sea.ok) {
        FUZZ_CHECK(std::isfinite(sea.options.keepOutMargin) && sea.options.keepOutMargin >= 0.0);
        FUZZ_CHECK(!first.commandLine.keepOutMargin || !sea.options.keepOut.empty());
    }
    FUZZ_CHECK(sea.asked || sea.ok);
    return 0;
}
