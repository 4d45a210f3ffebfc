#include "game/shell/GUISound.h"

#include "engine/base/QelSoundFactoryBase.h"
#include "game/world/AppData.h"

#include <random>

namespace {

// Below this the interface volume counts as off.
constexpr float kSilentVolume = 0.01f;
// Each click plays at 1 ± this share of its pitch.
constexpr float kPitchVariation = 0.04f;

// The interface's own generator: clicks must not move the world's random sequence.
float PitchRatio()
{
    static std::minstd_rand generator(1);
    std::uniform_real_distribution<float> spread(1.0f - kPitchVariation, 1.0f + kPitchVariation);
    return spread(generator);
}

}  // namespace

void PlayGUISound(const std::string& event)
{
    if (gSoundFactory == nullptr || !gSoundFactory->IsWorking() || AppData::guiVolume < kSilentVolume)
        return;
    const auto found = AppData::guiSounds.find(event);
    if (found == AppData::guiSounds.end())
        return;
    if (QelSound* sound = gSoundFactory->GetSound(found->second))
        sound->Play(AppData::guiVolume, PitchRatio(), false);
}
