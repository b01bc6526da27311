// The key press after the gulper notice on Windows: one key from the console, no echo.
#include "app/console.h"

#include <conio.h>
#include <io.h>
#include <windows.h>

void waitForKeyPress() {
    // Without a console (output of a pipe or a service) there is no key to wait for.
    if (GetConsoleWindow() == nullptr) {
        return;
    }
    _getch();
}
