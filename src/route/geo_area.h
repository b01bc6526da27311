// A polygon on the globe, as a survey area or a keep-out zone: its boundary and its holes.
#pragma once

#include <string>
#include <vector>

struct GeoPoint {
    double lat = 0.0; // decimal degrees, north positive
    double lon = 0.0; // decimal degrees, east positive
};

// The vertices in order, without a repeated closing vertex: the last joins the first.
using GeoRing = std::vector<GeoPoint>;

struct GeoArea {
    std::string name;           // as the file calls it, or its number there when unnamed
    GeoRing outer;              // the boundary
    std::vector<GeoRing> holes; // inside the boundary, where the vehicle must not go
};

// A longitude/latitude box; longitudes on the route's own run (they may pass 180).
struct GeoBox {
    double west = 0.0;
    double east = 0.0;
    double south = 0.0;
    double north = 0.0;
};
