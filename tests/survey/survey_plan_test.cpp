// Tests of survey lines from an area, against geometry of their own: geodesics on WGS 84 and
// polygons in GDAL's OGR, never the survey layer's frame or its own figures.
#include "survey/survey_plan.h"
#include "survey_checks.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace survey_checks;
using Meters = std::vector<std::pair<double, double>>;

const GeoPoint kMontereyBay{36.80, -121.95};

GeoArea areaInMeters(GeoPoint origin, const Meters& outer, const std::vector<Meters>& holes = {}) {
    GeoArea area;
    area.outer = ringFromMeters(origin, outer);
    for (const Meters& hole : holes) {
        area.holes.push_back(ringFromMeters(origin, hole));
    }
    return area;
}

// A rectangle length by width whose long side runs on the heading, from a corner at origin.
Meters rectangle(double length, double width, double heading) {
    const double a = heading * M_PI / 180.0;
    const double ux = std::sin(a), uy = std::cos(a);  // along
    const double vx = std::cos(a), vy = -std::sin(a); // across, to the right
    return {{0.0, 0.0},
            {length * ux, length * uy},
            {length * ux + width * vx, length * uy + width * vy},
            {width * vx, width * vy}};
}

// The same, centred on the origin.
Meters centredRectangle(double length, double width, double heading) {
    Meters corners = rectangle(length, width, heading);
    const double east = (corners[0].first + corners[2].first) / 2.0;
    const double north = (corners[0].second + corners[2].second) / 2.0;
    for (auto& [e, n] : corners) {
        e -= east;
        n -= north;
    }
    return corners;
}

struct Shape {
    const char* name;
    GeoArea area;
};

std::vector<Shape> shapes() {
    return {
        {"rectangle at 30 degrees", areaInMeters(kMontereyBay, rectangle(2000.0, 800.0, 30.0))},
        {"L-shaped bay",
         areaInMeters(kMontereyBay,
                      {{0, 0}, {1500, 0}, {1500, 500}, {500, 500}, {500, 1500}, {0, 1500}})},
        {"rectangle with an island",
         areaInMeters(kMontereyBay, {{0, 0}, {2000, 0}, {2000, 1200}, {0, 1200}},
                      {{{800, 400}, {1200, 400}, {1200, 800}, {800, 800}}})},
        {"C-shaped bay with two islands",
         areaInMeters(kMontereyBay,
                      {{0, 0},
                       {2000, 0},
                       {2000, 600},
                       {800, 600},
                       {800, 1000},
                       {2000, 1000},
                       {2000, 1600},
                       {0, 1600}},
                      {{{200, 200}, {600, 250}, {400, 500}},
                       {{1200, 1150}, {1600, 1200}, {1500, 1400}, {1250, 1350}}})},
    };
}

SurveyResult plan(const GeoArea& area, double spacing, std::optional<double> heading = {},
                  double runIn = 0.0, std::size_t crossLines = 0) {
    SurveyRequest request;
    request.spacing = spacing;
    request.heading = heading;
    request.runIn = runIn;
    request.crossLines = crossLines;
    return planSurvey(area, request);
}

GeoPoint midpoint(const GeoLine& line) {
    return densified({line.start, line.end}, false,
                     geodesicDistance(line.start, line.end) / 2.0)[1];
}

// Lines and ways stray less than a millimeter out of the water.
void expectInWater(const GeoArea& area, const SurveyPlan& survey, const std::string& what) {
    const CheckFrame frame(area.outer.front());
    const OGRPolygon water = frame.polygon(area);
    for (const std::vector<GeoLine>* lines : {&survey.lines, &survey.crossLines}) {
        for (const GeoLine& line : *lines) {
            EXPECT_LE(frame.stray(water, {line.start, line.end}), 1e-3) << what;
        }
    }
    for (const std::vector<GeoPoint>& way : survey.ways) {
        EXPECT_LE(frame.stray(water, way), 1e-3) << what << ": a turn or transit";
    }
}

