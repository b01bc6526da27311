// Tests of the JSON tree: every value's line, numbers as written, and where a parse stops.
#include "input/json_tree.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// "kind:text@line" of every value in document order.
std::vector<std::string> walk(const std::string& bytes) {
    JsonTree tree;
    const JsonParse parse = parseJsonTree(bytes, tree);
    EXPECT_TRUE(parse.ok) << parse.reason;
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < tree.values.size(); ++i) {
        const char* kinds[] = {"null", "bool", "num", "str", "arr", "obj"};
        seen.push_back(std::string(kinds[static_cast<int>(tree.values[i].kind)]) + ":" +
                       jsonText(tree, bytes, i) + "@" + std::to_string(tree.values[i].line));
    }
    return seen;
}

} // namespace

// A number is seen only once the byte after it is read, which may be a line end; the line
// must still be the number's own.
TEST(JsonTree, EveryValueKnowsItsLine) {
    const std::string bytes = "{\"a\": [1,\n-0, 2.50\n,-7e1\n]\n, \"b\":\"x\", \"n\": null,\n"
                              "\"t\": true, \"c\": [[-121.8171,\r\n36.8167]]}";
    EXPECT_EQ(walk(bytes),
              (std::vector<std::string>{
                  "obj:{\"a\": [1,@1", "arr:{\"a\": [1,@1", "num:1@1", "num:0@2", "num:2.50@2",
                  "num:-7e1@3", "str:x@5", "null:null@5", "bool:true@6",
                  "arr:\"t\": true, \"c\": [[-121.8171,@6",
                  "arr:\"t\": true, \"c\": [[-121.8171,@6", "num:-121.8171@6", "num:36.8167@7"}));
}

TEST(JsonTree, MembersAndItemsAreFoundInOrder) {
    JsonTree tree;
    ASSERT_TRUE(
        parseJsonTree(R"({"type": "X", "list": [1, [2, 3], {"k": 4}, 5], "Name": "n"})", tree).ok);
    const JsonMember list = findMember(tree, 0, "list");
    ASSERT_NE(list.value, kNoJsonValue);
    EXPECT_EQ(itemCount(tree, list.value), 4u);
    std::vector<JsonKind> kinds;
    for (std::size_t item = firstItem(tree, list.value); item != kNoJsonValue;
         item = nextItem(tree, list.value, item)) {
        kinds.push_back(tree.values[item].kind);
    }
    EXPECT_EQ(kinds, (std::vector<JsonKind>{JsonKind::number, JsonKind::array, JsonKind::object,
                                            JsonKind::number}));
    EXPECT_EQ(findMember(tree, 0, "name").value, kNoJsonValue);
    EXPECT_NE(findMember(tree, 0, "name", true).value, kNoJsonValue);
    EXPECT_FALSE(findMember(tree, 0, "type").repeated);

    ASSERT_TRUE(parseJsonTree(R"({"type": "X", "type": "Y"})", tree).ok);
    EXPECT_TRUE(findMember(tree, 0, "type").repeated);
}

TEST(JsonTree, ParseStopsWithLineAndText) {
    const struct {
        const char* bytes;
        std::uint64_t line;
        const char* text;
        const char* reason;
    } cases[] = {
        {"[1,\n 2,\n x]", 3, "x]", "not valid JSON"},
        {"[1,\n 1e999]", 2, "1e999", "number beyond the range of a double"},
        {"[NaN]", 1, "[NaN]", "not valid JSON"},
        {"[1, 2", 1, "[1, 2", "not valid JSON"},
        {"", 1, "", "not valid JSON"},
        {"{\"a\":1}\n{\"b\":2}", 2, "{\"b\":2}", "not valid JSON"},
    };
    for (const auto& c : cases) {
        JsonTree tree;
        const JsonParse parse = parseJsonTree(c.bytes, tree);
        EXPECT_FALSE(parse.ok) << c.bytes;
        EXPECT_EQ(parse.line, c.line) << c.bytes;
        EXPECT_EQ(parse.text, c.text) << c.bytes;
        EXPECT_EQ(parse.reason, c.reason) << c.bytes;
        EXPECT_TRUE(tree.values.empty()) << c.bytes;
    }
}

// A reader's interest: members named "k" kept with all they hold, "leaf" kept without it,
// the rest skipped, but parsed and read as strictly as what is kept.
TEST(JsonTree, AnInterestKeepsOnlyWhatItNames) {
    const JsonInterest interest{
        2, [](JsonRole container, JsonKind kind, std::string_view name) {
            if (kind == JsonKind::array) {
                return container;
            }
            return name == "k" ? JsonRole{2} : name == "leaf" ? kJsonLeaf : kJsonSkip;
        }};
    const std::string bytes = R"({"k": [1, {"x": 2, "k": "s"}], "skip": [3, [4]],)"
                              "\n"
                              R"("leaf": [5, 6], "k2": 7})";
    JsonTree tree;
    ASSERT_TRUE(parseJsonTree(bytes, tree, interest).ok);
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < tree.values.size(); ++i) {
        kept.push_back(jsonText(tree, bytes, i) + "@" + std::to_string(tree.values[i].line));
    }
    EXPECT_EQ(kept,
              (std::vector<std::string>{"{\"k\": [1, {\"x\": 2, \"k\": \"s\"}], \"skip\": [3, "
                                        "[4]],@1",
                                        "{\"k\": [1, {\"x\": 2, \"k\": \"s\"}], \"skip\": [3, "
                                        "[4]],@1",
                                        "1@1",
                                        "{\"k\": [1, {\"x\": 2, \"k\": \"s\"}], \"skip\": "
                                        "[3, [4]],@1",
                                        "s@1", "\"leaf\": [5, 6], \"k2\": 7}@2"}));
    const std::size_t leaf = findMember(tree, 0, "leaf").value;
    ASSERT_NE(leaf, kNoJsonValue);
    EXPECT_EQ(itemCount(tree, leaf), 0u);
    EXPECT_EQ(findMember(tree, 0, "skip").value, kNoJsonValue);
    EXPECT_EQ(jsonNumber(tree, bytes, 2), 1.0);

    const JsonParse parse = parseJsonTree("{\"skip\": [1,\n 1e999]}", tree, interest);
    EXPECT_FALSE(parse.ok);
    EXPECT_EQ(parse.line, 2u);
    EXPECT_EQ(parse.reason, "number beyond the range of a double");
}
