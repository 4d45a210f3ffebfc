// The console screens, a connected console's and the server's own, read the
// engineering presets when they open and write them when they close, so the
// presets outlive the program.

#include "game/shell/scenes/Scenes.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/ShellState.h"
#include "game/widgets/ConsoleState.h"
#include "game/world/AppData.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

TEST(ConsolePresetsScene, console_screens_read_the_presets_when_opened_and_write_them_when_closed)
{
    AppData::Load();  // the game's preferences, which the render manager reads
    ConsoleState console;
    RenderManager view(SceneFunction(), &console);  // runs the scenes for the console
    qeltest::TempFolder folder;
    const qeltest::ScopedEnv dataFolder("QEL_DATA_DIR", folder.Path().string());
    const std::filesystem::path file = folder.Path() / "Engineering-Presets.txt";
    ShellState shell;
    for (SceneFunction scene : {SceneFunction(SceneClientRunningMode), SceneFunction(SceneServerConsoleMode)}) {
        EngineeringValueSet stored;
        stored.presets[2].power[0] = 2.5f;
        std::ofstream(file) << stored.FileText();

        console = ConsoleState{};
        scene(SCENE_ENTER, shell, &view);
        EXPECT_EQ(console.engineeringPresets.presets[2].power[0], 2.5f);

        console.engineeringPresets.presets[3].coolant[0] = 4;
        scene(SCENE_LEAVE, shell, &view);
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str(), console.engineeringPresets.FileText());
        EXPECT_NE(text.str().find("\n4 0 0 0 \n"), std::string::npos);
    }
}

}  // namespace
