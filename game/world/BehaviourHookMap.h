#pragma once
// Behaviour hooks: what an object does is chosen by its behaviour name, whose
// 46-bit name hash keys a hook in a map. The world calls an object's hook when
// the behaviour is assigned, every tick, every 15 ticks on the server, and on
// damage. Names without a hook (mines, asteroids, nebulae) have no behaviour;
// their objects still move.
//
// The maps are filled once at start-up by explicit registration (see
// game/behaviours) and only read afterwards, on the main thread. The names
// they hold are the ones a mission passes: the help text lists them.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class Simulation;
class SpaceObject;

// The messages a hook receives, with the data each carries.
enum BehaviourMessage : int32_t {
    kBehaviourTick = 0,      // every tick, after the object's move; data null
    kBehaviourSlowTick = 1,  // every 15 ticks, server only; data null
    kBehaviourAssigned = 2,  // after creation or a change of behaviour name; data null
    kBehaviourDamage = 3,    // server only; data is the damage EventMessage
};

// A hook is handed the world the object lives in.
using BehaviourHook = void (*)(Simulation& world, SpaceObject* object, int32_t message, void* data);

class BehaviourHookMap {
public:
    struct Entry {
        std::string name;
        BehaviourHook hook;  // null for a name that runs no behaviour
    };

    // Binds the hook to the name's key; a second entry under the same key is
    // a programming error and asserts.
    void Register(std::string_view name, BehaviourHook hook);
    // A name the game tells its objects apart by (drawn as asteroids, set off
    // as mines...) that runs no hook: listed among the names, never called.
    void RegisterPassive(std::string_view name);

    // The hook under the key, or null. Never adds an entry, so any key is
    // safe to look up.
    BehaviourHook Find(uint64_t key) const;
    // Whether the name has a hook.
    bool IsRegistered(std::string_view name) const;
    // Whether the name is one of the map's, with a hook or without.
    bool Knows(std::string_view name) const;
    // Every name of the map, with a hook or without, in byte order.
    std::vector<std::string> Names() const;

    const std::map<uint64_t, Entry>& Entries() const { return hooks; }

private:
    std::map<uint64_t, Entry> hooks;
};

// The map of behaviour hooks that the world calls.
BehaviourHookMap& AIHookMap();
// The map of draw hooks, kept beside it; nothing looks it up yet.
BehaviourHookMap& DrawHookMap();

BehaviourHook GetAIHook(uint64_t key);
BehaviourHook GetDrawHook(uint64_t key);

// Calls the object's behaviour hook with the message, when its name has one.
void CallBehaviourHook(Simulation& world, SpaceObject* object, int32_t message, void* data);
