// Looks a planned mission over for what the vehicle would refuse and what looks mistyped.
#include "route/plan_check.h"

#include "route/check_text.h"
#include "route/geodesy.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <numbers>
#include <string>
#include <utility>

namespace {

void add(std::vector<PlanFinding>& findings, FindingSeverity severity, std::string message) {
    findings.push_back(PlanFinding{severity, std::move(message)});
}

// The comparisons below are written so that NaN, which atof and the menus accept, fails
// them: a depth or speed that is not a number is never a sound plan.

void checkEnvelope(std::vector<PlanFinding>& findings, const MissionParameters& p) {
    if (!(p.minDepth < p.maxDepth && p.maxDepth < p.abortDepth)) {
        add(findings, FindingSeverity::error,
            "depth envelope out of order: minDepth " + numberText(p.minDepth) + " m, maxDepth " +
                numberText(p.maxDepth) + " m, abortDepth " + numberText(p.abortDepth) +
                " m (needs minDepth < maxDepth < abortDepth)");
    }
    if (!(p.abortLockoutDepth <= p.maxDepth)) {
        add(findings, FindingSeverity::error,
            "abortLockoutDepth " + numberText(p.abortLockoutDepth) + " m is deeper than maxDepth " +
                numberText(p.maxDepth) + " m (the lock-out would cover the whole envelope)");
    }
    if (!(p.abortAltitude > 0.0)) {
        add(findings, FindingSeverity::error,
            "abortAltitude " + numberText(p.abortAltitude) + " m is not greater than 0");
    }
}

void checkYoyoBand(std::vector<PlanFinding>& findings, const MissionParameters& p) {
    const double bandTop = p.missionYoyoMinDepth;
    const double bandBottom = p.missionYoyoMaxDepth;
    if (!(bandTop >= p.minDepth)) {
        add(findings, FindingSeverity::error,
            "missionYoyoMinDepth " + numberText(p.missionYoyoMinDepth) +
                " m is shallower than minDepth " + numberText(p.minDepth) +
                " m (the yo-yo band must lie inside the depth envelope)");
    }
    if (!(bandBottom <= p.maxDepth)) {
        add(findings, FindingSeverity::error,
            "missionYoyoMaxDepth " + numberText(p.missionYoyoMaxDepth) +
                " m is deeper than maxDepth " + numberText(p.maxDepth) +
                " m (the yo-yo band must lie inside the depth envelope)");
    }
    if (!(bandTop < bandBottom)) {
        add(findings, FindingSeverity::error,
            "missionYoyoMinDepth " + numberText(p.missionYoyoMinDepth) +
                " m is not shallower than missionYoyoMaxDepth " +
                numberText(p.missionYoyoMaxDepth) + " m");
    }
    if (!(static_cast<double>(p.yoyoMinAltitude) > p.abortAltitude)) {
        add(findings, FindingSeverity::error,
            "yoyoMinAltitude " + numberText(p.yoyoMinAltitude) + " m is not above abortAltitude " +
                numberText(p.abortAltitude) +
                " m (the vehicle would abort before the yo-yo turns)");
    }
}

void checkWaypointDepth(std::vector<PlanFinding>& findings, const MissionParameters& p) {
    if (!(p.wayPointDepth >= p.minDepth && p.wayPointDepth <= p.maxDepth)) {
        add(findings, FindingSeverity::error,
            "wayPointDepth " + numberText(p.wayPointDepth) +
                " m is outside the depth envelope minDepth " + numberText(p.minDepth) +
                " m to maxDepth " + numberText(p.maxDepth) + " m");
    }
}

void checkSpeeds(std::vector<PlanFinding>& findings, const MissionParameters& p) {
    const bool speedPositive = p.missionSpeed > 0.0;
    const bool slowPositive = p.missionSpeedSlow > 0.0;
    if (!speedPositive) {
        add(findings, FindingSeverity::error,
            "missionSpeed " + numberText(p.missionSpeed) + " m/s is not greater than 0");
    }
    if (!slowPositive) {
        add(findings, FindingSeverity::error,
            "missionSpeedSlow " + numberText(p.missionSpeedSlow) + " m/s is not greater than 0");
    }
    // Compared only between two usable speeds, so one bad speed is reported once.
    if (speedPositive && slowPositive && p.missionSpeedSlow > p.missionSpeed) {
        add(findings, FindingSeverity::warning,
            "missionSpeedSlow " + numberText(p.missionSpeedSlow) + " m/s is above missionSpeed " +
                numberText(p.missionSpeed) + " m/s");
    }
}

void checkFlag(std::vector<PlanFinding>& findings, const char* name, std::int32_t flag) {
    if (flag != 0 && flag != 1) {
        add(findings, FindingSeverity::warning,
            std::string(name) + " " + numberText(flag) +
                " is neither 0 nor 1 and counts as 0 (off)");
    }
}

// A waypoint as the outputs number it, and as the planner counts it in the file when
// split points ahead of it make the two differ.
std::string waypointName(const WaypointNode& node, std::size_t fileOrdinal) {
    std::string name = "waypoint " + numberText(node.wptNumber);
    if (fileOrdinal != static_cast<std::size_t>(node.wptNumber)) {
        name += " (file waypoint " + std::to_string(fileOrdinal) + ")";
    }
    return name;
}

std::string positionText(double lat, double lon) {
    return numberText(lat) + " " + numberText(lon);
}

bool latitudeInRange(double lat) {
    return lat >= -90.0 && lat <= 90.0;
}

bool longitudeInRange(double lon) {
    return lon >= -180.0 && lon <= 180.0;
}

void checkPosition(std::vector<PlanFinding>& findings, const WaypointNode& node,
                   std::size_t fileOrdinal) {
    const bool latOk = latitudeInRange(node.lat);
    const bool lonOk = longitudeInRange(node.lon);
    if (latOk && lonOk) {
        return;
    }
    std::string message =
        waypointName(node, fileOrdinal) + " at " + positionText(node.lat, node.lon) + ":";
    if (!latOk) {
        message += " latitude outside -90..90";
    }
    if (!lonOk) {
        message += latOk ? " longitude outside -180..180" : ", longitude outside -180..180";
    }
    // The commonest slip is a file written longitude first.
    if (latitudeInRange(node.lon) && longitudeInRange(node.lat)) {
        message += "; swapped, " + positionText(node.lon, node.lat) + " would fit";
    }
    add(findings, FindingSeverity::error, std::move(message));
}

// The legs of the file that are empty or very long, each kind said once: a file of many
// such legs has one cause, and a line per leg would bury every other finding.
struct FileLegFindings {
    // The first finding of each kind, and how many there are.
    std::vector<PlanFinding> empty;
    std::size_t emptyCount = 0;
    std::vector<PlanFinding> long_;
    std::size_t longCount = 0;
    bool longFirst = false; // the first long leg comes before the first empty one
    std::string firstLong;  // "from waypoint 12 at ... to waypoint 13 at ... is 147.123 km"
    std::string longestLeg; // "from waypoint 40 to waypoint 41"
    double longest = 0.0;   // meters
};

std::string kilometersText(double meters) {
    char kilometers[64];
    // To the meter, so that a leg just over the limit never reads as exactly 100 km.
    std::snprintf(kilometers, sizeof kilometers, "%.3f", meters / 1000.0);
    return kilometers;
}

void checkFileLeg(FileLegFindings& legs, const WaypointNode& from, std::size_t fromOrdinal,
                  const WaypointNode& to) {
    const std::string fromName = waypointName(from, fromOrdinal);
    const std::string toName = waypointName(to, fromOrdinal + 1);
    if (from.lat == to.lat && from.lon == to.lon) {
        if (legs.emptyCount++ == 0) {
            add(legs.empty, FindingSeverity::warning,
                fromName + " and " + toName + " are both at " + positionText(from.lat, from.lon) +
                    " (a leg of 0 m)");
        }
        return;
    }
    // A position out of range is reported already, and a distance to it means nothing.
    if (!latitudeInRange(from.lat) || !longitudeInRange(from.lon) || !latitudeInRange(to.lat) ||
        !longitudeInRange(to.lon)) {
        return;
    }
    // Measured again from the file's own positions: the pieces of a split leg are not.
    const double meters = greatCircleDistance(from.lat, from.lon, to.lat, to.lon);
    if (meters > kLongFileLegMeters) {
        const std::string leg = "from " + fromName + " at " + positionText(from.lat, from.lon) +
                                " to " + toName + " at " + positionText(to.lat, to.lon) + " is " +
                                kilometersText(meters) + " km";
        if (legs.longCount++ == 0) {
            legs.longFirst = legs.emptyCount == 0;
            legs.firstLong = leg;
            add(legs.long_, FindingSeverity::warning, "leg " + leg + ", longer than 100 km");
        }
        if (meters > legs.longest) {
            legs.longest = meters;
            legs.longestLeg = "from " + fromName + " to " + toName;
        }
    }
}

// One leg's finding as it is; several as one line with their count, the first and the longest.
// The kinds keep the order of their first legs along the route.
void addEmptyLegFindings(std::vector<PlanFinding>& findings, FileLegFindings& legs) {
    if (legs.emptyCount == 1) {
        findings.push_back(std::move(legs.empty.front()));
    } else if (legs.emptyCount > 1) {
        add(findings, FindingSeverity::warning,
            "legs of 0 m: " + std::to_string(legs.emptyCount) + " legs, the first where " +
                legs.empty.front().message);
    }
}

void addLongLegFindings(std::vector<PlanFinding>& findings, FileLegFindings& legs) {
    if (legs.longCount == 1) {
        findings.push_back(std::move(legs.long_.front()));
    } else if (legs.longCount > 1) {
        add(findings, FindingSeverity::warning,
            "legs longer than 100 km: " + std::to_string(legs.longCount) + " legs, the first " +
                legs.firstLong + ", the longest " + legs.longestLeg + " is " +
                kilometersText(legs.longest) + " km");
    }
}

void addFileLegFindings(std::vector<PlanFinding>& findings, FileLegFindings& legs) {
    if (legs.longFirst) {
        addLongLegFindings(findings, legs);
        addEmptyLegFindings(findings, legs);
    } else {
        addEmptyLegFindings(findings, legs);
        addLongLegFindings(findings, legs);
    }
}

// The planner's sphere, as route/geodesy measures on it.
constexpr double kSphereRadius = 6'371'000.0; // meters
// A split point further than this off the great circle of its leg sends the vehicle off the
// line it was given.
constexpr double kSplitOffsetMeters = 10.0;

// The meters from p to the great circle through a and b, on the planner's sphere.
double offGreatCircle(const WaypointNode& a, const WaypointNode& b, const WaypointNode& p) {
    const double toPoint = greatCircleDistance(a.lat, a.lon, p.lat, p.lon) / kSphereRadius;
    const double turn =
        (initialBearing(a.lat, a.lon, p.lat, p.lon) - initialBearing(a.lat, a.lon, b.lat, b.lon)) *
        std::numbers::pi / 180.0;
    return std::fabs(std::asin(std::sin(toPoint) * std::sin(turn))) * kSphereRadius;
}

// The split points dead-reckoned along their leg's starting course drift off the great
// circle between its waypoints: said once, with how many drift beyond the bound and the
// farthest.
void checkSplitOffsets(std::vector<PlanFinding>& findings, const WaypointList& route) {
    std::size_t beyond = 0;
    double farthest = 0.0;
    const WaypointNode* farthestPoint = nullptr;
    const WaypointNode* farthestFrom = nullptr;
    const WaypointNode* farthestTo = nullptr;
    const WaypointNode* from = nullptr;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        if (node->kind == WaypointKind::splitPoint || from == nullptr) {
            if (node->kind != WaypointKind::splitPoint) {
                from = node;
            }
            continue;
        }
        if (from->next != node) {
            for (const WaypointNode* split = from->next; split != node; split = split->next) {
                const double off = offGreatCircle(*from, *node, *split);
                beyond += off > kSplitOffsetMeters ? 1 : 0;
                if (off > farthest) {
                    farthest = off;
                    farthestPoint = split;
                    farthestFrom = from;
                    farthestTo = node;
                }
            }
        }
        from = node;
    }
    if (beyond == 0) {
        return;
    }
    add(findings, FindingSeverity::warning,
        std::to_string(beyond) +
            (beyond == 1 ? " split point lies more than " : " split points lie more than ") +
            numberText(kSplitOffsetMeters) + " m off the great circle of " +
            (beyond == 1 ? "its" : "their") + " leg, the farthest waypoint " +
            numberText(farthestPoint->wptNumber) + " at " +
            positionText(farthestPoint->lat, farthestPoint->lon) + ", " + fixedText(farthest, 1) +
            " m off the leg from waypoint " + numberText(farthestFrom->wptNumber) +
            " to waypoint " + numberText(farthestTo->wptNumber) +
            " (each is dead-reckoned along its leg's first course; --splitOnGeodesic puts them "
            "on the leg)");
}

} // namespace

