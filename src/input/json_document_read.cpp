// What the readers of the JSON formats share: the one refusal and the refusing lookups.
#include "input/json_document_read.h"

#include "input/document_text.h"

namespace {

// RFC 7946 advises against nesting collections at all.
constexpr int kMaxGeometryDepth = 32;

} // namespace

bool refuse(JsonDocumentRead& read, std::size_t value, std::string_view reason) {
    read.error = documentRefusal(read.format, read.fileName, read.tree.values[value].line,
                                 jsonText(read.tree, read.bytes, value), reason);
    return false;
}

JsonKind kindOf(const JsonDocumentRead& read, std::size_t value) {
    return read.tree.values[value].kind;
}

bool member(JsonDocumentRead& read, std::size_t object, std::string_view name, std::size_t& value) {
    const JsonMember found = findMember(read.tree, object, name);
    if (found.repeated) {
        return refuse(read, object, "member \"" + std::string(name) + "\" given twice");
    }
    value = found.value;
    return true;
}

bool isArray(JsonDocumentRead& read, std::size_t value, std::string_view what) {
    return kindOf(read, value) == JsonKind::array || refuse(read, value, what);
}

bool readCollection(JsonDocumentRead& read, std::size_t collection, int depth,
                    const std::function<bool(std::size_t, int)>& readOne) {
    constexpr std::string_view kNeeds = "a GeometryCollection needs a \"geometries\" array";
    std::size_t members = kNoJsonValue;
    if (!member(read, collection, "geometries", members)) {
        return false;
    }
    // Refused by isArray, the "geometries" that is no array is the one the message quotes.
    if (members == kNoJsonValue) {
        return refuse(read, collection, kNeeds);
    }
    if (!isArray(read, members, kNeeds)) {
        return false;
    }
    if (depth >= kMaxGeometryDepth) {
        return refuse(read, collection, "GeometryCollection nested too deeply");
    }
    for (std::size_t item = firstItem(read.tree, members); item != kNoJsonValue;
         item = nextItem(read.tree, members, item)) {
        if (!readOne(item, depth + 1)) {
            return false;
        }
    }
    return true;
}
