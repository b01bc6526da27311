// Fuzz target: the GPX and the KML reader on the same bytes, as if they were a planner's
// GPX or KML file.
#include "document_check.h"
#include "input/document_readers.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkDocument(bytes, readGpx(bytes, "fuzz.gpx"));
    checkDocument(bytes, readKml(bytes, "fuzz.kml"));
    return 0;
}
