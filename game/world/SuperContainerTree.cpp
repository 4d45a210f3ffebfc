// The registry's bounding-box tree: a dynamic AABB tree on the X/Z plane,
// built by an area cost, with no rotations. Nodes live in one pool and refer
// to each other by index, so growing the pool never leaves a dangling link.

#include "game/world/SuperContainer.h"

#include "game/world/SuperContainerObject.h"
#include "helper/QelAssert.h"

#include <algorithm>

namespace {

// The pool grows in small steps: most worlds hold a few hundred objects, and a
// freed node is found again by the circular scan.
constexpr int32_t kNodePoolGrowth = 8;

constexpr int32_t kNone = -1;

}  // namespace

int32_t SuperContainer::Query(const PlaneBox& box, int32_t startNode)
{
    if (startNode < 0) {
        FileWaitingObjects();
        queryResults.clear();
        if (leafCount == 0)
            return 0;
        startNode = root;
    }
    QEL_ASSERT(startNode < static_cast<int32_t>(nodes.size()) && nodes[startNode].height >= 0,
               "Query from a node outside the tree");
    // An explicit stack: the tree is never rebalanced, so a long chain of
    // nodes must not turn into deep recursion. Only nodes whose boxes overlap
    // go on it, right before left so the left subtree comes out first, as a
    // recursive depth-first walk would.
    queryStack.clear();
    if (box.Overlaps(nodes[startNode].box))
        queryStack.push_back(startNode);
    while (!queryStack.empty()) {
        const SuperContainerNode& node = nodes[queryStack.back()];
        queryStack.pop_back();
        if (node.object != nullptr) {
            queryResults.push_back(node.object);
            continue;
        }
        if (box.Overlaps(nodes[node.right].box))
            queryStack.push_back(node.right);
        if (box.Overlaps(nodes[node.left].box))
            queryStack.push_back(node.left);
    }
    return static_cast<int32_t>(queryResults.size());
}

// The first free node after the allocation cursor, wrapping at the end of the
// pool, so freed nodes are reused before the pool grows.
int32_t SuperContainer::AllocateNode()
{
    if (freeNodes.empty()) {
        const int32_t size = static_cast<int32_t>(nodes.size());
        nodes.resize(nodes.size() + kNodePoolGrowth);
        for (int32_t index = size; index < size + kNodePoolGrowth; ++index)
            freeNodes.insert(index);
    }
    auto next = freeNodes.upper_bound(allocationCursor);
    if (next == freeNodes.end())
        next = freeNodes.begin();
    allocationCursor = *next;
    freeNodes.erase(next);
    nodes[allocationCursor] = {{}, nullptr, kNone, kNone, 0, kNone, allocationCursor};
    return allocationCursor;
}

void SuperContainer::FreeNode(int32_t index)
{
    nodes[index].height = -1;
    nodes[index].object = nullptr;
    freeNodes.insert(index);
}

void SuperContainer::InsertLeaf(SuperContainerObject* object)
{
    const int32_t leaf = AllocateNode();
    nodes[leaf].object = object;
    nodes[leaf].box = object->fatBox;
    object->leafIndex = leaf;
    if (leafCount == 0) {
        root = leaf;
        ++leafCount;
        return;
    }

    const int32_t sibling = ChooseSibling(object->fatBox);
    const int32_t oldParent = nodes[sibling].parent;
    const int32_t parent = AllocateNode();
    SuperContainerNode& joined = nodes[parent];
    joined.box = PlaneBox::Union(nodes[sibling].box, nodes[leaf].box);
    joined.height = nodes[sibling].height + 1;
    joined.parent = oldParent;
    if (sibling == root)
        root = parent;
    else if (nodes[oldParent].left == sibling)
        nodes[oldParent].left = parent;
    else
        nodes[oldParent].right = parent;
    joined.left = sibling;
    joined.right = leaf;
    nodes[sibling].parent = parent;
    nodes[leaf].parent = parent;

    RefitUpFrom(parent);
    ++leafCount;
}

// Descends from the root toward the place where pairing the new leaf adds the
// least area to the tree.
int32_t SuperContainer::ChooseSibling(const PlaneBox& leafBox) const
{
    int32_t index = root;
    while (nodes[index].height > 0) {
        const SuperContainerNode& node = nodes[index];
        const float combinedArea = PlaneBox::Union(node.box, leafBox).Area();
        const float costHere = 2.0f * combinedArea;
        const float inheritanceCost = 2.0f * (combinedArea - node.box.Area());
        const float costLeft = DescentCost(leafBox, node.left, inheritanceCost);
        const float costRight = DescentCost(leafBox, node.right, inheritanceCost);
        if (costHere < costLeft && costHere < costRight)
            break;
        index = costLeft < costRight ? node.left : node.right;
    }
    return index;
}

float SuperContainer::DescentCost(const PlaneBox& leafBox, int32_t child, float inheritanceCost) const
{
    const SuperContainerNode& node = nodes[child];
    const float cost = PlaneBox::Union(leafBox, node.box).Area() + inheritanceCost;
    return node.height > 0 ? cost - node.box.Area() : cost;
}

// Heights and boxes from the given inner node up to the root. A node whose
// height and box come out as they were leaves every node above it as it was
// too, so the walk ends there: the tree is never rebalanced and may grow
// deep, and most moves change only the lowest few boxes.
void SuperContainer::RefitUpFrom(int32_t index)
{
    for (int32_t current = index; current != kNone; current = nodes[current].parent) {
        SuperContainerNode& node = nodes[current];
        QEL_ASSERT(node.left != root, "left != root");
        QEL_ASSERT(node.right != root, "right != root");
        const SuperContainerNode& left = nodes[node.left];
        const SuperContainerNode& right = nodes[node.right];
        const int32_t height = 1 + std::max(left.height, right.height);
        const PlaneBox box = PlaneBox::Union(left.box, right.box);
        if (current != index && height == node.height && box == node.box)
            return;
        node.height = height;
        node.box = box;
    }
}

void SuperContainer::RemoveLeaf(SuperContainerObject* object)
{
    const int32_t leaf = object->leafIndex;
    QEL_ASSERT(leaf >= 0 && leaf < static_cast<int32_t>(nodes.size()) && nodes[leaf].object == object,
               "RemoveLeaf of an object without a leaf in this tree");
    if (leaf == root) {
        root = kNone;
    } else {
        const int32_t parent = nodes[leaf].parent;
        const int32_t grandParent = nodes[parent].parent;
        const int32_t sibling = nodes[parent].left == leaf ? nodes[parent].right : nodes[parent].left;
        nodes[sibling].parent = grandParent;
        if (grandParent == kNone) {
            root = sibling;
        } else {
            if (nodes[grandParent].left == parent)
                nodes[grandParent].left = sibling;
            else
                nodes[grandParent].right = sibling;
            RefitUpFrom(grandParent);
        }
        FreeNode(parent);
    }
    FreeNode(leaf);
    --leafCount;
    object->leafIndex = kNone;
}
