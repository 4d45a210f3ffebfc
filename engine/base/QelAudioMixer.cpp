#include "engine/base/QelAudioMixer.h"

#include <algorithm>
#include <cmath>

#include "helper/QelAssert.h"

namespace {

constexpr float kSampleScale = 1.0f / 32768.0f;

bool Loops(uint32_t loopsLeft)
{
    return loopsLeft > 0;
}

}  // namespace

QelAudioMixer::QelAudioMixer(int32_t outputRate) : outputRate_(outputRate)
{
    QEL_ASSERT(outputRate > 0, "the mixer needs an output rate");
}

QelAudioMixer::~QelAudioMixer()
{
    QEL_ASSERT(voices_.empty(), "every voice ends before its mixer");
}

void QelAudioMixer::Render(float* out, int32_t frames)
{
    std::fill(out, out + static_cast<size_t>(frames) * kOutputChannels, 0.0f);
    std::lock_guard lock(mutex_);
    for (QelMixerVoice* voice : voices_)
        voice->MixInto(out, frames, outputRate_);
    for (float* sample = out; sample < out + static_cast<size_t>(frames) * kOutputChannels; ++sample)
        *sample = std::clamp(*sample, -1.0f, 1.0f);
}

QelMixerVoice::QelMixerVoice(QelAudioMixer& mixer, int32_t channels, int32_t sampleRate, float maxFrequencyRatio)
    : mixer_(mixer), channels_(channels), sampleRate_(sampleRate), maxFrequencyRatio_(maxFrequencyRatio)
{
    QEL_ASSERT(channels > 0 && sampleRate > 0 && maxFrequencyRatio >= 1.0f, "a voice needs channels and a rate");
    std::lock_guard lock(mixer_.mutex_);
    mixer_.voices_.push_back(this);
}

QelMixerVoice::~QelMixerVoice()
{
    std::lock_guard lock(mixer_.mutex_);
    std::erase(mixer_.voices_, this);
}

void QelMixerVoice::Start()
{
    std::lock_guard lock(mixer_.mutex_);
    running_ = true;
}

void QelMixerVoice::Stop()
{
    std::lock_guard lock(mixer_.mutex_);
    running_ = false;
}

bool QelMixerVoice::IsRunning()
{
    std::lock_guard lock(mixer_.mutex_);
    return running_;
}

void QelMixerVoice::Submit(const QelAudioBuffer& buffer)
{
    QueuedBuffer queued{buffer};
    queued.playEnd = buffer.playLength == 0 ? buffer.frames
                                            : static_cast<uint32_t>(std::min<uint64_t>(
                                                  uint64_t{buffer.playBegin} + buffer.playLength, buffer.frames));
    if (buffer.samples == nullptr || buffer.playBegin >= queued.playEnd)
        return;
    queued.loopEnd = buffer.loopLength == 0 ? queued.playEnd
                                            : static_cast<uint32_t>(std::min<uint64_t>(
                                                  uint64_t{buffer.loopBegin} + buffer.loopLength, queued.playEnd));
    // A loop region that holds no frame cannot repeat.
    queued.loopsLeft = buffer.loopBegin < queued.loopEnd ? buffer.loopCount : 0;

    std::lock_guard lock(mixer_.mutex_);
    if (queue_.empty())
        cursor_ = buffer.playBegin;
    queue_.push_back(queued);
}

void QelMixerVoice::Flush()
{
    std::lock_guard lock(mixer_.mutex_);
    queue_.clear();
    cursor_ = 0.0;
}

int32_t QelMixerVoice::QueuedBuffers()
{
    std::lock_guard lock(mixer_.mutex_);
    return static_cast<int32_t>(queue_.size());
}

uint64_t QelMixerVoice::FramesPlayed()
{
    std::lock_guard lock(mixer_.mutex_);
    return static_cast<uint64_t>(framesPlayed_);
}

void QelMixerVoice::SetVolume(float volume)
{
    std::lock_guard lock(mixer_.mutex_);
    volume_ = std::isnan(volume) ? 0.0f : std::clamp(volume, -kMaxVolume, kMaxVolume);
}

float QelMixerVoice::Volume()
{
    std::lock_guard lock(mixer_.mutex_);
    return volume_;
}

void QelMixerVoice::SetFrequencyRatio(float ratio)
{
    std::lock_guard lock(mixer_.mutex_);
    frequencyRatio_ = std::isnan(ratio) ? 1.0f : std::clamp(ratio, kMinFrequencyRatio, maxFrequencyRatio_);
}

float QelMixerVoice::FrequencyRatio()
{
    std::lock_guard lock(mixer_.mutex_);
    return frequencyRatio_;
}

void QelMixerVoice::FrameAt(const QueuedBuffer& queued, uint32_t frame, float& left, float& right) const
{
    const int16_t* at = queued.buffer.samples + static_cast<size_t>(frame) * channels_;
    left = at[0] * kSampleScale;
    right = channels_ > 1 ? at[1] * kSampleScale : left;
}

// Inside a repeating region the frame after its end is its start; at the end
// of the played frames the last frame is held.
uint32_t QelMixerVoice::FollowingFrame(const QueuedBuffer& queued, uint32_t frame) const
{
    const uint32_t next = frame + 1;
    if (Loops(queued.loopsLeft) && next >= queued.loopEnd)
        return queued.buffer.loopBegin;
    return next < queued.playEnd ? next : frame;
}

void QelMixerVoice::Advance()
{
    while (!queue_.empty()) {
        QueuedBuffer& front = queue_.front();
        if (Loops(front.loopsLeft) && cursor_ >= front.loopEnd) {
            const double loopFrames = front.loopEnd - front.buffer.loopBegin;
            if (front.loopsLeft == QelAudioBuffer::kLoopInfinite) {
                cursor_ = front.buffer.loopBegin + std::fmod(cursor_ - front.buffer.loopBegin, loopFrames);
            } else {
                cursor_ -= loopFrames;
                --front.loopsLeft;
            }
            continue;
        }
        if (cursor_ < front.playEnd)
            return;
        const double overshoot = cursor_ - front.playEnd;
        queue_.pop_front();
        cursor_ = queue_.empty() ? 0.0 : queue_.front().buffer.playBegin + overshoot;
    }
}

void QelMixerVoice::MixInto(float* out, int32_t frames, int32_t outputRate)
{
    if (!running_ || queue_.empty()) {
        heardLastBlock_ = false;
        return;
    }
    if (!heardLastBlock_)
        heardVolume_ = volume_;
    heardLastBlock_ = true;
    const double step = static_cast<double>(sampleRate_) * frequencyRatio_ / outputRate;
    const float volumeStep = (volume_ - heardVolume_) / static_cast<float>(frames);
    float volume = heardVolume_;
    for (int32_t i = 0; i < frames && !queue_.empty(); ++i) {
        const QueuedBuffer& front = queue_.front();
        const uint32_t frame = static_cast<uint32_t>(cursor_);
        const float fraction = static_cast<float>(cursor_ - frame);
        float left = 0.0f, right = 0.0f, nextLeft = 0.0f, nextRight = 0.0f;
        FrameAt(front, frame, left, right);
        FrameAt(front, FollowingFrame(front, frame), nextLeft, nextRight);
        volume += volumeStep;
        out[i * 2] += (left + (nextLeft - left) * fraction) * volume;
        out[i * 2 + 1] += (right + (nextRight - right) * fraction) * volume;
        cursor_ += step;
        framesPlayed_ += step;
        Advance();
    }
    heardVolume_ = volume_;
}
