// The legs of a planned route as the sea records count them, and the places along a leg.
#include "sea/route_legs.h"

#include "route/geodesy.h"

#include <cmath>

namespace {

bool onGlobe(const WaypointNode& node) {
    return std::isfinite(node.lat) && std::isfinite(node.lon) && node.lat >= -90.0 &&
           node.lat <= 90.0;
}

} // namespace

std::vector<SurveyLeg> routeLegs(const WaypointList& route) {
    std::vector<SurveyLeg> legs;
    // Summed as the plan report sums the distance run, so that both show the same figure.
    long double run = 0.0L;
    for (const WaypointNode* node = route.head; node != nullptr && node->next != nullptr;
         node = node->next) {
        SurveyLeg leg;
        leg.leg = legs.size();
        leg.fromNumber = node->wptNumber;
        leg.toNumber = node->next->wptNumber;
        leg.from = GeoPoint{node->lat, node->lon};
        leg.to = GeoPoint{node->next->lat, node->next->lon};
        leg.length = node->legDistance;
        leg.routeStart = static_cast<double>(run);
        leg.onGlobe = onGlobe(*node) && onGlobe(*node->next);
        legs.push_back(leg);
        run += node->legDistance;
    }
    return legs;
}

double sameTurn(double lon, double reference) {
    return lon + 360.0 * std::round((reference - lon) / 360.0);
}

double legSpan(const SurveyLeg& leg) {
    return greatCircleDistance(leg.from.lat, leg.from.lon, leg.to.lat, leg.to.lon);
}

GeoPoint placeAlong(const SurveyLeg& leg, double along) {
    const double span = legSpan(leg);
    if (!(along > 0.0) || !(span > 0.0)) {
        return leg.from;
    }
    if (along >= span) {
        return GeoPoint{leg.to.lat, sameTurn(leg.to.lon, leg.from.lon)};
    }
    const double heading = initialBearing(leg.from.lat, leg.from.lon, leg.to.lat, leg.to.lon);
    GeoPoint place = destinationPoint(leg.from.lat, leg.from.lon, heading, along);
    place.lon = sameTurn(place.lon, leg.from.lon);
    return place;
}

std::vector<GeoPoint> placesAlong(const SurveyLeg& leg, std::size_t count) {
    std::vector<GeoPoint> places;
    places.reserve(count + 1);
    const double span = legSpan(leg);
    const double heading = initialBearing(leg.from.lat, leg.from.lon, leg.to.lat, leg.to.lon);
    places.push_back(leg.from);
    for (std::size_t i = 1; i < count; ++i) {
        const double along = span * static_cast<double>(i) / static_cast<double>(count);
        GeoPoint place = destinationPoint(leg.from.lat, leg.from.lon, heading, along);
        place.lon = sameTurn(place.lon, places.back().lon);
        places.push_back(place);
    }
    if (count > 0) {
        places.push_back(GeoPoint{leg.to.lat, sameTurn(leg.to.lon, places.back().lon)});
    }
    return places;
}
