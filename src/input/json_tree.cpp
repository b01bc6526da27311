// JSON parsed through nlohmann-json's event interface, counting the bytes it reads, so that
// every value knows where it stands in the file.
#include "input/json_tree.h"

#include "input/document_text.h"
#include "input/strict_number.h"

#include <algorithm>
#include <iterator>
#include <nlohmann/json.hpp>

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

// Builds the tree from the parser's events. Every event comes right after the parser took
// the value's last byte, or, for a number, one byte more to see where it ends; no value
// holds a line end, so the line of the last byte taken, less a line end just looked at, is
// the value's.
class TreeBuilder {
  public:
    using json = nlohmann::json;

    TreeBuilder(std::string_view bytes, JsonTree& tree, JsonParse& parse, const std::size_t& taken)
        : bytes_(bytes), tree_(tree), parse_(parse), taken_(taken) {}

    bool null() { return add(JsonKind::null); }
    bool boolean(bool value) {
        const bool ok = add(JsonKind::boolean);
        tree_.values.back().boolean = value;
        return ok;
    }
    bool number_integer(json::number_integer_t value) { return number(std::to_string(value)); }
    bool number_unsigned(json::number_unsigned_t value) { return number(std::to_string(value)); }
    bool number_float(json::number_float_t, const json::string_t& text) { return number(text); }
    bool string(json::string_t& text) {
        add(JsonKind::string);
        tree_.values.back().text = keep(text);
        return parse_.ok;
    }
    bool binary(json::binary_t&) { return false; } // JSON text has none
    bool start_object(std::size_t) { return open(JsonKind::object); }
    bool key(json::string_t& name) {
        pendingKey_ = keep(name);
        return parse_.ok;
    }
    bool end_object() { return close(); }
    bool start_array(std::size_t) { return open(JsonKind::array); }
    bool end_array() { return close(); }
    bool parse_error(std::size_t position, const std::string& lastToken,
                     const nlohmann::detail::exception& error) {
        parse_.ok = false;
        const std::size_t offset = position > 0 ? position - 1 : 0;
        const LineIndex lines = indexLines(bytes_);
        parse_.line = lineAt(lines, std::min(offset, bytes_.size()));
        // 406 is the parser's number out of range: the number itself is the offending text.
        if (error.id == 406) {
            parse_.text = lastToken;
            parse_.reason = "number beyond the range of a double";
        } else {
            parse_.text = trimmedText(lineText(bytes_, lines, parse_.line));
            parse_.reason = "not valid JSON";
        }
        return false;
    }

  private:
    // A string or a member name, by its index among the texts; no file tavra can hold in
    // memory has four thousand million of them, but a bound is checked, not assumed.
    std::uint32_t keep(json::string_t& text) {
        if (tree_.texts.size() >= kNoJsonText) {
            parse_ = {false, currentLine(), "", "more strings than tavra reads in one file"};
            return kNoJsonText;
        }
        tree_.texts.push_back(std::move(text));
        return static_cast<std::uint32_t>(tree_.texts.size() - 1);
    }

    std::uint64_t currentLine() {
        const std::size_t taken = std::min(taken_, bytes_.size());
        for (; counted_ < taken; ++counted_) {
            line_ += isNewline(bytes_[counted_]) ? 1 : 0;
        }
        return taken > 0 && isNewline(bytes_[taken - 1]) ? line_ - 1 : line_;
    }

    bool add(JsonKind kind) {
        JsonValue value;
        value.kind = kind;
        value.line = currentLine();
        value.key = pendingKey_;
        pendingKey_ = kNoJsonText;
        value.end = tree_.values.size() + 1;
        tree_.values.push_back(value);
        return true;
    }

    bool number(const std::string& text) {
        add(JsonKind::number);
        JsonValue& value = tree_.values.back();
        // The text ends at the byte taken last, or the one before it when that one was
        // taken only to see where the number ends.
        const std::size_t taken = std::min(taken_, bytes_.size());
        const std::size_t length = text.size();
        if (taken >= length + 1 && bytes_.substr(taken - length - 1, length) == text) {
            value.numberStart = taken - length - 1;
        } else if (taken >= length) {
            value.numberStart = taken - length;
        }
        value.numberLength = static_cast<std::uint32_t>(std::min<std::size_t>(length, UINT32_MAX));
        if (!readStrictNumber(text, value.number)) {
            parse_.ok = false;
            parse_.line = value.line;
            parse_.text = text;
            parse_.reason = "not a finite decimal number";
            return false;
        }
        return true;
    }

    bool open(JsonKind kind) {
        add(kind);
        open_.push_back(tree_.values.size() - 1);
        return true;
    }

    bool close() {
        tree_.values[open_.back()].end = tree_.values.size();
        open_.pop_back();
        return true;
    }

    std::string_view bytes_;
    JsonTree& tree_;
    JsonParse& parse_;
    const std::size_t& taken_;
    std::vector<std::size_t> open_;
    std::uint32_t pendingKey_ = kNoJsonText;
    std::size_t counted_ = 0;
    std::uint64_t line_ = 1;
};

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

JsonParse parseJsonTree(std::string_view bytes, JsonTree& tree) {
    JsonParse parse;
    tree = {};
    std::size_t taken = 0;
    TreeBuilder builder(bytes, tree, parse, taken);
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
    return container + 1 < tree.values[container].end ? container + 1 : kNoJsonValue;
}

std::size_t nextItem(const JsonTree& tree, std::size_t container, std::size_t item) {
    const std::size_t next = tree.values[item].end;
    return next < tree.values[container].end ? next : kNoJsonValue;
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
        const std::string& key = tree.texts[tree.values[item].key];
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
        return std::string(bytes.substr(shown.numberStart, shown.numberLength));
    case JsonKind::string:
        return tree.texts[shown.text];
    case JsonKind::array:
    case JsonKind::object:
        break;
    }
    return std::string(trimmedText(lineText(bytes, indexLines(bytes), shown.line)));
}
