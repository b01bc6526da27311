// The water depth along every leg: read from a grid at every cell the leg crosses.
#include "sea/leg_sampling.h"

#include "route/geodesy.h"
#include "sea/cell_walk.h"
#include "sea/route_legs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The cell size is measured at places this far apart along a leg, and the step kept a
// little under half the smallest: across 10 km a cell's width changes by under 2 % even at
// 80 degrees of latitude, so the step stays at most half a cell between the places too.
constexpr double kCellMeasureSpacing = 10'000.0;
constexpr double kStepPerCell = 0.49;

GridReading unknown(DepthState state) {
    return GridReading{state, kNaN, kNaN};
}

// The two cells around a fractional position along one axis, and how far it lies from the
// first. Within half a cell of the outermost centres the position is still on the grid, and
// both neighbours are that outer cell; across a wrapping axis the neighbours wrap.
struct AxisCells {
    std::int64_t first = 0;
    std::int64_t second = 0;
    double fraction = 0.0;
};

std::optional<AxisCells> axisCells(double position, std::int64_t count, bool wraps) {
    if (!std::isfinite(position) || count <= 0) {
        return std::nullopt;
    }
    if (wraps) {
        const double width = static_cast<double>(count);
        // fmod is exact; only adding the width to a tiny negative rest can round up to it.
        double turned = std::fmod(position, width);
        turned = turned < 0.0 ? turned + width : turned;
        turned = turned >= width ? 0.0 : turned;
        const double first = std::floor(turned);
        const auto index = static_cast<std::int64_t>(first) % count;
        return AxisCells{index, (index + 1) % count, turned - first};
    }
    const double last = static_cast<double>(count - 1);
    if (position < -0.5 || position > last + 0.5) {
        return std::nullopt;
    }
    const double first = std::floor(position);
    const double fraction = position - first;
    const auto clamp = [last](double index) {
        return static_cast<std::int64_t>(std::clamp(index, 0.0, last));
    };
    return AxisCells{clamp(first), clamp(first + 1.0), fraction};
}

// The shortest run along the leg, near each place checked, that moves it by a whole cell
// across the columns or along the rows. A leg crosses columns only as far as it heads east
// or west: towards a pole the columns close in to nothing, and a leg along a meridian to
// the pole would otherwise be read at every millimetre there.
double shortestCellRun(const DepthGrid& grid, const std::vector<GeoPoint>& places) {
    constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
    double shortest = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < places.size(); ++i) {
        const GeoPoint& place = places[i];
        const GeoPoint& from = i + 1 < places.size() ? place : places[i - 1];
        const GeoPoint& to = i + 1 < places.size() ? places[i + 1] : place;
        const double heading = initialBearing(from.lat, from.lon, to.lat, to.lon) * kDegToRad;
        const GroundCell cell = grid.cellOnGround(place.lat, place.lon);
        const double east = std::fabs(std::sin(heading));
        const double north = std::fabs(std::cos(heading));
        // At the pole itself every column meets: there is no width to cross.
        if (cell.width > 0.0 && east > 0.0 && std::fabs(place.lat) < 90.0) {
            shortest = std::min(shortest, cell.width / east);
        }
        if (cell.height > 0.0 && north > 0.0) {
            shortest = std::min(shortest, cell.height / north);
        }
    }
    return shortest;
}

struct LegPlan {
    std::uint64_t pieces = 0; // samples are pieces + 1
    double step = 0.0;
    GroundCell middleCell;
};

