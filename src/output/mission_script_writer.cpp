// The mission script (cfg) that the vehicle runs from the bottom of the file upward.
#include "output/mission_script_writer.h"

#include "output/number_format.h"
#include "output/writer_common.h"
#include "route/geodesy.h"

#include <cmath>
#include <limits>

namespace {

// A turn sharper than this at a waypoint makes the vehicle surface on the rudder instead
// of holding the heading of the leg it arrives on.
constexpr long double kRudderTurnDegrees = 70.0L;

void appendGpsAbort(std::string& text, const MissionParameters& params) {
    text += isOn(params.abortOnTimeout) ? "abortOnTimeout = True;\n" : "abortOnTimeout = False;\n";
}

// The hemisphere letters are fixed text: the latitude keeps its sign behind the N, the
// longitude's degrees lose theirs behind the W.
void appendDegreeMinuteComment(std::string& text, double lat, double lon) {
    const DegreesMinutes latitude = degreesMinutes(lat);
    const DegreesMinutes longitude = degreesMinutes(lon);
    text += "# N";
    appendFixed(text, latitude.degrees, 0);
    text += ' ';
    appendFixed(text, latitude.minutes, 4);
    text += " W";
    // Widened before the sign is dropped: the lowest 32-bit value has no positive twin.
    const std::int64_t lonDegrees = truncatedToInt(longitude.degrees);
    appendInt(text, lonDegrees < 0 ? -lonDegrees : lonDegrees);
    text += ' ';
    appendFixed(text, longitude.minutes, 4);
    text += '\n';
}

void appendAscend(std::string& text, bool rudder, std::int32_t heading) {
    text += "\nbehavior ascend {\n"
            "duration         = 1200;\n";
    if (rudder) {
        text += "horizontalMode   = rudder;\n"
                "horizontal       = 5;\n";
    } else {
        text += "horizontalMode   = heading;\n"
                "horizontal       = ";
        appendInt(text, heading);
        text += ";\n";
    }
    text += "pitch            = 20;\n"
            "speed            = 1.5;\n"
            "endDepth         = 2;\n"
            "}\n";
}

// The leg that arrives at the waypoint belongs to its predecessor.
void appendWaypoint(std::string& text, const WaypointNode& node, const WaypointNode& arrivingLeg,
                    const MissionParameters& params) {
    const bool yoyo = isOn(params.yoyoMission);
    text += yoyo ? "\nbehavior waypoint_yoyo  {\n" : "\n# waypoint behavior\nbehavior waypoint {\n";
    text += "# leg distance = ";
    appendFixed(text, arrivingLeg.legDistance, 1);
    text += ";\n";
    appendDegreeMinuteComment(text, node.lat, normalLongitude(node.lon));
    text += "latitude      = ";
    appendFixed(text, node.lat, 4);
    text += ";\nlongitude     = ";
    appendFixed(text, normalLongitude(node.lon), 4);
    text += yoyo ? ";\ncaptureRadius = 10;\n" : ";\ncaptureRadius = 10; \n";
    text += "duration      = ";
    appendInt(text, roundedToInt(arrivingLeg.legTime));
    if (yoyo) {
        text += ";\n"
                "speed         = MISSION_SPEED;\n"
                "minDepth      = MISSION_YOYO_MIN_DEPTH;\n"
                "maxDepth      = MISSION_YOYO_MAX_DEPTH;\n"
                "minAltitude   = YOYO_MIN_ALTITUDE;\n"
                "maxCycles     = 2000;\n"
                "}\n";
    } else {
        text += ";\n"
                "speed         = MISSION_SPEED; \n"
                "depth         = ";
        appendFixed(text, params.wayPointDepth, 1);
        text += "; \n"
                "}\n";
    }
}

void appendDescend(std::string& text, std::int32_t heading) {
    text += "\n# Descend behavior to 5 meters\n"
            "behavior descend {\n"
            "horizontalMode  = heading;\n"
            "horizontal      = ";
    appendInt(text, heading);
    text += ";\n"
            "pitch           = -30;\n"
            "speed           = 1.5;\n"
            "maxDepth        = 5;\n"
            "minAltitude     = 9;\n"
            "duration        = 60;\n"
            "}\n";
}

void appendSetpoint(std::string& text, std::int32_t heading) {
    text += "\n# setpoint on surface to gather momentum\n"
            "behavior setpoint {\n"
            "duration     = 30;\n"
            "heading      = ";
    appendInt(text, heading);
    text += ";\n"
            "speed        = 1.5;\n"
            "verticalMode = pitch;\n"
            "pitch        = 0;\n"
            "}\n";
}

void appendSurfacingGps(std::string& text, const MissionParameters& params) {
    text += "\nbehavior getgps {\n"
            "duration       = 300;\n"
            "minHits        = ";
    appendInt(text, params.gpsHits);
    text += ";\n";
    appendGpsAbort(text, params);
    text += "}\n";
}

// Read bottom-up, a section fixes the position on the surface, gathers way on the leg's
// heading, dives, runs the leg to the waypoint and comes up there.
void appendSection(std::string& text, const WaypointNode& node, const WaypointNode& arrivingLeg,
                   bool rudder, const MissionParameters& params) {
    const std::int32_t heading = roundedToInt(arrivingLeg.legHeading);
    appendAscend(text, rudder, heading);
    appendWaypoint(text, node, arrivingLeg, params);
    appendDescend(text, heading);
    appendSetpoint(text, heading);
    appendSurfacingGps(text, params);
}

void appendHeader(std::string& text, const std::string& fileName, const WaypointNode& launch,
                  const MissionParameters& params) {
    text += "# Mission Filename: ";
    text += fileName;
    text += "\n"
            "#\n"
            "#\n"
            "#                   *** CAUTION *** \n"
            "#   *** THIS MISSION GENERATED WITH UTILITY tavra ***\n"
            "#          *** Check the script file carefully ! ***\n"
            "#\n"
            "#               *** LAUNCH WAYPOINT ***\n"
            "#               LAT/LON: ";
    appendFixed(text, launch.lat, 4);
    text += ' ';
    appendFixed(text, normalLongitude(launch.lon), 4);
    text += "\n"
            "#\n"
            "#               *** INITIAL HEADING *** \n"
            "#                        ";
    appendFixed(text, launch.legHeading, 1);
    text += "  \n"
            "#\n";
    text += isOn(params.abortOnTimeout) ? "#             *** abortOnTimeout is True ***\n"
                                        : "#             *** abortOnTimeout is False ***\n";
    text += "#\n";
    if (isOn(params.gulperMission)) {
        text += "#   *** GULPERS ARMED AT START OF MISSION ***\n"
                "# *** MOVE THE ARMING BEHAVIOR IF NECESSARY ***\n"
                "#\n";
    }
}

void appendDefinitions(std::string& text, const MissionParameters& params) {
    if (isOn(params.yoyoMission)) {
        text += "#define MISSION_YOYO_MIN_DEPTH ";
        appendInt(text, params.missionYoyoMinDepth);
        text += "\n#define MISSION_YOYO_MAX_DEPTH ";
        appendInt(text, params.missionYoyoMaxDepth);
        text += "\n#define YOYO_MIN_ALTITUDE ";
        appendInt(text, params.yoyoMinAltitude);
        text += '\n';
    }
    // MISSION_SPEED_SLOW is defined although no generated block uses it.
    text += "#define MISSION_SPEED ";
    appendFixed(text, params.missionSpeed, 3);
    text += "\n#define MISSION_SPEED_SLOW ";
    appendFixed(text, params.missionSpeedSlow, 3);
    text += '\n';
}

void appendExpectations(std::string& text, const RouteTotals& totals) {
    const double seconds = totals.expectedMissionTime;
    text += "\n# Expected survey line distance: ";
    appendFixed(text, totals.surveyLineDistance, 1);
    text += " meters\n# Expected mission time: ";
    appendFixed(text, seconds, 1);
    text += " seconds\n#    ";
    appendFixed(text, wholeHours(seconds), 0);
    text += " hours\n#    ";
    appendInt(text, minutesPastHour(seconds));
    text += " minutes\n";
}

// Everything above the waypoint sections runs last: the timer and the envelope bound the
// whole mission, and the final fix ends it.
void appendMissionBounds(std::string& text, const MissionParameters& params,
                         const RouteTotals& totals) {
    text += "\n# mission timer set to 120% of estimated time of mission\n"
            "behavior missionTimer {\n"
            "timeOut = ";
    appendInt(text, missionTimeout(totals.expectedMissionTime));
    text += ";\n"
            "}\n"
            "\n# depth envelope set to commanded + 5 m, abort at commanded + 10\n"
            "behavior depthEnvelope {\n"
            " minDepth          = ";
    appendFixed(text, params.minDepth, 1);
    text += ";\n maxDepth          = ";
    appendFixed(text, params.maxDepth, 1);
    text += ";\n abortDepth        = ";
    appendFixed(text, params.abortDepth, 1);
    text += ";\n abortAltitude     = ";
    appendFixed(text, params.abortAltitude, 1);
    text += ";\n abortLockoutDepth = ";
    appendFixed(text, params.abortLockoutDepth, 1);
    text += ";\n"
            "}\n"
            "\nbehavior getgps {\n"
            "duration       = 1800;\n"
            "minHits        = 300;\n";
    appendGpsAbort(text, params);
    text += "}\n"
            "\n# ***** Mission Ends ^ *****\n";
}

void appendGulperArming(std::string& text) {
    text += "\n#Arm UNFIRED gulpers for adaptive firing#\n"
            "behavior ArmTheGulper{\n"
            "duration = 5;\n";
    for (int gulper = 0; gulper < 20; ++gulper) {
        text += "gulper";
        appendInt(text, gulper);
        text += " = 1;\n";
    }
    text += "}\n";
}

void appendLaunchComments(std::string& text, const WaypointNode& launch) {
    text += "\n# ***** LAUNCH WAYPOINT 0 *****\n"
            "# LAT/LON: ";
    appendFixed(text, launch.lat, 4);
    text += ' ';
    appendFixed(text, normalLongitude(launch.lon), 4);
    text += '\n';
    appendDegreeMinuteComment(text, launch.lat, normalLongitude(launch.lon));
    text += "# INITIAL HEADING:  ";
    appendFixed(text, launch.legHeading, 1);
    text += "  \n";
}

std::int32_t saturatedInt(long double whole) {
    if (std::isnan(whole)) {
        return 0;
    }
    if (whole >= static_cast<long double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (whole <= static_cast<long double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(whole);
}

} // namespace

std::int32_t missionTimeout(double expectedMissionTime) {
    // 1.2 as a double lies just below 1.2, and the product keeps a 64-bit significand before
    // it is truncated, so a whole 1.2 x T comes out one second short: 650 s gives 779.
    constexpr double kAllowance = 1.2;
    if constexpr (std::numeric_limits<long double>::digits >= 64) {
        return saturatedInt(static_cast<long double>(kAllowance) *
                            static_cast<long double>(expectedMissionTime));
    } else {
        // Where long double is no wider than double, the rounding error of the product,
        // recovered by fma, tells whether a whole product was really just below it.
        const double product = kAllowance * expectedMissionTime;
        const double error = std::fma(kAllowance, expectedMissionTime, -product);
        double whole = std::trunc(product);
        if (whole == product && std::isfinite(product)) {
            if (product > 0 && error < 0) {
                whole -= 1.0;
            } else if (product < 0 && error > 0) {
                whole += 1.0;
            }
        }
        return truncatedToInt(whole);
    }
}

void writeMissionScript(std::ostream& out, const std::string& fileName, const WaypointList& route,
                        const MissionParameters& params, const RouteTotals& totals) {
    const WaypointNode* launch = route.head;
    const WaypointNode* last = route.tail;
    // A script needs the launch waypoint and at least one waypoint to run to.
    if (launch == nullptr || last == nullptr || last->prev == nullptr) {
        return;
    }
    std::string text;
    startChunks(text);
    appendHeader(text, fileName, *launch, params);
    appendDefinitions(text, params);
    appendExpectations(text, totals);
    appendMissionBounds(text, params, totals);

    // The vehicle runs the script from the bottom up, so the last waypoint comes first and
    // always surfaces on the rudder.
    appendSection(text, *last, *last->prev, true, params);
    text += "\n# ***** FINAL WAYPOINT NUMBER: ";
    appendInt(text, last->wptNumber);
    text += " ^ *****\n";

    for (const WaypointNode* node = last->prev; node->prev != nullptr; node = node->prev) {
        const WaypointNode& arrivingLeg = *node->prev;
        // Plain difference, no wrap at north: 350 and 10 count as a turn of 340.
        const long double turn = std::fabs(static_cast<long double>(node->legHeading) -
                                           static_cast<long double>(arrivingLeg.legHeading));
        appendSection(text, *node, arrivingLeg, turn > kRudderTurnDegrees, params);
        text += "\n# ***** WAYPOINT NUMBER: ";
        appendInt(text, node->wptNumber);
        text += " ^ *****\n";
        writeChunkIfFull(out, text);
    }

    // The first behavior the vehicle runs, before it leaves the launch point.
    if (isOn(params.gulperMission)) {
        appendGulperArming(text);
    }
    appendLaunchComments(text, *launch);
    writeRest(out, text);
}
