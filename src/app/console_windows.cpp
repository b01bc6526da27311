// The console on Windows: the key press after the gulper notice, and standard input as data.
#include "app/console.h"

#include <conio.h>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// The planner is at the keyboard only when the answers come from the console itself.
// Answers from a pipe or a file mean a scripted run that nobody watches, and a process
// without a console (a service, a detached job, Wine outside a terminal) has no keyboard:
// in both cases waiting would hang the run for good. GetConsoleMode succeeds only on a
// console handle; _isatty would not do, since it also says yes for the NUL device, and
// GetConsoleWindow still finds the console when the answers come from `type file |`.
bool answersComeFromTheConsole() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD mode = 0;
    return GetConsoleMode(input, &mode) != 0;
}

// Arrow and function keys arrive as a prefix and a second code; both belong to one press.
constexpr int kExtendedKeyPrefix = 0x00;
constexpr int kExtendedKeyPrefixToo = 0xE0;
// _getch reads the console raw, so Ctrl-C can arrive as a plain character.
constexpr int kControlC = 0x03;

} // namespace

void waitForKeyPress() {
    if (!answersComeFromTheConsole()) {
        return;
    }
    const int key = _getch();
    if (key == kExtendedKeyPrefix || key == kExtendedKeyPrefixToo) {
        _getch();
    } else if (key == kControlC) {
        // A planner who breaks off at the notice means to stop, as Ctrl-C does everywhere
        // else in the dialogue, not to have the mission written.
        std::raise(SIGINT);
    }
}

// Text mode would end the waypoints at a stray Ctrl-Z and take CRs away; the readers take
// CR LF themselves.
void readStandardInputAsBytes() {
    _setmode(_fileno(stdin), _O_BINARY);
}
