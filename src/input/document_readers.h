// The readers of the GIS formats, each from the whole file in memory.
#pragma once

#include "input/source_document.h"

#include <string>
#include <string_view>

// GPX 1.0/1.1: the routes, else the tracks (segments joined), else the waypoints.
DocumentResult readGpx(std::string_view bytes, const std::string& fileName);

// KML 2.2: paths (LineString, gx:Track), else Point placemarks; Polygons as areas.
DocumentResult readKml(std::string_view bytes, const std::string& fileName);

// GeoJSON (RFC 7946): LineString, MultiPoint, Point features; Polygons as areas.
DocumentResult readGeoJson(std::string_view bytes, const std::string& fileName);

// Whether the bytes are TopoJSON (a JSON object whose type is "Topology"): JSON, but for
// the TopoJSON reader rather than the GeoJSON one. Stops reading at the top-level type.
bool isTopoJson(std::string_view bytes);

// TopoJSON: every geometry of every object, its arcs joined; LineStrings and MultiPoints
// as routes, Points as one run, Polygons as areas, named by properties.name.
DocumentResult readTopoJson(std::string_view bytes, const std::string& fileName);

// Whether GDAL knows the file at path as a vector format (false in a build without GDAL).
bool gdalRecognises(const std::string& path);

// Any vector file GDAL reads, transformed to WGS 84 longitude/latitude; in a build without
// GDAL, one message saying which formats this build reads. Where there is no path (standard
// input, a pipe), GDAL reads the bytes from memory, which serves the formats of one file
// (GeoPackage, FlatGeobuf, TopoJSON) but not a Shapefile, whose parts are files of their own.
DocumentResult readWithGdal(const std::string& path, const std::string& fileName,
                            std::string_view bytes = {});
