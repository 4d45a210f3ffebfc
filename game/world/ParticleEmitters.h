#pragma once
// The particle emitters of one machine's 3D view: each fires the particle
// burst of its descriptor from its object once per tick, a given number of
// times or without end, until it is deleted, its firings run out or its object
// has been missing too long. The table keeps the emitters and their ids and
// ages them; the 3D view draws the bursts it is handed. The server hands out
// the ids and its consoles keep each emitter under the server's id.
//
// Main thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <string>

class SpaceObject;
class Simulation;

class ParticleEmitters {
public:
    // An emitter whose object has been missing for more ticks than this is
    // dropped: the object is gone for good, not just late to arrive.
    static constexpr int32_t kMaxTicksWithoutObject = 300;
    // Ids below this are never handed out.
    static constexpr uint64_t kFirstAutomaticId = 3;

    struct Emitter {
        uint64_t objectId = 0;
        std::string descriptor;         // the particle burst, a style string
        int32_t firingsLeft = 0;        // negative: without end
        int32_t ticksWithoutObject = 0;
    };
    // Shows one burst of the emitter at the object.
    using Fire = std::function<void(const SpaceObject& object, const std::string& descriptor)>;

    // Stores the emitter under the id, replacing one there, or under a new id
    // when the id is 0; the id it is under.
    uint64_t Add(uint64_t id, uint64_t objectId, const std::string& descriptor, int32_t firings);
    void Delete(uint64_t id);
    bool Exists(uint64_t id) const { return emitters.count(id) != 0; }
    void Clear() { emitters.clear(); }
    const std::map<uint64_t, Emitter>& All() const { return emitters; }

    // One tick, in id order: each emitter whose object the world holds fires
    // and counts the firing; the others count the tick without it. The first
    // emitter found spent (no firings left, or its object missing too long) is
    // dropped and ends the pass; the later ones wait for the next tick.
    void Tick(const Simulation* world, const Fire& fire);

private:
    uint64_t NextId();

    std::map<uint64_t, Emitter> emitters;
    uint64_t lastId = 0;  // the last id handed out
};
