// A JSON document parsed by nlohmann-json into a tree whose every value knows its line in
// the file, with each number read strictly from its text, for readers whose messages point
// at the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Four bytes wide, like the fields it shares a word with in JsonValue: the Windows layout
// packs bit-fields into one word only where their types are of one size.
enum class JsonKind : std::uint32_t { null, boolean, number, string, array, object };

inline constexpr std::size_t kNoJsonValue = static_cast<std::size_t>(-1);

inline constexpr std::uint32_t kNoJsonText = UINT32_MAX;
inline constexpr std::uint32_t kNoJsonKey = (1u << 24) - 1;

// One value. The values nested in it follow it directly (depth first), up to its end. A
// long line or polygon is millions of values, so a value takes 12 bytes: a number keeps
// only where its text stands, and is read again from there when asked for.
struct JsonValue {
    std::uint32_t line = 0; // 1-based line where the value begins
    JsonKind kind : 3;
    std::uint32_t boolean : 1;
    std::uint32_t numberHigh : 4; // a number's offset in the file: its high bits ...
    std::uint32_t key : 24;       // a member's name, in JsonTree::names
    // A container's end, the index one past the last value nested in it; a string's
    // content, in JsonTree::texts; ... and a number's offset, its low bits.
    std::uint32_t data = kNoJsonText;

    JsonValue() : kind(JsonKind::null), boolean(0), numberHigh(0), key(kNoJsonKey) {}
};
static_assert(sizeof(JsonValue) == 12);

// Texts of a file end to end.
struct JsonTexts {
    std::string bytes;
    std::vector<std::size_t> starts; // where each text begins in bytes; it ends at the next
};

// The values in blocks of a fixed size: a vector that doubles would hold its old copy and
// its new one at once, twice the values, when the tree is at its largest.
class JsonValues {
  public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    JsonValue& operator[](std::size_t i) { return blocks_[i >> kShift][i & kMask]; }
    const JsonValue& operator[](std::size_t i) const { return blocks_[i >> kShift][i & kMask]; }
    JsonValue& back() { return (*this)[size_ - 1]; }
    void push_back(const JsonValue& value) {
        if ((size_ & kMask) == 0) {
            blocks_.push_back(std::make_unique<JsonValue[]>(kMask + 1));
        }
        (*this)[size_++] = value;
    }

  private:
    static constexpr unsigned kShift = 16;
    static constexpr std::size_t kMask = (std::size_t{1} << kShift) - 1;
    std::vector<std::unique_ptr<JsonValue[]>> blocks_;
    std::size_t size_ = 0;
};

struct JsonTree {
    JsonValues values; // values[0] is the document
    JsonTexts texts;   // the strings
    JsonTexts names;   // the members' names, each once however often it is given
};

// What a reader looks at, so that the tree keeps nothing else: a large file may carry
// megabytes of attributes beside its geometry. Each value gets a role from the role of the
// container that holds it; a value of role kJsonSkip is parsed and checked but not kept,
// nor anything in it, and a container of role kJsonLeaf is kept without what it holds.
using JsonRole = std::uint8_t;
inline constexpr JsonRole kJsonSkip = 0;
inline constexpr JsonRole kJsonLeaf = 1;
struct JsonInterest {
    JsonRole document = kJsonLeaf + 1;
    // The role of a member of an object (name given) or an item of an array (name empty).
    JsonRole (*role)(JsonRole container, JsonKind kind, std::string_view name) = nullptr;
};

struct JsonParse {
    bool ok = true;
    std::uint64_t line = 0; // where the document stops being JSON
    std::string text;       // what stands there
    std::string reason;
};

// Parses bytes into tree; a number whose text is not a finite decimal stops the parse, kept
// or not. Without an interest every value is kept.
JsonParse parseJsonTree(std::string_view bytes, JsonTree& tree, const JsonInterest& interest = {});

// A string's content, by its index in texts.
std::string_view jsonString(const JsonTree& tree, std::uint32_t text);

// A number's value, read again from its text in bytes.
double jsonNumber(const JsonTree& tree, std::string_view bytes, std::size_t value);

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
