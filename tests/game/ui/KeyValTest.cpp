// Hot keys: the key-name table, the settings file written and read back, and
// the queries with their modifiers and the text-box guard.

#include "game/ui/KeyVal.h"

#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/ui/KeyNames.h"
#include "game/ui/UIContext.h"
#include "tests/support/ScriptedInput.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;
namespace vk = qel::vk;

constexpr const char* kFile = "hot_key_settings.txt";

TEST(KeyNamesTest, tags_and_codes_map_both_ways_and_shared_codes_are_named_by_the_later_tag)
{
    std::set<std::string> tags;
    for (const KeyNameRow& row : KeyNameTable())
        tags.insert(row.tag);
    EXPECT_EQ(tags.size(), 192u);

    struct Case {
        const char* tag;
        int32_t code;
    };
    for (const Case c : {Case{"KEY_LBUTTON", 1}, Case{"KEY_RETURN", 13}, Case{"KEY_CONTROL", 17},
                         Case{"KEY_ESCAPE", 27}, Case{"KEY_0", 48}, Case{"KEY_Z", 90}, Case{"KEY_NUMPAD9", 105},
                         Case{"KEY_SUBTRACT", 109}, Case{"KEY_F1", 112}, Case{"KEY_F24", 135},
                         Case{"KEY_LMENU", 164}, Case{"KEY__none_", 255}}) {
        EXPECT_EQ(keyTagToCode(c.tag), c.code) << c.tag;
        EXPECT_EQ(keyCodeToTag(c.code), c.tag) << c.code;
    }
    EXPECT_EQ(keyTagToCode("KEY_PRIOR"), 33);
    EXPECT_EQ(keyCodeToTag(33), "KEY_PAGE_UP");
    EXPECT_EQ(keyCodeToTag(34), "KEY_PAGE_DOWN");
    EXPECT_EQ(keyTagToCode("KEY_MENU"), 0);  // no generic Alt
    EXPECT_EQ(keyCodeToTag(0), "");
}

class KeyValTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gInputFactory = &input;
        theUIContext = UIContext();
        KeyVal::Unload();
    }
    void TearDown() override
    {
        KeyVal::Unload();
        theUIContext = UIContext();
        gInputFactory = nullptr;
    }

    std::string FileText() const { return folder.Read(kFile); }
    void WriteFile(const std::string& text) const { folder.Write(kFile, text); }

    TempFolder folder;
    ScopedEnv dataFolder{"QEL_DATA_DIR", folder.Path().string()};
    qeltest::ScriptedInput input;
};

TEST_F(KeyValTest, the_settings_file_lists_every_hot_key_in_columns_and_reads_back_the_same)
{
    isHotKeyPressed("GUI_WIDGET", "control", vk::kSubtract,
                    "hold this key combo to activate the screen widget edit mode");
    KeyVal::QueryPressed("OPT", "reload", 'R', vk::kControl, "reload the layout");
    isHotKeyHeld("A_CONTEXT_WHOSE_NAME_IS_LONG", "forty_chars_and_more", 0x70, "long name");

    const std::string text = FileText();
    EXPECT_EQ(text.rfind("hot_key_settings.txt\n\nThis file contains the hot key mapping for Corvane Halvex.\n", 0),
              0u);
    const std::string columns =
        "internal name of the hotkey             - key tags                  - description of what the hotkey does\n\n";
    const size_t table = text.find(columns);
    ASSERT_NE(table, std::string::npos);
    const std::string rows = "A_CONTEXT_WHOSE_NAME_IS_LONG_forty_chars_and_more| KEY_F1                    | long name\n"
                             "GUI_WIDGET_control                      | KEY_SUBTRACT              | hold this key combo "
                             "to activate the screen widget edit mode\n"
                             "OPT_reload                              | KEY_R KEY_CONTROL         | reload the layout\n";
    EXPECT_EQ(text.substr(table + columns.size(), rows.size()), rows);

    const std::string lastTags = "KEY_XBUTTON1              KEY_XBUTTON2              KEY_PAGE_UP               "
                                 "KEY_PAGE_DOWN             \n\n";
    ASSERT_GE(text.size(), lastTags.size());
    EXPECT_EQ(text.substr(text.size() - lastTags.size()), lastTags);
    const size_t intro = text.find("  The text below are all the valid key tags you may use in this file.\n");
    ASSERT_NE(intro, std::string::npos);
    EXPECT_EQ(std::count(text.begin() + static_cast<std::ptrdiff_t>(intro), text.end(), '\n'), 1 + 48 + 1);

    const auto written = KeyVal::Table();
    KeyVal::Unload();
    KeyVal::Load();
    EXPECT_EQ(KeyVal::Table(), written);
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().filename(), kFile);  // the rewrite left no temporary file behind
}

