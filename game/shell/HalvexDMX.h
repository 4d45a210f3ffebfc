#pragma once
// DMX lighting output. Missions give channels behaviours (DmxLighting);
// every 33 ms simulation tick the behaviours become the 512 slot values of a
// DMX frame, and a thread of its own sends the latest frame to the interface
// every 30 ms. Without an interface the tables still fill and the frames are
// still computed; nothing is sent and IsWorking says so.
//
// The main thread owns the channel table and computes frames; the finished
// frame is handed to the output thread under a lock, so a frame never goes
// out half old and half new.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "game/shell/DmxTransport.h"
#include "game/world/DmxLighting.h"

// When the output thread sends.
struct DmxOutputTiming {
    // The interface settles after its purge before the first frame.
    std::chrono::milliseconds settle{1000};
    // The pause after each frame: about 33 frames a second.
    std::chrono::milliseconds period{30};
};

class HalvexDMX : public DmxLighting {
public:
    // Slots of a DMX universe.
    static constexpr int32_t kSlots = 512;
    // Random levels the flicker behaviour steps through.
    static constexpr int32_t kRandomLevels = 1000;
    static constexpr uint8_t kStartCode = 0;

    // One channel's settings, as requested.
    struct DmxChannel {
        uint8_t behaviour = DMX_BEHAV_OFF;
        uint8_t speed = 0;  // the behaviour steps every speed + 1 ticks
        uint8_t low = 0;
        uint8_t high = 0;
    };

    using RandomLevels = std::array<float, kRandomLevels>;

    explicit HalvexDMX(std::unique_ptr<DmxTransport> transport, DmxOutputTiming timing = DmxOutputTiming());
    // Stops and joins the output thread, then closes the interface.
    ~HalvexDMX() override;
    HalvexDMX(const HalvexDMX&) = delete;
    HalvexDMX& operator=(const HalvexDMX&) = delete;

    // dmxOpen: opens the interface and starts the output thread; clears the
    // frame and every behaviour, raises slot index 1 to 255 and draws the
    // random levels. False, and one line on the console, without an interface.
    bool Open();
    bool IsWorking() const { return working; }

    // dmxSetChannel.
    const char* SetChannel(const DmxChannelRequest& request) override;
    // dmxComputeFrame: once per simulation tick. Slots up to the highest
    // channel ever configured take their behaviour's value; the others keep
    // theirs.
    void ComputeFrame();

    // The frame the output thread sends next.
    std::array<uint8_t, kSlots> Frame() const;
    uint32_t FramesSent() const { return framesSent.load(); }

    // A behaviour's level at the tick count.
    static uint8_t SlotValue(const DmxChannel& channel, uint64_t tick, const RandomLevels& randomLevels);

private:
    void OutputThread();
    // Waits out the time unless the output stops first; false when it stops.
    bool WaitUnlessStopped(std::chrono::milliseconds time);
    void StopOutput();

    std::unique_ptr<DmxTransport> transport;
    const DmxOutputTiming timing;
    bool working = false;

    // Main thread.
    std::array<DmxChannel, kSlots> channels{};
    std::array<uint8_t, kSlots> frame{};
    RandomLevels randomLevels{};
    uint64_t tickCount = 0;
    int32_t highestChannel = 0;

    // Shared with the output thread.
    mutable std::mutex shared;
    std::array<uint8_t, kSlots> sharedFrame{};
    bool stopping = false;
    std::condition_variable wake;
    std::atomic<uint32_t> framesSent{0};
    std::thread output;
};
