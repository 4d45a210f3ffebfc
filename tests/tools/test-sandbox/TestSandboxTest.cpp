// The folders a test runs in: an overlay of the game's data that no write
// of the test can reach through, and the check that fails a test which
// changed the game's data folder anyway.

#include "tools/test-sandbox/DataOverlay.h"
#include "tools/test-sandbox/TestSandbox.h"

#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

// A small game data folder: text files a player or the game rewrites, a
// generated picture and mesh, a folder of each, and a link to a font kept
// elsewhere.
class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.Write("data/preferences.yaml", "serverNetworkPort: 2010\n");
        game.Write("data/hot_key_settings.txt", "a player's own keys\n");
        game.Write("data/missions/first/script.py", "import zmx\n");
        game.Write("data/graphics/ships/tern.png", "picture");
        game.Write("data/graphics/ships/tern.obj", "mesh");
        game.Write("fonts/Sans.ttf", "font");
        fs::create_symlink(game.Path() / "fonts/Sans.ttf", game.Path() / "data/graphics/Sans.ttf");
    }

    fs::path Source() const { return game.Path() / "data"; }

    static std::string Read(const fs::path& file)
    {
        std::ifstream stream(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

    qeltest::TempFolder game;
    qeltest::TempFolder work;
};

TEST(DataOverlayLinks, only_art_sound_meshes_and_fonts_by_their_extension)
{
    for (const char* linked : {"a.png", "b.PNG", "c.ogg", "d.wav", "e.obj", "f.mtl", "g.qelmesh", "h.pointcube",
                               "i.ttf"})
        EXPECT_TRUE(IsLinkedAsset(linked)) << linked;
    for (const char* copied : {"preferences.yaml", "hot_key_settings.txt", "script.py", "fetchedShipData.json",
                               "joystickSettings_pad.dat", "shader-sky.vs", "no-extension"})
        EXPECT_FALSE(IsLinkedAsset(copied)) << copied;
}

TEST_F(DataFolderTest, the_overlay_copies_what_may_be_written_and_links_the_generated_assets)
{
    const fs::path overlay = work.Path() / "data";
    MakeDataOverlay(Source(), overlay);

    EXPECT_FALSE(fs::is_symlink(overlay / "preferences.yaml"));
    EXPECT_FALSE(fs::is_symlink(overlay / "missions/first/script.py"));
    EXPECT_EQ(Read(overlay / "hot_key_settings.txt"), "a player's own keys\n");
    EXPECT_TRUE(fs::is_directory(overlay / "graphics/ships"));
    EXPECT_FALSE(fs::is_symlink(overlay / "graphics/ships")) << "a folder of links, not a link to the folder";
    EXPECT_EQ(fs::read_symlink(overlay / "graphics/ships/tern.png"), Source() / "graphics/ships/tern.png");
    EXPECT_EQ(fs::read_symlink(overlay / "graphics/Sans.ttf"), game.Path() / "fonts/Sans.ttf");
}

// Rewritten in place, appended to, replaced by a rename, made new beside the
// links: the game's own folder stays as it was.
TEST_F(DataFolderTest, no_write_into_the_overlay_reaches_the_game_data)
{
    const fs::path overlay = work.Path() / "data";
    MakeDataOverlay(Source(), overlay);
    const fs::file_time_type before = fs::last_write_time(Source() / "graphics/ships");

    std::ofstream(overlay / "hot_key_settings.txt", std::ios::trunc) << "one unrelated line\n";
    std::ofstream(overlay / "preferences.yaml", std::ios::app) << "extra: 1\n";
    std::ofstream(overlay / "graphics/ships/tern.png.tmp") << "cached";
    fs::rename(overlay / "graphics/ships/tern.png.tmp", overlay / "graphics/ships/tern.png");
    std::ofstream(overlay / "graphics/ships/tern.qelmesh") << "cache";

    EXPECT_EQ(Read(Source() / "hot_key_settings.txt"), "a player's own keys\n");
    EXPECT_EQ(Read(Source() / "preferences.yaml"), "serverNetworkPort: 2010\n");
    EXPECT_EQ(Read(Source() / "graphics/ships/tern.png"), "picture");
    EXPECT_FALSE(fs::exists(Source() / "graphics/ships/tern.qelmesh"));
    EXPECT_EQ(fs::last_write_time(Source() / "graphics/ships"), before);
}

TEST_F(DataFolderTest, changes_since_a_moment_name_written_files_and_folders_that_gained_or_lost_one)
{
    const fs::file_time_type stamp = fs::file_time_type::clock::now() - std::chrono::seconds(1);
    const fs::file_time_type old = stamp - std::chrono::hours(1);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Source()))
        if (!entry.is_symlink())
            fs::last_write_time(entry.path(), old);
    fs::last_write_time(Source(), old);
    EXPECT_THAT(ChangedSince(Source(), stamp), IsEmpty()) << "links are not followed to what they point at";

    std::ofstream(Source() / "hot_key_settings.txt", std::ios::trunc) << "one unrelated line\n";
    fs::remove(Source() / "graphics/ships/tern.obj");
    EXPECT_THAT(ChangedSince(Source(), stamp), UnorderedElementsAre("hot_key_settings.txt", "graphics/ships"));
}

// The sandbox program itself: the test's command sees its own folders and
// may write them freely; a write into the game's data folder fails the test
// and names the file, whatever the command's own status.
class SandboxRunTest : public DataFolderTest {
protected:
    struct Run {
        int status = -1;
        std::string output;
    };

    Run Sandboxed(const std::string& script)
    {
        const std::string command = std::string(TEST_SANDBOX) + " '" + Source().string() + "' sh -c '" + script +
                                    "' 2>&1";
        Run run;
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
        std::array<char, 256> buffer{};
        while (fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr)
            run.output += buffer.data();
        const int status = pclose(pipe.release());
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
};

TEST_F(SandboxRunTest, a_test_writes_its_own_folders_and_they_are_gone_afterwards)
{
    const Run run = Sandboxed(
        "echo \"$QEL_DATA_DIR\" \"$QEL_SETTINGS_DIR\" \"$TMPDIR\"; test \"$QEL_TEST_GAME_DATA\" = \"$QEL_DATA_DIR\" && "
        "echo changed > \"$QEL_DATA_DIR/hot_key_settings.txt\" && echo log >> \"$QEL_DATA_DIR/SimulationDebugText.txt\" "
        "&& touch \"$QEL_SETTINGS_DIR/machine\" \"$XDG_CONFIG_HOME/x\" \"$TMPDIR/y\" && exit 3");
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_EQ(Read(Source() / "hot_key_settings.txt"), "a player's own keys\n");
    EXPECT_FALSE(fs::exists(Source() / "SimulationDebugText.txt"));
    std::string data, settings, temporary;
    std::istringstream(run.output) >> data >> settings >> temporary;
    EXPECT_THAT(data, ::testing::EndsWith("/data"));
    for (const std::string& folder : {data, settings, temporary}) {
        EXPECT_NE(folder.find("qel-test-"), std::string::npos) << folder;
        EXPECT_FALSE(fs::exists(folder)) << folder;
    }
}

TEST_F(SandboxRunTest, a_test_that_writes_into_the_game_data_fails_and_the_file_is_named)
{
    const Run run = Sandboxed("echo changed > \"" + (Source() / "hot_key_settings.txt").string() + "\"");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, HasSubstr("changed the game's data folder"));
    EXPECT_THAT(run.output, HasSubstr("  hot_key_settings.txt\n"));
}

}  // namespace
