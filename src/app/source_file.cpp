// Reads a waypoint or area file whole into memory, once, with lines of bounded length.
#include "app/source_file.h"

#include "app/console.h"
#include "input/line_text.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 16;

} // namespace

bool openSource(const std::string& name, std::istream* standardInput, OpenedSource& opened) {
    opened = OpenedSource{};
    // Every message names the file; a control character in the name must not act on the
    // console that shows it.
    opened.name = escapedText(name);
    if (name == "-" && standardInput != nullptr) {
        // Messages name it in words: "- line 2" reads as a typing slip.
        opened.name = "standard input";
        readStandardInputAsBytes();
        opened.stream = standardInput;
        return true;
    }
    // A name with a NUL byte would open the file named by its first part only.
    if (name.empty() || name.find('\0') != std::string::npos) {
        return false;
    }
    std::error_code error;
    const auto type = std::filesystem::status(name, error).type();
    // Reading a directory fails only after it has opened.
    if (type == std::filesystem::file_type::directory) {
        return false;
    }
    // Read as the bytes stand, so that a file gives the same route on every system: Windows
    // text mode would end the file at a stray Ctrl-Z and quietly drop the waypoints after it.
    // The readers themselves take CR LF line ends.
    opened.file = std::make_unique<std::ifstream>(name, std::ios::in | std::ios::binary);
    if (!opened.file->is_open()) {
        opened.file.reset();
        return false;
    }
    opened.stream = opened.file.get();
    // Only a file that stays where it is may be handed to GDAL by name: a pipe's bytes are
    // gone once read.
    if (type == std::filesystem::file_type::regular) {
        opened.path = name;
    }
    return true;
}

SourceReadResult readOpenedSource(OpenedSource& opened, SourceFile& file) {
    file.name = opened.name;
    file.path = opened.path;
    file.bytes.clear();
    SourceReadResult result;
    std::istream& in = *opened.stream;
    if (!opened.path.empty()) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(opened.path, error);
        if (!error) {
            try {
                // With room for the last, partly filled piece, so that it never doubles.
                file.bytes.reserve(static_cast<std::size_t>(size) + kChunkBytes);
            } catch (const std::exception&) {
                // Too large to reserve at once; it is read piece by piece instead.
            }
        }
    }
    LeadingKind kind = LeadingKind::undecided;
    std::size_t undecidedFrom = 0; // white space before it has been looked at
    std::size_t lineLength = 0;    // bytes since the last line end
    for (;;) {
        const std::size_t before = file.bytes.size();
        file.bytes.resize(before + kChunkBytes);
        in.read(file.bytes.data() + before, static_cast<std::streamsize>(kChunkBytes));
        const auto got = static_cast<std::size_t>(in.gcount());
        file.bytes.resize(before + got);
        if (in.bad()) {
            result.ok = false;
            return result;
        }
        if (kind == LeadingKind::undecided) {
            kind = leadingKind(file.bytes, undecidedFrom);
            undecidedFrom = file.bytes.size() < 3 ? 0 : file.bytes.size();
        }
        if (kind != LeadingKind::document) {
            const std::string_view chunk(file.bytes.data() + before, got);
            const std::size_t lastLineEnd = chunk.rfind('\n');
            lineLength =
                lastLineEnd == std::string_view::npos ? lineLength + got : got - lastLineEnd - 1;
            // The reader refuses the line from what has arrived: no need for the rest.
            if (lineLength > kMaxLineBytes) {
                break;
            }
        }
        if (got < kChunkBytes) {
            break;
        }
    }
    return result;
}

std::string readErrorMessage(const std::string& name) {
    return "*** READ ERROR *** " + name + ": the file could not be read to its end";
}

SourceFileStatus loadSourceFile(const std::string& name, std::istream& standardInput,
                                SourceFile& file, std::string& message) {
    OpenedSource opened;
    if (!openSource(name, &standardInput, opened)) {
        return SourceFileStatus::cannotOpen;
    }
    const SourceReadResult read = readOpenedSource(opened, file);
    if (!read.ok) {
        message = readErrorMessage(file.name);
        return SourceFileStatus::cannotRead;
    }
    return SourceFileStatus::loaded;
}
