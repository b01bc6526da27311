// JSON parsed through nlohmann-json's event interface, counting the bytes it reads, so that
// every value knows where it stands in the file.
#include "input/json_tree.h"

#include "input/document_text.h"
#include "input/strict_number.h"

#include <algorithm>
#include <iterator>
#include <nlohmann/json.hpp>
#include <unordered_map>

namespace {

// Hands the file to the parser one byte at a time and counts what it has taken.
struct CountingIterator {
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    const char* at = nullptr;
    const char* begin = nullptr;
    std::size_t* taken = nullptr;

    reference operator*() const { return *at; }
    CountingIterator& operator++() {
        ++at;
        *taken = static_cast<std::size_t>(at - begin);
        return *this;
    }
    CountingIterator operator++(int) {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator& other) const { return at == other.at; }
    bool operator!=(const CountingIterator& other) const { return at != other.at; }
};

bool isNewline(char c) {
    return c == '\n';
}

// A value's place is packed into 16 bytes; no file tavra can hold in memory reaches these
// bounds, but they are checked, not assumed.
constexpr std::uint64_t kMostLines = UINT32_MAX;
constexpr std::uint64_t kMostNumberOffset = (std::uint64_t{1} << 36) - 1;
constexpr std::size_t kMostValues = UINT32_MAX - 1;

bool isNumberByte(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

std::size_t numberOffset(const JsonValue& value) {
    return static_cast<std::size_t>((std::uint64_t{value.numberHigh} << 32) | value.data);
}

// A number's text as the file has it: JSON numbers end at the first byte no number holds.
std::string_view numberText(std::string_view bytes, const JsonValue& value) {
    const std::size_t start = std::min(numberOffset(value), bytes.size());
    std::size_t end = start;
    while (end < bytes.size() && isNumberByte(bytes[end])) {
        ++end;
    }
    return bytes.substr(start, end - start);
}

// The 1-based line that holds the byte at offset, counted without an index of every line:
// only a refusal asks.
std::uint64_t lineOfOffset(std::string_view bytes, std::size_t offset) {
    const std::string_view before = bytes.substr(0, std::min(offset, bytes.size()));
    return static_cast<std::uint64_t>(std::count(before.begin(), before.end(), '\n')) + 1;
}

// The text of the 1-based line, without its line end.
std::string_view textOfLine(std::string_view bytes, std::uint64_t line) {
    std::size_t start = 0;
    for (std::uint64_t at = 1; at < line; ++at) {
        start = bytes.find('\n', start);
        if (start == std::string_view::npos) {
            return {};
        }
        ++start;
    }
    std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    if (end > start && bytes[end - 1] == '\r') {
        --end;
    }
    return bytes.substr(start, end - start);
}

std::uint32_t append(JsonTexts& texts, std::string_view text) {
    texts.starts.push_back(texts.bytes.size());
    texts.bytes += text;
    return static_cast<std::uint32_t>(texts.starts.size() - 1);
}

std::string_view textAt(const JsonTexts& texts, std::uint32_t index) {
    if (index >= texts.starts.size()) {
        return {};
    }
    const std::size_t start = texts.starts[index];
    const std::size_t end =
        index + 1 < texts.starts.size() ? texts.starts[index + 1] : texts.bytes.size();
    return std::string_view(texts.bytes).substr(start, end - start);
}

JsonRole keepEverything(JsonRole, JsonKind, std::string_view) {
    return kJsonLeaf + 1;
}

// Builds the tree from the parser's events. Every event comes right after the parser took
// the value's last byte, or, for a number, one byte more to see where it ends; no value
// holds a line end, so the line of the last byte taken, less a line end just looked at, is
// the value's. What the interest skips is followed only to see where it ends.
class TreeBuilder {
  public:
    using json = nlohmann::json;

    TreeBuilder(std::string_view bytes, JsonTree& tree, JsonParse& parse, const std::size_t& taken,
                const JsonInterest& interest)
        : bytes_(bytes), tree_(tree), parse_(parse), taken_(taken),
          role_(interest.role != nullptr ? interest.role : keepEverything),
          documentRole_(interest.document) {}

    bool null() { return add(JsonKind::null); }
    bool boolean(bool value) {
        if (add(JsonKind::boolean) && kept_) {
            tree_.values.back().boolean = value;
        }
        return parse_.ok;
    }
    bool number_integer(json::number_integer_t value) { return number(std::to_string(value)); }
    bool number_unsigned(json::number_unsigned_t value) { return number(std::to_string(value)); }
    bool number_float(json::number_float_t, const json::string_t& text) { return number(text); }
    bool string(json::string_t& text) {
        if (add(JsonKind::string) && kept_) {
            tree_.values.back().data = keep(text);
        }
        return parse_.ok;
    }
    bool binary(json::binary_t&) { return false; } // JSON text has none
    bool start_object(std::size_t) { return open(JsonKind::object); }
    bool key(json::string_t& name) {
        if (skipped_ == 0) {
            pendingRole_ = open_.back().role == kJsonLeaf
                               ? kJsonSkip
                               : role_(open_.back().role, JsonKind::object, name);
            pendingKey_ = pendingRole_ == kJsonSkip ? kNoJsonKey : keepName(name);
        }
        return parse_.ok;
    }
    bool end_object() { return close(); }
    bool start_array(std::size_t) { return open(JsonKind::array); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t position, const std::string& lastToken,
                     const nlohmann::detail::exception& error) {
        parse_.ok = false;
        const std::size_t offset = position > 0 ? position - 1 : 0;
        parse_.line = lineOfOffset(bytes_, offset);
        // 406 is the parser's number out of range: the number itself is the offending text.
        if (error.id == 406) {
            parse_.text = lastToken;
            parse_.reason = "number beyond the range of a double";
        } else {
            parse_.text = trimmedText(textOfLine(bytes_, parse_.line));
            parse_.reason = "not valid JSON";
        }
        return false;
    }

  private:
    struct Open {
        std::size_t value;
        JsonRole role;
    };

    bool refuse(std::string reason) {
        parse_ = {false, currentLine(), "", std::move(reason)};
        return false;
    }

    // A string by its index among the texts.
    std::uint32_t keep(std::string_view text) {
        if (tree_.texts.starts.size() >= kNoJsonText) {
            refuse("more strings than tavra reads in one file");
            return kNoJsonText;
        }
        return append(tree_.texts, text);
    }

    // A member's name, kept once however often it is given.
    std::uint32_t keepName(const std::string& name) {
        const auto found = names_.find(name);
        if (found != names_.end()) {
            return found->second;
        }
        if (names_.size() >= kNoJsonKey) {
            refuse("more member names than tavra reads in one file");
            return kNoJsonKey;
        }
        const std::uint32_t index = append(tree_.names, name);
        names_.emplace(name, index);
        return index;
    }

    std::uint64_t currentLine() {
        const std::size_t taken = std::min(taken_, bytes_.size());
        for (; counted_ < taken; ++counted_) {
            line_ += isNewline(bytes_[counted_]) ? 1 : 0;
        }
        return taken > 0 && isNewline(bytes_[taken - 1]) ? line_ - 1 : line_;
    }

    // The role of the value the parser has just met: the document's, a member's as its name
    // gave it, or an item's.
    JsonRole roleHere() {
        if (open_.empty()) {
            return documentRole_;
        }
        if (tree_.values[open_.back().value].kind == JsonKind::object) {
            return pendingRole_;
        }
        return open_.back().role == kJsonLeaf ? kJsonSkip
                                              : role_(open_.back().role, JsonKind::array, "");
    }

    // Adds a value where the interest keeps it; kept_ says whether it did.
    bool add(JsonKind kind) {
        kept_ = false;
        const std::uint32_t key = pendingKey_;
        pendingKey_ = kNoJsonKey;
        if (skipped_ > 0 || roleHere() == kJsonSkip) {
            return parse_.ok;
        }
        if (tree_.values.size() >= kMostValues) {
            return refuse("more values than tavra reads in one file");
        }
        const std::uint64_t line = currentLine();
        if (line > kMostLines) {
            return refuse("more lines than tavra reads in one file");
        }
        JsonValue value;
        value.kind = kind;
        value.line = static_cast<std::uint32_t>(line);
        value.key = key;
        tree_.values.push_back(value);
        kept_ = true;
        return parse_.ok;
    }

    bool number(const std::string& text) {
        // Every number is read strictly, kept or not: what the tree skips is still the file.
        double read = 0.0;
        if (!readStrictNumber(text, read)) {
            parse_.ok = false;
            parse_.line = currentLine();
            parse_.text = text;
            parse_.reason = "not a finite decimal number";
            return false;
        }
        if (!add(JsonKind::number) || !kept_) {
            return parse_.ok;
        }
        // The text ends at the byte taken last, or the one before it when that one was
        // taken only to see where the number ends.
        const std::size_t taken = std::min(taken_, bytes_.size());
        const std::size_t length = text.size();
        std::size_t start = 0;
        if (taken >= length + 1 && bytes_.substr(taken - length - 1, length) == text) {
            start = taken - length - 1;
        } else if (taken >= length) {
            start = taken - length;
        }
        if (start > kMostNumberOffset) {
            return refuse("a file larger than tavra reads");
        }
        JsonValue& value = tree_.values.back();
        value.data = static_cast<std::uint32_t>(start & UINT32_MAX);
        value.numberHigh = static_cast<std::uint32_t>(static_cast<std::uint64_t>(start) >> 32);
        return true;
    }

    bool open(JsonKind kind) {
        if (skipped_ > 0) {
            ++skipped_;
            return parse_.ok;
        }
        const JsonRole role = roleHere();
        if (role == kJsonSkip) {
            pendingKey_ = kNoJsonKey;
            skipped_ = 1;
            return parse_.ok;
        }
        if (!add(kind)) {
            return false;
        }
        tree_.values.back().data = static_cast<std::uint32_t>(tree_.values.size());
        open_.push_back({tree_.values.size() - 1, role});
        return true;
    }

    bool close() {
        if (skipped_ > 0) {
            --skipped_;
            return parse_.ok;
        }
        tree_.values[open_.back().value].data = static_cast<std::uint32_t>(tree_.values.size());
        open_.pop_back();
        return true;
    }

    std::string_view bytes_;
    JsonTree& tree_;
    JsonParse& parse_;
    const std::size_t& taken_;
    JsonRole (*role_)(JsonRole, JsonKind, std::string_view);
    JsonRole documentRole_;
    std::vector<Open> open_;
    std::size_t skipped_ = 0; // containers open inside a skipped value
    bool kept_ = false;
    JsonRole pendingRole_ = kJsonSkip;
    std::uint32_t pendingKey_ = kNoJsonKey;
    std::unordered_map<std::string, std::uint32_t> names_;
    std::size_t counted_ = 0;
    std::uint64_t line_ = 1;
};

// One past the last value nested in this one; nothing is nested in a number or a string.
std::size_t valueEnd(const JsonTree& tree, std::size_t value) {
    const JsonValue& shown = tree.values[value];
    return shown.kind == JsonKind::array || shown.kind == JsonKind::object ? shown.data : value + 1;
}

bool sameCaseless(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

JsonParse parseJsonTree(std::string_view bytes, JsonTree& tree, const JsonInterest& interest) {
    JsonParse parse;
    tree = {};
    std::size_t taken = 0;
    TreeBuilder builder(bytes, tree, parse, taken, interest);
    const CountingIterator first{bytes.data(), bytes.data(), &taken};
    const CountingIterator last{bytes.data() + bytes.size(), bytes.data(), &taken};
    const bool parsed = nlohmann::json::sax_parse(first, last, &builder);
    if (!parsed && parse.ok) {
        parse.ok = false;
        parse.reason = "not valid JSON";
    }
    if (!parse.ok) {
        tree = {};
    }
    return parse;
}

std::size_t firstItem(const JsonTree& tree, std::size_t container) {
    return container + 1 < valueEnd(tree, container) ? container + 1 : kNoJsonValue;
}

std::size_t nextItem(const JsonTree& tree, std::size_t container, std::size_t item) {
    const std::size_t next = valueEnd(tree, item);
    return next < valueEnd(tree, container) ? next : kNoJsonValue;
}

std::size_t itemCount(const JsonTree& tree, std::size_t container) {
    std::size_t count = 0;
    for (std::size_t item = firstItem(tree, container); item != kNoJsonValue;
         item = nextItem(tree, container, item)) {
        ++count;
    }
    return count;
}

JsonMember findMember(const JsonTree& tree, std::size_t object, std::string_view name,
                      bool caseless) {
    JsonMember member;
    for (std::size_t item = firstItem(tree, object); item != kNoJsonValue;
         item = nextItem(tree, object, item)) {
        const std::string_view key = textAt(tree.names, tree.values[item].key);
        if (caseless ? sameCaseless(key, name) : key == name) {
            member.repeated = member.value != kNoJsonValue;
            if (member.repeated) {
                return member;
            }
            member.value = item;
        }
    }
    return member;
}

std::string jsonText(const JsonTree& tree, std::string_view bytes, std::size_t value) {
    const JsonValue& shown = tree.values[value];
    switch (shown.kind) {
    case JsonKind::null:
        return "null";
    case JsonKind::boolean:
        return shown.boolean ? "true" : "false";
    case JsonKind::number:
        return std::string(numberText(bytes, shown));
    case JsonKind::string:
        return std::string(jsonString(tree, shown.data));
    case JsonKind::array:
    case JsonKind::object:
        break;
    }
    return std::string(trimmedText(textOfLine(bytes, shown.line)));
}

std::string_view jsonString(const JsonTree& tree, std::uint32_t text) {
    return textAt(tree.texts, text);
}

double jsonNumber(const JsonTree& tree, std::string_view bytes, std::size_t value) {
    double number = 0.0;
    readStrictNumber(numberText(bytes, tree.values[value]), number);
    return number;
}
