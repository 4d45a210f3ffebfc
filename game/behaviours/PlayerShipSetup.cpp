#include "game/behaviours/PlayerShipSetup.h"

#include "game/behaviours/BehaviourSupport.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/AppData.h"
#include "game/world/RandomInt.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "game/world/WorldEnums.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

using namespace playership;

namespace {

// The eight powered subsystems engineering sets sliders for, each drawing on
// one ship system.
struct PoweredSubsystem {
    const char* label;
    int32_t system;  // SHPSYS
};
constexpr std::array<PoweredSubsystem, 8> kPoweredSubsystems{{
    {"BEAM", SHPSYS_WEAPONS},
    {"TORP", SHPSYS_WEAPONS},
    {"IMPULSE", SHPSYS_ENGINES},
    {"WARP", SHPSYS_ENGINES},
    {"MANEUVER", SHPSYS_ENGINES},
    {"SENSORS", SHPSYS_SENSORS},
    {"FRONT SHIELD", SHPSYS_SHIELDS},
    {"REAR SHIELD", SHPSYS_SHIELDS},
}};

// Shield frequencies a ship can be tuned to, and the range of strengths each
// starts at (percent resistance to beams of that frequency).
constexpr int32_t kShieldFrequencies = 5;
constexpr int32_t kMinShieldFreqStrength = 20;
constexpr int32_t kMaxShieldFreqStrength = 80;

constexpr float kStartEnergy = 1000.0f;
constexpr float kApuOutput = 0.04f;
constexpr int32_t kApuCeiling = 100;
constexpr int32_t kStartCoolant = 8;
constexpr float kBaseScanRange = 5000.0f;
constexpr float kReferenceRingBrightness = 0.2f;
constexpr float kShieldRepairRate = 1.0f;
constexpr float kSystemRepairRate = 0.025f;
constexpr float kBaseQuickJumpRecharge = 0.01f;
constexpr int32_t kEnergyPerTorpedo = 150;
constexpr int32_t kLowVisibilityDistance = 2000;

const char* const kDefaultScanTab = "status";
const char* const kDefaultEnergyTorpedo = "Homing";

// Roles of a record that mark small craft, which fly on the fighter controls.
const char* const kFighterRole = "fighter";
const char* const kShuttleRole = "shuttle";
const char* const kRoleBlanks = " \t\r\n";

// A hull has mounts for at most this many tubes; a record (from a file or
// from the server) that claims more is held to it, so a wild count cannot
// make set-up write millions of keys.
constexpr int32_t kMaxTubes = kShipTorpedoTubeSlots;

void SetCoefficientsToOne(ObjectDataBlob& blob, std::initializer_list<DataKey> keys, int32_t index = 0)
{
    for (const DataKey& key : keys)
        DeclareFloat(blob, key, 1.0f, index);
}

void SetupDrives(ObjectDataBlob& blob)
{
    SetCoefficientsToOne(blob, {kTurnDamageCoeff, kTurnUpgradeCoeff, kImpulseDamageCoeff, kImpulseUpgradeCoeff,
                                kWarpDamageCoeff, kWarpUpgradeCoeff, kJumpDamageCoeff, kJumpUpgradeCoeff});
    DeclareFloat(blob, kShipApuOutput, kApuOutput);
    DeclareInt(blob, kShipApuCeiling, kApuCeiling);
    SetCoefficientsToOne(blob, {kCoolantUpgradeCoeff, kCoolantDamageCoeff});
}

void SetupSensors(ObjectDataBlob& blob)
{
    DeclareInt(blob, kNumExtraScanSources, 0);
    DeclareUInt64(blob, kExtraScanSource, 0);
    SetCoefficientsToOne(blob, {kSensorDamageCoeff, kSensorUpgradeCoeff});
    DeclareString(blob, kSteeringType, kSteering2D);
}

void SetupSystems(ObjectDataBlob& blob)
{
    for (int32_t system = 0; system < SHPSYS_MAX; ++system) {
        DeclareFloat(blob, kSystemDamage, 0.0f, system);
        DeclareFloat(blob, kSystemCoolantSetting, 0.0f, system);
        DeclareInt(blob, kSystemCoolantUsed, 0, system);
        DeclareFloat(blob, kSystemCurHeat, 0.0f, system);
    }
    DeclareInt(blob, kSystemCoolantAvailable, kStartCoolant);
    DeclareInt(blob, kSystemLastCoolantChange, 0);
}

void SetupPoweredSubsystems(ObjectDataBlob& blob)
{
    for (int32_t i = 0; i < static_cast<int32_t>(kPoweredSubsystems.size()); ++i) {
        DeclareFloat(blob, kEngControlValue, 1.0f, i);
        DeclareString(blob, kEngControlLabel, kPoweredSubsystems[i].label, i);
        DeclareInt(blob, kEngControlTypeIndex, kPoweredSubsystems[i].system, i);
        DeclareFloat(blob, kEngControlCostCoeff, 1.0f, i);
    }
}

void SetupEnergyDockingAndWeapons(ObjectDataBlob& blob)
{
    DeclareFloat(blob, kEnergy, kStartEnergy);
    DeclareString(blob, kDockState, kDockStateUndocked);
    DeclareInt(blob, kDockBaseId, 0);
    for (const DataKey& key : {kImpulseWhileDocked, kWarpWhileDocked, kJumpWhileDocked})
        DeclareInt(blob, key, 0);
    SetCoefficientsToOne(blob, {kAllTubeDamageCoeff, kAllTubeUpgradeCoeff});
    DeclareInt(blob, kShieldsRaisedFlag, 1);
    SetCoefficientsToOne(blob, {kAllShieldDamageCoeff, kAllShieldUpgradeCoeff, kAllBeamDamageCoeff,
                                kAllBeamUpgradeCoeff});
    DeclareInt(blob, kWarpDriveActive, 1);
    DeclareInt(blob, kJumpDriveActive, 0);
}

void SetupHelm(ObjectDataBlob& blob)
{
    for (const DataKey& key : {kPlayerThrottle, kPlayerSYaw, kPlayerSPitch, kPlayerSRoll})
        DeclareFloat(blob, key, 0.0f);
}

void SetupPresentationAndRepairs(ObjectDataBlob& blob, Simulation& world)
{
    DeclareFloat(blob, kShipBaseScanRange, kBaseScanRange);
    DeclareInt(blob, kCameraTargetUID, 0);
    DeclareFloat(blob, kReferenceRing3dBrightness, kReferenceRingBrightness);
    DeclareFloat(blob, kOvergridOffsetX, 0.0f);
    DeclareFloat(blob, kOvergridOffsetZ, 0.0f);
    DeclareFloat(blob, kRepairRateShields, kShieldRepairRate);
    DeclareFloat(blob, kRepairRateSystems, kSystemRepairRate);
    DeclareInt64(blob, kHealTimer, world.TickCount());
}

void SetupShieldFrequenciesAndScans(ObjectDataBlob& blob, Simulation& world)
{
    for (int32_t i = 0; i < kShieldFrequencies; ++i)
        DeclareInt(blob, kShieldFreqStrength,
                   RandomInt(world.randomState, kMinShieldFreqStrength, kMaxShieldFreqStrength), i);
    DeclareString(blob, kScanTypeForSystemDamage, kDefaultScanTab);
    DeclareString(blob, kScanTypeForShldFreq, kDefaultScanTab);
}

void SetupQuickJumpTorpedoesAndElite(ObjectDataBlob& blob)
{
    DeclareFloat(blob, kQuickJumpRechargeRate, kBaseQuickJumpRecharge);
    DeclareFloat(blob, kQuickJumpRechargeState, 1.0f);
    DeclareString(blob, kTorpTypeFromEnergy, kDefaultEnergyTorpedo);
    DeclareInt(blob, kEnergyToTorpCost, kEnergyPerTorpedo);
    DeclareInt(blob, kEliteLowVis, 0);
    DeclareInt(blob, kEliteLowVisDistance, kLowVisibilityDistance);
    DeclareInt(blob, kEliteMainScnInvis, 0);
    DeclareInt(blob, kEliteDroneLauncher, 0);
}

// The record of the ship's type; a list without even an "unknown" record
// gives an empty one, so the keys exist with zero values.
const ShipDataRecord& RecordOf(const SpaceObject& ship)
{
    static const ShipDataRecord kNoRecord;
    const ShipDataRecord* record = ShipData::Instance().Find(ship.data_tag);
    return record ? *record : kNoRecord;
}

// Roles are listed as "fighter, shuttle"; the blanks around each do not count.
bool HasRole(const ShipDataRecord& record, std::string_view role)
{
    return std::any_of(record.roles.begin(), record.roles.end(), [role](const std::string& listed) {
        const size_t first = listed.find_first_not_of(kRoleBlanks);
        const size_t last = listed.find_last_not_of(kRoleBlanks);
        return first != std::string::npos && std::string_view(listed).substr(first, last - first + 1) == role;
    });
}

void SetupHullInformation(ObjectDataBlob& blob, const ShipDataRecord& record)
{
    DeclareString(blob, kHullOrigin, record.origin);
    DeclareString(blob, kHullSide, record.side);
    DeclareString(blob, kHullName, record.name);
    DeclareString(blob, kLongDescription, record.longDesc);
    DeclareInt(blob, kIsFighterFlag, HasRole(record, kFighterRole) ? 1 : 0);
    DeclareInt(blob, kIsShuttleFlag, HasRole(record, kShuttleRole) ? 1 : 0);
    DeclareFloat(blob, kTurnRate, record.turn_rate);
    DeclareFloat(blob, kShipEnergyCost, record.ship_energy_cost);
    DeclareFloat(blob, kWarpEnergyCost, record.warp_energy_cost);
    DeclareFloat(blob, kJumpEnergyCost, record.jump_energy_cost);
    DeclareFloat(blob, kShipApuOutput, AppData::GetFloat("ship_apu_assistance_per_tick"));
    DeclareFloat(blob, kShipApuCeiling, AppData::GetFloat("ship_apu_assistance_ceiling"));
    DeclareInt(blob, kBayCount, record.bayCount);
    DeclareFloat(blob, kMeshRotateSide, record.meshRotate);
    for (int32_t system = 0; system < SHPSYS_MAX; ++system)
        DeclareFloat(blob, kSystemMaxDamage, record.hullPoints, system);
}

// Each torpedo type gets a capacity and a current count, both the record's
// starting load, and a place in the weapons officer's list.
void SetupTorpedoStorage(SpaceObject& ship, const ShipDataRecord& record)
{
    std::string available;
    const size_t types = std::min(record.torpedoStartTypes.size(), record.torpedoStartCounts.size());
    for (size_t i = 0; i < types; ++i) {
        const std::string& type = record.torpedoStartTypes[i];
        const int32_t count = record.torpedoStartCounts[i];
        for (const DataKey& suffix : {kTorpedoMaxSuffix, kTorpedoNumSuffix}) {
            const std::string name = type + std::string(suffix.name);
            ship.data_set.SetInt(name, count, 0, std::string(suffix.doc));
            ship.AddString(name);
        }
        available += type + ",";
    }
    DeclareString(ship.data_set, kTorpedoTypesAvailable, available);
}

void SetupTubesAndShields(ObjectDataBlob& blob, const ShipDataRecord& record)
{
    const int32_t tubeCount = std::clamp(record.tubeCount, 0, kMaxTubes);
    DeclareInt(blob, kTorpedoTubeCount, tubeCount);
    for (int32_t tube = 0; tube < tubeCount; ++tube)
        SetCoefficientsToOne(blob, {kTubeDamageCoeff, kTubeUpgradeCoeff}, tube);
    const auto shieldCount = static_cast<int32_t>(record.shields.size());
    DeclareInt(blob, kShieldCount, shieldCount);
    for (int32_t facing = 0; facing < shieldCount; ++facing) {
        DeclareFloat(blob, kShieldVal, record.shields[facing], facing);
        DeclareFloat(blob, kShieldMaxVal, record.shields[facing], facing);
        SetCoefficientsToOne(blob, {kShieldDamageCoeff, kShieldUpgradeCoeff}, facing);
    }
}

// The beams are the record's first ports, as many as it has ports with a
// range; the record is expected to list its ports in use first.
void SetupBeams(ObjectDataBlob& blob, const ShipDataRecord& record)
{
    const auto beamCount = static_cast<int32_t>(std::count_if(
        record.beamPorts.begin(), record.beamPorts.end(), [](const ShipBeamPort& port) { return port.range > 0.0f; }));
    DeclareInt(blob, kBeamCount, beamCount);
    for (int32_t beam = 0; beam < beamCount; ++beam) {
        behaviours::DeclareBeamPort(blob, record.beamPorts[beam], beam);
        SetCoefficientsToOne(blob, {kBeamDamageCoeff, kBeamUpgradeCoeff}, beam);
    }
}

void SetupScansAndColours(ObjectDataBlob& blob, const ShipDataRecord& record)
{
    for (const DataKey& key : {kClosestScanDelay, kFarthestScanDelay})
        DeclareFloat(blob, key, AppData::GetFloat(std::string(key.name)));
    DeclareFloat(blob, kScanStrengthCoeff, record.scan_strength_coeff);
    for (const DataKey& key : {kInternalColorShipSillouette, kInternalColorShipLines, kInternalColorShipNodes,
                               kCoolantDotActiveColor, kCoolantDotReserveColor})
        DeclareString(blob, key, AppData::GetString(std::string(key.name)));
}

}  // namespace