// Each line of a cell lies the spacing from the one swept before it, within a centimeter,
// measured from its middle across to the other line on the ellipsoid.
void expectSpacing(const SurveyPlan& survey, double spacing, const std::string& what) {
    std::size_t measured = 0;
    for (std::size_t i = 1; i < survey.lines.size(); ++i) {
        if (survey.lineCells[i] != survey.lineCells[i - 1]) {
            continue;
        }
        bool interior = false;
        const double d = distanceToLine(midpoint(survey.lines[i]), survey.lines[i - 1], interior);
        if (interior) {
            EXPECT_NEAR(d, spacing, 0.01) << what << ": line " << i;
            ++measured;
        }
    }
    EXPECT_GT(measured, survey.lines.size() / 2) << what;
}

} // namespace

TEST(SurveyPlan, LinesAndTransitsStayInTheWater) {
    for (const Shape& shape : shapes()) {
        for (const std::optional<double> heading : {std::optional<double>(), std::optional(37.0)}) {
            const SurveyResult result = plan(shape.area, 100.0, heading, 0.0, 2);
            ASSERT_TRUE(result.ok) << shape.name << ": " << result.error;
            expectInWater(shape.area, result.plan, shape.name);
        }
    }
}

TEST(SurveyPlan, NeighbouringLinesLieTheSpacingApartOnTheEllipsoid) {
    for (const Shape& shape : shapes()) {
        const SurveyResult result = plan(shape.area, 75.0, 61.0);
        ASSERT_TRUE(result.ok) << shape.name << ": " << result.error;
        expectSpacing(result.plan, result.plan.spacing, shape.name);
    }
}

// Where every edge runs along or across the lines, the swaths leave nothing; a slanted edge
// leaves a corner beyond each line's end, which a run-in long enough covers.
TEST(SurveyPlan, SwathsCoverTheArea) {
    const struct {
        const char* name;
        GeoArea area;
        double runIn;
    } cases[] = {
        {"rectangle at 30 degrees", shapes()[0].area, 0.0},
        {"L-shaped bay", shapes()[1].area, 0.0},
        {"rectangle with an island", shapes()[2].area, 0.0},
        {"hexagon with a run-in",
         areaInMeters(kMontereyBay,
                      {{0, 0}, {600, 0}, {900, 520}, {600, 1040}, {0, 1040}, {-300, 520}}),
         100.0},
    };
    for (const auto& c : cases) {
        const SurveyResult result = plan(c.area, 100.0, {}, c.runIn);
        ASSERT_TRUE(result.ok) << c.name << ": " << result.error;
        const CheckFrame frame(c.area.outer.front());
        EXPECT_LT(frame.uncoveredShare(frame.polygon(c.area), result.plan.runs, 100.0), 1e-6)
            << c.name;
    }
}

TEST(SurveyPlan, DefaultHeadingGivesTheFewestLinesOnConvexAreas) {
    const GeoArea convex[] = {
        shapes()[0].area,
        areaInMeters(kMontereyBay, {{0, 0}, {1800, 300}, {700, 1300}}),
        areaInMeters(kMontereyBay, {{0, 0}, {900, -200}, {1500, 400}, {1200, 1100}, {200, 900}}),
    };
    for (const GeoArea& area : convex) {
        const SurveyResult chosen = plan(area, 150.0);
        ASSERT_TRUE(chosen.ok) << chosen.error;
        for (int degrees = 0; degrees < 180; ++degrees) {
            const SurveyResult fixed = plan(area, 150.0, degrees);
            ASSERT_TRUE(fixed.ok) << degrees << ": " << fixed.error;
            EXPECT_LE(chosen.plan.lines.size(), fixed.plan.lines.size()) << degrees << " degrees";
        }
    }
}

