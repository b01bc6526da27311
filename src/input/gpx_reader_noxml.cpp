// A build without pugixml reads no GPX.
#include "input/document_readers.h"

DocumentResult readGpx(std::string_view, const std::string& fileName) {
    return {false, "*** " + fileName + ": this build of tavra does not read GPX files ***", {}};
}
