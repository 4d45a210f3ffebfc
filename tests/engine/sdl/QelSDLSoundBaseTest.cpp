#include "engine/sdl/QelSDLSoundBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "engine/base/QelClock.h"
#include "tests/engine/base/WaveBytes.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr int32_t kOutputRate = 44100;
constexpr int32_t kBlock = 1024;
const std::string kFixtures = std::string(QEL_TEST_FIXTURES) + "/audio/";

// A sound service without a device over a data folder of its own; the test
// plays the audio thread by rendering blocks and the frame by updating songs.
class QelSDLSoundBaseTest : public ::testing::Test {
protected:
    QelSDLSoundBaseTest() { sound.InitializeWithoutDevice(kOutputRate); }

    void AddSong(const std::string& name, const std::string& fixture)
    {
        std::filesystem::create_directories((data.Path() / "audio" / name).parent_path());
        std::filesystem::copy_file(kFixtures + fixture, data.Path() / "audio" / (name + ".ogg"));
    }

    // One frame of the game: the songs update, then the device takes a block.
    std::vector<float> Frame()
    {
        sound.UpdateSongs();
        std::vector<float> out(kBlock * 2);
        sound.Mixer()->Render(out.data(), kBlock);
        return out;
    }

    // The loudest left sample of a block.
    static float Peak(const std::vector<float>& out)
    {
        float peak = 0.0f;
        for (size_t i = 0; i < out.size(); i += 2)
            peak = std::max(peak, std::abs(out[i]));
        return peak;
    }

