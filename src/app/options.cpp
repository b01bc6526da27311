// The long options of the command line and their conversion into MissionParameters.
#include "app/options.h"

#include "app/usage.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <iterator>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

// Values beyond any letter, so they can never be confused with a short option.
constexpr int kExportOption = 256;
constexpr int kCheckOption = 257;
constexpr int kVersionOption = 258;
constexpr int kFeatureOption = 259;
constexpr int kSurveyOption = 260;
constexpr int kLineSpacingOption = 261;
constexpr int kSwathWidthOption = 262;
constexpr int kOverlapOption = 263;
constexpr int kLineHeadingOption = 264;
constexpr int kRunInOption = 265;
constexpr int kStartNearOption = 266;
constexpr int kCrossLinesOption = 267;
constexpr int kBathymetryOption = 268;
constexpr int kDepthPositiveDownOption = 269;
constexpr int kKeepOutOption = 270;
constexpr int kKeepOutMarginOption = 271;
constexpr int kOpRegionOption = 272;
constexpr int kAllowVrtOption = 273;

// How many options of the table below came with each generation of tavra, oldest first:
// the original ones (verbose to usage), then export, check and version, then the newest.
constexpr int kOptionGenerations[] = {23, 3, 15};

bool takesArgument(const option& entry) {
    return entry.has_arg == required_argument;
}

// The table entry a long-option word names exactly, else the one its abbreviation names
// among the oldest options that it abbreviates; nullptr when there is none or it is
// ambiguous there. An abbreviation keeps the meaning it had before newer options began with
// the same letters (--d stays --diveAngle beside --depthPositiveDown).
const option* resolveLongOption(std::string_view name, const option* table) {
    int first = 0;
    for (const int count : kOptionGenerations) {
        for (int i = first; i < first + count; ++i) {
            if (name == table[i].name) {
                return &table[i];
            }
        }
        first += count;
    }
    first = 0;
    for (const int count : kOptionGenerations) {
        const option* found = nullptr;
        int matches = 0;
        for (int i = first; i < first + count; ++i) {
            if (std::string_view(table[i].name).substr(0, name.size()) == name) {
                found = &table[i];
                ++matches;
            }
        }
        if (matches == 1) {
            return found;
        }
        if (matches > 1) {
            return nullptr;
        }
        first += count;
    }
    return nullptr;
}

// Spells out every abbreviated long option as resolveLongOption reads it, so that getopt_long,
// which would find it ambiguous, takes it as it was always taken. Words that are option
// arguments or operands, and everything after "--" or --interactive, stay as they are.
std::vector<std::string> spellOutAbbreviations(int argc, char* argv[], const option* table,
                                               const char* shortOptions) {
    std::vector<std::string> words(argv, argv + argc);
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--") {
            break;
        }
        if (word.compare(0, 2, "--") == 0) {
            const std::size_t equals = word.find('=');
            const std::string_view name =
                std::string_view(word).substr(2, equals == std::string::npos ? equals : equals - 2);
            const option* entry = resolveLongOption(name, table);
            if (entry == nullptr) {
                continue;
            }
            if (entry->val == 'y' && entry->flag == nullptr) {
                break; // --interactive: parsing stops there
            }
            const bool argumentFollows = takesArgument(*entry) && equals == std::string::npos;
            words[i] = "--" + std::string(entry->name) +
                       (equals == std::string::npos ? std::string() : word.substr(equals));
            if (argumentFollows) {
                ++i;
            }
        } else if (word.size() > 1 && word[0] == '-') {
            // A cluster of short options: the first that takes an argument takes the rest of
            // the word, or the next word when it ends the cluster.
            for (std::size_t at = 1; at < word.size(); ++at) {
                const char* option = std::strchr(shortOptions, word[at]);
                if (option != nullptr && option[1] == ':') {
                    if (at + 1 == word.size()) {
                        ++i;
                    }
                    break;
                }
            }
        }
    }
    return words;
}

} // namespace

// getopt_long stores the two verbosity options straight into the record through an int*.
static_assert(std::is_same_v<std::int32_t, int>, "verbose must be usable as getopt's flag");

