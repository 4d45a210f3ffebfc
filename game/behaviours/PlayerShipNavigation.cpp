#include "game/behaviours/PlayerShipNavigation.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/PlayerShipScience.h"
#include "game/world/AppData.h"
#include "game/world/LocalPresentation.h"
#include "game/world/PlaneBox.h"
#include "game/world/ShipConsoleNotices.h"
#include "game/world/ShipMechanics.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "game/world/SuperContainer.h"
#include "game/world/WorldServices.h"
#include "helper/CRand.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace playership;

namespace {

constexpr int64_t kTicksPerSecond = 30;
// A jump goes 1 to 1000 thousand units along a heading of 0 to 360 degrees;
// anything else was a bad order, and the ship stays where it is.
constexpr float kMinJumpDistance = 1.0f;
constexpr float kMaxJumpDistance = 1000.0f;
constexpr float kMaxJumpDirection = 360.0f;
constexpr float kUnitsPerJumpDistance = 1000.0f;
constexpr int64_t kJumpEffectSeconds = 6;
constexpr float kDegreesToRadians = 3.14159265f / 180.0f;
constexpr float kTwoPi = 2.0f * 3.14159265f;
const char* const kJumpParticles = "color:#88f; lifespan:60; image_cell:4; size:20; speed: 10,20; count:300";
// The quick jump: a fixed hop along the heading, charged by engineering.
constexpr float kQuickJumpUnits = 5000.0f;
constexpr int64_t kQuickJumpEffectSeconds = 2;
constexpr float kQuickJumpCharged = 1.0f;
const char* const kQuickJumpParticles = "color:#8af; lifespan:60; image_cell:4; size:12; speed: 10,20; count:500";

// Wells and nebulae are looked for this far around the ship on X and Z.
constexpr float kSurroundingsHalfSize = 5000.0f;
// A nebula that gives no size of its own reaches this far.
constexpr float kDefaultNebulaSize = 1000.0f;
const char* const kInvisibleTag = "invisible";
using behaviours::kNebulaBehaviour;

void AnnounceCountdown(SpaceObject& ship, Simulation& world, uint64_t jumpEnd, int64_t now)
{
    const uint64_t seconds = (jumpEnd - static_cast<uint64_t>(now)) / kTicksPerSecond + 1;
    const auto secondsLeft = static_cast<int32_t>(std::min<uint64_t>(seconds, std::numeric_limits<int32_t>::max()));
    if (ShipConsoleNotices* consoles = world.ShipConsoles())
        consoles->JumpCountdown(ship.uniqueID, secondsLeft);
    if (LocalPresentation* presentation = world.Presentation())
        presentation->PlayJumpSound(secondsLeft);
}

void JumpParticles(Simulation& world, const glm::vec3& at, const char* particles)
{
    if (ParticleSink* sink = world.Particles())
        sink->ParticleAt(at, particles);
}

// Moves the ship the units along the (unit) heading, with the jump's
// particles where it leaves and where it arrives. A jump that costs more than
// the ship has lands off target, along a random heading, by the shortfall.
// Answers the energy left, below 0 after such a jump.
float CarryShip(SpaceObject& ship, Simulation& world, const glm::vec3& heading, float units, const char* particles,
                float energy)
{
    JumpParticles(world, ship.pos, particles);
    glm::vec3 destination = ship.pos + heading * units;
    energy -= GetJumpEnergyCost(ship) * units;
    if (energy < 0.0f) {
        const float stray = static_cast<float>(crand()) / CRAND_MAX * kTwoPi;
        destination.x += std::sin(stray) * energy;
        destination.z += std::cos(stray) * energy;
    }
    world.RepositionSpaceObject(&ship, destination.x, destination.y, destination.z);
    JumpParticles(world, ship.pos, particles);
    return energy;
}

// The server plays the jump's end, and the ship's consoles and the server's
// own screen show its effect for the seconds.
void AnnounceArrival(SpaceObject& ship, Simulation& world, int64_t effectSeconds)
{
    LocalPresentation* presentation = world.Presentation();
    if (presentation)
        presentation->PlayAudioFile(AppData::GetString("jump_sfx_end"), 1.0f, 1.0f);
    if (ShipConsoleNotices* consoles = world.ShipConsoles())
        consoles->JumpArrived(ship.uniqueID, world.TickCount(), effectSeconds);
    if (presentation)
        presentation->StartJumpEffect(static_cast<int32_t>(effectSeconds));
}

bool IsVisible(const SpaceObject& object)
{
    return object.data_tag != kInvisibleTag;
}

float DistanceSquared(const glm::vec3& a, const glm::vec3& b)
{
    const glm::vec3 d = a - b;
    return glm::dot(d, d);
}

bool IsInsideNebula(const SpaceObject& ship, const SpaceObject& nebula)
{
    float size = ReadFloat(nebula.data_set, kNebulaEffectSize);
    if (size == 0.0f)
        size = kDefaultNebulaSize;
    return DistanceSquared(nebula.pos, ship.pos) < size * size;
}

}  // namespace

