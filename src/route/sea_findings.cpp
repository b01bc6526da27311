// The sea under the route, judged on the grid cells each leg crosses: every finding per
// leg for the report, and the few lines a pilot reads at the console.
#include "route/check_text.h"
#include "route/geodesy.h"
#include "route/plan_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

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

// Kilometers from 1 km on, as a pilot reads distances between cells.
std::string distanceText(double meters) {
    return meters < 1000.0 ? fixedText(meters, 0) + " m" : fixedText(meters / 1000.0, 1) + " km";
}

// A bound on the water depth that the mission commands. Land is water 0 m deep or less;
// every other bound is broken only by water shallower than it, so that a depth exactly at
// the bound passes.
struct Bound {
    FindingSeverity severity = FindingSeverity::warning;
    double limit = 0.0;
    bool orAt = false;
    std::string what;        // the report's name, with the parameters
    std::string consequence; // why it matters, for the report
    std::string brief;       // the console's name in a list: "land", "under abort altitude"
    std::string head;        // and at the head of its line: "water shallower than 12.5 m (...)"
    bool breaks(double depth) const { return depth < limit || (orAt && depth == limit); }
};

// The bounds of the mission, worst first: land, the abort altitude, the yo-yo's turns, the
// abort depth (index kAbortDepth of a yo-yo mission, after kYoyo).
constexpr std::size_t kLand = 0;
constexpr std::size_t kYoyo = 2;

struct Bounds {
    std::vector<Bound> list;
    bool yoyo = false;
    std::size_t abortDepth = 0; // its index in list
};

Bounds boundsOf(const MissionParameters& p) {
    Bounds bounds;
    bounds.yoyo = isOn(p.yoyoMission);
    const double altitude = p.abortAltitude;
    bounds.list.push_back(Bound{FindingSeverity::error, 0.0, true, "land",
                                "the vehicle would run aground", "land", "land"});
    if (bounds.yoyo) {
        const double top = p.missionYoyoMinDepth;
        bounds.list.push_back(Bound{
            FindingSeverity::error, top + altitude, false,
            "water shallower than missionYoyoMinDepth " + numberText(top) + " m + abortAltitude " +
                numberText(altitude) + " m = " + numberText(top + altitude) + " m",
            "the vehicle would reach its abort altitude at the top of the yo-yo",
            "under abort altitude",
            "water shallower than " + numberText(top + altitude) +
                " m (the yo-yo's top + abortAltitude)"});
        const double bottom = p.missionYoyoMaxDepth;
        const double yoyoAltitude = p.yoyoMinAltitude;
        bounds.list.push_back(
            Bound{FindingSeverity::warning, bottom + yoyoAltitude, false,
                  "water shallower than missionYoyoMaxDepth " + numberText(bottom) +
                      " m + yoyoMinAltitude " + numberText(yoyoAltitude) +
                      " m = " + numberText(bottom + yoyoAltitude) + " m",
                  "the yo-yo turns on its minimum altitude there, short of its maximum depth",
                  "yo-yo cut short",
                  "yo-yo cut short: water shallower than " + numberText(bottom + yoyoAltitude) +
                      " m (the yo-yo's bottom + yoyoMinAltitude)"});
    } else {
        bounds.list.push_back(
            Bound{FindingSeverity::error, p.wayPointDepth + altitude, false,
                  "water shallower than wayPointDepth " + numberText(p.wayPointDepth) +
                      " m + abortAltitude " + numberText(altitude) +
                      " m = " + numberText(p.wayPointDepth + altitude) + " m",
                  "the vehicle would reach its abort altitude at its commanded depth",
                  "under abort altitude",
                  "water shallower than " + numberText(p.wayPointDepth + altitude) +
                      " m (wayPointDepth + abortAltitude)"});
    }
    bounds.abortDepth = bounds.list.size();
    bounds.list.push_back(Bound{
        FindingSeverity::warning, p.abortDepth, false,
        "seabed shallower than abortDepth " + numberText(p.abortDepth) + " m",
        "the abort depth cannot be reached there: only abortAltitude " + numberText(altitude) +
            " m protects the vehicle",
        "above the abort depth", "seabed above abortDepth " + numberText(p.abortDepth) + " m"});
    return bounds;
}

