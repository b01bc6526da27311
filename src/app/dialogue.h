// The console dialogue: waypoint file name, listing, parameter menus, yes/no questions.
#pragma once

#include "route/mission_parameters.h"

#include <fstream>
#include <istream>
#include <ostream>

enum class DialogueStatus { ready, cannotOpenFile, endOfInput };

// Asks for the waypoint file, opens it into waypointFile and lists it, lets the user edit
// params, and on ready leaves waypointFile open at its first byte. Every prompt goes to
// out and every answer comes from in; waitForKey is called for the key press after the
// gulper notice. The failure messages are written to out before returning.
DialogueStatus runInteractiveDialogue(std::istream& in, std::ostream& out,
                                      MissionParameters& params, std::ifstream& waypointFile,
                                      void (*waitForKey)());
