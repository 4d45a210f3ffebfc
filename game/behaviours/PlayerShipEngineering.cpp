#include "game/behaviours/PlayerShipEngineering.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/PlayerShipSetup.h"
#include "game/world/EventMessage.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "game/world/WorldEnums.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace playership;

namespace {

// A ship a crew flies is always worth the cinematic camera's look.
constexpr float kMinExciting = 75.0f;
// Heat and coolant rates are per tick and the pass runs their step once;
// the coefficients are scaled by this to the pass's pace.
constexpr float kHeatRateScale = 10.0f;
// A slider at 1 is normal power: no heat added, none taken.
constexpr float kNormalPower = 1.0f;
// At full heat a system is damaged (the mission decides how) and half its
// heat vents.
constexpr float kCriticalHeat = 1.0f;
// Engineering's slider that charges the quick jump.
constexpr int32_t kQuickJumpSlider = 3;
// The sliders the ship always has; beyond them a subsystem counts only while
// it is labelled.
constexpr int32_t kStandardSubsystems = 8;
// A facing struck far below empty is mended from no lower than this many
// times its maximum below 0.
constexpr float kDeepestShieldDrain = 2.0f;

void CountDown(ObjectDataBlob& data, const DataKey& key)
{
    const int64_t count = ReadInt(data, key);
    if (count > 0)
        WriteInt(data, key, static_cast<int32_t>(count - 1));
}

bool IsShipSystem(int64_t system)
{
    return system >= 0 && system < SHPSYS_MAX;
}

void RaiseHeatCritical(SpaceObject& ship, Simulation& world, int32_t system, float heat)
{
    ScriptEventSink* mission = world.ScriptEvents();
    if (!mission)
        return;
    EventMessage event;
    event.tag = "heat_critical_damage";
    event.origin_id = ship.uniqueID;
    event.selected_id = ship.uniqueID;
    event.parent_id = ship.uniqueID;
    event.sub_tag = std::to_string(system);
    event.value_tag = std::to_string(heat);  // "%f"
    event.extra_tag = std::to_string(ReadInt(ship.data_set, kSystemCoolantUsed, system));
    event.event_time = world.TickCount();
    mission->HandleEvent(event);
}

// Each labelled subsystem heats its system by how far its slider is above
// normal (a slider below normal cools it); without energy nothing heats.
// Subsystems sharing a system heat it in turn.
void HeatSystems(SpaceObject& ship, Simulation& world, float energy)
{
    const float heatUp = PlayerShipCoefficients().heatUp;
    for (int32_t i = 0; i < kMaxPoweredSubsystems; ++i) {
        ObjectDataBlob& data = ship.data_set;
        if (ReadString(data, kEngControlLabel, i).empty())
            break;
        const int64_t system = ReadInt(data, kEngControlTypeIndex, i);
        if (!IsShipSystem(system))
            continue;
        const auto s = static_cast<int32_t>(system);
        float heat = ReadFiniteFloat(data, kSystemCurHeat, s);
        if (energy > 0.0f)
            heat += (ReadFiniteFloat(data, kEngControlValue, i) - kNormalPower) * heatUp * kHeatRateScale;
        heat = std::max(0.0f, heat);
        if (heat >= kCriticalHeat) {
            RaiseHeatCritical(ship, world, s, heat);
            heat /= 2.0f;
        }
        WriteFloat(ship.data_set, kSystemCurHeat, std::isfinite(heat) ? heat : 0.0f, s);
    }
}

void CoolSystems(ObjectDataBlob& data)
{
    const float perUnit = ReadFiniteFloat(data, kCoolantDamageCoeff) * ReadFiniteFloat(data, kCoolantUpgradeCoeff) *
                          PlayerShipCoefficients().coolant * kHeatRateScale;
    for (int32_t system = 0; system < SHPSYS_MAX; ++system) {
        const float heat = ReadFiniteFloat(data, kSystemCurHeat, system) -
                           perUnit * static_cast<float>(ReadInt(data, kSystemCoolantUsed, system));
        WriteFloat(data, kSystemCurHeat, std::isfinite(heat) ? std::max(0.0f, heat) : 0.0f, system);
    }
}

// What the powered subsystems cost this pass at their sliders.
float SubsystemCost(const ObjectDataBlob& data)
{
    float sum = 0.0f;
    for (int32_t k = 0; k < kMaxPoweredSubsystems; ++k) {
        if (k >= kStandardSubsystems && ReadString(data, kEngControlLabel, k).empty())
            break;
        sum += ReadFiniteFloat(data, kEngControlValue, k) * ReadFiniteFloat(data, kEngControlCostCoeff, k);
    }
    return sum * PlayerShipCoefficients().baseEnergyUse;
}

// Throttle costs by its square; the subsystems cost more with shields up.
// Below its ceiling the APU tops the store up.
float SpendEnergy(const ObjectDataBlob& data, float energy)
{
    const PlayerShipEnergyCoefficients& coefficients = PlayerShipCoefficients();
    const float throttle = ReadFiniteFloat(data, kPlayerThrottle);
    const float shieldsFactor = ReadInt(data, kShieldsRaisedFlag) != 0 ? coefficients.shieldsRaised : 1.0f;
    float spent = energy - throttle * throttle * coefficients.fuelUse * ReadFiniteFloat(data, kShipEnergyCost) *
                               ReadFiniteFloat(data, kWarpEnergyCost) -
                  shieldsFactor * SubsystemCost(data);
    if (ReadFiniteFloat(data, kShipApuCeiling) > spent)
        spent += ReadFiniteFloat(data, kShipApuOutput);
    // A script's absurd coefficients must not leave the store unusable.
    return std::isfinite(spent) ? std::max(0.0f, spent) : std::max(0.0f, energy);
}

void RechargeQuickJump(ObjectDataBlob& data)
{
    const float state = ReadFiniteFloat(data, kQuickJumpRechargeState);
    if (state >= 1.0f)
        return;
    const float gain = ReadFiniteFloat(data, kEngControlValue, kQuickJumpSlider) *
                       ReadFiniteFloat(data, kQuickJumpRechargeRate) * ReadFiniteFloat(data, kJumpDamageCoeff) *
                       ReadFiniteFloat(data, kJumpUpgradeCoeff);
    if (std::isfinite(state + gain))
        WriteFloat(data, kQuickJumpRechargeState, state + gain);
}

}  // namespace

