// The helm's jump widgets: the grid of the entry, the entry's modes with the
// mouse and the keys, the request that the server never answers, the
// countdown and the dissolve, and the quick jump's bar and hops.

#include "game/widgets/JumpControls.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessage.h"
#include "game/net/SignalMessageCrew.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "tests/game/widgets/WidgetTestFixture.h"

#include <set>

namespace {

namespace vk = qel::vk;
using playership::kDockState;
using qeltest::DrawRecord;

TEST(SplitRectGridTest, rows_of_equal_height_with_a_wider_first_column_and_the_remainders_left_over)
{
    struct Case {
        IntRect whole;
        int32_t columns, rows;
        float percent;
        std::vector<IntRect> cells;
    };
    const Case cases[] = {
        {{0, 0, 100, 50}, 4, 2, 20.0f,
         {{0, 0, 20, 25}, {20, 0, 46, 25}, {46, 0, 72, 25}, {72, 0, 98, 25},
          {0, 25, 20, 50}, {20, 25, 46, 50}, {46, 25, 72, 50}, {72, 25, 98, 50}}},
        {{10, 10, 113, 61}, 2, 1, 50.0f, {{10, 10, 61, 61}, {61, 10, 113, 61}}},
        {{0, 0, 90, 10}, 3, 3, 10.0f,
         {{0, 0, 9, 3}, {9, 0, 49, 3}, {49, 0, 89, 3}, {0, 3, 9, 6}, {9, 3, 49, 6}, {49, 3, 89, 6},
          {0, 6, 9, 9}, {9, 6, 49, 9}, {49, 6, 89, 9}}},
    };
    for (const Case& c : cases) {
        std::vector<IntRect> rects{c.whole, IntRect{1, 2, 3, 4}};
        SplitRectGrid(rects, c.columns, c.rows, c.percent);
        std::vector<IntRect> expected = c.cells;
        expected.push_back(IntRect{1, 2, 3, 4});  // what followed the first rectangle stays after the grid
        EXPECT_EQ(rects, expected) << c.columns << "x" << c.rows;
    }
}

class HelmJumpTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        WriteString(ship->data_set, kDockState, playership::kDockStateUndocked);
        WriteFloat(ship->data_set, playership::kEnergy, 1000.0f);
        WriteFloat(ship->data_set, playership::kJumpEnergyCost, 1000.0f);  // a thousand energy per distance
        Draw();  // the hot keys take their defaults
    }

    void Draw() { WidgetTest::Draw(ViewHelmJumpDraw, kBox); }
    // Clicks the labelled control, then draws the frame that shows the outcome.
    void Click(const std::string& label)
    {
        ClickLabel(ViewHelmJumpDraw, kBox, label);
        Draw();
    }
    void Key(int32_t key) { PressKey(ViewHelmJumpDraw, kBox, key); }
    int32_t Mode() const { return manager->jumpEffect.mode; }

    // Clicks into the typed field of the row (0 direction, 1 distance) and types the text.
    void TypeInto(int row, const std::string& text)
    {
        const int32_t y = kBox.top + 25 + row * 50;
        ClickAt(ViewHelmJumpDraw, kBox, 240, y);
        input.Type(text);
        Draw();
    }

    static constexpr IntRect kBox{0, 0, 400, 100};  // cells: 80 wide, then 106; rows of 50
};

TEST_F(HelmJumpTest, the_entry_confirms_and_sends_the_typed_jump_then_waits_for_the_server)
{
    TypeInto(0, "720");
    TypeInto(1, "0");
    EXPECT_EQ(manager->jumpEffect.direction, 360.0f);  // typed values are held to their ranges
    EXPECT_EQ(manager->jumpEffect.distance, 1.0f);
    TypeInto(1, "0");  // "00": the field keeps the digits, the distance its floor
    manager->jumpEffect.distanceEdit->SetText("");
    TypeInto(1, "42");
    EXPECT_EQ(manager->jumpEffect.distance, 42.0f);
    Draw();
    EXPECT_TRUE(Drawn("ENERGY:42000"));

    Click("JUMP");
    EXPECT_EQ(Mode(), 1);
    EXPECT_TRUE(Drawn("Confirm"));
    EXPECT_FALSE(Drawn("JUMP"));
    Click("Cancel");
    EXPECT_EQ(Mode(), 0);
    EXPECT_TRUE(network.SignalCodes().empty());

    Click("JUMP");
    Click("Confirm");
    EXPECT_EQ(Mode(), 3);
    JumpSignal sent;
    ASSERT_TRUE(network.Read(sent));
    EXPECT_EQ(sent.distance, 42.0f);
    EXPECT_EQ(sent.direction, 360.0f);
    EXPECT_TRUE(graphics.Texts().empty());  // nothing while the request is out

    SetJumpTime(*manager, 5);
    Draw();
    EXPECT_EQ(graphics.Texts(), std::vector<std::string>{"Seconds to jump: 5"});
    StartJumpEffect(*manager, 6);
    EXPECT_EQ(Mode(), JumpEffectState::kDissolveMode);
    EXPECT_EQ(manager->jumpEffect.countdown, 0);
    Draw();
    EXPECT_TRUE(graphics.Texts().empty());
}

