// Fuzz target: the waypoint reader on any bytes, as if they were a planner's waypoint file.
#include "app/waypoint_reader.h"
#include "check.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    WaypointList list;
    const ReadResult result = readWaypoints(in, list);

    // Only finite positions may reach planning, whatever the file held.
    std::size_t walked = 0;
    const WaypointNode* previous = nullptr;
    for (const WaypointNode* node = list.head; node != nullptr; node = node->next) {
        FUZZ_CHECK(std::isfinite(node->lat) && std::isfinite(node->lon));
        FUZZ_CHECK(node->prev == previous);
        FUZZ_CHECK(node->kind == WaypointKind::fromFile);
        previous = node;
        ++walked;
    }
    FUZZ_CHECK(list.tail == previous);
    FUZZ_CHECK(walked == list.size());

    // A refused line is a real line of the file, shown without its line end.
    std::uint64_t lines = 0;
    for (char c : bytes) {
        lines += c == '\n' ? 1 : 0;
    }
    if (!bytes.empty() && bytes.back() != '\n') {
        ++lines;
    }
    FUZZ_CHECK(walked <= lines);
    if (result.ok) {
        FUZZ_CHECK(result.badLineNumber == 0);
    } else {
        FUZZ_CHECK(result.badLineNumber >= 1 && result.badLineNumber <= lines);
        FUZZ_CHECK(result.badLineText.find('\n') == std::string::npos);
        FUZZ_CHECK(walked < result.badLineNumber);
    }
    return 0;
}
