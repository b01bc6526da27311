// The lines of each cell: the grid's lines clipped to the cell, row by row.
#pragma once

#include "survey/geos_context.h"
#include "survey/line_layout.h"
#include "survey/plane.h"

#include <cstddef>
#include <vector>

// A piece shorter than this is a line that only touches the area: nothing to survey.
constexpr double kShortestPiece = 1e-3; // meters

// A survey line in the frame of the lines: along x from x0 to x1 at one y.
struct LinePiece {
    std::size_t row = 0; // the grid line it lies on, counted from the first
    double y = 0.0;      // meters across
    double x0 = 0.0;     // meters along, where it begins; x0 < x1
    double x1 = 0.0;
};

// The pieces of every cell, by row and then along the row. A line that runs along a cut
// between cells is clipped by the cells on both sides; it stays with the cell where it is
// longest, the side where the cut is one piece, so that no water is swept twice.
std::vector<std::vector<LinePiece>>
sweepCells(const Geos& geos, const std::vector<PlaneArea>& cells, const LineGrid& grid);
