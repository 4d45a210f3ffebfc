// The sound mixer's cost on the audio thread: one device block of 1024 frames
// at 48 kHz (21 ms of sound) with a busy bridge's voices playing, each
// resampled from 44.1 kHz, some at a changed pitch.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/base/QelAudioMixer.h"

namespace {

constexpr int32_t kOutputRate = 48000;
constexpr int32_t kSourceRate = 44100;
constexpr int32_t kBlockFrames = 1024;

void BM_MixBlock(benchmark::State& state)
{
    const int voices = static_cast<int>(state.range(0));
    QelAudioMixer mixer(kOutputRate);
    // Two seconds of a tone per voice; every other voice is stereo music.
    std::vector<std::vector<int16_t>> samples(voices);
    std::vector<std::unique_ptr<QelMixerVoice>> playing;
    for (int v = 0; v < voices; ++v) {
        const int channels = v % 2 + 1;
        samples[v].resize(static_cast<size_t>(2 * kSourceRate) * channels);
        for (size_t i = 0; i < samples[v].size(); ++i)
            samples[v][i] = static_cast<int16_t>(8000.0 * std::sin(0.01 * static_cast<double>(i) * (v + 1)));
        auto voice = std::make_unique<QelMixerVoice>(mixer, channels, kSourceRate, 5.0f);
        QelAudioBuffer buffer;
        buffer.samples = samples[v].data();
        buffer.frames = static_cast<uint32_t>(samples[v].size() / channels);
        buffer.loopCount = QelAudioBuffer::kLoopInfinite;
        voice->Submit(buffer);
        voice->SetFrequencyRatio(1.0f + 0.1f * static_cast<float>(v % 5));
        voice->SetVolume(0.2f);
        voice->Start();
        playing.push_back(std::move(voice));
    }
    std::vector<float> out(kBlockFrames * QelAudioMixer::kOutputChannels);
    for (auto _ : state) {
        mixer.Render(out.data(), kBlockFrames);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kBlockFrames * voices);
}
BENCHMARK(BM_MixBlock)->Arg(8)->Arg(32)->Arg(64);

}  // namespace
