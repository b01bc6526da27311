// Fuzz target: a whole run in memory. The input's first line holds command-line words (its
// first operand, if any, is the launch distance, which no option sets); the rest is the
// waypoint file. The route is planned, checked, and written by all four writers.
#include "app/options.h"
#include "check.h"
#include "input/read_source.h"
#include "output/csv_summary_writer.h"
#include "output/mission_script_writer.h"
#include "output/survey_line_writer.h"
#include "output/waypoint_file_writer.h"
#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <getopt.h>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Routes beyond this are valid but would make every input slow; the route size limit of a
// real run is checked on them all the same, since refusing costs nothing.
constexpr std::uint64_t kLargestRouteWritten = 500;

const std::string kFileName = "2020_189_155.cfg";

std::vector<std::string> splitWords(std::string_view line) {
    std::vector<std::string> words{"tavra"};
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r') {
            if (!word.empty()) {
                words.push_back(word);
                word.clear();
            }
        } else {
            word.push_back(c);
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    return words;
}

void parseParameters(std::string_view line, MissionParameters& params) {
    std::vector<std::string> words = splitWords(line);
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    // A mistake would stop the program; here the values read before and after it still
    // plan, so that every number the parser takes reaches the planner.
    const CommandLine commandLine =
        parseOptions(static_cast<int>(words.size()), argv.data(), params);
    if (commandLine.waypointFile) {
        params.launchDistance = parseIntArgument(commandLine.waypointFile->c_str());
    }
}

bool onTheGlobe(double lat, double lon) {
    return lat >= -90.0 && lat <= 90.0 && lon >= -180.0 && lon <= 180.0;
}

// The finished route as the writers rely on it.
void checkRoute(const WaypointList& route, const std::vector<std::pair<double, double>>& read,
                const MissionParameters& params, const RouteTotals& totals) {
    const WaypointNode* launch = route.head;
    FUZZ_CHECK(launch != nullptr && launch->prev == nullptr);
    FUZZ_CHECK(launch->kind == WaypointKind::launch && launch->wptNumber == 0);
    FUZZ_CHECK(launch->next != nullptr);
    const WaypointNode* first = launch->next;
    FUZZ_CHECK(launch->legDistance == static_cast<double>(params.launchDistance));
    FUZZ_CHECK(launch->legHeading == first->legHeading);
    FUZZ_CHECK(launch->legTime ==
               static_cast<double>(static_cast<long double>(params.launchDistance) * 1.3L));

    // Headings are only promised for positions on the globe. The reader takes any finite
    // number, and from about 1e307 degrees on, the conversion to radians overflows where
    // long double is no wider than double (not on x86, where the fuzzers run).
    bool allOnTheGlobe = true;
    for (const auto& [lat, lon] : read) {
        allOnTheGlobe = allOnTheGlobe && onTheGlobe(lat, lon);
    }

    std::size_t nextRead = 0;
    std::int64_t expectedNumber = 0;
    long double distance = 0.0L;
    const WaypointNode* previous = nullptr;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        FUZZ_CHECK(node->prev == previous);
        FUZZ_CHECK(node->wptNumber == expectedNumber);
        distance += node->legDistance;
        if (node->kind == WaypointKind::fromFile) {
            // The file's waypoints stay where the file put them, in the file's order.
            FUZZ_CHECK(nextRead < read.size());
            FUZZ_CHECK(node->lat == read[nextRead].first && node->lon == read[nextRead].second);
            ++nextRead;
        } else if (node->kind == WaypointKind::splitPoint) {
            FUZZ_CHECK(node->prev != nullptr && node->next != nullptr);
            FUZZ_CHECK(std::isfinite(node->lat) && std::isfinite(node->lon));
            FUZZ_CHECK(node->lat >= -90.0 && node->lat <= 90.0);
        } else {
            FUZZ_CHECK(node == launch);
        }
        if (node != launch && node->next != nullptr) {
            FUZZ_CHECK(node->legDistance >= 0.0 && node->legDistance <= params.maxLegMeters);
            FUZZ_CHECK(node->legTime == node->legDistance);
            if (allOnTheGlobe) {
                FUZZ_CHECK(node->legHeading > 0.0 && node->legHeading <= 360.0);
            }
        }
        previous = node;
        ++expectedNumber;
    }
    FUZZ_CHECK(nextRead == read.size());
    FUZZ_CHECK(static_cast<std::size_t>(expectedNumber) == route.size());

    const WaypointNode* last = route.tail;
    FUZZ_CHECK(last == previous && last->kind == WaypointKind::fromFile);
    FUZZ_CHECK(last->legDistance == 0.0 && last->legHeading == 0.0 && last->legTime == 0.0);
    if (allOnTheGlobe && first != last) {
        FUZZ_CHECK(launch->legHeading > 0.0 && launch->legHeading <= 360.0);
    }

    // Every leg but the launch leg takes one second per meter, the launch leg 1.3.
    const long double expectedTime = static_cast<long double>(totals.surveyLineDistance) +
                                     0.3L * static_cast<long double>(params.launchDistance);
    const long double scale =
        1.0L + std::fabs(distance) + std::fabs(static_cast<long double>(params.launchDistance));
    FUZZ_CHECK(std::fabs(static_cast<long double>(totals.expectedMissionTime) - expectedTime) <=
               1e-9L * scale);
    FUZZ_CHECK(std::fabs(static_cast<long double>(totals.surveyLineDistance) - distance) <=
               1e-9L * scale);
}