TEST(SurveyPlan, StartNearACornerStartsThere) {
    const Meters corners = rectangle(2000.0, 800.0, 30.0);
    const GeoArea area = areaInMeters(kMontereyBay, corners);
    const double centreEast = (corners[0].first + corners[2].first) / 2.0;
    const double centreNorth = (corners[0].second + corners[2].second) / 2.0;
    for (std::size_t k = 0; k < corners.size(); ++k) {
        // Launched 300 m out beyond the corner, away from the middle of the area.
        const double east = corners[k].first + (corners[k].first - centreEast) * 0.3;
        const double north = corners[k].second + (corners[k].second - centreNorth) * 0.3;
        SurveyRequest request;
        request.spacing = 100.0;
        request.startNear = fromMeters(kMontereyBay, east, north);
        const SurveyResult result = planSurvey(area, request);
        ASSERT_TRUE(result.ok) << result.error;
        const GeoPoint first = result.plan.waypoints.front();
        for (std::size_t other = 0; other < area.outer.size(); ++other) {
            if (other != k) {
                EXPECT_LT(geodesicDistance(first, area.outer[k]),
                          geodesicDistance(first, area.outer[other]))
                    << "corner " << k;
            }
        }
        EXPECT_LT(geodesicDistance(first, area.outer[k]), 100.0) << "corner " << k;
    }
}

TEST(SurveyPlan, SameLinesWhicheverWayTheRingsAreWritten) {
    const GeoArea area = shapes()[3].area;
    GeoArea rotated = area;
    std::rotate(rotated.outer.begin(), rotated.outer.begin() + 3, rotated.outer.end());
    std::rotate(rotated.holes[1].begin(), rotated.holes[1].begin() + 1, rotated.holes[1].end());
    GeoArea reversed = area;
    std::reverse(reversed.outer.begin(), reversed.outer.end());
    for (GeoRing& hole : reversed.holes) {
        std::reverse(hole.begin(), hole.end());
    }
    GeoArea closed = area;
    closed.outer.push_back(closed.outer.front());
    closed.holes[0].push_back(closed.holes[0].front());

    const SurveyResult expected = plan(area, 80.0, {}, 40.0, 1);
    ASSERT_TRUE(expected.ok) << expected.error;
    for (const GeoArea* variant : {&rotated, &reversed, &closed}) {
        const SurveyResult result = plan(*variant, 80.0, {}, 40.0, 1);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.plan.heading, expected.plan.heading);
        ASSERT_EQ(result.plan.waypoints.size(), expected.plan.waypoints.size());
        for (std::size_t i = 0; i < result.plan.waypoints.size(); ++i) {
            EXPECT_LT(geodesicDistance(result.plan.waypoints[i], expected.plan.waypoints[i]), 1e-3)
                << "waypoint " << i;
        }
    }
}