PlayerShipEnergyCoefficients& PlayerShipCoefficients()
{
    static PlayerShipEnergyCoefficients coefficients;
    return coefficients;
}

void RefreshPlayerShipCoefficients()
{
    PlayerShipCoefficients().fuelUse = AppData::GetFloat("player-fuel-use-coeff");
    PlayerShipCoefficients().baseEnergyUse = AppData::GetFloat("player-base-energy-use-coeff");
    PlayerShipCoefficients().heatUp = AppData::GetFloat("player_heat_up_coeff");
    PlayerShipCoefficients().coolant = AppData::GetFloat("player_coolant_coeff");
    PlayerShipCoefficients().shieldsRaised = AppData::GetFloat("player-shields-raised-energy-coeff");
}

void PlayerShipSetupDefaults(SpaceObject* ship, Simulation& world)
{
    ObjectDataBlob& blob = ship->data_set;
    DeclareString(blob, kNameTag, "player");
    SetupDrives(blob);
    SetupSensors(blob);
    SetupSystems(blob);
    SetupPoweredSubsystems(blob);
    SetupEnergyDockingAndWeapons(blob);
    SetupHelm(blob);
    SetupPresentationAndRepairs(blob, world);
    SetupShieldFrequenciesAndScans(blob, world);
    SetupQuickJumpTorpedoesAndElite(blob);
}

void PlayerShipSetupFromData(SpaceObject* ship)
{
    const ShipDataRecord& record = RecordOf(*ship);
    ObjectDataBlob& blob = ship->data_set;
    SetupHullInformation(blob, record);
    SetupTorpedoStorage(*ship, record);
    SetupTubesAndShields(blob, record);
    SetupBeams(blob, record);
    SetupScansAndColours(blob, record);
}
