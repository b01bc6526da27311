// Fuzz target: the GeoJSON and TopoJSON readers on any bytes, as if they were a planner's
// file of either.
#include "document_check.h"
#include "input/document_readers.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view json = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    checkDocument(json, readGeoJson(bytes, "fuzz.geojson"));
    checkDocument(json, readTopoJson(bytes, "fuzz.topojson"));
    return 0;
}
