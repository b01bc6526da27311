// The order of a run: options, echo, dialogue or file operand, reading, planning, writers.
#include "app/run.h"

#include "app/console.h"
#include "app/dialogue.h"
#include "app/export_selection.h"
#include "app/options.h"
#include "app/output_file.h"
#include "app/usage.h"
#include "app/waypoint_reader.h"
#include "output/csv_summary_writer.h"
#include "output/geojson_writer.h"
#include "output/gpx_writer.h"
#include "output/html_preview_writer.h"
#include "output/kml_writer.h"
#include "output/mission_script_writer.h"
#include "output/output_name.h"
#include "output/plan_report.h"
#include "output/survey_line_writer.h"
#include "output/waypoint_file_writer.h"
#include "route/mission_parameters.h"
#include "route/plan_check.h"
#include "route/route_planner.h"
#include "route/waypoint_list.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::string shortestText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A bad line is echoed so the planner can find it; control bytes would garble the
// console, and a runaway line (a binary file, say) would bury the message.
std::string displayableLine(const std::string& line) {
    constexpr std::size_t kMaxCharacters = 80;
    std::string shown;
    std::size_t characters = 0;
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        const bool continuesCharacter = (byte & 0xC0) == 0x80; // inside a UTF-8 sequence
        if (!continuesCharacter) {
            if (characters == kMaxCharacters) {
                shown += "...";
                return shown;
            }
            ++characters;
        }
        shown += (byte < 0x20 || byte == 0x7f) ? '?' : c;
    }
    return shown;
}

// A directory or a named pipe is never a waypoint file: reading a directory fails only
// after it has opened, and opening a pipe nobody writes to waits for ever.
bool openWaypointFile(const std::string& name, std::ifstream& file) {
    std::error_code error;
    const auto type = std::filesystem::status(name, error).type();
    if (type == std::filesystem::file_type::directory || type == std::filesystem::file_type::fifo) {
        return false;
    }
    // Read as the bytes stand, so that a file gives the same route on every system: Windows
    // text mode would end the file at a stray Ctrl-Z and quietly drop the waypoints after it.
    // The reader itself takes CR LF line ends.
    file.open(name, std::ios::in | std::ios::binary);
    return file.is_open();
}

struct OutputKind {
    const char* extension;
    const char* name;       // as the failure messages call the file
    const char* wroteLabel; // confirmation printed in front of the file name
    const char* wroteEnd;   // and behind it
};

constexpr OutputKind kMissionScript{"cfg", "mission", " **** Wrote mission script: ", " **** \n"};
constexpr OutputKind kWaypointFile{"wpt", "waypoint", "\n **** Wrote waypoints file : ", " ****\n"};
constexpr OutputKind kSurveyLine{"pts", "surveyline", "\n **** Wrote survey line : ", " ****\n"};
constexpr OutputKind kCsvSummary{"csv", "csv", "\n **** Wrote csv file : ", " ****\n"};

// Confirms a file only once it is complete under its own name; a failure leaves any
// earlier file of that name as it was.
bool writeOutput(std::ostream& out, const OutputKind& kind, const std::string& stem,
                 const std::function<void(std::ostream&, const std::string&)>& write) {
    const std::string fileName = stem + kind.extension;
    const OutputFileStatus status =
        writeOutputFile(fileName, [&](std::ostream& file) { write(file, fileName); });
    switch (status) {
    case OutputFileStatus::written:
        out << kind.wroteLabel << fileName << kind.wroteEnd;
        return true;
    case OutputFileStatus::cannotOpen:
        out << "cannot open " << kind.name << " output file " << fileName << ' ';
        return false;
    case OutputFileStatus::cannotWrite:
        break;
    }
    out << "cannot write " << kind.name << " output file " << fileName << ' ';
    return false;
}

constexpr OutputKind kGeoJson{"geojson", "geojson", "\n **** Wrote geojson file : ", " ****\n"};
constexpr OutputKind kKml{"kml", "kml", "\n **** Wrote kml file : ", " ****\n"};
constexpr OutputKind kGpx{"gpx", "gpx", "\n **** Wrote gpx file : ", " ****\n"};
constexpr OutputKind kHtmlPreview{"html", "html", "\n **** Wrote html file : ", " ****\n"};

// The exports asked for, after the four files and always in this order; the first that
// fails ends the run like a failed output file.
bool writeExports(std::ostream& out, const ExportSelection& exports, const std::string& stem,
                  const WaypointList& route, const RouteTotals& totals) {
    return (!exports.geojson || writeOutput(out, kGeoJson, stem,
                                            [&](std::ostream& file, const std::string&) {
                                                writeGeoJson(file, route, totals);
                                            })) &&
           (!exports.kml || writeOutput(out, kKml, stem,
                                        [&](std::ostream& file, const std::string& fileName) {
                                            writeKml(file, fileName, route, totals);
                                        })) &&
           (!exports.gpx || writeOutput(out, kGpx, stem,
                                        [&](std::ostream& file, const std::string& fileName) {
                                            writeGpx(file, fileName, route, totals);
                                        })) &&
           (!exports.html || writeOutput(out, kHtmlPreview, stem,
                                         [&](std::ostream& file, const std::string& fileName) {
                                             writeHtmlPreview(file, fileName, route, totals);
                                         }));
}

