// The weapons console: the beam settings, the torpedo conversion and the
// tube rows with their keys, the type choice and its tracker, the target
// mark and the background art that faces the screen's corner.

#include "game/widgets/WeaponsWidgets.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessageCrew.h"
#include "game/world/ObjectId.h"
#include "game/world/ServerStringMap.h"
#include "tests/game/widgets/WidgetTestFixture.h"

#include <numeric>

namespace {

namespace vk = qel::vk;
using qeltest::DrawRecord;
using qeltest::RecordingFont;

// The values of every one-integer signal of the code that was sent, in order.
template <SignalMessageCode Code>
std::vector<int32_t> SentValues(const qeltest::RecordingNetwork& network)
{
    std::vector<int32_t> values;
    Int32ValueSignal<Code> signal;
    while (network.Read(signal, values.size()))
        values.push_back(signal.value);
    return values;
}

class WeaponsTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        ServerStringMap& strings = ServerStringMap::Instance();
        strings.ApplyReceived("Homing", "gui_text: Homing; desc: seeks its target; energy_conversion_value: 25");
        strings.ApplyReceived("Nuke", "gui_text: Nuke; energy_conversion_value: many");
        console.selectedTorpedoType = StringChangeTracker{};
    }

    void TearDown() override
    {
        ServerStringMap::Instance().Clear();
        console.selectedTorpedoType = StringChangeTracker{};
        WidgetTest::TearDown();
    }

    std::string FontName(const std::string& tag) { return static_cast<RecordingFont*>(ui.GetFont(tag))->Name(); }
};

TEST_F(WeaponsTest, beam_buttons_send_the_setting_clicked_and_narrow_boxes_take_the_smallest_font)
{
    struct Case {
        WidgetDrawFn widget;
        const char* title;
        std::vector<std::string> labels;
        SignalMessageCode code;
        std::vector<int32_t> (*sentValues)(const qeltest::RecordingNetwork&);
    };
    const Case cases[] = {
        {ViewWeapBeamFreqDraw, "Beam Frequency", {"A", "B", "C", "D", "E"}, SIGNAL_MESS_BEAM_FREQUENCY,
         SentValues<SIGNAL_MESS_BEAM_FREQUENCY>},
        {ViewWeapBeamSpeedDraw, "Beam Fire Rate", {"1X", "2X", "3X", "4X"}, SIGNAL_MESS_BEAM_SPEED,
         SentValues<SIGNAL_MESS_BEAM_SPEED>},
    };
    for (const Case& c : cases) {
        const IntRect wide{0, 0, 180, 60};
        Draw(c.widget, wide);
        EXPECT_EQ(graphics.Text(c.title).source, FontName("gui-1"));
        Draw(c.widget, IntRect{0, 0, 179, 60});
        EXPECT_EQ(graphics.Text(c.title).source, FontName("smallest"));

        network.Clear();
        for (const std::string& label : c.labels) {
            Draw(c.widget, wide);
            ClickLabel(c.widget, wide, label);
        }
        ASSERT_EQ(network.SignalCodes(), std::vector<uint16_t>(c.labels.size(), c.code)) << c.title;
        std::vector<int32_t> expected(c.labels.size());
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(c.sentValues(network), expected) << c.title;

        // Without a ship the buttons are drawn but answer nothing.
        network.Clear();
        world.subjectID = 0;
        Draw(c.widget, wide);
        ClickLabel(c.widget, wide, c.labels[1]);
        EXPECT_TRUE(network.SignalCodes().empty());
        world.subjectID = ship->uniqueID;
    }
}

TEST_F(WeaponsTest, the_conversion_trades_only_what_the_ship_holds_and_can_pay_for)
{
    const IntRect box{0, 0, 300, 80};
    WriteString(ship->data_set, playership::kTorpedoSelectedType, "Homing");
    WriteString(ship->data_set, playership::kTorpTypeFromEnergy, "Homing");
    WriteInt(ship->data_set, playership::kEnergyToTorpCost, 300);
    WriteFloat(ship->data_set, playership::kEnergy, 299.0f);
    WriteInt(ship->data_set, DataKey{"Homing_NUM", "a"}, 0);
    WriteInt(ship->data_set, DataKey{"Homing_MAX", "a"}, 8);
    Draw(ViewWeapTorpConversionDraw, box);
    ClickLabel(ViewWeapTorpConversionDraw, box, "Homing to energy (+25)");
    ClickLabel(ViewWeapTorpConversionDraw, box, "Energy to Homing (-300)");
    EXPECT_TRUE(network.SignalCodes().empty());  // none held, and too little energy

    WriteInt(ship->data_set, DataKey{"Homing_NUM", "a"}, 1);
    WriteFloat(ship->data_set, playership::kEnergy, 300.0f);
    Draw(ViewWeapTorpConversionDraw, box);
    ClickLabel(ViewWeapTorpConversionDraw, box, "Homing to energy (+25)");
    ClickLabel(ViewWeapTorpConversionDraw, box, "Energy to Homing (-300)");
    TorpedoConversionSignal toEnergy, toTorpedo;
    ASSERT_TRUE(network.Read(toEnergy, 0));
    ASSERT_TRUE(network.Read(toTorpedo, 1));
    EXPECT_EQ(toEnergy.value, 1);
    EXPECT_EQ(toTorpedo.value, 2);

    // A full magazine makes no more; a type without a number is worth 0; an
    // undescribed one shows no name.
    network.Clear();
    WriteInt(ship->data_set, DataKey{"Homing_MAX", "a"}, 1);
    WriteString(ship->data_set, playership::kTorpedoSelectedType, "Nuke");
    Draw(ViewWeapTorpConversionDraw, box);
    EXPECT_TRUE(Drawn("Nuke to energy (+0)"));
    ClickLabel(ViewWeapTorpConversionDraw, box, "Energy to Homing (-300)");
    EXPECT_TRUE(network.SignalCodes().empty());
    WriteString(ship->data_set, playership::kTorpedoSelectedType, "Mystery");
    Draw(ViewWeapTorpConversionDraw, box);
    EXPECT_TRUE(Drawn("--- to energy (+0)"));
    EXPECT_EQ(ServerStringMap::Instance().Entries().count("Mystery"), 0u);  // looking adds nothing

    world.subjectID = 0;
    Draw(ViewWeapTorpConversionDraw, box);
    EXPECT_EQ(graphics.Texts(), std::vector<std::string>{"-----"});
}

