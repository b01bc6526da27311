// The GDAL drivers tavra lets open a file, per use: formats whose content names no other
// file and no server.
#pragma once

#include <array>

// Bathymetry grids.
constexpr std::array<const char*, 11> kGridDrivers{
    "GTiff", "COG", "netCDF", "AAIGrid", "XYZ", "BAG", "GPKG", "HFA", "ERS", "EHdr", "NITF"};

// Waypoint files, survey areas and polygon files that tavra does not parse itself.
constexpr std::array<const char*, 13> kVectorDrivers{
    "ESRI Shapefile", "GPKG", "FlatGeobuf", "GeoJSON",     "GeoJSONSeq",  "TopoJSON", "GML", "KML",
    "LIBKML",         "GPX",  "CSV",        "OpenFileGDB", "MapInfo File"};

// GDAL's own virtual formats, which name the files they draw on: only on the planner's word.
constexpr const char* kGridVrtDriver = "VRT";
constexpr const char* kVectorVrtDriver = "OGR_VRT";

// Drivers the allowed ones use inside themselves (a GeoPackage's tiles are PNG or JPEG
// images; NITF holds JPEG 2000), never opened on a name tavra is given.
constexpr std::array<const char*, 6> kInnerDrivers{"MEM",  "Memory", "PNG",
                                                   "JPEG", "WEBP",   "JP2OpenJPEG"};
