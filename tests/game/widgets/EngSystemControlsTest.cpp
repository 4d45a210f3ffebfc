// Engineering's power sliders and coolant dots on the server's own screen:
// the slider's detent, drags and the level keys, what leaves through the
// host's loopback and when, the connector lines, the coolant limits, the heat
// bar and its overheat warning, and a console without a ship.

#include "engine/base/QelVirtualKeys.h"
#include "game/world/Simulation.h"
#include "tests/game/widgets/EngFixture.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScopedGlobal.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

namespace vk = qel::vk;
using namespace playership;
using qeltest::DrawRecord;

// Eight tall controls side by side, each 37 wide: the slider 25 wide from
// the top to 40 above the bottom, where the label sits.
constexpr IntRect kPowerBox{100, 100, 400, 300};
constexpr int32_t kControlWidth = 37;
constexpr int32_t kSliderWidth = 25;
constexpr int32_t kSliderBottom = 260;
// Four systems side by side, each 100 wide: dots in the left half from the
// top to 20 above the bottom (nine steps of 20 from y 280 up), heat in the right.
constexpr IntRect kHeatBox{100, 400, 500, 600};
constexpr int32_t kSystemWidth = 100;
constexpr int32_t kDotsBottom = 580;
constexpr int32_t kDotStep = 20;

class EngSystemControlsTest : public EngTest {
protected:
    void DrawPower()
    {
        Frame([this] {
            IntRect rect = kPowerBox;
            ViewEngPowerControlsDraw(console, rect, "eng_power_controls");
        });
    }

    void DrawHeat()
    {
        Frame([this] {
            IntRect rect = kHeatBox;
            ViewEngHeatControlsDraw(console, rect, "eng_heat_controls");
        });
    }

    void DrawBoth()
    {
        Frame([this] {
            IntRect heat = kHeatBox;
            ViewEngHeatControlsDraw(console, heat, "eng_heat_controls");
            IntRect power = kPowerBox;
            ViewEngPowerControlsDraw(console, power, "eng_power_controls");
        });
    }

    // Drags control i's slider from its middle to the height (0 bottom .. 1 top).
    void DragSlider(int32_t control, float share)
    {
        const int32_t x = kPowerBox.left + control * kControlWidth + kSliderWidth / 2;
        input.MoveTo(x, (kPowerBox.top + kSliderBottom) / 2);
        input.Press();
        DrawPower();
        input.MoveTo(x, kSliderBottom - static_cast<int32_t>(share * (kSliderBottom - kPowerBox.top)));
        DrawPower();
        input.Release();
        DrawPower();
        input.MoveTo(-100, -100);
    }

    // A click on dot step of system e (step 0: none, step k: k units).
    void ClickDot(int32_t system, int32_t step)
    {
        input.MoveTo(kHeatBox.left + system * kSystemWidth + kSystemWidth / 4, kDotsBottom - step * kDotStep - kDotStep / 2);
        input.Press();
        DrawHeat();
        input.Release();
        DrawHeat();
        input.MoveTo(-100, -100);
    }

    // Lines under the controls (layer 990): the connectors.
    std::vector<DrawRecord> ConnectorLines() const
    {
        return graphics.Where([](const DrawRecord& r) { return r.kind == DrawRecord::Kind::Line && r.layer == 990; });
    }

    std::vector<SentSignal> AfterSendDelay()
    {
        input.milliseconds += FloatChangeTracker::kSendDelayMs;
        DrawBoth();
        return TakeSent();
    }
};

TEST_F(EngSystemControlsTest, slider_positions_map_to_power_with_a_wide_detent_at_100_percent)
{
    struct Case {
        float power;
        float position;
    };
    // Both ways: 0 % and 300 % at the ends, 50 % halfway below the detent, 200 % halfway above it.
    const Case cases[] = {{0.0f, 0.0f}, {0.5f, 0.09f}, {1.0f, 0.33f}, {2.0f, 0.74f}, {3.0f, 1.0f}};
    for (const Case& c : cases) {
        EXPECT_NEAR(PowerToSliderPosition(c.power), c.position, 1e-6f) << c.power;
        EXPECT_NEAR(SliderPositionToPower(c.position), c.power, 1e-5f) << c.position;
    }
    for (float position : {0.18f, 0.2f, 0.33f, 0.45f, 0.48f})
        EXPECT_EQ(SliderPositionToPower(position), 1.0f) << position << " lies in the detent";
}

