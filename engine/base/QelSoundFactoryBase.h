#pragma once
// The engine's sound service: sound effects from WAV files and music streamed
// from Ogg Vorbis files, both below data/audio/ and named there without their
// extension ("gui/button", "music/standard/low/theme"). Sounds and songs are
// made on first request and kept by name until the service ends.
//
// A machine without a sound device has a service that is not working: it
// makes no sounds, and callers ask IsWorking before they ask for songs. A
// name that could leave the data folder, or whose file is missing or
// unreadable, gives a silent sound or song and one line on the console.

#include <string>

#include "engine/base/QelSound.h"
#include "engine/base/QelStreamingSong.h"

class QelSoundFactoryBase {
public:
    virtual ~QelSoundFactoryBase() = default;

    virtual bool IsWorking() const = 0;
    // The sound kept under the name, loaded on first request from
    // data/audio/<file>.wav (file empty: the name). Null when the service is
    // not working.
    virtual QelSound* GetSound(const std::string& name, const std::string& file = std::string()) = 0;
    // The sound kept under the name, or null.
    virtual QelSound* FindSound(const std::string& name) = 0;
    // The song kept under the name, made on first request for
    // data/audio/<name>.ogg. Null when the service is not working.
    virtual QelStreamingSong* GetStreamingSong(const std::string& name) = 0;
    // Whether data/audio/<name>.wav, or failing that data/audio/<name>.ogg,
    // can be read.
    virtual bool SoundFileExists(const std::string& name) = 0;
};

// The one sound service while the system is up; null in a program without one
// (the headless server).
extern QelSoundFactoryBase* gSoundFactory;
