#include "engine/base/QelFileDialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace {

using Names = std::vector<std::string>;
using qeltest::TempFolder;

// Fake desktop helpers in a folder of their own that serves as the search
// path: each records its arguments one per line, prints a canned answer and
// ends with a chosen status.
class QelFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (access("/bin/sh", X_OK) != 0)
            GTEST_SKIP() << "no /bin/sh to run the fake dialog helpers";
    }

    void FakeHelper(const std::string& program, const std::string& answer, int status)
    {
        const std::string dir = folder.Path().string();
        folder.Write(program + ".answer", answer);
        folder.Write(program,
                     "#!/bin/sh\n"
                     "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + dir + "/" + program + ".args'\n"
                     "cat '" + dir + "/" + program + ".answer'\n"
                     "exit " + std::to_string(status) + "\n");
        chmod((folder / program).c_str(), 0755);
    }

    Names RecordedArguments(const std::string& program) const
    {
        Names lines;
        std::string text = folder.Read(program + ".args");
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

    QelFileDialog Dialog() const { return QelFileDialog("/nonexistent-folder::" + folder.Path().string()); }

    TempFolder folder;
};

Names WithoutProgramName(Names arguments)
{
    arguments.erase(arguments.begin());
    return arguments;
}

TEST_F(QelFileDialogTest, zenity_is_asked_for_the_dialog_and_its_answer_split)
{
    const struct {
        const char* name;
        bool save;
        const char* answer;
        Names expected;
        std::vector<const char*> mustPass;
    } cases[] = {
        {"open dialog, several files",
         false,
         "/m/a.txt|/n/my.dir/b.txt\n",
         {"/m/", "a.txt", "/n/", "my.dir", "", "b.txt"},
         {"--title=Get File", "--multiple"}},
        {"save dialog", true, "/home/pilot/log.txt\n", {"/home/pilot/", "log.txt"}, {"--title=Save File", "--save"}},
    };
    for (const auto& c : cases) {
        FakeHelper("zenity", c.answer, 0);
        Names names;
        ASSERT_TRUE(Dialog().Show(names, c.save)) << c.name;
        EXPECT_EQ(names, c.expected) << c.name;
        const Names arguments = RecordedArguments("zenity");
        EXPECT_EQ(arguments, WithoutProgramName(QelFileDialog::Arguments(QelFileDialog::Helper::Zenity, c.save)))
            << c.name;
        for (const char* argument : c.mustPass)
            EXPECT_NE(std::find(arguments.begin(), arguments.end(), argument), arguments.end()) << c.name << argument;
    }
}

TEST_F(QelFileDialogTest, kdialog_serves_when_zenity_is_missing_and_zenity_is_preferred)
{
    FakeHelper("kdialog", "/m/a.txt\n/n/b.txt\n", 0);
    Names names;
    ASSERT_TRUE(Dialog().Show(names, false));
    EXPECT_EQ(names, (Names{"/m/", "a.txt", "/n/", "b.txt"}));
    EXPECT_EQ(RecordedArguments("kdialog"),
              WithoutProgramName(QelFileDialog::Arguments(QelFileDialog::Helper::Kdialog, false)));

    FakeHelper("zenity", "/z/c.txt\n", 0);
    names.clear();
    ASSERT_TRUE(Dialog().Show(names, false));
    EXPECT_EQ(names, (Names{"/z/", "c.txt"}));
}

TEST_F(QelFileDialogTest, cancel_failure_or_empty_answer_choose_nothing)
{
    const struct {
        const char* name;
        const char* answer;
        int status;
    } cases[] = {
        {"user cancelled", "", 1},
        {"helper failed", "/m/a.txt\n", 5},
        {"empty answer", "\n", 0},
    };
    for (const auto& c : cases) {
        FakeHelper("zenity", c.answer, c.status);
        Names names{"kept"};
        EXPECT_FALSE(Dialog().Show(names, false)) << c.name;
        EXPECT_EQ(names, Names{"kept"}) << c.name;
    }
}

TEST_F(QelFileDialogTest, no_helper_on_the_path_reports_no_dialog_available)
{
    folder.Write("zenity", "#!/bin/sh\nexit 0\n");  // not executable: no helper
    testing::internal::CaptureStderr();
    Names names;
    EXPECT_FALSE(Dialog().Show(names, true));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(names.empty());
    EXPECT_NE(log.find("no file dialog available"), std::string::npos) << log;
}

TEST_F(QelFileDialogTest, relative_search_folders_are_not_searched)
{
    FakeHelper("zenity", "/m/a.txt\n", 0);
    qeltest::ScopedWorkingFolder here(folder.Path());
    testing::internal::CaptureStderr();
    Names names;
    EXPECT_FALSE(QelFileDialog(".:").Show(names, false));
    testing::internal::GetCapturedStderr();
}

TEST_F(QelFileDialogTest, answer_over_the_limit_is_refused)
{
    folder.Write("zenity", "#!/bin/sh\nhead -c " + std::to_string(QelFileDialog::kMaxAnswerBytes + 1) +
                               " /dev/zero | tr '\\0' a\n");
    chmod((folder / "zenity").c_str(), 0755);
    testing::internal::CaptureStderr();
    Names names;
    EXPECT_FALSE(Dialog().Show(names, false));
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(names.empty());
    EXPECT_NE(log.find("more than"), std::string::npos) << log;
}

}  // namespace