// Views into the text, one per line without its line end: the outputs of every input are
// checked, so no line is copied.
std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> result;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        result.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return result;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::int64_t numberAfter(std::string_view line, std::string_view prefix) {
    return std::stoll(std::string(line.substr(prefix.size())));
}

// The vehicle reads the script bottom-up: every block closed, the waypoint markers counting
// down to 1, and the launch comments at the very bottom.
void checkMissionScript(const std::string& script, const WaypointList& route,
                        const MissionParameters& params) {
    FUZZ_CHECK(!script.empty() && script.back() == '\n');
    const std::vector<std::string_view> all = lines(script);
    constexpr std::string_view kFinal = "# ***** FINAL WAYPOINT NUMBER: ";
    constexpr std::string_view kMarker = "# ***** WAYPOINT NUMBER: ";
    constexpr std::string_view kLaunch = "# ***** LAUNCH WAYPOINT 0 *****";

    bool inBlock = false;
    bool missionEnds = false;
    bool gulpersArmed = false;
    std::int64_t nextMarker = -1; // none seen yet
    std::size_t gpsBlocks = 0;
    std::size_t launchLine = all.size();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string_view line = all[i];
        if (startsWith(line, "behavior ")) {
            FUZZ_CHECK(!inBlock && line.back() == '{');
            FUZZ_CHECK(launchLine == all.size());
            inBlock = true;
            gpsBlocks += line == "behavior getgps {" ? 1 : 0;
            if (line == "behavior ArmTheGulper{") {
                FUZZ_CHECK(nextMarker == 0 && !gulpersArmed);
                gulpersArmed = true;
            }
        } else if (line == "}") {
            FUZZ_CHECK(inBlock);
            inBlock = false;
        } else if (line == "# ***** Mission Ends ^ *****") {
            FUZZ_CHECK(!inBlock && !missionEnds && nextMarker == -1);
            missionEnds = true;
        } else if (startsWith(line, kFinal)) {
            FUZZ_CHECK(!inBlock && missionEnds && nextMarker == -1);
            FUZZ_CHECK(numberAfter(line, kFinal) == route.tail->wptNumber);
            nextMarker = route.tail->wptNumber - 1;
        } else if (startsWith(line, kMarker)) {
            FUZZ_CHECK(!inBlock && nextMarker > 0);
            FUZZ_CHECK(numberAfter(line, kMarker) == nextMarker);
            --nextMarker;
        } else if (line == kLaunch) {
            FUZZ_CHECK(!inBlock && nextMarker == 0 && launchLine == all.size());
            launchLine = i;
        }
    }
    FUZZ_CHECK(!inBlock && missionEnds && nextMarker == 0);
    FUZZ_CHECK(gulpersArmed == isOn(params.gulperMission));
    // One surfacing fix per waypoint and the final fix that ends the mission.
    FUZZ_CHECK(gpsBlocks == route.size());
    FUZZ_CHECK(launchLine + 4 == all.size());
    FUZZ_CHECK(startsWith(all[launchLine + 1], "# LAT/LON: "));
    FUZZ_CHECK(startsWith(all[launchLine + 2], "# N"));
    FUZZ_CHECK(startsWith(all[launchLine + 3], "# INITIAL HEADING:  "));
}