class WeaponControlTest : public WeaponsTest {
protected:
    void SetUp() override
    {
        WeaponsTest::SetUp();
        ObjectDataBlob& data = ship->data_set;
        WriteInt(data, playership::kTorpedoTubeCount, 2);
        WriteString(data, playership::kTorpedoTypesAvailable, "Homing,Mystery,Nuke");
        WriteString(data, playership::kTorpedoSelectedType, "Homing");
        WriteInt(data, DataKey{"Homing_NUM", "a"}, 2);
        Draw();  // the hot keys take their defaults, the type choice the server's value
        Draw();
    }

    void Draw() { WidgetTest::Draw(ViewWeaponControlDraw, kBox, "weapon_control"); }
    void Click(const std::string& label)
    {
        ClickLabel(ViewWeaponControlDraw, kBox, label, "weapon_control");
        Draw();
    }
    void Key(int32_t key) { PressKey(ViewWeaponControlDraw, kBox, key, "weapon_control"); }

    TorpedoTubeSignal Sent(size_t index) const
    {
        TorpedoTubeSignal sent;
        EXPECT_TRUE(network.Read(sent, index));
        return sent;
    }

    // 200 high, away from the screen's edges: rows of 39 from the bottom.
    static constexpr IntRect kBox{100, 500, 700, 700};
};

TEST_F(WeaponControlTest, tube_rows_stack_up_from_the_bottom_with_buttons_at_both_ends)
{
    const std::vector<DrawRecord> loads = graphics.Where([](const DrawRecord& r) { return r.text == "Load"; });
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_GE(loads[0].box.top, 661);
    EXPECT_LE(loads[0].box.bottom, 700);
    EXPECT_GE(loads[1].box.top, 619);
    EXPECT_LE(loads[1].box.bottom, 658);
    EXPECT_LE(loads[0].box.right, 206);
    EXPECT_GE(graphics.Text("FIRE").box.left, 594);
    EXPECT_TRUE(Drawn("TYPE: Homing"));
}

TEST_F(WeaponControlTest, load_unload_and_fire_by_button_and_key)
{
    Click("Load");
    ASSERT_EQ(network.SignalCodes().size(), 1u);
    EXPECT_EQ(Sent(0).action, TorpedoTubeSignal::kLoad);
    EXPECT_EQ(Sent(0).tube, 0);

    network.Clear();
    WriteInt(ship->data_set, DataKey{"Homing_NUM", "a"}, 0);
    Click("Load");  // nothing of the type left: only a click sound
    Key(vk::kDigit0 + 2);
    Key(vk::kNumpad0 + 1);  // nothing loaded: no launch
    EXPECT_TRUE(network.SignalCodes().empty());

    WriteString(ship->data_set, shipkeys::kTorpedoTubeState, "loaded", 1);
    WriteFloat(ship->data_set, shipkeys::kTorpedoTubePercentLoaded, 100.0f, 1);
    WriteString(ship->data_set, shipkeys::kTorpedoTubeCurrentType, "Nuke", 1);
    Draw();
    EXPECT_TRUE(Drawn("Unload"));
    EXPECT_EQ(graphics.Text("Nuke").colour, glm::vec4(0, 0, 0, 1));  // the type's name over the full bar
    ClickAt(ViewWeaponControlDraw, kBox, 647, 638, "weapon_control");  // the second tube's FIRE
    Key(vk::kDigit0 + 2);
    Key(vk::kNumpad0 + 2);
    ASSERT_EQ(network.SignalCodes().size(), 3u);
    EXPECT_EQ(Sent(0).action, TorpedoTubeSignal::kFire);
    EXPECT_EQ(Sent(1).action, TorpedoTubeSignal::kUnload);
    EXPECT_EQ(Sent(2).action, TorpedoTubeSignal::kFire);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(Sent(i).tube, 1);
}

