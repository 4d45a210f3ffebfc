#include "engine/sdl/QelSDLStreamingSong.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/base/QelClock.h"
#include "engine/sdl/QelSDLSoundBase.h"

namespace {

// Seconds that are not a positive number mean at once.
float FadeSeconds(float seconds)
{
    return std::isfinite(seconds) && seconds > 0.0f ? seconds : 0.0f;
}

// The share of a fade of that length done at the time, 0..1.
float FadeProgress(uint32_t now, uint32_t start, float seconds)
{
    if (seconds <= 0.0f)
        return 1.0f;
    const float elapsed = static_cast<float>(static_cast<uint32_t>(now - start));
    return std::min(1.0f, elapsed / (seconds * 1000.0f));
}

}  // namespace

QelSDLStreamingSong::QelSDLStreamingSong(std::string name, std::string path, QelSDLSoundBase& service,
                                         QelAudioMixer& mixer)
    : name_(std::move(name)), path_(std::move(path)), service_(service), mixer_(mixer)
{
    if (OpenOgg())
        decoder_.Close();
}

bool QelSDLStreamingSong::OpenOgg()
{
    std::string error = "is not a name inside the data folder";
    if (path_.empty() || !decoder_.Open(path_, error)) {
        if (!reported_)
            std::fprintf(stderr, "Song \"%s\" (data/audio/%s.ogg): %s; it stays silent.\n", name_.c_str(),
                         name_.c_str(), error.c_str());
        reported_ = true;
        return false;
    }
    if (!voice_ || voiceChannels_ != decoder_.Channels() || voiceRate_ != decoder_.SampleRate()) {
        voice_.reset();
        voiceChannels_ = decoder_.Channels();
        voiceRate_ = decoder_.SampleRate();
        voice_ = std::make_unique<QelMixerVoice>(mixer_, voiceChannels_, voiceRate_, kMaxFrequencyRatio);
    }
    return true;
}

void QelSDLStreamingSong::Play(float fadeInSeconds, bool makeCurrent)
{
    playing_ = false;
    fadingOut_ = false;
    if (voice_) {
        voice_->Stop();
        voice_->Flush();
    }
    decoder_.Close();
    if (makeCurrent)
        service_.SetCurrentSong(this);
    if (!OpenOgg())
        return;

    playedBase_ = voice_->FramesPlayed();
    nextBuffer_ = 0;
    endOfStreamSubmitted_ = false;
    // The level is set before the first buffer is queued, so a fade in
    // starts from silence rather than gliding down to it.
    fadeInSeconds_ = FadeSeconds(fadeInSeconds);
    fadeInStart_ = qel::GetMilliseconds();
    fadingIn_ = fadeInSeconds_ > 0.0f;
    voice_->SetVolume(fadingIn_ ? 0.0f : volume_);
    QueueBuffers();
    playing_ = true;
    voice_->Start();
}

void QelSDLStreamingSong::QueueBuffers()
{
    if (endOfStreamSubmitted_) {
        if (voice_->QueuedBuffers() == 0)
            Finish();
        return;
    }
    std::vector<int16_t>& buffer = buffers_[nextBuffer_];
    buffer.resize(kBufferSamples);
    const int32_t maxFrames = kBufferSamples / voiceChannels_;
    const int32_t frames = decoder_.Decode(buffer.data(), maxFrames);
    // At the end of the file a looping song goes on from its start with the
    // next buffer.
    if (frames < maxFrames && !(looping_ && decoder_.SeekStart()))
        endOfStreamSubmitted_ = true;
    if (frames == 0)
        return;
    QelAudioBuffer queued;
    queued.samples = buffer.data();
    queued.frames = static_cast<uint32_t>(frames);
    voice_->Submit(queued);
    nextBuffer_ = (nextBuffer_ + 1) % kBufferCount;
}

void QelSDLStreamingSong::Update()
{
    if (!playing_)
        return;
    if (voice_->QueuedBuffers() < kQueuedTarget)
        QueueBuffers();
    if (!playing_)
        return;
    const uint32_t now = qel::GetMilliseconds();
    if (fadingOut_) {
        fadingIn_ = false;
        const float level = FadeOutLevel(now);
        if (level > 0.0f)
            voice_->SetVolume(level);
        else
            Finish();
    } else if (fadingIn_) {
        const float level = FadeInLevel(now);
        voice_->SetVolume(level);
        fadingIn_ = level < volume_;
    } else {
        voice_->SetVolume(volume_);
    }
}

void QelSDLStreamingSong::Finish()
{
    playing_ = false;
    fadingOut_ = false;
    voice_->Stop();
    voice_->Flush();
    decoder_.Close();
}

float QelSDLStreamingSong::FadeInLevel(uint32_t now) const
{
    return FadeProgress(now, fadeInStart_, fadeInSeconds_) * volume_;
}

float QelSDLStreamingSong::FadeOutLevel(uint32_t now) const
{
    return (1.0f - FadeProgress(now, fadeOutStart_, fadeOutSeconds_)) * fadeOutFrom_;
}

float QelSDLStreamingSong::HeardLevel(uint32_t now) const
{
    if (fadingOut_)
        return FadeOutLevel(now);
    return fadingIn_ ? FadeInLevel(now) : volume_;
}

// A fade out falls from the level heard when it begins, so a song caught in
// the middle of a fade in or an earlier fade out never jumps up first.
void QelSDLStreamingSong::FadeOut(float seconds)
{
    const uint32_t now = qel::GetMilliseconds();
    fadeOutFrom_ = playing_ ? HeardLevel(now) : volume_;
    fadeOutSeconds_ = FadeSeconds(seconds);
    fadeOutStart_ = now;
    fadingOut_ = true;
}

void QelSDLStreamingSong::Pause()
{
    playing_ = false;
}

void QelSDLStreamingSong::Resume()
{
    if (voice_)
        playing_ = true;
}

void QelSDLStreamingSong::SetVolume(float volume)
{
    volume_ = std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, QelMixerVoice::kMaxVolume);
    if (voice_)
        voice_->SetVolume(volume_);
}

bool QelSDLStreamingSong::IsPlaying()
{
    return playing_;
}

int64_t QelSDLStreamingSong::GetPosition()
{
    return voice_ ? static_cast<int64_t>(voice_->FramesPlayed() - playedBase_) : 0;
}

void QelSDLStreamingSong::SetOption(bool looping)
{
    looping_ = looping;
}
