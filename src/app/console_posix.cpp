// The console on POSIX: the key press after the gulper notice, from the controlling terminal.
#include "app/console.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The handler may only touch what it can reach without allocation: a plain fd and the
// settings saved before they were changed.
volatile std::sig_atomic_t terminalFd = -1;
termios savedSettings{};

void restoreTerminal() {
    if (terminalFd >= 0) {
        tcsetattr(terminalFd, TCSANOW, &savedSettings);
    }
}

// A Ctrl-C while the terminal is raw must not leave the planner's shell without echo.
extern "C" void restoreAndReraise(int signalNumber) {
    restoreTerminal();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

void waitForKeyPress() {
    // The key comes from the terminal itself, as on the planner's console, not from
    // standard input, which may be a pipe; with no controlling terminal nobody can press it.
    int fd = open("/dev/tty", O_RDWR | O_NOCTTY);
    if (fd < 0) {
        return;
    }
    if (tcgetattr(fd, &savedSettings) != 0) {
        close(fd);
        return;
    }
    termios raw = savedSettings;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;

    struct sigaction restoring {};
    restoring.sa_handler = restoreAndReraise;
    sigemptyset(&restoring.sa_mask);
    struct sigaction oldInt {
    }, oldTerm{}, oldHup{}, oldQuit{};
    terminalFd = fd;
    sigaction(SIGINT, &restoring, &oldInt);
    sigaction(SIGTERM, &restoring, &oldTerm);
    sigaction(SIGHUP, &restoring, &oldHup);
    sigaction(SIGQUIT, &restoring, &oldQuit);

    if (tcsetattr(fd, TCSANOW, &raw) == 0) {
        // An arrow or function key sends several bytes at once; one read takes them all, so
        // that none is left for the shell to find as typed text after the run.
        char keyBytes[32];
        ssize_t got;
        do {
            got = read(fd, keyBytes, sizeof keyBytes);
        } while (got < 0 && errno == EINTR);
        restoreTerminal();
    }

    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    sigaction(SIGHUP, &oldHup, nullptr);
    sigaction(SIGQUIT, &oldQuit, nullptr);
    terminalFd = -1;
    close(fd);
}

// POSIX reads every stream as its bytes stand.
void readStandardInputAsBytes() {}
