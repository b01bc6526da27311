// Writes an output file safely: into a temporary file beside it, renamed on success.
#pragma once

#include <functional>
#include <ostream>
#include <string>

enum class OutputFileStatus { written, cannotOpen, cannotWrite };

// Calls write with a text-mode stream on a temporary file in the same directory as
// name, and renames it onto name only when every write and the close succeeded.
// On failure the temporary file is removed and an existing file of that name is left
// as it was. An interrupt while the file is open removes the temporary file too. On failure
// reason, when given, gets the system's words for why ("Permission denied").
OutputFileStatus writeOutputFile(const std::string& name,
                                 const std::function<void(std::ostream&)>& write,
                                 std::string* reason = nullptr);
