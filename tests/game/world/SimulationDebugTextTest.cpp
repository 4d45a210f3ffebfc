#include "game/world/Simulation.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(SimulationDebugText, lines_are_appended_to_the_file_in_the_data_folder)
{
    Simulation world;
    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir("QEL_DATA_DIR", data.Path().string());
    world.WriteDebugText("first");
    world.WriteDebugText("second");
    EXPECT_EQ(data.Read("SimulationDebugText.txt"), "first\nsecond\n");
}

}  // namespace
