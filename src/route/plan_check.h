// Looks a planned mission over for what the vehicle would refuse and what looks mistyped.
#pragma once

#include "route/geo_area.h"
#include "route/mission_parameters.h"
#include "route/route_planner.h"
#include "route/sea_survey.h"
#include "route/waypoint_list.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// error: the vehicle would abort on it, or the plan cannot mean what it says.
// warning: legal, but more likely a slip than an intention.
// unverified: a grid cell the leg does not cross, or a grid that the coastline contradicts,
// says something is wrong: what a finer grid or a survey should settle, never an error.
// note: what the planner should know to read the other findings (how fine the grid is,
// a polygon that had to be repaired); only the --check report shows notes, save the one
// line on the grid that begins the sea findings.
enum class FindingSeverity { error, warning, unverified, note };

// Where on the route a finding of the sea checks lies, for the outputs that mark it.
struct FindingPlace {
    std::size_t leg = 0;         // counted as in route/sea_survey.h: 0 is the launch leg
    std::int32_t fromNumber = 0; // wptNumber of the point the leg leaves
    std::int32_t toNumber = 0;   // wptNumber of the point it reaches
    // The parts of the leg the finding concerns, in order along it; one place (start ==
    // end) for a route point or a crossing.
    std::vector<LegStretch> stretches;
    GeoPoint first;     // where the first stretch begins
    double depth = 0.0; // water depth there, m (NaN where the finding is not about depth)
};

struct PlanFinding {
    // Built from severity and message as before places existed, or with a place as well.
    PlanFinding() = default;
    PlanFinding(FindingSeverity severity_, std::string message_,
                std::optional<FindingPlace> place_ = std::nullopt)
        : severity(severity_), message(std::move(message_)), place(std::move(place_)) {}

    FindingSeverity severity = FindingSeverity::warning;
    std::string message;               // one line naming the values, without severity or line end
    std::optional<FindingPlace> place; // only for findings of the sea checks
};

// A leg between two waypoints of the file longer than this is taken for a mistyped position.
constexpr double kLongFileLegMeters = 100'000.0;
// A route of more points than this is taken for a mistaken maxLegMeters.
constexpr std::size_t kLargeRoutePoints = 10'000;

// The parameters on their own: the depth envelope, then what must fit inside it (the yo-yo
// band of a yo-yo mission, the waypoint depth of a plain one), speeds, GPS hits and flags.
std::vector<PlanFinding> checkParameters(const MissionParameters& params);

// The planned route: each waypoint of the file in range, each leg of the file neither
// empty nor very long (several of a kind in one finding with their count), split points on
// the sphere within 10 m of their leg's great circle, and the number of points, which
// maxLegMeters governs. The launch waypoint derives from the file's waypoints and is not
// judged on its own.
std::vector<PlanFinding> checkRoute(const WaypointList& route, double maxLegMeters,
                                    LegGeometry geometry = LegGeometry::sphere);

// Both, parameters first.
std::vector<PlanFinding> checkPlan(const MissionParameters& params, const WaypointList& route);

// Both, with what the reader of the waypoint file noted between them: positions that may
// not mean what they say (a line of more than two numbers may be degrees and minutes
// without hemisphere letters), each a warning, worded by the reader.
std::vector<PlanFinding> checkPlan(const MissionParameters& params, const WaypointList& route,
                                   const std::vector<std::string>& readerNotes,
                                   LegGeometry geometry = LegGeometry::sphere);

// The sea under the planned route, as the sea layer measured it: a note of the grid's cell
// size against the shortest leg and the yo-yo band, then the water depth in the cells each
// leg crosses against the depths the mission commands (land, the abort altitude, the
// yo-yo's turns, the abort depth, stretches without depth), what the cells beside a leg
// alone say (unverified), then the keep-out areas and the operating region. Every finding
// of a leg names it and carries its place.
std::vector<PlanFinding> checkSea(const MissionParameters& params, const SeaSurvey& survey);

struct SeaFindings {
    std::vector<PlanFinding> all; // checkSea's: the report, the exports and the exit status
    // What a pilot reads at the console: the grid's note, one line for a finding that holds
    // on most legs, then one line per stretch of a leg with the same worst severity (its
    // worst finding, the others listed), worst first, then the keep-out areas and the
    // operating region as in all. Notes other than the grid's are left out.
    std::vector<PlanFinding> console;
};

SeaFindings checkSeaFindings(const MissionParameters& params, const SeaSurvey& survey);

bool hasError(const std::vector<PlanFinding>& findings);

// "error: ...", "warning: ...", "unverified: ..." or "note: ...", without a line end.
std::string findingText(const PlanFinding& finding);
