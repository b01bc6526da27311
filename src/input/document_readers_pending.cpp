// Placeholders for the GIS readers until they are written; each refuses its format.
#include "input/document_readers.h"

namespace {

DocumentResult notYetRead(const std::string& format, const std::string& fileName) {
    DocumentResult result;
    result.ok = false;
    result.error = "*** " + fileName + ": " + format + " files are not read yet ***";
    return result;
}

} // namespace

DocumentResult readGpx(std::string_view, const std::string& fileName) {
    return notYetRead("GPX", fileName);
}

DocumentResult readKml(std::string_view, const std::string& fileName) {
    return notYetRead("KML", fileName);
}

DocumentResult readGeoJson(std::string_view, const std::string& fileName) {
    return notYetRead("GeoJSON", fileName);
}

bool gdalRecognises(const std::string&) {
    return false;
}

DocumentResult readWithGdal(const std::string&, const std::string& fileName) {
    return notYetRead("GIS", fileName);
}
