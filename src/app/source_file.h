// A waypoint or area file read whole into memory, once: a file, a named pipe, process
// substitution or standard input, so that the listing and the reading share its bytes.
#pragma once

#include "input/read_source.h"

#include <fstream>
#include <istream>
#include <memory>
#include <string>

struct SourceFile {
    std::string name;  // as the planner gave it, for messages
    std::string path;  // a regular file's path, which GDAL may open itself; else empty
    std::string bytes; // the content as read

    InputSource source() const { return InputSource{name, path, bytes}; }
};

// An input opened but not read yet.
struct OpenedSource {
    std::string name;
    std::string path;
    std::unique_ptr<std::ifstream> file; // none for standard input
    std::istream* stream = nullptr;      // the file, or standard input
};

// "-" is standardInput where there is one (the dialogue reads its answers there, so for
// it "-" is a file); any other name is opened as the bytes stand. Only a directory, a
// name with a NUL byte, and what cannot be opened are refused: a named pipe is opened like
// any file (and, like any Unix tool, waits for its writer).
bool openSource(const std::string& name, std::istream* standardInput, OpenedSource& opened);

struct SourceReadResult {
    bool ok = true; // false on a read error, which is no end of file
};

// Reads the opened input to its end, without seeking. Content in a line format stops being
// read at a line longer than kMaxLineBytes, which the reader then refuses; a document (XML,
// JSON) may have lines of any length.
SourceReadResult readOpenedSource(OpenedSource& opened, SourceFile& file);

// The message for a read error, naming the file.
std::string readErrorMessage(const std::string& name);

enum class SourceFileStatus { loaded, cannotOpen, cannotRead };

// Both steps, for the files named by options; on cannotRead, message holds the read error.
SourceFileStatus loadSourceFile(const std::string& name, std::istream& standardInput,
                                SourceFile& file, std::string& message);
