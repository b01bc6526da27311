// GDAL made ready for the process: no network, no files written beside the input, and only
// the drivers tavra uses.
#include "gdal/gdal_setup.h"

#include "gdal/gdal_drivers.h"
#include "gdal/gdal_file_lock.h"
#include "gdal/gdal_messages.h"
#include "gdal/proj_file_lock.h"

#include <algorithm>
#include <cpl_conv.h>
#include <cpl_http.h>
#include <cpl_string.h>
#include <cstring>
#include <gdal_priv.h>
#include <mutex>
#include <ogr_srs_api.h>
#include <utility>

namespace {

// GDAL's configuration, set over whatever the environment says: tavra's inputs are files
// on disk, and a run that only reads writes nothing beside them.
constexpr std::pair<const char*, const char*> kSettings[] = {
    // No .aux.xml written (or read) beside a grid.
    {"GDAL_PAM_ENABLED", "NO"},
    // No listing of the input's folder: the drivers ask for the side files they need.
    {"GDAL_DISABLE_READDIR_ON_OPEN", "YES"},
    // /vsicurl/ and the cloud file systems open no file whose name ends otherwise.
    {"CPL_VSIL_CURL_ALLOWED_EXTENSIONS", ".tavra-reads-nothing-over-the-network"},
    // GML: no .gfs or resolved copy written, no schema fetched, no xlink followed.
    {"GML_SKIP_RESOLVE_ELEMS", "ALL"},
    {"GML_DOWNLOAD_WFS_SCHEMA", "NO"},
    // A VRT (with --allowVrt) runs no Python of its own.
    {"GDAL_VRT_ENABLE_PYTHON", "NO"},
};

// Every HTTP request GDAL would make (WMS, WFS, schemas, ...) fails here, unsent.
CPLHTTPResult* refuseRequest(const char* url, CSLConstList, GDALProgressFunc, void*,
                             CPLHTTPFetchWriteFunc, void*, void*) {
    CPLError(CE_Failure, CPLE_AppDefined, "tavra sends no network request (%s)",
             url != nullptr ? url : "");
    auto* result = static_cast<CPLHTTPResult*>(CPLCalloc(1, sizeof(CPLHTTPResult)));
    result->nStatus = 1;
    result->pszErrBuf = CPLStrdup("tavra sends no network request");
    return result;
}

bool kept(const char* name) {
    const auto same = [name](const char* listed) { return std::strcmp(name, listed) == 0; };
    return std::any_of(kGridDrivers.begin(), kGridDrivers.end(), same) ||
           std::any_of(kVectorDrivers.begin(), kVectorDrivers.end(), same) ||
           std::any_of(kInnerDrivers.begin(), kInnerDrivers.end(), same) || same(kGridVrtDriver) ||
           same(kVectorVrtDriver);
}

} // namespace

void lockGdalNetwork() {
    static std::once_flag locked;
    std::call_once(locked, [] {
        // PROJ's folders found before GDAL makes a context of PROJ's, each locked as made.
        lockProjFiles();
        for (const auto& [key, value] : kSettings) {
            CPLSetConfigOption(key, value);
        }
        CPLHTTPSetFetchCallback(refuseRequest, nullptr);
        // PROJ fetches no transformation grid from its CDN, whatever PROJ_NETWORK says.
        OSRSetPROJEnableNetwork(FALSE);
    });
}

void prepareGdal() {
    lockGdalNetwork();
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        GdalMessages quiet;
        GDALAllRegister();
        // A driver not registered cannot be reached even by a file an allowed one opens
        // inside itself (a VRT's sources).
        GDALDriverManager* manager = GetGDALDriverManager();
        for (int i = manager->GetDriverCount() - 1; i >= 0; --i) {
            GDALDriver* driver = manager->GetDriver(i);
            if (!kept(driver->GetDescription())) {
                manager->DeregisterDriver(driver);
                GDALDestroyDriver(driver);
            }
        }
        lockGdalFiles();
    });
}