// The worst bound the depth breaks, or kNone.
std::size_t worstBroken(const Bounds& bounds, double depth) {
    for (std::size_t i = 0; i < bounds.list.size(); ++i) {
        if (bounds.list[i].breaks(depth)) {
            return i;
        }
    }
    return kNone;
}

bool crossedKnown(const LegCell& cell) {
    return cell.crossed && cell.state == DepthState::known;
}

// A crossed cell whose depth the bounds are judged on: not one the coastline contradicts.
bool judged(const LegCell& cell) {
    return crossedKnown(cell) && !cell.coastWater;
}

// "the grid's land cell under the leg ... where coast.geojson has open water, more than half
// a cell (3.7 km) from its shore: the data disagree, and the cell is not taken for land"
std::string disagreementText(const SeaSurvey& survey, const LegSeabed& seabed,
                             const SurveyLeg& leg) {
    const double halfCell = std::max(seabed.cellWidth, seabed.cellHeight) / 2.0;
    return "the grid calls land under " + legName(leg) + " where " + survey.coastFile +
           " has water more than half a cell (" + distanceText(halfCell) +
           ") from its shore: the data disagree, and the cell is not taken for land";
}

// The shallowest depth of the crossed cells beside a stretch of the leg, or infinity. The
// crossed cells come first in a leg's cells, in order along it.
double shallowestCrossed(const LegSeabed& seabed, double start, double end) {
    const auto crossedEnd = std::partition_point(seabed.cells.begin(), seabed.cells.end(),
                                                 [](const LegCell& cell) { return cell.crossed; });
    auto cell = std::lower_bound(seabed.cells.begin(), crossedEnd, start,
                                 [](const LegCell& c, double from) { return c.end < from; });
    double shallowest = std::numeric_limits<double>::infinity();
    for (; cell != crossedEnd && cell->start <= end; ++cell) {
        if (cell->state == DepthState::known) {
            shallowest = std::min(shallowest, cell->depth);
        }
    }
    return shallowest;
}

// The worst bound a band cell breaks where the crossed cells beside it break none so bad,
// or kNone: only then does the cell say more than the cells the leg runs through.
std::size_t bandVerdict(const Bounds& bounds, const LegSeabed& seabed, const LegCell& cell) {
    if (cell.crossed || cell.state != DepthState::known) {
        return kNone;
    }
    const std::size_t band = worstBroken(bounds, cell.depth);
    const std::size_t crossed =
        worstBroken(bounds, shallowestCrossed(seabed, cell.start, cell.end));
    return band < crossed ? band : kNone;
}

// "2.0 km east": from the leg to a cell beside it.
std::string directionText(const LegCell& cell) {
    static const char* const kPoints[] = {"north", "north-east", "east", "south-east",
                                          "south", "south-west", "west", "north-west"};
    const double distance = std::hypot(cell.east, cell.north);
    if (!(distance > 0.0)) {
        return "beside";
    }
    const double bearing = std::atan2(cell.east, cell.north) * 180.0 / 3.14159265358979323846;
    const auto point =
        static_cast<int>(std::lround((bearing < 0.0 ? bearing + 360.0 : bearing) / 45.0)) % 8;
    return distanceText(distance) + " " + kPoints[point] + " of";
}

// "grid cell 6.4 km north-east of the leg from waypoint 1 to waypoint 2 is land at this
// resolution (depth -10.0 m), not crossed"
std::string bandText(const Bound& bound, const LegCell& cell, const SurveyLeg& leg) {
    const std::string what =
        bound.limit == 0.0 && bound.orAt ? "land" : metersText(cell.depth) + " deep";
    return "grid cell " + directionText(cell) + " " + legName(leg) + " is " + what +
           " at this resolution (" +
           (what == "land" ? "depth " + metersText(cell.depth) : bound.brief) + "), not crossed";
}

struct Match {
    std::vector<LegStretch> stretches;
    double length = 0.0;
    const LegCell* first = nullptr;
    double shallowest = 0.0;
};

