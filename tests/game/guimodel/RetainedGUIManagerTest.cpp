#include "game/guimodel/RetainedGUIManager.h"

#include "game/guimodel/ScriptHotKeyService.h"
#include "tests/support/RecordingGraphics2D.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using Tags = std::vector<std::string>;

RetainedGUIWidget Widget(const std::string& tag, const std::string& parentTag = "", const std::string& text = "")
{
    RetainedGUIWidget widget;
    widget.kind = retained_kind::kButton;
    widget.tag = tag;
    widget.parentTag = parentTag;
    widget.text = text;
    return widget;
}

Tags TagsOf(const std::vector<RetainedGUIWidget>& list)
{
    Tags tags;
    for (const RetainedGUIWidget& widget : list)
        tags.push_back(widget.tag);
    return tags;
}

class RetainedGUIManagerTest : public ::testing::Test {
protected:
    // A finished screen: "panel" with "ok" inside it, and "title".
    void BuildScreen()
    {
        gui.SetBuilding(true, "");
        gui.AddWidget(Widget("panel"));
        gui.AddWidget(Widget("ok", "panel"));
        gui.AddWidget(Widget("title"));
        gui.SetBuilding(false, "");
    }

    const RetainedGUIWidget& Root() { return gui.Root(); }

    RetainedGUIManager gui;
};

TEST_F(RetainedGUIManagerTest, new_widgets_replace_the_old_together_at_the_complete)
{
    BuildScreen();
    ASSERT_EQ(TagsOf(Root().visibleList), (Tags{"panel", "title"}));
    EXPECT_EQ(TagsOf(Root().visibleList[0].visibleList), (Tags{"ok"}));
    EXPECT_FALSE(Root().building);
    EXPECT_FALSE(Root().visibleList[0].building);

    gui.SetBuilding(true, "");
    gui.AddWidget(Widget("a"));
    gui.AddWidget(Widget("b"));
    // Until the complete the old screen is what is drawn.
    EXPECT_EQ(TagsOf(Root().visibleList), (Tags{"panel", "title"}));
    EXPECT_EQ(TagsOf(Root().backgroundList), (Tags{"a", "b"}));
    gui.SetBuilding(false, "");
    EXPECT_EQ(TagsOf(Root().visibleList), (Tags{"a", "b"}));
    EXPECT_EQ(gui.FindByTag("panel"), nullptr);
}

TEST_F(RetainedGUIManagerTest, a_subtree_rebuilds_alone_and_its_children_follow_it)
{
    BuildScreen();
    gui.SetBuilding(true, "panel");
    gui.AddWidget(Widget("cancel", "panel"));
    gui.AddWidget(Widget("inner", "cancel"));  // found in the building panel's background
    EXPECT_EQ(TagsOf(gui.FindByTag("panel")->visibleList), (Tags{"ok"}));
    gui.SetBuilding(false, "panel");

    const RetainedGUIWidget& panel = *gui.FindByTag("panel");
    EXPECT_EQ(TagsOf(panel.visibleList), (Tags{"cancel"}));
    EXPECT_EQ(TagsOf(panel.visibleList[0].visibleList), (Tags{"inner"}));
    EXPECT_EQ(TagsOf(Root().visibleList), (Tags{"panel", "title"}));
}

TEST_F(RetainedGUIManagerTest, complete_of_a_complete_subtree_and_unknown_tags_change_nothing)
{
    BuildScreen();
    gui.AddWidget(Widget("late", "panel"));  // appended to the visible list at once
    gui.SetBuilding(false, "");              // nothing was cleared: nothing to commit
    EXPECT_EQ(TagsOf(gui.FindByTag("panel")->visibleList), (Tags{"ok", "late"}));

    gui.SetBuilding(true, "nowhere");
    gui.SetHidden("nowhere", false);
    EXPECT_FALSE(Root().building);
    for (const RetainedGUIWidget& widget : Root().visibleList)
        EXPECT_TRUE(widget.shown);
}

TEST_F(RetainedGUIManagerTest, resend_with_parent_appends_and_without_updates_in_place)
{
    BuildScreen();
    EXPECT_FALSE(gui.AddWidget(Widget("ok", "panel", "again")));
    EXPECT_EQ(TagsOf(gui.FindByTag("panel")->visibleList), (Tags{"ok", "ok"}));
    EXPECT_EQ(gui.FindByTag("ok")->text, "");  // the first one is found

    EXPECT_TRUE(gui.AddWidget(Widget("panel", "", "new label")));
    const RetainedGUIWidget& panel = Root().visibleList[0];
    EXPECT_EQ(panel.text, "new label");
    EXPECT_TRUE(panel.visibleList.empty());  // the record brought no children
    EXPECT_EQ(TagsOf(Root().visibleList), (Tags{"panel", "title"}));

    EXPECT_FALSE(gui.AddWidget(Widget("absent")));  // nothing to update: nothing added
    EXPECT_EQ(gui.FindByTag("absent"), nullptr);
}

TEST_F(RetainedGUIManagerTest, widget_of_an_unknown_parent_lands_at_the_top_and_shows)
{
    gui.SetBuilding(true, "");
    gui.AddWidget(Widget("orphan", "no such parent"));
    EXPECT_EQ(TagsOf(Root().visibleList), (Tags{"orphan"}));
    EXPECT_TRUE(Root().backgroundList.empty());
}

TEST_F(RetainedGUIManagerTest, hiding_marks_only_the_first_widget_of_the_tag)
{
    BuildScreen();
    gui.SetHidden("ok", false);
    EXPECT_FALSE(gui.FindByTag("ok")->shown);
    EXPECT_TRUE(gui.FindByTag("panel")->shown);
    gui.SetHidden("ok", true);
    EXPECT_TRUE(gui.FindByTag("ok")->shown);
}

