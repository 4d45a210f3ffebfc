#pragma once
// A data folder for halvex-server: the game's preferences and ship
// definitions, and one mission of the given script.

#include "tests/support/TempFolder.h"

#include <filesystem>
#include <string>

namespace harnesstest {

inline const std::string kGameData = std::string(QEL_SOURCE_DIR) + "/data";

struct MissionFolder {
    MissionFolder(const std::string& script, const std::string& name = "trial")
    {
        std::filesystem::copy(kGameData + "/preferences.yaml", data.Path() / "preferences.yaml");
        std::filesystem::copy(kGameData + "/shipData.yaml", data.Path() / "shipData.yaml");
        data.Write("missions/" + name + "/script.py", script);
    }
    qeltest::TempFolder data;
};

}  // namespace harnesstest
