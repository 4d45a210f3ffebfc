#include "engine/base/QelFramePacer.h"

#include <algorithm>
#include <limits>

#include "engine/base/QelClock.h"

int32_t QelFramePacer::Pace()
{
    const uint32_t now = qel::GetMilliseconds();
    const uint32_t elapsed = std::min(now - lastFrameTime_, kMaxCountedFrameMilliseconds);
    lastFrameTime_ = now;
    smoothedFrameTime_ = (smoothedFrameTime_ * kSmoothingWeight + static_cast<float>(elapsed)) /
                         (kSmoothingWeight + 1.0f);

    // A smoothed time of 0 (frames faster than the clock) counts as fast.
    const float rate = smoothedFrameTime_ > 0.0f ? 1000.0f / smoothedFrameTime_
                                                 : std::numeric_limits<float>::infinity();
    if (rate > kFastFramesPerSecond)
        ++sleepPerFrame_;
    if (rate < kSlowFramesPerSecond && sleepPerFrame_ > kMinSleepMilliseconds)
        --sleepPerFrame_;
    return sleepPerFrame_;
}
