// Fuzz target: the GeoJSON reader on any bytes, as if they were a planner's GeoJSON file.
#include "document_check.h"
#include "input/document_readers.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkDocument(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes,
                  readGeoJson(bytes, "fuzz.geojson"));
    return 0;
}
