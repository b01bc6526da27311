// What a reader found in a waypoint or area file: routes and areas, every position with
// the place in the file it came from, so that each message can point at the input.
#pragma once

#include "route/geo_area.h"

#include <cstdint>
#include <string>
#include <vector>

struct SourcePoint {
    double lat = 0.0;       // decimal degrees, north positive
    double lon = 0.0;       // decimal degrees, east positive
    std::uint64_t line = 0; // 1-based line of the file, 0 where the format has no lines
};

// A route is positions in order (a path, a track, a run of points); an area is a polygon,
// its outer ring first and then its holes, each ring without a repeated closing vertex.
enum class FeatureShape { route, area };

struct SourceFeature {
    FeatureShape shape = FeatureShape::route;
    std::string name;       // as the file names it; empty when it has none
    std::string kind;       // what the file calls it, for messages: "GPX route", "KML path"
    std::uint64_t line = 0; // where it begins in the file, 0 where unknown
    std::vector<SourcePoint> points;             // route
    std::vector<std::vector<SourcePoint>> rings; // area
};

// A note on a position that was read but may not mean what it says; the plan check
// reports it as a warning.
struct SourceNote {
    std::uint64_t line = 0;
    std::string message;
};

struct SourceDocument {
    std::string format; // "plain", "CSV", "GPX", "KML", "GeoJSON", or GDAL's driver name
    std::vector<SourceFeature> features;
    std::vector<SourceNote> notes;
};

// A reader's result: the document, or the one message (file, line, offending text) that
// stopped it. Readers never print.
struct DocumentResult {
    bool ok = true;
    std::string error;
    SourceDocument document;
};
