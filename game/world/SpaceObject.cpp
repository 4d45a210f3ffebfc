#include "game/world/SpaceObject.h"

#include "helper/GeneralUtils.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/world/BehaviourHookMap.h"

#include <algorithm>

SpaceObject::SpaceObject(uint64_t id, const std::string& behaviourName, const std::string& dataTag,
                         uint16_t abitsIn, float exclusionRadius, float interactionRadius, float fatRadius)
    : SuperContainerObject(id),
      tick_type(LowerCaseAscii(behaviourName)),
      data_tag(LowerCaseAscii(dataTag)),
      tick_type_ID(HashMessageName(tick_type)),
      exclusion_radius(exclusionRadius),
      fat_radius(fatRadius),
      interaction_radius(interactionRadius)
{
    abits = abitsIn;
    SetFatBox(fatRadius);
}

void SpaceObject::SetBehavior(Simulation& world, const std::string& name)
{
    if (name == tick_type)
        return;
    tick_type = name;
    tick_type_ID = HashMessageName(tick_type);
    CallBehaviourHook(world, this, kBehaviourAssigned, nullptr);
}

glm::vec3 SpaceObject::ForwardVector() const
{
    return rot_quat * glm::vec3(0.0f, 0.0f, 1.0f);
}

glm::vec3 SpaceObject::RightVector() const
{
    return rot_quat * glm::vec3(1.0f, 0.0f, 0.0f);
}

glm::vec3 SpaceObject::UpVector() const
{
    return rot_quat * glm::vec3(0.0f, 1.0f, 0.0f);
}

void SpaceObject::AddString(const std::string& keyName)
{
    if (std::find(keyNames.begin(), keyNames.end(), keyName) == keyNames.end())
        keyNames.push_back(keyName);
}

