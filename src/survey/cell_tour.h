// Shortens a route over the cells by moving and reversing stretches of it, with each cell's
// entry corner chosen afresh, on the cheap links of the order problem.
#pragma once

#include "survey/cell_order.h"

#include <vector>

// The route given, or a shorter one over the same cells (routeLength of the problem): stretches
// reversed (2-opt), runs of up to three cells moved elsewhere (Or-opt), a single cell moved
// with any of its corners, then the corners chosen best for the order, for a bounded number
// of passes. Only the cells near each cell are tried as its new neighbours, so a pass costs
// time in the cells, not their square. A route that may only begin at some corners keeps
// its first cell. Deterministic.
std::vector<CellVisit> shortenTour(const OrderProblem& problem, std::vector<CellVisit> visits);
