#include "game/world/BoltStrike.h"

#include "game/world/ObjectId.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"

#include <algorithm>

namespace {

// A hull hit's sound plays at most once in this many ticks.
constexpr int64_t kHullSoundGap = 300;
constexpr const char* kHullSound = "hull_damage";

// The object of the id; none for an id that names no space object.
const SpaceObject* FindObject(const Simulation& world, uint64_t id)
{
    return VALID_SPACE_OBJ(id) ? world.GetSpaceObject(id) : nullptr;
}

}  // namespace

FacingShield ShieldFacingShooter(const Simulation& world, const SpaceObject& source, const SpaceObject& target)
{
    FacingShield shield;
    const int64_t shields = ReadInt(target.data_set, shipkeys::kShieldCount);
    if (shields < 1)
        return shield;
    const int32_t facing = shields == 1 ? 0 : world.GetShieldHitIndex(source, target);
    const float value = ReadFloat(target.data_set, shipkeys::kShieldVal, facing);
    const float most = ReadFloat(target.data_set, shipkeys::kShieldMaxVal, facing);
    if (value > 0.0f) {
        shield.strength = most > 0.0f ? std::clamp(value / most, 0.0f, 1.0f) : 1.0f;
        shield.raised = ReadInt(target.data_set, shipkeys::kShieldsRaisedFlag) != 0;
    }
    return shield;
}

bool IsBoltEffect(const std::string& kind)
{
    return kind == "beam" || kind == "lightning";
}

void SoundBoltHit(Simulation& world, const EffectEventRecord& event)
{
    const SpaceObject* source = FindObject(world, event.firstId);
    const SpaceObject* target = FindObject(world, event.secondId);
    if (!source || !target || ShieldFacingShooter(world, *source, *target).raised)
        return;
    world.QueueSoundEvent(kHullSound, target->pos, kHullSoundGap);
}
