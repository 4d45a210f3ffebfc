#pragma once
// Small objects and a tree checker shared by the registry tests.

#include "game/world/SuperContainer.h"
#include "game/world/SuperContainerObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace worldtest {

// A registry object that notes its own deletion, so tests see what was freed
// and in which order.
class TestObject : public SuperContainerObject {
public:
    TestObject(uint64_t id, float x, float z, float radius, std::vector<uint64_t>* deletions = nullptr)
        : SuperContainerObject(id), deletions(deletions)
    {
        pos = {x, 0.0f, z};
        SetFatBox(radius);
    }
    ~TestObject() override
    {
        if (deletions)
            deletions->push_back(uniqueID);
    }

private:
    std::vector<uint64_t>* deletions;
};

inline std::vector<uint64_t> IdsOf(const std::vector<SuperContainerObject*>& objects)
{
    std::vector<uint64_t> ids;
    for (const SuperContainerObject* object : objects)
        ids.push_back(object->uniqueID);
    return ids;
}

// The objects in normal space whose fat box overlaps the box, by scanning all.
inline std::vector<uint64_t> BruteForceQuery(const SuperContainer& container, const PlaneBox& box)
{
    std::vector<uint64_t> ids;
    for (const SuperContainerObject* object : container.Objects())
        if (object->fatBox.Overlaps(box))
            ids.push_back(object->uniqueID);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// What a recursive depth-first query (left before right) would find, in order.
inline void ReferenceQuery(const SuperContainer& container, const PlaneBox& box, int32_t index,
                           std::vector<uint64_t>& found)
{
    const SuperContainerNode& node = container.Nodes()[index];
    if (!box.Overlaps(node.box))
        return;
    if (node.object) {
        found.push_back(node.object->uniqueID);
        return;
    }
    ReferenceQuery(container, box, node.left, found);
    ReferenceQuery(container, box, node.right, found);
}

// Every structural promise of the tree and the registry around it. Leaf boxes
// are compared with the objects' fat boxes, so call it with no re-insertion
// pending.
inline ::testing::AssertionResult TreeIsSound(const SuperContainer& container)
{
    const std::vector<SuperContainerNode>& nodes = container.Nodes();
    const int32_t size = static_cast<int32_t>(nodes.size());
    auto fail = [](const std::string& what, int32_t index) {
        return ::testing::AssertionFailure() << what << " (node " << index << ")";
    };
    if (container.LeafCount() != static_cast<int32_t>(container.Objects().size()))
        return fail("leaf count differs from the object count", container.Root());
    if (container.LeafCount() == 0) {
        if (container.Root() != -1)
            return fail("empty tree keeps a root", container.Root());
    } else if (container.Root() < 0 || container.Root() >= size || nodes[container.Root()].parent != -1) {
        return fail("root missing or has a parent", container.Root());
    }

    std::vector<bool> reached(size, false);
    std::vector<int32_t> pending;
    if (container.Root() >= 0)
        pending.push_back(container.Root());
    int32_t leaves = 0;
    while (!pending.empty()) {
        const int32_t index = pending.back();
        pending.pop_back();
        if (index < 0 || index >= size)
            return fail("link outside the pool", index);
        if (reached[index])
            return fail("node reached twice", index);
        reached[index] = true;
        const SuperContainerNode& node = nodes[index];
        if (node.height < 0)
            return fail("free node in the tree", index);
        if (node.index != index)
            return fail("node does not know its own index", index);
        if (node.object) {
            ++leaves;
            const SuperContainerObject* object = node.object;
            if (node.height != 0)
                return fail("leaf with a height", index);
            if (object->LeafIndex() != index || object->Container() != &container)
                return fail("object does not point back at its leaf", index);
            if (container.Find(object->uniqueID) != object)
                return fail("leaf object missing from the id map", index);
            if (!(node.box == object->fatBox))
                return fail("leaf box differs from the object's fat box", index);
            continue;
        }
        if (node.left < 0 || node.left >= size || node.right < 0 || node.right >= size)
            return fail("inner node with a missing child", index);
        const SuperContainerNode& left = nodes[node.left];
        const SuperContainerNode& right = nodes[node.right];
        if (left.parent != index || right.parent != index)
            return fail("child does not point back at its parent", index);
        if (node.height != 1 + std::max(left.height, right.height))
            return fail("height is not one above the taller child", index);
        if (!(node.box == PlaneBox::Union(left.box, right.box)))
            return fail("box is not the union of the children", index);
        pending.push_back(node.left);
        pending.push_back(node.right);
    }
    if (leaves != container.LeafCount())
        return fail("reachable leaves differ from the leaf count", container.Root());
    for (int32_t index = 0; index < size; ++index)
        if (nodes[index].height >= 0 && !reached[index])
            return fail("allocated node outside the tree", index);
    for (const SuperContainerObject* object : container.Objects())
        if (object->LeafIndex() < 0 || !reached[object->LeafIndex()])
            return fail("listed object without a leaf", object->LeafIndex());
    return ::testing::AssertionSuccess();
}

}  // namespace worldtest
