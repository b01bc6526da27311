// The one door to GDAL's drivers: plain files on disk only, an allow-list of drivers per
// use, a VRT only on the planner's word and only naming files beside it.
#include "gdal/gdal_gate.h"

#include "gdal/gdal_drivers.h"
#include "gdal/gdal_file_lock.h"
#include "gdal/gdal_names.h"
#include "gdal/gdal_setup.h"
#include "gdal/vrt_sources.h"
#include "route/displayable_text.h"

#include <array>
#include <atomic>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <filesystem>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::atomic<bool> vrtAllowed{false};

// Drivers whose subdatasets a grid may be named by, as GDAL lists them for a file of
// several grids: NETCDF:"file.nc":variable, GPKG:file.gpkg:table.
constexpr std::array<const char*, 2> kSubdatasetPrefixes{"NETCDF", "GPKG"};

using DriverList = std::vector<const char*>; // ends with nullptr, as GDAL takes it

DriverList allowedFor(GdalUse use) {
    DriverList list;
    if (use == GdalUse::grid) {
        list.assign(kGridDrivers.begin(), kGridDrivers.end());
    } else {
        list.assign(kVectorDrivers.begin(), kVectorDrivers.end());
    }
    list.push_back(nullptr);
    return list;
}

const char* vrtDriverFor(GdalUse use) {
    return use == GdalUse::grid ? kGridVrtDriver : kVectorVrtDriver;
}

int kindFlag(GdalUse use) {
    return use == GdalUse::grid ? GDAL_OF_RASTER : GDAL_OF_VECTOR;
}

// Which of the drivers tavra knows takes the file, VRTs included, for naming what it is.
std::string identified(const std::string& path, int flags, const DriverList& drivers) {
    GDALDriverH driver = GDALIdentifyDriverEx(path.c_str(), flags, drivers.data(), nullptr);
    return driver == nullptr ? "" : GDALGetDescription(driver);
}

DriverList everyKnownDriver() {
    DriverList list(kGridDrivers.begin(), kGridDrivers.end());
    list.insert(list.end(), kVectorDrivers.begin(), kVectorDrivers.end());
    list.push_back(kGridVrtDriver);
    list.push_back(kVectorVrtDriver);
    list.push_back(nullptr);
    return list;
}

bool isFileToOpen(const std::string& path, GdalUse use) {
    std::error_code error;
    const fs::file_type type = fs::status(path, error).type();
    // A GDB "file" is a folder.
    return type == fs::file_type::regular ||
           (use == GdalUse::vector && type == fs::file_type::directory);
}

// The file on disk of a subdataset name of an allowed driver, or empty.
std::string subdatasetFile(const std::string& name, GdalUse use) {
    const std::string prefix(connectionPrefix(name));
    bool known = false;
    for (const char* listed : kSubdatasetPrefixes) {
        known = known || EQUAL(prefix.c_str(), listed);
    }
    if (use != GdalUse::grid || !known) {
        return "";
    }
    const std::string rest = name.substr(prefix.size() + 1);
    std::string file;
    if (!rest.empty() && rest.front() == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string::npos || rest.compare(close + 1, 1, ":") != 0) {
            return "";
        }
        file = rest.substr(1, close - 1);
    } else {
        const std::size_t colon = rest.rfind(':');
        file = rest.substr(0, colon == std::string::npos ? rest.size() : colon);
    }
    return classifyGdalName(file) == GdalNameKind::file && isFileToOpen(file, use) ? file : "";
}

