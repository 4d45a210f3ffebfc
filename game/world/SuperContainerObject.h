#pragma once
// The part of every world object that the registry (SuperContainer) needs: its
// id, its position and the fat box its tree leaf covers. SpaceObject builds on it.

#include "game/world/PlaneBox.h"

#include <glm/vec3.hpp>

#include <cstdint>

class SuperContainer;

class SuperContainerObject {
public:
    // Id 0 issues the next space-object id; any other id is kept as given
    // (a client copies the server's ids and must not disturb the counter).
    explicit SuperContainerObject(uint64_t id = 0);
    virtual ~SuperContainerObject() = default;
    SuperContainerObject(const SuperContainerObject&) = delete;
    SuperContainerObject& operator=(const SuperContainerObject&) = delete;

    // Where the id counter stands after a world Reset: the first id issued is 4.
    static constexpr uint64_t kIdCounterAtReset = 3;
    // Moves the process-wide id counter (0 at program start).
    static void SetIdCounter(uint64_t value);

    // Centres the fat box on the position, radius on each side on X and Z. The
    // tree does not follow until the object is queued for re-insertion.
    void SetFatBox(float radius);

    // The container holding the object (in normal space or standby), null
    // before it was first added.
    SuperContainer* Container() const { return container; }
    // Index of the object's tree leaf, -1 while it has none (not added, removed
    // or in standby).
    int32_t LeafIndex() const { return leafIndex; }

    uint16_t abits = 0;   // filter bits; bit 0 set = static object
    glm::vec3 pos{0.0f};  // X/Z is the plane, Y up
    PlaneBox fatBox;      // what the tree holds; rebuilt when pos leaves it
    const uint64_t uniqueID;

private:
    friend class SuperContainer;

    static uint64_t IssueId();

    SuperContainer* container = nullptr;
    int32_t leafIndex = -1;
};