int parseIntArgument(const char* text) {
    // atoi's reading, without its overflow: a planner's slip of extra digits must not
    // turn into an arbitrary value, so out-of-range text sticks to the nearest limit.
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (std::isspace(*p) != 0) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t magnitude = 0;
    while (*p >= '0' && *p <= '9') {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude >= limit) {
            magnitude = limit;
            break;
        }
        ++p;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

double parseDoubleArgument(const char* text) {
    return std::strtod(text, nullptr);
}

CommandLine parseOptions(int argc, char* argv[], MissionParameters& params, std::ostream& out) {
    // Value letters a to r follow the order of the fields in MissionParameters.
    const option longOptions[] = {
        {"verbose", no_argument, &params.verbose, 1},
        {"brief", no_argument, &params.verbose, 0},
        {"gpsHits", required_argument, nullptr, 'a'},
        {"gulperMission", required_argument, nullptr, 'b'},
        {"abortOnTimeout", required_argument, nullptr, 'c'},
        {"yoyoMission", required_argument, nullptr, 'd'},
        {"yoyoMinAltitude", required_argument, nullptr, 'e'},
        {"missionYoyoMinDepth", required_argument, nullptr, 'f'},
        {"missionYoyoMaxDepth", required_argument, nullptr, 'g'},
        {"missionYoyoMaxDepthShallow", required_argument, nullptr, 'h'},
        {"missionSpeed", required_argument, nullptr, 'i'},
        {"missionSpeedSlow", required_argument, nullptr, 'j'},
        {"maxLegMeters", required_argument, nullptr, 'k'},
        {"minDepth", required_argument, nullptr, 'l'},
        {"maxDepth", required_argument, nullptr, 'm'},
        {"abortDepth", required_argument, nullptr, 'n'},
        {"abortAltitude", required_argument, nullptr, 'o'},
        {"abortLockoutDepth", required_argument, nullptr, 'p'},
        {"diveAngle", required_argument, nullptr, 'q'},
        {"wayPointDepth", required_argument, nullptr, 'r'},
        {"interactive", no_argument, nullptr, 'y'},
        {"help", no_argument, nullptr, 'z'},
        {"usage", no_argument, nullptr, 'z'},
        // Options added later than the fixed usage text; they stay out of it.
        {"export", required_argument, nullptr, kExportOption},
        {"check", no_argument, nullptr, kCheckOption},
        {"version", no_argument, nullptr, kVersionOption},
        {"feature", required_argument, nullptr, kFeatureOption},
        {"survey", required_argument, nullptr, kSurveyOption},
        {"lineSpacing", required_argument, nullptr, kLineSpacingOption},
        {"swathWidth", required_argument, nullptr, kSwathWidthOption},
        {"overlap", required_argument, nullptr, kOverlapOption},
        {"lineHeading", required_argument, nullptr, kLineHeadingOption},
        {"runIn", required_argument, nullptr, kRunInOption},
        {"startNear", required_argument, nullptr, kStartNearOption},
        {"crossLines", required_argument, nullptr, kCrossLinesOption},
        {"bathymetry", required_argument, nullptr, kBathymetryOption},
        {"depthPositiveDown", no_argument, nullptr, kDepthPositiveDownOption},
        {"keepOut", required_argument, nullptr, kKeepOutOption},
        {"keepOutMargin", required_argument, nullptr, kKeepOutMarginOption},
        {"opRegion", required_argument, nullptr, kOpRegionOption},
        {"allowVrt", no_argument, nullptr, kAllowVrtOption},
        {nullptr, 0, nullptr, 0},
    };

    static_assert(std::size(longOptions) ==
                  kOptionGenerations[0] + kOptionGenerations[1] + kOptionGenerations[2] + 1);
    const char* const shortOptions = "a:b:c:d:f:";
    // The parser permutes the words it is given, so it gets its own copies.
    std::vector<std::string> words = spellOutAbbreviations(argc, argv, longOptions, shortOptions);
    std::vector<char*> wordPointers;
    for (std::string& word : words) {
        wordPointers.push_back(word.data());
    }
    wordPointers.push_back(nullptr);
    argv = wordPointers.data();

    // Zero makes the parser start afresh, so a second call sees the whole vector again.
    optind = 0;
    CommandLine commandLine;
    bool stoppedForDialogue = false;
    while (!stoppedForDialogue) {
        const int letter = getopt_long(argc, argv, shortOptions, longOptions, nullptr);
        if (letter == -1) {
            break;
        }
        switch (letter) {
        case 0: // verbose or brief, already stored by the parser
            break;
        case 'a':
            params.gpsHits = parseIntArgument(optarg);
            break;
        case 'b':
            params.gulperMission = parseIntArgument(optarg);
            break;
        case 'c':
            params.abortOnTimeout = parseIntArgument(optarg);
            break;
        case 'd':
            params.yoyoMission = parseIntArgument(optarg);
            break;
        case 'e':
            params.yoyoMinAltitude = parseIntArgument(optarg);
            break;
        case 'f':
            params.missionYoyoMinDepth = parseIntArgument(optarg);
            break;
        case 'g':
            params.missionYoyoMaxDepth = parseIntArgument(optarg);
            break;
        case 'h':
            params.missionYoyoMaxDepthShallow = parseIntArgument(optarg);
            break;
        case 'i':
            params.missionSpeed = parseDoubleArgument(optarg);
            break;
        case 'j':
            params.missionSpeedSlow = parseDoubleArgument(optarg);
            break;
        case 'k':
            params.maxLegMeters = parseDoubleArgument(optarg);
            break;
        case 'l':
            params.minDepth = parseDoubleArgument(optarg);
            break;
        case 'm':
            params.maxDepth = parseDoubleArgument(optarg);
            break;
        case 'n':
            params.abortDepth = parseDoubleArgument(optarg);
            break;
        case 'o':
            params.abortAltitude = parseDoubleArgument(optarg);
            break;
        case 'p':
            params.abortLockoutDepth = parseDoubleArgument(optarg);
            break;
        case 'q':
            params.diveAngle = parseDoubleArgument(optarg);
            break;
        case 'r':
            params.wayPointDepth = parseDoubleArgument(optarg);
            break;
        case kExportOption:
            commandLine.exportList = optarg;
            break;
        case kCheckOption:
            commandLine.checkOnly = true;
            break;
        case kVersionOption:
            commandLine.showVersion = true;
            break;
        case kFeatureOption:
            commandLine.feature = optarg;
            break;
        case kSurveyOption:
            commandLine.surveyArea = optarg;
            break;
        case kLineSpacingOption:
            commandLine.lineSpacing = optarg;
            break;
        case kSwathWidthOption:
            commandLine.swathWidth = optarg;
            break;
        case kOverlapOption:
            commandLine.overlap = optarg;
            break;
        case kLineHeadingOption:
            commandLine.lineHeading = optarg;
            break;
        case kRunInOption:
            commandLine.runIn = optarg;
            break;
        case kStartNearOption:
            commandLine.startNear = optarg;
            break;
        case kCrossLinesOption:
            commandLine.crossLines = optarg;
            break;
        case kBathymetryOption:
            commandLine.bathymetry = optarg;
            break;
        case kDepthPositiveDownOption:
            commandLine.depthPositiveDown = true;
            break;
        case kAllowVrtOption:
            commandLine.allowVrt = true;
            break;
        case kKeepOutOption:
            commandLine.keepOut.emplace_back(optarg);
            break;
        case kKeepOutMarginOption:
            commandLine.keepOutMargin = optarg;
            break;
        case kOpRegionOption:
            commandLine.opRegion = optarg;
            break;
        case 'y':
            // The dialogue asks for everything else, so what follows is not looked at.
            params.interactive = 1;
            stoppedForDialogue = true;
            break;
        default: // 'z', or '?' after the parser's own diagnostic: help, and carry on
            printUsage(out);
            break;
        }
    }
    if (!stoppedForDialogue && optind < argc) {
        commandLine.waypointFile = argv[optind];
    }
    return commandLine;
}
