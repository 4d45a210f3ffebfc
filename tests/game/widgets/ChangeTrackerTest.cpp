// The change tracker's cycle: shown at once, sent once left alone, back to
// the server's value once the hold runs out.

#include "game/widgets/ChangeTracker.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ChangeTrackerTest, a_change_is_sent_once_after_it_is_left_alone_and_falls_back_after_the_hold)
{
    FloatChangeTracker tracker;
    tracker.serverValue = 0.25f;
    tracker.FallBack(0);  // never changed: the server's value shows
    EXPECT_EQ(tracker.value, 0.25f);

    EXPECT_TRUE(tracker.Set(0.5f, 1000));
    EXPECT_EQ(tracker.previous, 0.25f);
    EXPECT_FALSE(tracker.Set(0.5f, 1050));  // no change: the send delay does not restart
    EXPECT_TRUE(tracker.Set(0.6f, 1060));   // a change restarts it
    EXPECT_FALSE(tracker.TakeDue(1159));
    EXPECT_TRUE(tracker.TakeDue(1160));
    EXPECT_FALSE(tracker.TakeDue(1500));  // once

    tracker.FallBack(3059);
    EXPECT_EQ(tracker.value, 0.6f);
    tracker.FallBack(3060);
    EXPECT_EQ(tracker.value, 0.25f);
    EXPECT_EQ(tracker.previous, 0.25f);
}

TEST(ChangeTrackerTest, nan_always_counts_as_a_change_and_other_forms_compare_by_value)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    FloatChangeTracker floats;
    EXPECT_TRUE(floats.Set(nan, 1));
    EXPECT_TRUE(floats.Set(nan, 2));
    EXPECT_TRUE(floats.Set(0.0f, 3));

    IntChangeTracker ints;
    EXPECT_FALSE(ints.Set(0, 1));
    EXPECT_TRUE(ints.Set(3, 1));
    ChangeTracker<int64_t> wide;
    EXPECT_TRUE(wide.Set(int64_t{1} << 40, 1));
    EXPECT_FALSE(wide.Set(int64_t{1} << 40, 2));
}

}  // namespace
