#include "game/world/AppData.h"

#include "game/world/JSONLoader.h"
#include "game/world/PreferenceRules.h"

#include "engine/base/QelFileServices.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/QuietGraphics.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "helper/QelAssert.h"
#include "tests/support/ErrorText.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using ::testing::HasSubstr;
using qeltest::ScopedEnv;
using qeltest::TempFolder;

// The preferences the client and the server cannot be made without.
const char* const kRequired =
    "serverNetworkPort: 3151\n"
    "client-network-mess-per-frame: 200\n"
    "server-network-mess-per-frame: 100\n"
    "clientContactDecayDelay: 600\n"
    "scriptTickDelay: 30\n";

const char* const kPreferences = R"(
  # numbers as the preferences write them
  port: 3.9
  twelve: "12"
  big: 5000000000
  negative: -2.7
  nothing: null
  name: Corvane
  list: [1, 2]
  fonts: [
    {tag: "gui-1", filename: "DejaVuSans.ttf", size: 18}
    {tag: "gui-2", filename: "DejaVuSans-Bold.ttf", size: 24.7}
    {tag: "gui-1", filename: "fonts\\DejaVuSansMono.ttf", size: 12}
  ]
  unsized_fonts: [{tag: "gui-1", filename: "DejaVuSans.ttf"}]
  bad_size_fonts: [{tag: "gui-1", filename: "DejaVuSans.ttf", size: 0}]
  escaping_fonts: [{tag: "gui-1", filename: "../../etc/font.ttf", size: 10}]
  null_fonts: [null]
  standby-text: ["Awaiting orders", 42]
  gui-sounds: [
    {click: "beep1", hover: "tick"}
    {click: "beep2"}
  ]
)";

class RecordingGraphics : public qeltest::QuietGraphics {
public:
    QelBitmapFont* LoadFont(std::string fileName, int sizeInPixels) override
    {
        requests.emplace_back(fileName, sizeInPixels);
        fonts.push_back(std::make_unique<qeltest::QuietFont>());
        return fonts.back().get();
    }

    std::vector<std::pair<std::string, int>> requests;
    std::vector<std::unique_ptr<QelBitmapFont>> fonts;
};

class AppDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppData::Unload();
        WritePreferences(std::string(kRequired) + kPreferences);
    }
    void TearDown() override { AppData::Unload(); }

    void WritePreferences(const std::string& text) { data.Write("preferences.yaml", text); }
    std::string PreferencesPath() const { return data / "preferences.yaml"; }

    TempFolder data;
    TempFolder settings;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    ScopedEnv settingsDir{"QEL_SETTINGS_DIR", settings.Path().string()};
};

TEST_F(AppDataTest, numbers_read_as_ints_and_floats_with_or_without_quotes)
{
    AppData::Load();
    EXPECT_EQ(AppData::GetInt("port"), 3);
    EXPECT_FLOAT_EQ(AppData::GetFloat("port"), 3.9f);
    EXPECT_EQ(AppData::GetInt("negative"), -2);
    EXPECT_FLOAT_EQ(AppData::GetFloat("twelve"), 12.0f);
    EXPECT_EQ(AppData::GetInt("twelve"), 12);
    EXPECT_EQ(AppData::GetString("name"), "Corvane");
    EXPECT_EQ(AppData::GetString("port"), "3.9");
}

TEST_F(AppDataTest, absent_key_is_empty_text_and_zero_but_an_error_for_int)
{
    AppData::Load();
    EXPECT_EQ(AppData::GetString("absent"), "");
    EXPECT_EQ(AppData::GetFloat("absent"), 0.0f);
    EXPECT_EQ(AppData::GetFloat("nothing"), 0.0f);
    EXPECT_EQ(qeltest::ErrorText([] { AppData::GetInt("absent"); }),
              PreferencesPath() + ": \"absent\" is missing; expected a whole number.");
    EXPECT_EQ(qeltest::ErrorText([] { AppData::GetInt("nothing"); }),
              PreferencesPath() + ": \"nothing\" is null; expected a whole number.");
}

// What the getters cannot give is an error naming the file and the key, never
// a wrapped number or a bare conversion error.
TEST_F(AppDataTest, values_a_getter_cannot_give_are_errors_naming_the_file_and_the_key)
{
    AppData::Load();
    const std::string path = PreferencesPath();
    EXPECT_EQ(qeltest::ErrorText([] { AppData::GetInt("big"); }),
              path + ": \"big\" is 5000000000; expected a whole number.");
    EXPECT_EQ(qeltest::ErrorText([] { AppData::GetInt("name"); }),
              path + ": \"name\" is \"Corvane\" (text); expected a whole number.");
    EXPECT_EQ(qeltest::ErrorText([] { AppData::GetFloat("list"); }),
              path + ": \"list\" is a list of 2 elements; expected a number.");
    EXPECT_EQ(qeltest::ErrorText([] { AppData::GetString("list"); }),
              path + ": \"list\" is a list of 2 elements; expected text.");
}

