#pragma once
// A song on the game's mixer: its Ogg Vorbis file decoded into a ring of
// three buffers that the per-frame update refills, so at most two wait in the
// voice while the third is filled. The voice runs at the file's own rate.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/base/QelAudioMixer.h"
#include "engine/base/QelOggStream.h"
#include "engine/base/QelStreamingSong.h"

class QelSDLSoundBase;

class QelSDLStreamingSong : public QelStreamingSong {
public:
    static constexpr int32_t kBufferCount = 3;
    // Samples (all channels) one refill decodes: about two seconds of CD stereo.
    static constexpr int32_t kBufferSamples = 196608;
    // Refill while fewer buffers than this are queued.
    static constexpr int32_t kQueuedTarget = 2;
    // How far above its recorded pitch music may be played.
    static constexpr float kMaxFrequencyRatio = 2.0f;

    // A song of the file (an operating-system path; empty: the name was
    // refused), played through the service's mixer. The file is opened once
    // to learn its format; a file that does not open is reported once.
    QelSDLStreamingSong(std::string name, std::string path, QelSDLSoundBase& service, QelAudioMixer& mixer);

    void Play(float fadeInSeconds, bool makeCurrent) override;
    void FadeOut(float seconds) override;
    void Pause() override;
    void Resume() override;
    void SetVolume(float volume) override;
    bool IsPlaying() override;
    int64_t GetPosition() override;
    void SetOption(bool looping) override;

    // Once per frame: refills the queue and runs the fades.
    void Update();
    bool IsFadingOut() const { return fadingOut_; }

    const std::string& Name() const { return name_; }

private:
    // Opens the decoder, making the voice for the file's format when it has
    // none of that format yet; false when the file cannot be decoded.
    bool OpenOgg();
    void QueueBuffers();
    // Playing ends: no refills, the voice stops, the decoder closes.
    void Finish();
    // The levels the fades have reached at the time, and the level heard.
    float FadeInLevel(uint32_t now) const;
    float FadeOutLevel(uint32_t now) const;
    float HeardLevel(uint32_t now) const;

    std::string name_;
    std::string path_;
    QelSDLSoundBase& service_;
    QelAudioMixer& mixer_;
    bool reported_ = false;  // a file fault was reported once

    bool looping_ = true;
    std::array<std::vector<int16_t>, kBufferCount> buffers_;
    QelOggStream decoder_;
    std::unique_ptr<QelMixerVoice> voice_;
    int32_t voiceChannels_ = 0;
    int32_t voiceRate_ = 0;
    float volume_ = 1.0f;     // 0..QelMixerVoice::kMaxVolume, the level a fade in rises to
    float fadeOutFrom_ = 0.0f;  // the level a fade out falls from

    bool playing_ = false;
    bool fadingOut_ = false;
    bool fadingIn_ = false;
    bool endOfStreamSubmitted_ = false;
    int32_t nextBuffer_ = 0;  // 0..kBufferCount-1

    uint32_t fadeOutStart_ = 0;  // engine clock, milliseconds
    uint32_t fadeInStart_ = 0;
    float fadeOutSeconds_ = 0.0f;
    float fadeInSeconds_ = 0.0f;
    uint64_t playedBase_ = 0;  // the voice's played frames when Play began
};
