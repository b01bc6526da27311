// Where the lines of a cell lie across their direction.
#pragma once

#include "survey/plane.h"

#include <cstddef>
#include <vector>

// More lines than this are taken for a spacing typed in the wrong unit.
constexpr std::size_t kMaxSurveyLines = 100'000;

// A cell lower than this across the lines is a sliver between two cuts: no line is laid in it.
constexpr double kLowestCell = 1e-3; // meters

// A strip narrower than this share of the spacing, left over beyond whole spacings across a
// cell, gets no line of its own: the lines, centred, leave half of it at each edge. Without
// such a share a cell drawn a whole number of spacings wide, a few millimeters wider once
// carried into the frame, took a line more, its outer lines on the edges, where an edge that
// is not quite straight cut them short and left a strip unsurveyed.
constexpr double kMinStripShare = 0.05;
// The least share whatever is asked: the rounding of a drawn width is no strip.
constexpr double kRoundingShare = 1e-6;

// The lines a spacing apart, centred on the cell's height across them: as few as cover it
// but for a strip of less than minStrip of the spacing, so the swaths (line +- spacing/2)
// reach past both edges by the same amount, the first and last lines half a spacing inside
// the edges less half of what is left over.
struct LineGrid {
    double first = 0.0;   // meters across, of the first line
    double spacing = 0.0; // meters
    std::size_t count = 0;

    double across(std::size_t row) const { return first + static_cast<double>(row) * spacing; }
};

// The grid over the extent; spacing > 0. A count above kMaxSurveyLines is returned as it
// is, for the caller to refuse, with no grid to go with it.
LineGrid layLines(Extent across, double spacing, double minStrip = kMinStripShare);

// The lines of a cell on the area's grid, and how the cell ends across the lines.
struct CellLines {
    std::vector<double> rows;    // meters across, ascending
    Extent bottom;               // meters along: the cell's vertices on its lowest y
    Extent top;                  // and on its highest y
    bool continuedBelow = false; // another cell meets it along its lowest y
    bool continuedAbove = false; // and along its highest y
};

// The lines of each cell (frame of the lines): the rows of one grid laid over the whole area,
// so that lines of neighbouring cells continue each other and never lie closer than the
// spacing. A row on a cut between two cells goes to the upper one. Where a cell ends across
// the lines with no cell beyond (the tip of a bay), the grid's rows beyond cover nothing of
// it: a strip there wider than minStrip of the spacing gets a line of its own, half a spacing
// inside the edge (in the middle of a cell narrower than that), where two lines come closer
// than the spacing. No rows when the grid has none or too many.
std::vector<CellLines> cellRows(const std::vector<PlaneArea>& cells, double spacing,
                                double minStrip = kMinStripShare);

// How many lines the cells (in the frame of the lines) take: what the heading search weighs.
std::size_t countLines(const std::vector<PlaneArea>& cells, double spacing,
                       double minStrip = kMinStripShare);

// A first estimate of the lines, before any decomposition, in time linear in the vertices:
// the pieces that one grid across the whole area makes, from the edges each line crosses.
// Exact for a convex area; cells of their own may each take a line more.
std::size_t estimateLines(const PlaneArea& area, double spacing, double minStrip = kMinStripShare);
