#include "game/guimodel/KeyValueParser.h"

#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Entries = std::vector<KeyValueParser::Entry>;
using qeltest::ScopedEnv;
using qeltest::TempFolder;

const KeyValueParser::Entry kPlaceholder = {"empty", "empty"};

Entries Parsed(const std::string& text)
{
    KeyValueParser parser;
    parseStyleString(parser, text);
    return parser.Entries();
}

TEST(KeyValueParser, parses_entries_values_groups_quotes_and_raw_keys)
{
    struct Case {
        std::string text;
        Entries entries;  // after the placeholder
    };
    const Case cases[] = {
        {"me:sure `Listen here, man, ; I () ((;))  ) have, some, commas!` plus this;a:b",
         {{"me", "sure Listen here, man, ; I () ((;))  ) have, some, commas! plus this"}, {"a", "b"}}},
        {"text:Hello, world;color:#ff0000", {{"text", "Hello", "world"}, {"color", "#ff0000"}}},
        {"list:a,b(c,d),e", {{"list", "a", "b(c,d)", "e"}}},
        {"$raw:a,b(c;x:y", {{"raw", "a,b(c"}, {"x", "y"}}},
        // The open parenthesis of the first entry keeps the comma of the second.
        {"x:(;y:a,b", {{"x", "("}, {"y", "a,b"}}},
        {"a:b:c", {{"a", "b:c"}}},
        {" k : v1 , v2 ;", {{"k", "v1", "v2"}}},
        {"a:", {{"a", ""}}},
        {"q:`x``y` ", {{"q", "x`y"}}},
        {"open:`never closed;b:c", {{"open", "never closed;b:c"}}},
        {"a;b:c", {{"a;b", "c"}}},  // the key runs to the first ':'
        // A last entry without ':' is a key without a value; a blank one is nothing.
        {"a:1;b", {{"a", "1"}, {"b", ""}}},
        {"a:1;  ", {{"a", "1"}}},
        {"plain", {{"plain", ""}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        Entries expected = {kPlaceholder};
        expected.insert(expected.end(), c.entries.begin(), c.entries.end());
        EXPECT_EQ(Parsed(c.text), expected) << '"' << c.text << '"';
    }
}

TEST(KeyValueParser, start_up_self_test_passes)
{
    EXPECT_NO_THROW(KeyValueParserSelfTest());
}

TEST(KeyValueParser, lookup_answers_the_first_value_and_keeps_the_whole_entry)
{
    KeyValueParser parser;
    parseStyleString(parser, "text:Hello, world;color:#ff0000;text:second");
    EXPECT_EQ(parser.Get("send_gui_button", "text", "the text shown"), "Hello");
    EXPECT_EQ(parser.CurrentValues(), (KeyValueParser::Entry{"text", "Hello", "world"}));

    EXPECT_EQ(parser.Get("send_gui_button", "Text", ""), "");  // keys are case-sensitive
    EXPECT_TRUE(parser.CurrentValues().empty());

    parseStyleString(parser, "empty:mine");
    EXPECT_EQ(parser.Get("ctx", "empty", ""), "empty");  // the placeholder comes first
    EXPECT_EQ(parser.Get("ctx", "text", ""), "");        // a parse replaces the entries
}

TEST(KeyValueParser, int_range_reads_the_current_values_in_order)
{
    struct Case {
        std::string style;
        int32_t min, max;
    };
    const Case cases[] = {
        {"range:9,3", 3, 9},
        {"range:7", 7, 7},
        {"range:2,5,1", 2, 5},
        {"range:x,-4", -4, 0},
        {"other:1", 0, 0},  // no current values
    };
    for (const Case& c : cases) {
        KeyValueParser parser;
        parseStyleString(parser, c.style);
        parser.Get("ctx", "range", "");
        int32_t min = 99, max = 99;
        parser.GetIntRange(min, max);
        EXPECT_EQ(min, c.min) << c.style;
        EXPECT_EQ(max, c.max) << c.style;
    }
}

TEST(KeyValueParser, walk_yields_the_placeholder_then_each_key_and_restarts_with_a_parse)
{
    KeyValueParser parser;
    parseStyleString(parser, "a:1;b:2,3");
    std::vector<std::string> keys;
    for (std::string key = parser.NextEntry(); !key.empty(); key = parser.NextEntry()) {
        keys.push_back(key);
        if (key == "b") {
            EXPECT_EQ(parser.CurrentValues(), (KeyValueParser::Entry{"b", "2", "3"}));
        }
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"empty", "a", "b"}));
    EXPECT_EQ(parser.NextEntry(), "");

    parseStyleString(parser, "c:4");
    EXPECT_EQ(parser.NextEntry(), "empty");
    EXPECT_EQ(parser.NextEntry(), "c");
}