// The name as GDAL is to be given it, or empty with the reason it is refused; file is the
// file on disk it opens.
std::string diskPath(const std::string& name, GdalUse use, std::string& file, std::string& reason) {
    const GdalNameKind kind = classifyGdalName(name);
    std::string path = name;
    file = name;
    if (kind == GdalNameKind::connection) {
        file = subdatasetFile(name, use);
        if (!file.empty()) {
            return name;
        }
        // A file that happens to be named like a connection string is that file, which
        // GDAL takes as such when the name leads with the folder.
        path = (fs::path(".") / name).string();
        file = path;
        if (name.find('\0') != std::string::npos || !isFileToOpen(path, use)) {
            reason = gdalNameRefusal(name);
            return "";
        }
        return path;
    }
    if (kind != GdalNameKind::file) {
        reason = gdalNameRefusal(name);
        return "";
    }
    std::error_code error;
    if (!fs::exists(fs::status(path, error))) {
        reason = "no such file";
        return "";
    }
    if (!isFileToOpen(path, use)) {
        reason = "not a regular file";
        return "";
    }
    return path;
}

std::string kindRefusal(const std::string& driver, GdalUse use) {
    if (driver == kGridVrtDriver || driver == kVectorVrtDriver) {
        return "a GDAL " + driver +
               " file, which can name other files and servers; tavra reads one only with "
               "--allowVrt";
    }
    return "a file of GDAL's " + driver + " driver, which tavra does not read for " +
           (use == GdalUse::grid ? "a grid" : "waypoints or areas") + "; it reads " +
           allowedGdalDrivers(use);
}

GdalOpening refused(GdalRefusal refusal, std::string reason) {
    GdalOpening opening;
    opening.refusal = refusal;
    opening.reason = std::move(reason);
    return opening;
}

// A file the dataset draws on outside the folder of the file opened (an ERS header's
// DataFile, an Imagine file's dependent file ...), or empty. Bytes in memory (no file)
// may draw on nothing outside GDAL's memory.
std::string fileOutsideFolder(GDALDataset& dataset, const std::string& file) {
    std::error_code error;
    // A grid linked into the mission's folder draws on the file it links to, and may on
    // what lies beside that.
    const std::vector<fs::path> folders =
        file.empty() ? std::vector<fs::path>{} : foldersOfFile(file);
    const CPLStringList files(dataset.GetFileList());
    for (int i = 0; i < files.size(); ++i) {
        const std::string listed = files[i];
        if (file.empty() || classifyGdalName(listed) != GdalNameKind::file) {
            if (!file.empty() || listed.rfind("/vsimem/", 0) != 0) {
                return listed;
            }
            continue;
        }
        // Named as it really is: GDAL lists it as the header spells it, "../" and all.
        const fs::path real = fs::weakly_canonical(fs::absolute(listed, error), error);
        if (error) {
            return listed;
        }
        if (!liesInAnyFolder(real, folders)) {
            return real.string();
        }
    }
    return "";
}

