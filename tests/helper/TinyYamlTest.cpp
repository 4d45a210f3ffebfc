#include "helper/TinyYaml.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

using TINY_YAML::Node;
using TINY_YAML::NodeMap;

// A compact, order-independent picture of a tree: name=text, name[items],
// name{children}, siblings sorted by name and separated by commas.
std::string Render(const NodeMap& map)
{
    std::vector<const Node*> nodes;
    for (const auto& entry : map)
        nodes.push_back(entry.second.get());
    std::sort(nodes.begin(), nodes.end(),
              [](const Node* a, const Node* b) { return a->name < b->name; });
    std::string out;
    for (const Node* node : nodes) {
        if (!out.empty())
            out += ',';
        out += node->name;
        if (const std::string* text = node->Text())
            out += '=' + *text;
        if (const Node::List* items = node->Items()) {
            out += '[';
            for (size_t i = 0; i < items->size(); ++i)
                out += (i ? "," : "") + (*items)[i];
            out += ']';
        }
        if (!node->children.Empty())
            out += '{' + Render(node->children) + '}';
    }
    return out;
}

struct Parsed {
    bool ok;
    std::string tree;
    std::string errors;
};

// Parses into a document that already holds something, to show it is emptied.
Parsed Parse(const std::string& text)
{
    NodeMap document;
    document.Add(std::make_shared<Node>("left over"));
    std::istringstream input(text);
    testing::internal::CaptureStderr();
    const bool ok = TINY_YAML::ParseStream(document, input);
    const std::string errors = testing::internal::GetCapturedStderr();
    return {ok, Render(document), errors};
}

std::string LineError(int line)
{
    return "Yaml Parser: Error: Failed to parse file, invalid yaml syntax at line: " +
           std::to_string(line) + "\n";
}

std::string DashError(const std::string& key, int column)
{
    return "ERROR: Variable " + key + " contains a '-' at column " + std::to_string(column) +
           ". A Dash must not exist there.\n";
}

const std::string kQuoteError = "ERROR: unclosed quote found. Please close the quote and reparse.\n";

struct TreeCase {
    const char* name;
    std::string text;
    std::string tree;
};

TEST(TinyYaml, well_formed_documents_give_their_trees)
{
    const TreeCase cases[] = {
        {"text and list", "Category: Training\nKeywords:\n  - one\n  - two\n",
         "Category=Training,Keywords[one,two]"},
        {"nested mappings", "a:\n  b: 1\n  c:\n    d: 2\ne: 3\n", "a{b=1,c{d=2}},e=3"},
        {"list of mappings", "items:\n  - name: x\n    size: 1\n  - name: y\n",
         "items{0{name=x,size=1},1{name=y}}"},
        {"trailing comment", "a: 1 # note\n", "a=1"},
        {"blank before colon stays in key", "key : v\n", "key =v"},
        {"quotes stay and hide a dash", "a: \"x-y\"\nb: 'z'\n", "a=\"x-y\",b='z'"},
        {"escaped quote does not close", "a: \"say \\\"hi\\\" now\"\n", "a=\"say \\\"hi\\\" now\""},
        {"repeated top-level key keeps first", "a: 1\na: 2\n", "a=1"},
        {"colon inside value", "url: host:3150\n", "url=host:3150"},
        {"comments and blank lines skipped", "# heading\n\n   \n  # indented\na: 1\n", "a=1"},
        {"tab indentation", "a:\n\tb: 1\n", "a{b=1}"},
        {"no final line end", "a: 1", "a=1"},
        {"empty text", "", ""},
        {"CRLF read like LF", "Category: Training\r\nKeywords:\r\n  - one\r\n  - two\r\n",
         "Category=Training,Keywords[one,two]"},
        {"blanks after value dropped", "a: 1  \t\n", "a=1"},
    };
    for (const TreeCase& c : cases) {
        const Parsed parsed = Parse(c.text);
        EXPECT_TRUE(parsed.ok) << c.name;
        EXPECT_EQ(parsed.tree, c.tree) << c.name;
        EXPECT_EQ(parsed.errors, "") << c.name;
    }
}

struct FailureCase {
    const char* name;
    std::string text;
    std::string errors;
};

TEST(TinyYaml, malformed_documents_fail_with_their_message_and_leave_it_empty)
{
    const FailureCase cases[] = {
        {"word without colon or dash", "a: 1\nword\n", LineError(2)},
        {"dash in top-level value", "a: x-y\n", DashError("a", 4) + LineError(1)},
        {"hyphen in trailing comment", "a: 1 # x-y\n", DashError("a", 8) + LineError(1)},
        {"dash at top level", "- x\n", DashError("x", 0) + LineError(1)},
        {"dash below a mapping with children", "m:\n  a: 1\n  - x\n",
         DashError("x", 2) + LineError(3)},
        {"list item not right of its owner", "items:\n- name: x\n",
         DashError("name", 0) + LineError(2)},
        {"repeated key under a mapping", "m:\n  a: 1\n  a: 2\n", LineError(3)},
        {"repeated top-level mapping", "m:\nm:\n", LineError(2)},
        {"repeated nested mapping", "m:\n  n:\n  n:\n", LineError(3)},
        {"list index taken by a key", "a:\n  - q\n  1: z\n  - y: 2\n", LineError(4)},
        {"unclosed quote", "a: 1\nb: 'open\n", kQuoteError + LineError(2)},
        {"NUL line", std::string("a: 1\n\0\n", 7), LineError(2)},
    };
    for (const FailureCase& c : cases) {
        const Parsed parsed = Parse(c.text);
        EXPECT_FALSE(parsed.ok) << c.name;
        EXPECT_EQ(parsed.tree, "") << c.name;
        EXPECT_EQ(parsed.errors, c.errors) << c.name;
    }
}

