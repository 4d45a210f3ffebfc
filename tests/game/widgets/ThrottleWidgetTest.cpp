// The throttle on the server's own screen: hot keys, drags and the REV
// button, what leaves through the host's loopback and when, the docking
// rules, and how the column is drawn.

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/widgets/GUIBoxThrottle.h"
#include "tests/game/widgets/HostConsoleFixture.h"

namespace {

namespace vk = qel::vk;
using namespace playership;

// WARP row 100..126, speed row 126..152, column 153..473 (320 high), REV row 474..500.
constexpr IntRect kBox{100, 100, 160, 500};
constexpr int32_t kSpeedRowTop = 126;
constexpr int32_t kColumnBottom = 473;
constexpr int32_t kColumnHeight = 320;
constexpr uint32_t kStart = 10000;

class ThrottleWidgetTest : public HostConsoleTest {
protected:
    void SetUp() override
    {
        HostConsoleTest::SetUp();
        WriteInt(ship->data_set, kWarpDriveActive, 1);
        WriteString(ship->data_set, kDockState, kDockStateUndocked);
        input.milliseconds = kStart;
    }

    void Draw()
    {
        Frame([this] {
            IntRect rect = kBox;
            ViewThrottleDraw(console, rect, "throttle");
        });
    }

    // Frames until the send delay has passed; what was sent meanwhile.
    std::vector<SentSignal> SettleAndTake()
    {
        input.milliseconds += FloatChangeTracker::kSendDelayMs;
        Draw();
        return TakeSent();
    }