TEST_F(AppDataTest, missing_preferences_stop_start_up_and_a_later_load_can_succeed)
{
    std::filesystem::remove(data.Path() / "preferences.yaml");
    EXPECT_THAT(qeltest::ErrorText(AppData::Load), HasSubstr(PreferencesPath()));
    data.Write("preferences.json", std::string("{") + kRequired + "name: \"from json\"}");
    AppData::Load();
    EXPECT_EQ(AppData::GetString("name"), "from json");
}

TEST_F(AppDataTest, a_refused_document_keeps_nothing_and_a_mended_one_loads)
{
    WritePreferences(std::string(kRequired) + "name: first\nclosest_scan_delay: {}\n");
    EXPECT_THROW(AppData::Load(), JSONLoaderError);
    EXPECT_EQ(AppData::GetString("name"), "");
    WritePreferences(std::string(kRequired) + "name: mended\nclosest_scan_delay: 3\n");
    AppData::Load();
    EXPECT_EQ(AppData::GetString("name"), "mended");
}

TEST_F(AppDataTest, preferences_are_read_only_once)
{
    AppData::Load();
    WritePreferences(std::string(kRequired) + "name: changed\n");
    AppData::Load();
    EXPECT_EQ(AppData::GetString("name"), "Corvane");
}

TEST_F(AppDataTest, volumes_come_from_the_settings_and_default_to_one)
{
    ASSERT_TRUE(QelFileServices::Instance().SetRegistryValue("sfxVolume", "0.25"));
    ASSERT_TRUE(QelFileServices::Instance().SetRegistryValue("guiVolume", ""));
    AppData::Load();
    EXPECT_FLOAT_EQ(AppData::SfxVolume(), 0.25f);
    EXPECT_FLOAT_EQ(AppData::GuiVolume(), 1.0f) << "an empty value leaves the default";

    AppData::Unload();
    ASSERT_TRUE(QelFileServices::Instance().SetRegistryValue("guiVolume", "0.5"));
    AppData::Load();
    EXPECT_FLOAT_EQ(AppData::GuiVolume(), 0.5f);
}

TEST_F(AppDataTest, volumes_stay_one_without_settings)
{
    AppData::Load();
    EXPECT_FLOAT_EQ(AppData::SfxVolume(), 1.0f);
    EXPECT_FLOAT_EQ(AppData::GuiVolume(), 1.0f);
}

TEST_F(AppDataTest, gui_sounds_later_maps_win)
{
    AppData::Load();
    AppData::LoadGuiSounds();
    const std::map<std::string, std::string> expected = {{"click", "beep2"}, {"hover", "tick"}};
    EXPECT_EQ(AppData::GuiSounds(), expected);
}

TEST_F(AppDataTest, standby_texts_are_appended_as_text)
{
    AppData::Load();
    AppData::SetStandbyTexts({"earlier"});
    AppData::LoadStandbyText();
    EXPECT_EQ(AppData::StandbyTexts(), (std::vector<std::string>{"earlier", "Awaiting orders", "42"}));
}

