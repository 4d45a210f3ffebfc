#include "game/shell/GameMusic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>

#include "engine/base/QelDataFolder.h"
#include "engine/base/QelFileServices.h"
#include "engine/base/QelSoundFactoryBase.h"
#include "helper/CRand.h"

namespace {

const char* const kLevelFolders[] = {"low", "medium", "high"};
const char* const kVolumeSetting = "ambientVolume";

// A list with more than one track draws again while it draws the last pick;
// after this many draws it takes the next track instead, so the pick is
// bounded whatever the random numbers do.
constexpr int kMaxDraws = 16;

// "ogg" or "OGG" after the last dot, exactly.
bool IsOggName(const std::string& name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string extension = name.substr(dot + 1);
    return extension == "ogg" || extension == "OGG";
}

// The stored music volume, 0..1; a value never stored, or without a number,
// is full volume.
float ReadStoredVolume()
{
    std::string text;
    if (!QelFileServices::Instance().GetRegistryValue(kVolumeSetting, text))
        return 1.0f;
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(value))
        return 1.0f;
    return std::clamp(value, 0.0f, 1.0f);
}

}  // namespace

GameMusic::GameMusic(QelSoundFactoryBase* soundService, std::function<void()> onSongEnded)
    : sound(soundService), songEnded(std::move(onSongEnded))
{
}

bool GameMusic::MusicAvailable() const
{
    return sound != nullptr && sound->IsWorking();
}

int32_t GameMusic::LevelOfTension(float value)
{
    if (value > kHighAbove)
        return kHigh;
    return value > kMediumAbove ? kMedium : kLow;
}

std::vector<std::string> GameMusic::ListMusicFolder(const std::string& set, const std::string& levelName)
{
    std::vector<std::string> names;
    const std::string folder = "music/" + set + "/" + levelName;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(qel::ResolveGamePath("data/audio/" + folder), error)) {
        const std::string file = entry.path().filename().string();
        if (entry.is_regular_file(error) && IsOggName(file))
            names.push_back(folder + "/" + file.substr(0, file.size() - 4));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void GameMusic::LoadMusicSet(const std::string& name)
{
    if (!MusicAvailable())
        return;
    automatic = false;
    currentLevel = kLow;
    lastPick = {-1, -1, -1};
    setName = name;
    for (auto& list : tracks)
        list.clear();
    mainCue.clear();
    startCue.clear();
    const std::optional<std::string> checked = qel::CheckDataName(name);
    if (!checked) {
        std::fprintf(stderr, "Music set \"%s\": not a name inside the data folder; no music plays from it.\n",
                     name.c_str());
        return;
    }
    for (int32_t level = kLow; level <= kHigh; ++level)
        tracks[level] = ListMusicFolder(*checked, kLevelFolders[level]);
    mainCue = "music/" + *checked + "/main";
    startCue = "music/" + *checked + "/start";
}

std::string GameMusic::PickMusicTrack()
{
    const int32_t level = LevelOfTension(tension);
    const std::vector<std::string>& list = tracks[level];
    const int32_t count = static_cast<int32_t>(list.size());
    if (count == 0)
        return "";
    // Every index 0..count-1 can come out; the clamp keeps a draw of the
    // largest value inside the list whatever the rounding.
    auto draw = [count] {
        const float share = static_cast<float>(crand()) / CRAND_MAX;
        return std::min(static_cast<int32_t>(share * (static_cast<float>(count) - 1.0f + 0.999f)), count - 1);
    };
    int32_t index = draw();
    for (int i = 1; index == lastPick[level] && count > 1; ++i)
        index = i < kMaxDraws ? draw() : (index + 1) % count;
    lastPick[level] = index;
    return list[index];
}

void GameMusic::StartTrack(const std::string& songName)
{
    if (songName.empty())
        return;
    QelStreamingSong* song = sound->GetStreamingSong(songName);
    if (song == nullptr)
        return;
    song->Play(0.0f, true);
    song->SetVolume(MusicVolume());
    song->SetOption(false);
    currentSong = song;
}

void GameMusic::PlayNextMusicTrack()
{
    if (!MusicAvailable())
        return;
    const int32_t level = LevelOfTension(tension);
    StartTrack(PickMusicTrack());
    currentLevel = level;
    automatic = true;
}

void GameMusic::PlayNamedSong(const std::string& songName)
{
    if (!MusicAvailable())
        return;
    automatic = false;
    StartTrack(songName);
}

void GameMusic::PlayMainMusicCue()
{
    PlayNamedSong(mainCue);
}

void GameMusic::PlayStartMusicCue()
{
    PlayNamedSong(startCue);
}

void GameMusic::FadeOutMusic()
{
    if (!MusicAvailable())
        return;
    automatic = false;
    if (currentSong != nullptr)
        currentSong->FadeOut(kFadeOutSeconds);
}

void GameMusic::RaiseMusicTension(float value)
{
    if (MusicAvailable())
        tension = std::max(tension, value);
}

// The volume is kept without working sound too: the options store it for
// the next start, which may have a sound device.
void GameMusic::SetMusicVolume(float value)
{
    volume = std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 1.0f;
    if (MusicAvailable() && currentSong != nullptr && currentSong->IsPlaying())
        currentSong->SetVolume(volume);
}

float GameMusic::MusicVolume()
{
    if (volume < 0.0f)
        volume = ReadStoredVolume();
    return volume;
}

void GameMusic::UpdateGameMusic(float step)
{
    if (!MusicAvailable())
        return;
    tension = std::clamp(tension - step / kTensionDecayDivisor, 0.0f, kMaxTension);
    const bool playing = currentSong != nullptr && currentSong->IsPlaying();
    const bool justEnded = wasPlaying && !playing;
    if (justEnded && songEnded)
        songEnded();
    wasPlaying = playing;
    if (!automatic)
        return;
    // A falling tension never cuts a track short; a rising one does.
    if (!justEnded && currentLevel >= LevelOfTension(tension))
        return;
    PlayNextMusicTrack();
}
