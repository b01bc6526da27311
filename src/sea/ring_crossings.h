// Whether a ring's edges near a box meet one another, found by one sweep across them.
#pragma once

#include "route/geo_area.h"

#include <ogr_geometry.h>

// True when two edges of the ring whose bounding boxes reach into the box (the edges that
// may pass through it) meet anywhere but at the vertex one edge hands to the next, when the
// ring comes back to a vertex it has left, when an edge folds back along the one before it,
// or when GEOS cannot tell on which side of an edge a place lies: a ring that may not bound
// a valid polygon there. False: near the box, the ring is simple. A sweep keeps the edges it
// crosses in order and compares each only with its neighbours there, where GEOS's validity
// check compares every edge with every edge whose bounding box meets its own, and the long
// thin spikes of a star put thousands of edges in the box of each.
bool ringMeetsItselfNearBox(const OGRLinearRing& ring, const GeoBox& box);