TEST_F(EngSystemControlsTest, a_drag_shows_at_once_is_sent_once_left_alone_and_reaches_the_ship)
{
    DrawBoth();
    // The layout of a 300 by 200 box: tall controls side by side, too narrow
    // for the percentage beside the slider: it stands under the slider, the
    // label under it at the bottom.
    const DrawRecord percent = graphics.Text("100%");
    EXPECT_EQ(percent.box.left, kPowerBox.left);
    EXPECT_EQ(percent.box.top, kSliderBottom);
    const DrawRecord beam = graphics.Text("BEAM");
    EXPECT_EQ(beam.box.left, kPowerBox.left);
    EXPECT_EQ(beam.box.top, percent.box.bottom);
    // Seven characters of the recording font are wider than the control: the
    // label is cut whole-word short at the smallest face, never split "IMPUL/SE".
    const DrawRecord impulse = graphics.Text("IMP.");
    EXPECT_EQ(impulse.box.left, kPowerBox.left + 2 * kControlWidth);
    TakeSent();

    DragSlider(2, 1.0f);
    EXPECT_EQ(console.engineeringTrackers.power[2].value, 3.0f);
    EXPECT_TRUE(Drawn("300%"));
    EXPECT_TRUE(TakeSent().empty()) << "nothing goes while the crew is still at it";
    const auto sent = PowerSent(AfterSendDelay());
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], std::make_pair(2, 3.0f));
    EXPECT_TRUE(PowerSent(AfterSendDelay()).empty()) << "sent once";

    // Through the server the ship takes it, and the slider keeps it past the hold.
    DragSlider(2, 0.1f);
    input.milliseconds += FloatChangeTracker::kSendDelayMs;
    DrawPower();
    Deliver();
    const float sentLow = ReadFloat(ship->data_set, kEngControlValue, 2);
    EXPECT_NEAR(sentLow, SliderPositionToPower(0.1f), 0.02f);
    input.milliseconds += FloatChangeTracker::kHoldMs;
    DrawPower();
    EXPECT_EQ(console.engineeringTrackers.power[2].value, sentLow);

    // A value the server never takes gives way to the server's after the hold.
    DragSlider(4, 1.0f);
    input.milliseconds += FloatChangeTracker::kHoldMs;
    DrawPower();
    EXPECT_EQ(console.engineeringTrackers.power[4].value, 1.0f);
}

TEST_F(EngSystemControlsTest, space_levels_every_slider_and_each_changed_one_is_sent_once)
{
    WriteFloat(ship->data_set, kEngControlValue, 2.0f, 1);
    WriteFloat(ship->data_set, kEngControlValue, 0.5f, 5);
    Warm([this] { DrawPower(); });
    EXPECT_EQ(console.engineeringTrackers.power[1].value, 2.0f);

    input.KeyDown(vk::kSpace);
    DrawPower();
    input.KeyUp(vk::kSpace);
    for (int32_t i = 0; i < kEngPowerControlCount; ++i)
        EXPECT_EQ(console.engineeringTrackers.power[static_cast<size_t>(i)].value, 1.0f) << i;
    EXPECT_TRUE(TakeSent().empty());
    const auto sent = PowerSent(AfterSendDelay());
    EXPECT_EQ(sent, (std::vector<std::pair<int32_t, float>>{{1, 1.0f}, {5, 1.0f}}));
    EXPECT_TRUE(AfterSendDelay().empty());
    EXPECT_EQ(theConsoleLog.Line(theConsoleLog.Count() - 1).text, "level_power key (space) pressed.");
}

TEST_F(EngSystemControlsTest, connectors_run_from_each_slider_to_its_system_and_skip_a_subsystem_of_no_system)
{
    WriteInt(ship->data_set, kEngControlTypeIndex, 7, 3);   // beyond the four systems
    WriteInt(ship->data_set, kEngControlTypeIndex, -1, 4);
    DrawBoth();  // the heat widget sets the anchors first
    const glm::vec2 engines = console.engControls.anchors[1];
    // ENGINES' column: x 200..250, its area 400..580.
    EXPECT_EQ(engines, glm::vec2((200 + 250) / 2, (580 - 400) / 3 + (580 + 400) / 2));

    const std::vector<DrawRecord> lines = ConnectorLines();
    for (int32_t i = 0; i < kEngPowerControlCount; ++i) {
        const float centreX = static_cast<float>(kPowerBox.left + i * kControlWidth + kSliderWidth / 2);
        const float centreY = static_cast<float>((kPowerBox.top + kSliderBottom) / 2);
        const auto fromSlider = std::count_if(lines.begin(), lines.end(), [&](const DrawRecord& line) {
            return line.dest[0] == centreX && line.dest[1] == centreY;
        });
        EXPECT_EQ(fromSlider, i == 3 || i == 4 ? 0 : 1) << "control " << i;
    }
    // Every leg three times, in the system's colour at 70 %.
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.size() % 3, 0u);
    for (const DrawRecord& line : lines) {
        const bool known = std::any_of(kEngSystems.begin(), kEngSystems.end(), [&](const EngSystem& system) {
            return std::abs(line.colour.r - system.colour.r * 0.7f) < 1e-6f &&
                   std::abs(line.colour.g - system.colour.g * 0.7f) < 1e-6f &&
                   std::abs(line.colour.b - system.colour.b * 0.7f) < 1e-6f;
        });
        EXPECT_TRUE(known);
    }
}

