// Survey lines from an area: frame, heading, layout, and back to the globe.
#include "survey/survey_plan.h"

#include "route/ellipsoid.h"
#include "route/route_planner.h"
#include "survey/area_check.h"
#include "survey/cell_outlines.h"
#include "survey/decompose.h"
#include "survey/heading_scores.h"
#include "survey/heading_search.h"
#include "survey/leg_split.h"
#include "survey/line_layout.h"
#include "survey/position_rounding.h"
#include "survey/survey_layout.h"
#include "survey/written_coverage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <numbers>
#include <optional>

namespace {

// Routes within this of each other tie, and the smaller heading is taken: rounding must not
// choose between directions that a planner could not tell apart.
constexpr double kSameRoute = 1e-3; // meters
// The directions whose rough count of lines lies within this share of the least (or two
// lines) are decomposed and counted exactly, the most promising of them up to this many:
// decomposing every edge's direction of a long, ragged shore would take minutes.
constexpr double kRoughShare = 0.1;
constexpr std::size_t kMostDecomposed = 8;
// Beyond this many directions (a shore of a chart's detail has nearly one per vertex), a
// walk round the rings for each would cost the square of the vertices: the width and the
// climb across the lines of every direction are then found at once, and only the directions
// of the least climb, so many, are counted roughly.
constexpr std::size_t kMostWalked = 256;
constexpr std::size_t kLeastClimbs = 32;
constexpr double kClimbSpan = 0.5; // degrees

// Rings closer than this in the area's frame may touch or cross in the frame of the lines,
// once rotated and leveled.
constexpr double kRingsApart = 100.0 * kLevelTolerance; // meters

// The lines a heading takes: decomposition only, no line is clipped, so the search costs
// time in the vertices, not in the lines. The cells' outlines are all the count needs, where
// the rings keep apart; where they touch, GEOS nodes them.
std::size_t linesAt(const Geos& geos, const PlaneArea& area, double heading, double spacing,
                    double minStrip, bool ringsApart) {
    const PlaneArea framed = leveled(toLineFrame(lineAxes(heading), area));
    const std::optional<std::vector<PlaneArea>> cells =
        ringsApart ? cellOutlines(geos, framed) : std::nullopt;
    return countLines(cells ? *cells : decompose(geos, framed), spacing, minStrip);
}

// The area bounds every distance of the survey, whichever way the lines run: no spacing
// wider than it, no run-in longer. The diagonal of the box around it in its frame is the most
// it spans; a run-in beyond would lead the vehicle far over land, or past what GEOS can
// compute. Empty when the distances are sound, else why not.
std::string distanceBeyondArea(const PlaneArea& area, const SurveyRequest& request) {
    if (area.outer.empty()) {
        return "";
    }
    PlanePoint low = area.outer.front();
    PlanePoint high = low;
    for (const PlanePoint& p : area.outer) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    const double span = distance(low, high);
    char bound[100];
    std::snprintf(bound, sizeof bound,
                  "the area, which spans at most %.1f m (the diagonal of the box around it)", span);
    const auto asked = [](const std::string& text, const char* what, double meters) {
        if (!text.empty()) {
            return text;
        }
        char given[80];
        std::snprintf(given, sizeof given, "%s of %g m", what, meters);
        return std::string(given);
    };
    if (!(request.spacing <= span)) {
        return asked(request.spacingAsked, "a spacing", request.spacing) +
               " spaces the lines wider than " + bound;
    }
    if (!(request.runIn <= span)) {
        return asked(request.runInAsked, "a run-in", request.runIn) + " is longer than " + bound;
    }
    if (!(request.standoff <= span)) {
        return asked(request.standoffAsked, "a standoff", request.standoff) + " is longer than " +
               bound;
    }
    return "";
}

// Square meters of water in an area of the frame.
double waterArea(const PlaneArea& area) {
    double water = std::abs(signedArea(area.outer));
    for (const PlaneRing& hole : area.holes) {
        water -= std::abs(signedArea(hole));
    }
    return water;
}

// The water at least the standoff from the boundary and from every hole, as one area; else
// why there is none. Where the standoff closes a narrows the water falls apart, and the way
// from one piece to the next would come closer to a shore than the planner allows: that is
// refused rather than surveyed in part.
struct Narrowed {
    std::string error;
    PlaneArea area;
};

Narrowed narrowed(const Geos& geos, const PlaneArea& area, const SurveyRequest& request) {
    // Round the convex corners of the holes, arcs of eight chords a quarter; the chords are
    // pushed out to touch the true circle, so that no point of them comes nearer the corner.
    constexpr int kQuarterSegments = 8;
    const double reach = request.standoff / std::cos(std::numbers::pi / (4.0 * kQuarterSegments));
    const std::string asked = request.standoffAsked.empty()
                                  ? "a standoff of " + std::to_string(request.standoff) + " m"
                                  : request.standoffAsked;
    const GeosGeometry whole = makePolygon(geos, area);
    const GeosGeometry kept =
        owned(geos, GEOSBuffer_r(geos.handle(), whole.get(), -reach, kQuarterSegments),
              "narrowing the area by the standoff");
    std::vector<PlaneArea> pieces = polygonsOf(geos, kept.get());
    char text[300];
    if (pieces.empty()) {
        const GeosGeometry circle =
            owned(geos, GEOSMaximumInscribedCircle_r(geos.handle(), whole.get(), 0.05),
                  "finding the water farthest from a shore");
        double length = 0.0;
        GEOSGeomGetLength_r(geos.handle(), circle.get(), &length);
        std::snprintf(text, sizeof text,
                      " leaves no water to survey: no place of the area lies more than %.1f m "
                      "from its boundary or a hole",
                      length);
        return {asked + text, {}};
    }
    if (pieces.size() > 1) {
        std::snprintf(text, sizeof text,
                      " splits the area into %zu pieces where it narrows to less than twice "
                      "that: survey the pieces one by one, or keep off the shores by less",
                      pieces.size());
        return {asked + text, {}};
    }
    orientRings(pieces.front());
    return {"", std::move(pieces.front())};
}

SurveyResult refused(std::string error) {
    SurveyResult result;
    result.ok = false;
    result.error = std::move(error);
    return result;
}

// The route points of a path of the frame: its vertices and the cut points between them,
// without its last vertex. False when PROJ cannot place one.
bool addCutPath(const AreaFrame& frame, const std::vector<PlanePoint>& plane,
                const std::vector<GeoPoint>& globe, const LegLimit& limit,
                std::vector<GeoPoint>& route) {
    for (std::size_t i = 0; i + 1 < plane.size(); ++i) {
        const std::optional<std::vector<GeoPoint>> cut =
            cutSegment(frame, plane[i], plane[i + 1], globe[i], globe[i + 1], limit);
        if (!cut) {
            return false;
        }
        route.insert(route.end(), cut->begin(), cut->end());
    }
    return true;
}

// Its course from start to end and its length along the route points, on the ellipsoid.
void measurePiece(SurveyPiece& piece, const std::vector<GeoPoint>& route) {
    const GeoPoint& from = route[piece.first];
    const GeoPoint& to = route[piece.last];
    const double azimuth = geodesicBetween(from.lat, from.lon, to.lat, to.lon).azimuth;
    piece.heading = azimuth < 0.0 ? azimuth + 360.0 : azimuth;
    piece.length = 0.0;
    for (std::size_t i = piece.first; i < piece.last; ++i) {
        piece.length +=
            geodesicBetween(route[i].lat, route[i].lon, route[i + 1].lat, route[i + 1].lon).meters;
    }
}

SurveyResult toGlobe(const AreaFrame& frame, const SurveyLayout& layout, const LegLimit& limit) {
    SurveyResult result;
    SurveyPlan& plan = result.plan;
    plan.cells = layout.cells;
    plan.heading = layout.heading;
    plan.lineLength = layout.lineLength;
    plan.runInLength = layout.runInLength;
    plan.transitLength = layout.wayLength;
    plan.turns = layout.runs.empty() ? 0 : layout.runs.size() - 1;
    plan.rowsPerTurn = layout.rowsPerTurn;
    plan.narrowTurns = layout.narrowTurns;

    // A mistyped maxLegMeters would cut the survey into more points than memory holds.
    long double pieces = 0.0L;
    for (const LineRun& run : layout.runs) {
        pieces += static_cast<long double>(
            leastPieces(distance(run.run.start, run.run.end), limit.maxLegMeters));
    }
    for (const std::vector<PlanePoint>& way : layout.ways) {
        for (std::size_t i = 0; i + 1 < way.size(); ++i) {
            pieces += static_cast<long double>(
                leastPieces(distance(way[i], way[i + 1]), limit.maxLegMeters));
        }
    }
    if (pieces > static_cast<long double>(kMaxRoutePoints)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "maxLegMeters %g would cut the survey into %.0Lf legs, more than %llu",
                      limit.maxLegMeters, pieces, static_cast<unsigned long long>(kMaxRoutePoints));
        return refused(text);
    }

