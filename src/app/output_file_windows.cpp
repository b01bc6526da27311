// Clean-up of the temporary output file on Windows: an interrupt waits for the file.
#include "app/output_file_platform.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <io.h>
#include <process.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>

namespace {

// Windows cannot remove a file that is still open, and the console delivers Ctrl-C and
// Ctrl-Break on a thread of its own while the run goes on writing. So the handler only
// notes the interrupt; once the file is closed (and renamed or removed), disarming removes
// what is left of it and ends the process as the interrupt would have.
char temporaryPath[4096];
std::atomic<bool> armed{false};
std::atomic<int> pendingSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler may only use lock-free state");

using Handler = void (*)(int);
struct Caught {
    int signalNumber;
    Handler previous;
};
Caught caught[] = {{SIGINT, SIG_DFL}, {SIGBREAK, SIG_DFL}, {SIGTERM, SIG_DFL}};

extern "C" void noteInterrupt(int signalNumber) {
    pendingSignal.store(signalNumber);
}

Handler previousHandlerOf(int signalNumber) {
    for (const Caught& c : caught) {
        if (c.signalNumber == signalNumber) {
            return c.previous;
        }
    }
    return SIG_DFL;
}

} // namespace

std::string processTag() {
    return std::to_string(static_cast<long long>(_getpid()));
}

void armTemporaryFileCleanup(const std::string& path) {
    // A path that does not fit is still written safely; only an interrupt may leave it.
    if (path.size() < sizeof temporaryPath && path.find('\0') == std::string::npos) {
        std::memcpy(temporaryPath, path.c_str(), path.size() + 1);
        armed.store(true);
    }
    pendingSignal.store(0);
    for (Caught& c : caught) {
        c.previous = std::signal(c.signalNumber, noteInterrupt);
        if (c.previous == SIG_ERR) {
            c.previous = SIG_DFL;
        }
        // A run that was told to ignore these keeps ignoring them.
        if (c.previous == SIG_IGN) {
            std::signal(c.signalNumber, SIG_IGN);
        }
    }
}

void disarmTemporaryFileCleanup() {
    for (const Caught& c : caught) {
        std::signal(c.signalNumber, c.previous);
    }
    const int signalNumber = pendingSignal.exchange(0);
    if (armed.exchange(false) && signalNumber != 0) {
        // After a rename there is nothing left under this name, and the finished file stays,
        // as if the interrupt had come just after it.
        _unlink(temporaryPath);
    }
    if (signalNumber != 0) {
        std::signal(signalNumber, previousHandlerOf(signalNumber));
        std::raise(signalNumber);
    }
}

namespace {

HANDLE lockHandle = INVALID_HANDLE_VALUE;

} // namespace

StemLock tryLockOutputStem(const std::string& path) {
    if (lockHandle != INVALID_HANDLE_VALUE) {
        return StemLock::impossible;
    }
    // Opened for this process alone, the file is the lock: another run's open fails while it
    // is held, and Windows removes it when the handle closes, however the process ends.
    const HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED
                   ? StemLock::busy
                   : StemLock::impossible;
    }
    lockHandle = handle;
    return StemLock::taken;
}

void unlockOutputStem() {
    if (lockHandle != INVALID_HANDLE_VALUE) {
        CloseHandle(lockHandle);
        lockHandle = INVALID_HANDLE_VALUE;
    }
}

std::optional<std::int64_t> lastWriteTime(const std::string& path) {
    struct _stat64 status {};
    if (_stat64(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(status.st_mtime);
}
