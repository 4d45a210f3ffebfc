// The send_gui_* family without an interpreter: the descriptor each member
// makes of its place and its style string.

#include "game/guimodel/KeyValueParser.h"
#include "game/script/ScriptWidgetMembers.h"
#include "helper/GeneralUtils.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

const ScriptWidgetMember& Member(const std::string& function)
{
    const auto found = std::find_if(kScriptWidgetMembers.begin(), kScriptWidgetMembers.end(),
                                    [&](const ScriptWidgetMember& m) { return function == m.function; });
    EXPECT_NE(found, kScriptWidgetMembers.end()) << function;
    return *found;
}

RetainedGUIWidget Build(const std::string& function, const std::string& style)
{
    return BuildScriptWidget(Member(function), {"panel", "w", {1.0f, 2.0f, 3.0f, 4.0f}}, style);
}

TEST(ScriptWidgetMembers, a_descriptor_carries_the_place_the_kind_and_the_fixed_values)
{
    const RetainedGUIWidget w = Build("send_gui_button", "text:Launch;font:gui-3;color:#0f0");
    EXPECT_EQ(w.kind, "button");
    EXPECT_EQ(w.parentTag + "/" + w.tag, "panel/w");
    EXPECT_EQ(w.left + w.top * 10 + w.right * 100 + w.bottom * 1000, 4321.0f);
    EXPECT_EQ(w.text + "|" + w.font + "|" + w.color, "Launch|gui-3|#0f0");
    EXPECT_EQ(w.style, "") << "the reserved text stays empty";
    EXPECT_TRUE(w.shown && w.ticked && !w.absolute);
    EXPECT_EQ(w.layer, 0) << "no draw_layer gives 0, not the drawing's default";
}

// The keys of each member, read as its Part of the family says.
TEST(ScriptWidgetMembers, each_member_reads_its_own_keys)
{
    struct Case {
        const char* function;
        const char* style;
        std::function<void(const RetainedGUIWidget&)> check;
    };
    const Case cases[] = {
        {"send_gui_button", "pixel_aligned:true", [](auto& w) { EXPECT_FALSE(w.absolute); }},
        {"send_gui_button", "pixel_aligned:True", [](auto& w) { EXPECT_TRUE(w.absolute); }},
        {"send_gui_button", "draw_layer:12abc", [](auto& w) { EXPECT_EQ(w.layer, 12); }},
        {"send_gui_dropdown", "list:a,b,c", [](auto& w) { EXPECT_EQ(w.data, "a^b^c^"); }},
        {"send_gui_dropdown", "text:Pick", [](auto& w) { EXPECT_EQ(w.data, ""); }},
        {"send_gui_slider", "low:0;high:100;text:Warp", [](auto& w) {
             EXPECT_EQ(w.low, 0.0f);
             EXPECT_EQ(w.high, 100.0f);
             EXPECT_EQ(w.data + "|" + w.text, "Warp|Warp");
         }},
        {"send_gui_slider", "low:-2.5x;high:1e2", [](auto& w) { EXPECT_EQ(w.low + w.high, 97.5f); }},
        {"send_gui_slider", "text:x", [](auto& w) { EXPECT_EQ(w.low + w.high, 0.0f); }},
        {"send_gui_text", "justify:center", [](auto& w) { EXPECT_EQ(w.index, 1); }},
        {"send_gui_text", "justify:Center", [](auto& w) { EXPECT_EQ(w.index, 0); }},
        {"send_gui_text", "justify:right", [](auto& w) { EXPECT_EQ(w.index, 2); }},
        {"send_gui_text", "text:caf\xC3\xA9", [](auto& w) { EXPECT_EQ(w.text, "caf\xE9"); }},
        {"send_gui_button", "text:caf\xC3\xA9", [](auto& w) { EXPECT_EQ(w.text, "caf\xC3\xA9"); }},
        {"send_gui_checkbox", "state:active", [](auto& w) { EXPECT_TRUE(w.ticked); }},
        {"send_gui_checkbox", "state:1", [](auto& w) { EXPECT_FALSE(w.ticked); }},
        {"send_gui_typein", "password:active;desc:Name", [](auto& w) {
             EXPECT_TRUE(w.ticked) << "the password test has no \"active\"";
             EXPECT_EQ(w.data, "Name");
         }},
        {"send_gui_typein", "password:yes", [](auto& w) { EXPECT_FALSE(w.ticked); }},
        {"send_gui_3dship", "text:Tern;hull_tag:tern_frigate", [](auto& w) { EXPECT_EQ(w.text, "tern_frigate"); }},
        {"send_gui_icon", "icon_index:7;color:red", [](auto& w) { EXPECT_EQ(std::to_string(w.index) + w.color, "7red"); }},
        {"send_gui_iconcheckbox", "icon_index:x", [](auto& w) { EXPECT_EQ(w.index, 0); }},
        {"send_gui_image", "image:panels/rim;sub_left:1;sub_top:2;sub_right:30;sub_bottom:40", [](auto& w) {
             EXPECT_EQ(w.data, "panels/rim");
             EXPECT_EQ(w.srcLeft + w.srcTop * 10 + w.srcRight * 100 + w.srcBottom * 1000, 43021.0f);
         }},
        {"send_gui_image", "sub_left:1;sub_rect:5,6,7", [](auto& w) {
             EXPECT_EQ(w.srcLeft, 1.0f) << "three values do not make a rectangle";
             EXPECT_EQ(w.srcTop, 0.0f);
         }},
        {"send_gui_image", "sub_left:1;sub_rect:5,6,7,8,9", [](auto& w) {
             EXPECT_EQ(w.srcLeft + w.srcTop * 10 + w.srcRight * 100 + w.srcBottom * 1000, 8765.0f);
         }},
        {"send_gui_clickregion", "background_color:#204060", [](auto& w) { EXPECT_EQ(w.data, "#204060"); }},
        {"send_gui_colorbutton", "color:orange", [](auto& w) { EXPECT_EQ(w.color, "orange"); }},
        {"send_gui_sub_region", "text:a;b", [](auto& w) { EXPECT_EQ(w.text, "a") << "an entry without ':' ends it"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.function) + " \"" + c.style + "\"");
        c.check(Build(c.function, c.style));
    }
}

