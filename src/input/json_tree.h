// A JSON document parsed by nlohmann-json into a tree whose every value knows its line in
// the file, with each number read strictly from its text, for readers whose messages point
// at the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class JsonKind : std::uint8_t { null, boolean, number, string, array, object };

inline constexpr std::size_t kNoJsonValue = static_cast<std::size_t>(-1);

inline constexpr std::uint32_t kNoJsonText = UINT32_MAX;

// One value. The values nested in it follow it directly (depth first), up to end. A long
// line or polygon is millions of values, so the small fields are packed together.
struct JsonValue {
    JsonKind kind = JsonKind::null;
    bool boolean = false;
    std::uint32_t numberLength = 0;   // a number's text in the file: its length ...
    std::uint32_t key = kNoJsonText;  // a member's name, in JsonTree::texts
    std::uint32_t text = kNoJsonText; // a string's content, in JsonTree::texts
    std::size_t end = 0;              // index one past the last value nested in this one
    std::uint64_t line = 0;           // 1-based line where the value begins
    double number = 0.0;              // a number's value
    std::size_t numberStart = 0;      // ... and where it begins
};

struct JsonTree {
    std::vector<JsonValue> values; // values[0] is the document
    std::vector<std::string> texts;
};

struct JsonParse {
    bool ok = true;
    std::uint64_t line = 0; // where the document stops being JSON
    std::string text;       // what stands there
    std::string reason;
};

// Parses bytes into tree; a number whose text is not a finite decimal stops the parse.
JsonParse parseJsonTree(std::string_view bytes, JsonTree& tree);

// The first value nested in a container, or kNoJsonValue.
std::size_t firstItem(const JsonTree& tree, std::size_t container);

// The value after item inside container, or kNoJsonValue.
std::size_t nextItem(const JsonTree& tree, std::size_t container, std::size_t item);

// The number of values directly inside a container.
std::size_t itemCount(const JsonTree& tree, std::size_t container);

struct JsonMember {
    std::size_t value = kNoJsonValue; // kNoJsonValue when the object has no such member
    bool repeated = false;            // the name stands more than once
};

// The member of an object with that name; caseless compares names ignoring ASCII case.
JsonMember findMember(const JsonTree& tree, std::size_t object, std::string_view name,
                      bool caseless = false);

// A value as a message shows it: a number or a literal as written, a string's content, a
// container's first line in the file.
std::string jsonText(const JsonTree& tree, std::string_view bytes, std::size_t value);