    // Every point in one call: the line and run ends, then the ways' points.
    std::vector<PlanePoint> plane;
    for (const LineRun& run : layout.runs) {
        plane.insert(plane.end(), {run.line.start, run.line.end, run.run.start, run.run.end});
    }
    for (const std::vector<PlanePoint>& way : layout.ways) {
        plane.insert(plane.end(), way.begin(), way.end());
    }
    std::vector<GeoPoint> globe;
    if (!toGeo(frame, plane, globe)) {
        return refused("PROJ cannot carry the lines back from the frame of the area");
    }
    std::size_t next = 0;
    for (const LineRun& run : layout.runs) {
        const GeoLine line{globe[next], globe[next + 1]};
        plan.runs.push_back({globe[next + 2], globe[next + 3]});
        if (run.tie) {
            plan.crossLines.push_back(line);
        } else {
            plan.lines.push_back(line);
            plan.lineCells.push_back(run.cell);
        }
        next += 4;
    }
    for (const std::vector<PlanePoint>& way : layout.ways) {
        plan.ways.emplace_back(globe.begin() + static_cast<std::ptrdiff_t>(next),
                               globe.begin() + static_cast<std::ptrdiff_t>(next + way.size()));
        next += way.size();
    }
    const char* cannotCut = "PROJ cannot place the points that cut the lines in the area's frame";
    for (std::size_t i = 0; i < plan.runs.size(); ++i) {
        const LineRun& run = layout.runs[i];
        SurveyPiece line;
        line.kind = run.tie ? PieceKind::tie : PieceKind::line;
        line.number = i + 1;
        line.cell = run.tie ? 0 : run.cell + 1;
        line.first = plan.waypoints.size();
        if (!addCutPath(frame, {run.run.start, run.run.end}, {plan.runs[i].start, plan.runs[i].end},
                        limit, plan.waypoints)) {
            return refused(cannotCut);
        }
        line.last = plan.waypoints.size();
        plan.pieces.push_back(line);
        if (i < plan.ways.size()) {
            // The way's own ends are the runs' ends.
            SurveyPiece transit;
            transit.kind = PieceKind::transit;
            transit.number = i + 1;
            transit.first = plan.waypoints.size();
            if (!addCutPath(frame, layout.ways[i], plan.ways[i], limit, plan.waypoints)) {
                return refused(cannotCut);
            }
            transit.last = plan.waypoints.size();
            plan.pieces.push_back(transit);
        } else {
            plan.waypoints.push_back(plan.runs[i].end);
        }
    }
    for (SurveyPiece& piece : plan.pieces) {
        measurePiece(piece, plan.waypoints);
    }
    return result;
}

