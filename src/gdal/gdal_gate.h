// The one door to GDAL's drivers: plain files on disk only, an allow-list of drivers per
// use, GDAL's network off, no files written beside the input.
#pragma once

#include "gdal/gdal_messages.h"

#include <gdal_priv.h>
#include <memory>
#include <string>
#include <string_view>

enum class GdalUse { grid, vector };

// Whether a VRT (a file of GDAL's that names other files) may be opened: off unless the
// planner says so. Set once by the app before anything is opened.
void allowGdalVrt(bool allowed);

enum class GdalRefusal {
    none,       // opened
    name,       // not a file on disk, or no such file
    kind,       // a file of a kind not allowed for this use
    unreadable, // no allowed driver could open it; GDAL's messages say why
};

struct GdalOpening {
    std::shared_ptr<void> memory; // the bytes' file in GDAL's memory, outliving the dataset
    std::shared_ptr<void> folder; // GDAL held to the file's folder while the dataset lives
    GDALDatasetUniquePtr dataset; // null when refused
    GdalRefusal refusal = GdalRefusal::none;
    std::string reason; // for name and kind, tavra's words, without the file name
};

// Hold a GdalMessages around these: GDAL's reasons for an unreadable file are in it.

// Opens the file named for the use. A name GDAL would take as a connection string is
// opened as the file of that name in the current folder, where there is one.
GdalOpening openGdalFile(const std::string& name, GdalUse use);

// Opens bytes held in memory (read from a pipe); the caller keeps them while the dataset
// lives. A VRT is refused here whatever allowGdalVrt says: it has no folder.
GdalOpening openGdalBytes(std::string_view bytes, GdalUse use);

// Whether the file is one GDAL would read as a vector file, allowed or not, so that a VRT
// or a service description is refused by name rather than read as lines of text.
bool gdalTakesForVector(const std::string& name);

// The drivers allowed for the use, for messages: "GTiff, COG, ...".
std::string allowedGdalDrivers(GdalUse use);
