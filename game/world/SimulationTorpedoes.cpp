// Torpedo tubes and launching: a ship's stock and tubes live in its data set;
// a launch turns the torpedo of a tube into a flying missile object.

#include "game/world/Simulation.h"

#include "game/world/BehaviourHookMap.h"
#include "game/world/MusicControl.h"
#include "game/world/ObjectId.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/ServerStringMap.h"
#include "game/world/ShipKeys.h"

#include <glm/gtc/quaternion.hpp>

#include <limits>
#include <memory>

using namespace shipkeys;

namespace {

// The torpedo's own kind: a missile behaviour and a fast mover, whose box is
// as wide as its search.
const char* const kTorpedoBehaviour = "behav_missile";
const char* const kTorpedoDataTag = "torpedo";
constexpr float kTorpedoFatRadius = 400.0f;
constexpr float kTorpedoLaunchSpeed = 10.0f;
// Out of a tube it dips by this much about its own X axis (radians).
constexpr float kLaunchPitch = -0.1f;
// Without a target it makes for a point this far astern of the ship.
const glm::vec3 kLandingPointOffset{0.0f, 0.0f, -601.0f};
// A torpedo's definition lists its behaviours at these indexes of
// "behavior"; a mine is laid facing astern.
constexpr int32_t kLastBehaviorIndex = 100;
const char* const kMineBehavior = "mine";
// Firing stirs the music on this machine.
constexpr float kLaunchMusicTension = 50.0f;
const char* const kLaunchSound = "torpedo_launch";
const char* const kLaunchEvent = "player_launches_missile";

// A tube holds the type when it is not empty and names exactly that type.
bool TubeHolds(const ObjectDataBlob& ship, int32_t tube, const std::string& type)
{
    const std::string state = ReadString(ship, kTorpedoTubeState, tube);
    return !state.empty() && state != kTubeEmpty && ReadString(ship, kTorpedoTubeCurrentType, tube) == type;
}

int32_t TubesHolding(const ObjectDataBlob& ship, const std::string& type)
{
    int32_t holding = 0;
    for (int32_t tube = 0; tube < TorpedoTubeCount(ship); ++tube)
        holding += TubeHolds(ship, tube, type) ? 1 : 0;
    return holding;
}

bool IsMine(const ObjectDataBlob& torpedo)
{
    for (int32_t i = 0; i <= kLastBehaviorIndex; ++i)
        if (ReadString(torpedo, kBehavior, i) == kMineBehavior)
            return true;
    return false;
}

}  // namespace

bool Simulation::TorpedoTypeAvailable(const SpaceObject& ship, const std::string& type) const
{
    return TorpedoStock(ship.data_set, type, kTorpedoNumSuffix) - TubesHolding(ship.data_set, type) > 0;
}

std::string Simulation::TorpedoCountText(const SpaceObject& ship, const std::string& type) const
{
    return std::to_string(TorpedoStock(ship.data_set, type, kTorpedoNumSuffix)) + " / " +
           std::to_string(TorpedoStock(ship.data_set, type, kTorpedoMaxSuffix)) + " " +
           std::string(static_cast<size_t>(TubesHolding(ship.data_set, type)), 'T');
}

bool Simulation::IsLaunchTube(const SpaceObject& ship, int32_t tube, bool keepTube)
{
    return tube >= 0 && (tube < TorpedoTubeCount(ship.data_set) || (keepTube && tube == 0));
}

SpaceObject& Simulation::MakeTorpedo(const SpaceObject& launcher, const std::string& type)
{
    std::unique_ptr<SpaceObject> made =
        MakeSpaceObject(0, kTorpedoBehaviour, kTorpedoDataTag, SpaceObject::kFastMoverBit, 0.0f, 0.0f,
                        kTorpedoFatRadius);
    SpaceObject& torpedo = *made;
    torpedo.pos = JitterPosition(launcher.pos);
    torpedo.side = launcher.side;
    torpedo.cur_speed = kTorpedoLaunchSpeed;
    torpedo.rot_quat = launcher.rot_quat;
    torpedo.lastUpdateTick = clock.time_tick_counter;
    WriteString(torpedo.data_set, kTorpedoDefinition, ServerStringMap::Instance().Get(type));
    WriteString(torpedo.data_set, kTorpedoKey, type);
    if (gMusicControl)
        gMusicControl->RaiseMusicTension(kLaunchMusicTension);
    QueueSoundEvent(kLaunchSound, torpedo.pos, 0);
    WriteString(torpedo.data_set, kTorpedoTypeValue, type);
    const glm::vec3 landing = launcher.pos + launcher.rot_quat * kLandingPointOffset;
    for (int32_t axis = 0; axis < 3; ++axis)
        WriteFloat(torpedo.data_set, kLandingPoint, landing[axis], axis);
    torpedo.SetFatBox(kTorpedoFatRadius);
    AddPendingObject(std::move(made));
    return torpedo;
}

uint64_t Simulation::LaunchTorpedo(SpaceObject& ship, int32_t tube, bool keepTube)
{
    if (!IsLaunchTube(ship, tube, keepTube))
        return 0;
    std::string type = ReadString(ship.data_set, kTorpedoTubeCurrentType, tube);
    if (type.empty())
        type = kDefaultTorpedoType;

    SpaceObject& torpedo = MakeTorpedo(ship, type);
    if (!keepTube)
        torpedo.rot_quat = torpedo.rot_quat * glm::angleAxis(kLaunchPitch, glm::vec3(1.0f, 0.0f, 0.0f));

    // The torpedo's set-up reads its definition. It is game code, which may
    // end the run; the pending torpedo lives on until the next step.
    const uint64_t run = runCount;
    CallBehaviourHook(*this, &torpedo, kBehaviourAssigned, nullptr);
    if (runCount != run)
        return 0;

    // A target the mission wrote that is no object id is no target.
    const uint64_t target = ReadUInt64(ship.data_set, kWeaponTargetUid);
    WriteUInt64(torpedo.data_set, kWeaponTargetUid, VALID_SPACE_OBJ(target) ? target : 0);
    WriteUInt64(torpedo.data_set, kParentUid, ship.uniqueID);

    const std::string stockName = TorpedoStockName(type, kTorpedoNumSuffix);
    const int64_t stock = TorpedoStock(ship.data_set, type, kTorpedoNumSuffix);
    ship.data_set.SetInt64(stockName, stock > std::numeric_limits<int64_t>::min() ? stock - 1 : stock, 0,
                           std::string(kPlayDoc));
    if (!keepTube) {
        WriteString(ship.data_set, kTorpedoTubeState, kTubeEmpty, tube);
        WriteFloat(ship.data_set, kTorpedoTubePercentLoaded, 0.0f, tube);
        WriteString(ship.data_set, kTorpedoTubeCurrentType, "", tube);
    }
    if (IsMine(torpedo.data_set))
        torpedo.rot_quat = torpedo.rot_quat * glm::angleAxis(glm::pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f));

    EventMessage launched;
    launched.tag = kLaunchEvent;
    launched.origin_id = torpedo.uniqueID;
    launched.parent_id = ship.uniqueID;
    launched.extra_tag = torpedo.side;
    launched.extra_extra_tag = type;
    launched.event_time = clock.time_tick_counter;
    launched.source_point = torpedo.pos;
    if (scriptEvents)
        scriptEvents->QueueEvent(launched);
    return torpedo.uniqueID;
}
