// Clean-up of the temporary output file on Windows: Ctrl-C and termination remove it.
#include "app/output_file_platform.h"

#include <csignal>
#include <cstring>
#include <io.h>
#include <process.h>
#include <string>

namespace {

char temporaryPath[4096];
volatile std::sig_atomic_t armed = 0;

using Handler = void (*)(int);
Handler previousInt = SIG_DFL;
Handler previousTerm = SIG_DFL;

extern "C" void removeTemporaryAndReraise(int signalNumber) {
    if (armed != 0) {
        _unlink(temporaryPath);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

std::string processTag() {
    return std::to_string(static_cast<long long>(_getpid()));
}

void armTemporaryFileCleanup(const std::string& path) {
    // A path that does not fit is still written safely; only an interrupt may leave it.
    if (path.size() < sizeof temporaryPath && path.find('\0') == std::string::npos) {
        std::memcpy(temporaryPath, path.c_str(), path.size() + 1);
        armed = 1;
    }
    previousInt = std::signal(SIGINT, removeTemporaryAndReraise);
    previousTerm = std::signal(SIGTERM, removeTemporaryAndReraise);
    // A run that was told to ignore these keeps ignoring them.
    if (previousInt == SIG_IGN) {
        std::signal(SIGINT, SIG_IGN);
    }
    if (previousTerm == SIG_IGN) {
        std::signal(SIGTERM, SIG_IGN);
    }
}

void disarmTemporaryFileCleanup() {
    std::signal(SIGINT, previousInt == SIG_ERR ? SIG_DFL : previousInt);
    std::signal(SIGTERM, previousTerm == SIG_ERR ? SIG_DFL : previousTerm);
    armed = 0;
}
