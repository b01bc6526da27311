// The console dialogue: waypoint file name, listing, parameter menus, yes/no questions.
#include "app/dialogue.h"

#include "app/console_reader.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// What the dialogue remembers between reads. The menus share one choice and the two
// questions one answer, so that a read that finds no number or letter acts on the last one.
struct DialogueState {
    std::istream& in;
    std::ostream& out;
    MissionParameters& params;
    std::int32_t menuChoice = 0;
    char answerChar = '0';
    double speedEntry = 1.5;
};

constexpr std::int32_t missionMenuEntries = 10;
constexpr std::int32_t yoyoMenuEntries = 5;

// printf's "%.Nf": the menus show values exactly as the planners know them from the console.
std::string fixed(double value, int decimals) {
    std::array<char, 64> small{};
    const int length = std::snprintf(small.data(), small.size(), "%.*f", decimals, value);
    if (length < 0) {
        return std::string();
    }
    if (length < static_cast<int>(small.size())) {
        return std::string(small.data(), static_cast<std::size_t>(length));
    }
    std::vector<char> large(static_cast<std::size_t>(length) + 1);
    std::snprintf(large.data(), large.size(), "%.*f", decimals, value);
    return std::string(large.data(), static_cast<std::size_t>(length));
}

std::string whole(std::int32_t value) {
    return std::to_string(value);
}

// An answer is typed on the prompt's own line, so the prompt must be on screen before the
// dialogue waits for it.
void showPrompt(DialogueState& d) {
    d.out.flush();
}

// Each read returns false when the input has ended, so the dialogue stops instead of asking
// the same question for ever.
bool readIntAnswer(DialogueState& d, std::int32_t& field) {
    showPrompt(d);
    std::int32_t number = 0;
    const ScanResult result = readInt(d.in, number);
    if (result == ScanResult::endOfInput) {
        return false;
    }
    if (result == ScanResult::value) {
        field = number;
    }
    discardOneChar(d.in);
    return true;
}

bool readDoubleAnswer(DialogueState& d, double& field) {
    showPrompt(d);
    double number = 0.0;
    const ScanResult result = readDouble(d.in, number);
    if (result == ScanResult::endOfInput) {
        return false;
    }
    if (result == ScanResult::value) {
        field = number;
    }
    discardOneChar(d.in);
    return true;
}

bool askInt(DialogueState& d, const std::string& current, std::string_view request,
            std::int32_t& field) {
    d.out << current << request;
    return readIntAnswer(d, field);
}

bool askDouble(DialogueState& d, const std::string& current, std::string_view request,
               double& field) {
    d.out << current << request;
    return readDoubleAnswer(d, field);
}

// Both speeds pass through one shared entry, so a speed that cannot be read gives the field
// the last speed entered at either prompt (1.5 before any).
bool askSpeed(DialogueState& d, const std::string& current, double& field) {
    d.out << current << "Please enter new speed in meters per second \n\n >";
    if (!readDoubleAnswer(d, d.speedEntry)) {
        return false;
    }
    field = d.speedEntry;
    return true;
}

bool editMissionEntry(DialogueState& d, std::int32_t entry) {
    MissionParameters& p = d.params;
    switch (entry) {
    case 1:
        return askSpeed(d, "mission Speed is " + fixed(p.missionSpeed, 3) + " meters per second\n",
                        p.missionSpeed);
    case 2:
        return askSpeed(
            d, "mission Speed Slow is " + fixed(p.missionSpeedSlow, 3) + " meters per second\n",
            p.missionSpeedSlow);
    case 3:
        return askInt(d, "Number of GPS hits per surfacing is " + whole(p.gpsHits) + " \n",
                      "Please enter new number of hits \n\n > ", p.gpsHits);
    case 4:
        return askDouble(d, "Meters between AUV surfacings is " + fixed(p.maxLegMeters, 1) + " \n",
                         "Please enter new distance in meters \n\n > ", p.maxLegMeters);
    case 5:
        return askDouble(d, "minDepth is " + fixed(p.minDepth, 1) + " meters\n",
                         "Please enter new minDepth in meters \n\n >", p.minDepth);
    case 6:
        return askDouble(d, "maxDepth is " + fixed(p.maxDepth, 1) + " meters\n",
                         "Please enter new maxDepth in meters \n\n >", p.maxDepth);
    case 7:
        return askDouble(d, "abortDepth is " + fixed(p.abortDepth, 1) + " meters\n",
                         "Please enter new abortDepth in meters \n\n >", p.abortDepth);
    case 8:
        return askDouble(d, "abortAltitude is " + fixed(p.abortAltitude, 1) + " meters\n",
                         "Please enter new abortAltitude in meters \n\n >", p.abortAltitude);
    case 9:
        return askDouble(d, "abortLockoutDepth is " + fixed(p.abortLockoutDepth, 1) + " meters\n",
                         "Please enter new abortLockoutDepth in meters \n\n >",
                         p.abortLockoutDepth);
    default:
        return askInt(d, "abortOnTimeout is " + whole(p.abortOnTimeout) + " \n",
                      "Please enter new abortOnTimeout \n1 for TRUE, or 0 for FALSE \n\n >",
                      p.abortOnTimeout);
    }
}

