#pragma once
// The registry of every live object of one world run: the objects in the order
// they were added, a map from id to object, a standby area for objects taken
// out of normal space, and a dynamic bounding-box tree over the objects' fat
// boxes on the X/Z plane that answers which objects may overlap a box.
//
// The container owns its objects: deleting it deletes every object it holds.
//
// Walks that run game code (behaviour hooks, damage, scripts) go through
// ForEachObject or ForEachInBox. Such code may add, remove or destroy objects,
// or reset the world, while the walk runs: the walk visits only objects that
// are still in normal space, objects destroyed meanwhile are freed when the
// outermost walk ends, and a container disposed of meanwhile lives until then.
//
// A new object whose creator is still placing it enters through AddUnfiled:
// it is registered at once and its leaf is filed from its fat box at the next
// query or frame step, so thousands of objects made at the origin and then
// moved never pile up in one spot of the tree.

#include "game/world/ObjectIdTable.h"
#include "game/world/PlaneBox.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

class SuperContainerObject;

// One node of the tree's pool. Leaves hold an object; inner nodes hold the
// union of their two children's boxes. What a query reads comes first, so a
// node seldom costs it two cache lines.
struct SuperContainerNode {
    PlaneBox box;
    SuperContainerObject* object = nullptr; // leaves only
    int32_t left = 0;
    int32_t right = 0;
    int32_t height = -1;                    // -1 free node, 0 leaf, else 1 + taller child
    int32_t parent = 0;                     // -1 for the root
    int32_t index = 0;                      // own place in the pool
};

class SuperContainer {
public:
    using Visitor = std::function<void(SuperContainerObject*)>;

    SuperContainer() = default;
    // Deletes every object, normal space first (last added first), then
    // standby in id order. Not while a walk runs: see Dispose.
    virtual ~SuperContainer();
    SuperContainer(const SuperContainer&) = delete;
    SuperContainer& operator=(const SuperContainer&) = delete;

    // Deletes a container the world has let go of. When a walk over it is still
    // running (a hook reset the world), the walk stops visiting and the
    // container, with its objects, is freed as the walk ends.
    static void Dispose(SuperContainer* container);

    // Registers an object in normal space and files its fat box in the tree.
    // Its id must be non-zero and not held already.
    void Add(SuperContainerObject* object);
    // As Add, but the leaf waits: it is filed from the object's fat box as it
    // stands at the next query (or FileWaitingObjects, or the frame step).
    void AddUnfiled(SuperContainerObject* object);
    // Files the leaves of every object added unfiled, in the order of addition.
    void FileWaitingObjects();
    // Takes an object out of normal space or standby without deleting it.
    void Remove(SuperContainerObject* object);
    // Removes and deletes an object this container holds; during a walk the
    // free waits until the walk ends, so code up the stack may still use it.
    void Destroy(SuperContainerObject* object);

    void PushToStandby(SuperContainerObject* object);
    void RetrieveFromStandby(SuperContainerObject* object);

    // The object of an id in normal space, or null.
    SuperContainerObject* Find(uint64_t id) const;
    // The object of an id in standby, or null.
    SuperContainerObject* FindInStandby(uint64_t id) const;
    bool IsInStandby(const SuperContainerObject* object) const;

    // Fills the query results with every object whose fat box overlaps the box,
    // in depth-first order, and answers how many there are. A negative start
    // node clears the results and starts at the root; another appends what
    // lies under that node. Waiting objects are filed first.
    int32_t Query(const PlaneBox& box, int32_t startNode = -1);
    const std::vector<SuperContainerObject*>& QueryResults() const { return queryResults; }

    // Visits the objects in normal space, in list order, as the list stood when
    // the walk began; objects that left normal space meanwhile are skipped.
    void ForEachObject(const Visitor& visit);
    // Visits what a query for the box finds, with the same guarantees.
    void ForEachInBox(const PlaneBox& box, const Visitor& visit);
    bool IsWalking() const { return walkDepth > 0; }

    // Notes that an object's fat box changed; its leaf is rebuilt by
    // ReinsertMoved, once per frame, so slow movers touch the tree rarely.
    // ReinsertMoved files the waiting objects first.
    void QueueReinsert(SuperContainerObject* object);
    void ReinsertMoved();

    // Objects in normal space, in the order of addition (or of the client's
    // distance sort). Code that may add or remove objects while it goes
    // through them walks with ForEachObject instead.
    const std::vector<SuperContainerObject*>& Objects() const { return allObjects; }
    // The client's distance sort: one step swaps the object at the index with
    // the one before it.
    void SwapWithPrevious(int32_t index);
    int32_t SortCursor() const { return sortCursor; }
    void SetSortCursor(int32_t cursor) { sortCursor = cursor; }

    // The box the object's leaf holds, or null while it has none here.
    const PlaneBox* FiledBox(const SuperContainerObject* object) const;

    // The tree as filed so far, read-only, for tests and diagnostics.
    const std::vector<SuperContainerNode>& Nodes() const { return nodes; }
    int32_t Root() const { return root; }
    int32_t LeafCount() const { return leafCount; }

private:
    class WalkScope;

    void Register(SuperContainerObject* object);
    void WalkObjects(const std::vector<SuperContainerObject*>& objects, const Visitor& visit);
    bool LeftDuringWalk(const SuperContainerObject* object) const;
    void EndWalk();
    void FreeDestroyedObjects();

    int32_t AllocateNode();
    void FreeNode(int32_t index);
    void InsertLeaf(SuperContainerObject* object);
    void RemoveLeaf(SuperContainerObject* object);
    int32_t ChooseSibling(const PlaneBox& leafBox) const;
    float DescentCost(const PlaneBox& leafBox, int32_t child, float inheritanceCost) const;
    void RefitUpFrom(int32_t index);

    std::vector<SuperContainerObject*> allObjects;
    ObjectIdTable allMap;
    std::vector<SuperContainerNode> nodes;
    std::vector<SuperContainerObject*> reinsertList;
    std::vector<SuperContainerObject*> waitingToBeFiled;
    std::vector<SuperContainerObject*> queryResults;
    std::vector<int32_t> queryStack;  // nodes still to visit; kept to spare allocations
    int32_t root = -1;
    int32_t leafCount = 0;
    int32_t allocationCursor = 0;
    // Indexes of the free nodes, so the circular scan's answer (the first free
    // node after the cursor) is found without stepping over every taken node.
    std::set<int32_t> freeNodes;
    int32_t sortCursor = 0;
    std::map<uint64_t, SuperContainerObject*> standbyById;
    std::map<const SuperContainerObject*, uint64_t> standbyByObject;

    // Walk safety: how many walks are running, objects destroyed during them,
    // and whether the world let go of the container during one.
    int32_t walkDepth = 0;
    std::vector<SuperContainerObject*> destroyedDuringWalk;
    // Objects that left normal space while a walk ran, by address, with the id
    // they had: the walks skip them without touching them, since an owner may
    // have freed one (and a new object may have its address, but not its id).
    std::unordered_map<const SuperContainerObject*, uint64_t> leftDuringWalk;
    bool disposed = false;
};

// How the world holds its container: letting go goes through Dispose.
struct SuperContainerDisposer {
    void operator()(SuperContainer* container) const { SuperContainer::Dispose(container); }
};
using SuperContainerPtr = std::unique_ptr<SuperContainer, SuperContainerDisposer>;