TEST_F(HelmJumpTest, keys_work_the_steps_even_with_the_button_disabled_while_docked)
{
    WriteString(ship->data_set, kDockState, "docked");
    Draw();
    EXPECT_EQ(Mode(), 0);
    Click("JUMP");  // disabled: the click does nothing
    EXPECT_EQ(Mode(), 0);

    Key(vk::kReturn);
    EXPECT_EQ(Mode(), 1);
    Key(vk::kEscape);
    EXPECT_EQ(Mode(), 0);
    Key(vk::kReturn);
    Key(vk::kReturn);
    EXPECT_EQ(Mode(), 3);
    EXPECT_EQ(network.SignalCodes(), std::vector<uint16_t>{SIGNAL_MESS_JUMP});

    WriteInt(ship->data_set, playership::kJumpWhileDocked, 1);
    manager->jumpEffect.mode = 0;
    Draw();
    Click("JUMP");
    EXPECT_EQ(Mode(), 1);
}

TEST_F(HelmJumpTest, tab_moves_the_typing_between_the_fields_and_a_click_elsewhere_ends_it)
{
    TypeInto(0, "");
    const int32_t direction = manager->jumpEffect.directionEdit->id;
    const int32_t distance = manager->jumpEffect.distanceEdit->id;
    EXPECT_EQ(ui.textEntryOwner, direction);
    Key(vk::kTab);
    EXPECT_EQ(ui.textEntryOwner, distance);
    Key(vk::kTab);
    EXPECT_EQ(ui.textEntryOwner, direction);
    ClickAt(ViewHelmJumpDraw, kBox, 40, 25);  // on the label
    EXPECT_EQ(ui.textEntryOwner, 0);

    ui.textEntryOwner = 4242;  // another widget's field keeps the keys
    ClickAt(ViewHelmJumpDraw, kBox, 40, 25);
    EXPECT_EQ(ui.textEntryOwner, 4242);
}

TEST_F(HelmJumpTest, the_energy_readout_is_red_only_when_the_jump_costs_more_than_the_ship_holds)
{
    Draw();
    EXPECT_TRUE(Drawn("ENERGY:0"));  // no distance chosen yet
    manager->jumpEffect.distance = 1.5f;
    Draw();
    EXPECT_EQ(graphics.Text("ENERGY:1500").colour, glm::vec4(1, 0, 0, 1));
    manager->jumpEffect.distance = 1.0f;
    Draw();
    EXPECT_EQ(graphics.Text("ENERGY:1000").colour, ui.mainColour);

    world.subjectID = 0;
    Draw();
    EXPECT_TRUE(Drawn("JUMP"));
    for (const std::string& text : graphics.Texts())
        EXPECT_EQ(text.rfind("ENERGY", 0), std::string::npos);
}

TEST_F(HelmJumpTest, a_request_the_server_leaves_unanswered_returns_to_the_entry_and_so_does_a_new_world)
{
    Key(vk::kReturn);
    Key(vk::kReturn);
    ASSERT_EQ(Mode(), 3);
    input.milliseconds += kJumpAnswerMilliseconds - 1;
    Draw();
    EXPECT_EQ(Mode(), 3);
    SetJumpTime(*manager, 1);  // each word of the countdown keeps the request alive
    input.milliseconds += kJumpAnswerMilliseconds - 1;
    SetJumpTime(*manager, 0);
    input.milliseconds += kJumpAnswerMilliseconds - 1;
    Draw();
    EXPECT_EQ(Mode(), 3);
    input.milliseconds += 1;
    Draw();
    EXPECT_EQ(Mode(), 0);
    EXPECT_TRUE(Drawn("JUMP"));

    Key(vk::kReturn);
    Key(vk::kReturn);
    SetJumpTime(*manager, 4);
    ResetJumpControls(*manager);
    Draw();
    EXPECT_EQ(Mode(), 0);
    EXPECT_TRUE(Drawn("JUMP"));
}