LegPlan planLeg(const DepthGrid& grid, const SurveyLeg& leg) {
    LegPlan plan;
    const double span = legSpan(leg);
    const auto measures =
        static_cast<std::size_t>(std::clamp(std::ceil(span / kCellMeasureSpacing), 2.0, 100'000.0));
    const std::vector<GeoPoint> places = placesAlong(leg, measures);
    const GeoPoint& middle = places[places.size() / 2];
    plan.middleCell = grid.cellOnGround(middle.lat, middle.lon);
    if (!(span > 0.0)) {
        return plan; // a leg of 0 m: one sample
    }
    const double side = shortestCellRun(grid, places);
    // Off any cell that can be measured, the leg is unknown all along: its two ends say so.
    const double pieces = std::isfinite(side) ? std::ceil(span / (kStepPerCell * side)) : 1.0;
    plan.pieces = pieces < 1.0    ? 1
                  : pieces > 1e18 ? std::uint64_t{1} << 62
                                  : static_cast<std::uint64_t>(pieces);
    plan.step = span / static_cast<double>(plan.pieces);
    return plan;
}

// One step of a column and of a row at a place, on the ground: the inverse of how the grid's
// position moves for a few meters east and north there. Nothing where it cannot be told.
std::pair<GroundStep, GroundStep> gridSteps(const DepthGrid& grid, const GeoPoint& place) {
    constexpr double kProbe = 10.0; // meters
    const std::optional<GridPoint> here = grid.locate(place.lat, place.lon);
    const GeoPoint eastward = destinationPoint(place.lat, place.lon, 90.0, kProbe);
    const GeoPoint northward = destinationPoint(place.lat, place.lon, 0.0, kProbe);
    const std::optional<GridPoint> east = grid.locate(eastward.lat, eastward.lon);
    const std::optional<GridPoint> north = grid.locate(northward.lat, northward.lon);
    if (!here || !east || !north) {
        return {};
    }
    const auto width = static_cast<double>(grid.shape().columns);
    const auto across = [&](double column) {
        const double moved = column - here->column;
        return grid.shape().wrapsColumns ? moved - width * std::round(moved / width) : moved;
    };
    // Cells per meter east (a, c) and north (b, d), columns over rows.
    const double a = across(east->column) / kProbe;
    const double b = across(north->column) / kProbe;
    const double c = (east->row - here->row) / kProbe;
    const double d = (north->row - here->row) / kProbe;
    const double determinant = a * d - b * c;
    if (!std::isfinite(determinant) || determinant == 0.0) {
        return {};
    }
    return {GroundStep{d / determinant, -c / determinant},
            GroundStep{-b / determinant, a / determinant}};
}

std::string countText(std::uint64_t count) {
    return std::to_string(count);
}

} // namespace

namespace {

GridReading readAt(DepthGrid& grid, const std::optional<GridPoint>& point) {
    if (!point) {
        return unknown(DepthState::offGrid);
    }
    const GridShape shape = grid.shape();
    const std::optional<AxisCells> columns =
        axisCells(point->column, shape.columns, shape.wrapsColumns);
    const std::optional<AxisCells> rows = axisCells(point->row, shape.rows, false);
    if (!columns || !rows) {
        return unknown(DepthState::offGrid);
    }
    const std::optional<double> d00 = grid.cellDepth(columns->first, rows->first);
    const std::optional<double> d10 = grid.cellDepth(columns->second, rows->first);
    const std::optional<double> d01 = grid.cellDepth(columns->first, rows->second);
    const std::optional<double> d11 = grid.cellDepth(columns->second, rows->second);
    if (!d00 || !d10 || !d01 || !d11) {
        return unknown(DepthState::noData);
    }
    const double fc = columns->fraction;
    const double fr = rows->fraction;
    const double depth = (1.0 - fc) * (1.0 - fr) * *d00 + fc * (1.0 - fr) * *d10 +
                         (1.0 - fc) * fr * *d01 + fc * fr * *d11;
    if (!std::isfinite(depth)) {
        return unknown(DepthState::noData); // values beyond what a depth can be
    }
    return GridReading{DepthState::known, depth, std::min({*d00, *d10, *d01, *d11})};
}

} // namespace

GridReading readGrid(DepthGrid& grid, double lat, double lon) {
    return readAt(grid, grid.locate(lat, lon));
}

SeabedResult sampleRoute(DepthGrid& grid, const std::vector<SurveyLeg>& legs,
                         const std::string& gridName) {
    SeabedResult result;
    std::vector<LegPlan> plans;
    plans.reserve(legs.size());
    std::uint64_t total = 0;
    for (const SurveyLeg& leg : legs) {
        plans.push_back(leg.onGlobe ? planLeg(grid, leg) : LegPlan{});
        const std::uint64_t samples = leg.onGlobe ? plans.back().pieces + 1 : 0;
        total = samples > kMaxDepthSamples || total + samples > kMaxDepthSamples
                    ? kMaxDepthSamples + 1
                    : total + samples;
    }
    if (total > kMaxDepthSamples) {
        result.ok = false;
        result.error = "*** --bathymetry " + gridName + ": the route would be read at more than " +
                       countText(kMaxDepthSamples) +
                       " places of this grid (half a cell apart); use a coarser grid or a "
                       "shorter route ***";
        return result;
    }
    result.seabed.reserve(legs.size());
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const SurveyLeg& leg = legs[i];
        const LegPlan& plan = plans[i];
        LegSeabed seabed;
        seabed.leg = leg.leg;
        seabed.cellWidth = plan.middleCell.width;
        seabed.cellHeight = plan.middleCell.height;
        seabed.step = plan.step;
        if (leg.onGlobe) {
            const std::vector<GeoPoint> places = placesAlong(leg, plan.pieces);
            seabed.samples.reserve(places.size());
            std::vector<WalkPlace> walked;
            walked.reserve(places.size());
            for (std::size_t k = 0; k < places.size(); ++k) {
                // Along the leg as planned: the last sample stands exactly at its length.
                const double along = plan.pieces == 0 ? 0.0
                                                      : leg.length * static_cast<double>(k) /
                                                            static_cast<double>(plan.pieces);
                walked.push_back(
                    WalkPlace{along, places[k], grid.locate(places[k].lat, places[k].lon)});
                const GridReading reading = readAt(grid, walked.back().onGrid);
                seabed.samples.push_back(DepthSample{along, leg.routeStart + along, places[k].lat,
                                                     places[k].lon, reading.state, reading.depth,
                                                     reading.shallowest});
            }
            const auto [perColumn, perRow] = gridSteps(grid, places[places.size() / 2]);
            seabed.cells = walkLegCells(grid, walked, perColumn, perRow);
        }
        result.seabed.push_back(std::move(seabed));
        const std::string failure = grid.readFailure();
        if (!failure.empty()) {
            result.ok = false;
            result.error =
                "*** --bathymetry " + gridName + ": cannot read the grid (" + failure + ") ***";
            result.seabed.clear();
            return result;
        }
    }
    return result;
}
