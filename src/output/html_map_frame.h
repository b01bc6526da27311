// The HTML preview's map: the page layout and how a position on the globe lands on it.
#pragma once

#include "route/geo_area.h"
#include "route/waypoint_list.h"

#include <numbers>
#include <string>
#include <vector>

// The sphere the legs were measured on, so that the scale bar agrees with the distances.
constexpr double kMapEarthRadiusMeters = 6371000.0;
constexpr double kMapMetersPerDegree = kMapEarthRadiusMeters * std::numbers::pi / 180.0;

// Page layout in SVG units: a band for the legend and the north arrow on top, the map area
// in the middle and a band for the scale bar below.
constexpr double kPageWidth = 960.0;
constexpr double kPageHeight = 700.0;
constexpr double kMapLeft = 40.0;
constexpr double kMapTop = 80.0;
constexpr double kMapWidth = 880.0;
constexpr double kMapHeight = 550.0;
constexpr double kScaleBarY = 675.0;
// The legend's second row, for what a survey or the sea adds to the map.
constexpr double kSecondLegendRowY = 52.0;
// Vertices closer than this to the last one drawn change nothing on the screen.
constexpr double kMinVertexStep = 0.5;

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

// The frame that fits the whole route into the map area, centred, and the outer rings of
// the areas given: a survey's area reaches beyond its lines, and would otherwise run under
// the legend.
MapFrame fitMapFrame(const WaypointList& route, const std::vector<GeoArea>& areas = {});

struct MapPoint {
    double x; // page units, to the right
    double y; // page units, down
};

MapPoint projectOnMap(const MapFrame& frame, double unwrappedLon, double lat);

// Every point of the route on the map, from the head on, longitudes taken the short way
// round from the point before.
std::vector<MapPoint> routeOnMap(const WaypointList& route, const MapFrame& frame);

// Length for a scale bar: 1, 2 or 5 times a power of ten, at most maxMeters.
double scaleBarMeters(double maxMeters);

// One ring as a closed figure of an SVG path's data ("M.. L.. Z", after the first ring of a
// path " M.. L.. Z"), the vertices as the map can show them (one where several fall on the
// same spot), a longitude more than 180 degrees from the map's middle taken the short way
// round to it. firstRing turns false once a ring is drawn.
void appendRingPath(std::string& text, const GeoRing& ring, const MapFrame& frame, bool& firstRing);
