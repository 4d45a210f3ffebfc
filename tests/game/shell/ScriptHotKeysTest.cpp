// A mission's hot keys on the game's hot-key table: the key tag read as its
// virtual key, and the hot key listed in the hot-key file for users to bind.

#include "game/shell/ScriptHotKeys.h"

#include "game/guimodel/RetainedGUIManager.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class ScriptHotKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        theUIContext = UIContext();
        KeyVal::Unload();
        gui.SetHotKeyService(&service);
    }
    void TearDown() override { KeyVal::Unload(); }

    qeltest::TempFolder folder;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", folder.Path().string()};
    ScriptHotKeys service;
    RetainedGUIManager gui;
};

TEST_F(ScriptHotKeysTest, a_script_hot_key_gets_its_key_and_a_line_in_the_hot_key_file)
{
    gui.AddHotKey("MISSION", "launch", "KEY_L", "launch the probe");
    gui.AddHotKey("MISSION", "signal", "KEY_NO_SUCH_KEY", "hail the station");

    ASSERT_EQ(gui.HotKeys().size(), 2u);
    EXPECT_EQ(gui.HotKeys()[0].code, 'L');
    EXPECT_EQ(gui.HotKeys()[1].code, 0);
    const HotKey* launch = KeyVal::Find("MISSION_launch");
    ASSERT_NE(launch, nullptr);
    EXPECT_EQ(launch->primary, 'L');
    EXPECT_EQ(launch->description, "launch the probe");
    // A tag that names no key is listed unbound, for a user to bind in the file.
    const std::string file = folder.Read("hot_key_settings.txt");
    EXPECT_NE(file.find("MISSION_launch                          | KEY_L                     | launch the probe\n"),
              std::string::npos);
    EXPECT_NE(file.find("MISSION_signal                          | "), std::string::npos);
}

}  // namespace
