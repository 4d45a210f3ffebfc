#include "engine/base/QelDataFolder.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

TEST(QelDataFolder, variable_beats_working_folder_which_beats_executable_folder)
{
    TempFolder working;
    TempFolder executable;
    std::filesystem::create_directory(executable.Path() / "data");
    const std::filesystem::path chosenByVariable = "/somewhere/else";

    EXPECT_EQ(qel::ChooseDataFolder("/somewhere/else", working.Path(), executable.Path()), chosenByVariable);
    EXPECT_EQ(qel::ChooseDataFolder(nullptr, working.Path(), executable.Path()), executable.Path() / "data");
    EXPECT_EQ(qel::ChooseDataFolder("", working.Path(), executable.Path()), executable.Path() / "data")
        << "an empty variable counts as unset";

    std::filesystem::create_directory(working.Path() / "data");
    EXPECT_EQ(qel::ChooseDataFolder(nullptr, working.Path(), executable.Path()), working.Path() / "data");
}

TEST(QelDataFolder, without_any_data_folder_the_working_folder_is_named)
{
    TempFolder working;
    TempFolder executable;
    EXPECT_EQ(qel::ChooseDataFolder(nullptr, working.Path(), executable.Path()), working.Path() / "data");
    EXPECT_EQ(qel::ChooseDataFolder(nullptr, working.Path(), {}), working.Path() / "data");
}

TEST(QelDataFolder, environment_and_working_folder_are_consulted)
{
    TempFolder working;
    std::filesystem::create_directory(working.Path() / "data");
    qeltest::ScopedWorkingFolder inside(working.Path());
    {
        ScopedEnv unset("QEL_DATA_DIR", std::nullopt);
        EXPECT_EQ(std::filesystem::canonical(qel::DataFolder()), std::filesystem::canonical(working.Path() / "data"));
    }
    ScopedEnv set("QEL_DATA_DIR", "/fixture/data");
    EXPECT_EQ(qel::DataFolder(), "/fixture/data");
}

TEST(QelDataFolder, game_paths_under_data_are_redirected_into_the_data_folder)
{
    ScopedEnv set("QEL_DATA_DIR", "/fixture/d");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"data/preferences.yaml", "/fixture/d/preferences.yaml"},
        {"data\\missions\\m1\\script.py", "/fixture/d/missions/m1/script.py"},
        {"data", "/fixture/d"},
        {"database.txt", "database.txt"},
        {"shader-error.txt", "shader-error.txt"},
        {"/etc/data/x", "/etc/data/x"},
        {"sub\\file.txt", "sub/file.txt"},
    };
    for (const auto& [path, resolved] : cases)
        EXPECT_EQ(qel::ResolveGamePath(path), resolved) << path;
}

TEST(QelDataFolder, names_from_data_stay_inside_the_data_folder)
{
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"ships.json", "ships.json"},
        {"missions\\m1\\script.py", "missions/m1/script.py"},
        {"./a//b/./c", "a/b/c"},
        {"a..b/c...d", "a..b/c...d"},
        {"", std::nullopt},
        {".", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {"\\server\\share", std::nullopt},
        {"C:\\windows\\x", std::nullopt},
        {"c:x", std::nullopt},
        {".\\C:\\windows\\x", std::nullopt},  // the drive letter once "." is dropped
        {"./c:x", std::nullopt},
        {"..", std::nullopt},
        {"../secret", std::nullopt},
        {"a/../../b", std::nullopt},
        {"a\\..\\b", std::nullopt},
        {"a/..", std::nullopt},
        {std::string("a\0/b", 4), std::nullopt},
    };
    for (const auto& [name, checked] : cases)
        EXPECT_EQ(qel::CheckDataName(name), checked) << "name '" << name << "'";
}

}  // namespace