int refuseMaxLeg(std::ostream& out, double maxLegMeters) {
    out << "*** maxLegMeters MUST BE GREATER THAN 0, NOT " << shortestText(maxLegMeters)
        << " ***\n";
    return 1;
}

int runToEnd(int argc, char* argv[], std::istream& in, std::ostream& out, std::ostream& err) {
    MissionParameters params;
    const CommandLine commandLine = parseOptions(argc, argv, params, out);
    // Like any tool's, the version answers on its own: no file needed, nothing else done.
    if (commandLine.showVersion) {
        out << "tavra " << TAVRA_VERSION << '\n';
        return 0;
    }
    // A mistyped format is refused before the planner answers any question or waits for
    // any planning, and before any file exists.
    const ExportChoice exports = parseExportList(commandLine.exportList);
    if (!exports.refusal.empty()) {
        out << exports.refusal;
        return 1;
    }
    if (params.verbose != 0) {
        printParameters(out, params);
    }

    std::ifstream waypointFile;
    std::string waypointFileName;
    if (isOn(params.interactive)) {
        if (runInteractiveDialogue(in, out, params, waypointFile, waitForKeyPress) !=
            DialogueStatus::ready) {
            return 1;
        }
        waypointFileName = "the waypoint file";
    } else {
        if (!commandLine.waypointFile) {
            out << "\n\n*** WAYPOINTS FILENAME IS MISSING ***\n";
            printUsage(out);
            return 1;
        }
        waypointFileName = *commandLine.waypointFile;
        if (!openWaypointFile(waypointFileName, waypointFile)) {
            out << "***CANNOT OPEN FILE " << waypointFileName << ' ';
            printUsage(out);
            return 1;
        }
    }

    // Zero or less would split legs without end; NaN would silently split none.
    if (!(params.maxLegMeters > 0.0)) {
        return refuseMaxLeg(out, params.maxLegMeters);
    }

    WaypointList route;
    const ReadResult read = readWaypoints(waypointFile, route);
    if (!read.ok) {
        out << "*** BAD WAYPOINT LINE *** " << waypointFileName << " line " << read.badLineNumber
            << ": \"" << displayableLine(read.badLineText)
            << "\" (expected latitude then longitude in decimal degrees)\n";
        return 1;
    }
    if (route.empty()) {
        out << "list is empty\n";
        return 1;
    }

    RouteTotals totals;
    const PlanResult plan = planRoute(route, params, totals);
    switch (plan.status) {
    case PlanStatus::planned:
        break;
    case PlanStatus::invalidMaxLeg:
        return refuseMaxLeg(out, params.maxLegMeters);
    case PlanStatus::tooManyPoints:
        out << "*** maxLegMeters " << shortestText(params.maxLegMeters) << " WOULD MAKE A ROUTE OF "
            << plan.routePoints << " POINTS, MORE THAN " << kMaxRoutePoints << " ***\n";
        return 1;
    }

    const std::vector<PlanFinding> findings = checkPlan(params, route);
    // The report is what a check is run for, so its findings stand in it, on standard
    // output, and only there: a console shows both streams, and twice would be noise.
    if (commandLine.checkOnly) {
        writePlanReport(out, route, totals, findings);
        return hasError(findings) ? 1 : 0;
    }
    // The values are not refused, since a planner may mean them; the findings go where
    // they cannot change what standard output has always carried. Standard output is
    // flushed first so that at a console they follow what was printed before them.
    out.flush();
    for (const PlanFinding& finding : findings) {
        err << findingText(finding) << '\n';
    }
    err.flush();

    // One stem for the whole run, so that the four files of a run always belong together
    // even when the minute turns while they are written.
    const std::string stem = makeOutputBaseName();
    if (stem.empty()) {
        out << "*** CANNOT READ THE CLOCK ***\n";
        return 1;
    }
    const bool allWritten =
        writeOutput(out, kMissionScript, stem,
                    [&](std::ostream& file, const std::string& fileName) {
                        writeMissionScript(file, fileName, route, params, totals);
                    }) &&
        writeOutput(
            out, kWaypointFile, stem,
            [&](std::ostream& file, const std::string&) { writeWaypointFile(file, route); }) &&
        writeOutput(out, kSurveyLine, stem,
                    [&](std::ostream& file, const std::string& fileName) {
                        writeSurveyLine(file, fileName, route);
                    }) &&
        writeOutput(out, kCsvSummary, stem, [&](std::ostream& file, const std::string&) {
            writeCsvSummary(file, route, totals);
        });
    return allWritten && writeExports(out, exports.selection, stem, route, totals) ? 0 : 1;
}

} // namespace

int run(int argc, char* argv[], std::istream& in, std::ostream& out, std::ostream& err) {
    const int status = runToEnd(argc, argv, in, out, err);
    out.flush();
    return status;
}

int run(int argc, char* argv[], std::istream& in, std::ostream& out) {
    return run(argc, argv, in, out, std::cerr);
}
