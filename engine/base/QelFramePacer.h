#pragma once
// The adaptive sleep between frames: it holds the frame rate between about 30
// and 100 frames per second, judged on a heavily smoothed frame time, and
// yields the processor at least 1 ms every pass.

#include <cstdint>

class QelFramePacer {
public:
    // A single frame counts at most this long, so one stall cannot swamp the
    // smoothed time for minutes.
    static constexpr uint32_t kMaxCountedFrameMilliseconds = 1000;
    // Weight of the history against one new frame.
    static constexpr float kSmoothingWeight = 100.0f;
    // Above this smoothed rate the sleep grows by 1 ms per frame.
    static constexpr float kFastFramesPerSecond = 100.0f;
    // Below this smoothed rate the sleep shrinks by 1 ms per frame.
    static constexpr float kSlowFramesPerSecond = 30.0f;
    // The sleep never shrinks below this, so every pass yields.
    static constexpr int32_t kMinSleepMilliseconds = 1;

    // Measures the frame that just ended on the engine clock and returns the
    // milliseconds to sleep now.
    int32_t Pace();

    int32_t SleepPerFrame() const { return sleepPerFrame_; }
    float SmoothedFrameTime() const { return smoothedFrameTime_; }

private:
    uint32_t lastFrameTime_ = 0;    // clock ms at the last Pace
    int32_t sleepPerFrame_ = kMinSleepMilliseconds;
    float smoothedFrameTime_ = 0.0f; // ms
};
