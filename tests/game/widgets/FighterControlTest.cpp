// The fighter's cockpit panel: its toggles and one-shots by click, key and
// layout, what each reports to the server and when, and its bars.

#include "game/widgets/FighterControl.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessageCrew.h"
#include "game/world/ShipKeys.h"
#include "tests/game/widgets/HostConsoleFixture.h"
#include "tests/game/widgets/WidgetTestFixture.h"
#include "tests/support/RecordingScriptHost.h"

namespace {

namespace vk = qel::vk;

constexpr int32_t kLetter(char c) { return vk::kLetterA + (c - 'A'); }

class FighterControlTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        console.fighterControl = FighterControlState{};
        Draw();  // the hot keys take their defaults
        network.Clear();
    }
    void TearDown() override
    {
        console.fighterControl = FighterControlState{};
        WidgetTest::TearDown();
    }

    void Draw(IntRect box = kTall) { WidgetTest::Draw(ViewFighterControlDraw, box, "fighter_control"); }
    // The button of the index in the tall box: rows of 40 from 62 down.
    void ClickButton(int32_t index, IntRect box = kTall)
    {
        ClickAt(ViewFighterControlDraw, box, 40, 62 + 40 * index + 20, "fighter_control");
    }
    void HoldKey(int32_t key)
    {
        input.KeyDown(key);
        Draw();
    }
    void LetGo(int32_t key)
    {
        input.KeyUp(key);
        Draw();
    }
    std::vector<int32_t> BoostValues() const
    {
        std::vector<int32_t> values;
        for (const FighterBoostSignal& signal : network.Signals<FighterBoostSignal>())
            values.push_back(signal.value);
        return values;
    }

    // Taller than wide: (400 - 73) / 8 = 40 pixels a button.
    static constexpr IntRect kTall{0, 0, 100, 400};
};

