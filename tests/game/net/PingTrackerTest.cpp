#include "game/net/PingTracker.h"

#include "engine/base/QelClock.h"

#include <gtest/gtest.h>

namespace {

class PingTrackerTest : public ::testing::Test {
protected:
    qel::ManualClock clock{50'000};
    PingTracker pings;
};

TEST_F(PingTrackerTest, one_pass_over_three_clients_issues_three_consecutive_keys_that_keep_counting)
{
    EXPECT_EQ(pings.IssueKey(), 1);
    EXPECT_EQ(pings.IssueKey(), 2);
    EXPECT_EQ(pings.IssueKey(), 3);
    // Clients come and go; the keys do not start again.
    pings.Match(1);
    pings.Match(2);
    pings.Match(3);
    EXPECT_EQ(pings.IssueKey(), 4);
}

TEST_F(PingTrackerTest, echo_gives_the_age_of_its_record_and_removes_it)
{
    const int32_t key = pings.IssueKey();
    clock.Advance(40);
    EXPECT_EQ(pings.Match(key), 40u);
    EXPECT_EQ(pings.Match(key), std::nullopt);
    EXPECT_EQ(pings.InFlightCount(), 0u);
}

TEST_F(PingTrackerTest, echo_folds_one_part_in_eleven_into_the_ping)
{
    float ping = 100.0f;
    const int32_t key = pings.IssueKey();
    clock.Advance(210);
    EXPECT_TRUE(pings.ApplyEcho(key, ping));
    EXPECT_FLOAT_EQ(ping, (100.0f * 10 + 210) / 11);
}

TEST_F(PingTrackerTest, late_echo_after_its_record_went_stale_leaves_the_ping_alone)
{
    float ping = 80.0f;
    const int32_t late = pings.IssueKey();
    clock.Advance(15'001);
    const int32_t fresh = pings.IssueKey();
    clock.Advance(20);
    EXPECT_TRUE(pings.ApplyEcho(fresh, ping));  // drops the stale record on the way
    const float afterFresh = ping;

    EXPECT_FALSE(pings.ApplyEcho(late, ping));
    EXPECT_EQ(ping, afterFresh);
}

TEST_F(PingTrackerTest, records_of_a_console_that_never_echoes_do_not_pile_up)
{
    for (int ping = 0; ping < 100; ++ping) {
        pings.IssueKey();
        clock.Advance(1'000);
    }
    EXPECT_LE(pings.InFlightCount(), PingTracker::kStaleAfterMs / 1'000 + 1);
}

TEST_F(PingTrackerTest, records_younger_than_fifteen_seconds_survive_other_matches)
{
    const int32_t waiting = pings.IssueKey();
    clock.Advance(15'000);
    const int32_t other = pings.IssueKey();
    pings.Match(other);
    EXPECT_EQ(pings.Match(waiting), 15'000u);
}

TEST_F(PingTrackerTest, age_is_right_across_the_clock_wrapping)
{
    clock.Set(0xFFFFFFF0u);
    const int32_t key = pings.IssueKey();
    clock.Set(0x10);
    EXPECT_EQ(pings.Match(key), 0x20u);
}

}  // namespace