// The stretches of the leg's cells that match, joined where they meet.
std::optional<Match> matching(const LegSeabed& seabed, const auto& matches) {
    std::optional<Match> found;
    for (const LegCell& cell : seabed.cells) {
        if (!matches(cell)) {
            continue;
        }
        if (!found) {
            found = Match{{}, 0.0, &cell, cell.depth};
        }
        if (!found->stretches.empty() && cell.start <= found->stretches.back().end) {
            found->stretches.back().end = std::max(found->stretches.back().end, cell.end);
        } else {
            found->stretches.push_back(LegStretch{cell.start, cell.end});
        }
        found->shallowest = std::min(found->shallowest, cell.depth);
    }
    if (found) {
        for (const LegStretch& stretch : found->stretches) {
            found->length += stretch.end - stretch.start;
        }
    }
    return found;
}

FindingPlace placeOf(const SurveyLeg& leg, const Match& match) {
    return FindingPlace{leg.leg,         leg.fromNumber,     leg.toNumber,
                        match.stretches, match.first->first, match.first->depth};
}

// "120.0 m along it", and at an end of the leg the route point it is.
std::string alongText(const SurveyLeg& leg, double along) {
    std::string text = metersText(along) + " along it";
    if (along == 0.0) {
        text += ", at waypoint " + numberText(leg.fromNumber);
    } else if (along == leg.length) {
        text += ", at waypoint " + numberText(leg.toNumber);
    }
    return text;
}

// "over 340.0 m of its 1731.1 m, first at 120.0 m along it (36.80000 -121.90000)"
std::string extentText(const SurveyLeg& leg, double length, double start, const GeoPoint& first) {
    return "over " + metersText(length) + " of its " + metersText(leg.length) + ", first at " +
           alongText(leg, start) + " (" + placeText(first) + ")";
}

std::string unknownWhy(bool offGrid, bool noData) {
    return offGrid && noData ? "off the grid, and where the grid has no data"
           : offGrid         ? "off the grid"
                             : "the grid has no data there";
}

// Every finding of one leg's seabed, each over all its stretches.
void checkSeabed(std::vector<PlanFinding>& findings, const Bounds& bounds, const SeaSurvey& survey,
                 const LegSeabed& seabed) {
    const SurveyLeg& leg = survey.legs[seabed.leg];
    for (const Bound& bound : bounds.list) {
        const std::optional<Match> match = matching(seabed, [&bound](const LegCell& cell) {
            return judged(cell) && bound.breaks(cell.depth);
        });
        if (match) {
            findings.emplace_back(
                bound.severity,
                bound.what + " under " + legName(leg) + " " +
                    extentText(leg, match->length, match->first->start, match->first->first) +
                    ": depth " + metersText(match->first->depth) + ", shallowest " +
                    metersText(match->shallowest) + " (" + bound.consequence + ")",
                placeOf(leg, *match));
        }
    }
    bool offGrid = false;
    bool noData = false;
    const std::optional<Match> unknown = matching(seabed, [&offGrid, &noData](const LegCell& cell) {
        offGrid = offGrid || (cell.crossed && cell.state == DepthState::offGrid);
        noData = noData || (cell.crossed && cell.state == DepthState::noData);
        return cell.crossed && cell.state != DepthState::known;
    });
    if (unknown) {
        findings.emplace_back(
            FindingSeverity::warning,
            "no depth under " + legName(leg) + " " +
                extentText(leg, unknown->length, unknown->first->start, unknown->first->first) +
                ": " + unknownWhy(offGrid, noData) + ", so nothing there is checked",
            placeOf(leg, *unknown));
        findings.back().place->depth = kNaN;
    }
    const std::optional<Match> disagree =
        matching(seabed, [](const LegCell& cell) { return cell.crossed && cell.coastWater; });
    if (disagree) {
        findings.emplace_back(
            FindingSeverity::unverified,
            disagreementText(survey, seabed, leg) + ", " +
                extentText(leg, disagree->length, disagree->first->start, disagree->first->first) +
                ": depth " + metersText(disagree->first->depth),
            placeOf(leg, *disagree));
    }
    // The cells beside the leg, once for the leg: the worst of them names the finding.
    const LegCell* worst = nullptr;
    std::size_t worstBound = kNone;
    const std::optional<Match> band = matching(seabed, [&](const LegCell& cell) {
        const std::size_t verdict = bandVerdict(bounds, seabed, cell);
        if (verdict != kNone &&
            (verdict < worstBound || (verdict == worstBound && cell.depth < worst->depth))) {
            worst = &cell;
            worstBound = verdict;
        }
        return verdict != kNone;
    });
    if (band) {
        findings.emplace_back(
            FindingSeverity::unverified,
            bandText(bounds.list[worstBound], *worst, leg) + ": beside it " +
                extentText(leg, band->length, band->first->start, band->first->first),
            placeOf(leg, *band));
    }
}

