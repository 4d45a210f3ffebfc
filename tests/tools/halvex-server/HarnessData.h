#pragma once
// A data folder for one run of halvex-server: copies of the game's
// preferences and ship list, which a test may break one value at a time, and
// one mission, "trial", of the given script.

#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace harnesstest {

// The test's own copy of the game's data.
inline std::string GameData()
{
    return qeltest::GameDataFolder().string();
}

struct MissionFolder {
    explicit MissionFolder(const std::string& script)
    {
        std::filesystem::copy(GameData() + "/preferences.yaml", data.Path() / "preferences.yaml");
        std::filesystem::copy(GameData() + "/shipData.yaml", data.Path() / "shipData.yaml");
        data.Write("missions/trial/script.py", script);
    }

    // Replaces the first occurrence of the text in the file; false when the
    // file does not hold it.
    bool Replace(const std::string& file, const std::string& from, const std::string& to) const
    {
        std::string text = data.Read(file);
        const size_t at = text.find(from);
        if (at == std::string::npos)
            return false;
        data.Write(file, text.replace(at, from.size(), to));
        return true;
    }

    qeltest::TempFolder data;
};

// A mission that loads and answers every event by doing nothing.
inline const char* const kQuietMission = "import zmx\n\ndef halvex_event_handler(sim, event):\n    pass\n";

}  // namespace harnesstest
