// The graticule of the HTML preview's map: lines of latitude and longitude, labelled.
#pragma once

#include "output/html_map_frame.h"

#include <string>

// Lines of latitude and longitude across the map area at round steps in degrees (1, 2 or 5
// times a power of ten, a few lines each way), latitudes labelled inside its left edge and
// longitudes inside its bottom edge, in signed decimal degrees. A longitude label lies in
// -180..180 however far the route's run of longitudes goes past 180 (180 itself is 180). Only
// latitudes on the globe are drawn; nothing where the frame places nothing.
void appendGraticule(std::string& text, const MapFrame& frame);
