#pragma once
// A sound effect on the game's mixer: the WAV file's samples held in memory
// and one voice that plays them. A sound whose file did not load has no
// voice: it plays nothing and reports a length of 0.

#include <memory>
#include <string>

#include "engine/base/QelAudioMixer.h"
#include "engine/base/QelSound.h"
#include "engine/base/QelWaveFile.h"

class QelSDLSound : public QelSound {
public:
    // How far above its recorded pitch an effect may be played.
    static constexpr float kMaxFrequencyRatio = 5.0f;

    // A loaded sound: its buffer is queued on a stopped voice, set to repeat,
    // as it stays until the first Play.
    QelSDLSound(std::string name, QelAudioMixer& mixer, QelWaveData wave);
    // A silent sound.
    explicit QelSDLSound(std::string name);

    void Play(float volume, float frequencyRatio, bool loop) override;
    void PlayFrom(int32_t frame) override;
    void Stop() override;
    void Start() override;
    void SetVolume(float volume) override;
    void SetFrequencyRatio(float ratio) override;
    bool IsPlaying() override;
    int64_t GetPosition() override;
    int32_t GetLength() override;
    float GetSample(int32_t frame) override;
    void SetSample(int32_t frame, float value) override;

    const std::string& Name() const { return name_; }

private:
    bool HoldsFrame(int32_t frame) const { return frame >= 0 && frame < wave_.Frames(); }
    // Queues the buffer again from its play begin.
    void Restart();

    std::string name_;
    QelAudioMixer* mixer_ = nullptr;
    QelWaveData wave_;
    QelAudioBuffer buffer_;  // the play begin and loop settings of the last play
    std::unique_ptr<QelMixerVoice> voice_;
    bool playing_ = false;
    int64_t positionOffset_ = 0;  // added to the voice's played frames
};
