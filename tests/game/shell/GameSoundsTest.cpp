// The game's own sounds, as the build synthesises them into data/audio/:
// every sound the preferences name is there and plays, and the music set the
// preferences name has tracks for every level and both cues.

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelOggStream.h"
#include "engine/base/QelWaveFile.h"
#include "game/shell/GameMusic.h"
#include "game/world/AppData.h"

#include <gtest/gtest.h>

namespace {

class GameSoundsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppData::Unload();
        AppData::Load();
    }
    void TearDown() override { AppData::Unload(); }

    static std::string AudioPath(const std::string& name, const char* extension)
    {
        return qel::ResolveGamePath("data/audio/" + name + extension);
    }
};

TEST_F(GameSoundsTest, every_sound_the_preferences_name_is_a_short_playable_wav)
{
    const char* const keys[] = {
        "jump_sfx_start", "jump_sfx_end", "player_engine_loop_base", "player_engine_loop_tone",
        "shield_damage_1", "shield_damage_2", "shield_damage_3", "shield_damage_4", "shield_damage_5",
        "shield_damage_6", "player_beam_weapon_shot_1", "player_beam_weapon_shot_2", "player_beam_weapon_shot_3",
        "player_beam_weapon_shot_4", "hull_damage", "torp_impact", "torpedo_launch", "tractor_beam", "shld_up",
        "shld_down", "red_alert_horn",
    };
    std::vector<std::string> names;
    for (const char* key : keys)
        names.push_back(AppData::GetString(key));
    AppData::LoadGuiSounds();
    for (const auto& [event, name] : AppData::GuiSounds())
        names.push_back(name);
    ASSERT_EQ(names.size(), std::size(keys) + 11);
    for (const std::string& name : names) {
        std::string error;
        const std::optional<QelWaveData> wave = ReadWAVFile(AudioPath(name, ".wav"), error);
        ASSERT_TRUE(wave) << name << ": " << error;
        EXPECT_EQ(wave->format.sampleRate, 44100u) << name;
        EXPECT_GT(wave->Frames(), 44100 / 50) << name;
        EXPECT_LE(wave->Frames(), 44100 * 2) << name;
    }
}

TEST_F(GameSoundsTest, the_music_set_has_tracks_for_every_level_and_both_cues)
{
    const std::string set = AppData::GetString("music_base_folder");
    std::vector<std::string> songs = {"music/" + set + "/main", "music/" + set + "/start"};
    for (const char* level : {"low", "medium", "high"}) {
        const std::vector<std::string> tracks = GameMusic::ListMusicFolder(set, level);
        EXPECT_GE(tracks.size(), 2u) << level;
        songs.insert(songs.end(), tracks.begin(), tracks.end());
    }
    for (const std::string& song : songs) {
        QelOggStream stream;
        std::string error;
        ASSERT_TRUE(stream.Open(AudioPath(song, ".ogg"), error)) << song << ": " << error;
        EXPECT_EQ(stream.Channels(), 2) << song;
        EXPECT_EQ(stream.SampleRate(), 44100) << song;
    }
}

}  // namespace