    static std::vector<float> Throttles(const std::vector<SentSignal>& sent)
    {
        std::vector<float> values;
        for (const SentSignal& signal : sent)
            if (signal.code == SIGNAL_MESS_THROTTLE)
                values.push_back(signal.As<ThrottleSignal>().throttle);
        return values;
    }
};

TEST_F(ThrottleWidgetTest, hot_keys_set_step_stop_and_toggle_warp)
{
    struct Case {
        const char* name;
        float start;
        bool startWarp;
        int32_t key;
        float sent;
        bool warp;
    };
    const Case cases[] = {
        {"warp2_from_impulse", 0.5f, false, vk::kDigit0 + 2, 3.0f, true},
        {"warp2_at_warp2_drops_to_full_impulse", 3.0f, true, vk::kDigit0 + 2, 1.0f, false},
        {"warp4_at_warp2", 3.0f, true, vk::kDigit0 + 4, 5.0f, true},
        {"stop_at_warp_is_full_impulse", 4.0f, true, vk::kSpace, 1.0f, false},
        {"stop_at_impulse_is_full_stop", 0.6f, false, vk::kSpace, 0.0f, false},
        {"impulse_up", 0.5f, false, vk::kLetterA + ('B' - 'A'), 0.7f, false},
        {"impulse_up_stops_at_full", 0.9f, false, vk::kLetterA + ('B' - 'A'), 1.0f, false},
        {"impulse_down_stops_at_zero", 0.1f, false, vk::kLetterA + ('V' - 'A'), 0.0f, false},
        {"full_impulse", 0.2f, false, vk::kShift, 1.0f, false},
        {"half_impulse", 0.2f, false, vk::kControl, 0.5f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console.throttle = ThrottleWidgetState{};
        WriteFloat(ship->data_set, kPlayerThrottle, c.start);
        Warm([this] { IntRect rect = kBox; ViewThrottleDraw(console, rect, "throttle"); });
        console.throttle.warpMode = c.startWarp;
        input.KeyDown(c.key);
        input.milliseconds += 10;
        Draw();
        input.KeyUp(c.key);
        EXPECT_EQ(console.throttle.warpMode, c.warp);
        EXPECT_FLOAT_EQ(console.throttle.throttle.value, c.sent);  // shown at once
        EXPECT_TRUE(TakeSent().empty());                             // sent only once left alone
        const std::vector<float> sent = Throttles(SettleAndTake());
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_FLOAT_EQ(sent[0], c.sent);
        input.milliseconds += 5000;  // every hold runs out before the next case
    }
}

TEST_F(ThrottleWidgetTest, the_sent_throttle_reaches_the_hosts_ship_through_the_server)
{
    Warm([this] { Draw(); });
    input.KeyDown(vk::kShift);
    Draw();
    input.KeyUp(vk::kShift);
    input.milliseconds += FloatChangeTracker::kSendDelayMs;
    Draw();
    Deliver();
    EXPECT_FLOAT_EQ(ReadFloat(ship->data_set, kPlayerThrottle), 1.0f);
}

class ThrottleStickTest : public HostConsoleStickTest {
protected:
    void SetUp() override
    {
        HostConsoleStickTest::SetUp();
        WriteInt(ship->data_set, kWarpDriveActive, 1);
        WriteString(ship->data_set, kDockState, kDockStateUndocked);
        input.milliseconds = kStart;
    }

    // One frame, then one after the send delay: the throttle values sent.
    std::vector<float> DrawAndSettle()
    {
        for (int frame = 0; frame < 2; ++frame) {
            Frame([this] {
                IntRect rect = kBox;
                ViewThrottleDraw(console, rect, "throttle");
            });
            input.milliseconds += FloatChangeTracker::kSendDelayMs;
        }
        std::vector<float> values;
        for (const SentSignal& signal : TakeSent())
            if (signal.code == SIGNAL_MESS_THROTTLE)
                values.push_back(signal.As<ThrottleSignal>().throttle);
        return values;
    }
};

// The axis takes the throttle once moved and is followed; a warp button
// steps to its level; the reverse button toggles reverse.
TEST_F(ThrottleStickTest, the_controller_axis_and_buttons_drive_the_throttle)
{
    MapAxis(2, "Throttle");
    MapButton(0, "Warp 2");
    MapButton(1, "Reverse");
    stick.axes[2] = 0.6f;
    EXPECT_EQ(DrawAndSettle(), std::vector<float>{0.6f});
    stick.axes[2] = 0.7f;  // followed, though it moved less than the take-over step
    EXPECT_EQ(DrawAndSettle(), std::vector<float>{0.7f});

    stick.buttons[0] = true;
    EXPECT_EQ(DrawAndSettle(), std::vector<float>{3.0f});
    EXPECT_TRUE(console.throttle.warpMode);
    stick.buttons[0] = false;

    stick.axes[2] = 0.0f;  // back to impulse, stopped
    EXPECT_EQ(DrawAndSettle(), std::vector<float>{0.0f});
    stick.buttons[1] = true;
    DrawAndSettle();
    EXPECT_EQ(console.throttle.reverse.value, 1.0f);
}

TEST_F(ThrottleWidgetTest, a_drag_sends_one_value_after_the_pointer_stops_and_the_server_value_returns_after_the_hold)
{
    Draw();
    input.MoveTo(130, kColumnBottom - kColumnHeight / 2);
    input.Press();
    Draw();
    EXPECT_TRUE(console.mouseOverControl);
    for (int32_t y = 300; y >= kColumnBottom - kColumnHeight; y -= 40) {  // to the very top
        input.MoveTo(130, y);
        input.milliseconds += 30;
        Draw();
    }
    input.MoveTo(130, kColumnBottom - kColumnHeight);
    Draw();
    EXPECT_TRUE(TakeSent().empty());
    const std::vector<float> sent = Throttles(SettleAndTake());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_FLOAT_EQ(sent[0], 1.0f);

    // The server never confirmed it: the column shows its value again.
    input.Release();
    input.milliseconds += FloatChangeTracker::kHoldMs;
    Draw();
    EXPECT_FLOAT_EQ(console.throttle.throttle.value, 0.0f);
}

TEST_F(ThrottleWidgetTest, drag_positions_map_to_stop_impulse_and_warp_levels)
{
    struct Case {
        bool warp;
        float share;  // of the column, from its bottom
        float value;
    };
    const Case cases[] = {{false, 0.09f, 0.0f}, {false, 0.5f, 0.5f}, {false, 1.0f, 1.0f},
                          {true, 0.1f, 2.0f},   {true, 0.6f, 4.0f},  {true, 1.0f, 5.0f}};
    for (const Case& c : cases) {
        console.throttle = ThrottleWidgetState{};
        console.throttle.warpMode = c.warp;
        float value = 0.0f;
        const IntRect slider{100, kColumnBottom - kColumnHeight, 160, kColumnBottom};
        input.MoveTo(130, kColumnBottom - static_cast<int32_t>(c.share * kColumnHeight));
        input.Press();
        Frame([&] { EXPECT_TRUE(ViewThrottleSlider(console, slider, value)); });
        input.Release();
        EXPECT_NEAR(value, c.value, 0.01f) << c.share << (c.warp ? " warp" : "");
    }
}

TEST_F(ThrottleWidgetTest, rev_toggles_reverse_except_at_warp)
{
    Draw();
    auto clickRev = [this] {
        input.MoveTo(130, 490);
        input.Press();
        Draw();
        input.Release();
        Draw();
    };
    clickRev();
    std::vector<SentSignal> sent = SettleAndTake();
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_EQ(sent[0].code, SIGNAL_MESS_REVERSE);
    EXPECT_EQ(sent[0].As<ReverseSignal>().reverse, 1);

    // Entering warp while reversing clears reverse and sets warp 1.
    input.KeyDown(vk::kDigit0 + 1);
    Draw();
    input.KeyUp(vk::kDigit0 + 1);
    Draw();
    EXPECT_TRUE(console.throttle.warpMode);
    EXPECT_EQ(console.throttle.reverse.value, 0.0f);
    EXPECT_EQ(console.throttle.throttle.value, 2.0f);
    TakeSent();
    SettleAndTake();
    clickRev();  // at warp: nothing changes
    EXPECT_EQ(console.throttle.reverse.value, 0.0f);
    EXPECT_TRUE(SettleAndTake().empty());
}

TEST_F(ThrottleWidgetTest, a_ship_docked_without_impulse_keeps_its_throttle_at_zero)
{
    WriteString(ship->data_set, kDockState, "docked");
    WriteInt(ship->data_set, kImpulseWhileDocked, 0);
    Warm([this] { Draw(); });
    input.KeyDown(vk::kShift);
    Draw();
    input.KeyUp(vk::kShift);
    for (int frame = 0; frame < 3; ++frame) {
        input.milliseconds += 60;
        Draw();
        EXPECT_FALSE(console.throttle.warpMode);
    }
    const std::vector<float> sent = Throttles(TakeSent());
    for (float value : sent)
        EXPECT_EQ(value, 0.0f);

    // Warp the ship may keep while docked is left alone.
    WriteInt(ship->data_set, kWarpWhileDocked, 1);
    console.throttle.warpMode = true;
    console.throttle.throttle.Set(3.0f, input.milliseconds);
    Draw();
    EXPECT_TRUE(console.throttle.warpMode);
    EXPECT_EQ(console.throttle.throttle.value, 3.0f);
}

TEST_F(ThrottleWidgetTest, segments_light_by_band_and_narrow_in_reverse)
{
    struct Case {
        bool warp;
        float f;
        float value;
        glm::vec4 colour;
        bool narrow;
    };
    const Case cases[] = {
        {false, 0.05f, 0.01f, {0.05f, 1.0f, 0.0f, 1.0f}, false},  // the bottom lights at any speed
        {false, 0.5f, 0.5f, {0.34f, 0.44f, 0.24f, 1.0f}, false},  // unlit at exactly its share
        {false, 0.5f, -0.6f, {0.5f, 1.0f, 0.0f, 1.0f}, true},     // reverse: lit by |v|, narrower
        {true, 0.25f, 2.0f, {0.0f, 1.0f, 1.0f, 1.0f}, false},
        {true, 0.5f, 4.0f, {0.0f, 0.0f, 1.0f, 1.0f}, false},
        {true, 0.7f, 4.0f, {1.0f, 1.0f, 0.0f, 1.0f}, false},
        {true, 0.8f, 4.0f, {0.3f, 0.3f, 0.3f, 1.0f}, false},  // warp 3 lights three quarters
        {true, 0.95f, 5.0f, {1.0f, 0.0f, 0.0f, 1.0f}, false},
    };
    for (const Case& c : cases) {
        console.throttle.warpMode = c.warp;
        Frame([&] {
            ViewThrottleDrawSegment(theUIContext, console.throttle, IntRect{100, 200, 150, 215}, c.f, c.value);
        });
        ASSERT_EQ(graphics.log.size(), 1u);
        const qeltest::DrawRecord& segment = graphics.log[0];
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(segment.colour[i], c.colour[i], 1e-5f) << c.f << " " << c.value;
        EXPECT_EQ(segment.Left(), c.narrow ? 110.0f : 100.0f);
        EXPECT_EQ(segment.Right(), c.narrow ? 140.0f : 150.0f);
        EXPECT_EQ(segment.layer, 1000);
    }
}

TEST_F(ThrottleWidgetTest, the_speed_shows_in_the_box_under_the_warp_button_over_its_shadow_and_warp_needs_a_drive)
{
    ship->cur_speed = 12.5f;
    const auto speedTexts = [this](const std::string& text) {
        std::vector<qeltest::DrawRecord> speed;
        for (const qeltest::DrawRecord& record : graphics.log)
            if (record.kind == qeltest::DrawRecord::Kind::Text && record.text == text)
                speed.push_back(record);
        return speed;
    };
    // The 60-pixel column holds seven recording characters: the number alone.
    Draw();
    std::vector<qeltest::DrawRecord> speed = speedTexts("12.50");
    ASSERT_EQ(speed.size(), 2u);
    const qeltest::DrawRecord& shadow = speed[0];  // drawn first, under the text
    EXPECT_EQ(speed[1].box.top, kSpeedRowTop) << "inside the box, never over the widget above";
    EXPECT_EQ(speed[1].layer, 1000);
    EXPECT_EQ(shadow.layer, 999);
    EXPECT_EQ(shadow.box.left, speed[1].box.left + 2);
    const auto warpButton = [this] {
        return !graphics.Where([](const qeltest::DrawRecord& r) {
                            return r.kind == qeltest::DrawRecord::Kind::Text && r.text.rfind("WA", 0) == 0;
                        }).empty();
    };
    EXPECT_TRUE(warpButton());

    // No drive: no WARP button, the speed takes the top row; a wider column says what it is.
    WriteInt(ship->data_set, kWarpDriveActive, 0);
    Frame([this] {
        IntRect wide{100, 100, 300, 500};
        ViewThrottleDraw(console, wide, "throttle");
    });
    EXPECT_FALSE(warpButton());
    speed = speedTexts("SPD 12.50");
    ASSERT_EQ(speed.size(), 2u);
    EXPECT_EQ(speed[1].box.top, kBox.top);
}

}  // namespace
