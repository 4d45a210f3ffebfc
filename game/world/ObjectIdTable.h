#pragma once
// The registry's map from id to object: open addressing with linear probing
// over slots that hold the id beside the object, so a look-up reads one slot,
// seldom more than one cache line, where a node-based map reads a bucket and
// then a node elsewhere. Behaviours look up their own and their targets' ids
// at every tick.

#include <cstddef>
#include <cstdint>
#include <vector>

class SuperContainerObject;

class ObjectIdTable {
public:
    // The object of the id, or null; id 0 is never held.
    SuperContainerObject* Find(uint64_t id) const;
    // The id is not 0 and not held already.
    void Insert(uint64_t id, SuperContainerObject* object);
    // Nothing when the id is not held.
    void Erase(uint64_t id);
    size_t Size() const { return count; }

private:
    struct Slot {
        uint64_t id = 0;  // 0 in a free slot
        SuperContainerObject* object = nullptr;
    };

    size_t Home(uint64_t id) const;
    void Place(const Slot& slot);
    void Grow();

    std::vector<Slot> slots;  // a power of two, at most half taken
    size_t count = 0;
};
