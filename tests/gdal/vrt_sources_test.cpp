// Tests of what a VRT may name: files in its own folder or below it, and nothing else.
#include "gdal/vrt_sources.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct VrtFolder {
    // Of this process: other checkouts' builds may run the same test at the same time.
    fs::path top = fs::temp_directory_path() / ("tavra_vrt_sources_" + std::to_string(::getpid()));
    VrtFolder() {
        fs::remove_all(top);
        fs::create_directories(top / "vrt" / "sub");
        std::ofstream(top / "outside.tif") << "x";
        std::ofstream(top / "vrt" / "grid.tif") << "x";
        std::ofstream(top / "vrt" / "sub" / "grid.tif") << "x";
        fs::create_symlink(top / "outside.tif", top / "vrt" / "link.tif");
    }
    ~VrtFolder() { fs::remove_all(top); }

    // A VRT in the folder naming the source, as GDAL writes it; its path.
    std::string vrt(const std::string& name, const std::string& source, bool relative) const {
        const fs::path path = top / "vrt" / name;
        std::ofstream(path) << "<VRTDataset><VRTRasterBand><SimpleSource><SourceFilename "
                               "relativeToVRT=\""
                            << (relative ? 1 : 0) << "\">" << source
                            << "</SourceFilename></SimpleSource></VRTRasterBand></VRTDataset>";
        return path.string();
    }
};

} // namespace

TEST(VrtSources, OnlyFilesInTheVrtsFolderMayBeNamed) {
    VrtFolder folder;
    const std::string outside = (folder.top / "outside.tif").string();
    const struct {
        std::string source;
        bool relative;
        std::string refusal;
    } cases[] = {
        {"grid.tif", true, ""},
        {"sub/grid.tif", true, ""},
        {(folder.top / "vrt" / "grid.tif").string(), false, ""},
        {"../outside.tif", true, "it names \"../outside.tif\", outside its own folder"},
        {outside, false, "it names \"" + outside + "\", outside its own folder"},
        {"/etc/passwd", false, "it names \"/etc/passwd\", outside its own folder"},
        {"link.tif", true, "it names \"link.tif\", outside its own folder"},
        {"missing.tif", true, "it names \"missing.tif\", which is no file"},
        {"/vsicurl/http://127.0.0.1/x.tif", false,
         "it names \"/vsicurl/http://127.0.0.1/x.tif\", a GDAL virtual file name (/vsi...), not "
         "a file on disk; tavra opens files on disk only"},
        {"vrt://grid.tif", true,
         "it names \"vrt://grid.tif\", a URL, not a file on disk; tavra reads nothing over the "
         "network"},
        // A VRT beside it is followed: what it names counts as named.
        {"inner.vrt", true, "it names \"../outside.tif\", outside its own folder"},
    };
    folder.vrt("inner.vrt", "../outside.tif", true);
    for (const auto& c : cases) {
        EXPECT_EQ(vrtSourcesRefusal(folder.vrt("outer.vrt", c.source, c.relative)), c.refusal)
            << c.source;
    }
}
