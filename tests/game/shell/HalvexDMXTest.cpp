#include "game/shell/HalvexDMX.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "game/shell/FtdiDmxTransport.h"

namespace {

using namespace std::chrono_literals;

// A USB-DMX interface that keeps every frame it is sent.
class RecordingTransport : public DmxTransport {
public:
    struct Wire {
        std::mutex lock;
        bool present = true;
        int opens = 0;
        int closes = 0;
        std::vector<std::vector<uint8_t>> frames;  // start code, then the slots
    };

    explicit RecordingTransport(Wire& wire) : wire(wire) {}

    bool Open() override
    {
        std::lock_guard hold(wire.lock);
        ++wire.opens;
        return wire.present;
    }
    bool SendFrame(uint8_t startCode, std::span<const uint8_t> slots) override
    {
        std::lock_guard hold(wire.lock);
        std::vector<uint8_t>& frame = wire.frames.emplace_back(1, startCode);
        frame.insert(frame.end(), slots.begin(), slots.end());
        return true;
    }
    void Close() override
    {
        std::lock_guard hold(wire.lock);
        ++wire.closes;
    }

private:
    Wire& wire;
};

constexpr DmxOutputTiming kQuick{0ms, 1ms};

// A DMX output on a recording interface, opened or not.
class HalvexDMXTest : public ::testing::Test {
protected:
    std::unique_ptr<HalvexDMX> Output(bool present)
    {
        wire.present = present;
        return std::make_unique<HalvexDMX>(std::make_unique<RecordingTransport>(wire), kQuick);
    }

    // The slot's values over the next ticks.
    static std::vector<int> SlotOverTicks(HalvexDMX& dmx, int slot, int ticks)
    {
        std::vector<int> values;
        for (int i = 0; i < ticks; ++i) {
            dmx.ComputeFrame();
            values.push_back(dmx.Frame()[slot]);
        }
        return values;
    }

    size_t FramesOnTheWire()
    {
        std::lock_guard hold(wire.lock);
        return wire.frames.size();
    }

    RecordingTransport::Wire wire;
};

TEST_F(HalvexDMXTest, behaviours_turn_into_slot_values_tick_by_tick)
{
    auto dmx = Output(false);
    const struct {
        const char* name;
        DmxChannelRequest request;
        int ticks;
        std::vector<int> values;
    } cases[] = {
        {"off", {5, DMX_BEHAV_OFF, 0, 10, 200}, 3, {0, 0, 0}},
        {"on", {5, DMX_BEHAV_ON, 0, 10, 200}, 3, {200, 200, 200}},
        {"blink every tick", {5, DMX_BEHAV_BLINK, 0, 10, 200}, 4, {200, 10, 200, 10}},
        {"blink every three ticks", {5, DMX_BEHAV_BLINK, 2, 10, 200}, 7, {10, 10, 200, 200, 200, 10, 10}},
        {"ramp up over four ticks", {5, DMX_BEHAV_RAMP_UP, 3, 0, 200}, 5, {50, 100, 150, 0, 50}},
        {"ramp down over four ticks", {5, DMX_BEHAV_RAMP_DOWN, 3, 0, 200}, 5, {150, 100, 50, 200, 150}},
        {"sine", {5, DMX_BEHAV_SINE, 0, 0, 100}, 3, {92, 95, 57}},
        {"sine with low above high runs upside down", {5, DMX_BEHAV_SINE, 0, 100, 0}, 3, {7, 4, 42}},
    };
    for (const auto& c : cases) {
        HalvexDMX fresh(nullptr, kQuick);
        ASSERT_EQ(fresh.SetChannel(c.request), nullptr) << c.name;
        EXPECT_EQ(SlotOverTicks(fresh, 5, c.ticks), c.values) << c.name;
    }
}

TEST_F(HalvexDMXTest, a_ramp_of_speed_99_rises_for_100_ticks_and_drops_back_at_once)
{
    HalvexDMX dmx(nullptr, kQuick);
    ASSERT_EQ(dmx.SetChannel({0, DMX_BEHAV_RAMP_UP, 99, 20, 220}), nullptr);
    const std::vector<int> values = SlotOverTicks(dmx, 0, 101);
    EXPECT_EQ(values[0], 22);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.begin() + 99));
    EXPECT_EQ(values[98], 218);
    EXPECT_EQ(values[99], 20);  // tick 100
    EXPECT_EQ(values[100], 21);  // 101 / 100 in 32-bit floats is a hair below 1.01
}

