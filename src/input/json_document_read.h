// What the readers of the JSON formats share: the tree read, the one refusal, and the
// lookups that refuse what they cannot take.
#pragma once

#include "input/json_tree.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

struct JsonDocumentRead {
    const JsonTree& tree;
    std::string_view bytes;
    std::string_view format; // "GeoJSON", "TopoJSON": the messages' word for the file
    const std::string& fileName;
    std::string error; // the first refusal; reading stops there
};

// Sets the refusal, quoting the value where it stands in the file; false, to return.
bool refuse(JsonDocumentRead& read, std::size_t value, std::string_view reason);

JsonKind kindOf(const JsonDocumentRead& read, std::size_t value);

// The member of that name (kNoJsonValue where there is none); a name given twice is
// refused, as the reader could not tell which one the writer meant.
bool member(JsonDocumentRead& read, std::size_t object, std::string_view name, std::size_t& value);

// Whether the value is an array; refused with what otherwise.
bool isArray(JsonDocumentRead& read, std::size_t value, std::string_view what);

// Each geometry of a GeometryCollection, handed to readOne with the depth it stands at. A
// collection may hold collections; a bound keeps a hostile file from exhausting the stack.
bool readCollection(JsonDocumentRead& read, std::size_t collection, int depth,
                    const std::function<bool(std::size_t, int)>& readOne);