TEST(SurveyPlan, EdgeCases) {
    const struct {
        const char* name;
        GeoArea area;
        double spacing;
        std::optional<double> heading;
        std::size_t lines;   // expected survey lines, when planned
        const char* refusal; // or the start of the refusal
        double runIn = 0.0;
    } cases[] = {
        // The lines lie closer than asked by twice what rounding to 0.0001 degrees moves them
        // sideways (worked apart: at 36.8 N half a step is 4.462 m east and 5.549 m north, so
        // 6.09 m at heading 20): 1000 m across at 87.8 m takes twelve lines.
        {"edge parallel to the lines", areaInMeters(kMontereyBay, centredRectangle(3000, 1000, 20)),
         100.0, 20.0, 12, nullptr},
        // Drawn a whole number of spacings wide: no line on an edge, where the edge, not
        // quite straight in the frame, would cut it short and leave a strip unsurveyed; 1200 m
        // at 100 m less twice 4.46 m (heading 0) takes 14 lines, 13.2 spacings.
        {"corridor a whole number of spacings wide",
         areaInMeters(kMontereyBay, rectangle(9600, 1200, 0)), 100.0, 0.0, 14, nullptr},
        {"spacing wider than the area",
         areaInMeters(kMontereyBay, rectangle(3000, 80, 0)),
         100.0,
         {},
         0,
         "the spacing of 100.0 m is wider than the area, which is 80.0 m across at its "
         "narrowest (lines at heading 0.0 degrees)"},
        // 950 m at 88.9 m (100 m less twice 5.57 m): 11 lines.
        {"across the equator",
         areaInMeters({-0.004, 10.0}, rectangle(1500, 950, 0)),
         100.0,
         {},
         11,
         nullptr},
        // 1000 m at 88.9 m: 12 lines.
        {"across 180 degrees of longitude",
         areaInMeters({-17.0, 179.995}, rectangle(1200, 1000, 90)),
         100.0,
         {},
         12,
         nullptr},
        // 1200 m at 89.4 m (100 m less twice 5.29 m at heading 45): 14 lines.
        {"at 70 degrees north",
         areaInMeters({70.0, 25.0}, rectangle(2500, 1200, 45)),
         100.0,
         {},
         14,
         nullptr},
        {"self-intersecting",
         areaInMeters(kMontereyBay, {{0, 0}, {1000, 1000}, {1000, 0}, {0, 1000}}),
         100.0,
         {},
         0,
         "the area is not a valid polygon: two of its edges cross near 36.80450"},
        {"hole outside the boundary",
         areaInMeters(kMontereyBay, rectangle(1000, 1000, 0),
                      {{{2000, 0}, {2100, 0}, {2100, 100}}}),
         100.0,
         {},
         0,
         "the area is not a valid polygon: a hole lies outside the boundary near"},
        // The box around 3000 m by 1000 m has a diagonal of sqrt(3000^2 + 1000^2) = 3162.28 m
        // (to a decimeter in the area's frame): no spacing wider and no run-in longer,
        // whichever the heading.
        {"spacing beyond the diagonal at a heading asked for",
         areaInMeters(kMontereyBay, rectangle(3000, 1000, 0)), 3200.0, 0.0, 0,
         "a spacing of 3200 m spaces the lines wider than the area, which spans at most 3162."},
        {"run-in beyond the diagonal",
         areaInMeters(kMontereyBay, rectangle(3000, 1000, 0)),
         100.0,
         {},
         0,
         "a run-in of 3170 m is longer than the area, which spans at most 3162.",
         3170.0},
        {"run-in beyond any number GEOS computes with",
         areaInMeters(kMontereyBay, rectangle(3000, 1000, 0)),
         100.0,
         {},
         0,
         "a run-in of 1e+308 m is longer than the area",
         1e308},
    };
    for (const auto& c : cases) {
        const SurveyResult result = plan(c.area, c.spacing, c.heading, c.runIn);
        if (c.refusal != nullptr) {
            EXPECT_FALSE(result.ok) << c.name;
            EXPECT_EQ(result.error.rfind(c.refusal, 0), 0u) << c.name << ": " << result.error;
            continue;
        }
        ASSERT_TRUE(result.ok) << c.name << ": " << result.error;
        EXPECT_EQ(result.plan.lines.size(), c.lines) << c.name;
        expectInWater(c.area, result.plan, c.name);
        expectSpacing(result.plan, result.plan.spacing, c.name);
    }
}

// A run-in reaches past the boundary by its length but stops where it would enter a hole.
TEST(SurveyPlan, RunInStopsAtHoles) {
    const GeoArea area = shapes()[2].area;
    const SurveyResult result = plan(area, 100.0, 90.0, 60.0);
    ASSERT_TRUE(result.ok) << result.error;
    GeoArea holes;
    holes.outer =
        ringFromMeters(kMontereyBay, {{-1e4, -1e4}, {1e4, -1e4}, {1e4, 1e4}, {-1e4, 1e4}});
    holes.holes = area.holes;
    const CheckFrame frame(area.outer.front());
    const OGRPolygon outsideHoles = frame.polygon(holes);
    std::size_t cut = 0;
    for (std::size_t i = 0; i < result.plan.runs.size(); ++i) {
        const GeoLine& run = result.plan.runs[i];
        const GeoLine& line = result.plan.lines[i];
        EXPECT_LE(frame.stray(outsideHoles, {run.start, run.end}), 1e-3);
        const double before = geodesicDistance(run.start, line.start);
        const double after = geodesicDistance(line.end, run.end);
        for (const double added : {before, after}) {
            EXPECT_TRUE(std::abs(added - 60.0) < 0.01 || added < 1e-6) << "line " << i;
            cut += added < 1e-6 ? 1 : 0;
        }
    }
    EXPECT_GT(cut, 0u); // the lines that end at the island
    for (const std::vector<GeoPoint>& way : result.plan.ways) {
        EXPECT_LE(frame.stray(outsideHoles, way), 1e-3);
    }
}

