#include "game/world/AppData.h"

#include "game/world/JSONLoader.h"

#include "engine/base/QelFileServices.h"
#include "tests/support/QuietGraphics.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "helper/QelAssert.h"
#include "tests/support/ErrorText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

const char* const kPreferences = R"({
  # numbers as the preferences write them
  port: 3.9
  twelve: "12"
  big: 5000000000
  negative: -2.7
  nothing: null
  name: Corvane
  fonts: [
    {tag: "gui-1", filename: "DejaVuSans.ttf", size: 18}
    {tag: "gui-2", filename: "DejaVuSans-Bold.ttf", size: 24.7}
    {tag: "gui-1", filename: "fonts\\DejaVuSansMono.ttf", size: 12}
  ]
  large_fonts: [{tag: "gui-1", filename: "DejaVuSans.ttf"}]
  bad_size_fonts: [{tag: "gui-1", filename: "DejaVuSans.ttf", size: 0}]
  escaping_fonts: [{tag: "gui-1", filename: "../../etc/font.ttf", size: 10}]
  null_fonts: [null]
  standby-text: ["Awaiting orders", 42]
  gui-sounds: [
    {click: "beep1", hover: "tick"}
    not a map
    {click: "beep2"}
  ]
}
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
        data.Write("preferences.yaml", kPreferences);
    }
    void TearDown() override { AppData::Unload(); }

    TempFolder data;
    TempFolder settings;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    ScopedEnv settingsDir{"QEL_SETTINGS_DIR", settings.Path().string()};
};

TEST_F(AppDataTest, double_truncates_for_int_and_numeric_text_is_only_a_float)
{
    AppData::Load();
    EXPECT_EQ(AppData::GetInt("port"), 3);
    EXPECT_FLOAT_EQ(AppData::GetFloat("port"), 3.9f);
    EXPECT_EQ(AppData::GetInt("negative"), -2);
    EXPECT_FLOAT_EQ(AppData::GetFloat("twelve"), 12.0f);
    try {
        AppData::GetInt("twelve");
        ADD_FAILURE() << "a string gave an integer";
    } catch (const Hjson::type_mismatch& error) {
        EXPECT_STREQ(error.what(), "Must be of type Double or Int64 for that operation.");
    }
    EXPECT_EQ(AppData::GetInt("big"), static_cast<int>(5000000000LL - (1LL << 32))) << "low 32 bits";
    EXPECT_EQ(AppData::GetString("name"), "Corvane");
}

TEST_F(AppDataTest, absent_key_is_empty_text_and_zero_but_an_error_for_int)
{
    AppData::Load();
    EXPECT_EQ(AppData::GetString("absent"), "");
    EXPECT_EQ(AppData::GetFloat("absent"), 0.0f);
    EXPECT_EQ(AppData::GetFloat("nothing"), 0.0f);
    for (const std::string key : {"absent", "nothing"}) {
        try {
            AppData::GetInt(key);
            ADD_FAILURE() << key << " gave an integer";
        } catch (const JSONLoaderError& error) {
            EXPECT_NE(std::string(error.what()).find("\"" + key + "\""), std::string::npos) << error.what();
        }
    }
}

TEST_F(AppDataTest, missing_preferences_stop_start_up_and_a_later_load_can_succeed)
{
    std::filesystem::remove(data.Path() / "preferences.yaml");
    EXPECT_NE(qeltest::ErrorText(AppData::Load).find("\"preferences\""), std::string::npos);
    data.Write("preferences.json", "{\"name\": \"from json\"}");
    AppData::Load();
    EXPECT_EQ(AppData::GetString("name"), "from json");
}

TEST_F(AppDataTest, preferences_are_read_only_once)
{
    AppData::Load();
    data.Write("preferences.yaml", "name: changed\n");
    AppData::Load();
    EXPECT_EQ(AppData::GetString("name"), "Corvane");
}

TEST_F(AppDataTest, volumes_come_from_the_settings_and_default_to_one)
{
    ASSERT_TRUE(QelFileServices::Instance().SetRegistryValue("sfxVolume", "0.25"));
    ASSERT_TRUE(QelFileServices::Instance().SetRegistryValue("guiVolume", ""));
    AppData::Load();
    EXPECT_FLOAT_EQ(AppData::sfxVolume, 0.25f);
    EXPECT_FLOAT_EQ(AppData::guiVolume, 1.0f) << "an empty value leaves the default";

    AppData::Unload();
    ASSERT_TRUE(QelFileServices::Instance().SetRegistryValue("guiVolume", "0.5"));
    AppData::Load();
    EXPECT_FLOAT_EQ(AppData::guiVolume, 0.5f);
}

TEST_F(AppDataTest, volumes_stay_one_without_settings)
{
    AppData::Load();
    EXPECT_FLOAT_EQ(AppData::sfxVolume, 1.0f);
    EXPECT_FLOAT_EQ(AppData::guiVolume, 1.0f);
}

TEST_F(AppDataTest, gui_sounds_later_maps_win_and_other_elements_are_skipped)
{
    AppData::Load();
    AppData::LoadGuiSounds();
    const std::map<std::string, std::string> expected = {{"click", "beep2"}, {"hover", "tick"}};
    EXPECT_EQ(AppData::guiSounds, expected);
}

TEST_F(AppDataTest, standby_texts_are_appended_as_text)
{
    AppData::Load();
    AppData::standbyText = {"earlier"};
    AppData::LoadStandbyText();
    EXPECT_EQ(AppData::standbyText, (std::vector<std::string>{"earlier", "Awaiting orders", "42"}));
}

class AppDataFontTest : public AppDataTest {
protected:
    void SetUp() override
    {
        AppDataTest::SetUp();
        gGraphicsFactory = &graphics;
        AppData::Load();
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

TEST_F(AppDataFontTest, bad_font_entries_are_errors_that_name_them)
{
    EXPECT_EQ(ErrorOfFonts("large_fonts"), "Must be of type Double or Int64 for that operation.");
    EXPECT_NE(ErrorOfFonts("bad_size_fonts").find("\"bad_size_fonts\"[0]"), std::string::npos);
    EXPECT_NE(ErrorOfFonts("escaping_fonts").find("../../etc/font.ttf"), std::string::npos);
    EXPECT_NE(ErrorOfFonts("null_fonts").find("\"null_fonts\"[0]"), std::string::npos);
    EXPECT_TRUE(graphics.requests.empty()) << "nothing reached the graphics service";
}

TEST_F(AppDataTest, null_standby_text_is_an_error_naming_the_element)
{
    data.Write("preferences.yaml", "standby-text: [\"first\", null]\n");
    AppData::Load();
    EXPECT_NE(qeltest::ErrorText(AppData::LoadStandbyText).find("\"standby-text\"[1]"), std::string::npos);
}

TEST(AppDataWithoutGraphics, font_list_without_graphics_is_a_program_error)
{
    std::map<std::string, QelBitmapFont*> fonts;
    EXPECT_THROW(AppData::LoadFontList(fonts, "fonts"), qel::AssertionFailure);
}

}  // namespace
