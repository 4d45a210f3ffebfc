#include "game/behaviours/PlayerShipBeams.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/AppData.h"
#include "game/world/FiniteMath.h"
#include "game/world/MusicControl.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <bitset>
#include <cmath>

using namespace playership;
using behaviours::FindLive;
using behaviours::kDeathTick;
using behaviours::kInvisibleTag;
using shipkeys::kWeaponTargetUid;

namespace {

using ReadyBeams = std::bitset<Simulation::kMaxPlayerBeams>;

// Engineering's slider that powers the beams.
constexpr int32_t kBeamsSlider = 0;
// A fighter looks for targets at least this far ahead, whatever its beams
// reach, and takes only one within about 18 degrees of its nose.
constexpr float kMinFighterReach = 300.0f;
constexpr float kFighterAimCosine = 0.95f;
// Cycle times are seconds of 30 ticks.
constexpr float kTicksPerSecond = 30.0f;
// Beam power and coefficients hasten or slow a recharge at most this much.
constexpr float kMinRechargePower = 0.01f;
constexpr float kMaxRechargePower = 1000.0f;
// Each speed setting (0 to 3) takes a quarter off a beam's cycle and damage.
constexpr int64_t kMaxSpeedSetting = 3;
constexpr float kSpeedSettingStep = 0.25f;
// A shot's damage grows as the target's shield strength on the beam's
// frequency falls below this, and shrinks as it rises above it.
constexpr float kNeutralFrequencyStrength = 50.0f;
constexpr int64_t kBeamFrequencies = 5;
// A beam shot raises the server's music to at least this tension.
constexpr float kBeamMusicTension = 50.0f;
const char* const kBeamShotSound = "PB";

int32_t BeamCount(const ObjectDataBlob& data)
{
    return static_cast<int32_t>(std::clamp<int64_t>(ReadInt(data, kBeamCount), 0, Simulation::kMaxPlayerBeams));
}

// 1 at the normal setting, down to a quarter at the fastest.
float SpeedFactor(const ObjectDataBlob& data)
{
    const int64_t setting = std::clamp<int64_t>(ReadInt(data, kCurBeamSpeedSetting), 0, kMaxSpeedSetting);
    return 1.0f - static_cast<float>(setting) * kSpeedSettingStep;
}

// What damage and upgrades leave of the beam: 0 or less and it cannot fire.
float BeamQuality(const ObjectDataBlob& data, int32_t beam)
{
    return ReadFiniteFloat(data, kAllBeamUpgradeCoeff) * ReadFiniteFloat(data, kAllBeamDamageCoeff) *
           ReadFiniteFloat(data, kBeamDamageCoeff, beam) * ReadFiniteFloat(data, kBeamUpgradeCoeff, beam);
}

bool IsFighter(const ObjectDataBlob& data)
{
    return ReadInt(data, kIsShuttleFlag) != 0 || ReadInt(data, kIsFighterFlag) != 0;
}

// Lowers every charging beam by one tick's worth and answers the ready ones.
ReadyBeams Recharge(SpaceObject& ship, Simulation& world)
{
    const ObjectDataBlob& data = ship.data_set;
    const int32_t beams = BeamCount(data);
    ReadyBeams ready;
    if (beams == 0)
        return ready;
    Simulation::BeamCharges& charges = world.PlayerBeamCharges(ship.uniqueID);
    const float power = ReadFiniteFloat(data, kEngControlValue, kBeamsSlider);
    const float speedFactor = SpeedFactor(data);
    for (int32_t beam = 0; beam < beams; ++beam) {
        if (charges[beam] <= 0.0f) {
            ready.set(static_cast<size_t>(beam));
            continue;
        }
        const float pace = std::clamp(BeamQuality(data, beam) * power, kMinRechargePower, kMaxRechargePower);
        const float cycleTicks = ReadFiniteFloat(data, kBeamCycleTime, beam) * kTicksPerSecond / pace * speedFactor;
        // A cycle of no time (or none a number describes) is over at once.
        charges[beam] = cycleTicks > 0.0f ? std::max(0.0f, charges[beam] - 1.0f / cycleTicks) : 0.0f;
    }
    return ready;
}

// The target's shield strength on the frequency the weapons officer chose
// turns the shot's damage down (strong) or up (weak); a target without
// strengths takes it as it is.
float FrequencyFactor(const ObjectDataBlob& data, const SpaceObject& target)
{
    const int64_t frequency = ReadInt(data, kCurBeamFreq);
    float strength = 0.0f;
    if (frequency >= 0 && frequency < kBeamFrequencies)
        strength = static_cast<float>(ReadInt(target.data_set, kShieldFreqStrength, static_cast<int32_t>(frequency)));
    if (strength <= 0.0f)
        strength = kNeutralFrequencyStrength;
    return 1.0f - (strength - kNeutralFrequencyStrength) / 100.0f;
}

// The shot's price: energy by the beams' power, the shot's sound and the
// music's tension.
void PayForShot(SpaceObject& ship, Simulation& world)
{
    ObjectDataBlob& data = ship.data_set;
    const float power = ReadFiniteFloat(data, kEngControlValue, kBeamsSlider);
    const float energy = ReadFiniteFloat(data, kEnergy) - AppData::GetFloat("energyCostOfOneBeamShot") * power;
    WriteFloat(data, kEnergy, std::isfinite(energy) ? std::max(0.0f, energy) : 0.0f);
    world.QueueSoundEvent(kBeamShotSound, ship.pos, 0);
    if (gMusicControl)
        gMusicControl->RaiseMusicTension(kBeamMusicTension);
}

// Fires the beam at the target when it is in the beam's range and arc; false
// when it is not. The strike comes before the shot's price, so the target's
// handlers and the mission see the ship as it fired; they may remove the
// ship, and then nothing more is asked of it.
bool Fire(SpaceObject& ship, Simulation& world, SpaceObject& target, int32_t beam, uint64_t run)
{
    ObjectDataBlob& data = ship.data_set;
    const glm::vec3 offset = target.pos - ship.pos;
    const float range = ReadFiniteFloat(data, kBeamRange, beam);
    if (!(BeamQuality(data, beam) > 0.0f) || glm::dot(offset, offset) > range * range
        || !behaviours::BeamArcHolds(ship, beam, offset))
        return false;

    world.PlayerBeamCharges(ship.uniqueID)[beam] = 1.0f;
    const float amount = FrequencyFactor(data, target) * SpeedFactor(data) * world.playerShipBeamDamageCoeff *
                         ReadFiniteFloat(data, kBeamDamage, beam);
    behaviours::StrikeTarget(world, ship, target,
                             {"beam", behaviours::BeamColour(data, beam), behaviours::BeamHullPoint(data, beam), beam,
                              amount});
    if (behaviours::StillThere(world, ship, run))
        PayForShot(ship, world);
    return true;
}

// Every ready beam fires in turn while the target lives and the ship has
// energy; a target that is gone or unseen stops them all.
void FireReadyBeams(SpaceObject& ship, Simulation& world, const ReadyBeams& ready)
{
    const uint64_t targetId = ReadUInt64(ship.data_set, kWeaponTargetUid);
    const SpaceObject* aimedAt = FindLive(world, targetId);
    if (!aimedAt || aimedAt->data_tag == kInvisibleTag)
        return;
    const uint64_t run = world.RunCount();
    for (int32_t beam = 0; beam < BeamCount(ship.data_set); ++beam) {
        if (!ready.test(static_cast<size_t>(beam)))
            continue;
        SpaceObject* target = FindLive(world, targetId);
        if (!target || ReadInt(target->data_set, kDeathTick) != 0 || !(ReadFloat(ship.data_set, kEnergy) > 0.0f))
            return;
        if (Fire(ship, world, *target, beam, run) && !behaviours::StillThere(world, ship, run))
            return;
    }
}

}  // namespace

