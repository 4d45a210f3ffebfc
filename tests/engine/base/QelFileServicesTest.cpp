#include "engine/base/QelFileServices.h"

#include "engine/base/QelBitmapFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

class QelFileServicesTest : public ::testing::Test {
protected:
    TempFolder settings;
    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
};

TEST_F(QelFileServicesTest, file_objects_are_made_once_per_tag_and_kept)
{
    QelFileServices services(settings.Path());
    EXPECT_EQ(services.FindFileIO("JSONLoader::Init"), nullptr);
    QelFileIO* first = services.GetFileIO("JSONLoader::Init");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(services.GetFileIO("JSONLoader::Init"), first);
    EXPECT_EQ(services.FindFileIO("JSONLoader::Init"), first);
    EXPECT_NE(services.GetFileIO("other"), first);
}

TEST_F(QelFileServicesTest, file_objects_read_game_paths_from_the_data_folder)
{
    data.Write("preferences.yaml", "a: 1\n");
    QelFileServices services(settings.Path());
    QelFileIO* file = services.GetFileIO("reader");
    ASSERT_TRUE(file->OpenRead("data", "preferences", "yaml"));
    std::string text;
    EXPECT_TRUE(file->ReadAllText(text));
    EXPECT_EQ(text, "a: 1\n");
}

// Bitmaps, fonts and documents all go through the data set folder; the
// bitmap search shows the whole path is formed right.
TEST_F(QelFileServicesTest, data_set_is_the_data_folder_until_a_subfolder_is_named)
{
    data.Write("graphics/hull.png", "top");
    data.Write("campaign/graphics/hull.png", "campaign");
    QelFileServices& services = QelFileServices::Instance();
    EXPECT_EQ(services.DataSubfolder(), "") << "none is named by default";
    const struct {
        std::string subfolder;
        std::string folder;
        std::string bitmap;
    } cases[] = {
        {"", "data", "data/graphics/hull.png"},
        {"campaign", "data/campaign", "data/campaign/graphics/hull.png"},
        {"", "data", "data/graphics/hull.png"},  // naming none again returns to the top
    };
    for (const auto& [subfolder, folder, bitmap] : cases) {
        services.SetDataSubfolder(subfolder);
        EXPECT_EQ(services.DataSetFolder(), folder) << subfolder;
        EXPECT_EQ(FindBitmapFile("hull", false), bitmap) << subfolder;
    }
}

TEST_F(QelFileServicesTest, file_exists_only_for_readable_files)
{
    data.Write("ships/alpha.json", "{}");
    QelFileServices services(settings.Path());
    EXPECT_TRUE(services.FileExists("data/ships/alpha.json"));
    EXPECT_TRUE(services.FileExists("data\\ships\\alpha.json"));
    EXPECT_FALSE(services.FileExists("data/ships/beta.json"));
    EXPECT_FALSE(services.FileExists("data/ships")) << "a folder is not a file";
}

TEST_F(QelFileServicesTest, settings_written_by_one_object_are_read_by_another)
{
    {
        QelFileServices writer(settings.Path() / "new-folder");
        EXPECT_TRUE(writer.SetRegistryValue("sfxVolume", "0.25"));
        EXPECT_TRUE(writer.SetRegistryValue("clientMachineName", "bridge\\left\nline two"));
        EXPECT_TRUE(writer.SetRegistryValue("sfxVolume", "0.5"));
    }
    QelFileServices reader(settings.Path() / "new-folder");
    std::string volume = "vol=";
    EXPECT_TRUE(reader.GetRegistryValue("sfxVolume", volume));
    EXPECT_EQ(volume, "vol=0.5");
    std::string name;
    EXPECT_TRUE(reader.GetRegistryValue("clientMachineName", name));
    EXPECT_EQ(name, "bridge\\left\nline two");
}

TEST_F(QelFileServicesTest, absent_value_leaves_the_output_untouched)
{
    QelFileServices services(settings.Path());
    std::string output = "unchanged";
    EXPECT_FALSE(services.GetRegistryValue("ambientVolume", output));
    EXPECT_TRUE(services.SetRegistryValue("guiVolume", "1"));
    EXPECT_FALSE(services.GetRegistryValue("ambientVolume", output));
    EXPECT_EQ(output, "unchanged");
}

TEST_F(QelFileServicesTest, values_longer_than_the_registry_allowed_are_refused)
{
    QelFileServices services(settings.Path());
    const std::string longest(QelSettingsFile::kMaxValueBytes, 'x');
    EXPECT_TRUE(services.SetRegistryValue("lastIPAddressTyped", longest));
    EXPECT_FALSE(services.SetRegistryValue("lastIPAddressTyped", longest + "x"));
    std::string output;
    EXPECT_TRUE(services.GetRegistryValue("lastIPAddressTyped", output));
    EXPECT_EQ(output, longest);
}

TEST_F(QelFileServicesTest, unstorable_names_are_refused)
{
    QelFileServices services(settings.Path());
    for (const std::string name : {"", "a=b", "two\nlines", "#comment"})
        EXPECT_FALSE(services.SetRegistryValue(name, "v")) << name;
}

TEST_F(QelFileServicesTest, value_text_ends_at_a_nul)
{
    QelFileServices services(settings.Path());
    EXPECT_TRUE(services.SetRegistryValue("panelOpacity", std::string("0.8\0junk", 8)));
    std::string output;
    EXPECT_TRUE(services.GetRegistryValue("panelOpacity", output));
    EXPECT_EQ(output, "0.8");
}

TEST_F(QelFileServicesTest, settings_file_is_rewritten_whole_and_hand_edits_are_tolerated)
{
    settings.Write("qelEngine.cfg", "# comment\r\nbroken line\r\nambientVolume=0.7\r\n=nameless\r\n");
    QelFileServices services(settings.Path());
    std::string ambient;
    EXPECT_TRUE(services.GetRegistryValue("ambientVolume", ambient));
    EXPECT_EQ(ambient, "0.7");
    EXPECT_TRUE(services.SetRegistryValue("guiVolume", "0.1"));
    const std::string stored = settings.Read("qelEngine.cfg");
    EXPECT_NE(stored.find("ambientVolume=0.7\nguiVolume=0.1\n"), std::string::npos) << stored;
    EXPECT_EQ(stored.find('\r'), std::string::npos) << "text files are written with LF";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(settings.Path()), {}), 1);
}

TEST_F(QelFileServicesTest, default_settings_folder_follows_the_environment)
{
    {
        ScopedEnv override("QEL_SETTINGS_DIR", "/tmp/qel-settings");
        EXPECT_EQ(QelSettingsFile::DefaultFolder(), "/tmp/qel-settings");
    }
    ScopedEnv noOverride("QEL_SETTINGS_DIR", std::nullopt);
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/home/u/.cfg");
        EXPECT_EQ(QelSettingsFile::DefaultFolder(), "/home/u/.cfg/corvane-halvex");
    }
    ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv home("HOME", "/home/u");
    EXPECT_EQ(QelSettingsFile::DefaultFolder(), "/home/u/.config/corvane-halvex");
}

}  // namespace
