// Clean-up of the temporary output file on POSIX: signal handlers that unlink it.
#include "app/output_file_platform.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A signal handler may only use what needs no allocation: a fixed array and a flag.
char temporaryPath[4096];
volatile std::sig_atomic_t armed = 0;
// The stem's lock file, removed too when a signal ends the run while it is held.
char lockPath[4096];
volatile std::sig_atomic_t lockHeld = 0;
int lockDescriptor = -1;

struct sigaction previousInt {
}, previousTerm{}, previousHup{}, previousXfsz{};

extern "C" void removeTemporaryAndReraise(int signalNumber) {
    if (armed != 0) {
        unlink(temporaryPath);
    }
    if (lockHeld != 0) {
        unlink(lockPath);
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

StemLock tryLockOutputStem(const std::string& path) {
    if (lockDescriptor >= 0 || path.size() >= sizeof lockPath ||
        path.find('\0') != std::string::npos) {
        return StemLock::impossible;
    }
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return errno == EINTR ? StemLock::busy : StemLock::impossible;
    }
    // The holder removes the file when it is done, so a lock taken on a file that is gone,
    // or was replaced meanwhile, is no lock: the caller tries again.
    struct stat held {};
    struct stat named {};
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0 || fstat(descriptor, &held) != 0 ||
        stat(path.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
        held.st_dev != named.st_dev) {
        close(descriptor);
        return StemLock::busy;
    }
    std::memcpy(lockPath, path.c_str(), path.size() + 1);
    lockDescriptor = descriptor;
    lockHeld = 1;
    return StemLock::taken;
}

void unlockOutputStem() {
    if (lockDescriptor < 0) {
        return;
    }
    lockHeld = 0;
    unlink(lockPath);
    close(lockDescriptor);
    lockDescriptor = -1;
}

std::optional<std::int64_t> lastWriteTime(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(status.st_mtime);
}
