// The options of survey generation, converted strictly from what was typed.
#include "app/survey_options.h"

#include "input/degrees_minutes.h"
#include "input/line_text.h"
#include "input/strict_number.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

SurveyOptions refused(std::string refusal) {
    SurveyOptions options;
    options.ok = false;
    options.refusal = "*** " + std::move(refusal) + " ***";
    return options;
}

std::string quoted(const std::string& text) {
    // Appended, not put in front of the line: GCC 12 would warn of an overlap (-Wrestrict).
    std::string result = "\"";
    result += displayableLine(text);
    result += '"';
    return result;
}

// The words of an option's value, between blanks, and between commas too where asked.
std::vector<std::string_view> wordsOf(std::string_view text, bool commaSeparates) {
    const auto separates = [&](char c) {
        return isBlankCharacter(c) || (commaSeparates && c == ',');
    };
    std::vector<std::string_view> words;
    while (!text.empty()) {
        if (separates(text.front())) {
            text.remove_prefix(1);
            continue;
        }
        std::size_t end = 0;
        while (end < text.size() && !separates(text[end])) {
            ++end;
        }
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return words;
}

// One number, blanks around it allowed.
bool numberOf(const std::string& text, double& value) {
    const std::vector<std::string_view> words = wordsOf(text, false);
    return words.size() == 1 && readStrictNumber(words.front(), value);
}

// "36.8 -121.9", "36.8, -121.9", or degrees and minutes with hemisphere letters.
bool positionOf(const std::string& text, GeoPoint& position) {
    const std::vector<std::string_view> words = wordsOf(text, true);
    if (words.size() == 2 && readStrictNumber(words[0], position.lat) &&
        readStrictNumber(words[1], position.lon)) {
        return true;
    }
    const DegreesPosition degrees = readDegreesPosition(text);
    if (degrees.outcome != DegreesOutcome::read) {
        return false;
    }
    position = {degrees.lat, degrees.lon};
    return true;
}

// The option and its value as typed, for a message that refuses the value later.
std::string asked(const char* option, const std::string& text) {
    const std::vector<std::string_view> words = wordsOf(text, false);
    return std::string(option) + " " +
           displayableLine(words.empty() ? text : std::string(words.front()));
}

struct Given {
    const char* name;
    const std::optional<std::string>& value;
};

} // namespace

