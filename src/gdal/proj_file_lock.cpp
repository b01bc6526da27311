// PROJ's file callbacks on plain C files, which open only what lies in PROJ's own folders of
// data and is a plain file there; PROJ's own opening of files takes any name it is given,
// and a coordinate system read from a file may name any grid.
#include "gdal/proj_file_lock.h"

#include "gdal/vrt_sources.h"

#include <algorithm>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <proj.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Between the folders of PROJ's search path.
#ifdef _WIN32
constexpr char kPathSeparator = ';';
#else
constexpr char kPathSeparator = ':';
#endif

// PROJ's search paths and its folder for downloads; never destroyed, as PROJ may look a file
// up as the process ends.
std::vector<fs::path>& projFolders() {
    static auto* const folders = new std::vector<fs::path>;
    return *folders;
}

// As named and as it really is: an installation may link its data from elsewhere.
void addFolder(const char* folder) {
    std::error_code error;
    const fs::path named = fs::absolute(folder, error).lexically_normal();
    const fs::path real = fs::weakly_canonical(named, error);
    if (!error && !real.empty()) {
        projFolders().push_back(named);
        projFolders().push_back(real);
    }
}

// Whether PROJ may read the file: a plain file (or, to be looked up, anything) in its data.
// PROJ then says it cannot find what it may not read; it looks for its database under many
// names, and a message for each would drown the one that matters.
bool mayRead(const char* name, bool opening) {
    std::error_code error;
    const fs::path named = fs::absolute(name, error).lexically_normal();
    const fs::path real = fs::weakly_canonical(named, error);
    if (error) {
        return false;
    }
    // Named inside PROJ's own data, "../" resolved: what links there is the installation's.
    const bool inside =
        liesInAnyFolder(real, projFolders()) || liesInAnyFolder(named, projFolders());
    return inside && (!opening || fs::status(real, error).type() == fs::file_type::regular);
}

FILE* fileOf(PROJ_FILE_HANDLE* handle) {
    return reinterpret_cast<FILE*>(handle);
}

PROJ_FILE_HANDLE* openFile(PJ_CONTEXT*, const char* name, PROJ_OPEN_ACCESS access, void*) {
    if (access != PROJ_OPEN_ACCESS_READ_ONLY || !mayRead(name, true)) {
        return nullptr; // PROJ writes nothing either: its network, and so its cache, is off
    }
    return reinterpret_cast<PROJ_FILE_HANDLE*>(std::fopen(name, "rb"));
}

size_t readFile(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, void* buffer, size_t bytes, void*) {
    return std::fread(buffer, 1, bytes, fileOf(handle));
}

size_t writeFile(PJ_CONTEXT*, PROJ_FILE_HANDLE*, const void*, size_t, void*) {
    return 0;
}

int seekFile(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, long long offset, int whence, void*) {
    return fseeko(fileOf(handle), static_cast<off_t>(offset), whence) == 0;
}

unsigned long long tellFile(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, void*) {
    return static_cast<unsigned long long>(ftello(fileOf(handle)));
}

void closeFile(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, void*) {
    std::fclose(fileOf(handle));
}

int fileExists(PJ_CONTEXT*, const char* name, void*) {
    std::error_code error;
    return mayRead(name, false) && fs::exists(name, error);
}

int refuseChange(PJ_CONTEXT*, const char*, void*) {
    return 0;
}

int refuseRename(PJ_CONTEXT*, const char*, const char*, void*) {
    return 0;
}

PROJ_FILE_API lockedApi() {
    PROJ_FILE_API api{};
    api.version = 1;
    api.open_cbk = openFile;
    api.read_cbk = readFile;
    api.write_cbk = writeFile;
    api.seek_cbk = seekFile;
    api.tell_cbk = tellFile;
    api.close_cbk = closeFile;
    api.exists_cbk = fileExists;
    api.mkdir_cbk = refuseChange;
    api.unlink_cbk = refuseChange;
    api.rename_cbk = refuseRename;
    return api;
}

} // namespace

// GDAL makes PROJ's contexts itself, one per thread, and offers no way to reach them; a new
// context does not take the file callbacks of PROJ's default one. This definition stands in
// for PROJ's own (the program's definitions come first for the libraries it loads), calls
// it, and locks each context GDAL makes.
extern "C" PJ_CONTEXT* proj_context_create(void) {
    using Create = PJ_CONTEXT* (*)();
    static const auto create = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "proj_context_create"));
    PJ_CONTEXT* context = create != nullptr ? create() : nullptr;
    if (context != nullptr) {
        lockProjFiles();
        const PROJ_FILE_API api = lockedApi();
        proj_context_set_fileapi(context, &api, nullptr);
    }
    return context;
}

void lockProjFiles() {
    static std::once_flag locked;
    std::call_once(locked, [] {
        // Every folder it searches for its database and grids, as it says without opening
        // them: the paths set for it, else those of its environment and its installation.
        const PJ_INFO info = proj_info();
        for (std::size_t i = 0; i < info.path_count; ++i) {
            addFolder(info.paths[i]);
        }
        const std::string searched = info.searchpath != nullptr ? info.searchpath : "";
        for (std::size_t start = 0; start < searched.size();) {
            const std::size_t end = std::min(searched.find(kPathSeparator, start), searched.size());
            addFolder(searched.substr(start, end - start).c_str());
            start = end + 1;
        }
        if (const char* downloads = proj_context_get_user_writable_directory(nullptr, 0)) {
            addFolder(downloads);
        }
        const PROJ_FILE_API api = lockedApi();
        proj_context_set_fileapi(nullptr, &api, nullptr);
    });
}
