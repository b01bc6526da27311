// The faces of a plane graph of noded segments, found by walking round them edge by edge:
// what GEOS's polygonizer gives, without its graph of objects, for the many decompositions
// the heading search weighs.
#pragma once

#include "survey/plane.h"

#include <optional>
#include <vector>

// A segment of the graph, and whether the faces on its two sides are wanted.
struct FaceEdge {
    PlanePoint from;
    PlanePoint to;
    bool insideLeft = false;  // the face to the left, looking from `from` to `to`
    bool insideRight = false; // and to the right
};

// The outlines of the faces inside, counterclockwise, each vertex once. The edges must meet
// only at their ends, as noded lines do. None when they do not bound such faces: a face inside
// met from outside, an edge with the same face on both sides (a cut into a face, which the
// polygonizer would drop), a face with a hole, two edges on top of each other.
std::optional<std::vector<PlaneRing>> insideFaces(const std::vector<FaceEdge>& edges);
