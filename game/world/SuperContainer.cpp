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
    Register(object);
    InsertLeaf(object);
}

void SuperContainer::AddUnfiled(SuperContainerObject* object)
{
    Register(object);
    waitingToBeFiled.push_back(object);
}

void SuperContainer::Register(SuperContainerObject* object)
{
    QEL_ASSERT(object->uniqueID != 0, "sco->uniqueID != 0");
    QEL_ASSERT(Find(object->uniqueID) == nullptr, "NULL == allMap[sco->uniqueID]");
    QEL_ASSERT(!IsInStandby(object), "an object in standby comes back through RetrieveFromStandby");
    allObjects.push_back(object);
    allMap.Insert(object->uniqueID, object);
    object->container = this;
    if (const auto left = leftDuringWalk.find(object); left != leftDuringWalk.end() && left->second == object->uniqueID)
        leftDuringWalk.erase(left);
}

void SuperContainer::FileWaitingObjects()
{
    std::vector<SuperContainerObject*> waiting;
    waiting.swap(waitingToBeFiled);
    for (SuperContainerObject* object : waiting)
        InsertLeaf(object);
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
    allMap.Erase(object->uniqueID);
    if (IsWalking())
        leftDuringWalk[object] = object->uniqueID;
    if (object->leafIndex >= 0)
        RemoveLeaf(object);
    else
        std::erase(waitingToBeFiled, object);
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
    return allMap.Find(id);
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
    WalkObjects(allObjects, visit);
}

void SuperContainer::ForEachInBox(const PlaneBox& box, const Visitor& visit)
{
    Query(box);
    WalkObjects(queryResults, visit);
}

void SuperContainer::QueueReinsert(SuperContainerObject* object)
{
    // An object without a leaf here (in standby, never added, or waiting to be
    // filed) gets one from its current box when it is filed; re-inserting it
    // would break the tree.
    if (object->container != this || object->leafIndex < 0)
        return;
    reinsertList.push_back(object);
}

void SuperContainer::ReinsertMoved()
{
    FileWaitingObjects();
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

const PlaneBox* SuperContainer::FiledBox(const SuperContainerObject* object) const
{
    if (object->container != this || object->leafIndex < 0)
        return nullptr;
    return &nodes[object->leafIndex].box;
}

// Walks a copy of the list: visits may change the original. An object is
// visited while it is still in normal space; one that left is skipped without
// being touched.
void SuperContainer::WalkObjects(const std::vector<SuperContainerObject*>& objects, const Visitor& visit)
{
    const std::vector<SuperContainerObject*> walked = objects;
    WalkScope scope(*this);
    for (SuperContainerObject* object : walked) {
        if (disposed)
            break;
        if (!LeftDuringWalk(object))
            visit(object);
    }
}

bool SuperContainer::LeftDuringWalk(const SuperContainerObject* object) const
{
    return !leftDuringWalk.empty() && leftDuringWalk.contains(object);
}

// May free the container itself: nothing touches it after this returns.
void SuperContainer::EndWalk()
{
    if (--walkDepth > 0)
        return;
    leftDuringWalk.clear();
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
