// What the route exports share: exact numbers, kind names, escaping and wrapped longitudes.
#include "output/export_common.h"

#include "output/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {

// The smallest subnormal double has 324 decimals in plain notation and the largest double
// 309 integer digits; sign and point fit in the rest.
constexpr std::size_t kExactBufferBytes = 400;

} // namespace

void appendExact(std::string& out, double value) {
    if (appendNonFinite(out, value)) {
        return;
    }
    std::array<char, kExactBufferBytes> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed);
    if (error == std::errc{}) {
        out.append(buffer.data(), end);
    }
}

void appendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    appendExact(out, value);
}

const char* kindLabel(WaypointKind kind) {
    switch (kind) {
    case WaypointKind::launch:
        return "launch";
    case WaypointKind::splitPoint:
        return "split";
    case WaypointKind::fromFile:
        break;
    }
    return "waypoint";
}

void appendXmlEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
            break;
        }
    }
}

double wrappedLongitude(double lon) {
    if (lon >= -180.0 && lon < 180.0) {
        return lon; // the usual case keeps every digit
    }
    if (!std::isfinite(lon)) {
        return lon;
    }
    double wrapped = std::fmod(lon + 180.0, 360.0);
    if (wrapped < 0.0) {
        wrapped += 360.0;
    }
    wrapped -= 180.0;
    // Rounding in the sum can land exactly on the excluded end.
    return wrapped >= 180.0 ? -180.0 : wrapped;
}

void appendLegDescription(std::string& out, const WaypointNode& node) {
    if (node.next == nullptr) {
        out += "end of the route";
        return;
    }
    out += "leg ";
    appendExact(out, node.legDistance);
    out += " m, heading ";
    appendExact(out, node.legHeading);
    out += " deg, ";
    appendExact(out, node.legTime);
    out += " s";
}