// Opens the path, already vetted, with the drivers allowed for the use; file is the file
// on disk it opens, empty for bytes in memory.
GdalOpening openVetted(const std::string& path, const std::string& file, GdalUse use) {
    // GDAL reads in this file's folder only, while the dataset lives.
    const std::shared_ptr<void> held = holdGdalFolderOf(file);
    const bool mayBeVrt = !file.empty();
    const int flags = kindFlag(use);
    DriverList drivers = allowedFor(use);
    const char* vrtDriver = vrtDriverFor(use);
    const std::string driver = identified(path, flags, DriverList{vrtDriver, nullptr});
    if (!driver.empty()) {
        if (!mayBeVrt || !vrtAllowed) {
            return refused(GdalRefusal::kind, mayBeVrt ? kindRefusal(driver, use)
                                                       : "a GDAL " + driver +
                                                             " file read from a pipe, which "
                                                             "has no folder for the files it "
                                                             "names; name the file instead");
        }
        const std::string refusal = vrtSourcesRefusal(path);
        if (!refusal.empty()) {
            return refused(GdalRefusal::kind, "a GDAL " + driver +
                                                  " file that tavra does not "
                                                  "open even with --allowVrt: " +
                                                  refusal);
        }
        drivers = {vrtDriver, nullptr};
    }
    // GML would write a .gfs file beside the input, and fetch a schema named in it.
    const char* const gmlOptions[] = {"WRITE_GFS=NO", "DOWNLOAD_SCHEMA=NO", nullptr};
    const bool gml = use == GdalUse::vector && identified(path, flags, {"GML", nullptr}) == "GML";
    if (gml) {
        drivers = {"GML", nullptr};
    }
    const int verbose = use == GdalUse::grid ? GDAL_OF_VERBOSE_ERROR : 0;
    GdalOpening opening;
    opening.dataset.reset(GDALDataset::Open(path.c_str(), flags | GDAL_OF_READONLY | verbose,
                                            drivers.data(), gml ? gmlOptions : nullptr, nullptr));
    if (opening.dataset) {
        opening.folder = held;
        const std::string outside = fileOutsideFolder(*opening.dataset, file);
        if (!outside.empty()) {
            return refused(GdalRefusal::kind,
                           "a file of GDAL's " +
                               std::string(GDALGetDescription(opening.dataset->GetDriver())) +
                               " driver that draws on \"" + displayableText(outside, 80) +
                               "\", outside its own folder");
        }
        return opening;
    }
    // A file the header names that the lock refused: said as such, not as a file unreadable.
    const std::string lockedOut = takeGdalFileRefusal();
    const std::string driverName = lockedOut.empty() ? "" : identified(path, flags, drivers);
    if (!driverName.empty()) {
        return refused(GdalRefusal::kind,
                       "a file of GDAL's " + driverName + " driver that draws on " + lockedOut);
    }
    const std::string other = identified(path, GDAL_OF_RASTER | GDAL_OF_VECTOR, everyKnownDriver());
    bool allowed = false;
    for (const char* listed : allowedFor(use)) {
        allowed = allowed || (listed != nullptr && other == listed);
    }
    if (!other.empty() && !allowed) {
        return refused(GdalRefusal::kind, kindRefusal(other, use));
    }
    opening.refusal = GdalRefusal::unreadable;
    return opening;
}

} // namespace

void allowGdalVrt(bool allowed) {
    vrtAllowed = allowed;
}

std::string allowedGdalDrivers(GdalUse use) {
    std::string text;
    for (const char* driver : allowedFor(use)) {
        if (driver != nullptr) {
            text += (text.empty() ? "" : ", ") + std::string(driver);
        }
    }
    return text;
}

GdalOpening openGdalFile(const std::string& name, GdalUse use) {
    prepareGdal();
    std::string file;
    std::string reason;
    const std::string path = diskPath(name, use, file, reason);
    if (path.empty()) {
        return refused(GdalRefusal::name, reason);
    }
    return openVetted(path, file, use);
}

GdalOpening openGdalBytes(std::string_view bytes, GdalUse use) {
    prepareGdal();
    if (bytes.empty()) {
        return refused(GdalRefusal::unreadable, "");
    }
    static std::atomic<unsigned> count{0};
    const std::string path = "/vsimem/tavra_input_" + std::to_string(++count);
    // GDAL only reads the bytes, which stay the caller's.
    auto* data = reinterpret_cast<GByte*>(const_cast<char*>(bytes.data()));
    VSILFILE* file =
        VSIFileFromMemBuffer(path.c_str(), data, static_cast<vsi_l_offset>(bytes.size()), FALSE);
    if (file == nullptr) {
        return refused(GdalRefusal::unreadable, "");
    }
    VSIFCloseL(file);
    std::shared_ptr<void> memory(nullptr, [path](void*) { VSIUnlink(path.c_str()); });
    GdalOpening opening = openVetted(path, "", use);
    opening.memory = std::move(memory);
    return opening;
}

bool gdalTakesForVector(const std::string& name) {
    prepareGdal();
    GdalMessages quiet;
    std::string file;
    std::string reason;
    const std::string path = diskPath(name, GdalUse::vector, file, reason);
    if (path.empty()) {
        return false;
    }
    const std::shared_ptr<void> held = holdGdalFolderOf(file);
    DriverList drivers = allowedFor(GdalUse::vector);
    drivers.insert(drivers.end() - 1, kVectorVrtDriver);
    return !identified(path, GDAL_OF_VECTOR, drivers).empty();
}
