// The sea checks a run asks for, with GDAL: the grid opened, the polygon files read through
// the input layer, and the planned route measured by the sea layer.
#include "app/sea_check.h"
#include "app/sea_options.h"
#include "app/source_file.h"
#include "input/line_text.h"
#include "input/read_source.h"
#include "sea/gdal_depth_grid.h"
#include "sea/survey_route.h"

#include <optional>
#include <sstream>
#include <utility>
#include <vector>

struct SeaInputs {
    std::unique_ptr<DepthGrid> grid;
    std::string gridFile;
    std::vector<ZoneSource> zones; // --keepOut files in order, then --opRegion
    double keepOutMargin = 0.0;
    std::optional<ZoneSource> coast;
};

namespace {

// Every area of one polygon file, in any format the input layer reads. Standard input
// serves one file named "-" at most, and none when the waypoints or the dialogue have it.
bool readAreas(const std::string& option, const std::string& name, std::istream*& standardInput,
               std::vector<GeoArea>& areas, std::string& error) {
    std::istringstream noInput;
    const std::string shown = displayableLine(name);
    if (name == "-" && standardInput == nullptr) {
        error = "*** " + option +
                " -: standard input is taken (by the waypoints, the dialogue or another file); "
                "name the file ***";
        return false;
    }
    std::istream& input = name == "-" ? *standardInput : noInput;
    if (name == "-") {
        standardInput = nullptr;
    }
    SourceFile file;
    std::string message;
    switch (loadSourceFile(name, input, file, message)) {
    case SourceFileStatus::loaded:
        break;
    case SourceFileStatus::cannotOpen:
        error = "*** " + option + " " + shown + ": cannot open the file ***";
        return false;
    case SourceFileStatus::cannotRead:
        error = message;
        return false;
    }
    const DocumentResult read = readSource(file.source());
    if (!read.ok) {
        error = read.error;
        return false;
    }
    AreasSelection selection = allAreas(read.document, shown);
    if (!selection.ok) {
        error = selection.error;
        return false;
    }
    areas = std::move(selection.areas);
    return true;
}

} // namespace

SeaPreparation prepareSeaChecks(const CommandLine& commandLine, std::istream* standardInput) {
    SeaPreparation preparation;
    const SeaOptionsResult options = readSeaOptions(commandLine);
    if (!options.asked) {
        return preparation;
    }
    if (!options.ok) {
        return SeaPreparation{false, options.error, nullptr};
    }
    auto inputs = std::make_shared<SeaInputs>();
    inputs->keepOutMargin = options.options.keepOutMargin;
    if (options.options.grid) {
        const std::string& name = *options.options.grid;
        if (name == "-") {
            return SeaPreparation{
                false, "*** --bathymetry -: GDAL reads a grid from a file; name the file ***",
                nullptr};
        }
        // Names stand in messages and findings as a console can show them.
        const std::string shown = displayableLine(name);
        GridOpening opening = openDepthGrid(name, shown, options.options.depthPositiveDown);
        if (!opening.grid) {
            return SeaPreparation{false, opening.error, nullptr};
        }
        inputs->grid = std::move(opening.grid);
        inputs->gridFile = shown;
    }
    std::string error;
    for (const std::string& name : options.options.keepOut) {
        ZoneSource source{ZoneKind::keepOut, displayableLine(name), {}};
        if (!readAreas("--keepOut", name, standardInput, source.areas, error)) {
            return SeaPreparation{false, error, nullptr};
        }
        inputs->zones.push_back(std::move(source));
    }
    if (options.options.opRegion) {
        const std::string& name = *options.options.opRegion;
        ZoneSource source{ZoneKind::opRegion, displayableLine(name), {}};
        if (!readAreas("--opRegion", name, standardInput, source.areas, error)) {
            return SeaPreparation{false, error, nullptr};
        }
        inputs->zones.push_back(std::move(source));
    }
    if (options.options.coast) {
        const std::string& name = *options.options.coast;
        ZoneSource source{ZoneKind::keepOut, displayableLine(name), {}};
        if (!readAreas("--coast", name, standardInput, source.areas, error)) {
            return SeaPreparation{false, error, nullptr};
        }
        inputs->coast = std::move(source);
    }
    preparation.inputs = std::move(inputs);
    return preparation;
}

SeaMeasurement measureSea(SeaInputs& inputs, const WaypointList& route) {
    // The areas go to the survey: a world's land is read once and held once.
    const SeaRequest request{inputs.grid.get(), inputs.gridFile, std::move(inputs.zones),
                             inputs.keepOutMargin};
    SeaSurveyResult result = surveyRoute(route, request, inputs.coast ? &*inputs.coast : nullptr);
    return SeaMeasurement{result.ok, std::move(result.error), std::move(result.survey)};
}
