// Measures the sea along a planned route: the seabed under every leg and how each leg
// meets the keep-out areas and the operating region.
#include "sea/survey_route.h"

#include "gdal/gdal_messages.h"
#include "sea/coast_check.h"
#include "sea/leg_sampling.h"
#include "sea/leg_zones.h"
#include "sea/route_legs.h"

#include <utility>

SeaSurveyResult surveyRoute(const WaypointList& route, const SeaRequest& request,
                            const ZoneSource* coast) {
    // Whatever GDAL says on the way is collected here, never printed by GDAL itself; what
    // matters for the run comes back as each step's own message.
    GdalMessages messages;
    SeaSurveyResult result;
    result.survey.legs = routeLegs(route);
    result.survey.keepOutMargin = request.keepOutMargin;
    if (request.grid != nullptr) {
        SeabedResult seabed = sampleRoute(*request.grid, result.survey.legs, request.gridFile);
        if (!seabed.ok) {
            return SeaSurveyResult{false, seabed.error, {}};
        }
        result.survey.gridFile = request.gridFile;
        result.survey.seabed = std::move(seabed.seabed);
        if (coast != nullptr) {
            const CoastResult compared =
                compareCoast(result.survey.seabed, result.survey.legs, *coast);
            if (!compared.ok) {
                return SeaSurveyResult{false, compared.error, {}};
            }
            result.survey.coastFile = coast->file;
        }
    }
    if (!request.zones.empty()) {
        ZonesResult zones = prepareZones(request.zones, result.survey.legs, request.keepOutMargin);
        if (!zones.ok) {
            return SeaSurveyResult{false, zones.error, {}};
        }
        PassesResult passes = measurePasses(result.survey.legs, zones.zones, request.keepOutMargin);
        if (!passes.ok) {
            return SeaSurveyResult{false, passes.error, {}};
        }
        for (ZoneShape& zone : zones.zones) {
            result.survey.zones.push_back(std::move(zone.record));
        }
        result.survey.passes = std::move(passes.passes);
        result.survey.surroundings = zones.surroundings;
    }
    return result;
}