TEST_F(WeaponControlTest, the_type_list_sends_a_pick_after_a_pause_and_falls_back_to_the_server)
{
    Click("TYPE: Homing");
    EXPECT_TRUE(Drawn("Nuke"));
    EXPECT_FALSE(Drawn("Mystery"));  // no style string: not in the list
    Click("Nuke");
    EXPECT_TRUE(Drawn("TYPE: Nuke"));
    input.milliseconds += StringChangeTracker::kSendDelay - 1;
    Draw();
    EXPECT_TRUE(network.SignalCodes().empty());
    input.milliseconds += 1;
    Draw();
    Draw();
    ASSERT_EQ(network.SignalCodes().size(), 1u);
    EXPECT_EQ(Sent(0).action, TorpedoTubeSignal::kSelectType);
    EXPECT_EQ(Sent(0).torpedoType, "Nuke");

    input.milliseconds += StringChangeTracker::kHold;
    Draw();
    Draw();
    EXPECT_TRUE(Drawn("TYPE: Homing"));  // the server never took it

    // The type keys choose at once, undescribed types too.
    network.Clear();
    Key(vk::kF1 + 1);
    ASSERT_EQ(network.SignalCodes().size(), 1u);
    EXPECT_EQ(Sent(0).torpedoType, "Mystery");

    WriteString(ship->data_set, playership::kTorpedoSelectedType, "Mystery");
    Draw();
    Draw();
    EXPECT_TRUE(Drawn("Select type"));
}

TEST_F(WeaponControlTest, the_target_mark_shows_only_while_its_space_object_is_in_the_world)
{
    const auto marks = [this] {
        return graphics.Where([](const DrawRecord& r) { return r.source == "grid-icon-sheet" && r.colour.r == 1.0f; });
    };
    EXPECT_TRUE(marks().empty());
    const uint64_t raider = world.CreateSpaceObject("behav_npcship", "", 0);
    WriteUInt64(ship->data_set, shipkeys::kWeaponTargetUid, raider);
    Draw();
    ASSERT_EQ(marks().size(), 1u);
    EXPECT_EQ(marks()[0].Left(), 650.0f + 25.0f - 22.0f);
    world.DeleteSpaceObject(raider);  // destroyed: the ship's target id is left behind
    Draw();
    EXPECT_TRUE(marks().empty());
    WriteUInt64(ship->data_set, shipkeys::kWeaponTargetUid, kClientIdBit | 3);
    Draw();
    EXPECT_TRUE(marks().empty());
}

TEST_F(WeaponControlTest, without_a_ship_two_empty_tubes_answer_only_with_sounds)
{
    world.subjectID = 0;
    Draw();
    EXPECT_EQ(graphics.Where([](const DrawRecord& r) { return r.text == "Load"; }).size(), 2u);
    EXPECT_TRUE(Drawn("Select type"));
    Click("Load");
    Key(vk::kDigit0 + 1);
    EXPECT_TRUE(network.SignalCodes().empty());
}

TEST_F(WeaponControlTest, the_background_faces_the_screen_corner_the_box_sits_in)
{
    graphics.AddBitmap("torp_background_image", 64, 32);
    const int32_t w = graphics.width, h = graphics.height;
    struct Case {
        IntRect box;
        std::vector<std::array<float, 6>> quads;  // source l, t, r, b; destination left, right
    };
    const Case cases[] = {
        {{0, 0, 200, 300}, {{64, 32, 0, 0, 0, 100}}},                  // top left: mirrored both ways
        {{0, 400, 200, h}, {{64, 0, 0, 32, 0, 100}}},                  // bottom left: mirrored across
        {{w - 200, 0, w, 300}, {{0, 32, 64, 0, w - 100.0f, w * 1.0f}}},  // top right: upside down
        {{w - 200, 400, w, h}, {{0, 0, 64, 32, w - 100.0f, w * 1.0f}}},  // bottom right: as drawn
        {{0, 0, w, 300}, {{64, 0, 0, 32, 0, w / 2.0f}, {0, 0, 64, 32, w / 2.0f, w * 1.0f}}},
        {{300, 0, 500, 300}, {}},  // touching only the top
    };
    for (const Case& c : cases) {
        WidgetTest::Draw(ViewWeaponControlDraw, c.box, "weapon_control");
        const std::vector<DrawRecord> art = graphics.Quads("torp_background_image");
        ASSERT_EQ(art.size(), c.quads.size()) << c.box.left << "," << c.box.top;
        for (size_t i = 0; i < art.size(); ++i) {
            const std::array<float, 6>& q = c.quads[i];
            EXPECT_EQ(art[i].src[0], q[0]);
            EXPECT_EQ(art[i].src[1], q[1]);
            EXPECT_EQ(art[i].src[6], q[2]);
            EXPECT_EQ(art[i].src[7], q[3]);
            EXPECT_EQ(art[i].Left(), q[4]);
            EXPECT_EQ(art[i].Right(), q[5]);
            EXPECT_EQ(art[i].layer, 998);
            EXPECT_EQ(art[i].colour, ui.dimColour);
        }
    }
}

}  // namespace