std::vector<PlanFinding> checkParameters(const MissionParameters& params) {
    std::vector<PlanFinding> findings;
    checkEnvelope(findings, params);
    if (isOn(params.yoyoMission)) {
        checkYoyoBand(findings, params);
    } else {
        checkWaypointDepth(findings, params);
    }
    checkSpeeds(findings, params);
    if (!(params.gpsHits > 0)) {
        add(findings, FindingSeverity::error,
            "gpsHits " + numberText(params.gpsHits) + " is not greater than 0");
    }
    checkFlag(findings, "gulperMission", params.gulperMission);
    checkFlag(findings, "abortOnTimeout", params.abortOnTimeout);
    checkFlag(findings, "yoyoMission", params.yoyoMission);
    return findings;
}

std::vector<PlanFinding> checkRoute(const WaypointList& route, double maxLegMeters,
                                    LegGeometry geometry) {
    std::vector<PlanFinding> findings;
    FileLegFindings legs;
    std::size_t points = 0;
    std::size_t fileOrdinal = 0;
    const WaypointNode* previousFromFile = nullptr;
    for (const WaypointNode* node = route.head; node != nullptr; node = node->next) {
        ++points;
        if (node->kind != WaypointKind::fromFile) {
            continue;
        }
        ++fileOrdinal;
        checkPosition(findings, *node, fileOrdinal);
        if (previousFromFile != nullptr) {
            checkFileLeg(legs, *previousFromFile, fileOrdinal - 1, *node);
        }
        previousFromFile = node;
    }
    addFileLegFindings(findings, legs);
    // On the ellipsoid the split points lie on the geodesic, which the sphere's great circle
    // does not follow: there is nothing to find.
    if (geometry == LegGeometry::sphere) {
        checkSplitOffsets(findings, route);
    }
    if (points > kLargeRoutePoints) {
        add(findings, FindingSeverity::warning,
            "the route has " + std::to_string(points) + " points, more than " +
                std::to_string(kLargeRoutePoints) + " (maxLegMeters " + numberText(maxLegMeters) +
                " m)");
    }
    return findings;
}