// A standoff keeps every line that far from the shores, as GEOS measures it in the tests' own
// frame, and the run-ins, turns and transits at most their run-in closer, and leaves out what OGR's
// own inward buffer leaves out; one that leaves nothing or splits the water is refused with its
// figures.
TEST(SurveyPlan, StandoffKeepsOffEveryShore) {
    const GeoArea dumbbell = areaInMeters(kMontereyBay, {{0, 0},
                                                         {800, 0},
                                                         {800, 350},
                                                         {1200, 350},
                                                         {1200, 0},
                                                         {2000, 0},
                                                         {2000, 800},
                                                         {1200, 800},
                                                         {1200, 450},
                                                         {800, 450},
                                                         {800, 800},
                                                         {0, 800}});
    const struct {
        const char* name;
        GeoArea area;
        double standoff;
        double runIn;
        const char* refusal;
    } cases[] = {
        {"rectangle with an island", shapes()[2].area, 60.0, 0.0, nullptr},
        {"C-shaped bay with two islands, run-in", shapes()[3].area, 45.0, 30.0, nullptr},
        {"dumbbell wider than twice the standoff", dumbbell, 40.0, 0.0, nullptr},
        {"dumbbell closed by the standoff", dumbbell, 60.0, 0.0,
         "a standoff of 60.000000 m splits the area into 2 pieces"},
        // 800 m across: the farthest water is 400 m from the long edges.
        {"nothing left", shapes()[0].area, 450.0, 0.0,
         "a standoff of 450.000000 m leaves no water to survey: no place of the area lies "
         "more than 400.0 m"},
    };
    for (const auto& c : cases) {
        SurveyRequest request;
        request.spacing = 100.0;
        request.heading = 10.0;
        request.runIn = c.runIn;
        request.standoff = c.standoff;
        const SurveyResult result = planSurvey(c.area, request);
        if (c.refusal != nullptr) {
            EXPECT_FALSE(result.ok) << c.name;
            EXPECT_EQ(result.error.rfind(c.refusal, 0), 0u) << c.name << ": " << result.error;
            continue;
        }
        ASSERT_TRUE(result.ok) << c.name << ": " << result.error;
        const CheckFrame frame(c.area.outer.front());
        const OGRPolygon water = frame.polygon(c.area);
        std::unique_ptr<OGRGeometry> shores(water.Boundary());
        const auto nearest = [&](const std::vector<std::vector<GeoPoint>>& paths) {
            double meters = 1e9;
            for (const std::vector<GeoPoint>& path : paths) {
                const OGRLineString line = frame.lineString(densified(path, false, 10.0));
                meters = std::min(meters, line.Distance(shores.get()));
            }
            return meters;
        };
        std::vector<std::vector<GeoPoint>> lines;
        std::vector<std::vector<GeoPoint>> runsAndWays = result.plan.ways;
        for (const GeoLine& line : result.plan.lines) {
            lines.push_back({line.start, line.end});
        }
        for (const GeoLine& run : result.plan.runs) {
            runsAndWays.push_back({run.start, run.end});
        }
        const double linesOff = nearest(lines);
        EXPECT_GE(linesOff, c.standoff - 0.05) << c.name;
        EXPECT_LE(linesOff, c.standoff + 1.0) << c.name << ": the standoff is not overdone";
        EXPECT_GE(nearest(runsAndWays), c.standoff - 1.01 * c.runIn - 0.05) << c.name;
        std::unique_ptr<OGRGeometry> kept(water.Buffer(-c.standoff, 64));
        EXPECT_NEAR(result.plan.areaSurveyed / areaOf(*kept), 1.0, 2e-3) << c.name;
        EXPECT_NEAR(result.plan.area / water.get_Area(), 1.0, 2e-3) << c.name;
    }
}

