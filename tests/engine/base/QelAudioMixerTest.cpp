#include "engine/base/QelAudioMixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int32_t kRate = 8000;

// Renders frames and returns the interleaved output.
std::vector<float> Render(QelAudioMixer& mixer, int32_t frames)
{
    std::vector<float> out(static_cast<size_t>(frames) * 2, 99.0f);
    mixer.Render(out.data(), frames);
    return out;
}

// The left samples of a rendered block.
std::vector<float> Left(const std::vector<float>& out)
{
    std::vector<float> left;
    for (size_t i = 0; i < out.size(); i += 2)
        left.push_back(out[i]);
    return left;
}

// Output frames until the voice has nothing left, rendering a frame at a time.
int32_t FramesUntilSilent(QelAudioMixer& mixer, QelMixerVoice& voice, int32_t limit = 100000)
{
    int32_t frames = 0;
    while (voice.QueuedBuffers() > 0 && frames < limit) {
        Render(mixer, 1);
        ++frames;
    }
    return frames;
}

QelAudioBuffer BufferOf(const std::vector<int16_t>& samples, int32_t channels)
{
    QelAudioBuffer buffer;
    buffer.samples = samples.data();
    buffer.frames = static_cast<uint32_t>(samples.size() / channels);
    return buffer;
}

// Steps that are easy to follow through the mixer.
const std::vector<int16_t> kSteps = {8192, 16384, -8192, -16384};

TEST(QelAudioMixerTest, a_voice_at_the_output_rate_plays_its_samples_as_they_are)
{
    QelAudioMixer mixer(kRate);
    QelMixerVoice mono(mixer, 1, kRate, 1.0f);
    mono.Submit(BufferOf(kSteps, 1));
    mono.Start();
    const std::vector<float> expected = {0.25f, 0.25f, 0.5f, 0.5f, -0.25f, -0.25f, -0.5f, -0.5f, 0, 0, 0, 0};
    EXPECT_EQ(Render(mixer, 6), expected);
    EXPECT_EQ(mono.QueuedBuffers(), 0);
    EXPECT_EQ(mono.FramesPlayed(), 4u);

    const std::vector<int16_t> stereo = {8192, -8192, 16384, 0};
    QelMixerVoice sides(mixer, 2, kRate, 1.0f);
    sides.Submit(BufferOf(stereo, 2));
    sides.Start();
    EXPECT_EQ(Render(mixer, 2), (std::vector<float>{0.25f, -0.25f, 0.5f, 0.0f}));
}

TEST(QelAudioMixerTest, nothing_plays_before_start_and_stop_holds_the_place)
{
    QelAudioMixer mixer(kRate);
    QelMixerVoice voice(mixer, 1, kRate, 1.0f);
    voice.Submit(BufferOf(kSteps, 1));
    EXPECT_EQ(Render(mixer, 2), std::vector<float>(4, 0.0f));
    voice.Start();
    EXPECT_EQ(Left(Render(mixer, 1)), std::vector<float>{0.25f});
    voice.Stop();
    EXPECT_EQ(Left(Render(mixer, 3)), std::vector<float>(3, 0.0f));
    voice.Start();
    EXPECT_EQ(Left(Render(mixer, 1)), std::vector<float>{0.5f});
    voice.Flush();
    EXPECT_EQ(voice.QueuedBuffers(), 0);
    EXPECT_EQ(Left(Render(mixer, 1)), std::vector<float>{0.0f});
}

TEST(QelAudioMixerTest, resampling_stretches_a_slower_voice_and_its_pitch_by_the_frequency_ratio)
{
    const std::vector<int16_t> halfSecond(kRate / 2, 1000);  // 4000 frames
    const struct {
        const char* name;
        int32_t voiceRate;
        float ratio;
        int32_t expectedFrames;
    } cases[] = {
        {"same rate", kRate, 1.0f, 4000},
        {"half the output rate lasts twice as long", kRate / 2, 1.0f, 8000},
        {"double the output rate lasts half", kRate * 2, 1.0f, 2000},
        {"a ratio of 2 lasts half", kRate, 2.0f, 2000},
        {"a ratio above the voice's maximum is bounded", kRate, 9.0f, 1000},
        {"a ratio that is not a number is 1", kRate, NAN, 4000},
    };
    for (const auto& c : cases) {
        QelAudioMixer mixer(kRate);
        QelMixerVoice voice(mixer, 1, c.voiceRate, 4.0f);
        voice.SetFrequencyRatio(c.ratio);
        voice.Submit(BufferOf(halfSecond, 1));
        voice.Start();
        EXPECT_NEAR(FramesUntilSilent(mixer, voice), c.expectedFrames, 1) << c.name;
    }
}

TEST(QelAudioMixerTest, resampling_interpolates_between_frames)
{
    QelAudioMixer mixer(kRate);
    const std::vector<int16_t> ramp = {0, 8192, 16384};
    QelMixerVoice voice(mixer, 1, kRate / 2, 1.0f);
    voice.Submit(BufferOf(ramp, 1));
    voice.Start();
    EXPECT_EQ(Left(Render(mixer, 7)), (std::vector<float>{0.0f, 0.125f, 0.25f, 0.375f, 0.5f, 0.5f, 0.0f}));
}

