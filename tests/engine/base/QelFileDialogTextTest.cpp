#include "engine/base/QelFileDialogText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

TEST(QelFileDialogTextTest, answers_split_into_folder_and_file_name_pairs)
{
    const struct {
        const char* name;
        const char* text;
        Names expected;
    } cases[] = {
        {"absolute path keeps its root", "/home/pilot/ship.yaml", {"/home/pilot/", "ship.yaml"}},
        {"backslashes are separators", "C:\\dir\\a.txt", {"C:/dir/", "a.txt"}},
        {"several files separated by bars", "/m/a.txt|/n/b.txt", {"/m/", "a.txt", "/n/", "b.txt"}},
        {"bare file name has an empty folder", "a.txt", {"", "a.txt"}},
        {"folder with a dot is an entry of its own",
         "/home/pilot/my.missions/a.py",
         {"/home/pilot/", "my.missions", "", "a.py"}},
        {"hidden folder counts as a file name", "/home/.config/x.cfg", {"/home/", ".config", "", "x.cfg"}},
        {"file name without a dot gives nothing", "/home/pilot/README", {}},
        {"trailing bar adds nothing", "/m/a.txt|", {"/m/", "a.txt"}},
        {"empty answer gives nothing", "", {}},
    };
    for (const auto& c : cases) {
        Names names;
        SplitFileDialogText(c.text, names);
        EXPECT_EQ(names, c.expected) << c.name;
    }
}

TEST(QelFileDialogTextTest, output_is_appended_to_not_replaced)
{
    Names names{"kept"};
    SplitFileDialogText("/m/a.txt", names);
    EXPECT_EQ(names, (Names{"kept", "/m/", "a.txt"}));
}

}  // namespace