// With a turning radius wider than half the spacing, each survey line lies at least twice the
// radius from the one run before it (measured on the ellipsoid), and the swaths still cover
// the area.
TEST(SurveyPlan, TurnsSpanTheTurningCircle) {
    for (const Shape& shape : {shapes()[0], shapes()[2]}) {
        SurveyRequest request;
        request.spacing = 50.0;
        request.turnRadius = 110.0;
        request.runIn = 110.0;
        const SurveyResult result = planSurvey(shape.area, request);
        ASSERT_TRUE(result.ok) << shape.name << ": " << result.error;
        // Laid at most 41.1 m apart (50 m less twice at least 4.46 m): 220 m spans six.
        EXPECT_EQ(result.plan.rowsPerTurn, 6u) << shape.name;
        std::size_t narrow = 0;
        for (std::size_t i = 1; i < result.plan.lines.size(); ++i) {
            if (result.plan.lineCells[i] != result.plan.lineCells[i - 1]) {
                continue;
            }
            bool interior = false;
            const double apart =
                distanceToLine(midpoint(result.plan.lines[i]), result.plan.lines[i - 1], interior);
            narrow += apart < 220.0 - 0.01 ? 1 : 0;
        }
        EXPECT_EQ(narrow, result.plan.narrowTurns) << shape.name;
        const CheckFrame frame(shape.area.outer.front());
        EXPECT_LT(frame.uncoveredShare(frame.polygon(shape.area), result.plan.runs, 50.0), 1e-6)
            << shape.name;
    }
}

namespace {

// A coordinate as the survey waypoint file (9 decimals) and then the cfg and wpt (4) hold it,
// through printf and strtod rather than the program's own formatting.
double inFiles(double degrees) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9f", degrees);
    std::snprintf(text, sizeof text, "%.4f", std::strtod(text, nullptr));
    return std::strtod(text, nullptr);
}

// Each survey line's route points as the mission files hold them.
std::vector<std::vector<GeoPoint>> writtenLines(const SurveyPlan& survey) {
    std::vector<std::vector<GeoPoint>> lines;
    for (const SurveyPiece& piece : survey.pieces) {
        if (piece.kind == PieceKind::line) {
            lines.emplace_back();
            for (std::size_t i = piece.first; i <= piece.last; ++i) {
                const GeoPoint p = survey.waypoints[i];
                lines.back().push_back({inFiles(p.lat), inFiles(p.lon)});
            }
        }
    }
    return lines;
}

} // namespace

