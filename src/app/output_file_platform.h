// What the safe output file needs from the operating system: a per-process tag for the
// temporary name, removal of the temporary file when the run is interrupted, a lock that
// keeps two runs from writing under one stem, and when a file was last written.
#pragma once

#include <cstdint>
#include <optional>
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

// Takes the lock file at path for this process alone, making it if need be: taken, held by
// another process, or impossible here (the folder is gone or takes no file; writing there
// fails too, with its own message). A process holds one such lock at a time, and loses it
// when it ends, however it ends.
enum class StemLock { taken, busy, impossible };
StemLock tryLockOutputStem(const std::string& path);

// Gives the lock up and removes its file.
void unlockOutputStem();

// When the file at path was last written, in seconds since 1970 UTC; nothing when there is
// no such file.
std::optional<std::int64_t> lastWriteTime(const std::string& path);
