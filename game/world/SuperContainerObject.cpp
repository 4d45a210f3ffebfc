#include "game/world/SuperContainerObject.h"

#include "game/world/ObjectId.h"

namespace {

// Process-wide, like the ids it issues: a world Reset moves it back.
uint64_t idCounter = 0;

// Ids 1 and 2 are never issued; the counter jumps past them in steps of two.
constexpr uint64_t kFirstIssuableCounter = 3;

}  // namespace

SuperContainerObject::SuperContainerObject(uint64_t id)
    : uniqueID(id != 0 ? id : IssueId())
{
}

void SuperContainerObject::SetIdCounter(uint64_t value)
{
    idCounter = value;
}

void SuperContainerObject::SetFatBox(float radius)
{
    fatBox = PlaneBox::Around(pos.x, pos.z, radius);
}

uint64_t SuperContainerObject::IssueId()
{
    ++idCounter;
    while (idCounter < kFirstIssuableCounter)
        idCounter += 2;
    return idCounter | kSpaceObjectIdBit;
}
