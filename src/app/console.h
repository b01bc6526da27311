// The one key press read straight from the console, without echo or line end.
#pragma once

// Waits for one key on the console. Returns at once when there is no console.
void waitForKeyPress();