// One line per broken document: the text after the required preferences (or
// the whole file, for the cases marked whole) and the error it must give.
// "<path>" stands for the path of the file read.
TEST_F(AppDataTest, each_broken_document_is_refused_with_one_line_naming_file_key_and_value)
{
    struct Case {
        std::string text;
        std::string message;
        bool whole = false;  // the text is the whole file
    };
    const Case cases[] = {
        {"", "<path> is empty: it holds no keys and values.", true},
        {" \r\n\t\n", "<path> is empty: it holds no keys and values.", true},
        {std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10),
         "<path> is not a text document: it holds a NUL byte at line 1, column 8.", true},
        {"name: Br\xFC" "cke\n", "<path> is not a text document: it holds byte 0xFC, which is not UTF-8, at line 6, column 9."},
        {"just some words", "<path> holds \"just some words\" (text) where a map of keys and values belongs "
                            "(is it the right file?).", true},
        {"[1, 2]", "<path> holds a list of 2 elements where a map of keys and values belongs (is it the right file?).",
         true},
        {"serverNetworkPort: 3151\n", "<path>: Found a duplicate of the key 'serverNetworkPort' at line 6, column 1"},
        {"{", "<path>: Found '{' where a key name was expected"},
        {"player-vision-base-distance: -1e38\n",
         "<path>: \"player-vision-base-distance\" is -1e+38; expected a number from 0 to 1000000."},
        {"farthest_scan_delay: 1e309\n",
         "<path>: \"farthest_scan_delay\" is \"1e309\" (text); expected a number from 0 to 3600."},
        {"closest_scan_delay: {}\n", "<path>: \"closest_scan_delay\" is an empty map; expected a number from 0 to 3600."},
        {"gui-color-main: {r: 1, g: 0, b: 0}\n",
         "<path>: \"gui-color-main\" is a map of 3 keys; expected a colour such as \"red\", \"#40c0ff\" or "
         "\"rgb(64, 192, 255)\"."},
        {"gui-color-hostile-ship: \"#ff4a3\"\n",
         "<path>: \"gui-color-hostile-ship\" is \"#ff4a3\" (text); expected a colour such as \"red\", \"#40c0ff\" "
         "or \"rgb(64, 192, 255)\"."},
        {"gui-radar-side-colors-from-selected-ship: Yes\n",
         "<path>: \"gui-radar-side-colors-from-selected-ship\" is \"Yes\" (text); expected \"yes\" or \"no\"."},
        {"jump_sfx_end: \"../../secret\"\n",
         "<path>: \"jump_sfx_end\" is \"../../secret\" (text); expected a file name inside the data folder (no \"..\", "
         "not absolute), or \"\"."},
        {"default_mission_folder: \"first_watch/../x\"\n",
         "<path>: \"default_mission_folder\" is \"first_watch/../x\" (text); expected one folder name (no \"/\", no "
         "\"..\"), or \"\"."},
        {"main-buff-width: 0\n", "<path>: \"main-buff-width\" is 0; expected a whole number from 16 to 16384."},
        {"server-network-name: \"" + std::string(101, 'x') + "\"\n",
         "<path>: \"server-network-name\" is \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" (text); expected text of "
         "at most 100 bytes."},
        {"standby-text: []\n", "<path>: \"standby-text\" is an empty list; expected a list of at least one text."},
        {"standby-text: [\"first\", null]\n", "<path>: \"standby-text[1]\" is null; expected text."},
        {"fonts: [{tag: \"gui-1\", filename: \"../x\", size: 10}]\n",
         "<path>: \"fonts[0].filename\" is \"../x\" (text); expected a font file name inside the data folder (no "
         "\"..\", not absolute)."},
        {"large_fonts: [{tag: \"gui-1\", filename: \"DejaVuSans\"}]\n",
         "<path>: \"large_fonts[0].size\" is missing; expected a whole number from 1 to 1024."},
        {"gui-sounds: [\"gui/button\"]\n", "<path>: \"gui-sounds[0]\" is \"gui/button\" (text); expected a map of keys "
                                           "and values."},
    };
    for (const Case& c : cases) {
        AppData::Unload();
        WritePreferences(c.whole ? c.text : std::string(kRequired) + c.text);
        std::string expected = c.message;
        expected.replace(expected.find("<path>"), 6, PreferencesPath());
        EXPECT_THAT(qeltest::ErrorText(AppData::Load), ::testing::StartsWith(expected)) << c.text;
    }
}

// The values start-up reads: each is checked, even when the harness or the
// game is told to use another port.
TEST_F(AppDataTest, the_preferences_read_at_start_up_are_required_and_ranged)
{
    struct Case {
        const char* key;
        const char* value;  // nullptr: the key is left out
        const char* found;
        const char* expected;
    };
    const Case cases[] = {
        {"serverNetworkPort", "NaN", "\"NaN\" (text)", "a whole number from 1 to 65535"},
        {"serverNetworkPort", "65536", "65536", "a whole number from 1 to 65535"},
        {"serverNetworkPort", "-1", "-1", "a whole number from 1 to 65535"},
        {"serverNetworkPort", "0", "0", "a whole number from 1 to 65535"},
        {"serverNetworkPort", nullptr, "missing", "a whole number from 1 to 65535"},
        {"scriptTickDelay", "true", "true", "a whole number from 0 to 10000000"},
        {"server-network-mess-per-frame", ".nan", "\".nan\" (text)", "a whole number from 1 to 100000"},
        {"client-network-mess-per-frame", "0", "0", "a whole number from 1 to 100000"},
        {"clientContactDecayDelay", "299", "299", "a whole number from 300 to 10000000"},
    };
    for (const Case& c : cases) {
        AppData::Unload();
        std::string text;
        for (const std::string line : {"serverNetworkPort: 3151", "client-network-mess-per-frame: 200",
                                       "server-network-mess-per-frame: 100", "clientContactDecayDelay: 600",
                                       "scriptTickDelay: 30"}) {
            if (line.rfind(std::string(c.key) + ":", 0) != 0)
                text += line + "\n";
            else if (c.value)
                text += std::string(c.key) + ": " + c.value + "\n";
        }
        WritePreferences(text);
        EXPECT_EQ(qeltest::ErrorText(AppData::Load), PreferencesPath() + ": \"" + c.key + "\" is " + c.found +
                                                          "; expected " + c.expected + ".")
            << c.key << " " << (c.value ? c.value : "(absent)");
    }
}

