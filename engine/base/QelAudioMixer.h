#pragma once
// The game's own software mixer. Voices play queues of 16-bit buffers at
// their own sample rate; the mixer resamples each to the output rate (linear
// interpolation, which is also how a voice's pitch changes), scales it by its
// volume and sums every running voice into interleaved stereo floats.
//
// The platform's audio thread calls Render; the main thread starts, stops,
// feeds and tunes voices. Both sides take the mixer's lock, held only for a
// voice operation or one rendered block.

#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

class QelMixerVoice;

// One stretch of samples queued on a voice. The samples stay owned by the
// submitter and must outlive the buffer's time in the queue (until it has
// played out, or the voice is flushed or destroyed).
struct QelAudioBuffer {
    // A loop count that repeats the loop region until the voice is flushed.
    static constexpr uint32_t kLoopInfinite = 255;

    const int16_t* samples = nullptr;  // interleaved by channel
    uint32_t frames = 0;
    uint32_t playBegin = 0;   // first frame played
    uint32_t playLength = 0;  // frames played from playBegin; 0: to the end
    uint32_t loopBegin = 0;   // where each repeat starts
    uint32_t loopLength = 0;  // frames repeated; 0: to the end of the played frames
    uint32_t loopCount = 0;   // repeats of the loop region; kLoopInfinite: without end
};

class QelAudioMixer {
public:
    // Interleaved left and right.
    static constexpr int32_t kOutputChannels = 2;

    explicit QelAudioMixer(int32_t outputRate);
    ~QelAudioMixer();
    QelAudioMixer(const QelAudioMixer&) = delete;
    QelAudioMixer& operator=(const QelAudioMixer&) = delete;

    int32_t OutputRate() const { return outputRate_; }

    // Replaces out (frames × 2 floats) with the sum of every running voice,
    // clipped to -1..1.
    void Render(float* out, int32_t frames);

    // Holds rendering back between blocks, while sample data that a queued
    // buffer points at is changed.
    std::unique_lock<std::mutex> HoldRendering() { return std::unique_lock(mutex_); }

private:
    friend class QelMixerVoice;

    const int32_t outputRate_;
    std::mutex mutex_;
    std::vector<QelMixerVoice*> voices_;  // every voice alive, running or not
};

class QelMixerVoice {
public:
    // Frequency ratios below this are silence in all but name.
    static constexpr float kMinFrequencyRatio = 1.0f / 1024.0f;
    // Louder than this only clips.
    static constexpr float kMaxVolume = 16.0f;

    // A stopped voice of the channel count (the first two are heard; one
    // channel plays on both sides) at its sample rate.
    QelMixerVoice(QelAudioMixer& mixer, int32_t channels, int32_t sampleRate, float maxFrequencyRatio);
    ~QelMixerVoice();
    QelMixerVoice(const QelMixerVoice&) = delete;
    QelMixerVoice& operator=(const QelMixerVoice&) = delete;

    // Playing resumes where it stopped.
    void Start();
    void Stop();
    bool IsRunning();

    // Appends the buffer to the queue; one with no frames to play is ignored.
    void Submit(const QelAudioBuffer& buffer);
    // Drops every queued buffer; the next one starts at its own play begin.
    void Flush();
    // Buffers queued and not yet played out.
    int32_t QueuedBuffers();
    // Frames of the voice's own rate played since it was made.
    uint64_t FramesPlayed();

    // A volume that is not a number is silence; either sign is bounded by
    // kMaxVolume. Changes while the voice is heard glide over the next
    // rendered block, so they never click.
    void SetVolume(float volume);
    float Volume();
    // Bounded by kMinFrequencyRatio and the voice's maximum; not a number: 1.
    void SetFrequencyRatio(float ratio);
    float FrequencyRatio();

private:
    friend class QelAudioMixer;

    struct QueuedBuffer {
        QelAudioBuffer buffer;
        uint32_t playEnd = 0;     // one past the last frame played
        uint32_t loopEnd = 0;     // one past the last frame repeated
        uint32_t loopsLeft = 0;   // repeats still to come (kLoopInfinite: forever)
    };

    // Under the mixer's lock, from Render.
    void MixInto(float* out, int32_t frames, int32_t outputRate);
    // The left and right samples at the frame of the front buffer, and the
    // frame that follows it in playing order (for interpolation).
    void FrameAt(const QueuedBuffer& queued, uint32_t frame, float& left, float& right) const;
    uint32_t FollowingFrame(const QueuedBuffer& queued, uint32_t frame) const;
    // Moves the cursor past loop ends and finished buffers.
    void Advance();

    QelAudioMixer& mixer_;
    const int32_t channels_;
    const int32_t sampleRate_;
    const float maxFrequencyRatio_;

    std::deque<QueuedBuffer> queue_;
    double cursor_ = 0.0;         // frame of the front buffer, with its fraction
    double framesPlayed_ = 0.0;
    bool running_ = false;
    float volume_ = 1.0f;         // the level asked for
    float heardVolume_ = 1.0f;    // the level the last rendered block ended on
    bool heardLastBlock_ = false;  // a voice that was silent starts at its level, without a glide
    float frequencyRatio_ = 1.0f;
};