void PlayerShipFighterTargeting(SpaceObject& ship, const Simulation& world)
{
    ObjectDataBlob& data = ship.data_set;
    if (!IsFighter(data) || !world.Container())
        return;
    float reach = kMinFighterReach;
    for (int32_t beam = 0; beam < BeamCount(data); ++beam)
        reach = std::max(reach, ReadFiniteFloat(data, kBeamRange, beam));
    const glm::vec3 forward = ship.ForwardVector();
    uint64_t best = 0;
    float bestAlignment = kFighterAimCosine;
    for (const SpaceObject* other : behaviours::Neighbours(world, ship.pos, reach)) {
        if (other == &ship || other->data_tag == kInvisibleTag)
            continue;
        const float alignment = glm::dot(forward, SafeNormalize(other->pos - ship.pos));
        if (alignment > bestAlignment) {
            bestAlignment = alignment;
            best = other->uniqueID;
        }
    }
    WriteUInt64(data, kWeaponTargetUid, best);
}

void PlayerShipBeamsTick(SpaceObject& ship, Simulation& world)
{
    ReadyBeams ready = Recharge(ship, world);
    // Fighters and shuttles fire only while their pilot holds the trigger.
    if (IsFighter(ship.data_set) && ReadInt(ship.data_set, kFighterShootFlag) == 0)
        ready.reset();
    if (ready.any())
        FireReadyBeams(ship, world, ready);
}
