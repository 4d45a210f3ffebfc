// The steering widgets on the server's own screen: what each sends for its
// keys and drags, through the host's loopback, and how the server's answer
// comes back as the next frame's starting point.

#include "engine/base/QelVirtualKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/HelmSteering.h"
#include "tests/game/widgets/HostConsoleFixture.h"

#include <cmath>
#include <limits>

namespace {

namespace vk = qel::vk;
using namespace playership;

constexpr IntRect kBox{100, 100, 300, 300};

using DrawFn = WidgetDrawFn;

class HelmSteeringTest : public HostConsoleTest {
protected:
    void DrawWidget(DrawFn draw, const char* name)
    {
        IntRect rect = kBox;
        draw(console, rect, name);
    }

    // One frame a send slot after the last, then the server handles what it got.
    void SteerFrame(DrawFn draw, const char* name)
    {
        AdvanceTicks(3);
        Frame([&] { DrawWidget(draw, name); });
        Deliver();
    }

    float Stored(const DataKey& key) const { return ReadFloat(ship->data_set, key); }
};

// Each helm ramps by its own step while the key is held and relaxes once it
// is released; the server stores what arrives and the next frame starts there.
TEST_F(HelmSteeringTest, a_held_arrow_key_ramps_each_helm_by_its_step_through_the_server)
{
    struct Case {
        DrawFn draw;
        const char* name;
        const char* steeringType;
        std::vector<float> heldYaw;
        std::vector<float> releasedYaw;
    };
    const Case cases[] = {
        {ViewHelmSimpleDraw, "helm_simple", "2D", {0.7f, 1.0f, 1.0f}, {0.3f, 0.0f}},
        {ViewHelmRestrained3DDraw, "helm_restrained_3d", "Constrained", {0.4f, 0.8f, 1.0f}, {0.6f, 0.2f, 0.0f}},
        {ViewHelmFree3DDraw, "helm_free_3d", "Free", {0.4f, 0.8f, 1.0f}, {0.6f, 0.2f, 0.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFloat(ship->data_set, kPlayerSYaw, 0.0f);
        Warm([&] { DrawWidget(c.draw, c.name); });
        Deliver();
        WriteFloat(ship->data_set, kPlayerSYaw, 0.0f);
        input.KeyDown(vk::kRight);
        for (float expected : c.heldYaw) {
            SteerFrame(c.draw, c.name);
            EXPECT_NEAR(Stored(kPlayerSYaw), expected, 1e-5f);
        }
        EXPECT_EQ(ReadString(ship->data_set, kSteeringType), c.steeringType);
        input.KeyUp(vk::kRight);
        for (float expected : c.releasedYaw) {
            SteerFrame(c.draw, c.name);
            EXPECT_NEAR(Stored(kPlayerSYaw), expected, 1e-5f);
        }
    }
}

TEST_F(HelmSteeringTest, the_up_and_down_keys_pitch_and_the_roll_keys_roll_the_free_helm)
{
    Warm([this] { DrawWidget(ViewHelmFree3DDraw, "helm_free_3d"); });
    input.KeyDown(vk::kUp);
    input.KeyDown(vk::kLetterA + ('E' - 'A'));  // roll_right rolls toward -1
    SteerFrame(ViewHelmFree3DDraw, "helm_free_3d");
    EXPECT_NEAR(Stored(kPlayerSPitch), 0.4f, 1e-5f);
    EXPECT_NEAR(Stored(kPlayerSRoll), -0.4f, 1e-5f);
    input.KeyUp(vk::kUp);
    input.KeyUp(vk::kLetterA + ('E' - 'A'));
    input.KeyDown(vk::kLetterA + ('Q' - 'A'));
    SteerFrame(ViewHelmFree3DDraw, "helm_free_3d");
    EXPECT_NEAR(Stored(kPlayerSRoll), 0.0f, 1e-5f);
    EXPECT_NEAR(Stored(kPlayerSPitch), 0.0f, 1e-5f);  // relaxing: the last input was a key
    EXPECT_EQ(console.lastInputKind, "key");
}

TEST_F(HelmSteeringTest, steering_signals_leave_at_most_every_third_tick_from_all_helms_together)
{
    Warm([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    AdvanceTicks(3);
    for (int frame = 0; frame < 4; ++frame)
        Frame([this] {
            DrawWidget(ViewHelmSimpleDraw, "helm_simple");
            DrawWidget(ViewHelmFree3DDraw, "helm_free_3d");
        });
    ASSERT_EQ(TakeSent().size(), 1u);
    AdvanceTicks(2);
    Frame([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    EXPECT_TRUE(TakeSent().empty());
    AdvanceTicks(1);
    Frame([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    const std::vector<SentSignal> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].code, SIGNAL_MESS_STEER_2D);  // sent even when nothing changed
}

TEST_F(HelmSteeringTest, the_restrained_helm_sends_only_when_a_demand_changes)
{
    Warm([this] { DrawWidget(ViewHelmRestrained3DDraw, "helm_restrained_3d"); });
    for (int frame = 0; frame < 3; ++frame) {
        AdvanceTicks(3);
        Frame([this] { DrawWidget(ViewHelmRestrained3DDraw, "helm_restrained_3d"); });
    }
    EXPECT_TRUE(TakeSent().empty());
    input.KeyDown(vk::kDown);
    AdvanceTicks(3);
    Frame([this] { DrawWidget(ViewHelmRestrained3DDraw, "helm_restrained_3d"); });
    const std::vector<SentSignal> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    const SteerSignal steer = sent[0].As<SteerSignal>();
    EXPECT_FLOAT_EQ(steer.pitch, -0.4f);
    EXPECT_FLOAT_EQ(steer.yaw, 0.0f);
    EXPECT_FLOAT_EQ(steer.roll, 0.0f);
}

TEST_F(HelmSteeringTest, a_drag_in_the_simple_helm_steers_by_where_the_mouse_is)
{
    Warm([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    input.MoveTo(300, 150);  // right edge, a quarter down
    input.Press();
    AdvanceTicks(3);
    Frame([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    EXPECT_TRUE(console.mouseOverControl);
    std::vector<SentSignal> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    Steer2DSignal steer = sent[0].As<Steer2DSignal>();
    EXPECT_FLOAT_EQ(steer.yaw, 1.0f);
    EXPECT_FLOAT_EQ(steer.pitch, -0.5f);

    // A drag started elsewhere does not steer.
    input.Release();
    Frame([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    input.MoveTo(50, 50);
    input.Press();
    AdvanceTicks(3);
    Frame([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    input.MoveTo(300, 300);
    AdvanceTicks(3);
    Frame([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    sent = TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    steer = sent[1].As<Steer2DSignal>();
    EXPECT_FLOAT_EQ(steer.yaw, 0.0f);
    EXPECT_FLOAT_EQ(steer.pitch, 0.0f);
}

TEST_F(HelmSteeringTest, the_free_helm_drag_holds_to_the_widget_rolls_with_the_right_button_and_lets_go_to_zero)
{
    Warm([this] { DrawWidget(ViewHelmFree3DDraw, "helm_free_3d"); });
    input.MoveTo(200, 200);
    input.Press();
    Frame([this] { DrawWidget(ViewHelmFree3DDraw, "helm_free_3d"); });
    EXPECT_EQ(console.lastInputKind, "mouse");
    TakeSent();

    struct Step {
        int32_t x, y;
        bool right;
        float roll, pitch, yaw;
    };
    const Step steps[] = {
        {20, 200, false, 0.0f, 0.0f, -1.0f},  // far left of the widget: held at its edge
        {300, 100, false, 0.0f, -1.0f, 1.0f},
        {300, 300, true, -1.0f, 1.0f, 0.0f},  // right button: roll, with the opposite sign
    };
    for (const Step& step : steps) {
        input.MoveTo(step.x, step.y);
        input.mouse.rightDown = step.right;
        AdvanceTicks(3);
        Frame([this] { DrawWidget(ViewHelmFree3DDraw, "helm_free_3d"); });
        const std::vector<SentSignal> sent = TakeSent();
        ASSERT_EQ(sent.size(), 1u);
        const SteerFreeSignal steer = sent[0].As<SteerFreeSignal>();
        EXPECT_FLOAT_EQ(steer.roll, step.roll) << step.x;
        EXPECT_FLOAT_EQ(steer.pitch, step.pitch) << step.x;
        EXPECT_FLOAT_EQ(steer.yaw, step.yaw) << step.x;
    }
    input.mouse.rightDown = false;
    input.Release();
    AdvanceTicks(3);
    Frame([this] { DrawWidget(ViewHelmFree3DDraw, "helm_free_3d"); });
    const std::vector<SentSignal> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    const SteerFreeSignal steer = sent[0].As<SteerFreeSignal>();
    EXPECT_EQ(steer.roll, 0.0f);
    EXPECT_EQ(steer.pitch, 0.0f);
    EXPECT_EQ(steer.yaw, 0.0f);
}

TEST_F(HelmSteeringTest, helm_normal_draws_the_chosen_helm_with_its_own_keys)
{
    console.settings.helmMode = 1;
    Warm([this] { DrawWidget(ViewHelmNormalDraw, "helm_normal"); });
    EXPECT_NE(KeyVal::Find("helm_normal_steer_up"), nullptr);
    input.KeyDown(vk::kUp);
    AdvanceTicks(3);
    Frame([this] { DrawWidget(ViewHelmNormalDraw, "helm_normal"); });
    std::vector<SentSignal> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].code, SIGNAL_MESS_STEER);

    console.settings.helmMode = 7;  // no such helm: nothing drawn, nothing sent
    AdvanceTicks(3);
    Frame([this] { DrawWidget(ViewHelmNormalDraw, "helm_normal"); });
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_TRUE(graphics.log.empty());
}

// A value the server replicated out of range, or not a number, never leaves
// a widget out of range.
TEST_F(HelmSteeringTest, stored_demands_out_of_range_are_held_to_minus_one_to_one)
{
    Warm([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    WriteFloat(ship->data_set, kPlayerSYaw, 7.0f);
    WriteFloat(ship->data_set, kPlayerSPitch, std::numeric_limits<float>::quiet_NaN());
    AdvanceTicks(3);
    Frame([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    const std::vector<SentSignal> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    const Steer2DSignal steer = sent[0].As<Steer2DSignal>();
    EXPECT_NEAR(steer.yaw, 0.3f, 1e-5f);  // from 1, relaxing by 0.7
    EXPECT_FLOAT_EQ(steer.pitch, 0.0f);
}

// A box squeezed to nothing (an edited layout can make one) maps the mouse
// to the centre rather than dividing by its zero size.
TEST_F(HelmSteeringTest, a_box_of_no_size_steers_to_the_centre)
{
    const DrawFn helms[] = {ViewHelmSimpleDraw, ViewHelmFree3DDraw};
    for (DrawFn draw : helms) {
        input.MoveTo(150, 150);
        input.Press();
        AdvanceTicks(3);
        Frame([&] {
            IntRect point{150, 150, 150, 150};
            draw(console, point, "helm");
        });
        input.Release();
        const std::vector<SentSignal> sent = TakeSent();
        ASSERT_EQ(sent.size(), 1u);
        QelNetworkMessage message;
        message.WriteBytes(sent[0].bytes.data(), static_cast<int32_t>(sent[0].bytes.size()));
        uint16_t code = 0;
        ReadSignalCode(message, code);
        while (message.BytesLeftToRead() >= 4) {
            float value = 1.0f;
            message.ReadInt32(value);
            EXPECT_EQ(value, 0.0f) << code;
        }
    }
}

TEST_F(HelmSteeringTest, without_a_ship_the_helm_still_sends_and_draws_only_its_rings)
{
    world.subjectID = 0;
    Warm([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    input.KeyDown(vk::kLeft);
    AdvanceTicks(3);
    Frame([this] { DrawWidget(ViewHelmSimpleDraw, "helm_simple"); });
    const std::vector<SentSignal> sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_FLOAT_EQ(sent[0].As<Steer2DSignal>().yaw, -0.7f);
    size_t lines = 0;
    for (const qeltest::DrawRecord& record : graphics.log) {
        EXPECT_NE(record.kind, qeltest::DrawRecord::Kind::Text);
        EXPECT_NE(record.source, "iconset64");
        lines += record.kind == qeltest::DrawRecord::Kind::Line && record.layer == 1000;  // not the panel's
    }
    EXPECT_EQ(lines, 3u * 21u);  // the three rings
}

class HelmStickTest : public HostConsoleStickTest {
protected:
    // The demands sent by one frame a send slot after the last.
    template <typename Signal>
    Signal SteerFrame(DrawFn draw, const char* name)
    {
        AdvanceTicks(3);
        Frame([&] {
            IntRect rect = kBox;
            draw(console, rect, name);
        });
        const std::vector<SentSignal> sent = TakeSent();
        EXPECT_EQ(sent.size(), 1u);
        return sent.empty() ? Signal{} : sent.back().As<Signal>();
    }
};

// Past 0.15 the stick steers the simpler helms; the free helm hands itself to
// the stick only past 0.5, and then follows it exactly.
TEST_F(HelmStickTest, a_stick_steers_past_each_helms_threshold)
{
    MapAxis(0, "Yaw");
    MapAxis(1, "Pitch");
    stick.axes[0] = 0.3f;
    stick.axes[1] = 0.1f;  // inside the dead zone of the simple helms
    EXPECT_FLOAT_EQ((SteerFrame<Steer2DSignal>(ViewHelmSimpleDraw, "helm_simple").yaw), 0.3f);
    EXPECT_FLOAT_EQ((SteerFrame<Steer2DSignal>(ViewHelmSimpleDraw, "helm_simple").pitch), 0.0f);
    EXPECT_FLOAT_EQ((SteerFrame<SteerFreeSignal>(ViewHelmFree3DDraw, "helm_free_3d").yaw), 0.0f);

    stick.axes[0] = 0.6f;
    SteerFreeSignal steer = SteerFrame<SteerFreeSignal>(ViewHelmFree3DDraw, "helm_free_3d");
    EXPECT_EQ(console.lastInputKind, "joy");
    EXPECT_FLOAT_EQ(steer.yaw, 0.6f);
    EXPECT_FLOAT_EQ(steer.pitch, 0.1f);  // no dead zone once the stick has the helm
    stick.axes[0] = 0.3f;
    steer = SteerFrame<SteerFreeSignal>(ViewHelmFree3DDraw, "helm_free_3d");
    EXPECT_FLOAT_EQ(steer.yaw, 0.3f);
}

class HelmDisplayTest : public HostConsoleTest {
protected:
    const qeltest::DrawRecord* TextStartingWith(const std::string& prefix) const
    {
        for (const qeltest::DrawRecord& record : graphics.log)
            if (record.kind == qeltest::DrawRecord::Kind::Text && record.text.rfind(prefix, 0) == 0)
                return &record;
        return nullptr;
    }
    SpaceObject* Place(const glm::vec3& position, const char* behaviour, const char* side = "")
    {
        SpaceObject* object = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        object->pos = position;
        object->tick_type = behaviour;
        object->side = side;
        return object;
    }
    std::vector<qeltest::DrawRecord> Icons() const
    {
        std::vector<qeltest::DrawRecord> icons;
        for (const qeltest::DrawRecord& record : graphics.log)
            if (record.kind == qeltest::DrawRecord::Kind::Quad && record.source == "iconset64")
                icons.push_back(record);
        return icons;
    }
};

TEST_F(HelmDisplayTest, read_outs_show_heading_altitude_in_tens_and_elevation)
{
    struct Case {
        float y;
        float turnDegrees;
        const char* heading;
        const char* altitude;
    };
    const Case cases[] = {{-57.9f, 0.0f, "ANG 0", "ALT -50"}, {7.0f, 90.0f, "ANG 90", "ALT 0"},
                          {1234.0f, -90.0f, "ANG 270", "ALT +1230"}};
    for (const Case& c : cases) {
        ship->pos = {0.0f, c.y, 0.0f};
        ship->rot_quat = glm::angleAxis(glm::radians(c.turnDegrees), glm::vec3(0, 1, 0));
        Frame([] { HelmHeadingDisplay(theUIContext, nullptr, ConsolePlayerShip(), kBox); });
        ASSERT_NE(TextStartingWith("ANG"), nullptr);
        EXPECT_EQ(TextStartingWith("ANG")->text, c.heading);
        EXPECT_EQ(TextStartingWith("ALT")->text, c.altitude);
        EXPECT_EQ(TextStartingWith("AZI")->text, "AZI 0");
    }
}

// An object at the display's range stands on the outer ring with a first-row
// icon; one beyond it stays on the ring with the icon of the second row.
TEST_F(HelmDisplayTest, contacts_stand_on_the_disc_and_far_ones_keep_to_its_rim)
{
    Place({5000.0f, 0.0f, 0.0f}, "behav_npcship");
    Place({0.0f, 0.0f, -9000.0f}, "behav_npcship");
    Place({10.0f, 0.0f, 10.0f}, "behav_asteroid");  // not shown
    Frame([] { HelmHeadingDisplay(theUIContext, nullptr, ConsolePlayerShip(), kBox); });
    const std::vector<qeltest::DrawRecord> icons = Icons();
    ASSERT_EQ(icons.size(), 3u);  // the own ship at the centre and the two ships
    const float centreX = 200.0f, centreY = 200.0f;
    EXPECT_NEAR((icons[0].Left() + icons[0].Right()) / 2, centreX, 0.01f);
    EXPECT_NEAR((icons[0].Top() + icons[0].Bottom()) / 2, centreY - 1.0f, 0.01f);
    EXPECT_NEAR((icons[1].Left() + icons[1].Right()) / 2, 300.0f, 0.01f);  // right, on the rim
    EXPECT_NEAR((icons[2].Top() + icons[2].Bottom()) / 2, centreY + 50.0f - 1.0f, 0.01f);  // behind: lower rim
    EXPECT_EQ(icons[1].src[1], 0.0f);  // first row: at the range
    EXPECT_EQ(icons[2].src[1], 64.0f);  // second row: beyond it
}

// Friends are the ships of every side the ship's side counts allied or
// neutral, whatever their name; each icon takes the colour every console
// shows its object in.
TEST_F(HelmDisplayTest, friends_follow_the_sides_relations_and_icons_take_the_object_colours)
{
    RenderManager manager{SceneFunction()};
    manager.Setup();  // reads the colour preferences
    ship->side = "meridian";
    world.SetSideRelationship("meridian", "meridian", DIPLOMACY_ALLIED);
    world.SetSideRelationship("meridian", "coalition", DIPLOMACY_ALLIED);
    world.SetSideRelationship("meridian", "traders", DIPLOMACY_NEUTRAL);
    world.SetSideRelationship("meridian", "skarn", DIPLOMACY_HOSTILE);
    struct Case {
        const char* what;
        const char* behaviour;
        const char* side;
        float column;  // 64 friend, 128 enemy, 0 no ship
    };
    const Case cases[] = {
        {"a ship of the own side", "behav_npcship", "meridian", 64.0f},
        {"an allied side's station", "behav_station", "coalition", 64.0f},
        {"a neutral side's ship", "behav_npcship", "traders", 64.0f},
        {"a hostile side's ship", "behav_npcship", "skarn", 128.0f},
        {"a ship of no side", "behav_npcship", "", 128.0f},
        {"a side the ship's side has no word on", "behav_playership", "drifters", 128.0f},
        {"a pickup, friendly or not", "behav_pickup", "meridian", 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SpaceObject* object = Place({100.0f, 0.0f, 0.0f}, c.behaviour, c.side);
        Frame([&] { HelmHeadingDisplay(theUIContext, &manager, ConsolePlayerShip(), kBox); });
        const std::vector<qeltest::DrawRecord> icons = Icons();
        ASSERT_EQ(icons.size(), 2u);
        EXPECT_EQ(icons[1].src[0], c.column);
        EXPECT_EQ(icons[1].colour, manager.GetObjectColor(*object, *ship));
        EXPECT_EQ(icons[0].colour, manager.GetObjectColor(*ship, *ship));
        world.DeleteSpaceObject(object->uniqueID);
    }
}

}  // namespace
