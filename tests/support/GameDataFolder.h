#pragma once
// The game's data folder as a test sees it: the test's own overlay of it,
// made by the test sandbox (tools/test-sandbox), which every test runs in.
// It stays put while a test points QEL_DATA_DIR at a fixture of its own, and
// whatever a test or the game writes there is thrown away afterwards.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace qeltest {

inline std::filesystem::path GameDataFolder()
{
    const char* folder = std::getenv("QEL_TEST_GAME_DATA");
    if (folder == nullptr || *folder == '\0')
        throw std::runtime_error("no game data folder for the test: run it through ctest, or as "
                                 "build/tools/test-sandbox/test-sandbox data PROGRAM, which give it one of its own");
    return folder;
}

}  // namespace qeltest