TEST(TinyYaml, line_length_limit_counts_characters_before_the_line_end)
{
    const std::string longest = "a: " + std::string(TINY_YAML::kMaxLineLength - 3, 'x');
    EXPECT_TRUE(Parse(longest + "\n").ok);
    EXPECT_TRUE(Parse(longest + "\r\n").ok);
    EXPECT_TRUE(Parse(longest).ok);

    const std::string tooLong =
        "ERROR: line longer than " + std::to_string(TINY_YAML::kMaxLineLength) + " characters.\n";
    for (size_t length : {TINY_YAML::kMaxLineLength + 1, size_t{600}, size_t{100000}}) {
        const Parsed parsed = Parse("b: 1\na: " + std::string(length - 3, 'x') + "\nc: 2\n");
        EXPECT_FALSE(parsed.ok) << length;
        EXPECT_EQ(parsed.tree, "") << length;
        EXPECT_EQ(parsed.errors, tooLong + LineError(2)) << length;
    }
}

TEST(TinyYaml, deep_nesting_up_to_the_line_limit_parses)
{
    const size_t depth = TINY_YAML::kMaxLineLength - 2;
    std::string text;
    for (size_t i = 0; i < depth; ++i)
        text += std::string(i, ' ') + "k:\n";
    NodeMap document;
    std::istringstream input(text);
    ASSERT_TRUE(TINY_YAML::ParseStream(document, input));
    size_t levels = 0;
    for (const NodeMap* map = &document; !map->Empty(); map = &map->Find("k")->children)
        ++levels;
    EXPECT_EQ(levels, depth);
}

TEST(TinyYaml, arbitrary_bytes_never_crash_the_reader)
{
    const std::string texts[] = {
        std::string("\0\0\0", 3),
        "\t\t-\t:\n:\n-:\n- :\n---\n...\n",
        ": \n  : x\n    - :\n",
        "a:\n  - \"\n",
        "a: '\\'\n",
        "\xff\xfe: \x80\n  - \xc3\n",
        "a:\n b:\n  c:\n - d: 1\n   - e\n",
        "a:\n b:\n  c:\n - d: 1\n   - e\n  f\n",
    };
    for (const std::string& text : texts) {
        const Parsed parsed = Parse(text);
        EXPECT_EQ(parsed.tree.find("left over"), std::string::npos);
        if (!parsed.ok) {
            EXPECT_EQ(parsed.tree, "");
            EXPECT_NE(parsed.errors, "");
        }
    }
}

TEST(TinyYamlFile, mission_description_with_crlf_line_ends)
{
    NodeMap document;
    ASSERT_TRUE(TINY_YAML::ParseFile(document, QEL_TEST_FIXTURES "/yaml/description.yaml"));
    EXPECT_EQ(Render(document),
              "Category=Training,Category Priority=2,"
              "Description=Learn the helm and fly through three nav points.,"
              "Keywords[helm,beginner],Visible Mission Name=\"First Flight\"");
}

TEST(TinyYamlFile, missing_file_or_folder_fails_and_empties_the_document)
{
    const std::string missing = QEL_TEST_FIXTURES "/yaml/no-such-file.yaml";
    const std::string folder = QEL_TEST_FIXTURES "/yaml";
    NodeMap document;
    document.Add(std::make_shared<Node>("left over"));

    testing::internal::CaptureStderr();
    EXPECT_FALSE(TINY_YAML::ParseFile(document, missing));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), missing + " cannot be opened\n");
    EXPECT_TRUE(document.Empty());

    document.Add(std::make_shared<Node>("left over"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(TINY_YAML::ParseFile(document, folder));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(document.Empty());
}

TEST(TinyYamlFile, a_malformed_file_is_named_after_the_error_that_gives_its_line)
{
    qeltest::TempFolder folder;
    folder.Write("description.yaml", "Category: Training\nnot a key line\n");
    NodeMap document;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(TINY_YAML::ParseFile(document, folder / "description.yaml"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              LineError(2) + (folder / "description.yaml") + " was not read: the error above gives its line\n");
    EXPECT_TRUE(document.Empty());
}

TEST(TinyYamlNode, add_child_refuses_a_taken_name)
{
    Node parent("p");
    auto first = std::make_shared<Node>("a");
    first->value = std::string("1");
    auto second = std::make_shared<Node>("a");
    second->value = std::string("2");
    EXPECT_TRUE(parent.AddChild(first));
    EXPECT_FALSE(parent.AddChild(second));
    EXPECT_EQ(parent.children.Size(), 1u);
    EXPECT_EQ(*parent.children.Find("a")->Text(), "1");
    EXPECT_EQ(parent.children.Find("b"), nullptr);
}

}  // namespace
