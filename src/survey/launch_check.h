// The launch leg of a survey against the holes of its area. Planning puts the launch
// waypoint behind the start of the first line, on the line's own course, and that start may
// lie on an island's shore: the leg the vehicle runs first would then cross the island.
#pragma once

#include "route/geo_area.h"
#include "route/plan_check.h"

#include <vector>

// An error when the launch waypoint lies inside a hole of the area, or when the launch leg
// (from launch to first, on the sphere tavra plans on) enters one, with the first place it
// does; nothing when the leg keeps clear. Touching a hole's shore is no entry.
std::vector<PlanFinding> checkLaunchLeg(const GeoArea& area, GeoPoint launch, GeoPoint first);
