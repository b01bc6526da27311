// A survey laid out in the area's flat frame for one heading: the pipeline of the stages,
// each testable alone: decompose the area into cells, sweep each cell line by line, order
// the cells, then the tie lines.
#pragma once

#include "survey/geos_context.h"
#include "survey/line_layout.h"
#include "survey/plane.h"
#include "survey/position_rounding.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct LayoutRequest {
    double spacing = 0.0;                // meters between neighbouring lines, > 0
    double runIn = 0.0;                  // meters added before and after each line, >= 0
    std::optional<PlanePoint> startNear; // east/north: begin at the corner nearest it
    std::size_t crossLines = 0;          // tie lines at right angles, after the lines
    double turnRadius = 0.0;             // meters; 0 for a vehicle that turns on the spot
    double minStrip = kMinStripShare;    // share of the spacing: a narrower strip gets no line
    // What the mission files' rounding may move a position: the lines are laid closer by twice
    // what it moves them sideways, so that no two neighbours end up more than the spacing
    // apart as the vehicle runs them. None for a layout that is not written.
    PositionRounding rounding;
};

// A line as the vehicle runs it, in its direction: the part that surveys, and the part with
// its run-in before and after.
struct LineRun {
    PlaneSegment line;
    PlaneSegment run;
    bool tie = false;     // a tie line across the others
    std::size_t cell = 0; // which cell a survey line sweeps, counted in the order swept
};

struct SurveyLayout {
    double heading = 0.0;      // the lines' direction, degrees in [0, 180)
    double spacing = 0.0;      // meters between neighbouring lines as laid out
    std::size_t cells = 0;     // cells that hold lines
    std::vector<LineRun> runs; // in the order run, survey lines then tie lines
    // ways[i] leads from runs[i].run.end to runs[i + 1].run.start, both included.
    std::vector<std::vector<PlanePoint>> ways;
    double lineLength = 0.0;  // meters of survey and tie lines
    double runInLength = 0.0; // meters of run-in
    double wayLength = 0.0;   // meters of turns and transits
    // Rows each turn spans (1: line after line), and the turns in cells too narrow for that.
    std::size_t rowsPerTurn = 1;
    std::size_t narrowTurns = 0;
};

struct LayoutResult {
    bool ok = true;
    std::string error;
    SurveyLayout layout;
};

// The area in its east/north frame, as frameArea gives it. Refuses a spacing wider than
// the area across the lines, one finer than four times what rounding moves a line sideways
// (it would have to be laid at less than half the spacing) and more than kMaxSurveyLines lines.
LayoutResult layOutSurvey(const Geos& geos, const PlaneArea& area, double heading,
                          const LayoutRequest& request);

// Why a spacing is refused that is finer than four times what rounding moves a line at the
// heading sideways (meters, degrees).
std::string roundingRefusal(double spacing, double sideways, double heading);

// Meters the whole route runs: lines, run-in, turns and transits.
double routeLength(const SurveyLayout& layout);