TEST_F(KeyValTest, key_tags_read_as_the_primary_key_then_modifiers_each_inverted_by_a_not_before_it)
{
    struct Case {
        const char* tags;
        int32_t primary;
        std::array<int32_t, 5> modifiers;
        std::array<bool, 5> nots;
    };
    const Case cases[] = {
        {"KEY_F1 NOT KEY_CONTROL", 112, {17}, {true}},
        {"KEY_R KEY_CONTROL", 82, {17}, {false}},
        {"KEY_R not KEY_SHIFT KEY_CONTROL", 82, {16, 17}, {true, false}},
        {"NOT KEY_R", 0, {82}, {false}},           // NOT first is read as the primary key's tag
        {"KEY_R Not KEY_CONTROL", 82, {0, 17}, {}}, // only NOT and not invert
        {"KEY_A KEY_B KEY_C KEY_D KEY_E KEY_F KEY_G", 65, {66, 67, 68, 69, 70}, {}},  // five modifiers at most
        {"", 0, {}, {}},
    };
    std::string file = "header line without columns\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        file += "T_" + std::to_string(i) + " | " + cases[i].tags + " | case " + std::to_string(i) + "\r\n";
    file += "T_cut | KEY_A | a description | with a bar\n";
    WriteFile(file);

    KeyVal::Load();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const HotKey* key = KeyVal::Find("T_" + std::to_string(i));
        ASSERT_NE(key, nullptr) << cases[i].tags;
        EXPECT_EQ(key->primary, cases[i].primary) << cases[i].tags;
        EXPECT_EQ(key->modifiers, cases[i].modifiers) << cases[i].tags;
        EXPECT_EQ(key->notFlags, cases[i].nots) << cases[i].tags;
        EXPECT_EQ(key->description, "case " + std::to_string(i));
    }
    EXPECT_EQ(KeyVal::Find("T_cut")->description, "a description");
    EXPECT_EQ(KeyVal::Table().size(), std::size(cases) + 1);
}

TEST_F(KeyValTest, a_hot_key_fires_only_with_its_modifiers_as_bound_and_from_its_first_query)
{
    WriteFile("OPT_fire | KEY_F1 NOT KEY_CONTROL | fire\n"
              "OPT_reload | KEY_R KEY_CONTROL | reload\n"
              "OPT_plain | KEY_R | plain\n");
    KeyVal::Load();
    struct Case {
        const char* name;
        int32_t key;
        bool control;
        bool fires;
    };
    const Case cases[] = {
        {"fire", 0x70, false, true}, {"fire", 0x70, true, false},    {"reload", 'R', true, true},
        {"reload", 'R', false, false}, {"plain", 'R', true, true},   {"plain", 'R', false, true},
    };
    for (const Case& c : cases) {
        input.keyboard.held.clear();
        if (c.control)
            input.KeyDown(vk::kControl);
        input.KeyDown(c.key);
        EXPECT_EQ(isHotKeyPressed("OPT", c.name, 0, ""), c.fires) << c.name << " control " << c.control;
        EXPECT_EQ(isHotKeyHeld("OPT", c.name, 0, ""), c.fires) << c.name << " control " << c.control;
        input.NextFrame();
        EXPECT_FALSE(isHotKeyPressed("OPT", c.name, 0, "")) << "a press lasts one frame";
        EXPECT_EQ(isHotKeyHeld("OPT", c.name, 0, ""), c.fires) << "held while down";
    }

    // A key pressed in the first frame a screen asks for it is not lost to
    // its registration: the first query adds it and answers.
    input.KeyDown('Q');
    EXPECT_TRUE(isHotKeyPressed("OPT", "new", 'Q', "a new hot key"));
    EXPECT_NE(FileText().find("OPT_new"), std::string::npos);
    EXPECT_TRUE(isHotKeyPressed("OPT", "new", 'Q', "a new hot key"));
}