// The one line on the grid: how large its cells are at the route, against the shortest leg
// and against the yo-yo band, which a seabed that changes by more from cell to cell than the
// band is wide cannot be fitted to.
void noteGrid(std::vector<PlanFinding>& findings, const MissionParameters& p,
              const SeaSurvey& survey) {
    double width = 0.0;
    double height = 0.0;
    const SurveyLeg* shortest = nullptr;
    double step = 0.0;
    for (const LegSeabed& seabed : survey.seabed) {
        const SurveyLeg& leg = survey.legs[seabed.leg];
        if (seabed.samples.empty()) {
            continue;
        }
        if (leg.length > 0.0 && (shortest == nullptr || leg.length < shortest->length)) {
            shortest = &leg;
        }
        if (seabed.cellWidth > 0.0 && seabed.cellHeight > 0.0) {
            width = std::max(width, seabed.cellWidth);
            height = std::max(height, seabed.cellHeight);
        }
        const LegCell* previous = nullptr;
        for (const LegCell& cell : seabed.cells) {
            if (!crossedKnown(cell)) {
                previous = nullptr;
                continue;
            }
            if (previous != nullptr) {
                step = std::max(step, std::fabs(cell.depth - previous->depth));
            }
            previous = &cell;
        }
    }
    if (shortest == nullptr) {
        return;
    }
    std::string message = "grid " + survey.gridFile + ": ";
    if (!(width > 0.0)) {
        findings.emplace_back(FindingSeverity::note, message + "the route lies off it");
        return;
    }
    message += "cells of " + distanceText(width) + " by " + distanceText(height) +
               " at the route, " +
               (std::max(width, height) > shortest->length ? "larger" : "smaller") +
               " than the shortest leg (" + metersText(shortest->length) + ", from waypoint " +
               numberText(shortest->fromNumber) + " to waypoint " + numberText(shortest->toNumber) +
               "); " +
               (step > 0.0 ? "depth changes by up to " + metersText(step) +
                                 " from one cell to the next under the route"
                           : std::string("every cell under the route holds the same depth"));
    if (isOn(p.yoyoMission) && step > 0.0) {
        const double band = p.missionYoyoMaxDepth - p.missionYoyoMinDepth;
        message += ", against a yo-yo band of " + numberText(band) + " m";
    }
    findings.emplace_back(FindingSeverity::note, std::move(message));
}

FindingPlace pointPlace(const SurveyLeg& leg, bool atEnd) {
    const double along = atEnd ? leg.length : 0.0;
    return FindingPlace{leg.leg,
                        leg.fromNumber,
                        leg.toNumber,
                        {LegStretch{along, along}},
                        atEnd ? leg.to : leg.from,
                        kNaN};
}

FindingPlace crossingPlace(const SurveyLeg& leg, const LegPlace& place) {
    return FindingPlace{leg.leg,        leg.fromNumber,
                        leg.toNumber,   {LegStretch{place.alongLeg, place.alongLeg}},
                        place.position, kNaN};
}

void addPointInZone(std::vector<PlanFinding>& findings, const SurveyLeg& leg, bool atEnd,
                    const SeaZone& zone) {
    const GeoPoint& point = atEnd ? leg.to : leg.from;
    findings.emplace_back(
        FindingSeverity::error,
        pointName(atEnd ? leg.toNumber : leg.fromNumber) + " at " + placeText(point) + " is " +
            (zone.kind == ZoneKind::keepOut ? "inside " : "outside ") + zoneName(zone),
        pointPlace(leg, atEnd));
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
        findings.emplace_back(FindingSeverity::error,
                              legName(leg) + (keepOut ? " enters " : " leaves ") + zoneName(zone) +
                                  " at " + alongText(leg, pass.crossing.alongLeg) + " (" +
                                  placeText(pass.crossing.position) + ")",
                              crossingPlace(leg, pass.crossing));
    } else if (keepOut && pass.near && !pass.startInside && !pass.endInside) {
        findings.emplace_back(FindingSeverity::warning,
                              legName(leg) + " passes " + metersText(pass.nearest) + " from " +
                                  zoneName(zone) + ", closer than keepOutMargin " +
                                  numberText(survey.keepOutMargin) + " m, from " +
                                  alongText(leg, pass.nearFrom.alongLeg) + " (" +
                                  placeText(pass.nearFrom.position) + ")",
                              crossingPlace(leg, pass.nearFrom));
    }
}

