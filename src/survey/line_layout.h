// Where the lines lie across their direction, and how many pieces they make, before any
// geometry is clipped.
#pragma once

#include "survey/plane.h"

#include <cstddef>

// More lines than this are taken for a spacing typed in the wrong unit.
constexpr std::size_t kMaxSurveyLines = 100'000;

// The lines a spacing apart, centred on the width of the area: as few as cover it, so the
// swaths (line +- spacing/2) reach past both edges by the same amount and the first and
// last lines lie half a spacing inside the edges, less half of what is left over.
struct LineGrid {
    double first = 0.0;   // meters across, of the first line
    double spacing = 0.0; // meters
    std::size_t count = 0;

    double across(std::size_t row) const { return first + static_cast<double>(row) * spacing; }
};

// The grid over [low, high]; spacing > 0. A count above kMaxSurveyLines is returned as it
// is, for the caller to refuse, with first and spacing left as for an empty grid.
LineGrid layLines(Extent across, double spacing);

// How many pieces the grid's lines make in the area (in the frame of the lines), from the
// edges each line crosses, in time linear in the vertices: what the heading search weighs.
// A line that only touches a vertex may count as a piece here but not when clipped.
std::size_t countLinePieces(const PlaneArea& area, const LineGrid& grid);