// The face's fourth argument is the face description; the last style parsed
// does not reach it.
TEST(ScriptWidgetMembers, a_face_takes_its_description_and_no_style)
{
    Build("send_gui_button", "text:x;font:gui-4;color:red;draw_layer:7");
    const RetainedGUIWidget face = Build("send_gui_face", "head #e6b594 0 0;eyes white 0 0");
    EXPECT_EQ(face.kind, "face");
    EXPECT_EQ(face.text, "head #e6b594 0 0;eyes white 0 0");
    EXPECT_EQ(face.font + face.color, "");
    EXPECT_EQ(face.layer, 0);
}

// The words of a text, one space between each: the documentation file keeps
// no runs of spaces.
std::string Words(const std::string& text)
{
    std::vector<std::string> words;
    SplitString(text, " ", words);
    std::string joined;
    for (const std::string& word : words)
        joined += (joined.empty() ? "" : " ") + word;
    return joined;
}

// Every key a member reads is documented under the member's own context, in
// the words of the style-string documentation the game ships.
TEST(ScriptWidgetMembers, keys_are_documented_as_the_shipped_documentation_says)
{
    qeltest::ScopedEnv dataDir("QEL_DATA_DIR", qeltest::GameDataFolder().string());
    KeyValueParser::Load();
    const auto shipped = KeyValueParser::Global().Catalogue();
    for (const ScriptWidgetMember& member : kScriptWidgetMembers)
        BuildScriptWidget(member, {}, "");
    const auto& recorded = KeyValueParser::Global().Catalogue();
    for (const auto& [contextAndKey, documentation] : recorded) {
        const auto found = shipped.find(contextAndKey);
        ASSERT_NE(found, shipped.end()) << documentation.context << " " << documentation.key << " is not shipped";
        EXPECT_EQ(Words(found->second.text), Words(documentation.text)) << contextAndKey;
    }
    EXPECT_EQ(recorded.size(), shipped.size());
}

}  // namespace
