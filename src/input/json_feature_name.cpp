// The name a GeoJSON feature or a TopoJSON geometry gives itself, among its properties.
#include "input/json_feature_name.h"

std::string propertiesName(const JsonTree& tree, std::string_view bytes, std::size_t object) {
    const JsonMember properties = findMember(tree, object, "properties");
    if (properties.value == kNoJsonValue ||
        tree.values[properties.value].kind != JsonKind::object) {
        return "";
    }
    JsonMember name = findMember(tree, properties.value, "name");
    if (name.value == kNoJsonValue) {
        name = findMember(tree, properties.value, "name", true);
    }
    if (name.repeated || name.value == kNoJsonValue) {
        return "";
    }
    const JsonKind kind = tree.values[name.value].kind;
    return kind == JsonKind::string || kind == JsonKind::number ? jsonText(tree, bytes, name.value)
                                                                : "";
}
