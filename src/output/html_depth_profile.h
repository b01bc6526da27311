// The depth profile of the HTML preview: the water depth along the route, from the grid,
// against what the mission commands.
#pragma once

#include "output/finding_marks.h"
#include "output/round_step.h"
#include "route/mission_parameters.h"
#include "route/sea_survey.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

// Layout of the profile in SVG units: the legend on top, the route points' numbers over the
// plot, the axes' labels to the left of it and under it.
constexpr double kProfileWidth = 960.0;
constexpr double kProfileHeight = 400.0;
constexpr double kPlotLeft = 70.0;
constexpr double kPlotTop = 100.0;
constexpr double kPlotWidth = 860.0;
constexpr double kPlotHeight = 250.0;

// Ticks of an axis at round values: first, first + step, ... up to last.
struct AxisTicks {
    double first = 0.0;
    double last = 1.0;
    double step = 1.0; // 1, 2 or 5 times a power of ten
    int decimals = 0;  // what the labels need to show the step
};

// The depth axis of the profile, from low (the shallowest, or the highest ground above the
// sea) to high (the deepest value to show): whole steps of at most 5 intervals, reaching
// a step beyond each end so that nothing lies on the frame, except that the surface (0)
// is the top where no ground rises above it.
AxisTicks depthAxis(double low, double high);

// Which of many values along a line, at page positions x (not decreasing), to draw: in each
// column of one page unit, the smallest and the largest value, in their order (the first of
// equal ones); a column of one value keeps it. A spike of one sample is never thinned away,
// and a line of any length costs at most two vertices a column.
std::vector<std::size_t> thinnedToColumns(const std::vector<double>& x,
                                          const std::vector<double>& value);

// An inline SVG of the seabed along the whole route against the distance run from the
// launch waypoint, depth increasing downward: the bilinear seabed over the ground, the band
// of the shallowest cells the checks judge, the yo-yo band (or the waypoint depth), the
// lines of the minimum altitude and the abort altitude above the shallowest cells, the
// abort depth, the route points at the surface, the findings' stretches and the gaps
// without depth; axes with labelled ticks and a legend. Nothing without a grid.
void writeDepthProfile(std::ostream& out, std::string& text, const SeaSurvey& sea,
                       const FindingMarks& marks, const MissionParameters& params);
