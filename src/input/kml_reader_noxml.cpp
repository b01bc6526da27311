// A build without pugixml reads no KML; it says which formats it reads.
#include "input/document_readers.h"
#include "input/document_text.h"

DocumentResult readKml(std::string_view, const std::string& fileName) {
    return {false,
            "*** " + fileName + ": this build of tavra does not read KML files; it reads " +
                formatsThisBuildReads() + " ***",
            {}};
}
