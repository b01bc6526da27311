// The long options of the command line and their conversion into MissionParameters.
#include "app/options.h"

#include "app/usage.h"
#include "input/line_text.h"
#include "input/strict_number.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
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
constexpr int kOutputDirOption = 273;
constexpr int kOverwriteOption = 274;
constexpr int kAllowVrtOption = 276;
constexpr int kStandoffOption = 277;
constexpr int kTurnRadiusOption = 278;
constexpr int kMinStripOption = 279;
constexpr int kCoastOption = 280;
constexpr int kSplitOnGeodesicOption = 281;
// The long form of -h's letter, which the short help option takes.
constexpr int kYoyoMaxDepthShallowOption = 275;
constexpr int kHelpOption = 'z';

// How many options of the table below came with each generation of tavra, oldest first:
// the original ones (verbose to usage), then export, check and version, then the readers,
// the survey and the sea, then where the files go and what GDAL may open, then how the
// survey keeps off the shores, turns and fills the strips at the edges, the coast the grid
// is compared with, and legs on the ellipsoid.
constexpr int kOptionGenerations[] = {23, 3, 14, 3, 5};

constexpr std::size_t kOptionCount = 48;
static_assert(kOptionCount == kOptionGenerations[0] + kOptionGenerations[1] +
                                  kOptionGenerations[2] + kOptionGenerations[3] +
                                  kOptionGenerations[4]);
using OptionTable = std::array<option, kOptionCount + 1>;

// The long options, oldest first; getopt_long stores the verbosity options into params.
// Value letters a to r follow the order of the fields in MissionParameters.
OptionTable optionTable(MissionParameters& params) {
    return {{
        {"verbose", no_argument, &params.verbose, 1},
        {"brief", no_argument, &params.verbose, 0},
        {"gpsHits", required_argument, nullptr, 'a'},
        {"gulperMission", required_argument, nullptr, 'b'},
        {"abortOnTimeout", required_argument, nullptr, 'c'},
        {"yoyoMission", required_argument, nullptr, 'd'},
        {"yoyoMinAltitude", required_argument, nullptr, 'e'},
        {"missionYoyoMinDepth", required_argument, nullptr, 'f'},
        {"missionYoyoMaxDepth", required_argument, nullptr, 'g'},
        {"missionYoyoMaxDepthShallow", required_argument, nullptr, kYoyoMaxDepthShallowOption},
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
        {"help", no_argument, nullptr, kHelpOption},
        {"usage", no_argument, nullptr, kHelpOption},
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
        {"outputDir", required_argument, nullptr, kOutputDirOption},
        {"overwrite", no_argument, nullptr, kOverwriteOption},
        {"allowVrt", no_argument, nullptr, kAllowVrtOption},
        {"standoff", required_argument, nullptr, kStandoffOption},
        {"turnRadius", required_argument, nullptr, kTurnRadiusOption},
        {"minStrip", required_argument, nullptr, kMinStripOption},
        {"coast", required_argument, nullptr, kCoastOption},
        {"splitOnGeodesic", no_argument, nullptr, kSplitOnGeodesicOption},
        {nullptr, 0, nullptr, 0},
    }};
}

// Every long option's name, for suggestions and for the list of an ambiguous abbreviation.
std::vector<std::string_view> optionNames() {
    MissionParameters unused;
    std::vector<std::string_view> names;
    for (const option& entry : optionTable(unused)) {
        if (entry.name != nullptr) {
            names.emplace_back(entry.name);
        }
    }
    return names;
}

// Letters to change, add or remove to turn one word into the other, case aside: a planner
// who types --wayPointdepth means --wayPointDepth.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            const std::size_t replaced = diagonal + (same ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({replaced, row[j] + 1, row[j - 1] + 1});
        }
    }
    return row[b.size()];
}

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
            words[i] = std::string("--").append(entry->name) +
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