float CompleteJump(SpaceObject& ship, Simulation& world, float energy)
{
    const uint64_t jumpEnd = ReadUInt64(ship.data_set, kJumpEnd);
    if (jumpEnd == 0)
        return energy;
    const int64_t now = world.TickCount();
    if (static_cast<uint64_t>(now) < jumpEnd) {
        AnnounceCountdown(ship, world, jumpEnd, now);
        return energy;
    }
    // Not-a-number fails every range test, so a garbled order goes nowhere.
    const float direction = ReadFloat(ship.data_set, kJumpDir);
    const float distance = ReadFloat(ship.data_set, kJumpDist);
    if (direction >= 0.0f && direction <= kMaxJumpDirection && distance >= kMinJumpDistance
        && distance <= kMaxJumpDistance) {
        const float angle = direction * kDegreesToRadians;
        const glm::vec3 heading{std::sin(angle), 0.0f, std::cos(angle)};
        energy = CarryShip(ship, world, heading, distance * kUnitsPerJumpDistance, kJumpParticles, energy);
        AnnounceArrival(ship, world, kJumpEffectSeconds);
    }
    WriteUInt64(ship.data_set, kJumpEnd, 0);
    return energy;
}

bool QuickJump(SpaceObject& ship, Simulation& world, float direction)
{
    ObjectDataBlob& data = ship.data_set;
    // A NaN charge is no charge.
    if (!(ReadFloat(data, kQuickJumpRechargeState) >= kQuickJumpCharged) ||
        ReadString(data, kDockState) != kDockStateUndocked)
        return false;
    const glm::vec3 heading = direction < 0.0f ? -ship.ForwardVector() : ship.ForwardVector();
    const float energy =
        CarryShip(ship, world, heading, kQuickJumpUnits, kQuickJumpParticles, ReadFiniteFloat(data, kEnergy));
    WriteFloat(data, kQuickJumpRechargeState, 0.0f);
    AnnounceArrival(ship, world, kQuickJumpEffectSeconds);
    WriteFloat(data, kEnergy, std::max(0.0f, energy));
    return true;
}

void RefreshSurroundings(SpaceObject& ship, Simulation& world)
{
    WriteFloat(ship.data_set, kPullStrength, 0.0f);
    SuperContainer* registry = world.Container();
    if (!registry)
        return;
    int32_t nebulaCount = 0;
    std::vector<uint64_t> sensed;
    // Nothing in the loop calls into game code, so the query's results stay
    // valid; the scans, which tell the mission, follow it.
    registry->Query(PlaneBox::Around(ship.pos.x, ship.pos.z, kSurroundingsHalfSize));
    for (SuperContainerObject* found : registry->QueryResults()) {
        const auto& object = *static_cast<const SpaceObject*>(found);
        if (!IsVisible(object))
            continue;
        // Mines the ship has come near are set off here by the weapons steps.
        behaviours::TakePullOfWell(ship, object);
        if (object.tick_type == kNebulaBehaviour && IsInsideNebula(ship, object))
            WriteUInt64(ship.data_set, kInsideNebulaId, object.uniqueID, nebulaCount++);
        // Proximity events of the object follow here.
        if (object.uniqueID != ship.uniqueID && DistanceSquared(object.pos, ship.pos) < kSensorRange * kSensorRange)
            sensed.push_back(object.uniqueID);
    }
    WriteInt(ship.data_set, kInsideNebulaCount, nebulaCount);
    ScanUnscannedObjects(ship.uniqueID, sensed, world);
}
