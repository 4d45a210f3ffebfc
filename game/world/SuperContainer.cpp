#include "game/world/SuperContainer.h"

#include "game/world/SuperContainerObject.h"
#include "helper/QelAssert.h"

#include <algorithm>

// Counts a walk for as long as it runs, and settles what was deferred during
// it when the outermost walk ends (even when a visit throws).
class SuperContainer::WalkScope {
public:
    explicit WalkScope(SuperContainer& container) : container(container) { ++container.walkDepth; }
    ~WalkScope() { container.EndWalk(); }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;

private:
    SuperContainer& container;
};

SuperContainer::~SuperContainer()
{
    for (auto object = allObjects.rbegin(); object != allObjects.rend(); ++object)
        delete *object;
    for (auto& [id, object] : standbyById)
        delete object;
    FreeDestroyedObjects();
}

void SuperContainer::Dispose(SuperContainer* container)
{
    if (container == nullptr)
        return;
    if (container->IsWalking())
        container->disposed = true;
    else
        delete container;
}

void SuperContainer::Add(SuperContainerObject* object)
{
    QEL_ASSERT(object->uniqueID != 0, "sco->uniqueID != 0");
    QEL_ASSERT(Find(object->uniqueID) == nullptr, "NULL == allMap[sco->uniqueID]");
    QEL_ASSERT(!IsInStandby(object), "an object in standby comes back through RetrieveFromStandby");
    allObjects.push_back(object);
    allMap[object->uniqueID] = object;
    InsertLeaf(object);
    object->container = this;
}

void SuperContainer::Remove(SuperContainerObject* object)
{
    if (IsInStandby(object)) {
        standbyById.erase(object->uniqueID);
        standbyByObject.erase(object);
        return;
    }
    // Every entry goes: one left behind would be re-inserted after the caller
    // freed the object.
    std::erase(reinsertList, object);
    const auto listed = std::find(allObjects.rbegin(), allObjects.rend(), object);
    if (listed == allObjects.rend())
        return;
    allObjects.erase(std::next(listed).base());
    allMap.erase(object->uniqueID);
    RemoveLeaf(object);
}

void SuperContainer::Destroy(SuperContainerObject* object)
{
    QEL_ASSERT(object->container == this, "Destroy of an object this container does not hold");
    Remove(object);
    if (!IsWalking()) {
        delete object;
        return;
    }
    const bool alreadyDestroyed = std::find(destroyedDuringWalk.begin(), destroyedDuringWalk.end(), object)
                                  != destroyedDuringWalk.end();
    if (!alreadyDestroyed)
        destroyedDuringWalk.push_back(object);
}

void SuperContainer::PushToStandby(SuperContainerObject* object)
{
    // Only an object in normal space can go: one already removed belongs to
    // whoever removed it, and holding it here as well would free it twice.
    if (IsInStandby(object) || Find(object->uniqueID) != object)
        return;
    Remove(object);
    standbyByObject[object] = object->uniqueID;
    standbyById[object->uniqueID] = object;
}

void SuperContainer::RetrieveFromStandby(SuperContainerObject* object)
{
    if (!IsInStandby(object))
        return;
    standbyById.erase(object->uniqueID);
    standbyByObject.erase(object);
    Add(object);
}

SuperContainerObject* SuperContainer::Find(uint64_t id) const
{
    const auto found = allMap.find(id);
    return found == allMap.end() ? nullptr : found->second;
}

SuperContainerObject* SuperContainer::FindInStandby(uint64_t id) const
{
    const auto found = standbyById.find(id);
    return found == standbyById.end() ? nullptr : found->second;
}

bool SuperContainer::IsInStandby(const SuperContainerObject* object) const
{
    return standbyByObject.contains(object);
}

void SuperContainer::ForEachObject(const Visitor& visit)
{
    std::vector<uint64_t> ids;
    ids.reserve(allObjects.size());
    for (const SuperContainerObject* object : allObjects)
        ids.push_back(object->uniqueID);
    WalkIds(ids, visit);
}

void SuperContainer::ForEachInBox(const PlaneBox& box, const Visitor& visit)
{
    Query(box);
    std::vector<uint64_t> ids;
    ids.reserve(queryResults.size());
    for (const SuperContainerObject* object : queryResults)
        ids.push_back(object->uniqueID);
    WalkIds(ids, visit);
}

void SuperContainer::QueueReinsert(SuperContainerObject* object)
{
    // An object without a leaf here (in standby, or never added) gets one from
    // its current box when it is added; re-inserting it would break the tree.
    if (object->container != this || object->leafIndex < 0)
        return;
    reinsertList.push_back(object);
}

void SuperContainer::ReinsertMoved()
{
    for (SuperContainerObject* object : reinsertList) {
        RemoveLeaf(object);
        InsertLeaf(object);
    }
    reinsertList.clear();
}

void SuperContainer::SwapWithPrevious(int32_t index)
{
    QEL_ASSERT(index >= 1 && index < static_cast<int32_t>(allObjects.size()),
               "SwapWithPrevious index outside the object list");
    std::swap(allObjects[index - 1], allObjects[index]);
}

// Ids, not pointers: an object removed and freed by its owner during the walk
// is simply no longer found.
void SuperContainer::WalkIds(const std::vector<uint64_t>& ids, const Visitor& visit)
{
    WalkScope scope(*this);
    for (uint64_t id : ids) {
        if (disposed)
            break;
        if (SuperContainerObject* object = Find(id))
            visit(object);
    }
}

// May free the container itself: nothing touches it after this returns.
void SuperContainer::EndWalk()
{
    if (--walkDepth > 0)
        return;
    FreeDestroyedObjects();
    if (disposed)
        delete this;
}

void SuperContainer::FreeDestroyedObjects()
{
    std::vector<SuperContainerObject*> destroyed;
    destroyed.swap(destroyedDuringWalk);
    for (SuperContainerObject* object : destroyed)
        delete object;
}
