#pragma once
// A sound service that plays nothing and writes down what it is asked, for
// headless tests of the code that plays sounds and music. A test decides
// when a song stops playing (a track ending) by setting its playing flag;
// a sound effect keeps its file, every Play and its current settings.

#include <map>
#include <memory>
#include <set>
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

class RecordingEffect : public QelSound {
public:
    struct PlayCall {
        float volume;
        float frequencyRatio;
        bool loop;
    };

    void Play(float newVolume, float newRatio, bool loop) override
    {
        plays.push_back({newVolume, newRatio, loop});
        volume = newVolume;
        frequencyRatio = newRatio;
        playing = true;
    }
    void PlayFrom(int32_t) override { playing = true; }
    void Stop() override
    {
        playing = false;
        ++stops;
    }
    void Start() override { playing = true; }
    void SetVolume(float value) override { volume = value; }
    void SetFrequencyRatio(float ratio) override { frequencyRatio = ratio; }
    bool IsPlaying() override { return playing; }
    int64_t GetPosition() override { return 0; }
    int32_t GetLength() override { return 0; }
    float GetSample(int32_t) override { return 0.0f; }
    void SetSample(int32_t, float) override {}

    std::string file;
    std::vector<PlayCall> plays;
    float volume = 0.0f;
    float frequencyRatio = 1.0f;
    bool playing = false;
    int stops = 0;
};

class RecordingSound : public QelSoundFactoryBase {
public:
    bool IsWorking() const override { return working; }
    QelSound* GetSound(const std::string& name, const std::string& file) override
    {
        log.push_back("GetSound " + name);
        if (!working)
            return nullptr;
        auto& effect = effects[name];
        if (!effect) {
            effect = std::make_unique<RecordingEffect>();
            effect->file = file.empty() ? name : file;
        }
        return effect.get();
    }
    QelSound* FindSound(const std::string& name) override { return Effect(name); }
    QelStreamingSong* GetStreamingSong(const std::string& name) override
    {
        auto& song = songs[name];
        if (!song)
            song = std::make_unique<RecordingSong>(name, log);
        return song.get();
    }
    bool SoundFileExists(const std::string& name) override { return soundFiles.count(name) != 0; }

    RecordingEffect* Effect(const std::string& name)
    {
        auto found = effects.find(name);
        return found == effects.end() ? nullptr : found->second.get();
    }
    RecordingSong* Song(const std::string& name)
    {
        auto found = songs.find(name);
        return found == songs.end() ? nullptr : found->second.get();
    }
    // The calls since the last look, and a fresh start.
    std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

    bool working = true;
    std::set<std::string> soundFiles;  // the files the service finds
    std::vector<std::string> log;
    std::map<std::string, std::unique_ptr<RecordingSong>> songs;
    std::map<std::string, std::unique_ptr<RecordingEffect>> effects;
};

}  // namespace qeltest