TEST(KeyValueParser, catalogue_keeps_the_longest_text_per_context_and_key)
{
    KeyValueParser parser;
    EXPECT_FALSE(parser.DocumentationChanged());
    parser.Get("send_gui_text", "justify", "optional. text justification; left, right, center.");
    parser.Get("send_gui_text", "justify", "short");
    parser.AddDoc("send_gui_icon", "color", "first!");
    parser.AddDoc("send_gui_icon", "color", "second");  // as long: the later wins
    EXPECT_TRUE(parser.DocumentationChanged());

    const auto& catalogue = parser.Catalogue();
    ASSERT_EQ(catalogue.size(), 2u);
    const KeyValueParser::Documentation& justify = catalogue.at("send_gui_textjustify");
    EXPECT_EQ(justify.context, "send_gui_text");
    EXPECT_EQ(justify.key, "justify");
    EXPECT_EQ(justify.text, "optional. text justification; left, right, center.");
    EXPECT_EQ(catalogue.at("send_gui_iconcolor").text, "second");
}

TEST(KeyValueParser, documentation_file_fills_the_global_catalogue_whole_words_kept)
{
    TempFolder data;
    data.Write("widget_stylestring_documentation.txt",
               "widget style strings\n"
               "\n"
               "context  key  text\n"
               "send_gui_button text the text shown in the widget.\n"
               "send_gui_image  image  `file name` without .png\r\n"
               "too short\n"
               "send_gui_typein desc x\n");
    ScopedEnv dataDir("QEL_DATA_DIR", data.Path().string());
    KeyValueParser::Load();

    const auto& catalogue = KeyValueParser::Global().Catalogue();
    EXPECT_EQ(catalogue.at("send_gui_buttontext").text, "the text shown in the widget.");
    EXPECT_EQ(catalogue.at("send_gui_imageimage").text, "`file name` without .png");
    EXPECT_EQ(catalogue.at("send_gui_typeindesc").text, "x");
    EXPECT_EQ(catalogue.count("tooshort"), 0u);
    EXPECT_EQ(catalogue.count("contextkey"), 0u);  // the three header lines are skipped
}

TEST(KeyValueParser, shipped_documentation_names_the_keys_of_every_styled_widget_function)
{
    ScopedEnv dataDir("QEL_DATA_DIR", qeltest::GameDataFolder().string());
    KeyValueParser::Load();
    const auto& catalogue = KeyValueParser::Global().Catalogue();
    for (const char* kind : {"subregion", "button", "typein", "dropdown", "slider", "text", "3dship", "checkbox",
                             "icon", "image", "rawiconbutton", "clickregion", "iconbutton", "iconcheckbox",
                             "colorbutton", "colorcheckbox"})
        EXPECT_EQ(catalogue.count("send_gui_" + std::string(kind) + "pixel_aligned"), 1u) << kind;
    EXPECT_EQ(catalogue.at("send_gui_dropdownlist").text, "list of the drop down item names, seperated by commas.");
}

TEST(KeyValueParser, missing_documentation_file_changes_nothing)
{
    TempFolder data;
    ScopedEnv dataDir("QEL_DATA_DIR", data.Path().string());
    const size_t before = KeyValueParser::Global().Catalogue().size();
    KeyValueParser::Load();
    EXPECT_EQ(KeyValueParser::Global().Catalogue().size(), before);
}

}  // namespace
