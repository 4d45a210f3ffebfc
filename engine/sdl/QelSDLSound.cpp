#include "engine/sdl/QelSDLSound.h"

#include <algorithm>
#include <cmath>
#include <utility>

QelSDLSound::QelSDLSound(std::string name, QelAudioMixer& mixer, QelWaveData wave)
    : name_(std::move(name)), mixer_(&mixer), wave_(std::move(wave))
{
    voice_ = std::make_unique<QelMixerVoice>(mixer, wave_.Channels(), static_cast<int32_t>(wave_.format.sampleRate),
                                             kMaxFrequencyRatio);
    buffer_.samples = wave_.samples.data();
    buffer_.frames = static_cast<uint32_t>(wave_.Frames());
    buffer_.loopLength = buffer_.frames;
    buffer_.loopCount = QelAudioBuffer::kLoopInfinite;
    voice_->Submit(buffer_);
}

QelSDLSound::QelSDLSound(std::string name) : name_(std::move(name)) {}

void QelSDLSound::Restart()
{
    voice_->Stop();
    voice_->Flush();
    voice_->Submit(buffer_);
}

void QelSDLSound::Play(float volume, float frequencyRatio, bool loop)
{
    if (!voice_)
        return;
    buffer_.playBegin = 0;
    buffer_.loopLength = 0;
    buffer_.loopCount = loop ? QelAudioBuffer::kLoopInfinite : 0;
    Restart();
    positionOffset_ = -static_cast<int64_t>(voice_->FramesPlayed());
    voice_->SetFrequencyRatio(frequencyRatio);
    voice_->SetVolume(volume);
    voice_->Start();
    playing_ = true;
}

void QelSDLSound::PlayFrom(int32_t frame)
{
    if (!voice_ || !HoldsFrame(frame))
        return;
    positionOffset_ = frame - static_cast<int64_t>(voice_->FramesPlayed());
    buffer_.playBegin = static_cast<uint32_t>(frame);
    Restart();
    voice_->Start();
    playing_ = true;
}

void QelSDLSound::Stop()
{
    if (voice_)
        voice_->Stop();
    playing_ = false;
}

void QelSDLSound::Start()
{
    if (!voice_)
        return;
    voice_->Start();
    playing_ = true;
}

void QelSDLSound::SetVolume(float volume)
{
    if (voice_)
        voice_->SetVolume(volume);
}

void QelSDLSound::SetFrequencyRatio(float ratio)
{
    if (voice_)
        voice_->SetFrequencyRatio(ratio);
}

bool QelSDLSound::IsPlaying()
{
    return voice_ && playing_ && voice_->QueuedBuffers() > 0;
}

int64_t QelSDLSound::GetPosition()
{
    return voice_ ? static_cast<int64_t>(voice_->FramesPlayed()) + positionOffset_ : 0;
}

int32_t QelSDLSound::GetLength()
{
    return wave_.Frames();
}

float QelSDLSound::GetSample(int32_t frame)
{
    if (!HoldsFrame(frame))
        return 0.0f;
    return wave_.samples[static_cast<size_t>(frame) * wave_.Channels()] / 32767.0f;
}

void QelSDLSound::SetSample(int32_t frame, float value)
{
    if (!HoldsFrame(frame) || std::isnan(value))
        return;
    const auto sample = static_cast<int16_t>(std::clamp(value, -1.0f, 1.0f) * 32767.0f);
    const auto hold = mixer_->HoldRendering();
    wave_.samples[static_cast<size_t>(frame) * wave_.Channels()] = sample;
}
