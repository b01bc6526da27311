// A polygon grown by a small distance ring by ring: GEOS's buffer of a polygon with many
// holes places each hole's grown ring by looking through the edges of every ring placed before
// it, a cost of the holes times the edges, while the rings grown one by one cost their own
// edges each.
#pragma once

#include "survey/geos_context.h"

// The polygon grown by distance (meters, > 0) with quadrantSegments to a quarter circle, as
// GEOSBuffer_r gives it: each ring is grown (a hole shrunk) on its own, which gives the same
// rings wherever no two rings come within a few distances of each other; otherwise, or for
// anything but one polygon with holes, the buffer of the whole. What names the growth in a
// failure's message.
GeosGeometry grownByRings(const Geos& geos, const GEOSGeometry* polygon, double distance,
                          int quadrantSegments, const char* what);
