// What a VRT names: every file it draws on must be a plain file in the VRT's own folder.
#pragma once

#include <filesystem>
#include <string>

// Why GDAL may not open the VRT (raster or vector) at path: it names a server, a
// connection, a GDAL virtual file, or a file outside its own folder or below it (through a
// symbolic link too), or what it names does not exist. Empty when every file it names, and
// every file a VRT among them names, is a file in the folder.
std::string vrtSourcesRefusal(const std::string& path);

// Whether the path, made canonical, lies in the canonical folder or below it.
bool liesInFolder(const std::filesystem::path& path, const std::filesystem::path& folder);

// Whether it lies in any of the folders.
template <typename Folders>
bool liesInAnyFolder(const std::filesystem::path& path, const Folders& folders) {
    for (const std::filesystem::path& folder : folders) {
        if (liesInFolder(path, folder)) {
            return true;
        }
    }
    return false;
}
