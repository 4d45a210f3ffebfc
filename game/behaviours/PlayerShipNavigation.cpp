#include "game/behaviours/PlayerShipNavigation.h"

#include "game/behaviours/PlayerShipKeys.h"
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

// Wells and nebulae are looked for this far around the ship on X and Z.
constexpr float kSurroundingsHalfSize = 5000.0f;
// A nebula that gives no size of its own reaches this far.
constexpr float kDefaultNebulaSize = 1000.0f;
const char* const kInvisibleTag = "invisible";
const char* const kNebulaBehaviour = "behav_nebula";

void AnnounceCountdown(SpaceObject& ship, Simulation& world, uint64_t jumpEnd, int64_t now)
{
    const uint64_t seconds = (jumpEnd - static_cast<uint64_t>(now)) / kTicksPerSecond + 1;
    const auto secondsLeft = static_cast<int32_t>(std::min<uint64_t>(seconds, std::numeric_limits<int32_t>::max()));
    if (ShipConsoleNotices* consoles = world.ShipConsoles())
        consoles->JumpCountdown(ship.uniqueID, secondsLeft);
    if (LocalPresentation* presentation = world.Presentation())
        presentation->PlayJumpSound(secondsLeft);
}

void JumpParticles(Simulation& world, const glm::vec3& at)
{
    if (ParticleSink* particles = world.Particles())
        particles->ParticleAt(at, kJumpParticles);
}

// Moves the ship along the heading; a jump that costs more than the ship
// has lands off target, along a random heading, by the shortfall.
float Jump(SpaceObject& ship, Simulation& world, float direction, float distance, float energy)
{
    JumpParticles(world, ship.pos);
    const float angle = direction * kDegreesToRadians;
    const float units = distance * kUnitsPerJumpDistance;
    glm::vec3 destination = ship.pos;
    destination.x += std::sin(angle) * units;
    destination.z += std::cos(angle) * units;
    energy -= GetJumpEnergyCost(ship) * units;
    if (energy < 0.0f) {
        const float stray = static_cast<float>(crand()) / CRAND_MAX * kTwoPi;
        destination.x += std::sin(stray) * energy;
        destination.z += std::cos(stray) * energy;
    }
    world.RepositionSpaceObject(&ship, destination.x, destination.y, destination.z);
    JumpParticles(world, ship.pos);
    return energy;
}

void AnnounceArrival(SpaceObject& ship, Simulation& world, int64_t now)
{
    LocalPresentation* presentation = world.Presentation();
    if (presentation)
        presentation->PlayAudioFile(AppData::GetString("jump_sfx_end"), 1.0f, 1.0f);
    if (ShipConsoleNotices* consoles = world.ShipConsoles())
        consoles->JumpArrived(ship.uniqueID, now, kJumpEffectSeconds);
    if (presentation)
        presentation->StartJumpEffect(kJumpEffectSeconds);
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
        energy = Jump(ship, world, direction, distance, energy);
        AnnounceArrival(ship, world, now);
    }
    WriteUInt64(ship.data_set, kJumpEnd, 0);
    return energy;
}

void RefreshSurroundings(SpaceObject& ship, Simulation& world)
{
    WriteFloat(ship.data_set, kPullStrength, 0.0f);
    SuperContainer* registry = world.Container();
    if (!registry)
        return;
    int32_t nebulaCount = 0;
    // Nothing below calls into game code, so the query's results stay valid.
    registry->Query(PlaneBox::Around(ship.pos.x, ship.pos.z, kSurroundingsHalfSize));
    for (SuperContainerObject* found : registry->QueryResults()) {
        const auto& object = *static_cast<const SpaceObject*>(found);
        if (!IsVisible(object))
            continue;
        // Mines the ship has come near are set off here by the weapons steps.
        behaviours::TakePullOfWell(ship, object);
        if (object.tick_type == kNebulaBehaviour && IsInsideNebula(ship, object))
            WriteUInt64(ship.data_set, kInsideNebulaId, object.uniqueID, nebulaCount++);
        // Proximity events and automatic scans of the object follow here with
        // the sensor steps.
    }
    WriteInt(ship.data_set, kInsideNebulaCount, nebulaCount);
}
