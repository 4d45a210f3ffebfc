// The story dialog queue: dialogs shown one at a time in arrival order, a
// release dismissing the one in front, and the shown time of drawn frames.

#include "game/guimodel/StoryDialogGUIManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

StoryDialogEntry Dialog(const std::string& title)
{
    return StoryDialogEntry{title, "body", "", "white", 0};
}

std::vector<std::string> Titles(const StoryDialogGUIManager& queue)
{
    std::vector<std::string> titles;
    for (const StoryDialogEntry& entry : queue.entries)
        titles.push_back(entry.title);
    return titles;
}

using TitleList = std::vector<std::string>;

class StoryDialogQueueTest : public ::testing::Test {
protected:
    // Frames of the given length, without a click, from the current clock.
    void Frames(int count, uint32_t millis)
    {
        for (int i = 0; i < count; ++i) {
            clock += millis;
            queue.FinishFrame(false, clock);
        }
    }

    StoryDialogGUIManager queue;
    uint32_t clock = 1000;
};

TEST_F(StoryDialogQueueTest, dialogs_show_in_arrival_order_and_one_release_dismisses_one)
{
    for (const char* title : {"first", "second", "third"})
        queue.Push(Dialog(title));
    queue.FinishFrame(true, clock);
    EXPECT_EQ(Titles(queue), (TitleList{"second", "third"}));
    queue.FinishFrame(false, clock);
    EXPECT_EQ(Titles(queue), (TitleList{"second", "third"}));
    queue.FinishFrame(true, clock);
    queue.FinishFrame(true, clock);
    EXPECT_TRUE(queue.Empty());
    // An empty queue ages nothing and leaves the frame clock where it was.
    queue.FinishFrame(true, clock + 5000);
    EXPECT_EQ(queue.lastDrawMillis, clock);
}

TEST_F(StoryDialogQueueTest, a_dialog_goes_in_the_frame_its_shown_time_passes_twenty_seconds)
{
    queue.lastDrawMillis = clock;
    queue.Push(Dialog("first"));
    queue.Push(Dialog("second"));
    Frames(100, 200);  // exactly 20000 ms: still shown
    EXPECT_EQ(queue.Front().title, "first");
    EXPECT_EQ(queue.Front().shownMillis, StoryDialogGUIManager::kShowMillis);
    Frames(1, 1);
    EXPECT_EQ(queue.Front().title, "second");
    EXPECT_EQ(queue.Front().shownMillis, 0u);
}

TEST_F(StoryDialogQueueTest, at_thirty_frames_a_second_a_dialog_lasts_about_twenty_seconds)
{
    queue.lastDrawMillis = clock;
    queue.Push(Dialog("only"));
    int frames = 0;
    while (!queue.Empty() && frames < 1000) {
        Frames(1, 33);
        ++frames;
    }
    EXPECT_EQ(frames, 607);  // 20031 ms
}

TEST_F(StoryDialogQueueTest, a_pause_or_a_first_frame_counts_at_most_two_hundred_milliseconds)
{
    queue.Push(Dialog("first"));
    queue.FinishFrame(false, clock);  // the first dialog in a long while
    EXPECT_EQ(queue.Front().shownMillis, StoryDialogGUIManager::kMaxFrameMillis);
    clock += 3600000;  // an hour in another scene
    queue.FinishFrame(false, clock);
    EXPECT_EQ(queue.Front().shownMillis, 2 * StoryDialogGUIManager::kMaxFrameMillis);
    // A clock that wrapped around counts forward.
    queue.lastDrawMillis = 0xFFFFFFF0u;
    queue.FinishFrame(false, 0x10u);
    EXPECT_EQ(queue.Front().shownMillis, 2 * StoryDialogGUIManager::kMaxFrameMillis + 0x20u);
}

TEST_F(StoryDialogQueueTest, a_release_hands_the_frame_to_the_dialog_that_moved_up)
{
    queue.lastDrawMillis = clock;
    queue.Push(Dialog("first"));
    queue.Push(Dialog("second"));
    queue.FinishFrame(true, clock + 50);
    ASSERT_EQ(queue.Front().title, "second");
    EXPECT_EQ(queue.Front().shownMillis, 50u);
}

TEST_F(StoryDialogQueueTest, clearing_keeps_the_frame_clock_and_a_full_queue_leaves_new_dialogs_out)
{
    queue.Push(Dialog("first"));
    queue.FinishFrame(false, clock);
    queue.Clear();
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(queue.lastDrawMillis, clock);
    queue.Push(Dialog("next"));
    queue.FinishFrame(false, clock + 10000);
    EXPECT_EQ(queue.Front().shownMillis, StoryDialogGUIManager::kMaxFrameMillis);

    queue.Clear();
    for (size_t i = 0; i < StoryDialogGUIManager::kMaxQueued + 3; ++i)
        queue.Push(Dialog("dialog " + std::to_string(i)));
    ASSERT_EQ(queue.entries.size(), StoryDialogGUIManager::kMaxQueued);
    EXPECT_EQ(queue.entries.back().title, "dialog " + std::to_string(StoryDialogGUIManager::kMaxQueued - 1));
}

}  // namespace
