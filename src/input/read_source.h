// Reads a waypoint or area file of any format tavra knows, recognised from its bytes, and
// picks the route or the area a run plans from it.
#pragma once

#include "input/source_document.h"
#include "route/geo_area.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file as the app layer loaded it.
struct InputSource {
    std::string name;       // as the planner gave it, for messages ("-" is standard input)
    std::string path;       // to hand to GDAL, which opens a file itself; empty for a pipe
    std::string_view bytes; // the whole content, read once
};

enum class SourceFormat { plain, csv, gpx, kml, geojson, gdal };

// What the bytes are: XML whose root is gpx or kml, a JSON document, a first line (past
// '#' comments and blank lines) naming a latitude and a longitude column, or else, when the
// first line is no position, a file GDAL recognises at path or a GIS database by its first
// bytes (shapefile, GeoPackage, FlatGeobuf); otherwise the plain format. A byte-order mark
// and CR LF are accepted throughout.
SourceFormat detectFormat(const InputSource& source);

// Reads every route and area of the file.
DocumentResult readSource(const InputSource& source);

struct RouteSelection {
    bool ok = true;
    std::string error;               // e.g. the list of candidates when --feature is needed
    std::vector<SourcePoint> points; // the route, in order
};

// The one route of the document, or the one --feature names (by name or 1-based number).
// An area is not a route, and is refused with a message that says so.
RouteSelection selectRoute(const SourceDocument& document, const std::string& fileName,
                           const std::optional<std::string>& feature);

struct AreaSelection {
    bool ok = true;
    std::string error;
    GeoArea area;
};

// The one area of the document, or the one --feature names. The positions of a plain or
// CSV file are the outer ring of an area, a last one repeating the first dropped.
AreaSelection selectArea(const SourceDocument& document, const std::string& fileName,
                         const std::optional<std::string>& feature);

struct AreasSelection {
    bool ok = true;
    std::string error;
    std::vector<GeoArea> areas;
};

// The areas --feature names, each once, in the order named; "all" names every area, unless a
// feature of the file has that very name. One name alone is selectArea's.
AreasSelection selectAreas(const SourceDocument& document, const std::string& fileName,
                           const std::vector<std::string>& features);

// Every area of the document, for keep-out zones and operating regions; unnamed ones are
// named by their number in the file.
AreasSelection allAreas(const SourceDocument& document, const std::string& fileName);
