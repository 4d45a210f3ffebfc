// The text log keeps the newest 300 lines.

#include "game/ui/TextLog.h"

#include <gtest/gtest.h>

namespace {

TEST(TextLogTest, the_oldest_lines_go_first_once_three_hundred_are_kept)
{
    TextLog log;
    for (int i = 1; i <= 301; ++i)
        log.Add(glm::vec4(1, 0, 0, 1), "line " + std::to_string(i));
    ASSERT_EQ(log.Count(), TextLog::kMaxLines);
    EXPECT_EQ(log.Line(0).text, "line 2");
    EXPECT_EQ(log.Line(299).text, "line 301");

    log.Add(glm::vec4(1, 1, 1, 1), "");
    EXPECT_EQ(log.Line(299).text, "");
    EXPECT_EQ(log.Line(299).colour, glm::vec4(1, 1, 1, 1));
    EXPECT_EQ(log.Line(0).text, "line 3");
}

}  // namespace
