// The engineering presets: the file (written whole, read back, short or
// garbled lines), storing and recalling through the buttons and hot keys, and
// what a recall sends through the power widget.

#include "engine/base/QelVirtualKeys.h"
#include "tests/game/widgets/EngFixture.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScopedGlobal.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace vk = qel::vk;
using namespace playership;

// Eleven cells in one column, 40 high: STORE, then presets 0 to 9.
constexpr IntRect kPresetsBox{600, 100, 680, 540};
constexpr IntRect kPowerBox{100, 100, 400, 300};

class EngPresetsTest : public EngTest {
protected:
    std::filesystem::path PresetFile() const { return folder.Path() / "Engineering-Presets.txt"; }

    std::string FileContents() const
    {
        std::ifstream in(PresetFile(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void WriteFile(const std::string& text) const { std::ofstream(PresetFile(), std::ios::binary) << text; }

    // One frame of the presets and the power sliders.
    void Draw()
    {
        Frame([this] {
            IntRect presets = kPresetsBox;
            ViewEngPresetsDraw(console, presets, "eng_presets");
            IntRect power = kPowerBox;
            ViewEngPowerControlsDraw(console, power, "eng_power_controls");
        });
    }

    void ClickCell(int32_t cell)
    {
        input.MoveTo(kPresetsBox.left + 40, kPresetsBox.top + cell * 40 + 20);
        input.Press();
        Draw();
        input.Release();
        Draw();
        input.MoveTo(-100, -100);
    }

    std::vector<std::pair<int32_t, float>> SettleAndTakePower()
    {
        input.milliseconds += FloatChangeTracker::kSendDelayMs;
        Draw();
        return PowerSent(TakeSent());
    }
};

TEST_F(EngPresetsTest, a_fresh_start_writes_ten_presets_of_defaults_in_21_lines)
{
    console.engineeringPresets.Save();
    const std::string text = FileContents();
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0],
              "EngineeringPreset data.  Not really meant to be human edited, but if you insist, this is ten presets, "
              "each is (first 100 power slider settings, then 4 heat bubble settings).");
    std::string power;
    for (int k = 0; k < 100; ++k)
        power += "1.000000 ";
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(lines[static_cast<size_t>(1 + 2 * n)], power) << n;
        EXPECT_EQ(lines[static_cast<size_t>(2 + 2 * n)], "0 0 0 0 ") << n;
    }
    EXPECT_EQ(text.back(), '\n');
}

TEST_F(EngPresetsTest, presets_survive_a_save_and_a_load_and_a_missing_file_changes_nothing)
{
    EngineeringValueSet& set = console.engineeringPresets;
    set.presets[0].power[2] = 3.0f;
    set.presets[9].power[99] = 0.25f;
    set.presets[4].coolant = {1, 2, 3, 2};
    set.Save();
    const EngineeringValueSet saved = set;
    set = EngineeringValueSet{};
    set.Load();
    EXPECT_EQ(set.presets, saved.presets);

    std::filesystem::remove(PresetFile());
    set.presets[1].power[0] = 2.0f;
    set.Load();
    EXPECT_EQ(set.presets[1].power[0], 2.0f);
}

TEST_F(EngPresetsTest, a_short_or_garbled_file_keeps_the_defaults_for_what_it_lacks)
{
    // Header; preset 0 with two power values and one coolant; preset 1 with
    // words, values past the sliders' ends and negative coolant; a CRLF line;
    // then the file ends early.
    WriteFile("header\n2.5 0.5\n3\nabc 9.9 -1 1.5x\n-4 x 2 7\r\n");
    console.engineeringPresets.Load();
    const auto& presets = console.engineeringPresets.presets;
    EXPECT_EQ(presets[0].power[0], 2.5f);
    EXPECT_EQ(presets[0].power[1], 0.5f);
    EXPECT_EQ(presets[0].power[2], 1.0f);
    EXPECT_EQ(presets[0].power[99], 1.0f);
    EXPECT_EQ(presets[0].coolant, (std::array<int32_t, 4>{3, 0, 0, 0}));
    EXPECT_EQ(presets[1].power[0], 0.0f);
    EXPECT_EQ(presets[1].power[1], 3.0f);
    EXPECT_EQ(presets[1].power[2], 0.0f);
    EXPECT_EQ(presets[1].power[3], 1.5f);
    EXPECT_EQ(presets[1].coolant, (std::array<int32_t, 4>{0, 0, 2, 7}));
    for (size_t n = 2; n < presets.size(); ++n)
        EXPECT_EQ(presets[n], EngineeringValueSet::Preset{}) << n;
}

