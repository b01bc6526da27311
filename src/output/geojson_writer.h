// GeoJSON export (RFC 7946) of the planned route, for QGIS and web maps.
#pragma once

#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <ostream>

// A FeatureCollection holding the route as one LineString (when it has two points or more)
// and one Point per node, launch waypoint first, each with its number, kind and the leg
// that leaves it; the totals stand on the collection and on the route. Coordinates are
// longitude first and exact.
void writeGeoJson(std::ostream& out, const WaypointList& route, const RouteTotals& totals);
