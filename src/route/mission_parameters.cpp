// The "Parameters Set:" echo of every tunable value, in the order of the option table.
#include "route/mission_parameters.h"

#include <cstdio>
#include <ostream>

namespace {

// Each row names the value and pads it with dots so that every value starts in the same
// column; the formats are those the planner has always seen, so they stay printf's.
void printRow(std::ostream& out, const char* label, std::int32_t value) {
    char text[96];
    std::snprintf(text, sizeof text, "%s%d\n", label, static_cast<int>(value));
    out << text;
}

void printRow(std::ostream& out, const char* label, double value, int decimals) {
    char text[400]; // the widest double in %f is about 320 characters
    std::snprintf(text, sizeof text, "%s%.*f\n", label, decimals, value);
    out << text;
}

} // namespace

void printParameters(std::ostream& out, const MissionParameters& params) {
    out << "\n\n Parameters Set:  \n";
    printRow(out, "gpsHits...........................", params.gpsHits);
    printRow(out, "gulperMission.....................", params.gulperMission);
    printRow(out, "abortOnTimeout....................", params.abortOnTimeout);
    printRow(out, "yoyoMission.......................", params.yoyoMission);
    printRow(out, "yoyoMinAltitude...................", params.yoyoMinAltitude);
    printRow(out, "missionYoyoMinDepth...............", params.missionYoyoMinDepth);
    printRow(out, "missionYoyoMaxDepth...............", params.missionYoyoMaxDepth);
    printRow(out, "missionYoyoMaxDepthShallow........", params.missionYoyoMaxDepthShallow);
    printRow(out, "missionSpeed......................", params.missionSpeed, 3);
    printRow(out, "missionSpeedSlow..................", params.missionSpeedSlow, 3);
    printRow(out, "maxLegMeters......................", params.maxLegMeters, 1);
    printRow(out, "minDepth..........................", params.minDepth, 1);
    printRow(out, "maxDepth..........................", params.maxDepth, 1);
    printRow(out, "abortDepth........................", params.abortDepth, 1);
    printRow(out, "abortAltitude.....................", params.abortAltitude, 1);
    printRow(out, "abortLockoutDepth.................", params.abortLockoutDepth, 1);
    printRow(out, "diveAngle.........................", params.diveAngle, 1);
    printRow(out, "wayPointDepth.....................", params.wayPointDepth, 1);
}
