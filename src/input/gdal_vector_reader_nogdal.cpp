// A build without GDAL reads no other GIS formats; it says which ones it reads.
#include "input/document_readers.h"
#include "input/document_text.h"

bool gdalRecognises(const std::string&) {
    return false;
}

DocumentResult readWithGdal(const std::string&, const std::string& fileName, std::string_view) {
    return {false,
            "*** " + fileName + ": this build of tavra reads waypoint files in " +
                formatsThisBuildReads() + " only; other GIS formats need a build with GDAL ***",
            {}};
}
