// Positions in degrees, minutes and seconds, as planners read them off charts: hemisphere
// letters, degree, minute and second marks, colons, and the DD-MM.mmmH of plotters.
#pragma once

#include <string>
#include <string_view>

enum class CoordinateAxis { latitude, longitude };

enum class DegreesOutcome {
    notDegrees, // no hemisphere letter or mark belongs to the position: decimal degrees
    read,
    refused,
};

struct DegreesPosition {
    DegreesOutcome outcome = DegreesOutcome::notDegrees;
    double lat = 0.0;    // decimal degrees, north positive
    double lon = 0.0;    // decimal degrees, east positive
    std::string problem; // when refused: why, in words a message can quote
};

// A line of the plain format whose first numbers carry hemisphere letters (N, S, E, W,
// either case, before or after each coordinate) or marks (° º d, ' ′, " ″, :). Each
// coordinate is degrees, then optional minutes and seconds, only the last with a fraction;
// with letters the two may come in either order, without them latitude comes first and a
// sign gives the hemisphere. Whatever follows the position is ignored, except a number
// that could still belong to it.
DegreesPosition readDegreesPosition(std::string_view line);

struct DegreesCoordinate {
    bool ok = false;
    double value = 0.0;    // decimal degrees, north and east positive
    bool lettered = false; // the hemisphere came from a letter
    std::string problem;   // when !ok
};

// One coordinate making up the whole text (a CSV cell), in degrees with optional minutes
// and seconds, blanks or marks between them, and a sign or a letter of its own axis.
DegreesCoordinate readDegreesCoordinate(std::string_view text, CoordinateAxis axis);
