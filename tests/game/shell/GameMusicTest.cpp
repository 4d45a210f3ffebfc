#include "game/shell/GameMusic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "engine/base/QelFileServices.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::RecordingSound;

// A music set on disk (data/audio/music/deep/), the sound service that
// records what the music asks of it, and the song ends the mission hears.
class GameMusicTest : public ::testing::Test {
protected:
    void Track(const std::string& level, const std::string& name)
    {
        data.Write("audio/music/deep/" + level + "/" + name + ".ogg", "");
    }

    // The ticks that pass while the tension falls by the amount.
    static int TicksToFall(float amount) { return static_cast<int>(amount * GameMusic::kTensionDecayDivisor); }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            music.UpdateGameMusic(1.0f);
    }

    // Ends the current song as the sound service would at its last sample.
    void EndSong(const std::string& name) { sound.Song(name)->playing = false; }

    qeltest::TempFolder data;
    qeltest::TempFolder settings;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    RecordingSound sound;
    int songsEnded = 0;
    GameMusic music{&sound, [this] { ++songsEnded; }};
};

TEST_F(GameMusicTest, tension_levels_split_above_30_and_above_60)
{
    const struct {
        float tension;
        int32_t level;
    } cases[] = {{0, GameMusic::kLow},      {30, GameMusic::kLow},   {30.01f, GameMusic::kMedium},
                 {60, GameMusic::kMedium}, {60.5f, GameMusic::kHigh}, {100, GameMusic::kHigh}};
    for (const auto& c : cases)
        EXPECT_EQ(GameMusic::LevelOfTension(c.tension), c.level) << c.tension;
}

TEST_F(GameMusicTest, a_music_set_lists_the_ogg_files_of_each_level_and_names_its_cues)
{
    for (const char* file : {"b.ogg", "a.OGG", "c.Ogg", "d.ogg.bak", "notes.txt"})
        data.Write(std::string("audio/music/deep/low/") + file, "");
    data.Write("audio/music/deep/low/folder.ogg/inside.ogg", "");
    Track("high", "storm");
    music.LoadMusicSet("deep");
    EXPECT_EQ(music.Tracks(GameMusic::kLow), (std::vector<std::string>{"music/deep/low/a", "music/deep/low/b"}));
    EXPECT_TRUE(music.Tracks(GameMusic::kMedium).empty());
    EXPECT_EQ(music.Tracks(GameMusic::kHigh), std::vector<std::string>{"music/deep/high/storm"});
    EXPECT_TRUE(sound.TakeLog().empty());  // loading starts nothing

    music.PlayMainMusicCue();
    music.PlayStartMusicCue();
    EXPECT_EQ(sound.TakeLog(), (std::vector<std::string>{
                                   "Play music/deep/main 0 current", "SetVolume music/deep/main 1",
                                   "SetOption music/deep/main 0", "Play music/deep/start 0 current",
                                   "SetVolume music/deep/start 1", "SetOption music/deep/start 0"}));
}

TEST_F(GameMusicTest, a_set_name_that_leaves_the_data_folder_gives_no_music)
{
    Track("low", "calm");
    data.Write("audio/escape/low/x.ogg", "");
    music.LoadMusicSet("deep");
    testing::internal::CaptureStderr();
    music.LoadMusicSet("../audio/escape");
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("not a name inside the data folder"), std::string::npos) << log;
    EXPECT_TRUE(music.Tracks(GameMusic::kLow).empty());
    music.PlayMainMusicCue();
    music.PlayNextMusicTrack();
    EXPECT_TRUE(sound.TakeLog().empty());
}

TEST_F(GameMusicTest, picks_never_repeat_the_last_track_of_a_level_and_stay_inside_its_list)
{
    Track("low", "only");
    for (const char* name : {"m1", "m2"})
        Track("medium", name);
    for (const char* name : {"h1", "h2", "h3", "h4", "h5"})
        Track("high", name);
    music.LoadMusicSet("deep");
    EXPECT_EQ(music.PickMusicTrack(), "music/deep/low/only");
    EXPECT_EQ(music.PickMusicTrack(), "music/deep/low/only");

    // Two tracks alternate.
    music.RaiseMusicTension(45);
    std::string previous = music.PickMusicTrack();
    for (int i = 0; i < 20; ++i) {
        const std::string next = music.PickMusicTrack();
        EXPECT_NE(next, previous);
        previous = next;
    }

    music.RaiseMusicTension(90);
    std::set<std::string> heard;
    previous.clear();
    for (int i = 0; i < 200; ++i) {
        const std::string next = music.PickMusicTrack();
        EXPECT_NE(next, previous);
        heard.insert(next);
        previous = next;
    }
    EXPECT_EQ(heard.size(), 5u);
    EXPECT_EQ(heard.count("music/deep/high/h5"), 1u);
}

TEST_F(GameMusicTest, tension_rises_to_the_highest_value_asked_and_falls_a_fifth_per_tick)
{
    music.LoadMusicSet("deep");
    music.RaiseMusicTension(40);
    music.RaiseMusicTension(10);
    EXPECT_EQ(music.Tension(), 40.0f);
    Ticks(TicksToFall(10));
    EXPECT_NEAR(music.Tension(), 30.0f, 1e-3f);
    music.RaiseMusicTension(250);
    Ticks(1);
    EXPECT_EQ(music.Tension(), 100.0f);
    Ticks(TicksToFall(100) - 1);
    EXPECT_NEAR(music.Tension(), 0.2f, 1e-3f);
    Ticks(3);
    EXPECT_EQ(music.Tension(), 0.0f);
    music.RaiseMusicTension(NAN);
    EXPECT_EQ(music.Tension(), 0.0f);
}