bool editYoyoEntry(DialogueState& d, std::int32_t entry) {
    MissionParameters& p = d.params;
    switch (entry) {
    case 1:
        return askInt(d, "YoYo Minimum Altitude is " + whole(p.yoyoMinAltitude) + " meters\n",
                      "Please enter new altitude in meters \n\n > ", p.yoyoMinAltitude);
    case 2:
        return askInt(d, "mission YoYo Min Depth is " + whole(p.missionYoyoMinDepth) + " meters\n",
                      "Please enter new depth in meters \n\n > ", p.missionYoyoMinDepth);
    case 3:
        return askInt(d, "mission YoYo Max Depth is " + whole(p.missionYoyoMaxDepth) + " meters\n",
                      "Please enter new depth in meters \n\n > ", p.missionYoyoMaxDepth);
    case 4:
        return askInt(d,
                      "mission YoYo Max Depth Shallow is " + whole(p.missionYoyoMaxDepthShallow) +
                          " meters\n",
                      "Please enter new depth in meters \n\n > ", p.missionYoyoMaxDepthShallow);
    default:
        return askDouble(d, "mission dive angle is " + fixed(p.diveAngle, 0) + " degrees\n",
                         "Please enter new dive angle in degrees \n\n >", p.diveAngle);
    }
}

void writeMissionScreen(std::ostream& out, const MissionParameters& p) {
    out << "\n\n Mission Parameters \n\n"
        << " 1  MISSION_SPEED " << fixed(p.missionSpeed, 3) << "\n"
        << " 2  MISSION_SPEED_SLOW " << fixed(p.missionSpeedSlow, 3) << "\n"
        << " 3  GPS_HITS " << whole(p.gpsHits) << "\n"
        << " 4  Meters between surfacings " << fixed(p.maxLegMeters, 1) << "\n"
        << " 5  minDepth " << fixed(p.minDepth, 1) << "\n"
        << " 6  maxDepth " << fixed(p.maxDepth, 1) << "\n"
        << " 7  abortDepth " << fixed(p.abortDepth, 1) << "\n"
        << " 8  abortAltitude " << fixed(p.abortAltitude, 1) << "\n"
        << " 9  abortLockoutDepth " << fixed(p.abortLockoutDepth, 1) << "\n"
        << "10  abortOnTimeout " << whole(p.abortOnTimeout) << "\n\n"
        << " 0   All parameters are OK\n"
        << "  Choose number of parameter to modify.\n"
        << "  If parameters are OK, type 0 \n\n > ";
}

void writeYoyoScreen(std::ostream& out, const MissionParameters& p) {
    out << "\n\n YOYO Mission Parameters \n\n"
        << "1  YOYO_MIN_ALTITUDE " << whole(p.yoyoMinAltitude) << "\n"
        << "2  MISSION_YOYO_MIN_DEPTH " << whole(p.missionYoyoMinDepth) << "\n"
        << "3  MISSION_YOYO_MAX_DEPTH " << whole(p.missionYoyoMaxDepth) << "\n"
        << "4  MISSION_YOYO_MAX_DEPTH_SHALLOW " << whole(p.missionYoyoMaxDepthShallow) << "\n"
        << "5  MISSION_DIVE_ANGLE " << fixed(p.diveAngle, 1) << "\n"
        << "0  All parameters are OK\n"
        << "  Choose number of parameter to modify.\n"
        << "  If parameters are OK, type 0 \n\n > ";
}

