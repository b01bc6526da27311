// The console: the one key press read straight from it, without echo or line end, and
// standard input read as data.
#pragma once

// Waits for one key on the console. Returns at once when there is no console.
void waitForKeyPress();

// From now on standard input is read byte for byte, as a waypoint file ("-") is: Windows
// would otherwise end it at a stray Ctrl-Z. Elsewhere it always is.
void readStandardInputAsBytes();