TEST(QelAudioMixerTest, loops_repeat_their_region_the_asked_number_of_times)
{
    const std::vector<int16_t> five = {1000, 2000, 3000, 4000, 5000};
    const struct {
        const char* name;
        uint32_t playBegin, playLength, loopBegin, loopLength, loopCount;
        std::vector<int16_t> heard;
    } cases[] = {
        {"whole buffer twice more", 0, 0, 0, 0, 2,
         {1000, 2000, 3000, 4000, 5000, 1000, 2000, 3000, 4000, 5000, 1000, 2000, 3000, 4000, 5000}},
        {"inner region once more", 0, 0, 1, 2, 1, {1000, 2000, 3000, 2000, 3000, 4000, 5000}},
        {"play region only", 1, 3, 0, 0, 0, {2000, 3000, 4000}},
        {"start after the loop begin still loops back", 3, 0, 0, 0, 1, {4000, 5000, 1000, 2000, 3000, 4000, 5000}},
        {"an empty loop region plays through", 0, 0, 5, 3, 4, {1000, 2000, 3000, 4000, 5000}},
    };
    for (const auto& c : cases) {
        QelAudioMixer mixer(kRate);
        QelMixerVoice voice(mixer, 1, kRate, 1.0f);
        QelAudioBuffer buffer = BufferOf(five, 1);
        buffer.playBegin = c.playBegin;
        buffer.playLength = c.playLength;
        buffer.loopBegin = c.loopBegin;
        buffer.loopLength = c.loopLength;
        buffer.loopCount = c.loopCount;
        voice.Submit(buffer);
        voice.Start();
        std::vector<float> expected;
        for (int16_t sample : c.heard)
            expected.push_back(sample / 32768.0f);
        expected.resize(expected.size() + 2, 0.0f);
        EXPECT_EQ(Left(Render(mixer, static_cast<int32_t>(expected.size()))), expected) << c.name;
        EXPECT_EQ(voice.QueuedBuffers(), 0) << c.name;
    }
}

TEST(QelAudioMixerTest, an_endless_loop_keeps_its_buffer_until_flushed)
{
    QelAudioMixer mixer(kRate);
    QelMixerVoice voice(mixer, 1, kRate, 4.0f);
    QelAudioBuffer buffer = BufferOf(kSteps, 1);
    buffer.loopCount = QelAudioBuffer::kLoopInfinite;
    voice.Submit(buffer);
    voice.SetFrequencyRatio(3.0f);
    voice.Start();
    for (int block = 0; block < 50; ++block)
        Render(mixer, 997);
    EXPECT_EQ(voice.QueuedBuffers(), 1);
    EXPECT_EQ(voice.FramesPlayed(), 50u * 997u * 3u);
    voice.Flush();
    EXPECT_EQ(voice.QueuedBuffers(), 0);
}

TEST(QelAudioMixerTest, queued_buffers_follow_each_other_without_a_gap)
{
    QelAudioMixer mixer(kRate);
    QelMixerVoice voice(mixer, 1, kRate, 1.0f);
    const std::vector<int16_t> first = {1000, 2000};
    const std::vector<int16_t> second = {3000};
    voice.Submit(BufferOf(first, 1));
    voice.Submit(BufferOf(second, 1));
    voice.Submit(QelAudioBuffer{});  // nothing to play: ignored
    EXPECT_EQ(voice.QueuedBuffers(), 2);
    voice.Start();
    EXPECT_EQ(Left(Render(mixer, 4)), (std::vector<float>{1000 / 32768.0f, 2000 / 32768.0f, 3000 / 32768.0f, 0}));
}

TEST(QelAudioMixerTest, volume_scales_and_a_change_glides_over_one_block)
{
    QelAudioMixer mixer(kRate);
    const std::vector<int16_t> level(100, 16384);  // 0.5
    QelMixerVoice voice(mixer, 1, kRate, 1.0f);
    voice.SetVolume(0.5f);
    voice.Submit(BufferOf(level, 1));
    voice.Start();
    EXPECT_EQ(Left(Render(mixer, 4)), std::vector<float>(4, 0.25f));
    voice.SetVolume(1.0f);
    const std::vector<float> glide = Left(Render(mixer, 4));
    EXPECT_FLOAT_EQ(glide[0], 0.5f * 0.625f);
    EXPECT_FLOAT_EQ(glide[3], 0.5f);
    EXPECT_TRUE(std::is_sorted(glide.begin(), glide.end()));
    EXPECT_EQ(Left(Render(mixer, 2)), std::vector<float>(2, 0.5f));

    voice.SetVolume(NAN);
    EXPECT_EQ(voice.Volume(), 0.0f);
    voice.SetVolume(1000.0f);
    EXPECT_EQ(voice.Volume(), QelMixerVoice::kMaxVolume);
}

TEST(QelAudioMixerTest, voices_add_up_and_the_sum_is_clipped)
{
    QelAudioMixer mixer(kRate);
    const std::vector<int16_t> loud = {24576, -24576, 8192};  // 0.75, -0.75, 0.25
    QelMixerVoice first(mixer, 1, kRate, 1.0f);
    QelMixerVoice second(mixer, 1, kRate, 1.0f);
    for (QelMixerVoice* voice : {&first, &second}) {
        voice->Submit(BufferOf(loud, 1));
        voice->Start();
    }
    EXPECT_EQ(Left(Render(mixer, 3)), (std::vector<float>{1.0f, -1.0f, 0.5f}));
}

}  // namespace
