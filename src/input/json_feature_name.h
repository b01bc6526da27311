// The name a GeoJSON feature or a TopoJSON geometry gives itself, among its properties.
#pragma once

#include "input/json_tree.h"

#include <cstddef>
#include <string>
#include <string_view>

// properties.name, in whatever case the writer spelled it, a string or a number as
// written; empty where there is none, or where it stands twice.
std::string propertiesName(const JsonTree& tree, std::string_view bytes, std::size_t object);
