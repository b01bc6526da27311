// A build without pugixml reads no GPX; it says which formats it reads.
#include "input/document_readers.h"
#include "input/document_text.h"

DocumentResult readGpx(std::string_view, const std::string& fileName) {
    return {false,
            "*** " + fileName + ": this build of tavra does not read GPX files; it reads " +
                formatsThisBuildReads() + " ***",
            {}};
}