TEST_F(EngSystemControlsTest, a_connector_bends_diagonally_and_runs_straight_between)
{
    struct Case {
        const char* name;
        int32_t x1, y1, x2, y2;
        std::vector<std::array<float, 4>> legs;  // unshifted
        float shiftY;                            // of the first neighbour, shifted +2 in x
    };
    const Case cases[] = {
        {"steep: one diagonal leg, then straight down", 0, 0, 10, 100, {{0, 0, 10, 5}, {10, 5, 10, 100}}, -2.0f},
        {"shallow: diagonal, straight, diagonal", 0, 0, 100, -20, {{0, 0, 20, -10}, {20, -10, 80, -10}, {80, -10, 100, -20}},
         2.0f},
        {"level: straight across", 50, 10, 0, 10, {{50, 10, 50, 10}, {50, 10, 0, 10}, {0, 10, 0, 10}}, 2.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Frame([&] { DrawSystemConnector(theUIContext, c.x1, c.y1, c.x2, c.y2, 2); });
        const std::vector<DrawRecord> lines = ConnectorLines();
        ASSERT_EQ(lines.size(), 3 * c.legs.size());
        for (size_t leg = 0; leg < c.legs.size(); ++leg) {
            const DrawRecord& line = lines[3 * leg];
            EXPECT_EQ((std::array<float, 4>{line.dest[0], line.dest[1], line.dest[2], line.dest[3]}), c.legs[leg]);
            EXPECT_EQ(lines[3 * leg + 1].dest[0], line.dest[0] + 2.0f);
            EXPECT_EQ(lines[3 * leg + 1].dest[1], line.dest[1] + c.shiftY);
            EXPECT_EQ(lines[3 * leg + 2].dest[1], line.dest[1] - c.shiftY);
        }
    }
    Frame([] { DrawSystemConnector(theUIContext, 0, 0, 10, 10, 4); });
    EXPECT_TRUE(ConnectorLines().empty()) << "no fifth system";
}

TEST_F(EngSystemControlsTest, a_system_takes_no_more_coolant_than_the_others_leave)
{
    WriteInt(ship->data_set, kSystemCoolantUsed, 3, 0);
    WriteInt(ship->data_set, kSystemCoolantUsed, 2, 3);
    qeltest::RecordingSound sound;
    qeltest::ScopedGlobal<QelSoundFactoryBase> withSound{gSoundFactory, sound};
    DrawHeat();
    ClickDot(1, 6);  // ENGINES' sixth unit: only 8 - 3 - 2 are left
    EXPECT_EQ(console.engineeringTrackers.coolant[1].value, 3);
    EXPECT_EQ(sound.log, std::vector<std::string>{"GetSound gui/torp_load"});
    EXPECT_TRUE(TakeSent().empty());
    input.milliseconds += IntChangeTracker::kSendDelayMs;
    DrawHeat();

    // Through the server; and a click on "none" takes it off again.
    Deliver();
    EXPECT_EQ(ReadInt(ship->data_set, kSystemCoolantUsed, 1), 3);
    ClickDot(1, 0);
    EXPECT_EQ(console.engineeringTrackers.coolant[1].value, 0);
    EXPECT_EQ(CoolantSent(AfterSendDelay()), (std::vector<std::pair<int32_t, int64_t>>{{1, 0}}));
}

TEST_F(EngSystemControlsTest, enter_takes_all_coolant_off_at_once_and_the_changed_systems_again_when_settled)
{
    WriteInt(ship->data_set, kSystemCoolantUsed, 3, 0);
    WriteInt(ship->data_set, kSystemCoolantUsed, 2, 3);
    Warm([this] { DrawHeat(); });
    input.KeyDown(vk::kReturn);
    DrawHeat();
    input.KeyUp(vk::kReturn);
    EXPECT_EQ(CoolantSent(TakeSent()), (std::vector<std::pair<int32_t, int64_t>>{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(console.engineeringTrackers.coolant[0].value, 0) << "shown empty before the server answers";
    EXPECT_EQ(CoolantSent(AfterSendDelay()), (std::vector<std::pair<int32_t, int64_t>>{{0, 0}, {3, 0}}));

    // The host's world keeps its coolant until the server handles the command.
    EXPECT_EQ(ReadInt(ship->data_set, kSystemCoolantUsed, 0), 3);
    input.KeyDown(vk::kReturn);
    DrawHeat();
    input.KeyUp(vk::kReturn);
    EXPECT_EQ(ReadInt(ship->data_set, kSystemCoolantUsed, 0), 3);
    Deliver();
    EXPECT_EQ(ReadInt(ship->data_set, kSystemCoolantUsed, 0), 0);
    EXPECT_EQ(ReadInt(ship->data_set, kSystemCoolantUsed, 3), 0);
}

TEST_F(EngSystemControlsTest, the_heat_bar_rises_with_heat_and_an_overheat_blinks_and_warns_every_151_ticks)
{
    const auto bar = [this](int32_t system) {
        // Filled quads of the system's bar: the dimmed back first, then the level.
        const float left = static_cast<float>(kHeatBox.left + system * kSystemWidth + kSystemWidth / 2);
        return graphics.Where([&](const DrawRecord& r) {
            return r.kind == DrawRecord::Kind::Quad && r.Left() == left && r.Right() == left + 25.0f;
        });
    };
    qeltest::RecordingSound sound;
    qeltest::ScopedGlobal<QelSoundFactoryBase> withSound{gSoundFactory, sound};

    WriteFloat(ship->data_set, kSystemCurHeat, 0.5f, 1);
    DrawHeat();
    std::vector<DrawRecord> quads = bar(1);
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_EQ(quads[0].Top(), 420.0f);
    EXPECT_EQ(quads[0].Bottom(), 560.0f);
    EXPECT_EQ(quads[1].Top(), 560.0f - 70.0f);
    EXPECT_EQ(quads[1].colour, glm::vec4(0.5f, 0.5f, 0.0f, 1.0f));
    EXPECT_TRUE(Drawn("50%"));
    EXPECT_TRUE(sound.log.empty());

    WriteFloat(ship->data_set, kSystemCurHeat, 0.9f, 1);
    WriteFloat(ship->data_set, kSystemCurHeat, 0.95f, 2);
    world.clock.time_tick_counter = 100;  // tick / 10 even: dark
    DrawHeat();
    EXPECT_EQ(bar(1)[1].colour, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(sound.log, std::vector<std::string>{"GetSound gui/overheat_warning"}) << "one warning for both";
    world.clock.time_tick_counter = 110;  // odd: red
    DrawHeat();
    EXPECT_EQ(bar(2)[1].colour, glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
    world.clock.time_tick_counter = 250;
    DrawHeat();
    EXPECT_EQ(sound.log.size(), 1u);
    world.clock.time_tick_counter = 251;
    DrawHeat();
    EXPECT_EQ(sound.log.size(), 2u);
}

TEST_F(EngSystemControlsTest, values_no_control_could_set_draw_within_the_controls)
{
    WriteInt64(ship->data_set, kSystemCoolantAvailable, std::numeric_limits<int64_t>::min());
    WriteInt(ship->data_set, kSystemCoolantUsed, -5, 0);
    WriteInt64(ship->data_set, kSystemCoolantUsed, std::numeric_limits<int64_t>::max(), 1);
    WriteFloat(ship->data_set, kSystemCurHeat, 5.0f, 2);
    WriteFloat(ship->data_set, kSystemCurHeat, std::nanf(""), 3);
    WriteFloat(ship->data_set, kEngControlValue, 1.0e30f, 0);
    DrawHeat();
    EXPECT_EQ(console.engineeringTrackers.coolant[0].value, 0);
    EXPECT_EQ(console.engineeringTrackers.coolant[1].value, 1000000);
    for (const DrawRecord& quad : graphics.Of(DrawRecord::Kind::Quad))
        EXPECT_GE(quad.Top(), static_cast<float>(kHeatBox.top)) << "no heat bar above its box";
    DrawPower();
    EXPECT_TRUE(Drawn("100000000%")) << "a share past any the controls show is held";
    ClickDot(0, 3);  // no coolant is free: the system keeps none
    EXPECT_EQ(console.engineeringTrackers.coolant[0].value, 0);
}

TEST_F(EngSystemControlsTest, without_a_ship_the_widgets_draw_their_defaults_and_sliders_still_send)
{
    world.subjectID = 0;
    DrawBoth();
    EXPECT_TRUE(Drawn("sys."));  // "system", cut to the narrow control
    EXPECT_TRUE(Drawn("25%"));
    EXPECT_TRUE(ConnectorLines().empty());

    ClickDot(0, 4);  // the dots are disabled
    EXPECT_EQ(console.engineeringTrackers.coolant[0].value, 0);
    DragSlider(0, 1.0f);
    EXPECT_EQ(PowerSent(AfterSendDelay()), (std::vector<std::pair<int32_t, float>>{{0, 3.0f}}));
}

}  // namespace
