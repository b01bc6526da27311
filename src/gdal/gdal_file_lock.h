// GDAL's plain files narrowed to the folders of the files tavra was named: a header that
// names a file elsewhere, or a pipe or a device, is not opened at all.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Puts the lock in front of GDAL's plain files, once. What GDAL opens to read must be a plain
// file (or a folder): a pipe named by a header would wait for a writer forever. While any folder is
// held (below), every file GDAL opens to read or looks up must lie in a folder held or among
// GDAL's own data. What GDAL writes is left to its configuration.
void lockGdalFiles();

// Holds the folder of a file tavra was named (as named, and as it really is) until the
// handle is let go; for bytes in memory (no file), no folder, which holds GDAL to its data.
std::shared_ptr<void> holdGdalFolderOf(const std::string& file);

// The folders a file's own files lie in: that of its name, and (where the name is a
// symbolic link) that of the file it really is. Canonical; none where neither can be found.
std::vector<std::filesystem::path> foldersOfFile(const std::string& file);

// What the lock last refused to open for reading, with why ("\"/x\", outside ..."), and
// forgets it; empty when it refused nothing since.
std::string takeGdalFileRefusal();
