// The long options of the command line and their conversion into MissionParameters.
#include "app/options.h"

#include "app/usage.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <getopt.h>
#include <limits>
#include <ostream>
#include <type_traits>

namespace {

// Values beyond any letter, so they can never be confused with a short option.
constexpr int kExportOption = 256;
constexpr int kCheckOption = 257;
constexpr int kVersionOption = 258;

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
        {nullptr, 0, nullptr, 0},
    };

    // Zero makes the parser start afresh, so a second call sees the whole vector again.
    optind = 0;
    CommandLine commandLine;
    bool stoppedForDialogue = false;
    while (!stoppedForDialogue) {
        const int letter = getopt_long(argc, argv, "a:b:c:d:f:", longOptions, nullptr);
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
