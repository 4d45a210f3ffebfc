#pragma once
// One sound effect: a file loaded whole into memory, played through a voice
// of its own. Replaying restarts it; a looping sound plays until stopped.
// Frames are sample frames (one sample of every channel) at the file's rate.

#include <cstdint>

class QelSound {
public:
    virtual ~QelSound() = default;

    // Restarts from the first frame at the volume (1 is the file as recorded)
    // and the frequency ratio (1 is the recorded pitch; the voice's range
    // bounds it), looping until stopped when loop is set.
    virtual void Play(float volume, float frequencyRatio, bool loop) = 0;
    // Restarts from the frame, keeping the loop setting of the last Play (a
    // sound never played loops, as loaded).
    virtual void PlayFrom(int32_t frame) = 0;
    virtual void Stop() = 0;
    // Goes on from where Stop left it.
    virtual void Start() = 0;
    virtual void SetVolume(float volume) = 0;
    virtual void SetFrequencyRatio(float ratio) = 0;
    // Something is left to play and the sound was not stopped.
    virtual bool IsPlaying() = 0;
    // Frames played since the last Play, or the frame PlayFrom started at
    // plus the frames played since.
    virtual int64_t GetPosition() = 0;
    // Frames in the file; 0 for a sound whose file did not load.
    virtual int32_t GetLength() = 0;
    // The first channel's sample of the frame in -1..1; 0 outside the sound.
    virtual float GetSample(int32_t frame) = 0;
    // Stores the value (clamped to -1..1) as the first channel's sample of the
    // frame; ignored outside the sound.
    virtual void SetSample(int32_t frame, float value) = 0;
};
