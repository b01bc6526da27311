// What a survey is asked for and what it gives: plain records that the app layer fills and
// reads, in every build (the planning itself needs GDAL).
#pragma once

#include "output/numbered_lines.h"
#include "route/geo_area.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct SurveyRequest {
    double spacing = 0.0;              // meters between neighbouring lines, > 0
    std::optional<double> heading;     // degrees clockwise from north; chosen when absent
    double runIn = 0.0;                // meters added before and after each line, >= 0
    std::optional<GeoPoint> startNear; // where the vehicle is launched
    std::size_t crossLines = 0;        // tie lines at right angles, after the survey lines
    // Meters that lines, turns and transits keep from the boundary and from every hole: the
    // area is narrowed by this much before anything is laid out. 0 surveys to the shores.
    double standoff = 0.0;
    // Meters of the vehicle's turning circle's radius: lines closer than twice it are run out
    // and back across a few, so each turn spans at least 2R. 0 runs them line after line.
    double turnRadius = 0.0;
    // A strip left over across a cell narrower than this share of the spacing gets no line.
    double minStrip = 0.05;
    // The longest leg the route planner leaves whole, meters (> 0); the survey cuts its own
    // lines and transits to fit, so that the vehicle runs them where they were laid out.
    double maxLegMeters = 3600.0;
    bool geodesicLegs = false; // the planner measures legs on the ellipsoid, not its sphere
    // How the spacing and the run-in were asked for ("--runIn 50"), for a message that refuses
    // them; empty where nobody typed them.
    std::string spacingAsked;
    std::string runInAsked;
    std::string standoffAsked;
};

struct GeoLine {
    GeoPoint start;
    GeoPoint end;
};

struct SurveyPlan {
    // The route: each line's start and end (with its run-in) in the order run, and between
    // them the corners where a turn or transit bends round a hole or the boundary; every
    // stretch longer than maxLegMeters is cut by points on it as laid out.
    std::vector<GeoPoint> waypoints;
    std::vector<SurveyPiece> pieces;    // lines and transits in the order run
    std::vector<GeoLine> lines;         // survey lines as run, without run-in
    std::vector<std::size_t> lineCells; // the cell each survey line sweeps, in the order swept
    std::vector<GeoLine> crossLines;    // tie lines as run, without run-in
    std::vector<GeoLine> runs;          // every line as run, with its run-in, in order
    // ways[i] leads from the end of runs[i] to the start of runs[i + 1], both included.
    std::vector<std::vector<GeoPoint>> ways;
    std::size_t cells = 0;
    double heading = 0.0; // degrees in [0, 180): the lines run this way and back
    // Meters between neighbouring lines as laid out: the spacing asked, less twice what the
    // mission files' rounding may move a line sideways, so that as the vehicle runs them no
    // two neighbours lie more than the spacing asked apart.
    double spacing = 0.0;
    double sideways = 0.0; // meters: what that rounding may move a line sideways
    // The share of the water surveyed that the survey lines' swaths (spacing asked, with their
    // run-in) cover as the mission files hold their positions, in [0, 1].
    double coverage = 0.0;
    double lineLength = 0.0;    // meters of survey and tie lines, without run-in
    double runInLength = 0.0;   // meters
    double transitLength = 0.0; // meters of turns and transits between lines
    std::size_t turns = 0;      // one before each line but the first
    // Square meters of water in the area, holes left out (on the ellipsoid), and of what the
    // standoff left of it to survey (the same without a standoff).
    double area = 0.0;
    double areaSurveyed = 0.0;
    std::size_t rowsPerTurn = 1; // lines each turn spans: 1 runs them one after another
    std::size_t narrowTurns = 0; // turns in cells too narrow to span that many
    // Where several areas make one mission: their numbers in the list given, names and
    // headings in the order surveyed (empty for a single area, whose heading is the one above).
    std::vector<std::size_t> areaOrder;
    std::vector<std::string> areaNames;
    std::vector<double> areaHeadings;
    double betweenAreas = 0.0; // meters of the straight transits from area to area
};

struct SurveyResult {
    bool ok = true;
    std::string error; // what is wrong, and where, without the area file's name
    SurveyPlan plan;
};