TEST_F(KeyValTest, while_a_text_box_has_the_keyboard_only_a_query_right_after_clearing_the_guard_answers)
{
    KeyVal::QueryPressed("OPT", "go", 'G', 0, "go");
    input.KeyDown('G');
    theUIContext.textEntryOwner = 30;
    EXPECT_FALSE(isHotKeyPressed("OPT", "go", 'G', "go"));
    KeyVal::AnswerNextWhileTyping();
    EXPECT_TRUE(isHotKeyPressed("OPT", "go", 'G', "go"));
    EXPECT_FALSE(isHotKeyPressed("OPT", "go", 'G', "go"));
    theUIContext.textEntryOwner = 0;
    EXPECT_TRUE(isHotKeyPressed("OPT", "go", 'G', "go"));
}

TEST_F(KeyValTest, a_line_of_the_file_that_names_no_key_takes_the_callers_default_and_is_saved_once)
{
    WriteFile("OPT_zoom | KEY_NO_SUCH_KEY | zoom\n");
    KeyVal::Load();
    EXPECT_FALSE(isHotKeyPressed("OPT", "zoom", 'Z', "zoom in"));
    EXPECT_EQ(KeyVal::Find("OPT_zoom")->primary, 'Z');
    EXPECT_NE(FileText().find("OPT_zoom                                | KEY_Z"), std::string::npos);

    // A default of no key leaves the hot key unbound: written once, not on every query.
    EXPECT_FALSE(isHotKeyPressed("SCRIPT", "unbound", 0, "a script's key that did not read"));
    std::filesystem::remove(folder.Path() / kFile);
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_FALSE(isHotKeyPressed("SCRIPT", "unbound", 0, "a script's key that did not read"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / kFile));
}

TEST_F(KeyValTest, a_line_break_in_a_description_cannot_add_a_binding_to_the_file)
{
    isHotKeyPressed("SCRIPT", "dock", 'D', "dock\nOPT_fire | KEY_A | bound by a script");
    KeyVal::Unload();
    KeyVal::Load();
    EXPECT_EQ(KeyVal::Find("OPT_fire"), nullptr);
    ASSERT_NE(KeyVal::Find("SCRIPT_dock"), nullptr);
    EXPECT_EQ(KeyVal::Find("SCRIPT_dock")->description, "dock OPT_fire");  // the rest after its '|' is cut
}

// A lone carriage return inside a field of a hand-edited file was kept on
// reading but written as a blank, so every rewrite renamed the hot key.
TEST_F(KeyValTest, a_carriage_return_inside_a_field_reads_as_the_blank_it_is_written_as)
{
    WriteFile("OPT_a\rb | KEY_A | one\rtwo\n");
    KeyVal::Load();
    ASSERT_NE(KeyVal::Find("OPT_a b"), nullptr);
    EXPECT_EQ(KeyVal::Find("OPT_a b")->description, "one two");
    const std::map<std::string, HotKey> read = KeyVal::Table();
    KeyVal::Save();
    KeyVal::Unload();
    KeyVal::Load();
    EXPECT_EQ(KeyVal::Table(), read);
}

// Found by fuzzing: an unbound hot key (its primary tag names no key) was
// written with its modifiers after an empty tag, so reading the file back
// bound it to its first modifier.
TEST_F(KeyValTest, an_unbound_hot_key_stays_unbound_when_the_file_is_written_and_read_back)
{
    WriteFile("OPT_fire | KEY_SPACEBAR NOT KEY_SHIFT | fire\n");
    KeyVal::Load();
    ASSERT_EQ(KeyVal::Find("OPT_fire")->primary, 0);
    KeyVal::Save();
    KeyVal::Unload();
    KeyVal::Load();
    ASSERT_NE(KeyVal::Find("OPT_fire"), nullptr);
    EXPECT_EQ(KeyVal::Find("OPT_fire")->primary, 0);
    EXPECT_EQ(KeyVal::Find("OPT_fire")->description, "fire");
}

TEST_F(KeyValTest, a_missing_file_leaves_the_table_empty)
{
    KeyVal::Load();
    EXPECT_TRUE(KeyVal::Table().empty());
}

}  // namespace
