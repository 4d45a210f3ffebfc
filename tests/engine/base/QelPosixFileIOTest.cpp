#include "engine/base/QelPosixFileIO.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using qeltest::TempFolder;

struct PathCase {
    const char* folder;
    const char* name;
    const char* extension;
    const char* path;
};

TEST(QelFileIOMakePath, joins_folder_name_and_extension_without_doubling_separators)
{
    const std::vector<PathCase> cases = {
        {"data", "prefs", "json", "data/prefs.json"},
        {"data/", "prefs", ".json", "data/prefs.json"},
        {"data", "/prefs", "json", "data/prefs.json"},
        {"data\\", "prefs", "json", "data/prefs.json"},
        {"data", "\\prefs", "json", "data/prefs.json"},
        {"data", "prefs.", "json", "data/prefs.json"},
        {"data", "prefs.", ".json", "data/prefs..json"},
        {"data", "", "", "data"},
        {"", "a", "b", "a.b"},
        {"data", "prefs", "", "data/prefs"},
        {"data\\missions", "m1\\script", "py", "data/missions/m1/script.py"},
        {"/abs/dir", "f", "txt", "/abs/dir/f.txt"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(QelFileIO::MakePath(c.folder, c.name, c.extension), c.path)
            << "folder '" << c.folder << "' name '" << c.name << "' extension '" << c.extension << "'";
}

class QelPosixFileIOTest : public ::testing::Test {
protected:
    bool OpenToRead(const std::string& name) { return file.Open(folder.Path().string(), name, "txt", true, false, false, false); }
    bool OpenToWrite(const std::string& name) { return file.Open(folder.Path().string(), name, "txt", false, true, false, false); }
    std::vector<std::string> ReadLines()
    {
        std::vector<std::string> lines;
        std::string line;
        while (file.ReadLine(line))
            lines.push_back(line);
        return lines;
    }

    TempFolder folder;
    QelPosixFileIO file{"test"};
};

TEST_F(QelPosixFileIOTest, lines_end_at_lf_or_crlf_and_keep_no_carriage_return)
{
    folder.Write("lines.txt", "first\r\nsecond\n\r\nlast without end");
    ASSERT_TRUE(OpenToRead("lines"));
    EXPECT_EQ(ReadLines(), (std::vector<std::string>{"first", "second", "", "last without end"}));
    std::string line = "stale";
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_EQ(line, "");
}

TEST_F(QelPosixFileIOTest, reading_a_missing_file_or_a_folder_fails)
{
    EXPECT_FALSE(OpenToRead("absent"));
    std::filesystem::create_directory(folder.Path() / "sub.txt");
    EXPECT_FALSE(OpenToRead("sub"));
    EXPECT_FALSE(file.OpenRead(folder.Path().string(), "sub", "txt"));
    std::string line;
    EXPECT_FALSE(file.ReadLine(line));
}

TEST_F(QelPosixFileIOTest, whole_file_is_read_byte_for_byte_and_handed_out_in_pieces)
{
    folder.Write("blob.bin", std::string("ab\0cd\r\nef", 9));
    ASSERT_TRUE(file.OpenRead(folder.Path().string(), "blob", "bin"));
    char bytes[16] = {};
    int32_t copied = -1;
    EXPECT_TRUE(file.ReadBuffered(bytes, 5, copied));
    EXPECT_EQ(copied, 5);
    EXPECT_EQ(std::string(bytes, 5), std::string("ab\0cd", 5));
    EXPECT_FALSE(file.ReadBuffered(bytes, 10, copied));
    EXPECT_EQ(copied, 4);
    EXPECT_EQ(std::string(bytes, 4), "\r\nef");
    EXPECT_FALSE(file.ReadBuffered(bytes, 1, copied));
    EXPECT_EQ(copied, 0);
}

TEST_F(QelPosixFileIOTest, all_text_stops_at_the_first_nul_and_keeps_the_last_byte)
{
    folder.Write("nul.txt", std::string("abc\0def", 7));
    folder.Write("plain.txt", "abc");
    folder.Write("empty.txt", "");

    std::string text = ">";
    ASSERT_TRUE(file.OpenRead(folder.Path().string(), "nul", "txt"));
    EXPECT_TRUE(file.ReadAllText(text));
    EXPECT_EQ(text, ">abc");

    text.clear();
    ASSERT_TRUE(file.OpenRead(folder.Path().string(), "plain", "txt"));
    EXPECT_TRUE(file.ReadAllText(text));
    EXPECT_EQ(text, "abc");

    text.clear();
    ASSERT_TRUE(file.OpenRead(folder.Path().string(), "empty", "txt"));
    EXPECT_TRUE(file.ReadAllText(text));
    EXPECT_EQ(text, "");

    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.ReadAllText(text)) << "nothing is loaded after Close";
}

TEST_F(QelPosixFileIOTest, bytes_read_stop_at_the_end_of_the_file)
{
    folder.Write("four.txt", "wxyz");
    ASSERT_TRUE(OpenToRead("four"));
    char bytes[8] = {};
    int32_t count = -1;
    EXPECT_TRUE(file.ReadBytes(bytes, 3, count));
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(file.ReadBytes(bytes, 3, count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(bytes[0], 'z');
    EXPECT_FALSE(file.ReadBytes(bytes, 3, count));
    EXPECT_EQ(count, 0);
}

TEST_F(QelPosixFileIOTest, written_text_is_stored_as_given_with_no_line_end_added)
{
    ASSERT_TRUE(OpenToWrite("out"));
    EXPECT_TRUE(file.WriteString("x"));
    EXPECT_TRUE(file.WriteString("line\n"));
    const char raw[3] = {'\0', '\r', 'y'};
    EXPECT_TRUE(file.WriteBytes(raw, 3));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(folder.Read("out.txt"), std::string("xline\n\0\ry", 9));
}

TEST_F(QelPosixFileIOTest, rewrite_replaces_the_file_only_at_close_and_leaves_no_temporary_file)
{
    folder.Write("keys.txt", "old\n");
    ASSERT_TRUE(OpenToWrite("keys"));
    EXPECT_TRUE(file.WriteString("new\n"));
    EXPECT_EQ(folder.Read("keys.txt"), "old\n") << "the old file stays whole until the rewrite is complete";
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(folder.Read("keys.txt"), "new\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST_F(QelPosixFileIOTest, append_adds_to_the_end_of_the_existing_file)
{
    folder.Write("log.txt", "one\n");
    ASSERT_TRUE(file.Open(folder.Path().string(), "log", "txt", false, true, false, true));
    EXPECT_TRUE(file.WriteString("two\n"));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(folder.Read("log.txt"), "one\ntwo\n");
}

TEST_F(QelPosixFileIOTest, writing_into_a_missing_folder_fails_to_open)
{
    EXPECT_FALSE(file.Open((folder.Path() / "missing").string(), "out", "txt", false, true, false, false));
    EXPECT_FALSE(file.WriteString("lost")) << "nothing is open for writing";
    folder.Write("plain", "a file, not a folder");
    EXPECT_FALSE(file.Open((folder.Path() / "plain").string(), "out", "txt", false, true, false, false));
}

TEST_F(QelPosixFileIOTest, failed_rename_reports_failure_and_keeps_what_was_there)
{
    // A non-empty folder where the file should go: the rewrite cannot replace it.
    folder.Write("target.txt/inside", "kept");
    ASSERT_TRUE(OpenToWrite("target"));
    EXPECT_TRUE(file.WriteString("new"));
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(folder.Read("target.txt/inside"), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1)
        << "the temporary file is removed";
}

TEST_F(QelPosixFileIOTest, write_to_a_full_device_is_reported_at_close)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    ASSERT_TRUE(file.Open("/dev/full", "", "", false, true, false, true));
    EXPECT_TRUE(file.WriteString("small writes wait in the buffer"));
    EXPECT_FALSE(file.Close());
}

TEST_F(QelPosixFileIOTest, large_write_to_a_full_device_fails_at_once)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    ASSERT_TRUE(file.Open("/dev/full", "", "", false, true, false, true));
    EXPECT_FALSE(file.WriteString(std::string(256 * 1024, 'x')));
    EXPECT_FALSE(file.WriteString("y")) << "a file that lost bytes takes no more";
    EXPECT_FALSE(file.Close());
}

}  // namespace
