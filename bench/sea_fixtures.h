// A survey of 1000 waypoints off the coast of California and a grid of GEBCO's global size
// under it, made on the spot for the benchmarks of the sea checks.
#pragma once

#include "route/waypoint_list.h"

#include <string>

// 500 east-west lines of 10 km, 290 m apart, from Point Sur to Half Moon Bay (36.2 to
// 37.65 N, 122.35 to 122.24 W), joined end to end: 1000 waypoints, "lat lon" a line. The
// north end runs ashore near Pescadero, so some legs meet land.
std::string seaRouteText();

void fillSeaRoute(WaypointList& route);

// Writes at path a tiled GeoTIFF of 86400 x 43200 cells of 15 arc seconds, GEBCO's global
// size, 16-bit elevations: only the blocks from 35.5 to 38 N and 123 to 121 W are written
// (a shelf sloping up eastward, 60 to 90 m deep under the survey), the rest is left sparse
// and reads as no data. Returns an
// empty text, or what went wrong.
std::string writeGebcoSizeGrid(const std::string& path);

// Where npm's world-atlas keeps Natural Earth's 10 m land (TopoJSON): land-10m.json in the
// folder $TAVRA_WORLD_ATLAS names, else in node_modules/world-atlas in the current folder or
// one above it; empty if none.
std::string landFile();
