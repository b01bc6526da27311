// Offline HTML preview of the planned route: an SVG map and the table of legs.
#pragma once

#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <cstddef>
#include <ostream>
#include <string>

// The map draws at most about this many direction arrows, however long the route.
constexpr std::size_t kMaxArrows = 300;

// One self-contained page (no script, tile or font from the network), well-formed XML as
// well as HTML: the route on a map fitted to it, north up, with numbered points (as many as
// have room), launch and split points marked apart, arrows along the legs, a scale bar and a
// north arrow; below it the table of legs with the distance and time run when each point is
// reached, and the totals as the CSV summary gives them. fileName names the page.
void writeHtmlPreview(std::ostream& out, const std::string& fileName, const WaypointList& route,
                      const RouteTotals& totals);

// How the map is fitted to a route: the page's own coordinates of a position.
struct MapFrame {
    double midLon = 0.0;         // degrees, middle of the route's (unwrapped) longitudes
    double midLat = 0.0;         // degrees, middle of its latitudes
    double pixelsPerMeter = 1.0; // the same east-west and north-south
    double metersPerLonDegree = 0.0;
};

// Longitude of lon taken the short way round from the previous point of the route, so that
// a route across the antimeridian is drawn as one piece, each leg the way it was measured.
double unwrappedLongitude(double previousUnwrapped, double previousLon, double lon);

// The frame that fits the whole route into the map area, centred.
MapFrame fitMapFrame(const WaypointList& route);

struct MapPoint {
    double x; // page units, to the right
    double y; // page units, down
};

MapPoint projectOnMap(const MapFrame& frame, double unwrappedLon, double lat);

// Length for a scale bar: 1, 2 or 5 times a power of ten, at most maxMeters.
double scaleBarMeters(double maxMeters);
