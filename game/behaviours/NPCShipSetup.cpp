#include "game/behaviours/NPCShipSetup.h"

#include "game/behaviours/BehaviourSupport.h"
#include "game/behaviours/NPCShipKeys.h"
#include "game/world/RandomInt.h"
#include "game/world/ShipDataRecord.h"
#include "game/world/ShipMechanics.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "game/world/WorldEnums.h"
#include "helper/CRand.h"

#include <algorithm>
#include <string>

using namespace npcship;

namespace {

constexpr float kDefaultDroneLaunchMaxRange = 7000.0f;
constexpr float kDefaultDroneDamage = 15.0f;

// Shield frequencies: one weak spot at 30, the others drawn in 20..80.
constexpr int32_t kShieldFrequencies = 5;
constexpr int32_t kWeakFrequencyStrength = 30;
constexpr int32_t kMinFrequencyStrength = 20;
constexpr int32_t kMaxFrequencyStrength = 80;

// A name such as "K47": a capital letter and two digits.
std::string RandomName()
{
    std::string name;
    name += static_cast<char>('A' + static_cast<int>(static_cast<float>(crand()) / CRAND_MAX * 25.999f));
    for (int digit = 0; digit < 2; ++digit)
        name += static_cast<char>('0' + static_cast<int>(static_cast<float>(crand()) / CRAND_MAX * 9.999f));
    return name;
}

void SetupIdentity(ObjectDataBlob& blob, const ShipDataRecord& record)
{
    DeclareString(blob, kNameTag, RandomName());
    DeclareString(blob, kHullOrigin, record.origin);
    DeclareString(blob, kHullSide, record.side);
    DeclareString(blob, kHullName, record.name);
    DeclareString(blob, kLongDescription, record.longDesc);
}

void SetupMovementAndDrones(ObjectDataBlob& blob, const ShipDataRecord& record)
{
    DeclareFloat(blob, kNpcTurnRate, record.turn_rate);
    DeclareFloat(blob, kTurnDamageCoeff, 1.0f);
    DeclareFloat(blob, kTurnUpgradeCoeff, 1.0f);
    DeclareFloat(blob, kSpeedCoeff, record.speed_coeff);
    DeclareFloat(blob, kShipEnergyCost, record.ship_energy_cost);
    DeclareFloat(blob, kWarpEnergyCost, record.warp_energy_cost);
    DeclareFloat(blob, kJumpEnergyCost, record.jump_energy_cost);
    DeclareFloat(blob, kDroneLaunchTimer, record.drone_launch_timer);
    DeclareFloat(blob, kDroneLaunchMaxRange, kDefaultDroneLaunchMaxRange);
    DeclareFloat(blob, kNpcDroneDamage, kDefaultDroneDamage);
    DeclareInt(blob, kBayCount, record.bayCount);
    DeclareString(blob, kRadarColorOverride, "");
    DeclareFloat(blob, kThrottle, 0.0f);
    for (const DataKey& key : {kTargetPosX, kTargetPosY, kTargetPosZ})
        DeclareFloat(blob, key, 0.0f);
    DeclareInt(blob, kTargetId, 0);
    DeclareInt(blob, kSurrenderFlag, 0);
    for (const DataKey& key : {kLocalScaleCoeff, kLocalScaleXCoeff, kLocalScaleYCoeff, kLocalScaleZCoeff})
        DeclareFloat(blob, key, 1.0f);
}

void SetupSystemsAndShields(ObjectDataBlob& blob, const ShipDataRecord& record, Simulation& world)
{
    for (int32_t system = 0; system < SHPSYS_MAX; ++system) {
        DeclareFloat(blob, kSystemDamage, 0.0f, system);
        DeclareFloat(blob, kSystemMaxDamage, record.hullPoints, system);
    }
    behaviours::DeclareHullShields(blob, record);
    const int32_t weak = RandomInt(world.randomState, 0, kShieldFrequencies - 1);
    for (int32_t frequency = 0; frequency < kShieldFrequencies; ++frequency) {
        const int32_t strength = frequency == weak ? kWeakFrequencyStrength
                                                   : RandomInt(world.randomState, kMinFrequencyStrength,
                                                               kMaxFrequencyStrength);
        DeclareInt(blob, kShieldFreqStrength, strength, frequency);
    }
}

// The beams are the record's first ports, as many as it has ports with a
// range; each may fire at once.
void SetupBeams(ObjectDataBlob& blob, const ShipDataRecord& record, int64_t now)
{
    const auto beamCount = static_cast<int32_t>(std::count_if(
        record.beamPorts.begin(), record.beamPorts.end(), [](const ShipBeamPort& port) { return port.range > 0.0f; }));
    DeclareInt(blob, kBeamCount, beamCount);
    for (int32_t beam = 0; beam < beamCount; ++beam) {
        DeclareInt64(blob, kBeamTimer, now, beam);
        behaviours::DeclareBeamPort(blob, record.beamPorts[beam], beam);
        DeclareFloat(blob, kBeamDamageCoeff, 1.0f, beam);
    }
}

}  // namespace

void NPCShipSetup(SpaceObject& ship, Simulation& world)
{
    const ShipDataRecord& record = behaviours::HullRecordOf(ship);
    ObjectDataBlob& blob = ship.data_set;
    SetupIdentity(blob, record);
    SetupMovementAndDrones(blob, record);
    SetupSystemsAndShields(blob, record, world);
    SetupBeams(blob, record, world.TickCount());
    DeclareInt(blob, kDeathTick, 0);
    DeclareInt(blob, kDeathState, 0);
    DeclareInt64(blob, kHealTimer, world.TickCount());
    SetRandomShieldWave(ship);
}
