// The lines of each cell: the area's grid clipped to it, row by row.
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
    std::size_t row = 0; // the line of its cell it lies on, counted from the lowest
    double y = 0.0;      // meters across
    double x0 = 0.0;     // meters along, where it begins; x0 < x1
    double x1 = 0.0;
};

// The pieces of the lines at the rows' y (ascending) in a cell, or any polygon (frame of the
// lines), by row and then along the row; pieces that touch are one.
std::vector<LinePiece> clipLines(const Geos& geos, const PlaneArea& cell,
                                 const std::vector<double>& rows);

// Each cell's pieces, on one grid for the whole area (cellRows), so that lines of neighbouring
// cells lie a spacing apart and the swaths cover each cell to its edges: where a shore ends a
// cell across the lines, or runs along them inside it, and the grid leaves a strip wider than
// minStrip of the spacing beside it, a piece half a spacing from the grid's row covers it,
// along that stretch only. The area is the one the cells make up.
std::vector<std::vector<LinePiece>> sweepCells(const Geos& geos, const PlaneArea& area,
                                               const std::vector<PlaneArea>& cells, double spacing,
                                               double minStrip = kMinStripShare);