// Only a choice of 0 leaves a menu; a choice that cannot be read repeats the last one.
bool runMenu(DialogueState& d, void (*writeScreen)(std::ostream&, const MissionParameters&),
             std::int32_t highestEntry, bool (*editEntry)(DialogueState&, std::int32_t)) {
    do {
        writeScreen(d.out, d.params);
        if (!readIntAnswer(d, d.menuChoice)) {
            return false;
        }
        if (d.menuChoice == 0) {
            d.out << "0\n";
        } else if (d.menuChoice >= 1 && d.menuChoice <= highestEntry) {
            if (!editEntry(d, d.menuChoice)) {
                return false;
            }
        } else {
            d.out << "Error ... please try again\n";
        }
    } while (d.menuChoice != 0);
    return true;
}

// 1 for yes, 0 for no; nothing when the input ends before either.
std::optional<std::int32_t> askYesNo(DialogueState& d, std::string_view question) {
    for (;;) {
        d.out << question << "\n"
              << " Please enter Y or N > ";
        showPrompt(d);
        if (readChar(d.in, d.answerChar) == ScanResult::endOfInput) {
            return std::nullopt;
        }
        discardOneChar(d.in);
        switch (d.answerChar) {
        case 'Y':
        case 'y':
            return 1;
        case 'N':
        case 'n':
            return 0;
        default:
            d.out << " Please enter y or n ";
        }
    }
}

// The operator must move the gulper behavior by hand if the mission needs it elsewhere, so
// the notice waits until a key shows it has been read.
void showGulperNotice(DialogueState& d, void (*waitForKey)()) {
    d.out << " \n\n The Gulpers will be armed at mission start \n"
          << " Remember to move the behavior if necessary \n"
          << " Hit any key to continue \n";
    d.out.flush();
    waitForKey();
    d.out << "\n\n";
}

// The input ends at a prompt, so the cursor still stands behind it: the message takes a line
// of its own.
DialogueStatus endOfInput(std::ostream& out) {
    out << "\n*** END OF INPUT: NO MISSION WRITTEN ***\n";
    out.flush();
    return DialogueStatus::endOfInput;
}

} // namespace

DialogueStatus runInteractiveDialogue(std::istream& in, std::ostream& out,
                                      MissionParameters& params, SourceFile& waypointFile,
                                      void (*waitForKey)()) {
    DialogueState d{in, out, params};

    out << "\n\nWelcome to Waypoints to KORRIN mission utility.\n"
        << "Waypoint lat/lon's must be in decimal degree format.\n"
        << "eg: 36.8167 -121.8170\n"
        << "What's the name of the waypoint file ? \n"
        << " > ";
    showPrompt(d);
    std::string name;
    if (!readWholeLine(in, name)) {
        return endOfInput(out);
    }

    waypointFile = SourceFile{};
    OpenedSource opened;
    if (!openSource(name, nullptr, opened)) {
        out << "cannot open file " << name << " ";
        out.flush();
        return DialogueStatus::cannotOpenFile;
    }
    // Read once, here: a named pipe gives its bytes only once, and the planner must see
    // exactly what will be planned.
    const SourceReadResult read = readOpenedSource(opened, waypointFile);
    if (!read.ok) {
        out << "\n" << readErrorMessage(name) << "\n";
        out.flush();
        return DialogueStatus::cannotReadFile;
    }

    // The planner sees the file exactly as it is, whatever bytes or line ends it holds.
    out << "\n\nWaypoint filename: \n " << name << " \n"
        << "\n\nWaypoint List:\n\n";
    out.write(waypointFile.bytes.data(), static_cast<std::streamsize>(waypointFile.bytes.size()));

    if (!runMenu(d, writeMissionScreen, missionMenuEntries, editMissionEntry)) {
        return endOfInput(out);
    }

    const std::optional<std::int32_t> yoyo = askYesNo(d, " Will this be a YOYO Mission ? ");
    if (!yoyo) {
        return endOfInput(out);
    }
    params.yoyoMission = *yoyo;
    // The yo-yo limits matter only to a yo-yo mission, the plain waypoint depth only to a
    // plain one.
    if (*yoyo == 1) {
        if (!runMenu(d, writeYoyoScreen, yoyoMenuEntries, editYoyoEntry)) {
            return endOfInput(out);
        }
    } else if (!askDouble(d, "Default Waypoint Depth is " + fixed(params.wayPointDepth, 1) + " \n",
                          "Please enter new depth \n\n > ", params.wayPointDepth)) {
        return endOfInput(out);
    }

    const std::optional<std::int32_t> gulper = askYesNo(d, " Will this be a GULPER Mission ? ");
    if (!gulper) {
        return endOfInput(out);
    }
    params.gulperMission = *gulper;
    if (*gulper == 1) {
        showGulperNotice(d, waitForKey);
    }
    out.flush();
    return DialogueStatus::ready;
}
