// What the safe output file needs from the operating system: a per-process tag for the
// temporary name, and removal of the temporary file when the run is interrupted.
#pragma once

#include <string>

// The process id as text, so that two runs in one directory never share a temporary file.
std::string processTag();

// From now until disarmed, an interrupt, termination or hang-up removes the file at path
// before the process ends the way the signal would have ended it; a write past the
// file-size limit fails instead of killing the process. Signals the process ignores stay
// ignored.
void armTemporaryFileCleanup(const std::string& path);

// Puts back the handlers that were in force before arming.
void disarmTemporaryFileCleanup();