TEST_F(FighterControlTest, a_toggle_click_reports_at_once_and_a_second_click_turns_it_off)
{
    ClickButton(0);
    EXPECT_EQ(BoostValues(), std::vector<int32_t>{1});
    EXPECT_EQ(ReadInt(ship->data_set, playership::kFighterBoostFlag), 1) << "the console's copy follows at once";
    ClickButton(0);
    EXPECT_EQ(BoostValues(), (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(ReadInt(ship->data_set, playership::kFighterBoostFlag), 0);

    // The server's flag is what the button shows.
    WriteInt(ship->data_set, playership::kFighterThrustFlag, 1);
    Draw();
    EXPECT_EQ(console.fighterControl[FighterButton::Thrust].value, 1);
}

TEST_F(FighterControlTest, a_held_key_owns_its_toggle_only_while_keys_acted_last)
{
    HoldKey(kLetter('B'));
    HoldKey(kLetter('B'));
    LetGo(kLetter('B'));
    EXPECT_EQ(BoostValues(), (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(console.lastInputKind, "key");

    // After a click the idle key leaves boost on.
    ClickButton(0);
    Draw();
    Draw();
    EXPECT_EQ(BoostValues(), (std::vector<int32_t>{1, 0, 1}));
    EXPECT_EQ(console.lastInputKind, "button");
}

TEST_F(FighterControlTest, one_shots_report_the_press_and_the_release_or_raise_the_script_event_once)
{
    ClickButton(3);  // Torpedo
    Draw();
    const std::vector<FighterTorpedoSignal> torpedo = network.Signals<FighterTorpedoSignal>();
    ASSERT_EQ(torpedo.size(), 2u);
    EXPECT_EQ(torpedo[0].value, 1);
    EXPECT_EQ(torpedo[1].value, 0);

    network.Clear();
    ClickButton(6);  // Eject: the event goes out in the frame after the press
    EXPECT_TRUE(network.Signals<ConsoleScriptEventSignal>().empty());
    Draw();
    Draw();
    const std::vector<ConsoleScriptEventSignal> events = network.Signals<ConsoleScriptEventSignal>();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].objectId, ship->uniqueID);
    EXPECT_EQ(events[0].tag, "press_fighter_button");
    EXPECT_EQ(events[0].subTag, "eject");

    // Keys do the same.
    network.Clear();
    PressKey(ViewFighterControlDraw, kTall, kLetter('D'), "fighter_control");
    PressKey(ViewFighterControlDraw, kTall, kLetter('O'), "fighter_control");
    const std::vector<FighterDockRequestSignal> dock = network.Signals<FighterDockRequestSignal>();
    ASSERT_EQ(dock.size(), 2u);
    EXPECT_EQ(dock[0].value, 1);
    ASSERT_EQ(network.Signals<ConsoleScriptEventSignal>().size(), 1u);
    EXPECT_EQ(network.Signals<ConsoleScriptEventSignal>()[0].subTag, "shield_balance");
}

TEST_F(FighterControlTest, tall_and_wide_boxes_place_the_buttons_where_a_click_finds_them)
{
    struct Case {
        const char* name;
        IntRect box;
        int32_t x, y;
        uint16_t code;
    };
    // Wide 400 x 200: buttons 100 wide and (200 - 69) / 2 = 65 high; the
    // second row runs back from the right, so Dock (fifth) sits under
    // Torpedo (fourth) and shield balance (eighth) at the bottom left.
    const Case cases[] = {
        {"tall, second button", kTall, 40, 62 + 40 + 20, SIGNAL_MESS_FIGHTER_THRUST},
        {"tall, fifth button", kTall, 40, 62 + 4 * 40 + 20, SIGNAL_MESS_FIGHTER_DOCK_REQUEST},
        {"wide, third of the top row", {0, 0, 400, 200}, 250, 100, SIGNAL_MESS_FIGHTER_SHOOT},
        {"wide, fifth under the fourth", {0, 0, 400, 200}, 350, 170, SIGNAL_MESS_FIGHTER_DOCK_REQUEST},
        {"wide, last at the bottom left", {0, 0, 400, 200}, 50, 170, SIGNAL_MESS_SCRIPT_EVENT},
    };
    for (const Case& c : cases) {
        network.Clear();
        console.fighterControl = FighterControlState{};
        for (const DataKey* flag :
             {&playership::kFighterBoostFlag, &playership::kFighterThrustFlag, &playership::kFighterShootFlag})
            WriteInt(ship->data_set, *flag, 0);
        ClickAt(ViewFighterControlDraw, c.box, c.x, c.y, "fighter_control");
        Draw(c.box);
        ASSERT_FALSE(network.SignalCodes().empty()) << c.name;
        EXPECT_EQ(network.SignalCodes().front(), c.code) << c.name;
    }
}

TEST_F(FighterControlTest, without_a_ship_the_buttons_draw_but_report_nothing_and_no_bars_show)
{
    world.subjectID = 0;
    ClickButton(2);  // Shoot
    ClickButton(3);  // Torpedo
    Draw();
    EXPECT_TRUE(network.SignalCodes().empty());
    EXPECT_TRUE(Drawn("Shoot"));
    EXPECT_EQ(console.fighterControl[FighterButton::Shoot].value, 1) << "the click still counts";
    EXPECT_TRUE(graphics.Where([](const qeltest::DrawRecord& r) {
                            return r.source == "smallWhite" && r.colour == glm::vec4(0.0f, 1.0f, 0.0f, 1.0f);
                        }).empty());
}

TEST_F(FighterControlTest, the_speed_bar_is_scaled_to_the_best_speed_seen_and_a_faster_ship_raises_it)
{
    const glm::vec4 green{0.0f, 1.0f, 0.0f, 1.0f};
    auto speedBar = [&] {
        for (const qeltest::DrawRecord& quad : graphics.Quads("smallWhite"))
            if (quad.colour == green)
                return quad;
        return qeltest::DrawRecord{};
    };
    WriteFloat(ship->data_set, playership::kFighterBestObservedSpeed, 10.0f);
    ship->cur_speed = 5.0f;
    Draw();
    // Upright, 10 wide at the right, halved about its middle: 51..400 shrinks by 87 at each end.
    EXPECT_FLOAT_EQ(speedBar().Left(), 90.0f);
    EXPECT_FLOAT_EQ(speedBar().Top(), 51.0f + 87.0f);
    EXPECT_FLOAT_EQ(speedBar().Bottom(), 400.0f - 87.0f);

    ship->cur_speed = 12.0f;
    Draw();
    EXPECT_FLOAT_EQ(ReadFloat(ship->data_set, playership::kFighterBestObservedSpeed), 12.0f);
    EXPECT_FLOAT_EQ(speedBar().Top(), 51.0f);
    EXPECT_FLOAT_EQ(speedBar().Bottom(), 400.0f);
}

TEST_F(FighterControlTest, shield_bars_go_from_green_to_red_and_hold_to_their_bounds)
{
    WriteFloat(ship->data_set, shipkeys::kShieldMaxVal, 100.0f, 0);
    WriteFloat(ship->data_set, shipkeys::kShieldVal, 25.0f, 0);
    WriteFloat(ship->data_set, shipkeys::kShieldMaxVal, 100.0f, 1);
    WriteFloat(ship->data_set, shipkeys::kShieldVal, 250.0f, 1);  // over its maximum: full, not wider
    Draw();
    const std::vector<qeltest::DrawRecord> fore = graphics.Where([](const qeltest::DrawRecord& r) {
        return r.source == "smallWhite" && r.Top() == 51.0f && r.Bottom() == 61.0f;
    });
    ASSERT_EQ(fore.size(), 1u);
    EXPECT_EQ(fore[0].colour, glm::vec4(0.75f, 0.25f, 0.0f, 1.0f));
    const std::vector<qeltest::DrawRecord> aft = graphics.Where([](const qeltest::DrawRecord& r) {
        return r.source == "smallWhite" && r.Top() == 390.0f && r.Bottom() == 400.0f;
    });
    ASSERT_EQ(aft.size(), 1u);
    EXPECT_EQ(aft[0].colour, glm::vec4(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(aft[0].Left(), 0.0f);
    EXPECT_FLOAT_EQ(aft[0].Right(), 89.0f);
}

TEST_F(FighterControlTest, captions_name_the_bound_keys_and_the_buttons_show_torpedo_type_and_balance)
{
    Draw();
    EXPECT_TRUE(Drawn("B")) << "boost's key";
    EXPECT_TRUE(Drawn("O")) << "shield balance's key";
    EXPECT_TRUE(Drawn("Homing"));
    EXPECT_TRUE(Drawn("Balanced"));

    WriteString(ship->data_set, shipkeys::kTorpedoTubeCurrentType, "Nuke");
    WriteFloat(ship->data_set, playership::kEngControlValue, 1.0f, 6);
    Draw();
    EXPECT_TRUE(Drawn("Nuke"));
    EXPECT_TRUE(Drawn("All Fwd"));
    // The steering caption names the keys the full-3D helm has bound, and
    // leaves out those it has not.
    EXPECT_EQ(FighterSteerKeys(), "  STEER ^  ROLL ");
    isHotKeyHeld("helm_free_3d", "steer_up", vk::kUp, "turns the ship up");
    isHotKeyHeld("helm_free_3d", "steer_left", vk::kLeft, "turns the ship left");
    isHotKeyHeld("helm_free_3d", "roll_left", kLetter('Q'), "rolls the ship left");
    EXPECT_EQ(FighterSteerKeys(), "  STEER UP,  LEFT^  ROLL Q");
}

// On the server's own screen the panel works the host's ship through its
// loopback, as a console would.
class HostFighterControlTest : public HostConsoleTest {
protected:
    void SetUp() override
    {
        HostConsoleTest::SetUp();
        server->SetScriptHost(&scripts);
        console.fighterControl = FighterControlState{};
    }
    void TearDown() override
    {
        console.fighterControl = FighterControlState{};
        HostConsoleTest::TearDown();
    }
    void Draw()
    {
        Frame([this] {
            IntRect box{0, 0, 100, 400};
            ViewFighterControlDraw(console, box, "fighter_control");
        });
    }

    qeltest::RecordingScriptHost scripts;
};

TEST_F(HostFighterControlTest, the_hosts_toggles_and_script_buttons_reach_the_server_as_client_0)
{
    Draw();  // the hot keys take their defaults
    TakeSent();
    input.KeyDown(kLetter('B'));
    Draw();
    input.KeyUp(kLetter('B'));
    input.MoveTo(40, 62 + 6 * 40 + 20);  // Eject
    input.Press();
    Draw();
    input.Release();
    Draw();
    Draw();
    const std::vector<SentSignal> sent = TakeSent();
    std::vector<uint16_t> codes;
    for (const SentSignal& signal : sent)
        codes.push_back(signal.code);
    EXPECT_EQ(codes, (std::vector<uint16_t>{SIGNAL_MESS_FIGHTER_BOOST, SIGNAL_MESS_FIGHTER_BOOST,
                                            SIGNAL_MESS_SCRIPT_EVENT}));

    // The same again, handled: the mission hears the eject from the host.
    input.MoveTo(40, 62 + 6 * 40 + 20);
    input.Press();
    Draw();
    input.Release();
    Draw();
    Draw();
    Deliver();
    std::vector<EventMessage> heard = scripts.events;
    heard.insert(heard.end(), scripts.queued.begin(), scripts.queued.end());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].tag, "press_fighter_button");
    EXPECT_EQ(heard[0].sub_tag, "eject");
    EXPECT_EQ(heard[0].client_id, kHostClientId);
    EXPECT_EQ(heard[0].origin_id, ship->uniqueID);
}

TEST_F(HostFighterControlTest, the_hosts_toggle_and_speed_bar_leave_the_world_to_the_server)
{
    Draw();
    TakeSent();
    input.MoveTo(40, 62 + 20);  // Boost
    input.Press();
    Draw();
    input.Release();
    Draw();
    Draw();
    // Shown on and reported once; the world's flag waits for the server.
    EXPECT_EQ(console.fighterControl[FighterButton::Boost].value, 1);
    EXPECT_EQ(ReadInt(ship->data_set, playership::kFighterBoostFlag), 0);
    Deliver();
    EXPECT_EQ(ReadInt(ship->data_set, playership::kFighterBoostFlag), 1);
    Draw();
    EXPECT_EQ(console.fighterControl[FighterButton::Boost].value, 1);
    EXPECT_TRUE(TakeSent().empty()) << "reported once";

    // The speed bar is full at a new best speed, and the world keeps its record.
    WriteFloat(ship->data_set, playership::kFighterBestObservedSpeed, 10.0f);
    ship->cur_speed = 12.0f;
    Draw();
    ship->cur_speed = 6.0f;
    Draw();
    EXPECT_FLOAT_EQ(ReadFloat(ship->data_set, playership::kFighterBestObservedSpeed), 10.0f);
    const glm::vec4 green{0.0f, 1.0f, 0.0f, 1.0f};
    const std::vector<qeltest::DrawRecord> quads = graphics.Quads("smallWhite");
    const auto bar = std::find_if(quads.begin(), quads.end(), [&](const auto& quad) { return quad.colour == green; });
    ASSERT_NE(bar, quads.end());
    EXPECT_FLOAT_EQ(bar->Top(), 51.0f + 87.0f) << "half of the best seen, 12";
}

// A stick's button works a toggle while held and a one-shot once per press.
class StickFighterControlTest : public HostConsoleStickTest {
protected:
    void SetUp() override
    {
        HostConsoleStickTest::SetUp();
        console.fighterControl = FighterControlState{};
        MapButton(0, "Fighter Thrust");
        MapButton(1, "Fighter Torp Type");
    }
    void TearDown() override
    {
        console.fighterControl = FighterControlState{};
        HostConsoleStickTest::TearDown();
    }
    void Draw()
    {
        Frame([this] {
            IntRect box{0, 0, 100, 400};
            ViewFighterControlDraw(console, box, "fighter_control");
        });
    }
    std::vector<uint16_t> Codes()
    {
        std::vector<uint16_t> codes;
        for (const SentSignal& signal : TakeSent())
            codes.push_back(signal.code);
        return codes;
    }
};

TEST_F(StickFighterControlTest, a_held_button_thrusts_until_let_go_and_a_press_changes_torpedo_type_once)
{
    Draw();
    TakeSent();
    stick.buttons[0] = true;
    Draw();
    Draw();
    EXPECT_EQ(Codes(), std::vector<uint16_t>{SIGNAL_MESS_FIGHTER_THRUST});
    EXPECT_EQ(console.lastInputKind, "joy");
    stick.buttons[0] = false;
    Draw();
    EXPECT_EQ(Codes(), std::vector<uint16_t>{SIGNAL_MESS_FIGHTER_THRUST});
    EXPECT_EQ(ReadInt(ship->data_set, playership::kFighterThrustFlag), 0);

    stick.buttons[1] = true;
    for (int frame = 0; frame < 4; ++frame)
        Draw();
    stick.buttons[1] = false;
    Draw();
    EXPECT_EQ(Codes(), std::vector<uint16_t>{SIGNAL_MESS_SCRIPT_EVENT}) << "held down, it counts once";
}

}  // namespace
