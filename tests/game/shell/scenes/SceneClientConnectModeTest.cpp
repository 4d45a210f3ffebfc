// The connect scene's address handling on recording services; connecting
// for real is in the loopback tests.

#include "engine/base/QelVirtualKeys.h"
#include "game/net/LanServerDiscovery.h"
#include "game/shell/scenes/Scenes.h"
#include "tests/game/shell/scenes/SceneTestFixture.h"

namespace {

constexpr int32_t kKeyV = qel::vk::kLetterA + ('V' - 'A');

class SceneClientConnectModeTest : public SceneTest {
protected:
    void TearDown() override
    {
        LanServerDiscovery::Instance().Reset();
        SceneTest::TearDown();
    }
};

TEST_F(SceneClientConnectModeTest, the_field_shows_the_last_address_typed_or_else_this_machine)
{
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    EXPECT_EQ(shell.connectAddressField.text, "127.0.0.1");
    EXPECT_EQ(shell.connectAddressField.cursor, 0);
    EXPECT_FALSE(shell.connectAddressField.password) << "the game's preferences show the address";

    input.registry["lastIPAddressTyped"] = "10.1.2.3";
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    EXPECT_EQ(shell.connectAddressField.text, "10.1.2.3");
}

TEST_F(SceneClientConnectModeTest, pasting_replaces_the_address_cut_to_64_characters)
{
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    input.clipboard = std::string(70, '7');
    Draw(SceneClientConnectMode);
    const auto [x, y] = CentreOf("Paste");
    ClickAt(SceneClientConnectMode, x, y);
    EXPECT_EQ(shell.connectAddressField.text, std::string(64, '7'));
}

TEST_F(SceneClientConnectModeTest, control_v_pastes_while_typing_and_a_bare_v_does_not)
{
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    ui.textEntryOwner = shell.connectAddressField.id;  // the address box takes the typing
    input.clipboard = "192.168.0.9";

    input.KeyDown(kKeyV);
    EXPECT_EQ(SceneClientConnectMode(SCENE_FRAME, shell, sceneHost), SceneClientConnectMode);
    EXPECT_EQ(shell.connectAddressField.text, "127.0.0.1");
    input.KeyUp(kKeyV);
    input.NextFrame();

    input.KeyDown(qel::vk::kControl);
    input.KeyDown(kKeyV);
    SceneClientConnectMode(SCENE_FRAME, shell, sceneHost);
    EXPECT_EQ(shell.connectAddressField.text, "192.168.0.9");
}

// An empty text is no host; unlike a made-up name it asks no name server.
TEST_F(SceneClientConnectModeTest, an_address_that_names_no_host_is_remembered_and_said_at_once)
{
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    shell.connectAddressField.SetText("");
    Draw(SceneClientConnectMode);
    const auto [x, y] = CentreOf("Connect To Server");
    EXPECT_EQ(ClickAt(SceneClientConnectMode, x, y), SceneClientConnectMode);
    EXPECT_EQ(input.registry.count("lastIPAddressTyped"), 1u);
    EXPECT_NE(shell.connectNotice.find("\"\""), std::string::npos) << shell.connectNotice;
    Draw(SceneClientConnectMode);
    EXPECT_NE(TextDrawn(shell.connectNotice), nullptr);
}

TEST_F(SceneClientConnectModeTest, servers_found_on_the_network_get_a_button_each_43_pixels_apart)
{
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    Draw(SceneClientConnectMode);
    EXPECT_EQ(TextDrawn("Detected game server list:"), nullptr);

    for (int i = 0; i < 5; ++i)
        LanServerDiscovery::Instance().RecordAnswer({"Bridge " + std::to_string(i), "10.0.0." + std::to_string(i)});
    Draw(SceneClientConnectMode);
    EXPECT_NE(TextDrawn("Detected game server list:"), nullptr);
    for (int i = 0; i < 5; ++i) {
        const qeltest::DrawRecord* label = TextDrawn("Connect to Bridge " + std::to_string(i));
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->box.left - 3, 20);
        EXPECT_EQ(label->box.top - 3, 83 + 43 * i);
    }
}

TEST_F(SceneClientConnectModeTest, cancel_returns_to_the_start_screen)
{
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    Draw(SceneClientConnectMode);
    const auto [x, y] = CentreOf("Cancel");
    EXPECT_EQ(ClickAt(SceneClientConnectMode, x, y), SceneFirstMode);
}

}  // namespace
