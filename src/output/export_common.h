// What the route exports (GeoJSON, KML, GPX, HTML preview) share: exact numbers, kind names,
// escaping and longitudes in the range map programs accept.
#pragma once

#include "route/waypoint_list.h"

#include <string>
#include <string_view>

// Appends the shortest decimal text that reads back as exactly value, never in exponent
// form (the XML formats take plain decimals only): 36.8167 stays 36.8167, 500.0 gives 500.
// Infinities and NaN are spelled inf, -inf, nan and -nan.
void appendExact(std::string& out, double value);

// The same, but a value that is not finite becomes null, so the JSON stays valid.
void appendJsonNumber(std::string& out, double value);

// "launch", "waypoint" (from the waypoint file) or "split" (cut into a long leg).
const char* kindLabel(WaypointKind kind);

// Appends text with &, <, >, " and ' replaced by entities, safe inside XML and HTML
// content and quoted attribute values.
void appendXmlEscaped(std::string& out, std::string_view text);

// A longitude brought into -180 (inclusive) to 180 (exclusive); values already there are
// returned unchanged, bit for bit.
double wrappedLongitude(double lon);

// "leg 1731.1 m, heading 72.04 deg, 1731.1 s" with exact numbers, or "end of the route"
// for the last node.
void appendLegDescription(std::string& out, const WaypointNode& node);
