#include "engine/sdl/QelSDLInputBase.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/TempFolder.h"

namespace {

class QelSDLInputBaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(input.Initialize()); }
    void TearDown() override { input.Shutdown(); }

    // Sets a file's last-write time to whole seconds.
    void SetWriteTime(const std::string& path, time_t seconds)
    {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    qeltest::TempFolder folder;
    QelSDLInputBase input;
};

TEST_F(QelSDLInputBaseTest, list_directory_appends_every_entry_sorted_by_name)
{
    folder.Write("b.txt", "b");
    folder.Write("a.txt", "a");
    folder.Write("missionZ/script.py", "");
    std::vector<std::string> names = {"kept"};
    EXPECT_EQ(input.ListDirectory(folder.Path().string(), names), 0);
    EXPECT_EQ(names, (std::vector<std::string>{"kept", ".", "..", "a.txt", "b.txt", "missionZ"}));
}

TEST_F(QelSDLInputBaseTest, list_directory_of_a_game_path_lists_the_data_folder)
{
    folder.Write("missions/first/script.py", "");
    const qeltest::ScopedEnv data("QEL_DATA_DIR", folder.Path().string());
    std::vector<std::string> names;
    input.ListDirectory("data/missions", names);
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "first"}));
}

TEST_F(QelSDLInputBaseTest, list_directory_of_a_missing_folder_appends_nothing)
{
    std::vector<std::string> names;
    EXPECT_EQ(input.ListDirectory(folder / "absent", names), 0);
    EXPECT_TRUE(names.empty());
}

TEST_F(QelSDLInputBaseTest, compare_file_times_orders_by_last_write_and_names_the_missing_file)
{
    folder.Write("old.txt", "1");
    folder.Write("new.txt", "2");
    folder.Write("same.txt", "3");
    SetWriteTime(folder / "old.txt", 1'000'000);
    SetWriteTime(folder / "new.txt", 2'000'000);
    SetWriteTime(folder / "same.txt", 1'000'000);
    EXPECT_EQ(input.CompareFileTimes(folder / "new.txt", folder / "old.txt"), 1);
    EXPECT_EQ(input.CompareFileTimes(folder / "old.txt", folder / "new.txt"), -1);
    EXPECT_EQ(input.CompareFileTimes(folder / "old.txt", folder / "same.txt"), 0);
    EXPECT_EQ(input.CompareFileTimes(folder / "none1", folder / "none2"), 2);
    EXPECT_EQ(input.CompareFileTimes(folder / "old.txt", folder / "none2"), 3);
    EXPECT_EQ(input.CompareFileTimes(folder.Path().string(), folder / "old.txt"), 2);
}

TEST_F(QelSDLInputBaseTest, date_text_is_ctime_form_with_one_newline)
{
    const std::string text = input.GetDateTimeText();
    ASSERT_EQ(text.size(), 25u);  // "Wed Jun 30 21:49:08 1993\n"
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\n'), 24u);
}

TEST_F(QelSDLInputBaseTest, seconds_since_base_count_from_the_year_2000)
{
    const int64_t expected = static_cast<int64_t>(std::time(nullptr)) - 946684800;
    EXPECT_NEAR(static_cast<double>(input.GetSecondsSinceBase()), static_cast<double>(expected), 2.0);
    EXPECT_EQ(input.GetMinutesSinceStart(), 0);
}

TEST_F(QelSDLInputBaseTest, registry_values_round_trip_and_a_missing_one_leaves_the_output)
{
    qeltest::ScopedEnv settings("QEL_SETTINGS_DIR", folder.Path().string());
    ASSERT_TRUE(input.SetRegistryValue("ambientVolume", "0.75"));
    std::string value = "previous";
    EXPECT_TRUE(input.GetRegistryValue("ambientVolume", value));
    EXPECT_EQ(value, "0.75");
    value = "untouched";
    EXPECT_FALSE(input.GetRegistryValue("neverWritten", value));
    EXPECT_EQ(value, "untouched");
}

TEST_F(QelSDLInputBaseTest, there_are_no_joysticks_to_index)
{
    EXPECT_EQ(input.GetNumJoysticks(), 0);
    EXPECT_EQ(input.GetJoystick(-1), nullptr);
    EXPECT_EQ(input.GetJoystick(0), nullptr);
}

TEST_F(QelSDLInputBaseTest, file_dialog_in_a_non_interactive_run_chooses_nothing_and_starts_no_helper)
{
    // A helper that would leave a mark if it were started.
    folder.Write("zenity", "#!/bin/sh\ntouch '" + (folder / "started") + "'\necho /m/a.txt\n");
    chmod((folder / "zenity").c_str(), 0755);
    qeltest::ScopedEnv path("PATH", folder.Path().string());
    qeltest::ScopedEnv quiet("QEL_NONINTERACTIVE", "1");
    testing::internal::CaptureStderr();
    std::vector<std::string> names;
    EXPECT_FALSE(input.FileDialog(names, false));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "started"));
    EXPECT_NE(log.find("non-interactive"), std::string::npos) << log;
}

}  // namespace
