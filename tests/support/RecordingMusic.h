#pragma once
// This machine's music as a quiet recorder: it plays nothing and writes down
// what it was asked, for headless tests of the code that drives the music.

#include <string>
#include <vector>

#include "game/world/MusicControl.h"

namespace qeltest {

class RecordingMusic : public MusicControl {
public:
    bool MusicAvailable() const override { return available; }
    void LoadMusicSet(const std::string& setName) override { calls.push_back("LoadMusicSet " + setName); }
    void PlayNextMusicTrack() override { calls.push_back("PlayNextMusicTrack"); }
    void PlayNamedSong(const std::string& songName) override { calls.push_back("PlayNamedSong " + songName); }
    void PlayMainMusicCue() override { calls.push_back("PlayMainMusicCue"); }
    void PlayStartMusicCue() override { calls.push_back("PlayStartMusicCue"); }
    void FadeOutMusic() override { calls.push_back("FadeOutMusic"); }
    void RaiseMusicTension(float value) override { calls.push_back("RaiseMusicTension " + std::to_string(value)); }
    void SetMusicVolume(float value) override { volume = value; }
    float MusicVolume() override { return volume; }

    bool available = true;
    float volume = 1.0f;
    std::vector<std::string> calls;
};

}  // namespace qeltest