TEST_F(AppDataTest, keys_no_rule_declares_are_reported_as_ignored)
{
    WritePreferences(std::string(kRequired) + "serverNetworkPrt: 3151\n");
    ::testing::internal::CaptureStderr();
    AppData::Load();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              PreferencesPath() + ": \"serverNetworkPrt\" is not a preference of this game; it is ignored\n");
}

// Every stored file valid before the rules came must stay valid: the game's
// own preferences load, and every key in them is one the game declares.
TEST(AppDataGamePreferences, the_game_preferences_load_and_declare_every_key)
{
    ScopedEnv dataDir("QEL_DATA_DIR", qeltest::GameDataFolder().string());
    AppData::Unload();
    ::testing::internal::CaptureStderr();
    AppData::Load();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(AppData::GetInt("serverNetworkPort"), 3151);
    AppData::Unload();
}

class AppDataFontTest : public AppDataTest {
protected:
    void SetUp() override
    {
        AppDataTest::SetUp();
        gGraphicsFactory = &graphics;
        ::testing::internal::CaptureStderr();  // the test lists are no preferences of the game
        AppData::Load();
        ::testing::internal::GetCapturedStderr();
    }
    void TearDown() override
    {
        gGraphicsFactory = nullptr;
        AppDataTest::TearDown();
    }

    std::string ErrorOfFonts(const std::string& listKey)
    {
        std::map<std::string, QelBitmapFont*> fonts;
        return qeltest::ErrorText([&] { AppData::LoadFontList(fonts, listKey); });
    }

    RecordingGraphics graphics;
};

TEST_F(AppDataFontTest, fonts_are_loaded_in_order_and_a_later_tag_replaces_an_earlier)
{
    std::map<std::string, QelBitmapFont*> fonts;
    AppData::LoadFontList(fonts, "fonts");
    const std::vector<std::pair<std::string, int>> expected = {
        {"DejaVuSans.ttf", 18}, {"DejaVuSans-Bold.ttf", 24}, {"fonts/DejaVuSansMono.ttf", 12}};
    EXPECT_EQ(graphics.requests, expected);
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts["gui-1"], graphics.fonts[2].get());
    EXPECT_EQ(fonts["gui-2"], graphics.fonts[1].get());
}

TEST_F(AppDataFontTest, absent_list_loads_nothing)
{
    std::map<std::string, QelBitmapFont*> fonts;
    AppData::LoadFontList(fonts, "no_such_fonts");
    EXPECT_TRUE(fonts.empty());
    EXPECT_TRUE(graphics.requests.empty());
}

TEST_F(AppDataFontTest, bad_font_entries_are_errors_that_name_them_before_any_font_loads)
{
    EXPECT_THAT(ErrorOfFonts("unsized_fonts"), HasSubstr("\"unsized_fonts[0].size\" is missing"));
    EXPECT_THAT(ErrorOfFonts("bad_size_fonts"), HasSubstr("\"bad_size_fonts[0].size\" is 0"));
    EXPECT_THAT(ErrorOfFonts("escaping_fonts"), HasSubstr("\"../../etc/font.ttf\""));
    EXPECT_THAT(ErrorOfFonts("null_fonts"), HasSubstr("\"null_fonts[0]\" is null"));
    EXPECT_TRUE(graphics.requests.empty()) << "nothing reached the graphics service";
}

TEST(AppDataWithoutGraphics, font_list_without_graphics_is_a_program_error)
{
    std::map<std::string, QelBitmapFont*> fonts;
    EXPECT_THROW(AppData::LoadFontList(fonts, "fonts"), qel::AssertionFailure);
}

}  // namespace
