// The options of the sea checks, converted strictly from the text the command line gave.
#include "app/sea_options.h"

#include "input/strict_number.h"

namespace {

SeaOptionsResult refused(std::string message) {
    SeaOptionsResult result;
    result.asked = true;
    result.ok = false;
    result.error = "*** " + std::move(message) + " ***";
    return result;
}

bool named(const std::optional<std::string>& file) {
    return !file || !file->empty();
}

} // namespace

SeaOptionsResult readSeaOptions(const CommandLine& commandLine) {
    SeaOptionsResult result;
    SeaOptions& options = result.options;
    options.grid = commandLine.bathymetry;
    options.depthPositiveDown = commandLine.depthPositiveDown;
    options.keepOut = commandLine.keepOut;
    options.opRegion = commandLine.opRegion;
    options.coast = commandLine.coast;
    result.asked = options.grid || options.depthPositiveDown || !options.keepOut.empty() ||
                   commandLine.keepOutMargin || options.opRegion || options.coast;
    if (!named(options.grid)) {
        return refused("--bathymetry needs the name of a grid file");
    }
    for (const std::string& file : options.keepOut) {
        if (file.empty()) {
            return refused("--keepOut needs the name of a polygon file");
        }
    }
    if (!named(options.opRegion)) {
        return refused("--opRegion needs the name of a polygon file");
    }
    if (!named(options.coast)) {
        return refused("--coast needs the name of a polygon file");
    }
    if (options.coast && !options.grid) {
        return refused("--coast needs --bathymetry: there is no grid to compare the coast with");
    }
    if (options.depthPositiveDown && !options.grid) {
        return refused("--depthPositiveDown needs --bathymetry: there is no grid to read as depth");
    }
    if (commandLine.keepOutMargin) {
        double margin = 0.0;
        if (!readStrictNumber(*commandLine.keepOutMargin, margin) || margin < 0.0) {
            return refused("--keepOutMargin \"" + *commandLine.keepOutMargin +
                           "\" is not a distance in meters (a number of 0 or more)");
        }
        if (options.keepOut.empty()) {
            return refused("--keepOutMargin needs --keepOut: there is no keep-out area to keep "
                           "the margin from");
        }
        options.keepOutMargin = margin;
    }
    return result;
}
