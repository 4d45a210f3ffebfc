#pragma once
// The folders one test works in, made under the temporary folder and removed
// with the object: its own overlay of the game's data, an empty settings
// folder, a configuration home and a temporary folder of its own, so that
// nothing a test writes reaches the player's data, settings or anything
// another test reads.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

class TestSandbox {
public:
    // The variables a test reads its folders from: the game's (data folder,
    // settings folder), the system's (configuration home, temporary folder)
    // and QEL_TEST_GAME_DATA, the overlay again, for tests that point
    // QEL_DATA_DIR at a fixture of their own and still need the game's data.
    static constexpr const char* kGameDataVariable = "QEL_TEST_GAME_DATA";

    // Makes the folders, the data overlay from the given data folder; throws
    // std::filesystem::filesystem_error when they cannot be made.
    explicit TestSandbox(const std::filesystem::path& gameData);
    ~TestSandbox();
    TestSandbox(const TestSandbox&) = delete;
    TestSandbox& operator=(const TestSandbox&) = delete;

    const std::filesystem::path& Root() const { return root; }
    std::filesystem::path Data() const { return root / "data"; }

    // Name and value of each variable the test runs with.
    std::vector<std::pair<std::string, std::string>> Environment() const;

    // What changed in the game's data folder since the sandbox was made:
    // a test must never write there.
    std::vector<std::string> GameDataChanges() const;

private:
    std::filesystem::path gameData;
    std::filesystem::path root;
    std::filesystem::file_time_type madeAt;
};
