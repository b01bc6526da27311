// The console dialogue: waypoint file name, listing, parameter menus, yes/no questions.
#pragma once

#include "app/source_file.h"
#include "route/mission_parameters.h"

#include <istream>
#include <ostream>

enum class DialogueStatus { ready, cannotOpenFile, cannotReadFile, endOfInput };

// Asks for the waypoint file, reads it whole into waypointFile and lists it, lets the user
// edit params; on ready the driver reads the waypoints from the same bytes, so that a named
// pipe works too. Every prompt goes to out and every answer comes from in (where "-" is
// therefore a file name); waitForKey is called for the key press after the gulper notice.
// The failure messages are written to out before returning.
DialogueStatus runInteractiveDialogue(std::istream& in, std::ostream& out,
                                      MissionParameters& params, SourceFile& waypointFile,
                                      void (*waitForKey)());
