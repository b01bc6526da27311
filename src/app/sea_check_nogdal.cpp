// The sea checks in a build without GDAL: there are none, and a run that asks for them says
// so in one line.
#include "app/sea_check.h"
#include "app/sea_options.h"

struct SeaInputs {};

SeaPreparation prepareSeaChecks(const CommandLine& commandLine, std::istream*) {
    SeaPreparation preparation;
    if (readSeaOptions(commandLine).asked) {
        preparation.ok = false;
        preparation.error = "*** this build of tavra has no sea checks: --bathymetry, --keepOut "
                            "and --opRegion need GDAL ***";
    }
    return preparation;
}

SeaMeasurement measureSea(SeaInputs&, const WaypointList&) {
    return SeaMeasurement{false, "*** this build of tavra has no sea checks ***", {}};
}