void noteRepairs(std::vector<PlanFinding>& findings, const SeaSurvey& survey) {
    for (const SeaZone& zone : survey.zones) {
        if (zone.repaired) {
            findings.emplace_back(FindingSeverity::note,
                                  zoneName(zone) + " is not a valid polygon near the route (" +
                                      zone.invalidReason + "); it was made valid before the check");
        }
    }
}

// The console's lines. A finding that one cause produces along a stretch is one line, and
// a fact of most of the route is one line for the route.

// What one cell, crossed or beside, says along its part of the leg.
struct CellSays {
    double start = 0.0;
    double end = 0.0;
    FindingSeverity severity = FindingSeverity::note;
    std::size_t rank = 0; // worst first: the bound's index, then no depth, then the band
    const LegCell* cell = nullptr;
    std::string name; // the finding's name for the "also" list
    std::string line; // the line when it is the worst of its stretch, without extent
};

bool worse(const CellSays& a, const CellSays& b) {
    return a.severity != b.severity ? a.severity < b.severity : a.rank < b.rank;
}

// The bounds that count on the console: those that hold on most legs have their own line.
struct RouteFacts {
    bool yoyoOnRoute = false;
    bool abortDepthOnRoute = false;
};

// What each cell of the leg says at the console, by cell. The abort depth is not repeated
// where the yo-yo is cut short: water too shallow for the yo-yo's bottom is too shallow for
// the abort depth whenever the band reaches below it.
std::vector<CellSays> cellsSay(const Bounds& bounds, const RouteFacts& facts,
                               const SeaSurvey& survey, const SurveyLeg& leg,
                               const LegSeabed& seabed) {
    std::vector<CellSays> says;
    for (const LegCell& cell : seabed.cells) {
        if (cell.crossed && cell.state != DepthState::known) {
            says.push_back(CellSays{cell.start, cell.end, FindingSeverity::warning,
                                    bounds.list.size(), &cell, "no depth",
                                    "no depth under " + legName(leg)});
            continue;
        }
        if (cell.crossed && cell.coastWater) {
            says.push_back(CellSays{cell.start, cell.end, FindingSeverity::unverified,
                                    bounds.list.size() + 1, &cell, "the grid's land off the coast",
                                    disagreementText(survey, seabed, leg) + ":"});
            continue;
        }
        if (cell.crossed) {
            for (std::size_t i = 0; i < bounds.list.size(); ++i) {
                const Bound& bound = bounds.list[i];
                const bool routeLevel = (bounds.yoyo && i == kYoyo && facts.yoyoOnRoute) ||
                                        (i == bounds.abortDepth && facts.abortDepthOnRoute);
                const bool implied =
                    i == bounds.abortDepth && bounds.yoyo && bounds.list[kYoyo].breaks(cell.depth);
                if (!bound.breaks(cell.depth) || routeLevel || implied) {
                    continue;
                }
                says.push_back(CellSays{cell.start, cell.end, bound.severity, i, &cell, bound.brief,
                                        bound.head + " under " + legName(leg)});
            }
            continue;
        }
        const std::size_t verdict = bandVerdict(bounds, seabed, cell);
        if (verdict != kNone) {
            says.push_back(CellSays{cell.start, cell.end, FindingSeverity::unverified,
                                    bounds.list.size() + 1 + verdict, &cell,
                                    bounds.list[verdict].brief + " in a cell beside it",
                                    bandText(bounds.list[verdict], cell, leg) + ": beside it"});
        }
    }
    return says;
}