TEST_F(RetainedGUIManagerTest, widgets_whose_numbers_do_not_fit_are_left_out)
{
    gui.SetBuilding(true, "");
    RetainedGUIWidget lost = Widget("lost");
    lost.right = std::numeric_limits<float>::quiet_NaN();
    gui.AddWidget(lost);
    lost.right = 1.0e9f;
    gui.AddWidget(lost);
    EXPECT_TRUE(Root().backgroundList.empty());
}

TEST_F(RetainedGUIManagerTest, dump_lists_each_level_with_its_indent)
{
    gui.SetBuilding(true, "");
    RetainedGUIWidget list = Widget("list", "", "Pick");
    list.data = "a^b^";
    gui.AddWidget(list);
    gui.AddWidget(Widget("inner", "list", "deep"));
    gui.AddWidget(Widget("title", "", "Bridge"));

    EXPECT_EQ(gui.DumpTree("tree", false),
              "tree\nbackground list\n"
              "- list, Pick, a^b^\n"
              "- - list, inner, deep, \n"
              "- title, Bridge, \n");
    EXPECT_EQ(gui.DumpTree("", true), "\nvisible list\n");
    gui.SetBuilding(false, "");
    EXPECT_EQ(gui.DumpTree("", true),
              "\nvisible list\n"
              "- list, Pick, a^b^\n"
              "- - list, inner, deep, \n"
              "- title, Bridge, \n");
}

struct RecordingHotKeys : ScriptHotKeyService {
    int32_t KeyCodeOfTag(const std::string& keyTag) const override { return keyTag == "KEY_F1" ? 112 : 0; }
    void Register(const std::string& context, const std::string& name, int32_t keyCode,
                  const std::string& description) override
    {
        registered.push_back(context + "|" + name + "|" + std::to_string(keyCode) + "|" + description);
    }
    std::vector<std::string> registered;
};

TEST_F(RetainedGUIManagerTest, script_hot_keys_keep_the_first_per_tag_and_go_with_a_whole_clear)
{
    BuildScreen();
    RecordingHotKeys keys;
    gui.SetHotKeyService(&keys);
    gui.AddHotKey("MISSION", "launch", "KEY_F1", "launch the probe");
    gui.AddHotKey("MISSION", "launch", "KEY_F2", "second try");
    gui.AddHotKey("MISSION", "dock", "KEY_NOSUCH", "dock");
    gui.AddHotKey("MISSION", "stop", "KEY_F1", "stop");

    ASSERT_EQ(gui.HotKeys().size(), 3u);
    EXPECT_EQ(gui.HotKeys()[0].keyName, "KEY_F1");
    EXPECT_EQ(gui.HotKeys()[0].code, 112);
    EXPECT_EQ(gui.HotKeys()[1].code, 0);
    EXPECT_EQ(keys.registered, (std::vector<std::string>{"MISSION|launch|112|launch the probe",
                                                          "MISSION|dock|0|dock", "MISSION|stop|112|stop"}));

    gui.RemoveHotKey("dock");
    ASSERT_EQ(gui.HotKeys().size(), 2u);
    EXPECT_EQ(gui.HotKeys()[1].tag, "stop");

    gui.SetBuilding(true, "panel");  // a subtree's clear keeps them
    EXPECT_EQ(gui.HotKeys().size(), 2u);
    gui.SetBuilding(true, "");
    EXPECT_TRUE(gui.HotKeys().empty());
}

TEST_F(RetainedGUIManagerTest, nesting_stops_at_the_depth_limit_and_deep_trees_commit)
{
    gui.SetBuilding(true, "");
    gui.AddWidget(Widget("level1"));
    for (int level = 2; level <= RetainedGUIManager::kMaxDepth + 1; ++level)
        gui.AddWidget(Widget("level" + std::to_string(level), "level" + std::to_string(level - 1)));
    gui.SetBuilding(false, "");

    // Each level holds its children once: a complete that kept copies in the
    // background lists would double the tree with every level.
    const RetainedGUIWidget* level = &gui.Root();
    for (int depth = 1; depth <= RetainedGUIManager::kMaxDepth; ++depth) {
        ASSERT_EQ(level->visibleList.size(), 1u) << "depth " << depth;
        EXPECT_TRUE(level->backgroundList.empty());
        level = &level->visibleList[0];
        EXPECT_FALSE(level->building);
    }
    EXPECT_TRUE(level->visibleList.empty());
    EXPECT_EQ(gui.FindByTag("level" + std::to_string(RetainedGUIManager::kMaxDepth + 1)), nullptr);
}

}  // namespace

namespace {

struct TargetGraphics : qeltest::RecordingGraphics2D {
    Qel2dBitmap* GetRenderTarget(std::string name, int width, int height, bool renderTarget) override
    {
        made.push_back(name + " " + std::to_string(width) + "x" + std::to_string(height) +
                       (renderTarget ? " target" : ""));
        return AddBitmap(name, width, height);
    }
    std::vector<std::string> made;
};

TEST(RetainedGUIManager, ship_render_target_is_made_once_and_only_with_graphics)
{
    RetainedGUIManager gui;
    gui.Draw();
    EXPECT_EQ(gui.ShipTarget(), nullptr);

    TargetGraphics graphics;
    gGraphicsFactory = &graphics;
    gui.Draw();
    gui.Draw();
    gGraphicsFactory = nullptr;
    EXPECT_EQ(graphics.made, (std::vector<std::string>{"RetainedGUIManager::Draw 500x500 target"}));
    EXPECT_EQ(gui.ShipTarget(), graphics.Find2DBitmap("RetainedGUIManager::Draw"));
}

}  // namespace
