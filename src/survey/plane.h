// Points and polygons in the flat frame of a survey, in meters.
#pragma once

#include <vector>

// In the area's frame x points east and y north. In the frame of the lines x runs along the
// lines and y across them, to their left.
struct PlanePoint {
    double x = 0.0; // meters
    double y = 0.0; // meters
};

// The vertices in order, without a repeated closing vertex: the last joins the first.
using PlaneRing = std::vector<PlanePoint>;

// The boundary counterclockwise and the holes clockwise, so that the water lies to the left
// of every edge.
struct PlaneArea {
    PlaneRing outer;
    std::vector<PlaneRing> holes;
};

struct PlaneSegment {
    PlanePoint start;
    PlanePoint end;
};

double distance(PlanePoint a, PlanePoint b);

// The area enclosed, in square meters, positive when the ring runs counterclockwise.
double signedArea(const PlaneRing& ring);

// Turns rings so that the boundary runs counterclockwise and the holes clockwise.
void orientRings(PlaneArea& area);

// The frame of lines that run on a heading: a rotation of the area's frame.
struct LineAxes {
    double heading = 0.0; // degrees clockwise from north
    double sin = 0.0;     // of the heading
    double cos = 1.0;
};

LineAxes lineAxes(double heading);
PlanePoint toLineFrame(const LineAxes& axes, PlanePoint eastNorth);
PlanePoint fromLineFrame(const LineAxes& axes, PlanePoint alongAcross);
PlaneArea toLineFrame(const LineAxes& axes, const PlaneArea& eastNorth);

struct Extent {
    double low = 0.0;
    double high = 0.0;
};

// The span of the area's y, across the lines in the frame of the lines.
Extent acrossExtent(const PlaneArea& area);
// The span of the area's x, along the lines.
Extent alongExtent(const PlaneArea& area);