// Where the leg is at a place along it, between the places it was read at.
GeoPoint placeAt(const LegSeabed& seabed, double along) {
    const std::vector<DepthSample>& samples = seabed.samples;
    if (samples.empty()) {
        return {};
    }
    const auto after =
        std::lower_bound(samples.begin(), samples.end(), along,
                         [](const DepthSample& sample, double at) { return sample.alongLeg < at; });
    if (after == samples.begin() || after == samples.end()) {
        const DepthSample& sample = after == samples.end() ? samples.back() : samples.front();
        return {sample.lat, sample.lon};
    }
    const DepthSample& before = *(after - 1);
    const double t = (along - before.alongLeg) / (after->alongLeg - before.alongLeg);
    return {before.lat + t * (after->lat - before.lat), before.lon + t * (after->lon - before.lon)};
}

struct ConsoleStretch {
    FindingSeverity severity = FindingSeverity::note;
    LegStretch extent;
    std::vector<const CellSays*> says;
};

// The leg's stretches: its places cut where any cell's part begins or ends, and the pieces
// of the same worst severity that meet joined.
std::vector<ConsoleStretch> stretchesOf(const std::vector<CellSays>& says, double legLength) {
    std::vector<double> cuts;
    for (const CellSays& said : says) {
        cuts.push_back(said.start);
        cuts.push_back(said.end);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    if (cuts.size() == 1) {
        cuts.push_back(cuts.front()); // a leg of no length: one place
    }
    std::vector<const CellSays*> byStart;
    for (const CellSays& said : says) {
        byStart.push_back(&said);
    }
    std::stable_sort(byStart.begin(), byStart.end(),
                     [](const CellSays* a, const CellSays* b) { return a->start < b->start; });
    std::size_t next = 0;
    std::vector<const CellSays*> active;
    std::vector<ConsoleStretch> stretches;
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        const double start = cuts[k];
        const double end = cuts[k + 1];
        if (!(end > start) && legLength > 0.0) {
            continue;
        }
        for (; next < byStart.size() && byStart[next]->start <= start; ++next) {
            active.push_back(byStart[next]);
        }
        // A part that ends where this piece begins covers nothing from here on.
        std::erase_if(active, [start, end](const CellSays* said) {
            return said->end <= start && end > start;
        });
        std::vector<const CellSays*> covering;
        for (const CellSays* said : active) {
            if (said->end >= end) {
                covering.push_back(said);
            }
        }
        if (covering.empty()) {
            continue;
        }
        FindingSeverity severity = covering.front()->severity;
        for (const CellSays* said : covering) {
            severity = std::min(severity, said->severity);
        }
        if (!stretches.empty() && stretches.back().severity == severity &&
            stretches.back().extent.end == start) {
            stretches.back().extent.end = end;
            stretches.back().says.insert(stretches.back().says.end(), covering.begin(),
                                         covering.end());
        } else {
            stretches.push_back(ConsoleStretch{severity, {start, end}, covering});
        }
    }
    return stretches;
}

PlanFinding stretchLine(const SurveyLeg& leg, const LegSeabed& seabed,
                        const ConsoleStretch& stretch) {
    const CellSays* worst = stretch.says.front();
    double shallowest = std::numeric_limits<double>::infinity();
    for (const CellSays* said : stretch.says) {
        worst = worse(*said, *worst) ? said : worst;
        if (said->cell->crossed && said->cell->state == DepthState::known) {
            shallowest = std::min(shallowest, said->cell->depth);
        }
    }
    std::vector<const CellSays*> others;
    for (const CellSays* said : stretch.says) {
        const bool named = said->name == worst->name ||
                           std::any_of(others.begin(), others.end(),
                                       [said](const CellSays* o) { return o->name == said->name; });
        if (!named) {
            others.push_back(said);
        }
    }
    std::sort(others.begin(), others.end(),
              [](const CellSays* a, const CellSays* b) { return worse(*a, *b); });
    const GeoPoint first = placeAt(seabed, stretch.extent.start);
    std::string message =
        worst->line + " " +
        extentText(leg, stretch.extent.end - stretch.extent.start, stretch.extent.start, first);
    if (std::isfinite(shallowest)) {
        message += ", shallowest " + metersText(shallowest);
    }
    for (std::size_t i = 0; i < others.size(); ++i) {
        message += (i == 0 ? "; also " : ", ") + others[i]->name;
    }
    FindingPlace place{leg.leg,      leg.fromNumber,
                       leg.toNumber, {stretch.extent},
                       first,        std::isfinite(shallowest) ? shallowest : kNaN};
    return PlanFinding(stretch.severity, std::move(message), std::move(place));
}