std::vector<PlanFinding> checkPlan(const MissionParameters& params, const WaypointList& route) {
    return checkPlan(params, route, {});
}

std::vector<PlanFinding> checkPlan(const MissionParameters& params, const WaypointList& route,
                                   const std::vector<std::string>& readerNotes,
                                   LegGeometry geometry) {
    std::vector<PlanFinding> findings = checkParameters(params);
    for (const std::string& note : readerNotes) {
        add(findings, FindingSeverity::warning, note);
    }
    std::vector<PlanFinding> routeFindings = checkRoute(route, params.maxLegMeters, geometry);
    findings.insert(findings.end(), std::make_move_iterator(routeFindings.begin()),
                    std::make_move_iterator(routeFindings.end()));
    return findings;
}

bool hasError(const std::vector<PlanFinding>& findings) {
    for (const PlanFinding& finding : findings) {
        if (finding.severity == FindingSeverity::error) {
            return true;
        }
    }
    return false;
}

std::string findingText(const PlanFinding& finding) {
    switch (finding.severity) {
    case FindingSeverity::error:
        return "error: " + finding.message;
    case FindingSeverity::unverified:
        return "unverified: " + finding.message;
    case FindingSeverity::note:
        return "note: " + finding.message;
    case FindingSeverity::warning:
        break;
    }
    return "warning: " + finding.message;
}
