#pragma once
// A sound service that plays nothing and writes down what it is asked, for
// headless tests of the code that plays sounds and music. A test decides
// when a song stops playing (a track ending) by setting its playing flag.

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/base/QelSoundFactoryBase.h"

namespace qeltest {

class RecordingSong : public QelStreamingSong {
public:
    RecordingSong(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}

    void Play(float fadeInSeconds, bool makeCurrent) override
    {
        Note("Play", fadeInSeconds, makeCurrent ? " current" : "");
        playing = true;
    }
    void FadeOut(float seconds) override { Note("FadeOut", seconds); }
    void Pause() override { Note("Pause"); }
    void Resume() override { Note("Resume"); }
    void SetVolume(float value) override
    {
        volume = value;
        Note("SetVolume", value);
    }
    bool IsPlaying() override { return playing; }
    int64_t GetPosition() override { return 0; }
    void SetOption(bool loop) override
    {
        looping = loop;
        Note("SetOption", loop ? 1.0f : 0.0f);
    }

    std::string name;
    bool playing = false;
    bool looping = true;
    float volume = 1.0f;

private:
    void Note(const char* what, float value = 0.0f, const char* extra = "")
    {
        std::ostringstream line;
        line << what << " " << name;
        if (std::string(what) != "Pause" && std::string(what) != "Resume")
            line << " " << value << extra;
        log.push_back(line.str());
    }

    std::vector<std::string>& log;
};

class RecordingSound : public QelSoundFactoryBase {
public:
    bool IsWorking() const override { return working; }
    QelSound* GetSound(const std::string& name, const std::string&) override
    {
        log.push_back("GetSound " + name);
        return nullptr;
    }
    QelSound* FindSound(const std::string&) override { return nullptr; }
    QelStreamingSong* GetStreamingSong(const std::string& name) override
    {
        auto& song = songs[name];
        if (!song)
            song = std::make_unique<RecordingSong>(name, log);
        return song.get();
    }
    bool SoundFileExists(const std::string&) override { return false; }

    RecordingSong* Song(const std::string& name)
    {
        auto found = songs.find(name);
        return found == songs.end() ? nullptr : found->second.get();
    }
    // The calls since the last look, and a fresh start.
    std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

    bool working = true;
    std::vector<std::string> log;
    std::map<std::string, std::unique_ptr<RecordingSong>> songs;
};

}  // namespace qeltest
