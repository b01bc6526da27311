// A handler in front of GDAL's own for plain files, which refuses what lies outside the
// folders allowed, and what is no plain file, before GDAL's own handler opens it.
#include "gdal/gdal_file_lock.h"

#include "gdal/vrt_sources.h"

#include <cerrno>
#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_vsi_virtual.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Folders {
    std::mutex mutex;
    std::vector<fs::path> always; // GDAL's own data
    std::multiset<fs::path> held; // of the files whose datasets are being read
    std::size_t holders = 0;      // of handles, memory's among them
    std::string refusal;
};

// Never destroyed: GDAL may look files up as the process ends.
Folders& folders() {
    static Folders* const instance = new Folders;
    return *instance;
}

// Why the name may not be read, or empty: outside every folder held, or (to open) neither a
// plain file nor a folder.
std::string refusalOf(const char* name, bool opening) {
    std::error_code error;
    bool idle = false;
    {
        Folders& all = folders();
        const std::lock_guard lock(all.mutex);
        idle = all.holders == 0;
    }
    // Idle, the lock asks only what GDAL opens: GDAL looks files up by the dozen.
    if (idle && !opening) {
        return "";
    }
    const fs::path real = fs::weakly_canonical(fs::absolute(name, error), error);
    if (error) {
        return idle ? "" : "\"" + std::string(name) + "\", which cannot be found";
    }
    if (!idle) {
        Folders& all = folders();
        const std::lock_guard lock(all.mutex);
        if (!liesInAnyFolder(real, all.always) && !liesInAnyFolder(real, all.held)) {
            return "\"" + real.string() + "\", outside its own folder";
        }
    }
    // A folder is no danger: it cannot keep a run waiting, as a pipe or a device can.
    const fs::file_type type = fs::status(real, error).type();
    if (opening && !error && type != fs::file_type::regular && type != fs::file_type::directory) {
        return "\"" + real.string() + "\", which is no plain file";
    }
    return "";
}

bool writes(std::string_view access) {
    return access.find_first_of("wa+") != std::string_view::npos;
}

// Everything else is GDAL's own handler's; what reads is asked of the folders first.
class FolderLock final : public VSIFilesystemHandler {
  public:
    // GDAL's own handler is this one's now: GDAL deletes this one as it ends.
    explicit FolderLock(VSIFilesystemHandler* plain) : plain_(plain) {}

    VSIVirtualHandle* Open(const char* name, const char* access, bool setError,
                           CSLConstList options) override {
        if (!writes(access)) {
            const std::string refusal = refusalOf(name, true);
            if (!refusal.empty()) {
                Folders& all = folders();
                const std::lock_guard lock(all.mutex);
                all.refusal = refusal;
                errno = EACCES;
                return nullptr;
            }
        }
        return plain_->Open(name, access, setError, options);
    }
    int Stat(const char* name, VSIStatBufL* buffer, int flags) override {
        if (!refusalOf(name, false).empty()) {
            errno = ENOENT;
            return -1;
        }
        return plain_->Stat(name, buffer, flags);
    }
    char** ReadDirEx(const char* name, int most) override {
        return refusalOf(name, false).empty() ? plain_->ReadDirEx(name, most) : nullptr;
    }
    char** SiblingFiles(const char* name) override {
        return refusalOf(name, false).empty() ? plain_->SiblingFiles(name) : nullptr;
    }
    VSIDIR* OpenDir(const char* name, int depth, const char* const* options) override {
        return refusalOf(name, false).empty() ? plain_->OpenDir(name, depth, options) : nullptr;
    }
    int Unlink(const char* name) override { return plain_->Unlink(name); }
    int Rename(const char* from, const char* to) override { return plain_->Rename(from, to); }
    int Mkdir(const char* name, long mode) override { return plain_->Mkdir(name, mode); }
    int Rmdir(const char* name) override { return plain_->Rmdir(name); }
    int IsCaseSensitive(const char* name) override { return plain_->IsCaseSensitive(name); }
    GIntBig GetDiskFreeSpace(const char* name) override { return plain_->GetDiskFreeSpace(name); }
    int SupportsSparseFiles(const char* name) override { return plain_->SupportsSparseFiles(name); }

  private:
    std::unique_ptr<VSIFilesystemHandler> plain_;
};

} // namespace

void lockGdalFiles() {
    static std::once_flag locked;
    std::call_once(locked, [] {
        // GDAL's own data (the GML registry, the CSV tables of coordinate systems): found
        // before the lock, which would hide the places GDAL looks for it.
        for (const char* known : {"gdalvrt.xsd", "header.dxf"}) {
            if (const char* found = CPLFindFile("gdal", known)) {
                for (const fs::path& folder : foldersOfFile(found)) {
                    folders().always.push_back(folder);
                }
            }
        }
        // The handler GDAL gives a name of no prefix of its own is the one for plain files.
        VSIFileManager::InstallHandler("", new FolderLock(VSIFileManager::GetHandler("")));
    });
}

std::shared_ptr<void> holdGdalFolderOf(const std::string& file) {
    std::vector<fs::path> found = file.empty() ? std::vector<fs::path>{} : foldersOfFile(file);
    {
        Folders& all = folders();
        const std::lock_guard lock(all.mutex);
        all.held.insert(found.begin(), found.end());
        ++all.holders;
        all.refusal.clear();
    }
    return std::shared_ptr<void>(nullptr, [found = std::move(found)](void*) {
        Folders& all = folders();
        const std::lock_guard lock(all.mutex);
        for (const fs::path& folder : found) {
            all.held.erase(all.held.find(folder));
        }
        --all.holders;
    });
}

std::string takeGdalFileRefusal() {
    Folders& all = folders();
    const std::lock_guard lock(all.mutex);
    return std::exchange(all.refusal, std::string());
}

std::vector<fs::path> foldersOfFile(const std::string& file) {
    std::error_code error;
    std::vector<fs::path> found;
    const fs::path given = fs::absolute(file, error);
    if (error) {
        return found;
    }
    const fs::path named = fs::weakly_canonical(given.parent_path(), error);
    if (!error) {
        found.push_back(named);
    }
    const fs::path real = fs::weakly_canonical(given, error).parent_path();
    if (!error && real != named) {
        found.push_back(real);
    }
    return found;
}
