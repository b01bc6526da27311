// The console's account of a survey laid out from an area.
#include "app/survey_summary.h"

#include "input/line_text.h"
#include "route/geodesy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

} // namespace

std::string areaNameShown(const std::string& areaName) {
    return areaName == "-" ? std::string("standard input") : escapedText(areaName);
}

void writeSurveySummary(std::ostream& out, const std::string& areaName,
                        const SurveyRequest& request, const SurveyPlan& plan, double missionSpeed) {
    const double spacing = request.spacing;
    // As the summary writes them: areas whose headings differ by a rounding are one heading.
    const bool oneHeading =
        std::all_of(plan.areaHeadings.begin(), plan.areaHeadings.end(),
                    [&](double heading) { return fixed(heading, 1) == fixed(plan.heading, 1); });
    out << "\nSurvey of " << areaNameShown(areaName) << ":\n";
    out << "  area            " << fixed(plan.area / 1e6, 3) << " km2 of water\n";
    out << "  lines           " << plural(plan.lines.size(), "line", "lines") << " in "
        << plural(plan.cells, "cell", "cells") << ", " << fixed(plan.spacing, 2) << " m apart";
    if (plan.sideways > 0.0) {
        out << " (" << fixed(spacing, 2) << " m asked, less twice the " << fixed(plan.sideways, 2)
            << " m that rounding to 0.0001 degrees may move a line)";
    }
    // Rounded down, so that the figure is never more than the lines cover.
    out << "\n  coverage        " << fixed(std::floor(plan.coverage * 1e4) / 100.0, 2)
        << " % of the water surveyed, by the lines as the mission files hold them\n";
    if (plan.areaNames.size() > 1) {
        out << "  areas           " << plan.areaNames.size() << ", in the order surveyed:";
        for (std::size_t a = 0; a < plan.areaNames.size(); ++a) {
            out << (a == 0 ? " \"" : ", \"") << escapedText(plan.areaNames[a]) << '"';
        }
        out << "\n  between areas   " << fixed(plan.betweenAreas / 1000.0, 3)
            << " km of straight transits, not steered round land or keep-out zones\n";
    }
    if (!oneHeading) {
        out << "  heading         by area:";
        for (std::size_t a = 0; a < plan.areaHeadings.size(); ++a) {
            out << (a == 0 ? " " : ", ") << fixed(plan.areaHeadings[a], 1);
        }
        out << " degrees, and back\n";
    } else {
        out << "  heading         " << fixed(plan.heading, 1) << " and "
            << fixed(plan.heading + 180.0, 1) << " degrees\n";
    }
    if (!plan.crossLines.empty()) {
        // The holes may cut a tie line into pieces; the planner asked for whole lines.
        const std::size_t asked =
            request.crossLines * std::max<std::size_t>(1, plan.areaNames.size());
        out << "  tie lines       " << asked << " across"
            << (plan.crossLines.size() != asked
                    ? " (" + std::to_string(plan.crossLines.size()) + " pieces round the islands)"
                    : std::string());
        if (oneHeading) {
            out << ", at "
                << fixed(plan.heading < 90.0 ? plan.heading + 90.0 : plan.heading - 90.0, 1)
                << " and "
                << fixed(plan.heading < 90.0 ? plan.heading + 270.0 : plan.heading + 90.0, 1)
                << " degrees\n";
        } else {
            out << ", at right angles to the lines of each area\n";
        }
    }
    if (request.standoff > 0.0) {
        out << "  standoff        " << fixed(request.standoff, 1)
            << " m from every shore: " << fixed((plan.area - plan.areaSurveyed) / 1e6, 3) << " of "
            << fixed(plan.area / 1e6, 3) << " km2 left out\n";
    }
    out << "  line length     " << fixed(plan.lineLength / 1000.0, 3) << " km\n";
    if (plan.runInLength > 0.0) {
        out << "  run-in          " << fixed(plan.runInLength / 1000.0, 3) << " km\n";
    }
    out << "  transit length  " << fixed(plan.transitLength / 1000.0, 3) << " km\n";
    if (request.turnRadius > 0.0) {
        const std::size_t rows = plan.rowsPerTurn;
        out << "  pattern         ";
        if (rows <= 1) {
            out << "line after line: every turn spans " << fixed(plan.spacing, 1)
                << " m, at least twice the turning radius of " << fixed(request.turnRadius, 1)
                << " m\n";
        } else {
            out << "out " << rows + 1 << " lines and back " << rows
                << ", so that every turn spans at least twice the turning radius of "
                << fixed(request.turnRadius, 1) << " m";
            if (plan.narrowTurns > 0) {
                out << "; " << plural(plan.narrowTurns, "turn", "turns")
                    << " narrower, in cells too narrow for that";
            }
            out << '\n';
        }
    }
    out << "  turns           " << plan.turns << '\n';
    const double meters = plan.lineLength + plan.runInLength + plan.transitLength;
    out << "  survey time     ";
    if (missionSpeed > 0.0 && std::isfinite(missionSpeed)) {
        // To the minute: the speed through the water is no finer than that.
        const double minutes = std::round(meters / missionSpeed / 60.0);
        const double hours = std::floor(minutes / 60.0);
        out << fixed(hours, 0) << " h " << fixed(minutes - hours * 60.0, 0) << " min at "
            << fixed(missionSpeed, 2) << " m/s (missionSpeed), launch leg aside\n";
    } else {
        out << "unknown: missionSpeed " << missionSpeed << " m/s is no speed\n";
    }
    if (!plan.waypoints.empty()) {
        const GeoPoint start = plan.waypoints.front();
        const GeoPoint end = plan.waypoints.back();
        out << "  start           " << fixed(start.lat, 6) << ' '
            << fixed(normalLongitude(start.lon), 6) << '\n';
        out << "  end             " << fixed(end.lat, 6) << ' '
            << fixed(normalLongitude(end.lon), 6) << '\n';
    }
}
