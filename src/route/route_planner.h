// Turns the waypoints read from a file into the finished route with its totals.
#pragma once

#include "route/mission_parameters.h"
#include "route/waypoint_list.h"

#include <cstdint>

struct RouteTotals {
    double surveyLineDistance = 0.0;  // meters, every leg including the launch leg
    double expectedMissionTime = 0.0; // seconds, every leg including the launch leg
};

// Beyond this many points a route is taken for a mistaken maxLegMeters.
constexpr std::uint64_t kMaxRoutePoints = 10'000'000;

enum class PlanStatus { planned, invalidMaxLeg, tooManyPoints };

struct PlanResult {
    PlanStatus status = PlanStatus::planned;
    std::uint64_t routePoints = 0; // points of the finished route, or that it would hold
};

// Where legs are measured and split points placed: on the planner's sphere, each split
// point dead-reckoned along its leg's starting course, or on the WGS 84 ellipsoid, each on
// the geodesic between the leg's waypoints (only where missingEllipsoid() says nothing).
enum class LegGeometry { sphere, geodesic };

// Runs the seven steps in order. On any status but planned no node is added and totals is
// left alone; tooManyPoints is found after the legs are measured, so their leg fields are set.
// The list must hold at least one node.
PlanResult planRoute(WaypointList& list, const MissionParameters& params, RouteTotals& totals,
                     LegGeometry geometry = LegGeometry::sphere);

// The steps, each usable alone.
void measureLegs(WaypointList& list);
// Does nothing unless maxLegMeters > 0; the legs must fit kMaxRoutePoints (planRoute checks).
void splitLongLegs(WaypointList& list, double maxLegMeters);
void fillSplitPositions(WaypointList& list);
// The same three on the ellipsoid.
void measureGeodesicLegs(WaypointList& list);
void fillGeodesicSplitPositions(WaypointList& list);
void addGeodesicLaunchWaypoint(WaypointList& list, std::int32_t launchDistance);
void numberWaypoints(WaypointList& list);
void computeLegTimes(WaypointList& list);
void addLaunchWaypoint(WaypointList& list, std::int32_t launchDistance);
RouteTotals sumRoute(const WaypointList& list);

// Nodes the route will hold after splitting, launch waypoint included, for measured legs.
// Saturates instead of overflowing, and for a maxLegMeters that is not > 0.
std::uint64_t countRoutePoints(const WaypointList& list, double maxLegMeters);
