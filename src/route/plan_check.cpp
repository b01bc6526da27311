// Looks a planned mission over for what the vehicle would refuse and what looks mistyped.
#include "route/plan_check.h"

#include "route/geodesy.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <utility>

namespace {

// The shortest text that reads back as the same value, so that a message never shows a
// rounded figure that looks in range while the value is not (90.00001 is not 90.0000).
std::string numberText(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string numberText(std::int32_t value) {
    return std::to_string(value);
}

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

std::string fixedText(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
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

// The sea under the route. Positions and lengths found by sampling are shown to a
// meter or a decimeter, not to the last digit: they are as exact as the grid, no more.

std::string metersText(double meters) {
    return fixedText(meters, 1) + " m";
}

std::string placeText(const GeoPoint& place) {
    return fixedText(place.lat, 5) + " " + fixedText(normalLongitude(place.lon), 5);
}

std::string pointName(std::int32_t number) {
    return number == 0 ? "the launch waypoint (0)" : "waypoint " + numberText(number);
}

std::string legName(const SurveyLeg& leg) {
    const std::string ends =
        "from waypoint " + numberText(leg.fromNumber) + " to waypoint " + numberText(leg.toNumber);
    return leg.leg == 0 ? "the launch leg, " + ends + "," : "the leg " + ends;
}

std::string zoneName(const SeaZone& zone) {
    if (zone.kind == ZoneKind::opRegion) {
        return "the operating region of " + zone.file;
    }
    const bool number =
        !zone.name.empty() && std::all_of(zone.name.begin(), zone.name.end(),
                                          [](char c) { return c >= '0' && c <= '9'; });
    return "keep-out area " + (number ? zone.name : "\"" + zone.name + "\"") + " of " + zone.file;
}

struct LegMatch {
    std::vector<LegStretch> stretches;
    double length = 0.0;     // meters, of all stretches together
    std::size_t first = 0;   // the first sample that matched
    double shallowest = 0.0; // the smallest value judged among the matching samples
};

// The stretches of the leg whose samples match, or nothing when none does.
std::optional<LegMatch> matching(const LegSeabed& seabed,
                                 const std::function<bool(const DepthSample&)>& matches) {
    std::optional<LegMatch> found;
    const std::vector<DepthSample>& samples = seabed.samples;
    bool inStretch = false;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (!matches(samples[i])) {
            inStretch = false;
            continue;
        }
        const LegStretch span = sampleSpan(samples, i);
        if (!found) {
            found = LegMatch{{}, 0.0, i, samples[i].shallowest};
        }
        if (inStretch) {
            found->stretches.back().end = span.end;
        } else {
            found->stretches.push_back(span);
        }
        inStretch = true;
        found->length += span.end - span.start;
        found->shallowest = std::min(found->shallowest, samples[i].shallowest);
    }
    return found;
}

FindingPlace placeOf(const SurveyLeg& leg, const LegMatch& match, const DepthSample& first) {
    return FindingPlace{leg.leg,         leg.fromNumber,         leg.toNumber,
                        match.stretches, {first.lat, first.lon}, first.shallowest};
}

// "under the leg ... over 340.0 m of its 1731.1 m, first at 120.0 m along it (36.80000
// -121.90000)"
// A place at an end of the leg is a route point, and named as one.
std::string alongText(const SurveyLeg& leg, double along) {
    std::string text = metersText(along) + " along it";
    if (along == 0.0) {
        text += ", at waypoint " + numberText(leg.fromNumber);
    } else if (along == leg.length) {
        text += ", at waypoint " + numberText(leg.toNumber);
    }
    return text;
}

std::string stretchText(const SurveyLeg& leg, const LegMatch& match, const DepthSample& first) {
    return "under " + legName(leg) + " over " + metersText(match.length) + " of its " +
           metersText(leg.length) + ", first at " + alongText(leg, first.alongLeg) + " (" +
           placeText({first.lat, first.lon}) + ")";
}

// A bound on the water depth, judged on the shallowest of the four cells around each
// sample: the stretches whose known depth breaks it.
void checkDepthBound(std::vector<PlanFinding>& findings, const SurveyLeg& leg,
                     const LegSeabed& seabed, FindingSeverity severity, const std::string& what,
                     const std::function<bool(double)>& breaks, const std::string& consequence) {
    const std::optional<LegMatch> match = matching(seabed, [&breaks](const DepthSample& sample) {
        return sample.state == DepthState::known && breaks(sample.shallowest);
    });
    if (!match) {
        return;
    }
    const DepthSample& first = seabed.samples[match->first];
    add(findings, severity,
        what + " " + stretchText(leg, *match, first) + ": depth " + metersText(first.shallowest) +
            ", shallowest " + metersText(match->shallowest) + " (" + consequence + ")");
    findings.back().place = placeOf(leg, *match, first);
}

void checkUnknownDepth(std::vector<PlanFinding>& findings, const SurveyLeg& leg,
                       const LegSeabed& seabed) {
    bool offGrid = false;
    bool noData = false;
    const std::optional<LegMatch> match =
        matching(seabed, [&offGrid, &noData](const DepthSample& sample) {
            offGrid = offGrid || sample.state == DepthState::offGrid;
            noData = noData || sample.state == DepthState::noData;
            return sample.state != DepthState::known;
        });
    if (!match) {
        return;
    }
    const DepthSample& first = seabed.samples[match->first];
    const char* why = offGrid && noData ? "off the grid, and where the grid has no data"
                      : offGrid         ? "off the grid"
                                        : "the grid has no data there";
    add(findings, FindingSeverity::warning,
        "no depth " + stretchText(leg, *match, first) + ": " + why +
            ", so nothing there is checked");
    findings.back().place = placeOf(leg, *match, first);
    findings.back().place->depth = std::numeric_limits<double>::quiet_NaN();
}

// Land is water 0 m deep or less; every other bound is broken only by water shallower than
// it, so that a depth exactly at the bound passes.
std::function<bool(double)> shallowerThan(double bound, bool orAt = false) {
    return [bound, orAt](double depth) { return depth < bound || (orAt && depth == bound); };
}

void checkSeabed(std::vector<PlanFinding>& findings, const MissionParameters& p,
                 const SurveyLeg& leg, const LegSeabed& seabed) {
    checkDepthBound(findings, leg, seabed, FindingSeverity::error, "land", shallowerThan(0.0, true),
                    "the vehicle would run aground");
    const double abortAltitude = p.abortAltitude;
    if (isOn(p.yoyoMission)) {
        const double top = p.missionYoyoMinDepth;
        checkDepthBound(findings, leg, seabed, FindingSeverity::error,
                        "water shallower than missionYoyoMinDepth " + numberText(top) +
                            " m + abortAltitude " + numberText(abortAltitude) +
                            " m = " + numberText(top + abortAltitude) + " m",
                        shallowerThan(top + abortAltitude),
                        "the vehicle would reach its abort altitude at the top of the yo-yo");
        const double bottom = p.missionYoyoMaxDepth;
        const double altitude = p.yoyoMinAltitude;
        checkDepthBound(
            findings, leg, seabed, FindingSeverity::warning,
            "water shallower than missionYoyoMaxDepth " + numberText(bottom) +
                " m + yoyoMinAltitude " + numberText(altitude) +
                " m = " + numberText(bottom + altitude) + " m",
            shallowerThan(bottom + altitude),
            "the yo-yo turns on its minimum altitude there, short of its maximum depth");
    } else {
        checkDepthBound(findings, leg, seabed, FindingSeverity::error,
                        "water shallower than wayPointDepth " + numberText(p.wayPointDepth) +
                            " m + abortAltitude " + numberText(abortAltitude) +
                            " m = " + numberText(p.wayPointDepth + abortAltitude) + " m",
                        shallowerThan(p.wayPointDepth + abortAltitude),
                        "the vehicle would reach its abort altitude at its commanded depth");
    }
    checkDepthBound(findings, leg, seabed, FindingSeverity::warning,
                    "seabed shallower than abortDepth " + numberText(p.abortDepth) + " m",
                    shallowerThan(p.abortDepth),
                    "the abort depth cannot be reached there: only abortAltitude " +
                        numberText(abortAltitude) + " m protects the vehicle");
    checkUnknownDepth(findings, leg, seabed);
}

// How fine the grid is against the legs it judges: a cell larger than a leg shows the seabed
// under it as one or two values, and what lies between the cells is not seen.
void noteGridScale(std::vector<PlanFinding>& findings, const SeaSurvey& survey) {
    const LegSeabed* shortest = nullptr;
    for (const LegSeabed& seabed : survey.seabed) {
        const SurveyLeg& leg = survey.legs[seabed.leg];
        if (!seabed.samples.empty() && leg.length > 0.0 &&
            (shortest == nullptr || leg.length < survey.legs[shortest->leg].length)) {
            shortest = &seabed;
        }
    }
    if (shortest == nullptr) {
        return;
    }
    const SurveyLeg& leg = survey.legs[shortest->leg];
    std::string message = "the shortest leg, from waypoint " + numberText(leg.fromNumber) +
                          " to waypoint " + numberText(leg.toNumber) + ", is " +
                          metersText(leg.length);
    if (!(shortest->cellWidth > 0.0 && shortest->cellHeight > 0.0)) {
        add(findings, FindingSeverity::note, message + " and lies off " + survey.gridFile);
        return;
    }
    message += "; the cells of " + survey.gridFile + " are " + metersText(shortest->cellWidth) +
               " by " + metersText(shortest->cellHeight) + " there";
    if (std::max(shortest->cellWidth, shortest->cellHeight) > leg.length) {
        message += ", larger than the leg: the check sees the seabed no finer than a cell";
    }
    add(findings, FindingSeverity::note, std::move(message));
}

FindingPlace pointPlace(const SurveyLeg& leg, bool atEnd) {
    const double along = atEnd ? leg.length : 0.0;
    return FindingPlace{leg.leg,
                        leg.fromNumber,
                        leg.toNumber,
                        {LegStretch{along, along}},
                        atEnd ? leg.to : leg.from,
                        std::numeric_limits<double>::quiet_NaN()};
}

FindingPlace crossingPlace(const SurveyLeg& leg, const LegPlace& place) {
    return FindingPlace{leg.leg,        leg.fromNumber,
                        leg.toNumber,   {LegStretch{place.alongLeg, place.alongLeg}},
                        place.position, std::numeric_limits<double>::quiet_NaN()};
}

void addPointInZone(std::vector<PlanFinding>& findings, const SurveyLeg& leg, bool atEnd,
                    const SeaZone& zone) {
    const GeoPoint& point = atEnd ? leg.to : leg.from;
    add(findings, FindingSeverity::error,
        pointName(atEnd ? leg.toNumber : leg.fromNumber) + " at " + placeText(point) + " is " +
            (zone.kind == ZoneKind::keepOut ? "inside " : "outside ") + zoneName(zone));
    findings.back().place = pointPlace(leg, atEnd);
}

void checkPass(std::vector<PlanFinding>& findings, const SeaSurvey& survey,
               const LegZonePass& pass) {
    const SurveyLeg& leg = survey.legs[pass.leg];
    const SeaZone& zone = survey.zones[pass.zone];
    const bool lastLeg = pass.leg + 1 == survey.legs.size();
    const bool keepOut = zone.kind == ZoneKind::keepOut;
    // Each route point once: as the start of its leg, and the last one as the route's end.
    if (pass.startInside == keepOut) {
        addPointInZone(findings, leg, false, zone);
    }
    if (lastLeg && pass.endInside == keepOut) {
        addPointInZone(findings, leg, true, zone);
    }
    if (pass.crosses) {
        add(findings, FindingSeverity::error,
            legName(leg) + (keepOut ? " enters " : " leaves ") + zoneName(zone) + " at " +
                alongText(leg, pass.crossing.alongLeg) + " (" + placeText(pass.crossing.position) +
                ")");
        findings.back().place = crossingPlace(leg, pass.crossing);
    } else if (keepOut && pass.near && !pass.startInside && !pass.endInside) {
        add(findings, FindingSeverity::warning,
            legName(leg) + " passes " + metersText(pass.nearest) + " from " + zoneName(zone) +
                ", closer than keepOutMargin " + numberText(survey.keepOutMargin) + " m, from " +
                alongText(leg, pass.nearFrom.alongLeg) + " (" + placeText(pass.nearFrom.position) +
                ")");
        findings.back().place = crossingPlace(leg, pass.nearFrom);
    }
}

void noteRepairs(std::vector<PlanFinding>& findings, const SeaSurvey& survey) {
    for (const SeaZone& zone : survey.zones) {
        if (zone.repaired) {
            add(findings, FindingSeverity::note,
                zoneName(zone) + " is not a valid polygon near the route (" + zone.invalidReason +
                    "); it was made valid before the check");
        }
    }
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

std::vector<PlanFinding> checkSea(const MissionParameters& params, const SeaSurvey& survey) {
    std::vector<PlanFinding> findings;
    for (const LegSeabed& seabed : survey.seabed) {
        checkSeabed(findings, params, survey.legs[seabed.leg], seabed);
    }
    for (const LegZonePass& pass : survey.passes) {
        checkPass(findings, survey, pass);
    }
    if (!survey.gridFile.empty()) {
        noteGridScale(findings, survey);
    }
    noteRepairs(findings, survey);
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
    case FindingSeverity::note:
        return "note: " + finding.message;
    case FindingSeverity::warning:
        break;
    }
    return "warning: " + finding.message;
}
