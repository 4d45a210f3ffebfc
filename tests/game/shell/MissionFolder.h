#pragma once
// A data folder of the scene tests' own: the fixture missions, the game's
// preferences and ship list, and "echo" described for the mission chooser.
// QEL_DATA_DIR names it while it lives.

#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <string>

struct MissionFolder {
    MissionFolder()
    {
        std::filesystem::copy(std::string(QEL_TEST_FIXTURES) + "/missions", data.Path() / "missions",
                              std::filesystem::copy_options::recursive);
        for (const char* file : {"preferences.yaml", "shipData.yaml"})
            std::filesystem::copy(qeltest::GameDataFolder() / file, data.Path() / file);
        data.Write("missions/echo/description.yaml",
                   "Category: Tests\nVisible Mission Name: Echo\nDescription: Keeps every event.\nKeywords: test\n");
    }
    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
};
