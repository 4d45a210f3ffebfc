#include "game/ui/GUISound.h"

#include "engine/base/QelSoundFactoryBase.h"
#include "game/world/AppData.h"

#include <algorithm>
#include <map>
#include <random>

namespace {

// Below this the interface volume counts as off.
constexpr float kSilentVolume = 0.01f;
// Each click plays at 1 ± these shares of the interface volume and of its pitch.
constexpr float kVolumeVariation = 0.05f;
constexpr float kPitchVariation = 0.005f;

// The interface's own generator: clicks must not move the world's random sequence.
float Varied(float variation)
{
    static std::minstd_rand generator(1);
    std::uniform_real_distribution<float> spread(1.0f - variation, 1.0f + variation);
    return spread(generator);
}

}  // namespace

void PlayGUISound(const std::string& event)
{
    if (gSoundFactory == nullptr || !gSoundFactory->IsWorking() || AppData::GuiVolume() < kSilentVolume)
        return;
    const std::map<std::string, std::string>& sounds = AppData::GuiSounds();
    const auto found = sounds.find(event);
    if (found == sounds.end())
        return;
    if (found->second.empty())
        return;
    if (QelSound* sound = gSoundFactory->GetSound(found->second))
        sound->Play(std::min(AppData::GuiVolume() * Varied(kVolumeVariation), 1.0f), Varied(kPitchVariation), false);
}
