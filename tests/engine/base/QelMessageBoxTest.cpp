#include "engine/base/QelMessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

size_t LongestLine(const std::string& text)
{
    std::istringstream lines(text);
    size_t longest = 0;
    for (std::string line; std::getline(lines, line);)
        longest = std::max(longest, line.size());
    return longest;
}

// Long lines break at spaces within the width, the text's own breaks stay,
// no word is cut, and nothing is lost but the spaces the breaks replace.
TEST(QelMessageBoxTest, message_text_wraps_at_spaces_within_the_width)
{
    const std::string sound =
        "No sound device could be opened, so the game runs without sound and music.\n\nPlease check that "
        "speakers or a headset are connected and that the system's sound is working.";
    const std::string wrapped = WrapMessageText(sound, 40);
    EXPECT_LE(LongestLine(wrapped), 40u);
    std::string rejoined = wrapped;
    for (size_t at = rejoined.find('\n'); at != std::string::npos; at = rejoined.find('\n', at + 1))
        if (at + 1 < rejoined.size() && rejoined[at + 1] != '\n' && at > 0 && rejoined[at - 1] != '\n')
            rejoined[at] = ' ';
    EXPECT_EQ(rejoined, sound);
    EXPECT_NE(wrapped.find("music.\n\nPlease"), std::string::npos) << "the paragraph break stays";

    struct Case {
        std::string text, expected;
    };
    for (const Case& c : {Case{"short", "short"}, Case{"", ""}, Case{"a b c", "a b\nc"},
                          Case{"unbreakablewordhere and more", "unbreakablewordhere\nand\nmore"},
                          Case{"line one\nline two", "line\none\nline\ntwo"}})
        EXPECT_EQ(WrapMessageText(c.text, 4), c.expected) << c.text;
}

// The engine's lower rooms show their boxes through the system service's
// shower while one is set, and print them otherwise.
std::vector<std::string> shown;
void RecordBox(const std::string& caption, const std::string& text, QelMessageBoxKind kind, SDL_Window*)
{
    shown.push_back(caption + "|" + text + (kind == QelMessageBoxKind::Error ? "|error" : "|information"));
}

TEST(QelMessageBoxTest, boxes_go_to_the_system_services_shower_while_it_is_set)
{
    shown.clear();
    SetQelMessageBoxShower(RecordBox);
    ShowQelMessageBox("Error", "Could not initialize OpenGL 3.3.", QelMessageBoxKind::Error);
    SetQelMessageBoxShower(nullptr);
    testing::internal::CaptureStderr();
    ShowQelMessageBox("Startup", "printed");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Startup: printed\n");
    EXPECT_EQ(shown, std::vector<std::string>{"Error|Could not initialize OpenGL 3.3.|error"});
}

}  // namespace
