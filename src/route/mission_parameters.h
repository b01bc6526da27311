// The one record of every tunable mission value and the two run flags, and its echo.
#pragma once

#include <cstdint>
#include <ostream>

// Defaults are the values a planner gets with no option and no menu edit.
// The three flags count as on only when they equal exactly 1.
struct MissionParameters {
    std::int32_t gpsHits = 30;
    std::int32_t gulperMission = 1;
    std::int32_t abortOnTimeout = 1;
    std::int32_t yoyoMission = 1;
    std::int32_t yoyoMinAltitude = 15;            // meters
    std::int32_t missionYoyoMinDepth = 10;        // meters
    std::int32_t missionYoyoMaxDepth = 90;        // meters
    std::int32_t missionYoyoMaxDepthShallow = 20; // meters, shown and editable only
    double missionSpeed = 1.5;                    // meters per second
    double missionSpeedSlow = 1.25;               // meters per second
    double maxLegMeters = 3600.0;                 // longest leg before it is split
    double minDepth = 10.0;                       // meters
    double maxDepth = 90.0;                       // meters
    double abortDepth = 100.0;                    // meters
    double abortAltitude = 2.5;                   // meters
    double abortLockoutDepth = 8.0;               // meters
    double diveAngle = 30.0;                      // degrees, shown and editable only
    double wayPointDepth = 50.0;                  // meters, depth of a plain waypoint leg
    std::int32_t launchDistance = 500;            // meters before waypoint 1; no option sets it

    std::int32_t verbose = 0;
    std::int32_t interactive = 0;
};

inline bool isOn(std::int32_t flag) {
    return flag == 1;
}

// Writes the "Parameters Set:" echo that --verbose asks for.
void printParameters(std::ostream& out, const MissionParameters& params);