TEST_F(GameMusicTest, automatic_mode_follows_a_rising_tension_at_once_and_a_falling_one_at_the_end_of_a_track)
{
    Track("low", "calm");
    Track("high", "storm");
    music.LoadMusicSet("deep");
    music.PlayNextMusicTrack();
    EXPECT_TRUE(music.Automatic());
    EXPECT_EQ(sound.TakeLog(), (std::vector<std::string>{"Play music/deep/low/calm 0 current",
                                                         "SetVolume music/deep/low/calm 1",
                                                         "SetOption music/deep/low/calm 0"}));
    Ticks(10);
    EXPECT_TRUE(sound.TakeLog().empty());

    // Rising into the high level cuts over at the next tick.
    music.RaiseMusicTension(80);
    Ticks(1);
    EXPECT_EQ(sound.TakeLog().front(), "Play music/deep/high/storm 0 current");
    EXPECT_EQ(music.CurrentLevel(), GameMusic::kHigh);

    // Falling back to calm lets the storm play out; then a calm track follows.
    Ticks(TicksToFall(80));
    EXPECT_EQ(music.Tension(), 0.0f);
    EXPECT_TRUE(sound.TakeLog().empty());
    EndSong("music/deep/high/storm");
    EXPECT_EQ(songsEnded, 0);
    Ticks(1);
    EXPECT_EQ(songsEnded, 1);
    EXPECT_EQ(sound.TakeLog().front(), "Play music/deep/low/calm 0 current");
    EXPECT_EQ(music.CurrentLevel(), GameMusic::kLow);
}

TEST_F(GameMusicTest, a_named_song_ends_automatic_mode_and_its_end_is_still_reported)
{
    Track("low", "calm");
    music.LoadMusicSet("deep");
    music.PlayNextMusicTrack();
    music.PlayNamedSong("music/briefing");
    EXPECT_FALSE(music.Automatic());
    Ticks(1);
    EndSong("music/briefing");
    sound.TakeLog();
    Ticks(5);
    EXPECT_EQ(songsEnded, 1);
    EXPECT_TRUE(sound.TakeLog().empty());

    music.PlayNextMusicTrack();
    music.FadeOutMusic();
    EXPECT_FALSE(music.Automatic());
    EXPECT_EQ(sound.TakeLog().back(), "FadeOut music/deep/low/calm 1");
}

TEST_F(GameMusicTest, an_empty_level_starts_nothing_and_the_playing_track_goes_on)
{
    Track("low", "calm");
    music.LoadMusicSet("deep");
    music.PlayNextMusicTrack();
    sound.TakeLog();
    music.RaiseMusicTension(70);
    Ticks(20);
    EXPECT_TRUE(sound.TakeLog().empty());
    EXPECT_EQ(music.CurrentLevel(), GameMusic::kHigh);
    EXPECT_TRUE(sound.Song("music/deep/low/calm")->playing);
}

TEST_F(GameMusicTest, the_music_volume_is_read_once_from_the_machine_settings_and_full_when_missing)
{
    const struct {
        const char* stored;  // nullptr: never stored
        float volume;
    } cases[] = {{"0.3", 0.3f}, {nullptr, 1.0f}, {"loud", 1.0f}, {"7", 1.0f}, {"-2", 0.0f}};
    for (const auto& c : cases) {
        qeltest::TempFolder caseSettings;
        qeltest::ScopedEnv folder("QEL_SETTINGS_DIR", caseSettings.Path().string());
        if (c.stored) {
            ASSERT_TRUE(QelFileServices::Instance().SetRegistryValue("ambientVolume", c.stored));
        }
        RecordingSound caseSound;
        GameMusic caseMusic(&caseSound, nullptr);
        EXPECT_FLOAT_EQ(caseMusic.MusicVolume(), c.volume) << (c.stored ? c.stored : "missing");
        ASSERT_TRUE(QelFileServices::Instance().SetRegistryValue("ambientVolume", "0.5"));
        EXPECT_FLOAT_EQ(caseMusic.MusicVolume(), c.volume) << "read once";
    }
}

TEST_F(GameMusicTest, a_new_volume_reaches_the_playing_song)
{
    Track("low", "calm");
    music.LoadMusicSet("deep");
    music.PlayNextMusicTrack();
    music.SetMusicVolume(0.25f);
    EXPECT_EQ(sound.Song("music/deep/low/calm")->volume, 0.25f);
    EXPECT_EQ(music.MusicVolume(), 0.25f);
    EndSong("music/deep/low/calm");
    music.SetMusicVolume(0.75f);
    EXPECT_EQ(sound.Song("music/deep/low/calm")->volume, 0.25f);
}

TEST_F(GameMusicTest, without_working_sound_every_operation_does_nothing)
{
    Track("low", "calm");
    sound.working = false;
    GameMusic nothing(nullptr, [this] { ++songsEnded; });
    for (GameMusic* silent : {&music, &nothing}) {
        EXPECT_FALSE(silent->MusicAvailable());
        silent->LoadMusicSet("deep");
        silent->PlayNextMusicTrack();
        silent->PlayNamedSong("music/x");
        silent->PlayMainMusicCue();
        silent->FadeOutMusic();
        silent->RaiseMusicTension(90);
        silent->SetMusicVolume(0.5f);
        silent->UpdateGameMusic(1.0f);
        EXPECT_EQ(silent->MusicVolume(), 0.5f) << "the options store the volume for the next start";
        EXPECT_EQ(silent->Tension(), 0.0f);
        EXPECT_TRUE(silent->Tracks(GameMusic::kLow).empty());
    }
    EXPECT_TRUE(sound.TakeLog().empty());
    EXPECT_EQ(songsEnded, 0);
}

}  // namespace