SurveyOptions readSurveyOptions(const CommandLine& commandLine) {
    const Given given[] = {
        {"--lineSpacing", commandLine.lineSpacing},
        {"--swathWidth", commandLine.swathWidth},
        {"--overlap", commandLine.overlap},
        {"--lineHeading", commandLine.lineHeading},
        {"--runIn", commandLine.runIn},
        {"--startNear", commandLine.startNear},
        {"--crossLines", commandLine.crossLines},
        {"--standoff", commandLine.standoff},
        {"--turnRadius", commandLine.turnRadius},
        {"--minStrip", commandLine.minStrip},
    };
    if (!commandLine.surveyArea) {
        for (const Given& option : given) {
            if (option.value) {
                return refused(std::string(option.name) + " applies only with --survey AREA_FILE");
            }
        }
        // A route is one feature: of several named, taking one would plan what was not meant.
        for (const std::string& feature : commandLine.features) {
            if (feature != commandLine.features.front()) {
                return refused("several --feature options name several areas for --survey "
                               "AREA_FILE; a route is one feature, not " +
                               quoted(commandLine.features.front()) + " and " + quoted(feature));
            }
        }
        return {};
    }

    SurveyOptions options;
    SurveyRequest& request = options.request;
    if (commandLine.lineSpacing && commandLine.swathWidth) {
        return refused("--lineSpacing and --swathWidth both give the spacing of the lines: use "
                       "one of them");
    }
    if (commandLine.lineSpacing) {
        if (!numberOf(*commandLine.lineSpacing, request.spacing) || !(request.spacing > 0.0)) {
            return refused("--lineSpacing must be a number of meters greater than 0, not " +
                           quoted(*commandLine.lineSpacing));
        }
        if (commandLine.overlap) {
            return refused("--overlap applies only with --swathWidth");
        }
        request.spacingAsked = asked("--lineSpacing", *commandLine.lineSpacing);
    } else if (commandLine.swathWidth) {
        double swath = 0.0;
        if (!numberOf(*commandLine.swathWidth, swath) || !(swath > 0.0)) {
            return refused("--swathWidth must be a number of meters greater than 0, not " +
                           quoted(*commandLine.swathWidth));
        }
        double overlap = 0.0;
        if (commandLine.overlap &&
            (!numberOf(*commandLine.overlap, overlap) || !(overlap >= 0.0 && overlap < 100.0))) {
            return refused("--overlap must be a percentage from 0 up to but not including 100, "
                           "not " +
                           quoted(*commandLine.overlap));
        }
        request.spacing = swath * (1.0 - overlap / 100.0);
        request.spacingAsked = asked("--swathWidth", *commandLine.swathWidth);
        if (commandLine.overlap) {
            request.spacingAsked += " less " + asked("--overlap", *commandLine.overlap) + " %";
        }
        if (!(request.spacing > 0.0)) {
            return refused("--swathWidth " + quoted(*commandLine.swathWidth) +
                           " less the overlap leaves no spacing between the lines");
        }
    } else {
        return refused("--survey needs the spacing of the lines: --lineSpacing METERS, or "
                       "--swathWidth METERS with --overlap PERCENT");
    }
    if (commandLine.lineHeading) {
        double heading = 0.0;
        if (!numberOf(*commandLine.lineHeading, heading)) {
            return refused("--lineHeading must be a number of degrees clockwise from north, not " +
                           quoted(*commandLine.lineHeading));
        }
        request.heading = heading;
    }
    if (commandLine.runIn &&
        (!numberOf(*commandLine.runIn, request.runIn) || !(request.runIn >= 0.0))) {
        return refused("--runIn must be a number of meters, 0 or more, not " +
                       quoted(*commandLine.runIn));
    }
    if (commandLine.runIn) {
        request.runInAsked = asked("--runIn", *commandLine.runIn);
    }
    if (commandLine.standoff) {
        if (!numberOf(*commandLine.standoff, request.standoff) || !(request.standoff >= 0.0)) {
            return refused("--standoff must be a number of meters, 0 or more, not " +
                           quoted(*commandLine.standoff));
        }
        request.standoffAsked = asked("--standoff", *commandLine.standoff);
    }
    if (commandLine.minStrip) {
        double percent = 0.0;
        if (!numberOf(*commandLine.minStrip, percent) || !(percent >= 0.0 && percent < 100.0)) {
            return refused("--minStrip must be a percentage of the spacing from 0 up to but not "
                           "including 100, not " +
                           quoted(*commandLine.minStrip));
        }
        request.minStrip = percent / 100.0;
    }
    if (commandLine.turnRadius) {
        if (!numberOf(*commandLine.turnRadius, request.turnRadius) ||
            !(request.turnRadius >= 0.0)) {
            return refused("--turnRadius must be a number of meters, 0 or more, not " +
                           quoted(*commandLine.turnRadius));
        }
        // The vehicle comes out of a turn off its line: a run-in of the radius lets it settle
        // before it surveys, unless the planner said how long.
        if (!commandLine.runIn) {
            request.runIn = request.turnRadius;
            request.runInAsked = asked("--turnRadius", *commandLine.turnRadius) + "'s run-in";
        }
    }
    if (commandLine.startNear) {
        GeoPoint start;
        if (!positionOf(*commandLine.startNear, start) || !(std::abs(start.lat) <= 90.0) ||
            !(std::abs(start.lon) <= 180.0)) {
            return refused("--startNear must be a position \"LATITUDE LONGITUDE\" in degrees "
                           "(latitude -90..90, longitude -180..180), not " +
                           quoted(*commandLine.startNear));
        }
        request.startNear = start;
    }
    if (commandLine.crossLines) {
        double count = 0.0;
        if (!numberOf(*commandLine.crossLines, count) || !(count >= 0.0) ||
            count > static_cast<double>(kMostCrossLines) || count != std::floor(count)) {
            return refused("--crossLines must be a whole number from 0 to " +
                           std::to_string(kMostCrossLines) + ", not " +
                           quoted(*commandLine.crossLines));
        }
        request.crossLines = static_cast<std::size_t>(count);
    }
    return options;
}
