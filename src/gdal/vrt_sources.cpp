// What a VRT names: every file it draws on must be a plain file in the VRT's own folder.
#include "gdal/vrt_sources.h"

#include "gdal/gdal_names.h"
#include "route/displayable_text.h"

#include <algorithm>
#include <array>
#include <cpl_minixml.h>
#include <cpl_string.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>

namespace {

namespace fs = std::filesystem;

// A VRT may draw on another VRT; a chain this long is no survey's.
constexpr int kMaxDepth = 8;
constexpr std::size_t kMaxShownCharacters = 80;

// The elements through which a raster VRT (SourceFilename, SourceDataset of a warped one)
// and a vector VRT (SrcDataSource) name the data they draw on.
constexpr std::array<const char*, 3> kSourceElements{"SourceFilename", "SourceDataset",
                                                     "SrcDataSource"};

struct XmlDeleter {
    void operator()(CPLXMLNode* node) const { CPLDestroyXMLNode(node); }
};

// Whether the file is a VRT itself, as GDAL's two VRT drivers recognise one.
bool isVrt(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::string head(1024, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    return head.find("<VRTDataset") != std::string::npos ||
           head.find("<OGRVRTDataSource") != std::string::npos;
}

std::string refusalIn(const fs::path& vrt, const fs::path& top, int depth);

std::string sourceRefusal(const CPLXMLNode& node, const fs::path& folder, const fs::path& top,
                          int depth) {
    const std::string text = CPLGetXMLValue(&node, nullptr, "");
    const std::string shown = "\"" + displayableText(text, kMaxShownCharacters) + "\"";
    const std::string nameRefusal = gdalNameRefusal(text);
    if (!nameRefusal.empty()) {
        return "it names " + shown + ", " + nameRefusal;
    }
    // GDAL takes a relative name against the VRT's folder when relativeToVRT says so, and
    // against the current folder otherwise.
    const bool relative = CPLTestBool(CPLGetXMLValue(&node, "relativeToVRT", "0"));
    std::error_code error;
    const fs::path given(text);
    const fs::path resolved = relative ? folder / given : fs::absolute(given, error);
    const fs::path real = fs::weakly_canonical(resolved, error);
    if (error || !liesInFolder(real, top)) {
        return "it names " + shown + ", outside its own folder";
    }
    const fs::file_type type = fs::status(real, error).type();
    if (type != fs::file_type::regular && type != fs::file_type::directory) {
        return "it names " + shown + ", which is no file";
    }
    if (type == fs::file_type::regular && isVrt(real)) {
        if (depth + 1 >= kMaxDepth) {
            return "it names " + shown + ", a VRT in a chain of VRTs too long to follow";
        }
        // GDAL opens it by the name it resolved, and takes its names against that folder.
        return refusalIn(resolved, top, depth + 1);
    }
    return "";
}

std::string refusalInNodes(const CPLXMLNode* node, const fs::path& folder, const fs::path& top,
                           int depth) {
    for (; node != nullptr; node = node->psNext) {
        if (node->eType != CXT_Element) {
            continue;
        }
        const bool names =
            std::any_of(kSourceElements.begin(), kSourceElements.end(),
                        [node](const char* element) { return EQUAL(node->pszValue, element); });
        std::string refusal = names ? sourceRefusal(*node, folder, top, depth)
                                    : refusalInNodes(node->psChild, folder, top, depth);
        if (!refusal.empty()) {
            return refusal;
        }
    }
    return "";
}

std::string refusalIn(const fs::path& vrt, const fs::path& top, int depth) {
    const std::unique_ptr<CPLXMLNode, XmlDeleter> root(CPLParseXMLFile(vrt.string().c_str()));
    if (!root) {
        return "its XML cannot be read";
    }
    return refusalInNodes(root.get(), vrt.parent_path(), top, depth);
}

} // namespace

bool liesInFolder(const fs::path& path, const fs::path& folder) {
    return !folder.empty() &&
           std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first ==
               folder.end();
}

std::string vrtSourcesRefusal(const std::string& path) {
    // GDAL takes relative names against the folder of the name it was given, which may be
    // a symbolic link: that folder, as it really is, is the one they must stay in.
    std::error_code error;
    const fs::path given = fs::absolute(path, error);
    const fs::path top = fs::canonical(given.parent_path(), error);
    if (error) {
        return "it cannot be found";
    }
    return refusalIn(given, top, 0);
}