TEST_F(HalvexDMXTest, random_flicker_steps_through_the_random_levels_every_speed_plus_one_ticks)
{
    HalvexDMX::RandomLevels levels{};
    levels[0] = 0.5f;
    levels[1] = 0.25f;
    levels[2] = 1.0f;
    levels[999] = 0.75f;
    const HalvexDMX::DmxChannel flicker{DMX_BEHAV_RANDOM, 1, 0, 200};
    const struct {
        uint64_t tick;
        int value;
    } cases[] = {{1, 100}, {2, 50}, {3, 50}, {4, 200}, {1998, 150}, {2000, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(HalvexDMX::SlotValue(flicker, c.tick, levels), c.value) << c.tick;
}

TEST_F(HalvexDMXTest, requests_outside_the_tables_are_refused_with_their_text_and_change_nothing)
{
    auto dmx = Output(false);
    ASSERT_EQ(dmx->SetChannel({3, DMX_BEHAV_ON, 0, 0, 77}), nullptr);
    const struct {
        DmxChannelRequest request;
        const char* fault;
    } cases[] = {
        {{-1, 1, 0, 0, 9}, "DMX channel is out of bounds."},
        {{256, 1, 0, 0, 9}, "DMX channel is out of bounds."},
        {{3, -1, 0, 0, 9}, "DMX behavior value is out of bounds."},
        {{3, 7, 0, 0, 9}, "DMX behavior value is out of bounds."},
        {{3, 1, 256, 0, 9}, "DMX speed value is out of bounds."},
        {{3, 1, -1, 0, 9}, "DMX speed value is out of bounds."},
        {{3, 1, 0, -1, 9}, "DMX low value is out of bounds."},
        {{3, 1, 0, 256, 9}, "DMX low value is out of bounds."},
        {{3, 1, 0, 0, 256}, "DMX high value is out of bounds."},
        {{300, 9, 999, -5, 1000}, "DMX channel is out of bounds."},
    };
    for (const auto& c : cases) {
        const char* fault = dmx->SetChannel(c.request);
        ASSERT_NE(fault, nullptr) << c.fault;
        EXPECT_STREQ(fault, c.fault);
        EXPECT_STREQ(DmxChannelFault(c.request), c.fault);
    }
    dmx->ComputeFrame();
    EXPECT_EQ(dmx->Frame()[3], 77);
    EXPECT_EQ(dmx->SetChannel({255, DMX_BEHAV_MAX - 1, 255, 255, 0}), nullptr);
}

TEST_F(HalvexDMXTest, an_open_interface_starts_with_slot_1_lit_until_a_channel_above_it_is_configured)
{
    auto dmx = Output(true);
    ASSERT_TRUE(dmx->Open());
    EXPECT_TRUE(dmx->IsWorking());
    EXPECT_EQ(dmx->Frame()[1], 255);
    ASSERT_EQ(dmx->SetChannel({0, DMX_BEHAV_ON, 0, 0, 40}), nullptr);
    dmx->ComputeFrame();
    EXPECT_EQ(dmx->Frame()[0], 40);
    EXPECT_EQ(dmx->Frame()[1], 255);
    ASSERT_EQ(dmx->SetChannel({3, DMX_BEHAV_ON, 0, 0, 90}), nullptr);
    dmx->ComputeFrame();
    const auto frame = dmx->Frame();
    EXPECT_EQ(frame[1], 0);
    EXPECT_EQ(frame[2], 0);
    EXPECT_EQ(frame[3], 90);
    EXPECT_EQ(frame[4], 0);
}

TEST_F(HalvexDMXTest, without_an_interface_the_tables_still_fill_and_nothing_is_sent)
{
    auto dmx = Output(false);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(dmx->Open());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no USB-DMX interface"), std::string::npos);
    EXPECT_FALSE(dmx->IsWorking());
    EXPECT_EQ(dmx->Frame()[1], 0);
    ASSERT_EQ(dmx->SetChannel({2, DMX_BEHAV_ON, 0, 0, 33}), nullptr);
    dmx->ComputeFrame();
    EXPECT_EQ(dmx->Frame()[2], 33);
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(FramesOnTheWire(), 0u);
    EXPECT_EQ(dmx->FramesSent(), 0u);
}

TEST_F(HalvexDMXTest, the_output_thread_sends_the_latest_frame_and_stops_when_the_output_ends)
{
    auto dmx = Output(true);
    ASSERT_TRUE(dmx->Open());
    ASSERT_EQ(dmx->SetChannel({7, DMX_BEHAV_ON, 0, 0, 123}), nullptr);
    dmx->ComputeFrame();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    auto sentWithSlot = [this] {
        std::lock_guard hold(wire.lock);
        return !wire.frames.empty() && wire.frames.back()[1 + 7] == 123;
    };
    while (!sentWithSlot() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(sentWithSlot());
    {
        std::lock_guard hold(wire.lock);
        const std::vector<uint8_t>& frame = wire.frames.back();
        ASSERT_EQ(frame.size(), 1u + HalvexDMX::kSlots);
        EXPECT_EQ(frame[0], HalvexDMX::kStartCode);
    }
    EXPECT_GT(dmx->FramesSent(), 0u);
    dmx.reset();
    EXPECT_EQ(wire.closes, 1);
    const size_t sent = FramesOnTheWire();
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(FramesOnTheWire(), sent);
}

TEST_F(HalvexDMXTest, the_usb_interface_reports_absence_instead_of_failing)
{
    FtdiDmxTransport usb;
    if (usb.Open())
        GTEST_SKIP() << "a USB-DMX interface is attached to this machine";
    const uint8_t slots[HalvexDMX::kSlots] = {};
    EXPECT_FALSE(usb.SendFrame(HalvexDMX::kStartCode, slots));
    usb.Close();
}

}  // namespace
