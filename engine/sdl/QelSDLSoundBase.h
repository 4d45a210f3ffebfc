#pragma once
// The sound service on SDL's audio device: the game's mixer renders into the
// device from SDL's audio thread, while sounds and songs are made, started and
// tuned on the main thread. Without a device (none found, or SDL's dummy
// driver) the service is not working and the game goes on silently.

#include <SDL2/SDL_audio.h>

#include <map>
#include <memory>
#include <string>

#include "engine/base/QelAudioMixer.h"
#include "engine/base/QelSoundFactoryBase.h"
#include "engine/sdl/QelSDLSound.h"
#include "engine/sdl/QelSDLStreamingSong.h"

class QelSDLSoundBase : public QelSoundFactoryBase {
public:
    // The rate asked of the device; the device may choose another, and the
    // mixer then renders at the device's own rate.
    static constexpr int32_t kPreferredRate = 48000;
    // Frames per device callback: about 21 ms at 48 kHz.
    static constexpr int32_t kDeviceBufferFrames = 1024;
    // How long other songs take to fall silent when a song becomes current.
    static constexpr float kCurrentSongFadeSeconds = 1.0f;

    QelSDLSoundBase() = default;
    ~QelSDLSoundBase() override;
    QelSDLSoundBase(const QelSDLSoundBase&) = delete;
    QelSDLSoundBase& operator=(const QelSDLSoundBase&) = delete;

    // Opens the default audio device and starts rendering into it; false,
    // with the service not working, when there is no device to play on.
    bool Initialize();
    // Works without a device: whoever holds the service renders its output
    // with Mixer()->Render (the tests do).
    void InitializeWithoutDevice(int32_t outputRate);
    // Closes the device, then ends every song, then every sound.
    void Shutdown();

    // Once per frame, first: refills and fades every song in name order;
    // when a song was made current since the last update, every other song
    // fades out.
    void UpdateSongs();
    // Called by a song played as the current one.
    void SetCurrentSong(QelSDLStreamingSong* song) { currentSong_ = song; }

    QelAudioMixer* Mixer() { return mixer_.get(); }

    bool IsWorking() const override { return working_; }
    QelSound* GetSound(const std::string& name, const std::string& file = std::string()) override;
    QelSound* FindSound(const std::string& name) override;
    QelStreamingSong* GetStreamingSong(const std::string& name) override;
    bool SoundFileExists(const std::string& name) override;

private:
    static void RenderIntoDevice(void* service, Uint8* stream, int bytes);
    std::unique_ptr<QelSDLSound> LoadSound(const std::string& name, const std::string& file);

    std::map<std::string, std::unique_ptr<QelSDLSound>> sounds_;
    std::map<std::string, std::unique_ptr<QelSDLStreamingSong>> songs_;
    std::unique_ptr<QelAudioMixer> mixer_;
    SDL_AudioDeviceID device_ = 0;
    bool audioSubsystem_ = false;
    QelSDLStreamingSong* currentSong_ = nullptr;
    bool working_ = false;
};
