// The faces of a plane graph of noded segments, found by walking round them edge by edge:
// what GEOS's polygonizer gives, without its graph of objects, for the many decompositions
// the heading search weighs.
#pragma once

#include "survey/plane.h"

#include <optional>
#include <vector>

// An edge of the graph, a segment or a chain of them, and whether the faces on its two sides
// are wanted.
struct FaceEdge {
    PlanePoint from;
    PlanePoint to;
    bool insideLeft = false;  // the face to the left, looking from `from` to `to`
    bool insideRight = false; // and to the right
    // The vertices between from and to, in order, each unlike the one before: a stretch of a
    // ring between two nodes is one edge, so that the nodes are few to put in order.
    std::vector<PlanePoint> through = {};
};

// The outlines of the faces inside, counterclockwise. The edges must meet only at their ends,
// as noded lines do. None when they do not bound such faces: a face inside met from outside,
// an edge with the same face on both sides (a cut into a face, which the polygonizer would
// drop), a face with a hole, two edges on top of each other.
std::optional<std::vector<PlaneRing>> insideFaces(const std::vector<FaceEdge>& edges);