void PlayerShipCountersPass(SpaceObject& ship)
{
    ObjectDataBlob& data = ship.data_set;
    if (ReadFloat(data, kExciting) < kMinExciting)
        WriteFloat(data, kExciting, kMinExciting);
    CountDown(data, kShieldHitCounter);
    CountDown(data, kHullHitCounter);
}

float PlayerShipEngineeringPass(SpaceObject& ship, Simulation& world, float energy)
{
    HeatSystems(ship, world, energy);
    CoolSystems(ship.data_set);
    energy = SpendEnergy(ship.data_set, energy);
    RechargeQuickJump(ship.data_set);
    return energy;
}

void PlayerShipShieldRepairPass(SpaceObject& ship, const Simulation& world, float energy)
{
    ObjectDataBlob& data = ship.data_set;
    if (!behaviours::DeadlinePassed(data, kHealTimer, world))
        return;
    if (energy > 0.0f) {
        const float shared = ReadFiniteFloat(data, kRepairRateShields) * ReadFiniteFloat(data, kAllShieldDamageCoeff) *
                             ReadFiniteFloat(data, kAllShieldUpgradeCoeff);
        const int32_t facings = shipkeys::ShieldFacingCount(data);
        for (int32_t facing = 0; facing < facings; ++facing) {
            const float value = ReadFloat(data, kShieldVal, facing);
            const float maximum = ReadFloat(data, kShieldMaxVal, facing);
            if (!(value < maximum))
                continue;
            const float rate = shared * ReadFiniteFloat(data, kShieldDamageCoeff, facing) *
                               ReadFiniteFloat(data, kShieldUpgradeCoeff, facing) *
                               ReadFiniteFloat(data, kEngControlValue, kFirstShieldSlider + facing);
            const float mended = std::min(maximum, std::max(-kDeepestShieldDrain * maximum, value + rate));
            if (std::isfinite(mended))
                WriteFloat(data, kShieldVal, mended, facing);
        }
    }
    WriteInt64(data, kHealTimer, world.TickCount() + behaviours::kRepairTicks);
}
