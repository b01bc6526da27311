// What the sea layer measured along a planned route, as plain records: the water depth
// along every leg from a bathymetry grid, and how each leg meets the keep-out areas and the
// operating region. The plan check judges them; the report, the exports and the preview
// show them.
//
// Conventions of every record here:
//   - legs are counted from the head of the planned route: leg 0 is the launch leg (from
//     the launch waypoint, number 0, to waypoint 1), leg k runs from the route's k-th point
//     to its (k+1)-th, as WaypointNode::next links them;
//   - depths are water depths in meters, positive down, whatever the grid stores: 0 or less
//     is land (a depth of -12 is ground 12 m above the sea);
//   - distances are meters on the sphere tavra plans on (route/geodesy.h);
//   - positions are decimal degrees; a longitude may lie beyond -180..180 where the route
//     itself does (a route across the antimeridian keeps one continuous run of longitudes).
//
// What a drawing of the sea takes from them: the depth profile is every LegSeabed's samples
// against alongRoute (depth for the seabed, shallowest for the band of the shallowest
// cells, state for the gaps); the surfacing points are each SurveyLeg's routeStart and the
// last leg's end; the polygons are every SeaZone's parts (their edges along the
// surroundings are cuts, not shores or borders); the failing stretches are the
// places of the plan check's findings (route/plan_check.h: FindingPlace gives the leg and
// its stretches in meters along the leg, to which the leg's routeStart adds).
#pragma once

#include "route/geo_area.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Why a place along the route has a depth or not.
enum class DepthState : std::uint8_t {
    known,   // the four grid cells around the place all hold a value
    offGrid, // the place lies outside the grid, or cannot be placed on it
    noData,  // on the grid, but a cell around it holds the grid's no-data value
};

// One place along a leg where the grid was read. The samples of a leg run from its start
// to its end, both included, at most half a grid cell apart, so that every cell the leg
// crosses is one of the four around some sample.
struct DepthSample {
    double alongLeg = 0.0;   // meters from the start of the leg
    double alongRoute = 0.0; // meters from the launch waypoint: the profile's axis
    double lat = 0.0;        // decimal degrees, north positive
    double lon = 0.0;        // decimal degrees, east positive
    DepthState state = DepthState::offGrid;
    // Only where state is known, else NaN:
    double depth = 0.0;      // bilinear between the four cells around: the drawn seabed
    double shallowest = 0.0; // of the shallowest of those four cells: what the checks judge
};

// One leg of the planned route, as every record below refers to it.
struct SurveyLeg {
    std::size_t leg = 0;         // 0 for the launch leg, as above
    std::int32_t fromNumber = 0; // wptNumber of the point the leg leaves
    std::int32_t toNumber = 0;   // wptNumber of the point it reaches
    GeoPoint from;               // the two ends, as planned
    GeoPoint to;
    double length = 0.0;     // meters, the leg's legDistance as planned
    double routeStart = 0.0; // meters from the launch waypoint to the leg's start
    // An end is off the globe (latitude beyond 90, a coordinate that is not a number): the
    // route check reports it, and such a leg has no seabed and meets no zone.
    bool onGlobe = true;
};

// One grid cell a leg is judged by. The leg runs through the cells it crosses, which decide
// its findings; the cells of the band, within half a cell of the leg but not crossed, only
// tell what a finer grid might show there.
struct LegCell {
    std::int64_t column = -1; // as the grid stores them; -1 for a part of the leg that
    std::int64_t row = -1;    // cannot be placed on the grid at all
    DepthState state = DepthState::offGrid;
    double depth = 0.0;   // the cell's water depth, meters (NaN unless state is known)
    bool crossed = false; // the leg runs through the cell
    // Meters along the leg: where it runs through the cell, or (band) where it passes
    // within half a cell of it; and the place of the leg at start.
    double start = 0.0;
    double end = 0.0;
    GeoPoint first;
    // Band: from the leg's nearest place to the cell's centre, meters east and north.
    double east = 0.0;
    double north = 0.0;
    // A crossed cell of land where the --coast file has water all through the leg's part
    // in it, more than half a cell from any shore: the data disagree there.
    bool coastWater = false;
};

