// Safe creation of an output file: a temporary file beside it, renamed only when complete.
#include "app/output_file.h"

#include "app/output_file_platform.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

// The dot in front hides it from a plain listing, and the process id after the full name
// keeps it apart from the outputs themselves and from another run's temporary file.
std::filesystem::path temporaryNameFor(const std::filesystem::path& target) {
    // Appended piece by piece: GCC 12 sees a text put in front of a temporary string as a
    // possible overlap (-Wrestrict) where there is none.
    std::string name = ".";
    name += target.filename().string();
    name += '.';
    name += processTag();
    name += ".tmp";
    return target.parent_path() / name;
}

void removeQuietly(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

} // namespace

OutputFileStatus writeOutputFile(const std::string& name,
                                 const std::function<void(std::ostream&)>& write,
                                 std::string* reason) {
    const std::filesystem::path target(name);
    std::error_code error;
    // The system says why at the moment of failure; later calls may change errno.
    const auto noteReason = [reason](int number) {
        if (reason != nullptr && reason->empty()) {
            *reason = std::generic_category().message(number != 0 ? number : EIO);
        }
    };
    // A directory in the way can never be replaced by the file, so say so before writing.
    if (std::filesystem::is_directory(target, error)) {
        noteReason(EISDIR);
        return OutputFileStatus::cannotOpen;
    }

    const std::filesystem::path temporary = temporaryNameFor(target);
    armTemporaryFileCleanup(temporary.string());
    OutputFileStatus status = OutputFileStatus::written;
    {
        errno = 0;
        std::ofstream file(temporary, std::ios::out | std::ios::trunc);
        if (!file.is_open()) {
            noteReason(errno);
            status = OutputFileStatus::cannotOpen;
        } else {
            // The first failed write (a full disk, a file-size limit) leaves its errno.
            errno = 0;
            try {
                write(file);
            } catch (...) {
                file.close();
                removeQuietly(temporary);
                disarmTemporaryFileCleanup();
                throw;
            }
            // A full disk or a file-size limit shows only here; the vehicle must never get
            // a truncated mission script that looks complete.
            file.flush();
            file.close();
            if (file.fail()) {
                noteReason(errno);
                status = OutputFileStatus::cannotWrite;
            }
        }
    }
    if (status == OutputFileStatus::written) {
        std::filesystem::rename(temporary, target, error);
        if (error) {
            noteReason(error.value());
            status = OutputFileStatus::cannotWrite;
        }
    }
    if (status == OutputFileStatus::cannotWrite) {
        removeQuietly(temporary);
    }
    disarmTemporaryFileCleanup();
    return status;
}