// Measured on the lines as written, in the tests' own frame: the swaths (the spacing asked
// wide) cover at least what the plan says; no written line lies more than the spacing from
// the one before it in its cell; lines of different cells either continue one row or lie at
// least the spacing laid apart, but for the pieces that cover the strip under an island's
// end (counted).
TEST(SurveyPlan, CoverageAsWrittenAndOneGrid) {
    const struct {
        const char* name;
        GeoArea area;
        double spacing;
        std::optional<double> heading;
        std::size_t underLand; // lines closer than the spacing to a line of another cell
    } cases[] = {
        // The arm's last row leaves a strip along the bay's inner shore: a piece along it.
        {"L-shaped bay", shapes()[1].area, 50.0, {}, 1},
        {"rectangle with an island", shapes()[2].area, 100.0, {}, 0},
        // Under the island's lowest and over its highest corner.
        {"rectangle with an island, slanting", shapes()[2].area, 60.0, 37.0, 2},
        {"C-shaped bay with two islands", shapes()[3].area, 50.0, {}, 0},
        {"corridor", areaInMeters(kMontereyBay, rectangle(9600, 1200, 0)), 100.0, {}, 0},
    };
    for (const auto& c : cases) {
        const SurveyResult result = plan(c.area, c.spacing, c.heading);
        ASSERT_TRUE(result.ok) << c.name << ": " << result.error;
        const SurveyPlan& survey = result.plan;
        const CheckFrame frame(c.area.outer.front());
        const std::vector<std::vector<GeoPoint>> written = writtenLines(survey);
        std::vector<GeoLine> legs;
        for (const std::vector<GeoPoint>& line : written) {
            for (std::size_t i = 0; i + 1 < line.size(); ++i) {
                if (geodesicDistance(line[i], line[i + 1]) > 0.0) { // none where rounding met
                    legs.push_back({line[i], line[i + 1]});
                }
            }
        }
        const double covered = 1.0 - frame.uncoveredShare(frame.polygon(c.area), legs, c.spacing);
        EXPECT_GE(covered, std::floor(survey.coverage * 1e4) / 1e4) << c.name;
        EXPECT_GT(survey.coverage, 0.99) << c.name; // slanting shores leave corners uncovered
        double widest = 0.0;
        for (std::size_t k = 1; k < written.size(); ++k) {
            if (survey.lineCells[k] != survey.lineCells[k - 1]) {
                continue;
            }
            for (const GeoPoint& p : written[k]) {
                for (std::size_t i = 0; i + 1 < written[k - 1].size(); ++i) {
                    bool interior = false;
                    const double d =
                        distanceToLine(p, {written[k - 1][i], written[k - 1][i + 1]}, interior);
                    widest = interior ? std::max(widest, d) : widest;
                }
            }
        }
        EXPECT_LE(widest, c.spacing + 0.01) << c.name;
        std::vector<OGRLineString> laid;
        for (const GeoLine& line : survey.lines) {
            laid.push_back(frame.lineString({line.start, line.end}));
        }
        std::set<std::size_t> closer;
        for (std::size_t a = 0; a < laid.size(); ++a) {
            // Across from line a: its other lines lie a whole number of spacings off it.
            const double ax = laid[a].getX(0), ay = laid[a].getY(0);
            const double ux = (laid[a].getX(1) - ax) / laid[a].get_Length();
            const double uy = (laid[a].getY(1) - ay) / laid[a].get_Length();
            for (std::size_t b = a + 1; b < laid.size(); ++b) {
                const double d = std::abs(((laid[b].getX(0) + laid[b].getX(1)) / 2.0 - ax) * uy -
                                          ((laid[b].getY(0) + laid[b].getY(1)) / 2.0 - ay) * ux);
                if (survey.lineCells[a] != survey.lineCells[b] && d > 0.01 &&
                    d < survey.spacing - 0.05) {
                    closer.insert(laid[a].get_Length() < laid[b].get_Length() ? a : b);
                }
            }
        }
        EXPECT_EQ(closer.size(), c.underLand) << c.name;
    }
}

// Finer than four times what rounding moves a line sideways: refused with the finest there,
// worked apart from half a step of longitude at the area's southern edge (lines north-south).
TEST(SurveyPlan, SpacingFinerThanTheFilesHoldIsRefused) {
    const GeoArea area = areaInMeters(kMontereyBay, rectangle(2000, 1000, 0));
    const double east = geodesicDistance({36.80, 0.0}, {36.80, 1e-4}) / 2.0;
    char smallest[32];
    std::snprintf(smallest, sizeof smallest, "%.1f m", std::ceil(40.0 * east) / 10.0);
    const SurveyResult result = plan(area, 10.0);
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.error.rfind("a spacing of 10.0 m is finer than the mission files can hold", 0),
              0u)
        << result.error;
    EXPECT_NE(result.error.find(std::string("the smallest spacing possible is ") + smallest),
              std::string::npos)
        << result.error;
    EXPECT_TRUE(plan(area, std::ceil(40.0 * east) / 10.0, 0.0).ok);
}
