// Fuzz target: the readers of the line formats (plain, CSV, degrees and minutes) and the
// dispatcher on any bytes, as if they were a waypoint file piped in (no path to hand on).
#include "check.h"
#include "input/csv_reader.h"
#include "input/degrees_minutes.h"
#include "input/plain_reader.h"
#include "input/read_source.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool inRange(double lat, double lon) {
    return lat >= -90.0 && lat <= 90.0 && lon >= -180.0 && lon <= 180.0;
}

bool startsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Positions in file order, each on a real line of the file, and finite whatever it held.
void checkRoute(const SourceFeature& route, std::uint64_t lines, bool ranged) {
    std::uint64_t previous = 0;
    for (const SourcePoint& point : route.points) {
        FUZZ_CHECK(std::isfinite(point.lat) && std::isfinite(point.lon));
        FUZZ_CHECK(!ranged || inRange(point.lat, point.lon));
        FUZZ_CHECK(point.line > previous && point.line <= lines);
        previous = point.line;
    }
}

// A refusal is one line naming the file and the line.
void checkRefusal(const DocumentResult& result, std::string_view prefix) {
    FUZZ_CHECK(startsWith(result.error, prefix));
    FUZZ_CHECK(result.error.find('\n') == std::string::npos);
    FUZZ_CHECK(result.document.features.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::uint64_t lines = 0;
    for (char c : bytes) {
        lines += c == '\n' ? 1 : 0;
    }
    if (!bytes.empty() && bytes.back() != '\n') {
        ++lines;
    }

    const DocumentResult plain = readPlain(bytes, "fuzz.txt");
    if (plain.ok) {
        FUZZ_CHECK(plain.document.features.size() == 1);
        checkRoute(plain.document.features.front(), lines, false);
        FUZZ_CHECK(plain.document.notes.size() <= 1);
    } else {
        checkRefusal(plain, "*** BAD WAYPOINT LINE *** fuzz.txt line ");
    }

    const DocumentResult csv = readCsv(bytes, "fuzz.csv");
    if (csv.ok) {
        FUZZ_CHECK(csv.document.features.size() == 1);
        checkRoute(csv.document.features.front(), lines, true);
    } else {
        checkRefusal(csv, "*** BAD CSV FILE *** fuzz.csv line ");
    }

    const std::string_view firstLine = std::string_view(bytes).substr(0, bytes.find('\n'));
    const DegreesPosition position = readDegreesPosition(firstLine);
    if (position.outcome == DegreesOutcome::read) {
        FUZZ_CHECK(inRange(position.lat, position.lon));
    }
    FUZZ_CHECK((position.outcome == DegreesOutcome::refused) == !position.problem.empty());
    for (CoordinateAxis axis : {CoordinateAxis::latitude, CoordinateAxis::longitude}) {
        const DegreesCoordinate coordinate = readDegreesCoordinate(firstLine, axis);
        const double limit = axis == CoordinateAxis::latitude ? 90.0 : 180.0;
        FUZZ_CHECK(!coordinate.ok || (coordinate.value >= -limit && coordinate.value <= limit));
        FUZZ_CHECK(coordinate.ok == coordinate.problem.empty());
    }

    // Whatever format the bytes turn out to be, a route read from them is finite.
    const DocumentResult any = readSource(InputSource{"fuzz", "", bytes});
    if (any.ok) {
        const RouteSelection route = selectRoute(any.document, "fuzz", std::nullopt);
        for (const SourcePoint& point : route.points) {
            FUZZ_CHECK(std::isfinite(point.lat) && std::isfinite(point.lon));
        }
        const AreasSelection areas = allAreas(any.document, "fuzz");
        for (const GeoArea& area : areas.areas) {
            FUZZ_CHECK(area.outer.size() >= 3);
        }
        // Several named: each area once, and a refusal carries no area.
        const AreasSelection named = selectAreas(any.document, "fuzz", {"all", "1", "2", "1"});
        FUZZ_CHECK(named.ok ? !named.areas.empty() : named.areas.empty() && !named.error.empty());
    } else {
        FUZZ_CHECK(!any.error.empty());
    }
    return 0;
}
