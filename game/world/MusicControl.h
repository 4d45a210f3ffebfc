#pragma once
// This machine's background music as the rest of the game asks for it: the
// music set, the tension that chooses its tracks, single named songs and the
// cues. The shell's music intensity control implements it; missions reach it
// for the server's own screen and the console's "signal" handler for a
// console. Without one (gMusicControl null, as in the headless server)
// callers skip the call; a machine without sound has one that stays silent.
//
// Main thread only.

#include <string>

class MusicControl {
public:
    virtual ~MusicControl() = default;

    // Whether songs can play on this machine at all.
    virtual bool MusicAvailable() const = 0;
    // Takes the tracks of data/audio/music/<set>/ (its folders "low",
    // "medium" and "high", and the cues "main" and "start"); starts nothing
    // and ends automatic track choice.
    virtual void LoadMusicSet(const std::string& setName) = 0;
    // Starts a track of the present tension's level and keeps choosing
    // tracks by the tension from then on.
    virtual void PlayNextMusicTrack() = 0;
    // Plays the song (a name below data/audio/ without ".ogg") once and ends
    // automatic track choice.
    virtual void PlayNamedSong(const std::string& songName) = 0;
    // The set's cues, played once; automatic track choice ends.
    virtual void PlayMainMusicCue() = 0;
    virtual void PlayStartMusicCue() = 0;
    // The music falls silent over one second; automatic track choice ends.
    virtual void FadeOutMusic() = 0;
    // Raises the tension (0..100) to the value; a lower value leaves it.
    virtual void RaiseMusicTension(float value) = 0;
    // The music volume (0..1) from now on, the playing song included.
    virtual void SetMusicVolume(float volume) = 0;
    virtual float MusicVolume() = 0;
};

// This machine's music, or null.
extern MusicControl* gMusicControl;