TEST_F(EngPresetsTest, the_grid_of_the_eleven_cells_follows_the_box)
{
    struct Case {
        int32_t width, height;
        PresetGrid grid;
    };
    const Case cases[] = {
        {900, 100, {11, 1}}, {800, 100, {6, 2}}, {401, 100, {6, 2}}, {400, 100, {4, 3}},
        {200, 100, {3, 4}},  // twice as wide as high: not more, so the next rule
        {151, 100, {3, 4}},  {150, 100, {2, 6}}, {101, 100, {2, 6}}, {100, 100, {1, 11}}, {0, 0, {1, 11}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PresetGridFor(c.width, c.height), c.grid) << c.width << " x " << c.height;
}

TEST_F(EngPresetsTest, store_then_a_preset_stores_into_it_and_a_second_click_recalls_it)
{
    qeltest::RecordingSound sound;
    qeltest::ScopedGlobal<QelSoundFactoryBase> withSound{gSoundFactory, sound};
    Draw();
    EXPECT_EQ(graphics.Text("4").box.top, kPresetsBox.top + 5 * 40 + 3) << "preset 4 in the sixth cell";
    console.engineeringTrackers.power[2].Set(3.0f, input.milliseconds);
    console.engineeringTrackers.coolant[1].Set(2, input.milliseconds);
    ClickCell(0);
    EXPECT_TRUE(console.engineeringPresets.storeMode);
    ClickCell(5);
    EXPECT_FALSE(console.engineeringPresets.storeMode);
    EXPECT_EQ(console.engineeringPresets.presets[4].power[2], 3.0f);
    EXPECT_EQ(console.engineeringPresets.presets[4].coolant[1], 2);

    // Once the server's values are back, the second click recalls the preset.
    input.milliseconds += FloatChangeTracker::kHoldMs;
    Draw();
    TakeSent();
    EXPECT_EQ(console.engineeringTrackers.power[2].value, 1.0f);
    ClickCell(5);
    EXPECT_EQ(console.engineeringTrackers.power[2].value, 3.0f);
    EXPECT_EQ(console.engineeringTrackers.coolant[1].value, 2);
    EXPECT_EQ(console.engineeringPresets.presets[4].power[2], 3.0f);
    EXPECT_EQ(sound.log, (std::vector<std::string>{"GetSound gui/tab", "GetSound gui/main_screen",
                                                   "GetSound gui/button"}));
}

TEST_F(EngPresetsTest, a_digit_recalls_its_preset_and_control_with_the_digit_stores_into_it)
{
    console.engineeringPresets.presets[7].power[5] = 2.0f;
    Warm([this] { Draw(); });
    input.KeyDown(vk::kDigit0 + 7);
    Draw();
    input.KeyUp(vk::kDigit0 + 7);
    EXPECT_EQ(console.engineeringTrackers.power[5].value, 2.0f) << "recalled, not overwritten first";
    EXPECT_EQ(console.engineeringPresets.presets[7].power[5], 2.0f);

    input.KeyDown(vk::kControl);
    input.KeyDown(vk::kDigit0 + 3);
    Draw();
    input.KeyUp(vk::kDigit0 + 3);
    input.KeyUp(vk::kControl);
    EXPECT_EQ(console.engineeringPresets.presets[3].power[5], 2.0f);
    EXPECT_EQ(console.engineeringTrackers.power[5].value, 2.0f) << "the recall after the store changes nothing";
}

TEST_F(EngPresetsTest, a_recall_sends_only_what_differs_once_and_gives_way_to_the_server_after_the_hold)
{
    Draw();
    TakeSent();
    // Equal to the settings: nothing changes, nothing goes.
    console.engineeringPresets.StorePreset(0, console.engineeringTrackers);
    console.engineeringPresets.RetrievePreset(0, console.engineeringTrackers, input.milliseconds);
    for (const FloatChangeTracker& tracker : console.engineeringTrackers.power)
        EXPECT_FALSE(tracker.changed);
    EXPECT_TRUE(SettleAndTakePower().empty());

    // Power 3 alone differs, at a value the slider cannot land on exactly:
    // it goes as it stands, once.
    console.engineeringPresets.presets[1] = console.engineeringPresets.presets[0];
    console.engineeringPresets.presets[1].power[3] = 0.09f;
    console.engineeringPresets.RetrievePreset(1, console.engineeringTrackers, input.milliseconds);
    for (size_t k = 0; k < console.engineeringTrackers.power.size(); ++k)
        EXPECT_EQ(console.engineeringTrackers.power[k].changed, k == 3) << k;
    Draw();
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(SettleAndTakePower(), (std::vector<std::pair<int32_t, float>>{{3, 0.09f}}));
    EXPECT_TRUE(SettleAndTakePower().empty());

    // The server never confirmed it.
    input.milliseconds += FloatChangeTracker::kHoldMs;
    Draw();
    EXPECT_EQ(console.engineeringTrackers.power[3].value, 1.0f);
}

}  // namespace
