#include "game/world/BehaviourHookMap.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/world/SpaceObject.h"
#include "helper/QelAssert.h"

#include <algorithm>

void BehaviourHookMap::Register(std::string_view name, BehaviourHook hook)
{
    const uint64_t key = HashMessageName(name);
    QEL_ASSERT(hooks.find(key) == hooks.end(), "!hookMap[val]");
    hooks.emplace(key, Entry{std::string(name), hook});
}

void BehaviourHookMap::RegisterPassive(std::string_view name)
{
    Register(name, nullptr);
}

BehaviourHook BehaviourHookMap::Find(uint64_t key) const
{
    const auto found = hooks.find(key);
    return found == hooks.end() ? nullptr : found->second.hook;
}

bool BehaviourHookMap::IsRegistered(std::string_view name) const
{
    return Find(HashMessageName(name)) != nullptr;
}

bool BehaviourHookMap::Knows(std::string_view name) const
{
    const auto found = hooks.find(HashMessageName(name));
    return found != hooks.end() && found->second.name == name;
}

std::vector<std::string> BehaviourHookMap::Names() const
{
    std::vector<std::string> names;
    for (const auto& [key, entry] : hooks)
        names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

// Function-local statics: built on first use, so a registration can never
// run before its map exists.
BehaviourHookMap& AIHookMap()
{
    static BehaviourHookMap map;
    return map;
}

BehaviourHookMap& DrawHookMap()
{
    static BehaviourHookMap map;
    return map;
}

BehaviourHook GetAIHook(uint64_t key)
{
    return AIHookMap().Find(key);
}

BehaviourHook GetDrawHook(uint64_t key)
{
    return DrawHookMap().Find(key);
}

void CallBehaviourHook(Simulation& world, SpaceObject* object, int32_t message, void* data)
{
    if (BehaviourHook hook = GetAIHook(object->tick_type_ID)) {
        hook(world, object, message, data);
    }
}
