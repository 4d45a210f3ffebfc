#include "game/behaviours/PlayerShipHelm.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "engine/base/QelNetworkMessage.h"
#include "game/world/AppData.h"
#include "game/world/FiniteMath.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/CRand.h"
#include "helper/GeneralUtils.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <string>

using namespace playership;

namespace {

const glm::vec3 kAxisX{1.0f, 0.0f, 0.0f};
const glm::vec3 kAxisY{0.0f, 1.0f, 0.0f};
const glm::vec3 kAxisZ{0.0f, 0.0f, 1.0f};

// The helm's throttle runs from full impulse astern to full warp; up to 1 is
// impulse. Values arrive from consoles and scripts, so they are held to the
// range the server's helm command stores.
constexpr float kMinThrottle = -1.0f;
constexpr float kMaxThrottle = 5.0f;
constexpr float kFullImpulse = 1.0f;
constexpr float kMaxSteering = 1.0f;  // each steering input runs -1..1

// Fighters have no throttle: thrust flies at full impulse, boost at warp 4.
constexpr float kFighterThrustThrottle = 1.0f;
constexpr float kFighterBoostThrottle = 4.0f;

// A drive slider at normal power gives 5 units a tick at full throttle, and
// warp doubles that again.
constexpr float kSpeedPerPower = 5.0f;
constexpr float kWarpPowerFactor = 2.0f;
// Speed eases toward its target: each tick keeps 55 parts of the old speed
// and takes one part of the new, so a ship takes a couple of seconds to
// reach speed.
constexpr float kSpeedKeptParts = 55.0f;
constexpr float kSpeedTotalParts = 56.0f;
// No ship moves further than this in a tick, by its drives or by a well's
// pull: several times what a fully powered, upgraded warp drive gives. The
// coefficients are keyed values that missions (and once, a hostile console)
// can set to anything; a finite 10^20 would still carry the ship out of the
// world within minutes.
constexpr float kMaxTravelPerTick = 2000.0f;

// "turn_rate" is in hundredths of a radian per tick.
constexpr float kTurnRateScale = 0.01f;

// "2D" steering keeps the ship near the plane: a pitch input beyond 0.8 tilts
// it by a fixed 0.3 radians while it changes height, it banks into turns in
// proportion to speed, and its orientation eases a fifth of the way to that
// attitude each tick. Far from the plane it drifts back by 0.1% a tick.
constexpr float k2DPitchInputThreshold = 0.8f;
constexpr float k2DPitchAngle = 0.3f;
constexpr float k2DBankPerTurnAndSpeed = 2.0f;
constexpr float k2DAttitudeBlend = 0.2f;
constexpr float k2DClimbPerPitch = 2.0f;
constexpr float k2DHeightLimit = 500.0f;
constexpr float k2DHeightDecay = 0.999f;

// "Constrained" steering levels the ship slowly at impulse, quickly at warp.
constexpr float kLevelBlendImpulse = 0.002f;
constexpr float kLevelBlendWarp = 0.1f;


// The drive slider subsystems read here (engineering's indexes).
constexpr int32_t kImpulseSlider = 2;
constexpr int32_t kWarpSlider = 3;
constexpr int32_t kManeuverSlider = 4;

// What the crew asked for this tick, held to the helm's ranges: a value that
// is not a finite number counts as 0, so nothing a console or a script writes
// can carry a NaN into the ship's motion.
struct HelmInputs {
    float throttle = 0.0f;  // kMinThrottle..kMaxThrottle
    float yaw = 0.0f;       // -1..1
    float pitch = 0.0f;
    float roll = 0.0f;
    bool reverse = false;
    std::string steeringType;
};

HelmInputs ReadHelmInputs(const ObjectDataBlob& blob)
{
    HelmInputs in;
    in.throttle = std::clamp(ReadFiniteFloat(blob, kPlayerThrottle), kMinThrottle, kMaxThrottle);
    in.yaw = std::clamp(ReadFiniteFloat(blob, kPlayerSYaw), -kMaxSteering, kMaxSteering);
    in.pitch = std::clamp(ReadFiniteFloat(blob, kPlayerSPitch), -kMaxSteering, kMaxSteering);
    in.roll = std::clamp(ReadFiniteFloat(blob, kPlayerSRoll), -kMaxSteering, kMaxSteering);
    in.reverse = ReadInt(blob, kPlayerInReverse) != 0;
    in.steeringType = ReadString(blob, kSteeringType);
    return in;
}

// Fighters and shuttles fly on their thrust and boost flags instead.
float FighterThrottle(const ObjectDataBlob& blob, float throttle)
{
    if (ReadInt(blob, kIsShuttleFlag) == 0 && ReadInt(blob, kIsFighterFlag) == 0)
        return throttle;
    if (ReadInt(blob, kFighterThrustFlag) != 0)
        return kFighterThrustThrottle;
    if (ReadInt(blob, kFighterBoostFlag) != 0)
        return kFighterBoostThrottle;
    return 0.0f;
}

// A docked ship stays put unless its dock allows impulse or warp.
float DockedThrottle(const ObjectDataBlob& blob, float throttle)
{
    if (ReadString(blob, kDockState) == kDockStateUndocked)
        return throttle;
    if (ReadInt(blob, kWarpWhileDocked) == 0)
        throttle = std::clamp(throttle, 0.0f, kFullImpulse);
    if (ReadInt(blob, kImpulseWhileDocked) == 0 && std::fabs(throttle) <= kFullImpulse)
        throttle = 0.0f;
    return throttle;
}

// Damage and upgrades of the drive in use; a ship out of energy crawls.
float DriveCoefficient(const ObjectDataBlob& blob, float throttle)
{
    float coefficient = throttle > kFullImpulse
                            ? ReadFiniteFloat(blob, kWarpDamageCoeff) * ReadFiniteFloat(blob, kWarpUpgradeCoeff)
                            : ReadFiniteFloat(blob, kImpulseDamageCoeff) * ReadFiniteFloat(blob, kImpulseUpgradeCoeff);
    if (ReadFiniteFloat(blob, kEnergy) <= 0.0f)
        coefficient *= AppData::GetFloat("player-no_energy-speed-coeff");
    return coefficient;
}

// The forward drive, capped by every nebula the ship is inside that limits
// throttle. The ids come from the slow pass, but scripts may write them too:
// one that is not a space object's names nothing.
float NebulaCappedDrive(const ObjectDataBlob& blob, Simulation& world, float drive)
{
    const int32_t count = std::min<int64_t>(ReadInt(blob, kInsideNebulaCount), CountElements(blob, kInsideNebulaId));
    for (int32_t i = 0; i < count; ++i) {
        const uint64_t id = ReadUInt64(blob, kInsideNebulaId, i);
        if (!VALID_SPACE_OBJ(id))
            continue;
        const SpaceObject* nebula = world.GetSpaceObject(id);
        if (!nebula)
            continue;
        const float cap = ReadFloat(nebula->data_set, kNebulaMaxThrottle);
        if (cap > 0.0f && cap < drive)
            drive = cap;
    }
    return drive;
}

// The engineering slider of the drive in use, as speed per unit of throttle.
float PowerFactor(const ObjectDataBlob& blob, float throttle, float drive)
{
    float power = ReadFiniteFloat(blob, kEngControlValue, drive > kFullImpulse ? kWarpSlider : kImpulseSlider);
    power *= kSpeedPerPower;
    if (throttle > kFullImpulse)
        power *= kWarpPowerFactor;
    return power;
}

void StoreTotalSpeedCoeff(ObjectDataBlob& blob, float power)
{
    // Stored only when it changes, so replication does not resend it every tick.
    if (!blob.FindElement(kTotalSpeedCoeff.key, 0) || ReadFloat(blob, kTotalSpeedCoeff) != power)
        WriteFloat(blob, kTotalSpeedCoeff, power);
}

// Returns the throttle the drives ran at, after the fighter and dock rules.
float UpdateSpeed(SpaceObject& ship, Simulation& world, const HelmInputs& in)
{
    ObjectDataBlob& blob = ship.data_set;
    float throttle = FighterThrottle(blob, in.throttle);
    throttle = DockedThrottle(blob, throttle);
    const float coefficient = DriveCoefficient(blob, throttle);
    const float drive = NebulaCappedDrive(blob, world, coefficient * throttle);
    const float power = PowerFactor(blob, throttle, drive);
    StoreTotalSpeedCoeff(blob, power);
    // Nebulae slow a ship going forward only.
    const float target = in.reverse ? -coefficient * throttle : drive;
    ship.cur_speed = (power * target + ship.cur_speed * kSpeedKeptParts) / kSpeedTotalParts;
    return throttle;
}

float TurnLimit(const ObjectDataBlob& blob)
{
    const float limit = ReadFiniteFloat(blob, kTurnRate) * ReadFiniteFloat(blob, kTurnDamageCoeff)
                        * ReadFiniteFloat(blob, kTurnUpgradeCoeff) * kTurnRateScale
                        * ReadFiniteFloat(blob, kEngControlValue, kManeuverSlider);
    return std::isfinite(limit) ? limit : 0.0f;
}

float HeadingOf(const glm::vec3& forward)
{
    return std::atan2(forward.x, forward.z);
}

float ElevationOf(const glm::vec3& forward)
{
    return std::atan2(forward.y, std::sqrt(forward.x * forward.x + forward.z * forward.z));
}

// The helm points at a direction: turn toward it at most the turn limit.
void SteerToDirection(SpaceObject& ship, const ObjectDataBlob& blob, float limit)
{
    const float dx = ReadFiniteFloat(blob, kSteerToDirDX);
    const float dy = ReadFiniteFloat(blob, kSteerToDirDY);
    const float dz = ReadFiniteFloat(blob, kSteerToDirDZ);
    const glm::vec3 forward = ship.ForwardVector();
    ship.turn_yaw = TurnToward(0.0f, 0.0f, dx, dz, HeadingOf(forward), limit);
    ship.turn_pitch = -TurnToward(0.0f, 0.0f, dy, std::sqrt(dx * dx + dz * dz), ElevationOf(forward), limit);
}

void Steer2D(SpaceObject& ship, const HelmInputs& in, float limit)
{
    ship.turn_yaw = limit * in.yaw;
    float pitch = 0.0f;
    if (in.pitch < -k2DPitchInputThreshold)
        pitch = -k2DPitchAngle;
    else if (in.pitch > k2DPitchInputThreshold)
        pitch = k2DPitchAngle;
    const float heading = HeadingOf(ship.ForwardVector());
    const float bank = -k2DBankPerTurnAndSpeed * ship.turn_yaw * ship.cur_speed;
    const glm::quat attitude =
        glm::angleAxis(heading, kAxisY) * glm::angleAxis(pitch, kAxisX) * glm::angleAxis(bank, kAxisZ);
    ship.rot_quat = glm::slerp(ship.rot_quat, attitude, k2DAttitudeBlend);
    ship.pos.y -= k2DClimbPerPitch * pitch;
    if (std::fabs(ship.pos.y) > k2DHeightLimit)
        ship.pos.y *= k2DHeightDecay;
}

void SteerFree(SpaceObject& ship, const HelmInputs& in, float limit)
{
    ship.turn_yaw = limit * in.yaw;
    ship.turn_roll = limit * in.roll;
    ship.turn_pitch = limit * in.pitch;
}

void Steer(SpaceObject& ship, const HelmInputs& in, float throttle)
{
    const ObjectDataBlob& blob = ship.data_set;
    ship.local_steering_flag = false;
    const float limit = TurnLimit(blob);
    if (ReadInt(blob, kSteeringToDirFlag) != 0) {
        SteerToDirection(ship, blob, limit);
    } else if (in.steeringType == kSteering2D) {
        Steer2D(ship, in, limit);
    } else if (in.steeringType == kSteeringConstrained) {
        const float blend = throttle > kFullImpulse ? kLevelBlendWarp : kLevelBlendImpulse;
        ship.rot_quat = glm::slerp(ship.rot_quat, glm::angleAxis(HeadingOf(ship.ForwardVector()), kAxisY), blend);
        SteerFree(ship, in, limit);
    } else {
        ship.local_steering_flag = true;
        SteerFree(ship, in, limit);
    }
}

// Coefficients that scripts set out of all proportion can still overflow the
// arithmetic; whatever did, the ship keeps its last sound state rather than
// carrying an infinity or a NaN into the move step, which would end the run,
// and its speed stays within what any drive can give.
void KeepMotionSane(SpaceObject& ship, const glm::vec3& lastPos, const glm::quat& lastOrientation)
{
    ship.cur_speed = std::isfinite(ship.cur_speed) ? std::clamp(ship.cur_speed, -kMaxTravelPerTick, kMaxTravelPerTick)
                                                   : 0.0f;
    for (float* turn : {&ship.turn_yaw, &ship.turn_pitch, &ship.turn_roll})
        if (!std::isfinite(*turn))
            *turn = 0.0f;
    if (!AllFinite(ship.pos))
        ship.pos = lastPos;
    if (!AllFinite(ship.rot_quat))
        ship.rot_quat = lastOrientation;
}

}  // namespace

void PlayerShipHelmTick(SpaceObject& ship, Simulation& world)
{
    const glm::vec3 lastPos = ship.pos;
    const glm::quat lastOrientation = ship.rot_quat;
    const HelmInputs in = ReadHelmInputs(ship.data_set);
    const float throttle = UpdateSpeed(ship, world, in);
    behaviours::ApplyGravityPull(ship);
    Steer(ship, in, throttle);
    KeepMotionSane(ship, lastPos, lastOrientation);
}
