// The waypoints of a survey laid out from an area, as a plain waypoint file that the planner
// can edit and plan again with plain tavra.
#pragma once

#include "output/numbered_lines.h"
#include "route/geo_area.h"

#include <ostream>
#include <string>
#include <vector>

// Decimals of every coordinate: 1e-9 degrees is a tenth of a millimeter.
constexpr int kSurveyWaypointDecimals = 9;

// A comment line, then one "latitude longitude" line per waypoint. The comment says what
// the file is; it must be one line and is written as given. Each survey and tie line of
// `pieces` is marked by a comment line before its first waypoint (number, cell, heading,
// length) and one after its last, so that a planner editing the file sees where lines
// start and end; the reader skips comments, so the file plans the same route.
void writeSurveyWaypoints(std::ostream& out, const std::string& comment,
                          const std::vector<GeoPoint>& waypoints,
                          const std::vector<SurveyPiece>& pieces = {});

// The position as the file holds it: a run that plans these values plans exactly what the
// file gives when it is read again, so both make the same files.
GeoPoint asWritten(GeoPoint point);