    // The level of a song after the clock moved on: one frame applies the
    // new level (the mixer glides to it), the next one is heard at it.
    float LevelAfter(uint32_t milliseconds)
    {
        clock.Advance(milliseconds);
        Frame();
        return Peak(Frame()) / 0.5f;  // the tones are at half scale
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qel::ManualClock clock{1000};
    QelSDLSoundBase sound;
};

TEST_F(QelSDLSoundBaseTest, without_a_device_the_service_is_not_working_and_makes_nothing)
{
    QelSDLSoundBase dummy;  // the tests run on SDL's dummy audio driver
    EXPECT_FALSE(dummy.Initialize());
    EXPECT_FALSE(dummy.IsWorking());
    EXPECT_EQ(dummy.GetSound("gui/button"), nullptr);
    EXPECT_EQ(dummy.GetStreamingSong("music/a"), nullptr);
    EXPECT_TRUE(sound.IsWorking());
}

TEST_F(QelSDLSoundBaseTest, a_sound_reports_its_length_and_samples_of_the_first_channel)
{
    std::vector<int16_t> samples(2000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(i % 2 == 0 ? i : -7);
    data.Write("audio/sfx/stereo.wav", qeltest::Wave16(2, 22050, samples));
    QelSound* stereo = sound.GetSound("sfx/stereo");
    ASSERT_NE(stereo, nullptr);
    EXPECT_EQ(sound.GetSound("sfx/stereo"), stereo);
    EXPECT_EQ(sound.FindSound("sfx/stereo"), stereo);
    EXPECT_EQ(stereo->GetLength(), 1000);
    EXPECT_FLOAT_EQ(stereo->GetSample(999), 1998 / 32767.0f);
    EXPECT_EQ(stereo->GetSample(1000), 0.0f);
    EXPECT_EQ(stereo->GetSample(-1), 0.0f);
    stereo->SetSample(3, 0.5f);
    stereo->SetSample(4, 7.0f);
    stereo->SetSample(1000, 1.0f);
    EXPECT_FLOAT_EQ(stereo->GetSample(3), 16383 / 32767.0f);
    EXPECT_FLOAT_EQ(stereo->GetSample(4), 1.0f);
    EXPECT_EQ(stereo->GetLength(), 1000);
}

TEST_F(QelSDLSoundBaseTest, a_sound_plays_once_or_loops_until_stopped_at_its_volume_and_pitch)
{
    data.Write("audio/beep.wav", qeltest::Wave16(1, kOutputRate, std::vector<int16_t>(300, 16384)));
    QelSound* beep = sound.GetSound("short", "beep");
    ASSERT_NE(beep, nullptr);
    EXPECT_FALSE(beep->IsPlaying());

    beep->Play(0.5f, 1.0f, false);
    EXPECT_TRUE(beep->IsPlaying());
    std::vector<float> out(600 * 2);
    sound.Mixer()->Render(out.data(), 600);
    EXPECT_FLOAT_EQ(out[0], 0.25f);
    EXPECT_FLOAT_EQ(out[299 * 2], 0.25f);
    EXPECT_EQ(out[300 * 2], 0.0f);
    EXPECT_FALSE(beep->IsPlaying());
    EXPECT_EQ(beep->GetPosition(), 300);

    beep->Play(1.0f, 2.0f, true);
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_TRUE(beep->IsPlaying());
    EXPECT_EQ(beep->GetPosition(), 10 * kBlock * 2);
    beep->Stop();
    EXPECT_FALSE(beep->IsPlaying());
    EXPECT_EQ(Peak(Frame()), 0.0f);
    beep->Start();
    EXPECT_GT(Peak(Frame()), 0.4f);
}

TEST_F(QelSDLSoundBaseTest, play_from_a_frame_keeps_the_loop_setting_and_counts_the_position_from_there)
{
    data.Write("audio/hum.wav", qeltest::Wave16(1, kOutputRate, std::vector<int16_t>(500, 8192)));
    QelSound* hum = sound.GetSound("hum");
    // Never played: the sound loops, as it was loaded.
    hum->PlayFrom(400);
    EXPECT_EQ(hum->GetPosition(), 400);
    for (int i = 0; i < 5; ++i)
        Frame();
    EXPECT_TRUE(hum->IsPlaying());
    EXPECT_EQ(hum->GetPosition(), 400 + 5 * kBlock);

    hum->Play(1.0f, 1.0f, false);
    hum->PlayFrom(400);
    Frame();
    EXPECT_FALSE(hum->IsPlaying());
    hum->PlayFrom(500);  // beyond the sound: nothing
    EXPECT_FALSE(hum->IsPlaying());
}

TEST_F(QelSDLSoundBaseTest, a_sound_that_cannot_be_played_is_silent_and_reported_once)
{
    data.Write("audio/broken.wav", "RIFF....WAVEnothing");
    data.Write("audio/twelve.wav", qeltest::WaveBytes().Format(1, 1, 8000, 12, 2).Samples16({1}).Text());
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"absent", "cannot be read"},
        {"broken", "no \"fmt \" chunk"},
        {"twelve", "12-bit"},
        {"../outside", "not a name inside the data folder"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        QelSound* silent = sound.GetSound(c.name);
        ASSERT_NE(silent, nullptr) << c.name;
        EXPECT_EQ(sound.GetSound(c.name), silent);
        silent->Play(1.0f, 1.0f, true);
        silent->PlayFrom(0);
        silent->Start();
        silent->SetSample(0, 1.0f);
        EXPECT_FALSE(silent->IsPlaying()) << c.name;
        EXPECT_EQ(silent->GetLength(), 0);
        EXPECT_EQ(silent->GetPosition(), 0);
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find(std::string("\"") + c.name + "\""), std::string::npos) << log;
        EXPECT_NE(log.find(c.reason), std::string::npos) << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    }
    EXPECT_EQ(Peak(Frame()), 0.0f);
}

TEST_F(QelSDLSoundBaseTest, sound_files_exist_as_wav_or_ogg_inside_the_data_folder)
{
    data.Write("audio/a.wav", "x");
    data.Write("audio/music/b.ogg", "x");
    data.Write("outside.wav", "x");
    EXPECT_TRUE(sound.SoundFileExists("a"));
    EXPECT_TRUE(sound.SoundFileExists("music/b"));
    EXPECT_TRUE(sound.SoundFileExists("music\\b"));
    EXPECT_FALSE(sound.SoundFileExists("c"));
    EXPECT_FALSE(sound.SoundFileExists("../outside"));
    EXPECT_FALSE(sound.SoundFileExists(""));
}

