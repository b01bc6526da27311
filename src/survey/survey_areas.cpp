// Areas surveyed one after another in one mission, joined by straight transits.
#include "survey/survey_areas.h"

#include "route/ellipsoid.h"
#include "route/geodesy.h"
#include "survey/leg_split.h"
#include "survey/survey_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// A cut that misses the limit on the planner's sphere is tried again with this share more
// pieces, so many times, as the survey's own lines are.
constexpr double kMorePieces = 0.002;
constexpr int kMostTries = 64;

// Meters from a place to the nearest vertex of an area's boundary.
double distanceTo(const GeoPoint& place, const GeoArea& area) {
    double nearest = std::numeric_limits<double>::infinity();
    for (const GeoPoint& vertex : area.outer) {
        nearest =
            std::min(nearest, greatCircleDistance(place.lat, place.lon, vertex.lat, vertex.lon));
    }
    return nearest;
}

// The points that cut the straight way from one area to the next, without its ends, so that
// no leg between them is longer than the limit.
std::vector<GeoPoint> cutTransit(const GeoPoint& from, const GeoPoint& to, const LegLimit& limit) {
    const double meters = limit.geodesic
                              ? geodesicBetween(from.lat, from.lon, to.lat, to.lon).meters
                              : greatCircleDistance(from.lat, from.lon, to.lat, to.lon);
    const double course = initialBearing(from.lat, from.lon, to.lat, to.lon);
    std::uint64_t pieces = leastPieces(meters, limit.maxLegMeters);
    std::vector<GeoPoint> cuts;
    for (int tries = 0; tries < kMostTries; ++tries) {
        std::vector<double> along;
        for (std::uint64_t k = 1; k < pieces; ++k) {
            along.push_back(meters * static_cast<double>(k) / static_cast<double>(pieces));
        }
        if (limit.geodesic) {
            cuts = alongGeodesic(from.lat, from.lon, to.lat, to.lon, along);
        } else {
            cuts.clear();
            for (const double m : along) {
                GeoPoint cut = destinationPoint(from.lat, from.lon, course, m);
                cut.lon = normalLongitude(cut.lon);
                cuts.push_back(cut);
            }
        }
        bool fits = true;
        for (std::size_t i = 0; i <= cuts.size() && fits; ++i) {
            fits = legFits(i == 0 ? from : cuts[i - 1], i < cuts.size() ? cuts[i] : to, limit);
        }
        if (fits) {
            return cuts;
        }
        pieces = std::max(pieces + 1, static_cast<std::uint64_t>(static_cast<double>(pieces) *
                                                                 (1.0 + kMorePieces)));
    }
    return cuts;
}

double piecesLength(const std::vector<GeoPoint>& points) {
    double meters = 0.0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        meters +=
            geodesicBetween(points[i].lat, points[i].lon, points[i + 1].lat, points[i + 1].lon)
                .meters;
    }
    return meters;
}

// The next area's plan put behind the mission so far, by a transit from where it ended.
void append(SurveyPlan& mission, SurveyPlan next, const LegLimit& limit) {
    const std::size_t runsBefore = mission.runs.size();
    const std::size_t cellsBefore = mission.cells;
    if (!mission.waypoints.empty()) {
        std::vector<GeoPoint> way{mission.waypoints.back()};
        const std::vector<GeoPoint> cuts =
            cutTransit(mission.waypoints.back(), next.waypoints.front(), limit);
        way.insert(way.end(), cuts.begin(), cuts.end());
        way.push_back(next.waypoints.front());
        SurveyPiece transit;
        transit.kind = PieceKind::transit;
        transit.number = runsBefore;
        transit.first = mission.waypoints.size() - 1;
        mission.waypoints.insert(mission.waypoints.end(), cuts.begin(), cuts.end());
        transit.last = mission.waypoints.size();
        const Geodesic course =
            geodesicBetween(way.front().lat, way.front().lon, way.back().lat, way.back().lon);
        transit.heading = course.azimuth < 0.0 ? course.azimuth + 360.0 : course.azimuth;
        transit.length = piecesLength(way);
        mission.pieces.push_back(transit);
        mission.transitLength += transit.length;
        mission.betweenAreas += transit.length;
        mission.ways.push_back(std::move(way));
        ++mission.turns;
    }
    const std::size_t offset = mission.waypoints.size();
    for (SurveyPiece piece : next.pieces) {
        piece.first += offset;
        piece.last += offset;
        piece.number += runsBefore;
        if (piece.cell != 0) {
            piece.cell += cellsBefore;
        }
        mission.pieces.push_back(piece);
    }
    mission.waypoints.insert(mission.waypoints.end(), next.waypoints.begin(), next.waypoints.end());
    mission.lines.insert(mission.lines.end(), next.lines.begin(), next.lines.end());
    for (const std::size_t cell : next.lineCells) {
        mission.lineCells.push_back(cell + cellsBefore);
    }
    mission.crossLines.insert(mission.crossLines.end(), next.crossLines.begin(),
                              next.crossLines.end());
    mission.runs.insert(mission.runs.end(), next.runs.begin(), next.runs.end());
    mission.ways.insert(mission.ways.end(), next.ways.begin(), next.ways.end());
    mission.cells += next.cells;
    mission.lineLength += next.lineLength;
    mission.runInLength += next.runInLength;
    mission.transitLength += next.transitLength;
    mission.turns += next.turns;
    // The mission's figures hold for every area: the closest spacing laid, the most rounding
    // may move a line, and the coverage of all the water surveyed.
    const double surveyed = mission.areaSurveyed + next.areaSurveyed;
    if (surveyed > 0.0) {
        mission.coverage =
            (mission.coverage * mission.areaSurveyed + next.coverage * next.areaSurveyed) /
            surveyed;
    }
    mission.spacing =
        mission.areaHeadings.empty() ? next.spacing : std::min(mission.spacing, next.spacing);
    mission.sideways = std::max(mission.sideways, next.sideways);
    mission.area += next.area;
    mission.areaSurveyed = surveyed;
    mission.rowsPerTurn = next.rowsPerTurn;
    mission.narrowTurns += next.narrowTurns;
    mission.areaHeadings.push_back(next.heading);
}

} // namespace

SurveyResult planSurveys(const std::vector<GeoArea>& areas, const SurveyRequest& request) {
    SurveyResult result;
    SurveyPlan& mission = result.plan;
    std::vector<bool> done(areas.size(), false);
    std::optional<GeoPoint> here = request.startNear;
    for (std::size_t taken = 0; taken < areas.size(); ++taken) {
        std::size_t next = 0;
        while (done[next]) {
            ++next;
        }
        if (here) {
            double nearest = std::numeric_limits<double>::infinity();
            for (std::size_t a = 0; a < areas.size(); ++a) {
                const double meters = done[a] ? nearest : distanceTo(*here, areas[a]);
                if (meters < nearest) {
                    nearest = meters;
                    next = a;
                }
            }
        }
        done[next] = true;
        SurveyRequest asked = request;
        asked.startNear = here;
        SurveyResult one = planSurvey(areas[next], asked);
        if (!one.ok) {
            one.error = "area \"" + areas[next].name + "\": " + one.error;
            return one;
        }
        if (taken == 0) {
            mission.heading = one.plan.heading;
        }
        mission.areaOrder.push_back(next);
        mission.areaNames.push_back(areas[next].name);
        append(mission, std::move(one.plan), {request.maxLegMeters, request.geodesicLegs});
        here = mission.waypoints.back();
    }
    return result;
}