// The water of the area on the ellipsoid: the boundary less its holes.
double waterArea(const GeoArea& area) {
    double water = ringArea(area.outer);
    for (const GeoRing& hole : area.holes) {
        water -= ringArea(hole);
    }
    return water;
}

} // namespace

SurveyResult planSurvey(const GeoArea& area, const SurveyRequest& request) {
    try {
        const Geos geos = makeGeos();
        const FramedAreaResult framed = frameArea(geos, area);
        if (!framed.ok) {
            return refused(framed.error);
        }
        const std::string beyond = distanceBeyondArea(framed.area.plane, request);
        if (!beyond.empty()) {
            return refused(beyond);
        }
        Narrowed water{"", framed.area.plane};
        if (request.standoff > 0.0) {
            water = narrowed(geos, framed.area.plane, request);
            if (!water.error.empty()) {
                return refused(water.error);
            }
        }
        const PlaneArea& plane = water.area;
        LayoutRequest layoutRequest;
        layoutRequest.spacing = request.spacing;
        layoutRequest.runIn = request.runIn;
        layoutRequest.crossLines = request.crossLines;
        layoutRequest.turnRadius = request.turnRadius;
        layoutRequest.minStrip = request.minStrip;
        layoutRequest.rounding = positionRounding(area);
        // The lines at a heading lie closer than asked by what rounding moves them there.
        const auto laidSpacing = [&](double h) {
            return request.spacing - 2.0 * sidewaysRounding(layoutRequest.rounding, h);
        };
        if (request.startNear) {
            std::vector<PlanePoint> start;
            if (!toPlane(framed.area.frame, {*request.startNear}, start)) {
                return refused("PROJ cannot place the start position " +
                               positionText(*request.startNear) + " in the frame of the area");
            }
            layoutRequest.startNear = start.front();
        }

        // Layouts made while weighing routes are kept for the heading chosen.
        std::map<double, LayoutResult> laidOut;
        const auto layOut = [&](double heading) -> const LayoutResult& {
            auto found = laidOut.find(heading);
            if (found == laidOut.end()) {
                found = laidOut.emplace(heading, layOutSurvey(geos, plane, heading, layoutRequest))
                            .first;
            }
            return found->second;
        };
        double heading = 0.0;
        if (request.heading) {
            heading = lineHeadingOf(*request.heading);
        } else {
            // One line would cover the area along its narrowest direction: that is no survey.
            std::vector<double> candidates = candidateHeadings(plane);
            // Headings where the files cannot hold lines the spacing apart are no candidates.
            if (!candidates.empty()) {
                // The heading that rounding moves least, for the refusal.
                const double leastMoved = *std::min_element(
                    candidates.begin(), candidates.end(),
                    [&](double a, double b) { return laidSpacing(a) > laidSpacing(b); });
                std::erase_if(candidates, [&](double h) {
                    return request.spacing < 4.0 * sidewaysRounding(layoutRequest.rounding, h);
                });
                if (candidates.empty()) {
                    return refused(roundingRefusal(
                        request.spacing, sidewaysRounding(layoutRequest.rounding, leastMoved),
                        lineHeadingOf(leastMoved)));
                }
            }
            const bool many = candidates.size() > kMostWalked;
            const std::vector<double> widths =
                many ? widthsAcross(geos, plane, candidates) : std::vector<double>{};
            double narrowest = std::numeric_limits<double>::infinity();
            double narrowestHeading = 0.0;
            for (std::size_t i = 0; i < candidates.size(); ++i) {
                double width = 0.0;
                if (many) {
                    width = widths[i];
                } else {
                    const Extent across = acrossExtent(toLineFrame(lineAxes(candidates[i]), plane));
                    width = across.high - across.low;
                }
                if (width < narrowest) {
                    narrowest = width;
                    narrowestHeading = candidates[i];
                }
            }
            if (narrowest < request.spacing) {
                char text[200];
                std::snprintf(text, sizeof text,
                              "the spacing of %.1f m is wider than the area, which is %.1f m "
                              "across at its narrowest (lines at heading %.1f degrees)",
                              request.spacing, narrowest, narrowestHeading);
                return refused(text);
            }
            // A rough count of every direction, then the cells of the likeliest only.
            const HeadingCriterion roughlyFewest{
                [&](double h) {
                    return static_cast<double>(estimateLines(toLineFrame(lineAxes(h), plane),
                                                             laidSpacing(h), request.minStrip));
                },
                2.0, kRoughShare, kMostDecomposed};
            std::optional<bool> ringsApart; // asked once, when a count needs it
            const HeadingCriterion fewestLines{
                [&](double h) {
                    if (!ringsApart) {
                        ringsApart = !ringsComeWithin(geos, plane, kRingsApart);
                    }
                    return static_cast<double>(
                        linesAt(geos, plane, h, laidSpacing(h), request.minStrip, *ringsApart));
                },
                0.5};
            const HeadingCriterion shortestRoute{
                [&](double h) {
                    const LayoutResult& laid = layOut(h);
                    return laid.ok ? routeLength(laid.layout)
                                   : std::numeric_limits<double>::infinity();
                },
                kSameRoute};
            heading = searchHeading(
                many ? leastClimbing(AcrossClimb(plane), candidates, kClimbSpan, kLeastClimbs)
                     : candidates,
                {roughlyFewest, fewestLines, shortestRoute});
        }
        const LayoutResult& laid = layOut(heading);
        if (!laid.ok) {
            return refused(laid.error);
        }
        SurveyResult result =
            toGlobe(framed.area.frame, laid.layout, {request.maxLegMeters, request.geodesicLegs});
        if (!result.ok) {
            return result;
        }
        result.plan.spacing = laid.layout.spacing;
        result.plan.sideways = (request.spacing - laid.layout.spacing) / 2.0;
        result.plan.coverage =
            writtenCoverage(geos, framed.area.frame, plane, result.plan, request.spacing);
        result.plan.area = waterArea(area);
        // What the standoff left out, in the frame, where the area was narrowed.
        result.plan.areaSurveyed =
            result.plan.area - (waterArea(framed.area.plane) - waterArea(plane));
        return result;
    } catch (const GeometryFailure& failure) {
        return refused(failure.what());
    }
}
