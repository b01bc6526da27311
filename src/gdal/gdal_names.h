// How GDAL would take a name it is handed: a file on disk, or something it reaches
// otherwise (a virtual file system, a URL, a connection to a database or server).
#pragma once

#include <string>
#include <string_view>

enum class GdalNameKind {
    file,        // a path on disk, as far as the name goes
    virtualFile, // /vsi...: GDAL's virtual file systems (archives, HTTP, cloud storage)
    url,         // scheme://...
    connection,  // NAME:...: a driver prefix (PG:, WMS:, NETCDF:...), or a name with no text
};

GdalNameKind classifyGdalName(std::string_view name);

// The prefix before the first ':' of a connection name, for messages ("PG").
std::string_view connectionPrefix(std::string_view name);

// Why the name is not a file on disk, in tavra's words; empty for a file.
std::string gdalNameRefusal(std::string_view name);