// The seabed under one leg.
struct LegSeabed {
    std::size_t leg = 0;              // index into SeaSurvey::legs
    double cellWidth = 0.0;           // meters on the ground between cell centres across columns,
    double cellHeight = 0.0;          // and across rows, at the leg's middle (NaN off any grid)
    double step = 0.0;                // meters between samples (0 for a leg of 0 m)
    std::vector<DepthSample> samples; // empty for a leg off the globe
    // The cells the leg crosses, in order along it, then the cells of the band that are
    // shallower than every crossed cell beside them (the others can show nothing new).
    std::vector<LegCell> cells;
};

enum class ZoneKind : std::uint8_t {
    keepOut,  // --keepOut: the route must not enter it
    opRegion, // --opRegion: the route must not leave it
};

// One area of a --keepOut file that comes near the route, or the whole operating region
// (every area of the --opRegion file together), cut to the route's surroundings.
struct SeaZone {
    ZoneKind kind = ZoneKind::keepOut;
    std::string file; // as the planner named it
    std::string name; // the area's name in the file, or its number there when unnamed
    // The polygons near the route (within the margin and some more), with longitudes on
    // the route's own run: what the preview draws. The checks were made against exactly
    // these. Empty for an operating region nowhere near the route.
    std::vector<GeoArea> parts;
    // The file's polygon was not valid (a ring crossing itself, as world data has at
    // 180 degrees) and was made valid before any test; why it was not, in GEOS's words.
    bool repaired = false;
    std::string invalidReason;
};

// A place on a leg, with how far along the leg it lies.
struct LegPlace {
    double alongLeg = 0.0; // meters from the start of the leg
    GeoPoint position;
};

// How one leg meets one zone. Recorded for every leg that touches or comes within the
// margin of a keep-out area, and for every leg of the route for the operating region.
struct LegZonePass {
    std::size_t leg = 0;      // index into SeaSurvey::legs
    std::size_t zone = 0;     // index into SeaSurvey::zones
    bool startInside = false; // the leg's start point lies in the zone or on its edge
    bool endInside = false;   // and its end point
    // Keep-out area: where the leg first enters it from outside (from a start inside, where
    // it comes back after leaving; not where it steps in from a neighbouring area of the
    // same file, across their seam). Operating region: where it first leaves it from
    // inside. Only when crosses.
    bool crosses = false;
    LegPlace crossing;
    // Keep-out area, with a margin: the shortest distance from the leg to the area
    // (0 when it enters), and where the leg first comes within the margin. Only when near.
    bool near = false;
    double nearest = 0.0; // meters
    LegPlace nearFrom;
};

// A stretch of a leg, in meters from its start; start and end are equal for one place.
struct LegStretch {
    double start = 0.0;
    double end = 0.0;
};

// The part of its leg a sample stands for: from half way to the sample before it to half
// way to the one after. The first and last samples sit on the leg's ends, so the samples of
// a leg together stand for the whole leg, each place once.
LegStretch sampleSpan(const std::vector<DepthSample>& samples, std::size_t index);

// The seabed under a leg in two figures, for the report's route table and the exports.
struct SeabedSummary {
    bool anyKnown = false;      // some place of the leg has a depth
    double shallowest = 0.0;    // m, of the judged depths where known (NaN where none is)
    double unknownLength = 0.0; // m of the leg without depth
};

SeabedSummary summarizeSeabed(const LegSeabed& seabed);

// Everything the sea layer measured along one planned route.
struct SeaSurvey {
    std::vector<SurveyLeg> legs; // every leg of the route, launch leg first
    // --bathymetry: the grid as the planner named it, and the seabed under each leg, in
    // the order of legs. Without a grid, gridFile and seabed are empty.
    std::string gridFile;
    std::vector<LegSeabed> seabed;
    std::string coastFile;           // --coast, as the planner named it; empty without
    std::vector<SeaZone> zones;      // the keep-out areas in file order, then the region
    std::vector<LegZonePass> passes; // by leg, then by zone
    double keepOutMargin = 0.0;      // meters, as --keepOutMargin gave it
    // The route's surroundings, which every zone's parts were cut to: nothing of any area
    // beyond this box was kept, so a drawing shows nothing there rather than open water.
    // Only with zones.
    GeoBox surroundings;
};
