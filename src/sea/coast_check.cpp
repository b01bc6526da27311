// The grid's land against a coastline.
#include "sea/coast_check.h"

#include "sea/route_legs.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Meters on the ground of a degree of latitude on tavra's sphere; a degree of longitude
// is this times the cosine of the latitude.
constexpr double kMetersPerDegree = 6371000.0 * 3.14159265358979323846 / 180.0;

// Meters that a distance in degrees (longitude and latitude as plane coordinates) is at
// least, anywhere up to the latitude given: a degree of longitude is the shortest there.
double leastMeters(double degrees, double latitude) {
    return degrees * kMetersPerDegree *
           std::cos(std::fabs(latitude) * 3.14159265358979323846 / 180.0);
}

} // namespace

CoastResult compareCoast(std::vector<LegSeabed>& seabed, const std::vector<SurveyLeg>& legs,
                         const ZoneSource& coast) {
    double largestCell = 0.0;
    for (const LegSeabed& leg : seabed) {
        for (const double side : {leg.cellWidth, leg.cellHeight}) {
            largestCell = std::isfinite(side) ? std::max(largestCell, side) : largestCell;
        }
    }
    // The coast is kept as far as a cell from the route (and 2 km more): a shore beyond
    // that lies more than half a cell from every cell the route crosses.
    const ZonesResult zones = prepareZones({coast}, legs, largestCell);
    if (!zones.ok) {
        return CoastResult{false, zones.error};
    }
    const std::vector<double> turns = routeRun(legs);
    for (LegSeabed& leg : seabed) {
        const SurveyLeg& planned = legs[leg.leg];
        const double halfCell = std::max(leg.cellWidth, leg.cellHeight) / 2.0;
        if (!(halfCell > 0.0)) {
            continue;
        }
        for (LegCell& cell : leg.cells) {
            if (!cell.crossed || cell.state != DepthState::known || cell.depth > 0.0) {
                continue;
            }
            const GeoPoint end = placeAlong(planned, cell.end);
            OGRLineString part;
            part.addPoint(cell.first.lon + turns[leg.leg], cell.first.lat);
            part.addPoint(sameTurn(end.lon, cell.first.lon) + turns[leg.leg], end.lat);
            const double latitude = std::max(std::fabs(cell.first.lat), std::fabs(end.lat));
            bool water = true;
            for (const ZoneShape& zone : zones.zones) {
                if (!water) {
                    break;
                }
                const double degrees = zone.geometry->Distance(&part);
                water = degrees >= 0.0 && leastMeters(degrees, latitude) > halfCell;
            }
            cell.coastWater = water;
        }
    }
    return {};
}
