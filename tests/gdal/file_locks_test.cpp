// Tests of what GDAL and PROJ may open once tavra has locked them: files in the folders held
// and their own data, never a pipe, and nothing elsewhere while a folder is held.
#include "gdal/gdal_file_lock.h"
#include "gdal/gdal_setup.h"

#include <atomic>
#include <chrono>
#include <cpl_conv.h>
#include <cpl_vsi.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <proj.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct LockFolders {
    // Of this process: other checkouts' builds may run the same test at the same time.
    fs::path top = fs::temp_directory_path() / ("tavra_file_locks_" + std::to_string(::getpid()));
    LockFolders() {
        fs::remove_all(top);
        for (const char* folder : {"input/sub", "elsewhere"}) {
            fs::create_directories(top / folder);
        }
        for (const char* file : {"input/grid.tif", "input/sub/part.dat", "elsewhere/data.dat"}) {
            std::ofstream(top / file) << "x";
        }
        ::mkfifo((top / "input" / "pipe.dat").c_str(), 0600);
        fs::create_symlink(top / "elsewhere" / "data.dat", top / "input" / "link.dat");
        fs::create_symlink(top / "elsewhere" / "data.dat", top / "input" / "linked.tif");
    }
    ~LockFolders() { fs::remove_all(top); }
};

// Should a reader wait on the pipe, a writer comes after ten seconds and says so: a test that
// fails, rather than one that waits for ever.
class PipeWatch {
  public:
    explicit PipeWatch(const fs::path& pipe)
        : writer_([this, pipe] {
              for (int tenths = 0; !done_; ++tenths) {
                  const int opened =
                      tenths < 100 ? -1 : ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
                  if (opened >= 0) {
                      waitedOn_ = true;
                      ::close(opened);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
              }
          }) {}
    ~PipeWatch() { stop(); }
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;
    // Whether a reader waited on the pipe.
    bool stop() {
        done_ = true;
        if (writer_.joinable()) {
            writer_.join();
        }
        return waitedOn_;
    }

  private:
    std::atomic<bool> done_{false};
    std::atomic<bool> waitedOn_{false};
    std::thread writer_;
};

// Whether GDAL opens the file to read, as a driver would.
bool gdalReads(const fs::path& file) {
    VSILFILE* opened = VSIFOpenL(file.c_str(), "rb");
    if (opened != nullptr) {
        VSIFCloseL(opened);
    }
    return opened != nullptr;
}

} // namespace

TEST(FileLocks, GdalReadsOnlyPlainFilesInTheFoldersHeld) {
    prepareGdal();
    LockFolders folders;
    const fs::path input = folders.top / "input";
    const fs::path gdalData = CPLFindFile("gdal", "gdalvrt.xsd");
    const struct {
        std::string held; // the file whose folder is held; "-" none at all, "" bytes in memory
        fs::path read;
        bool reads;
        std::string refusal; // what the lock says of it, after the folder
    } cases[] = {
        {"-", folders.top / "elsewhere" / "data.dat", true, ""},
        {"-", input / "pipe.dat", false, "which is no plain file"},
        {(input / "grid.tif").string(), input / "sub" / "part.dat", true, ""},
        {(input / "grid.tif").string(), gdalData, true, ""},
        {(input / "grid.tif").string(), folders.top / "elsewhere" / "data.dat", false,
         "outside its own folder"},
        {(input / "grid.tif").string(), input / "link.dat", false, "outside its own folder"},
        {(input / "grid.tif").string(), input / "pipe.dat", false, "which is no plain file"},
        {(input / "linked.tif").string(), folders.top / "elsewhere" / "data.dat", true, ""},
        {"", input / "grid.tif", false, "outside its own folder"},
        {"", gdalData, true, ""},
    };
    for (const auto& c : cases) {
        const std::shared_ptr<void> held = c.held == "-" ? nullptr : holdGdalFolderOf(c.held);
        PipeWatch watch(input / "pipe.dat");
        EXPECT_EQ(gdalReads(c.read), c.reads) << c.held << " held, reading " << c.read;
        EXPECT_FALSE(watch.stop()) << c.held << " held, reading " << c.read;
        const std::string refusal = takeGdalFileRefusal();
        EXPECT_EQ(refusal.empty() ? "" : refusal.substr(refusal.find("\", ") + 3), c.refusal)
            << c.held << " held, reading " << c.read;
    }
}

// PROJ's contexts, as GDAL makes them, open a grid that a coordinate system names only in
// PROJ's own data: a pipe named as a grid is not waited on, while its own grids and its
// database still open.
TEST(FileLocks, ProjOpensOnlyItsOwnData) {
    lockGdalNetwork();
    LockFolders folders;
    const fs::path pipe = folders.top / "input" / "pipe.dat";
    PipeWatch watch(pipe);
    PJ_CONTEXT* context = proj_context_create();
    proj_log_level(context, PJ_LOG_NONE);
    PJ* shift = proj_create(context, ("+proj=hgridshift +grids=" + pipe.string()).c_str());
    EXPECT_FALSE(watch.stop());
    EXPECT_EQ(shift, nullptr);
    proj_destroy(shift);
    // A grid of PROJ's own data (Debian's proj-data) by its name, and its database.
    for (const char* definition : {"+proj=hgridshift +grids=BETA2007.gsb", "EPSG:4326"}) {
        PJ* opened = proj_create(context, definition);
        EXPECT_NE(opened, nullptr) << definition;
        proj_destroy(opened);
    }
    proj_context_destroy(context);
}
