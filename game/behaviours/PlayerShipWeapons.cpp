#include "game/behaviours/PlayerShipWeapons.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/SpaceObject.h"

#include <string>

using namespace playership;
using shipkeys::kTorpedoTubeCurrentType;
using shipkeys::kTorpedoTubePercentLoaded;
using shipkeys::kTorpedoTubeState;
using shipkeys::kTubeEmpty;
using shipkeys::kTubeFullyLoaded;
using shipkeys::kTubeLoaded;
using shipkeys::kTubeLoading;
using shipkeys::kTubeUnloading;

namespace {

// Engineering's slider that powers the tubes.
constexpr int32_t kTubesSlider = 1;
// With power and every coefficient at 1 a tube moves 1/2.5 percent a tick,
// so it loads in 250 ticks (a little over eight seconds).
constexpr float kTubeCoefficientDivisor = 2.5f;

// Percent a tube moves this tick; coefficients that are not finite count as 0,
// so a script's bad value stalls the tube rather than poisoning its percentage.
float TubeRate(const ObjectDataBlob& data, int32_t tube, float power)
{
    return power * ReadFiniteFloat(data, kTubeUpgradeCoeff, tube) * ReadFiniteFloat(data, kTubeDamageCoeff, tube) *
           ReadFiniteFloat(data, kAllTubeDamageCoeff) * ReadFiniteFloat(data, kAllTubeUpgradeCoeff) /
           kTubeCoefficientDivisor;
}

}  // namespace

void PlayerShipTubesTick(SpaceObject& ship)
{
    ObjectDataBlob& data = ship.data_set;
    const float power = ReadFiniteFloat(data, kEngControlValue, kTubesSlider);
    const int32_t tubes = shipkeys::TorpedoTubeCount(data);
    for (int32_t tube = 0; tube < tubes; ++tube) {
        const std::string state = ReadString(data, kTorpedoTubeState, tube);
        if (state != kTubeLoading && state != kTubeUnloading)
            continue;
        const float rate = TubeRate(data, tube, power);
        float percent = ReadFiniteFloat(data, kTorpedoTubePercentLoaded, tube);
        if (state == kTubeLoading) {
            percent += rate;
            if (percent >= kTubeFullyLoaded) {
                percent = kTubeFullyLoaded;
                WriteString(data, kTorpedoTubeState, kTubeLoaded, tube);
            }
        } else {
            percent -= rate;
            if (percent <= 0.0f) {
                percent = 0.0f;
                WriteString(data, kTorpedoTubeState, kTubeEmpty, tube);
                WriteString(data, kTorpedoTubeCurrentType, "", tube);
            }
        }
        WriteFloat(data, kTorpedoTubePercentLoaded, percent, tube);
    }
}