// The chart files and the summary: one record per route point, numbered in route order.
void checkOtherOutputs(const std::string& waypoints, const std::string& surveyLine,
                       const std::string& summary, const WaypointList& route) {
    const std::vector<std::string_view> wpt = lines(waypoints);
    FUZZ_CHECK(wpt.size() == route.size());
    std::int64_t number = 0;
    for (const std::string_view line : wpt) {
        FUZZ_CHECK(startsWith(line, std::to_string(number) + ",N"));
        ++number;
    }

    const std::vector<std::string_view> pts = lines(surveyLine);
    FUZZ_CHECK(pts.size() == route.size() + 1);
    FUZZ_CHECK(startsWith(pts[0], "0,2020_189_155.pts,"));
    for (std::size_t i = 1; i < pts.size(); ++i) {
        FUZZ_CHECK(startsWith(pts[i], "1,"));
    }

    number = 0;
    for (const std::string_view line : lines(summary)) {
        if (!line.empty() && line[0] >= '0' && line[0] <= '9') {
            FUZZ_CHECK(startsWith(line, std::to_string(number) + ","));
            ++number;
        }
    }
    FUZZ_CHECK(static_cast<std::size_t>(number) == route.size());
    FUZZ_CHECK(summary.find("\nExpected mission time ") != std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    opterr = 0; // the parser's complaints about bad options would flood the report
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = bytes.find('\n');
    MissionParameters params;
    parseParameters(std::string_view(bytes).substr(0, lineEnd), params);
    if (lineEnd == std::string::npos) {
        return 0;
    }

    // Whatever format the rest is in, as a waypoint file piped in.
    const std::string file = bytes.substr(lineEnd + 1);
    const DocumentResult document = readSource(InputSource{"fuzz", "", file});
    if (!document.ok) {
        return 0;
    }
    const RouteSelection selection = selectRoute(document.document, "fuzz", std::nullopt);
    WaypointList route;
    for (const SourcePoint& point : selection.points) {
        appendNode(route, point.lat, point.lon);
    }
    if (route.empty()) {
        return 0;
    }
    std::vector<std::pair<double, double>> read;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        read.emplace_back(node->lat, node->lon);
    }

    RouteTotals totals;
    if (!(params.maxLegMeters > 0.0)) {
        FUZZ_CHECK(planRoute(route, params, totals).status == PlanStatus::invalidMaxLeg);
        FUZZ_CHECK(route.size() == read.size());
        return 0;
    }
    measureLegs(route);
    const std::uint64_t expectedPoints = countRoutePoints(route, params.maxLegMeters);
    std::uint64_t longLegs = 0;
    for (const WaypointNode* node = route.head; node->next != nullptr; node = node->next) {
        longLegs += node->legDistance > params.maxLegMeters ? 1 : 0;
    }
    if (expectedPoints > kLargestRouteWritten && expectedPoints <= kMaxRoutePoints) {
        return 0;
    }
    const PlanResult plan = planRoute(route, params, totals);
    if (expectedPoints > kMaxRoutePoints) {
        FUZZ_CHECK(plan.status == PlanStatus::tooManyPoints);
        FUZZ_CHECK(plan.routePoints == expectedPoints && route.size() == read.size());
        return 0;
    }
    FUZZ_CHECK(plan.status == PlanStatus::planned);
    FUZZ_CHECK(plan.routePoints == route.size());
    // The count divides, the split subtracts: where a leg is a whole multiple of the limit
    // the two may differ by one piece, so by at most one point per long leg.
    FUZZ_CHECK(route.size() <= expectedPoints + longLegs &&
               expectedPoints <= route.size() + longLegs);
    checkRoute(route, read, params, totals);

    std::ostringstream script, waypoints, surveyLine, summary;
    writeMissionScript(script, kFileName, route, params, totals);
    writeWaypointFile(waypoints, route);
    writeSurveyLine(surveyLine, "2020_189_155.pts", route);
    writeCsvSummary(summary, route, totals);
    checkMissionScript(script.str(), route, params);
    checkOtherOutputs(waypoints.str(), surveyLine.str(), summary.str(), route);
    return 0;
}
