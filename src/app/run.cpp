// The order of a run: options, echo, dialogue or file operand, reading, planning, writers.
#include "app/run.h"

#include "app/console.h"
#include "app/dialogue.h"
#include "app/export_selection.h"
#include "app/gdal_access.h"
#include "app/options.h"
#include "app/output_claim.h"
#include "app/output_file.h"
#include "app/sea_check.h"
#include "app/source_file.h"
#include "app/survey_generation.h"
#include "app/survey_options.h"
#include "app/survey_summary.h"
#include "app/usage.h"
#include "input/line_text.h"
#include "input/read_source.h"
#include "output/csv_summary_writer.h"
#include "output/geojson_writer.h"
#include "output/gpx_writer.h"
#include "output/html_preview_writer.h"
#include "output/kml_writer.h"
#include "output/lines_csv_writer.h"
#include "output/mission_script_writer.h"
#include "output/output_name.h"
#include "output/plan_report.h"
#include "output/survey_line_writer.h"
#include "output/survey_waypoint_writer.h"
#include "output/waypoint_file_writer.h"
#include "route/ellipsoid.h"
#include "route/mission_parameters.h"
#include "route/plan_check.h"
#include "route/route_planner.h"
#include "route/sea_survey.h"
#include "route/waypoint_list.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string shortestText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The positions become route nodes, and each time half of those left have been taken the
// rest moves to a smaller block: a route of millions of positions never stands in memory
// twice over.
void appendPositions(WaypointList& route, std::vector<SourcePoint> positions) {
    constexpr std::size_t kFewPositions = std::size_t{1} << 16;
    std::size_t taken = 0;
    while (taken < positions.size()) {
        appendNode(route, positions[taken].lat, positions[taken].lon);
        ++taken;
        if (taken >= kFewPositions && taken * 2 >= positions.size()) {
            positions.erase(positions.begin(),
                            positions.begin() + static_cast<std::ptrdiff_t>(taken));
            positions.shrink_to_fit();
            taken = 0;
        }
    }
}

// Reads the route from the file's bytes and lets the bytes and the reader's document go
// before planning. The messages name the file as the planner gave it.
bool readRoute(SourceFile& file, const std::optional<std::string>& feature, std::ostream& out,
               WaypointList& route, std::vector<std::string>& notes) {
    DocumentResult read = readSource(file.source());
    std::string().swap(file.bytes);
    if (!read.ok) {
        out << read.error << '\n';
        return false;
    }
    RouteSelection selection = selectRoute(read.document, file.name, feature);
    for (const SourceNote& note : read.document.notes) {
        notes.push_back(note.message);
    }
    read = DocumentResult{};
    if (!selection.ok) {
        out << selection.error << '\n';
        return false;
    }
    appendPositions(route, std::move(selection.points));
    return true;
}

// Lays the survey out from the area file and puts its waypoints on the route as the survey
// waypoint file holds them, so that planning that file again gives the same files.
bool readSurvey(const CommandLine& commandLine, const SurveyRequest& request, std::istream& in,
                std::ostream& out, WaypointList& route, std::vector<std::string>& notes,
                SurveyPlan& plan, std::vector<GeoArea>& areas) {
    SourceFile file;
    std::string message;
    switch (loadSourceFile(*commandLine.surveyArea, in, file, message)) {
    case SourceFileStatus::loaded:
        break;
    case SourceFileStatus::cannotOpen:
        out << "*** cannot open the area file " << displayableLine(*commandLine.surveyArea)
            << " ***\n";
        return false;
    case SourceFileStatus::cannotRead:
        out << message << '\n';
        return false;
    }
    // Several --feature, or --feature all, make one mission of several areas.
    const bool severalAsked =
        commandLine.features.size() > 1 ||
        (commandLine.features.size() == 1 && commandLine.features[0] == "all");
    AreasSelection selection;
    {
        const DocumentResult read = readSource(file.source());
        if (!read.ok) {
            out << read.error << '\n';
            return false;
        }
        if (severalAsked) {
            selection = selectAreas(read.document, file.name, commandLine.features);
        } else {
            AreaSelection one = selectArea(read.document, file.name, commandLine.feature);
            selection.ok = one.ok;
            selection.error = std::move(one.error);
            selection.areas.push_back(std::move(one.area));
        }
        for (const SourceNote& note : read.document.notes) {
            notes.push_back(note.message);
        }
    }
    std::string().swap(file.bytes);
    if (!selection.ok) {
        out << selection.error << '\n';
        return false;
    }
    const SurveyResult result = selection.areas.size() == 1
                                    ? generateSurvey(selection.areas.front(), request)
                                    : generateSurveys(selection.areas, request);
    if (!result.ok) {
        out << "*** " << displayableLine(file.name) << ": " << result.error << " ***\n";
        return false;
    }
    plan = result.plan;
    // In the order surveyed: the launch leg leads to the first.
    if (plan.areaOrder.empty()) {
        areas = std::move(selection.areas);
    } else {
        for (const std::size_t index : plan.areaOrder) {
            areas.push_back(std::move(selection.areas[index]));
        }
    }
    for (const GeoPoint& waypoint : plan.waypoints) {
        const GeoPoint written = asWritten(waypoint);
        appendNode(route, written.lat, written.lon);
    }
    return true;
}

