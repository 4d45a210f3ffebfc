#include "engine/sdl/QelSDLSoundBase.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>
#include <optional>

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"

namespace {

// Sounds and songs live below data/audio/, named there without extension.
const char* const kAudioFolder = "data/audio/";

// The game path of an audio file, or nothing when the name could leave the
// data folder.
std::optional<std::string> AudioPath(const std::string& name, const char* extension)
{
    const std::optional<std::string> checked = qel::CheckDataName(name);
    if (!checked)
        return std::nullopt;
    return kAudioFolder + *checked + extension;
}

}  // namespace

QelSDLSoundBase::~QelSDLSoundBase()
{
    Shutdown();
}

bool QelSDLSoundBase::Initialize()
{
    audioSubsystem_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!audioSubsystem_)
        return false;
    // The dummy driver takes samples and plays nothing: no sound device.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver == nullptr || std::strcmp(driver, "dummy") == 0)
        return false;
    SDL_AudioSpec wanted{};
    wanted.freq = kPreferredRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = QelAudioMixer::kOutputChannels;
    wanted.samples = kDeviceBufferFrames;
    wanted.callback = &QelSDLSoundBase::RenderIntoDevice;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device_ == 0)
        return false;
    // The device starts paused, so the callback cannot run before the mixer is there.
    mixer_ = std::make_unique<QelAudioMixer>(obtained.freq);
    working_ = true;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void QelSDLSoundBase::InitializeWithoutDevice(int32_t outputRate)
{
    mixer_ = std::make_unique<QelAudioMixer>(outputRate);
    working_ = true;
}

void QelSDLSoundBase::Shutdown()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    device_ = 0;
    currentSong_ = nullptr;
    songs_.clear();
    sounds_.clear();
    mixer_.reset();
    working_ = false;
    if (audioSubsystem_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioSubsystem_ = false;
}

void QelSDLSoundBase::RenderIntoDevice(void* service, Uint8* stream, int bytes)
{
    const int frames = bytes / static_cast<int>(sizeof(float) * QelAudioMixer::kOutputChannels);
    static_cast<QelSDLSoundBase*>(service)->mixer_->Render(reinterpret_cast<float*>(stream), frames);
}

void QelSDLSoundBase::UpdateSongs()
{
    for (auto& [name, song] : songs_) {
        song->Update();
        if (currentSong_ != nullptr && currentSong_ != song.get())
            song->FadeOut(kCurrentSongFadeSeconds);
    }
    currentSong_ = nullptr;
}

QelSound* QelSDLSoundBase::GetSound(const std::string& name, const std::string& file)
{
    if (!working_)
        return nullptr;
    auto found = sounds_.find(name);
    if (found == sounds_.end())
        found = sounds_.emplace(name, LoadSound(name, file.empty() ? name : file)).first;
    return found->second.get();
}

// A file that cannot be played leaves a silent sound under the name, so the
// fault is reported once and not at every request.
std::unique_ptr<QelSDLSound> QelSDLSoundBase::LoadSound(const std::string& name, const std::string& file)
{
    std::string error = "is not a name inside the data folder";
    if (const std::optional<std::string> path = AudioPath(file, ".wav")) {
        if (std::optional<QelWaveData> wave = ReadWAVFile(qel::ResolveGamePath(*path), error)) {
            if (wave->truncated)
                std::fprintf(stderr, "Sound \"%s\" (data/audio/%s.wav): its data chunk is cut short; the %d "
                                     "whole frames there play.\n", name.c_str(), file.c_str(), wave->Frames());
            return std::make_unique<QelSDLSound>(name, *mixer_, std::move(*wave));
        }
    }
    std::fprintf(stderr, "Sound \"%s\" (data/audio/%s.wav): %s; it stays silent.\n", name.c_str(), file.c_str(),
                 error.c_str());
    return std::make_unique<QelSDLSound>(name);
}

QelSound* QelSDLSoundBase::FindSound(const std::string& name)
{
    const auto found = sounds_.find(name);
    return found == sounds_.end() ? nullptr : found->second.get();
}

QelStreamingSong* QelSDLSoundBase::GetStreamingSong(const std::string& name)
{
    if (!working_)
        return nullptr;
    auto found = songs_.find(name);
    if (found == songs_.end()) {
        const std::optional<std::string> path = AudioPath(name, ".ogg");
        auto song = std::make_unique<QelSDLStreamingSong>(name, path ? qel::ResolveGamePath(*path) : std::string(),
                                                          *this, *mixer_);
        found = songs_.emplace(name, std::move(song)).first;
    }
    return found->second.get();
}

bool QelSDLSoundBase::SoundFileExists(const std::string& name)
{
    const QelFileServices& files = QelFileServices::Instance();
    for (const char* extension : {".wav", ".ogg"}) {
        const std::optional<std::string> path = AudioPath(name, extension);
        if (path && files.FileExists(*path))
            return true;
    }
    return false;
}
