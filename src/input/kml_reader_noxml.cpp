// A build without pugixml reads no KML.
#include "input/document_readers.h"

DocumentResult readKml(std::string_view, const std::string& fileName) {
    return {false, "*** " + fileName + ": this build of tavra does not read KML files ***", {}};
}
