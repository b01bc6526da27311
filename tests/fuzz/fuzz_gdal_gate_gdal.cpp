// Fuzz target: the gate's reading of names and of VRT files. The first line is a name to
// classify; the rest is a VRT whose sources are checked. Neither may crash, and what they
// say must be fit for a console.
#include "check.h"
#include "gdal/gdal_names.h"
#include "gdal/vrt_sources.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

bool displayable(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t end = input.find('\n');
    const std::string_view name = input.substr(0, end);
    const std::string refusal = gdalNameRefusal(name);
    FUZZ_CHECK(refusal.empty() == (classifyGdalName(name) == GdalNameKind::file));
    FUZZ_CHECK(displayable(refusal));
    if (end == std::string_view::npos) {
        return 0;
    }
    static const std::filesystem::path folder = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() / "tavra_fuzz_vrt";
        std::filesystem::create_directories(made);
        return made;
    }();
    const std::filesystem::path vrt = folder / "fuzz.vrt";
    std::ofstream(vrt, std::ios::binary | std::ios::trunc) << input.substr(end + 1);
    FUZZ_CHECK(displayable(vrtSourcesRefusal(vrt.string())));
    return 0;
}
