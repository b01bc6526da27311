// The stretches of a survey's route that the exports number, as the survey hands them down.
#pragma once

#include <cstddef>

// A stretch of the route that the exports number: a survey line or tie line as run (with
// its run-in), or the transit from one line to the next.
enum class PieceKind { line, tie, transit };

struct SurveyPiece {
    PieceKind kind = PieceKind::line;
    // Survey and tie lines count 1, 2, ... in the order run; a transit takes the number of
    // the line it leaves.
    std::size_t number = 0;
    std::size_t cell = 0; // the cell a survey line sweeps, counted from 1; 0 for the others
    // waypoints[first] to waypoints[last], both included, are its route points.
    std::size_t first = 0;
    std::size_t last = 0;
    double heading = 0.0; // degrees in [0, 360), the course from its start to its end
    double length = 0.0;  // meters along its route points, on the ellipsoid
};
