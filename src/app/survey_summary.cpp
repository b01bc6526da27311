// The console's account of a survey laid out from an area.
#include "app/survey_summary.h"

#include "input/line_text.h"

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

void writeSurveySummary(std::ostream& out, const std::string& areaName, double spacing,
                        const SurveyPlan& plan) {
    out << "\nSurvey of " << displayableLine(areaName) << ":\n";
    out << "  lines           " << plural(plan.lines.size(), "line", "lines") << " in "
        << plural(plan.cells, "cell", "cells") << ", " << fixed(spacing, 2) << " m apart\n";
    out << "  heading         " << fixed(plan.heading, 1) << " and "
        << fixed(plan.heading + 180.0, 1) << " degrees\n";
    if (!plan.crossLines.empty()) {
        out << "  tie lines       " << plan.crossLines.size() << " across, at "
            << fixed(plan.heading < 90.0 ? plan.heading + 90.0 : plan.heading - 90.0, 1) << " and "
            << fixed(plan.heading < 90.0 ? plan.heading + 270.0 : plan.heading + 90.0, 1)
            << " degrees\n";
    }
    out << "  line length     " << fixed(plan.lineLength, 1) << " m\n";
    if (plan.runInLength > 0.0) {
        out << "  run-in          " << fixed(plan.runInLength, 1) << " m\n";
    }
    out << "  transit length  " << fixed(plan.transitLength, 1) << " m\n";
    out << "  turns           " << plan.turns << '\n';
}