// What must hold before an area is read: a build that lays surveys out, the area in place
// of a waypoint file and not in a dialogue.
bool mayLayOutSurvey(const CommandLine& commandLine, const MissionParameters& params,
                     std::ostream& out) {
    if (const std::optional<std::string> missing = missingSurveyGeneration()) {
        out << *missing << '\n';
        return false;
    }
    if (isOn(params.interactive)) {
        out << "*** --survey takes its area on the command line, not with --interactive ***\n";
        return false;
    }
    if (commandLine.waypointFile) {
        out << "*** --survey takes the area instead of a waypoint file: "
            << displayableLine(*commandLine.waypointFile) << " is one file too many ***\n";
        return false;
    }
    return true;
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
constexpr OutputKind kSurveyWaypoints{"survey.txt", "survey waypoint",
                                      "\n **** Wrote survey waypoints file : ", " ****\n"};

std::string surveyComment(const std::string& areaName, const SurveyRequest& request,
                          const SurveyPlan& plan) {
    char figures[160];
    if (plan.areaNames.size() > 1) {
        // The areas' headings differ: each is in the summary.
        std::snprintf(figures, sizeof figures,
                      ": %zu lines in %zu areas, %.2f m apart, %zu tie lines", plan.lines.size(),
                      plan.areaNames.size(), request.spacing,
                      request.crossLines * plan.areaNames.size());
    } else {
        std::snprintf(figures, sizeof figures,
                      ": %zu lines at %.1f degrees, %.2f m apart, %zu tie lines", plan.lines.size(),
                      plan.heading, request.spacing, request.crossLines);
    }
    // The comment is one line of a file that is read again: no name may break it.
    return "Survey waypoints laid out by tavra from " + areaNameShown(areaName) + figures;
}

// Where a run's files go: the folder (empty for the current one) and the stem of their names.
struct OutputPlace {
    std::string folder;
    std::string stem;
};

// Confirms a file only once it is complete under its own name; a failure leaves any
// earlier file of that name as it was, and says why. Inside the file the name stays bare.
bool writeOutput(std::ostream& out, const OutputKind& kind, const OutputPlace& place,
                 const std::function<void(std::ostream&, const std::string&)>& write) {
    const std::string fileName = place.stem + kind.extension;
    const std::string path = pathInFolder(place.folder, fileName);
    std::string reason;
    const OutputFileStatus status = writeOutputFile(
        path, [&](std::ostream& file) { write(file, fileName); }, &reason);
    switch (status) {
    case OutputFileStatus::written:
        out << kind.wroteLabel << escapedText(path) << kind.wroteEnd;
        return true;
    case OutputFileStatus::cannotOpen:
        out << "cannot open " << kind.name << " output file " << escapedText(path) << ": " << reason
            << '\n';
        return false;
    case OutputFileStatus::cannotWrite:
        break;
    }
    out << "cannot write " << kind.name << " output file " << escapedText(path) << ": " << reason
        << '\n';
    return false;
}

constexpr OutputKind kGeoJson{"geojson", "geojson", "\n **** Wrote geojson file : ", " ****\n"};
constexpr OutputKind kKml{"kml", "kml", "\n **** Wrote kml file : ", " ****\n"};
constexpr OutputKind kGpx{"gpx", "gpx", "\n **** Wrote gpx file : ", " ****\n"};
constexpr OutputKind kHtmlPreview{"html", "html", "\n **** Wrote html file : ", " ****\n"};
constexpr OutputKind kLinesCsv{"lines.csv", "lines csv",
                               "\n **** Wrote lines csv file : ", " ****\n"};

// With the sea checks, the preview draws the sea, the findings and the mission's depths.
struct MeasuredSea {
    const SeaSurvey& survey;
    const std::vector<PlanFinding>& findings;
    const MissionParameters& params;
    bool landChecked; // --keepOut or --bathymetry: the preview may draw water as water
};

// The exports asked for, after the four files and always in this order; the first that
// fails ends the run like a failed output file.
bool writeExports(std::ostream& out, const ExportSelection& exports, const OutputPlace& stem,
                  const WaypointList& route, const RouteTotals& totals, const MeasuredSea* measured,
                  const std::vector<GeoArea>* surveyAreas, const SurveyPlan* surveyed) {
    const SeaSurvey* sea = measured != nullptr ? &measured->survey : nullptr;
    const std::vector<SurveyPiece>* pieces = surveyed != nullptr ? &surveyed->pieces : nullptr;
    return (!exports.geojson ||
            writeOutput(out, kGeoJson, stem,
                        [&](std::ostream& file, const std::string&) {
                            writeGeoJson(file, route, totals, sea,
                                         measured != nullptr ? &measured->findings : nullptr,
                                         pieces);
                        })) &&
           (!exports.kml || writeOutput(out, kKml, stem,
                                        [&](std::ostream& file, const std::string& fileName) {
                                            writeKml(file, fileName, route, totals);
                                        })) &&
           (!exports.gpx || writeOutput(out, kGpx, stem,
                                        [&](std::ostream& file, const std::string& fileName) {
                                            writeGpx(file, fileName, route, totals);
                                        })) &&
           (!exports.html ||
            writeOutput(out, kHtmlPreview, stem,
                        [&](std::ostream& file, const std::string& fileName) {
                            if (measured != nullptr) {
                                writeHtmlPreview(file, fileName, route, totals, measured->survey,
                                                 measured->findings, measured->params,
                                                 measured->landChecked, surveyAreas, pieces);
                            } else if (surveyAreas != nullptr) {
                                writeHtmlPreview(file, fileName, route, totals, *surveyAreas,
                                                 pieces);
                            } else {
                                writeHtmlPreview(file, fileName, route, totals);
                            }
                        })) &&
           (!exports.linesCsv || pieces == nullptr ||
            writeOutput(out, kLinesCsv, stem, [&](std::ostream& file, const std::string&) {
                writeLinesCsv(file, route, *pieces);
            }));
}

int refuseMaxLeg(std::ostream& out, double maxLegMeters) {
    out << "*** maxLegMeters MUST BE GREATER THAN 0, NOT " << shortestText(maxLegMeters)
        << " ***\n";
    return 1;
}

int runToEnd(int argc, char* argv[], std::istream& in, std::ostream& out, std::ostream& err) {
    MissionParameters params;
    const CommandLine commandLine = parseOptions(argc, argv, params);
    // Like any tool's, the version answers on its own: no file needed, nothing else done.
    if (commandLine.showVersion) {
        out << "tavra " << TAVRA_VERSION << '\n';
        return 0;
    }
    // A mistyped option or value would otherwise sail with a default in its place.
    if (commandLine.mistake) {
        out << *commandLine.mistake << "\nRun tavra --help for the options.\n";
        return 1;
    }
    if (commandLine.helpAsked > 0) {
        // Help alone is a question answered in full; beside a file it is the short list,
        // and the run goes on.
        if (!commandLine.waypointFile && !commandLine.surveyArea && !isOn(params.interactive)) {
            printHelp(out);
            return 0;
        }
        for (int shown = 0; shown < commandLine.helpAsked; ++shown) {
            printUsage(out);
        }
    }
    setGdalAccess(commandLine);
    // The names take the minute the run started in, once: all of its files share it.
    const std::time_t started = std::time(nullptr);
    OutputPlace place;
    if (commandLine.outputDir) {
        std::error_code error;
        if (!std::filesystem::is_directory(*commandLine.outputDir, error)) {
            out << "*** --outputDir " << escapedText(*commandLine.outputDir)
                << ": no such folder (it is not made for you) ***\n";
            return 1;
        }
        place.folder = *commandLine.outputDir;
    }
    // A mistyped format is refused before the planner answers any question or waits for
    // any planning, and before any file exists.
    const ExportChoice exports = parseExportList(commandLine.exportList);
    if (!exports.refusal.empty()) {
        out << exports.refusal;
        return 1;
    }
    SurveyOptions survey = readSurveyOptions(commandLine);
    if (!survey.ok) {
        out << survey.refusal << '\n';
        return 1;
    }
    if (exports.selection.linesCsv && !commandLine.surveyArea) {
        out << "*** --export lines-csv applies only with --survey AREA_FILE ***\n";
        return 1;
    }
    if (commandLine.splitOnGeodesic) {
        if (const std::optional<std::string> missing = missingEllipsoid()) {
            out << *missing << '\n';
            return 1;
        }
    }
    // The survey cuts its lines as the planner would measure them, so that it cuts none.
    survey.request.maxLegMeters = params.maxLegMeters;
    survey.request.geodesicLegs = commandLine.splitOnGeodesic;
    const LegGeometry legGeometry =
        commandLine.splitOnGeodesic ? LegGeometry::geodesic : LegGeometry::sphere;
    if (params.verbose != 0) {
        printParameters(out, params);
    }
    // The sea checks' values are refused and their files read before any question is asked
    // or any waypoint read. Standard input serves a file of theirs only when neither the
    // waypoints (or the survey's area) nor the dialogue read from it.
    const bool waypointsOnStandardInput =
        (commandLine.waypointFile && *commandLine.waypointFile == "-") ||
        (commandLine.surveyArea && *commandLine.surveyArea == "-");
    const SeaPreparation sea = prepareSeaChecks(
        commandLine, isOn(params.interactive) || waypointsOnStandardInput ? nullptr : &in);
    if (!sea.ok) {
        out << sea.error << '\n';
        return 1;
    }

    SourceFile waypointFile;
    OpenedSource opened; // on the command line: opened here, read once the values are sound
    WaypointList route;
    std::vector<std::string> readerNotes;
    std::optional<SurveyPlan> surveyed; // with --survey, instead of a waypoint file
    std::vector<GeoArea> surveyAreas;   // and the areas it was laid out in, in order
    if (commandLine.surveyArea) {
        if (!mayLayOutSurvey(commandLine, params, out)) {
            return 1;
        }
        surveyed.emplace();
    } else if (isOn(params.interactive)) {
        if (runInteractiveDialogue(in, out, params, waypointFile, waitForKeyPress) !=
            DialogueStatus::ready) {
            return 1;
        }
        waypointFile.name = "the waypoint file";
    } else {
        if (!commandLine.waypointFile) {
            out << "\n\n*** WAYPOINTS FILENAME IS MISSING ***\n";
            printUsage(out);
            return 1;
        }
        if (!openSource(*commandLine.waypointFile, &in, opened)) {
            out << "***CANNOT OPEN FILE " << escapedText(*commandLine.waypointFile) << ' ';
            printUsage(out);
            return 1;
        }
    }

    // Zero or less would split legs without end; NaN would silently split none.
    if (!(params.maxLegMeters > 0.0)) {
        return refuseMaxLeg(out, params.maxLegMeters);
    }

    if (surveyed && !readSurvey(commandLine, survey.request, in, out, route, readerNotes, *surveyed,
                                surveyAreas)) {
        return 1;
    }
    if (opened.stream != nullptr) {
        const SourceReadResult read = readOpenedSource(opened, waypointFile);
        opened = OpenedSource{};
        if (!read.ok) {
            out << readErrorMessage(waypointFile.name) << '\n';
            return 1;
        }
    }
    if (!surveyed && !readRoute(waypointFile, commandLine.feature, out, route, readerNotes)) {
        return 1;
    }
    if (route.empty()) {
        out << "list is empty\n";
        return 1;
    }

    RouteTotals totals;
    const PlanResult plan = planRoute(route, params, totals, legGeometry);
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

    std::vector<PlanFinding> findings = checkPlan(params, route, readerNotes, legGeometry);
    if (surveyed) {
        std::vector<PlanFinding> launchFindings = checkSurveyLaunch(surveyAreas.front(), route);
        findings.insert(findings.end(), std::make_move_iterator(launchFindings.begin()),
                        std::make_move_iterator(launchFindings.end()));
    }
    SeaSurvey seaSurvey;
    const SeaSurvey* measured = nullptr;
    // The sea checks say at the console what a pilot reads, a line per stretch; the report
    // and the files keep every finding.
    std::optional<std::vector<PlanFinding>> consoleFindings;
    if (sea.inputs) {
        SeaMeasurement measurement = measureSea(*sea.inputs, route);
        if (!measurement.ok) {
            out << measurement.error << '\n';
            return 1;
        }
        seaSurvey = std::move(measurement.survey);
        measured = &seaSurvey;
        SeaFindings seaFindings = checkSeaFindings(params, seaSurvey);
        consoleFindings = findings;
        consoleFindings->insert(consoleFindings->end(), seaFindings.console.begin(),
                                seaFindings.console.end());
        findings.insert(findings.end(), std::make_move_iterator(seaFindings.all.begin()),
                        std::make_move_iterator(seaFindings.all.end()));
    }
    // The report is what a check is run for, so its findings stand in it, on standard
    // output, and only there: a console shows both streams, and twice would be noise.
    if (commandLine.checkOnly) {
        writePlanReport(out, route, totals, findings, measured);
        if (surveyed) {
            writeSurveySummary(out, *commandLine.surveyArea, survey.request, *surveyed,
                               params.missionSpeed);
        }
        return hasError(findings) ? 1 : 0;
    }
    // The values are not refused, since a planner may mean them; the findings go where
    // they cannot change what standard output has always carried. Standard output is
    // flushed first so that at a console they follow what was printed before them. Notes
    // only help to read a report, and stand there alone.
    out.flush();
    // The sea checks' lines hold one note, on the grid, that the others are read by.
    for (const PlanFinding& finding : consoleFindings ? *consoleFindings : findings) {
        if (finding.severity != FindingSeverity::note || consoleFindings) {
            err << findingText(finding) << '\n';
        }
    }
    err.flush();

    // One stem for the whole run, so that the four files of a run always belong together
    // even when the minute turns while they are written.
    place.stem =
        started == static_cast<std::time_t>(-1) ? std::string() : makeOutputBaseName(started);
    if (place.stem.empty()) {
        out << "*** CANNOT READ THE CLOCK ***\n";
        return 1;
    }
    std::vector<std::string> names;
    for (const OutputKind* kind :
         {&kMissionScript, &kWaypointFile, &kSurveyLine, &kCsvSummary, &kSurveyWaypoints, &kGeoJson,
          &kKml, &kGpx, &kHtmlPreview, &kLinesCsv}) {
        const bool written = (kind != &kSurveyWaypoints || surveyed) &&
                             (kind != &kGeoJson || exports.selection.geojson) &&
                             (kind != &kKml || exports.selection.kml) &&
                             (kind != &kGpx || exports.selection.gpx) &&
                             (kind != &kHtmlPreview || exports.selection.html) &&
                             (kind != &kLinesCsv || (exports.selection.linesCsv && surveyed));
        if (written) {
            names.push_back(place.stem + kind->extension);
        }
    }
    const OutputClaim claim = claimOutputNames(
        place.folder, place.stem, names, static_cast<std::int64_t>(started), commandLine.overwrite);
    if (!claim.ok) {
        out << claim.refusal << '\n';
        return 1;
    }
    // However the writing ends, the next run of this stem may go on.
    const struct ReleaseAtEnd {
        ReleaseAtEnd() = default;
        ReleaseAtEnd(const ReleaseAtEnd&) = delete;
        ReleaseAtEnd& operator=(const ReleaseAtEnd&) = delete;
        ~ReleaseAtEnd() { releaseOutputNames(); }
    } releaseAtEnd;
    const bool allWritten =
        writeOutput(out, kMissionScript, place,
                    [&](std::ostream& file, const std::string& fileName) {
                        writeMissionScript(file, fileName, route, params, totals);
                    }) &&
        writeOutput(
            out, kWaypointFile, place,
            [&](std::ostream& file, const std::string&) { writeWaypointFile(file, route); }) &&
        writeOutput(out, kSurveyLine, place,
                    [&](std::ostream& file, const std::string& fileName) {
                        writeSurveyLine(file, fileName, route);
                    }) &&
        writeOutput(out, kCsvSummary, place,
                    [&](std::ostream& file, const std::string&) {
                        writeCsvSummary(file, route, totals);
                    }) &&
        (!surveyed ||
         writeOutput(out, kSurveyWaypoints, place, [&](std::ostream& file, const std::string&) {
             writeSurveyWaypoints(file,
                                  surveyComment(*commandLine.surveyArea, survey.request, *surveyed),
                                  surveyed->waypoints, surveyed->pieces);
         }));
    const MeasuredSea measuredSea{seaSurvey, findings, params,
                                  commandLine.bathymetry.has_value() ||
                                      !commandLine.keepOut.empty()};
    if (!allWritten ||
        !writeExports(out, exports.selection, place, route, totals,
                      measured != nullptr ? &measuredSea : nullptr,
                      surveyed ? &surveyAreas : nullptr, surveyed ? &*surveyed : nullptr)) {
        return 1;
    }
    if (surveyed) {
        writeSurveySummary(out, *commandLine.surveyArea, survey.request, *surveyed,
                           params.missionSpeed);
    }
    return 0;
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
