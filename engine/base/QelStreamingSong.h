#pragma once
// One piece of music, decoded from its Ogg Vorbis file a little at a time
// while it plays. The sound service refills and fades every song once per
// frame; a song started as the current one fades every other song out.

#include <cstdint>

class QelStreamingSong {
public:
    virtual ~QelStreamingSong() = default;

    // Starts again from the beginning, rising from silence to the song's
    // volume over the fade-in (0: at once). As the current song it fades
    // every other song out over one second from the next frame.
    virtual void Play(float fadeInSeconds, bool makeCurrent) = 0;
    // Falls to silence over the time, then stops.
    virtual void FadeOut(float seconds) = 0;
    // Stops refilling and fading; what is already queued still plays out.
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // The song's level (1 is the file as recorded), at once and as the level
    // fades run between.
    virtual void SetVolume(float volume) = 0;
    virtual bool IsPlaying() = 0;
    // Frames played since the last Play, at the file's own rate.
    virtual int64_t GetPosition() = 0;
    // Whether the song starts again at the end of its file (the default).
    virtual void SetOption(bool looping) = 0;
};
