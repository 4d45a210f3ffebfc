#pragma once
// Music intensity control: the background music of this machine, server or
// console. A music set is a folder data/audio/music/<set>/ with three folders
// of Ogg Vorbis tracks, "low", "medium" and "high", and the cues "main" and
// "start". The tension (0..100) picks the level; missions raise it, and it
// decays by itself every tick. In automatic mode a random track of the
// tension's level plays, never the same one twice in a row; a new one starts
// when a track ends, and at once when the tension climbs into a higher level.
// Every machine reports the end of a track, so the mission hears
// "song_ended".
//
// Songs come from the sound service; without a working one every operation
// returns at once. Main thread only.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/world/MusicControl.h"

class QelSoundFactoryBase;
class QelStreamingSong;

class GameMusic : public MusicControl {
public:
    // The three levels of tension, by list.
    enum Level : int32_t { kLow = 0, kMedium = 1, kHigh = 2 };
    // Tension above which the medium and the high tracks play.
    static constexpr float kMediumAbove = 30.0f;
    static constexpr float kHighAbove = 60.0f;
    static constexpr float kMaxTension = 100.0f;
    // The tension falls by step / this each tick: from 100 to 0 in 500 ticks.
    static constexpr float kTensionDecayDivisor = 5.0f;
    // How long FadeOutMusic takes.
    static constexpr float kFadeOutSeconds = 1.0f;

    // songEnded is told, once per track, when a track started here stops
    // playing (the shell sends it to the mission).
    GameMusic(QelSoundFactoryBase* sound, std::function<void()> songEnded);

    bool MusicAvailable() const override;
    void LoadMusicSet(const std::string& setName) override;
    void PlayNextMusicTrack() override;
    void PlayNamedSong(const std::string& songName) override;
    void PlayMainMusicCue() override;
    void PlayStartMusicCue() override;
    void FadeOutMusic() override;
    // The tension is not clamped here; the decay brings it back into 0..100.
    void RaiseMusicTension(float value) override;
    void SetMusicVolume(float volume) override;
    // Read once from the machine setting "ambientVolume"; full volume when
    // it was never stored or holds no number.
    float MusicVolume() override;

    // Once per 33 ms tick, with step 1.
    void UpdateGameMusic(float step);
    // A track of the tension's level, never the one picked last from that
    // list while it holds another; empty when the list is empty.
    std::string PickMusicTrack();

    static int32_t LevelOfTension(float tension);
    // The song names of data/audio/music/<set>/<level>/*.ogg (or .OGG),
    // sorted: "music/<set>/<level>/<file less .ogg>".
    static std::vector<std::string> ListMusicFolder(const std::string& setName, const std::string& levelName);

    float Tension() const { return tension; }
    bool Automatic() const { return automatic; }
    int32_t CurrentLevel() const { return currentLevel; }
    const std::vector<std::string>& Tracks(int32_t level) const { return tracks[level]; }

private:
    // Plays the song once as the current one, at the music volume.
    void StartTrack(const std::string& songName);

    QelSoundFactoryBase* sound;
    std::function<void()> songEnded;

    std::string setName;
    std::array<std::vector<std::string>, 3> tracks;  // by Level
    std::array<int32_t, 3> lastPick{-1, -1, -1};     // index into tracks, -1 none yet
    std::string mainCue;
    std::string startCue;
    QelStreamingSong* currentSong = nullptr;
    bool wasPlaying = false;    // the current song played at the last tick
    float volume = -1.0f;       // 0..1; negative until read from the machine settings
    bool automatic = false;     // tracks chosen by the tension
    int32_t currentLevel = kLow;  // of the track automatic mode started last
    float tension = 0.0f;       // 0..100 after each tick
};