bool readWholeNumberArgument(std::string_view text, int& value) {
    // Digits alone may be longer than a double holds exactly; they saturate as before.
    const std::size_t digitsFrom = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (text.size() > digitsFrom &&
        text.find_first_not_of("0123456789", digitsFrom) == std::string_view::npos) {
        value = parseIntArgument(std::string(text).c_str());
        return true;
    }
    double number = 0.0;
    if (!readStrictNumber(text, number) || number != std::floor(number)) {
        return false;
    }
    value = static_cast<int>(
        std::clamp(number, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
    return true;
}

bool readNumberArgument(std::string_view text, double& value) {
    return readStrictNumber(text, value);
}

std::string suggestOption(std::string_view word) {
    std::string_view name = word;
    while (!name.empty() && name.front() == '-') {
        name.remove_prefix(1);
    }
    name = name.substr(0, name.find('='));
    if (name.size() < 2) {
        return {};
    }
    std::string_view best;
    std::size_t bestDistance = std::string::npos;
    for (const std::string_view candidate : optionNames()) {
        const std::size_t distance = editDistance(name, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    // A third of the letters wrong is still a slip of the fingers; more is another word.
    const std::size_t allowed = std::max<std::size_t>(2, name.size() / 3);
    return bestDistance <= allowed ? std::string("--").append(best) : std::string();
}

namespace {

std::string notANumber(const std::string& optionWord, const char* value, bool whole) {
    return "*** " + optionWord + " takes " + (whole ? "a whole number" : "a number") + ", not \"" +
           displayableLine(value) + "\" ***";
}

// What is wrong with a word the parser did not take as an option: a value given to an option
// that takes none, an abbreviation of several options, or no option at all.
std::string unknownOptionMessage(const std::string& word, const option* table) {
    const std::string shown = displayableLine(word);
    if (word.compare(0, 2, "--") != 0) {
        return "*** unknown option " + shown + " ***";
    }
    const std::size_t equals = word.find('=');
    const std::string_view name = std::string_view(word).substr(
        2, equals == std::string::npos ? std::string::npos : equals - 2);
    if (const option* entry = resolveLongOption(name, table);
        entry != nullptr && !takesArgument(*entry)) {
        return std::string("*** --").append(entry->name) + " takes no value: " + shown + " ***";
    }
    std::string candidates;
    for (const std::string_view candidate : optionNames()) {
        if (!name.empty() && candidate.substr(0, name.size()) == name) {
            candidates += candidates.empty() ? "--" : ", --";
            candidates += candidate;
        }
    }
    if (!candidates.empty()) {
        return "*** " + shown + " is ambiguous: it may mean " + candidates + " ***";
    }
    const std::string suggestion = suggestOption(word);
    return "*** unknown option " + shown +
           (suggestion.empty() ? std::string() : ": did you mean " + suggestion + "?") + " ***";
}

// The word the parser stopped at, as the planner typed it (before an abbreviation was spelled
// out): the parser permutes its vector, so the word is found by where its text lives.
std::string typedWord(const char* parsedWord, const std::vector<std::string>& spelled,
                      char* const argv[]) {
    for (std::size_t i = 0; i < spelled.size(); ++i) {
        if (parsedWord == spelled[i].data()) {
            return argv[i];
        }
    }
    return parsedWord;
}

// The word of the mistake the parser just reported. A long option's word is the last one it
// took (the parser reports a long option's mistake with optopt 0 or the option's value); a
// short option's is its letter, which may stand inside a cluster.
std::string mistakenWord(char* const parsed[], const std::vector<std::string>& spelled,
                         char* const argv[], const option* table) {
    const std::string last = typedWord(parsed[optind - 1], spelled, argv);
    if (last.compare(0, 2, "--") == 0) {
        const std::string_view name = std::string_view(last).substr(
            2, last.find('=') == std::string::npos ? std::string::npos : last.find('=') - 2);
        const option* entry = resolveLongOption(name, table);
        if (optopt == 0 || (entry != nullptr && entry->flag == nullptr && entry->val == optopt)) {
            return last;
        }
    }
    std::string letter = "-";
    letter += static_cast<char>(optopt);
    return letter;
}

} // namespace

CommandLine parseOptions(int argc, char* argv[], MissionParameters& params) {
    // Value letters a to r follow the order of the fields in MissionParameters.
    const OptionTable table = optionTable(params);
    const option* const longOptions = table.data();

    const char* const shortOptions = "a:b:c:d:f:h";
    // The parser permutes the words it is given, so it gets its own copies.
    std::vector<std::string> words = spellOutAbbreviations(argc, argv, longOptions, shortOptions);
    std::vector<char*> wordPointers;
    for (std::string& word : words) {
        wordPointers.push_back(word.data());
    }
    wordPointers.push_back(nullptr);
    char** parsed = wordPointers.data();

    // Zero makes the parser start afresh, so a second call sees the whole vector again; the
    // parser's own diagnostics are off, since every mistake gets a message of tavra's.
    optind = 0;
    opterr = 0;
    // The leading colon makes a missing argument tell itself apart from an unknown option.
    const std::string parserOptions = std::string(":") + shortOptions;
    CommandLine commandLine;
    // The first mistake is the one reported; the words after it are still looked at, so
    // that the parser's position stays where the operands are found.
    const auto refuse = [&commandLine](std::string message) {
        if (!commandLine.mistake) {
            commandLine.mistake = std::move(message);
        }
    };
    const auto wholeNumber = [&](int& field, const char* optionWord) {
        if (!readWholeNumberArgument(optarg, field)) {
            refuse(notANumber(optionWord, optarg, true));
        }
    };
    const auto number = [&](double& field, const char* optionWord) {
        if (!readNumberArgument(optarg, field)) {
            refuse(notANumber(optionWord, optarg, false));
        }
    };
    bool stoppedForDialogue = false;
    while (!stoppedForDialogue) {
        int longIndex = -1;
        const int letter =
            getopt_long(argc, parsed, parserOptions.c_str(), longOptions, &longIndex);
        if (letter == -1) {
            break;
        }
        const std::string optionWord = longIndex >= 0
                                           ? std::string("--").append(longOptions[longIndex].name)
                                           : std::string("-").append(1, static_cast<char>(letter));
        switch (letter) {
        case 0: // verbose or brief, already stored by the parser
            break;
        case 'a':
            wholeNumber(params.gpsHits, optionWord.c_str());
            break;
        case 'b':
            wholeNumber(params.gulperMission, optionWord.c_str());
            break;
        case 'c':
            wholeNumber(params.abortOnTimeout, optionWord.c_str());
            break;
        case 'd':
            wholeNumber(params.yoyoMission, optionWord.c_str());
            break;
        case 'e':
            wholeNumber(params.yoyoMinAltitude, optionWord.c_str());
            break;
        case 'f':
            wholeNumber(params.missionYoyoMinDepth, optionWord.c_str());
            break;
        case 'g':
            wholeNumber(params.missionYoyoMaxDepth, optionWord.c_str());
            break;
        case kYoyoMaxDepthShallowOption:
            wholeNumber(params.missionYoyoMaxDepthShallow, optionWord.c_str());
            break;
        case 'i':
            number(params.missionSpeed, optionWord.c_str());
            break;
        case 'j':
            number(params.missionSpeedSlow, optionWord.c_str());
            break;
        case 'k':
            number(params.maxLegMeters, optionWord.c_str());
            break;
        case 'l':
            number(params.minDepth, optionWord.c_str());
            break;
        case 'm':
            number(params.maxDepth, optionWord.c_str());
            break;
        case 'n':
            number(params.abortDepth, optionWord.c_str());
            break;
        case 'o':
            number(params.abortAltitude, optionWord.c_str());
            break;
        case 'p':
            number(params.abortLockoutDepth, optionWord.c_str());
            break;
        case 'q':
            number(params.diveAngle, optionWord.c_str());
            break;
        case 'r':
            number(params.wayPointDepth, optionWord.c_str());
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
            commandLine.features.emplace_back(optarg);
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
        case kStandoffOption:
            commandLine.standoff = optarg;
            break;
        case kTurnRadiusOption:
            commandLine.turnRadius = optarg;
            break;
        case kMinStripOption:
            commandLine.minStrip = optarg;
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
        case kSplitOnGeodesicOption:
            commandLine.splitOnGeodesic = true;
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
        case kCoastOption:
            commandLine.coast = optarg;
            break;
        case kOutputDirOption:
            commandLine.outputDir = optarg;
            break;
        case kOverwriteOption:
            commandLine.overwrite = true;
            break;
        case 'y':
            // The dialogue asks for everything else, so what follows is not looked at.
            params.interactive = 1;
            stoppedForDialogue = true;
            break;
        case kHelpOption:
        case 'h':
            ++commandLine.helpAsked;
            break;
        case ':': {
            // Some parsers (the Windows one) report a value given to an option that takes
            // none like a missing one; the word tells the two apart.
            const std::string word = mistakenWord(parsed, words, argv, longOptions);
            refuse(word.find('=') != std::string::npos
                       ? unknownOptionMessage(word, longOptions)
                       : "*** " + displayableLine(word) + " needs a value ***");
            break;
        }
        default: // '?': a word that is no option, an ambiguous one, or a value where none goes
            refuse(
                unknownOptionMessage(mistakenWord(parsed, words, argv, longOptions), longOptions));
            break;
        }
    }
    if (!stoppedForDialogue && optind < argc) {
        commandLine.waypointFile = parsed[optind];
        if (optind + 1 < argc) {
            refuse("*** one waypoint file at a time: " + displayableLine(parsed[optind]) + " and " +
                   displayableLine(parsed[optind + 1]) + " were both given ***");
        }
    }
    return commandLine;
}