TEST_F(HelmJumpTest, the_dissolve_splits_the_screen_into_bands_at_one_column)
{
    graphics.height = 768;
    for (int run = 0; run < 20; ++run) {
        StartJumpEffect(*manager, 6);
        const std::vector<IntRect>& cells = manager->jumpEffect.cells;
        EXPECT_EQ(manager->jumpEffect.durationTicks, 180u);
        ASSERT_EQ(cells.size() % 2, 0u);
        const size_t bands = cells.size() / 2;
        EXPECT_GE(bands, 22u);
        EXPECT_LE(bands, 52u);
        std::set<int32_t> splits;
        int32_t y = 0;
        for (size_t i = 0; i < cells.size(); i += 2) {
            EXPECT_EQ(cells[i].top, y);
            EXPECT_EQ(cells[i].left, 0);
            EXPECT_EQ(cells[i + 1].right, graphics.width);
            EXPECT_GE(cells[i].Height(), 15);
            EXPECT_LE(cells[i].Height(), 35);
            splits.insert(cells[i].right);
            splits.insert(cells[i + 1].left);
            y = cells[i].bottom;
        }
        EXPECT_GE(y, 768);
        ASSERT_EQ(splits.size(), 1u);
        EXPECT_GE(*splits.begin(), graphics.width * 3 / 10);
        EXPECT_LE(*splits.begin(), graphics.width * 7 / 10);
    }
}

class QuickJumpTest : public WidgetTest {
protected:
    static constexpr IntRect kBox{0, 0, 60, 300};  // rows of 100: segments of 10

    std::vector<DrawRecord> Segments() const
    {
        return graphics.Where([](const DrawRecord& r) {
            return r.kind == DrawRecord::Kind::Quad && r.source == "smallWhite" &&
                   (r.colour == glm::vec4(0.2f, 1, 0.2f, 1) || r.colour == glm::vec4(0.4f, 0.4f, 0.4f, 1));
        });
    }
};

TEST_F(QuickJumpTest, the_bar_lights_a_segment_per_tenth_recharged_from_the_bottom_up)
{
    WriteString(ship->data_set, kDockState, playership::kDockStateUndocked);
    for (const auto& [recharge, lit] : {std::pair{0.35f, 4}, std::pair{1.0f, 10}, std::pair{0.0f, 0}}) {
        WriteFloat(ship->data_set, playership::kQuickJumpRechargeState, recharge);
        Draw(ViewQuickJumpDraw, kBox);
        const std::vector<DrawRecord> segments = Segments();
        ASSERT_EQ(segments.size(), 10u);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(segments[i].Bottom(), 200.0f - 10.0f * i);
            EXPECT_EQ(segments[i].Top(), 191.0f - 10.0f * i);
            EXPECT_EQ(segments[i].colour.g == 1.0f, i < lit) << recharge << " segment " << i;
        }
    }
}

TEST_F(QuickJumpTest, the_arrows_hop_forward_and_back_only_when_the_ship_may_jump)
{
    WriteString(ship->data_set, kDockState, playership::kDockStateUndocked);
    ClickAt(ViewQuickJumpDraw, kBox, 30, 50);
    ClickAt(ViewQuickJumpDraw, kBox, 30, 250);
    QuickJumpSignal forward, backward;
    ASSERT_TRUE(network.Read(forward, 0));
    ASSERT_TRUE(network.Read(backward, 1));
    EXPECT_EQ(forward.direction, 1.0f);
    EXPECT_EQ(backward.direction, -1.0f);

    network.Clear();
    WriteString(ship->data_set, kDockState, "docked");
    ClickAt(ViewQuickJumpDraw, kBox, 30, 50);
    EXPECT_TRUE(network.SignalCodes().empty());

    world.subjectID = 0;
    Draw(ViewQuickJumpDraw, kBox);
    EXPECT_TRUE(graphics.log.empty());
}

}  // namespace

namespace {

// The server's jump notices reach the entry through this machine's screen.
TEST_F(HelmJumpTest, the_screen_passes_the_countdown_the_jump_and_a_new_world_to_the_entry)
{
    consoleScreen.SetJumpTime(3);
    EXPECT_EQ(manager->jumpEffect.countdown, 3);
    consoleScreen.StartJumpEffect(-2);  // no length: the dissolve ends at its first frame
    EXPECT_EQ(Mode(), JumpEffectState::kDissolveMode);
    EXPECT_EQ(manager->jumpEffect.durationTicks, 0u);
    EXPECT_EQ(manager->jumpEffect.countdown, 0);
    consoleScreen.ClearForNewWorld();
    EXPECT_EQ(Mode(), 0);
    EXPECT_TRUE(manager->jumpEffect.cells.empty());
}

}  // namespace
