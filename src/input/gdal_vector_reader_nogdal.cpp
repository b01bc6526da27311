// A build without GDAL reads no other GIS formats; it says which ones it reads.
#include "input/document_readers.h"

namespace {

#ifdef TAVRA_HAVE_XML
constexpr const char* kFormatsRead = "plain text, CSV, GPX, KML and GeoJSON";
#else
constexpr const char* kFormatsRead = "plain text, CSV and GeoJSON";
#endif

} // namespace

bool gdalRecognises(const std::string&) {
    return false;
}

DocumentResult readWithGdal(const std::string&, const std::string& fileName) {
    return {false,
            "*** " + fileName + ": this build of tavra reads waypoint files in " + kFormatsRead +
                " only; other GIS formats need a build with GDAL ***",
            {}};
}
