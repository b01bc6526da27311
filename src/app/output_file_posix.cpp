// Clean-up of the temporary output file on POSIX: signal handlers that unlink it.
#include "app/output_file_platform.h"

#include <csignal>
#include <cstring>
#include <signal.h>
#include <string>
#include <unistd.h>

namespace {

// A signal handler may only use what needs no allocation: a fixed array and a flag.
char temporaryPath[4096];
volatile std::sig_atomic_t armed = 0;

struct sigaction previousInt {
}, previousTerm{}, previousHup{}, previousXfsz{};

extern "C" void removeTemporaryAndReraise(int signalNumber) {
    if (armed != 0) {
        unlink(temporaryPath);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// A run started under nohup keeps ignoring hang-ups: only signals that would end the
// process get the clean-up.
void catchUnlessIgnored(int signalNumber, const struct sigaction& handler,
                        struct sigaction& previous) {
    sigaction(signalNumber, nullptr, &previous);
    if (previous.sa_handler != SIG_IGN) {
        sigaction(signalNumber, &handler, nullptr);
    }
}

} // namespace

std::string processTag() {
    return std::to_string(static_cast<long long>(getpid()));
}

void armTemporaryFileCleanup(const std::string& path) {
    // A path that does not fit is still written safely; only an interrupt may leave it.
    if (path.size() < sizeof temporaryPath && path.find('\0') == std::string::npos) {
        std::memcpy(temporaryPath, path.c_str(), path.size() + 1);
        armed = 1;
    }

    struct sigaction removing {};
    removing.sa_handler = removeTemporaryAndReraise;
    sigemptyset(&removing.sa_mask);
    catchUnlessIgnored(SIGINT, removing, previousInt);
    catchUnlessIgnored(SIGTERM, removing, previousTerm);
    catchUnlessIgnored(SIGHUP, removing, previousHup);

    // Past the file-size limit the kernel would kill the process with SIGXFSZ and leave a
    // half-written temporary file; ignored, the write fails and the file is removed.
    struct sigaction ignoring {};
    ignoring.sa_handler = SIG_IGN;
    sigemptyset(&ignoring.sa_mask);
    sigaction(SIGXFSZ, &ignoring, &previousXfsz);
}

void disarmTemporaryFileCleanup() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
    sigaction(SIGHUP, &previousHup, nullptr);
    sigaction(SIGXFSZ, &previousXfsz, nullptr);
    armed = 0;
}