// How many of the judged legs, and how much of them, break a bound somewhere.
struct RouteShare {
    std::size_t legs = 0;
    std::size_t of = 0;
    double length = 0.0;
    double total = 0.0;
};

RouteShare shareOf(const SeaSurvey& survey, const auto& breaks) {
    RouteShare share;
    for (const LegSeabed& seabed : survey.seabed) {
        if (seabed.cells.empty()) {
            continue;
        }
        ++share.of;
        share.total += survey.legs[seabed.leg].length;
        double length = 0.0;
        for (const LegCell& cell : seabed.cells) {
            if (judged(cell) && breaks(cell.depth)) {
                length += cell.end - cell.start;
            }
        }
        share.legs += length > 0.0 ? 1 : 0;
        share.length += length;
    }
    return share;
}

// Most of the route: more than half of its judged legs, and more than one.
bool onMost(const RouteShare& share) {
    return share.legs > 1 && 2 * share.legs > share.of;
}

std::string legsText(const RouteShare& share) {
    return std::to_string(share.legs) + " of " + std::to_string(share.of) + " legs";
}

void consoleSeabed(std::vector<PlanFinding>& lines, const MissionParameters& p,
                   const SeaSurvey& survey) {
    const Bounds bounds = boundsOf(p);
    RouteFacts facts;
    if (bounds.yoyo) {
        const Bound& yoyo = bounds.list[kYoyo];
        const RouteShare share =
            shareOf(survey, [&yoyo](double depth) { return yoyo.breaks(depth); });
        if (onMost(share)) {
            facts.yoyoOnRoute = true;
            lines.emplace_back(FindingSeverity::warning,
                               "the yo-yo band is cut short on " + legsText(share) + ", " +
                                   distanceText(share.length) + " of " + distanceText(share.total) +
                                   " (" + yoyo.what + ")");
        }
    }
    const Bound& abortDepth = bounds.list[bounds.abortDepth];
    const Bound* yoyo = bounds.yoyo ? &bounds.list[kYoyo] : nullptr;
    const RouteShare share = shareOf(survey, [&](double depth) {
        return abortDepth.breaks(depth) && (yoyo == nullptr || !yoyo->breaks(depth));
    });
    if (onMost(share)) {
        facts.abortDepthOnRoute = true;
        lines.emplace_back(FindingSeverity::warning, "the seabed lies above the abort depth of " +
                                                         numberText(p.abortDepth) + " m on " +
                                                         legsText(share) +
                                                         ": there the depth abort cannot trigger");
    }
    std::vector<PlanFinding> legLines;
    for (const LegSeabed& seabed : survey.seabed) {
        const SurveyLeg& leg = survey.legs[seabed.leg];
        const std::vector<CellSays> says = cellsSay(bounds, facts, survey, leg, seabed);
        for (const ConsoleStretch& stretch : stretchesOf(says, leg.length)) {
            legLines.push_back(stretchLine(leg, seabed, stretch));
        }
    }
    std::stable_sort(
        legLines.begin(), legLines.end(),
        [](const PlanFinding& a, const PlanFinding& b) { return a.severity < b.severity; });
    lines.insert(lines.end(), std::make_move_iterator(legLines.begin()),
                 std::make_move_iterator(legLines.end()));
}

} // namespace

SeaFindings checkSeaFindings(const MissionParameters& params, const SeaSurvey& survey) {
    SeaFindings found;
    if (!survey.gridFile.empty()) {
        noteGrid(found.all, params, survey);
        found.console = found.all;
        const Bounds bounds = boundsOf(params);
        for (const LegSeabed& seabed : survey.seabed) {
            checkSeabed(found.all, bounds, survey, seabed);
        }
        consoleSeabed(found.console, params, survey);
    }
    std::vector<PlanFinding> zones;
    for (const LegZonePass& pass : survey.passes) {
        checkPass(zones, survey, pass);
    }
    found.all.insert(found.all.end(), zones.begin(), zones.end());
    found.console.insert(found.console.end(), zones.begin(), zones.end());
    noteRepairs(found.all, survey);
    return found;
}

std::vector<PlanFinding> checkSea(const MissionParameters& params, const SeaSurvey& survey) {
    return checkSeaFindings(params, survey).all;
}
