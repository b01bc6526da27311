// Routes and waypoint texts of a chosen size for the benchmarks, and a sink that only counts.
#pragma once

#include "route/mission_parameters.h"
#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>

// A waypoint file of count random-walk waypoints a few hundred meters apart, one
// "lat lon" line each; the same count always gives the same text.
std::string randomWalkText(std::int64_t count);

// Appends the waypoints of randomWalkText(count) to list, as the reader would.
void fillRandomWalk(WaypointList& list, std::int64_t count);

// Two waypoints about 1000 km apart and the longest leg that cuts them into a route of
// about routePoints points, launch waypoint included.
void fillLongLeg(WaypointList& list, std::int64_t routePoints, MissionParameters& params);

// A finished random-walk route of routePoints points, planned once per size and kept for
// the life of the process, so that every writer benchmark writes the same route.
struct PlannedRoute {
    WaypointList list;
    RouteTotals totals;
    MissionParameters params;
};
const PlannedRoute& plannedRandomWalk(std::int64_t routePoints);

// Throws away whatever is written and counts the bytes, so that a writer is timed without
// the disk.
class CountingSink : public std::streambuf {
  public:
    std::uint64_t bytes() const { return count; }

  protected:
    std::streamsize xsputn(const char*, std::streamsize size) override {
        count += static_cast<std::uint64_t>(size);
        return size;
    }
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            ++count;
        }
        return traits_type::not_eof(c);
    }

  private:
    std::uint64_t count = 0;
};
