// Tests of the console dialogue: whole transcripts, the values it leaves and the waypoint file.
#include "app/dialogue.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

namespace {

namespace fs = std::filesystem;

// The key press is a plain function, so what it sees goes through these.
int keyPresses = 0;
const std::ostringstream* screen = nullptr;
std::string shownAtKeyPress;

void fakeWaitForKey() {
    ++keyPresses;
    if (screen != nullptr) {
        shownAtKeyPress = screen->str();
    }
}

const std::string kWaypoints = "36.8167 -121.8170\n36.8215 -121.7986\n";

const std::string kWelcome = "\n\nWelcome to Waypoints to KORRIN mission utility.\n"
                             "Waypoint lat/lon's must be in decimal degree format.\n"
                             "eg: 36.8167 -121.8170\n"
                             "What's the name of the waypoint file ? \n"
                             " > ";
const std::string kYoyoQuestion = " Will this be a YOYO Mission ? \n Please enter Y or N > ";
const std::string kGulperQuestion = " Will this be a GULPER Mission ? \n Please enter Y or N > ";
const std::string kAskAgain = " Please enter y or n ";
const std::string kMenuError = "Error ... please try again\n";
const std::string kDepthPrompt = "Default Waypoint Depth is 50.0 \nPlease enter new depth \n\n > ";
const std::string kGulperNotice = " \n\n The Gulpers will be armed at mission start \n"
                                  " Remember to move the behavior if necessary \n"
                                  " Hit any key to continue \n";
const std::string kEndOfInput = "\n*** END OF INPUT: NO MISSION WRITTEN ***\n";

std::string listing(const std::string& name, const std::string& bytes) {
    return "\n\nWaypoint filename: \n " + name + " \n\n\nWaypoint List:\n\n" + bytes;
}

// The values are given as the screen shows them.
std::string missionScreen(const std::string& speed = "1.500", const std::string& slow = "1.250",
                          const std::string& hits = "30", const std::string& minDepth = "10.0",
                          const std::string& timeout = "1") {
    return "\n\n Mission Parameters \n\n"
           " 1  MISSION_SPEED " +
           speed + "\n 2  MISSION_SPEED_SLOW " + slow + "\n 3  GPS_HITS " + hits +
           "\n 4  Meters between surfacings 3600.0\n 5  minDepth " + minDepth +
           "\n 6  maxDepth 90.0\n 7  abortDepth 100.0\n 8  abortAltitude 2.5\n"
           " 9  abortLockoutDepth 8.0\n10  abortOnTimeout " +
           timeout +
           "\n\n 0   All parameters are OK\n"
           "  Choose number of parameter to modify.\n"
           "  If parameters are OK, type 0 \n\n > ";
}

std::string yoyoScreen(const std::string& maxDepth = "90", const std::string& angle = "30.0") {
    return "\n\n YOYO Mission Parameters \n\n"
           "1  YOYO_MIN_ALTITUDE 15\n"
           "2  MISSION_YOYO_MIN_DEPTH 10\n"
           "3  MISSION_YOYO_MAX_DEPTH " +
           maxDepth + "\n4  MISSION_YOYO_MAX_DEPTH_SHALLOW 20\n5  MISSION_DIVE_ANGLE " + angle +
           "\n0  All parameters are OK\n"
           "  Choose number of parameter to modify.\n"
           "  If parameters are OK, type 0 \n\n > ";
}

auto fields(const MissionParameters& p) {
    return std::make_tuple(p.gpsHits, p.gulperMission, p.abortOnTimeout, p.yoyoMission,
                           p.yoyoMinAltitude, p.missionYoyoMinDepth, p.missionYoyoMaxDepth,
                           p.missionYoyoMaxDepthShallow, p.missionSpeed, p.missionSpeedSlow,
                           p.maxLegMeters, p.minDepth, p.maxDepth, p.abortDepth, p.abortAltitude,
                           p.abortLockoutDepth, p.diveAngle, p.wayPointDepth, p.launchDistance,
                           p.verbose, p.interactive);
}

// The defaults with the answers 0, n, 25, n.
MissionParameters plainMission() {
    MissionParameters p;
    p.yoyoMission = 0;
    p.wayPointDepth = 25.0;
    p.gulperMission = 0;
    return p;
}

class DialogueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        do {
            dir = fs::temp_directory_path() / ("tavra-dialogue-" + std::to_string(random()));
        } while (!fs::create_directory(dir));
        keyPresses = 0;
        shownAtKeyPress.clear();
        screen = &out;
        waypoints = write("waypoints.txt", kWaypoints);
    }

    void TearDown() override {
        screen = nullptr;
        file = SourceFile{};
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    std::string write(const std::string& fileName, const std::string& bytes) {
        const fs::path path = dir / fileName;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    DialogueStatus talk(const std::string& input) {
        std::istringstream in(input);
        return runInteractiveDialogue(in, out, params, file, fakeWaitForKey);
    }

    std::string fileContent() const { return file.bytes; }

    // Read into memory from the file named, as a file whose path GDAL may open.
    bool fileLoaded(const std::string& name) const {
        return file.name == name && file.path == name;
    }

    bool noFileLoaded() const { return file.name.empty() && file.bytes.empty(); }

    fs::path dir;
    std::string waypoints; // the path of a file holding kWaypoints
    std::ostringstream out;
    MissionParameters params;
    SourceFile file;
};

// Main paths

TEST_F(DialogueTest, AllDefaultsAcceptedForAPlainMission) {
    EXPECT_EQ(talk(waypoints + "\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(waypoints, kWaypoints) + missionScreen() + "0\n" +
                             kYoyoQuestion + kDepthPrompt + kGulperQuestion);
    EXPECT_EQ(fields(params), fields(plainMission()));
    EXPECT_EQ(keyPresses, 0);
    ASSERT_TRUE(fileLoaded(waypoints));
    EXPECT_EQ(fileContent(), kWaypoints);
}

TEST_F(DialogueTest, YoyoMissionWithEdits) {
    const std::string answers = "1\n2.25\n" // missionSpeed
                                "10\n7\n"   // abortOnTimeout takes any whole number
                                "0\ny\n"
                                "5\n45\n"  // diveAngle
                                "3\n120\n" // missionYoyoMaxDepth
                                "6\n0\nn\n";
    EXPECT_EQ(talk(waypoints + "\n" + answers), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(waypoints, kWaypoints) + missionScreen() +
                             "mission Speed is 1.500 meters per second\n"
                             "Please enter new speed in meters per second \n\n >" +
                             missionScreen("2.250") + "abortOnTimeout is 1 \n" +
                             "Please enter new abortOnTimeout \n1 for TRUE, or 0 for FALSE \n\n >" +
                             missionScreen("2.250", "1.250", "30", "10.0", "7") + "0\n" +
                             kYoyoQuestion + yoyoScreen() + "mission dive angle is 30 degrees\n" +
                             "Please enter new dive angle in degrees \n\n >" +
                             yoyoScreen("90", "45.0") + "mission YoYo Max Depth is 90 meters\n" +
                             "Please enter new depth in meters \n\n > " +
                             yoyoScreen("120", "45.0") + kMenuError + yoyoScreen("120", "45.0") +
                             "0\n" + kGulperQuestion);
    MissionParameters expected;
    expected.missionSpeed = 2.25;
    expected.abortOnTimeout = 7;
    expected.diveAngle = 45.0;
    expected.missionYoyoMaxDepth = 120;
    expected.yoyoMission = 1;
    expected.gulperMission = 0;
    EXPECT_EQ(fields(params), fields(expected));
    EXPECT_EQ(fileContent(), kWaypoints);
}

TEST_F(DialogueTest, GulperYesWaitsForOneKeyAfterTheNotice) {
    EXPECT_EQ(talk(waypoints + "\n0\nn\n40\ny\n"), DialogueStatus::ready);
    const std::string beforeKey = kWelcome + listing(waypoints, kWaypoints) + missionScreen() +
                                  "0\n" + kYoyoQuestion + kDepthPrompt + kGulperQuestion +
                                  kGulperNotice;
    EXPECT_EQ(keyPresses, 1);
    EXPECT_EQ(shownAtKeyPress, beforeKey);
    EXPECT_EQ(out.str(), beforeKey + "\n\n");
    EXPECT_EQ(params.gulperMission, 1);
    EXPECT_EQ(params.yoyoMission, 0);
    EXPECT_EQ(params.wayPointDepth, 40.0);
}

// Menus

TEST_F(DialogueTest, OutOfRangeChoicesRepeatTheMenu) {
    EXPECT_EQ(talk(waypoints + "\n11\n-1\n0\ny\n6\n-1\n0\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(waypoints, kWaypoints) + missionScreen() + kMenuError +
                             missionScreen() + kMenuError + missionScreen() + "0\n" +
                             kYoyoQuestion + yoyoScreen() + kMenuError + yoyoScreen() + kMenuError +
                             yoyoScreen() + "0\n" + kGulperQuestion);
    MissionParameters expected;
    expected.gulperMission = 0;
    EXPECT_EQ(fields(params), fields(expected));
}

TEST_F(DialogueTest, OnlyAChoiceOfZeroEndsTheMenu) {
    // 3 then 0 sets gpsHits to 0; the kept choice 3 shows the menu again.
    EXPECT_EQ(talk(waypoints + "\n3\n0\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(waypoints, kWaypoints) + missionScreen() +
                             "Number of GPS hits per surfacing is 30 \n"
                             "Please enter new number of hits \n\n > " +
                             missionScreen("1.500", "1.250", "0") + "0\n" + kYoyoQuestion +
                             kDepthPrompt + kGulperQuestion);
    EXPECT_EQ(params.gpsHits, 0);
}

TEST_F(DialogueTest, ALetterAsFirstChoiceAcceptsAllValues) {
    // The letter's line end is left over and taken as the first yes/no answer.
    EXPECT_EQ(talk(waypoints + "\nx\n\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(waypoints, kWaypoints) + missionScreen() + "0\n" +
                             kYoyoQuestion + kAskAgain + kYoyoQuestion + kDepthPrompt +
                             kGulperQuestion);
    EXPECT_EQ(fields(params), fields(plainMission()));
}

TEST_F(DialogueTest, ALetterAfterAnEditOpensTheSameEditAgain) {
    EXPECT_EQ(talk(waypoints + "\n5\n30\nx\n12\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(waypoints, kWaypoints) + missionScreen() +
                             "minDepth is 10.0 meters\nPlease enter new minDepth in meters \n\n >" +
                             missionScreen("1.500", "1.250", "30", "30.0") +
                             "minDepth is 30.0 meters\nPlease enter new minDepth in meters \n\n >" +
                             missionScreen("1.500", "1.250", "30", "12.0") + "0\n" + kYoyoQuestion +
                             kDepthPrompt + kGulperQuestion);
    EXPECT_EQ(params.minDepth, 12.0);
}

TEST_F(DialogueTest, AnUnreadableSpeedGivesTheLastSpeedEntered) {
    EXPECT_EQ(talk(waypoints + "\n2\nx\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(waypoints, kWaypoints) + missionScreen() +
                             "mission Speed Slow is 1.250 meters per second\n"
                             "Please enter new speed in meters per second \n\n >" +
                             missionScreen("1.500", "1.500") + "0\n" + kYoyoQuestion +
                             kDepthPrompt + kGulperQuestion);
    EXPECT_EQ(params.missionSpeedSlow, 1.5); // not its default 1.25

    // A speed read at the other prompt is what the slow speed then receives.
    MissionParameters fresh;
    params = fresh;
    EXPECT_EQ(talk(waypoints + "\n1\n2\n2\nx\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(params.missionSpeed, 2.0);
    EXPECT_EQ(params.missionSpeedSlow, 2.0);
}

// Yes/no questions

TEST_F(DialogueTest, YesCountsAsYAndLeavesTheRestForLaterReads) {
    // The e is consumed; the s reaches the YOYO menu, which finds no number and ends on the
    // kept 0; the line end is the GULPER question's first answer.
    EXPECT_EQ(talk(waypoints + "\n0\nyes\n\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(waypoints, kWaypoints) + missionScreen() + "0\n" +
                             kYoyoQuestion + yoyoScreen() + "0\n" + kGulperQuestion + kAskAgain +
                             kGulperQuestion);
    EXPECT_EQ(params.yoyoMission, 1);
    EXPECT_EQ(params.gulperMission, 0);
    EXPECT_EQ(params.wayPointDepth, 50.0);
}

TEST_F(DialogueTest, CapitalAnswersCount) {
    EXPECT_EQ(talk(waypoints + "\n0\nN\n25\nY\n"), DialogueStatus::ready);
    EXPECT_EQ(params.yoyoMission, 0);
    EXPECT_EQ(params.gulperMission, 1);
    EXPECT_EQ(keyPresses, 1);
}

// File name

TEST_F(DialogueTest, TrailingBlankIsPartOfTheName) {
    const std::string blankName = write("blank.txt ", "1 2\n");
    EXPECT_EQ(talk(blankName + "\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(blankName, "1 2\n") + missionScreen() + "0\n" +
                             kYoyoQuestion + kDepthPrompt + kGulperQuestion);
    EXPECT_EQ(fileContent(), "1 2\n");
}

TEST_F(DialogueTest, TrailingBlankNamesAnotherFile) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows itself drops trailing blanks from file names";
#endif
    EXPECT_EQ(talk(waypoints + " \n0\n"), DialogueStatus::cannotOpenFile);
    EXPECT_EQ(out.str(), kWelcome + "cannot open file " + waypoints + "  ");
    EXPECT_TRUE(noFileLoaded());
}

TEST_F(DialogueTest, LongNameIsReadWhole) {
    const std::string longName = write(std::string(150, 'w') + ".txt", kWaypoints);
    EXPECT_EQ(talk(longName + "\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(longName, kWaypoints) + missionScreen() + "0\n" +
                             kYoyoQuestion + kDepthPrompt + kGulperQuestion);
}

TEST_F(DialogueTest, CarriageReturnBeforeTheLineEndIsNotPartOfTheName) {
    EXPECT_EQ(talk(waypoints + "\r\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(fileContent(), kWaypoints);
}

TEST_F(DialogueTest, EmptyNameCannotBeOpened) {
    EXPECT_EQ(talk("\n0\nn\n25\nn\n"), DialogueStatus::cannotOpenFile);
    EXPECT_EQ(out.str(), kWelcome + "cannot open file  ");
}

TEST_F(DialogueTest, DirectoryIsNoWaypointFile) {
    EXPECT_EQ(talk(dir.string() + "\n0\nn\n25\nn\n"), DialogueStatus::cannotOpenFile);
    EXPECT_EQ(out.str(), kWelcome + "cannot open file " + dir.string() + " ");
}

TEST_F(DialogueTest, NameWithNulByteCannotBeOpened) {
    const std::string name = waypoints + std::string(1, '\0') + "x";
    EXPECT_EQ(talk(name + "\n0\nn\n25\nn\n"), DialogueStatus::cannotOpenFile);
    EXPECT_EQ(out.str(), kWelcome + "cannot open file " + name + " ");
    EXPECT_TRUE(noFileLoaded());
}

// End of input

TEST_F(DialogueTest, EndOfInputAtEachPromptWritesNoMission) {
    const std::string head = kWelcome + listing(waypoints, kWaypoints);
    const struct {
        std::string input;
        std::string transcript;
    } cases[] = {
        {"", kWelcome + kEndOfInput},
        {waypoints, head + missionScreen() + kEndOfInput}, // name without a line end
        {waypoints + "\n", head + missionScreen() + kEndOfInput},
        {waypoints + "\n4\n", head + missionScreen() +
                                  "Meters between AUV surfacings is 3600.0 \n" +
                                  "Please enter new distance in meters \n\n > " + kEndOfInput},
        {waypoints + "\n1\n", head + missionScreen() +
                                  "mission Speed is 1.500 meters per second\n"
                                  "Please enter new speed in meters per second \n\n >" +
                                  kEndOfInput},
        {waypoints + "\n0\n", head + missionScreen() + "0\n" + kYoyoQuestion + kEndOfInput},
        {waypoints + "\n0\nx",
         head + missionScreen() + "0\n" + kYoyoQuestion + kAskAgain + kYoyoQuestion + kEndOfInput},
        {waypoints + "\n0\ny\n",
         head + missionScreen() + "0\n" + kYoyoQuestion + yoyoScreen() + kEndOfInput},
        {waypoints + "\n0\nn\n",
         head + missionScreen() + "0\n" + kYoyoQuestion + kDepthPrompt + kEndOfInput},
        // the GULPER question does not take over the YOYO answer
        {waypoints + "\n0\nn\n25\n", head + missionScreen() + "0\n" + kYoyoQuestion + kDepthPrompt +
                                         kGulperQuestion + kEndOfInput},
    };
    for (const auto& c : cases) {
        out.str("");
        file = SourceFile{};
        params = MissionParameters{};
        EXPECT_EQ(talk(c.input), DialogueStatus::endOfInput) << c.input;
        EXPECT_EQ(out.str(), c.transcript) << c.input;
        EXPECT_EQ(keyPresses, 0);
    }
}

TEST_F(DialogueTest, LastAnswerWithoutLineEndStands) {
    EXPECT_EQ(talk(waypoints + "\n0\nn\n25\nn"), DialogueStatus::ready);
    EXPECT_EQ(fields(params), fields(plainMission()));
}

// Listing

TEST_F(DialogueTest, ListingIsTheFileByteForByte) {
    // CR LF and Ctrl-Z too, which a Windows text-mode read would turn into LF and end of file.
    const std::string bytes = std::string("36.8167 -121.8170\r\n\0 odd\x1a\n", 27) +
                              std::string(5000, '7') + "\n36.8215 -121.7986";
    const std::string name = write("raw.txt", bytes);
    EXPECT_EQ(talk(name + "\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(name, bytes) + missionScreen() + "0\n" + kYoyoQuestion +
                             kDepthPrompt + kGulperQuestion);
    EXPECT_TRUE(fileLoaded(name));
    EXPECT_EQ(fileContent(), bytes);
}

TEST_F(DialogueTest, EmptyFileListsNothingAndTheDialogueRuns) {
    const std::string name = write("empty.txt", "");
    EXPECT_EQ(talk(name + "\n0\nn\n25\nn\n"), DialogueStatus::ready);
    EXPECT_EQ(out.str(), kWelcome + listing(name, "") + missionScreen() + "0\n" + kYoyoQuestion +
                             kDepthPrompt + kGulperQuestion);
    ASSERT_TRUE(fileLoaded(name));
    EXPECT_EQ(fileContent(), "");
}

} // namespace