TEST_F(QelSDLSoundBaseTest, a_song_plays_at_its_own_rate_and_ends_unless_it_loops)
{
    AddSong("music/mono", "tone_22050_mono.ogg");
    AddSong("music/stereo", "tone_44100_stereo.ogg");
    const struct {
        const char* name;
        int32_t expectedFrames;  // at the output rate
    } cases[] = {{"music/mono", 22050}, {"music/stereo", 11025}};
    for (const auto& c : cases) {
        QelStreamingSong* song = sound.GetStreamingSong(c.name);
        ASSERT_NE(song, nullptr);
        song->SetOption(false);
        song->Play(0.0f, false);
        int frames = 0;
        while (song->IsPlaying() && frames < 40) {
            Frame();
            ++frames;
        }
        EXPECT_FALSE(song->IsPlaying()) << c.name;
        // Each frame renders a block: the song ended within the block after
        // its last frame played, and the end is noticed one frame later.
        EXPECT_EQ(frames, c.expectedFrames / kBlock + 2) << c.name;
        EXPECT_NEAR(song->GetPosition(), 11025, 1) << c.name;  // both files hold 11025 frames
    }
    QelStreamingSong* looping = sound.GetStreamingSong("music/mono");
    looping->SetOption(true);
    looping->Play(0.0f, false);
    for (int i = 0; i < 100; ++i)
        Frame();
    EXPECT_TRUE(looping->IsPlaying());
    EXPECT_GT(Peak(Frame()), 0.4f);
}

TEST_F(QelSDLSoundBaseTest, fades_run_linearly_between_silence_and_the_songs_volume)
{
    AddSong("music/theme", "tone_44100_stereo.ogg");
    QelStreamingSong* song = sound.GetStreamingSong("music/theme");
    song->Play(2.0f, false);
    EXPECT_NEAR(LevelAfter(0), 0.0f, 0.05f);
    EXPECT_NEAR(LevelAfter(1000), 0.5f, 0.05f);
    EXPECT_NEAR(LevelAfter(1000), 1.0f, 0.05f);
    EXPECT_NEAR(LevelAfter(1000), 1.0f, 0.05f);

    song->SetVolume(0.5f);
    song->FadeOut(1.0f);
    EXPECT_NEAR(LevelAfter(500), 0.25f, 0.03f);
    EXPECT_TRUE(song->IsPlaying());
    EXPECT_NEAR(LevelAfter(500), 0.0f, 0.01f);
    EXPECT_FALSE(song->IsPlaying());

    // A fade out caught in a fade in falls from the level reached.
    song->SetVolume(1.0f);
    song->Play(1.0f, false);
    EXPECT_NEAR(LevelAfter(400), 0.4f, 0.05f);
    song->FadeOut(2.0f);
    EXPECT_NEAR(LevelAfter(1000), 0.2f, 0.05f);
}

TEST_F(QelSDLSoundBaseTest, a_song_played_as_the_current_one_fades_the_others_out_over_one_second)
{
    AddSong("music/old", "tone_44100_stereo.ogg");
    AddSong("music/new", "tone_22050_mono.ogg");
    QelStreamingSong* old = sound.GetStreamingSong("music/old");
    QelStreamingSong* next = sound.GetStreamingSong("music/new");
    old->Play(0.0f, true);
    next->SetVolume(0.0f);
    Frame();
    next->Play(0.0f, true);
    Frame();  // the fade begins with the next frame
    clock.Advance(500);
    Frame();
    EXPECT_TRUE(old->IsPlaying());
    clock.Advance(600);
    Frame();
    EXPECT_FALSE(old->IsPlaying());
    EXPECT_TRUE(next->IsPlaying());
}

TEST_F(QelSDLSoundBaseTest, a_song_without_its_file_is_silent_and_reported_once)
{
    testing::internal::CaptureStderr();
    QelStreamingSong* missing = sound.GetStreamingSong("music/absent");
    ASSERT_NE(missing, nullptr);
    missing->Play(0.0f, true);
    missing->Resume();
    missing->FadeOut(1.0f);
    Frame();
    EXPECT_FALSE(missing->IsPlaying());
    EXPECT_EQ(missing->GetPosition(), 0);
    QelStreamingSong* outside = sound.GetStreamingSong("../../etc/passwd");
    outside->Play(0.0f, false);
    EXPECT_FALSE(outside->IsPlaying());
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    EXPECT_NE(log.find("\"music/absent\" (data/audio/music/absent.ogg): cannot be read"), std::string::npos) << log;
    EXPECT_NE(log.find("not a name inside the data folder"), std::string::npos) << log;
}

}  // namespace
