#include "game/world/OctreePathSearch.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;
// Nodes are ranked by g plus the distance to the goal in tens of units, so a
// step through free space (one cell, however large) weighs like ten units.
constexpr float kDistancePerStep = 10.0f;
// A probe lands 1 % beyond the face it crosses: inside the neighbouring cell
// however large that cell is.
constexpr float kProbeReach = 1.01f;
// A probe through an x face crosses at 20 % and 80 % of the cell's depth in
// z. The smaller share is the float just below 0.2, as the search was tuned.
constexpr float kFarShare = 0.8f;
const float kNearShare = std::bit_cast<float>(0x3E4CCCCCu);

uint64_t HashCoordinate(float value)
{
    const float normal = value == 0.0f ? 0.0f : value;  // -0 hashes as +0
    uint32_t bits = 0;
    std::memcpy(&bits, &normal, sizeof bits);
    uint64_t hash = kFnvOffsetBasis;
    for (int byte = 0; byte < 4; ++byte) {
        hash ^= (bits >> (8 * byte)) & 0xFFu;
        hash *= kFnvPrime;
    }
    return hash;
}

bool Inside(const glm::vec3& point, const glm::vec3& min, const glm::vec3& max)
{
    return point.x >= min.x && point.x <= max.x && point.y >= min.y && point.y <= max.y && point.z >= min.z &&
           point.z <= max.z;
}

// Distance from the point to the box; 0 inside.
float DistanceToBox(const glm::vec3& point, const glm::vec3& min, const glm::vec3& max)
{
    return glm::length(point - glm::clamp(point, min, max));
}

// The octant of the point in the box: bit 0 upper x, bit 1 upper y, bit 2 upper z.
int OctantOf(const glm::vec3& point, const glm::vec3& min, const glm::vec3& max)
{
    const glm::vec3 mid = (min + max) * 0.5f;
    return (point.x >= mid.x ? 1 : 0) | (point.y >= mid.y ? 2 : 0) | (point.z >= mid.z ? 4 : 0);
}

void OctantBox(int octant, glm::vec3 min, glm::vec3 max, glm::vec3& octantMin, glm::vec3& octantMax)
{
    const glm::vec3 mid = (min + max) * 0.5f;
    octantMin = {(octant & 1) ? mid.x : min.x, (octant & 2) ? mid.y : min.y, (octant & 4) ? mid.z : min.z};
    octantMax = {(octant & 1) ? max.x : mid.x, (octant & 2) ? max.y : mid.y, (octant & 4) ? max.z : mid.z};
}

// The heap's order: a comes before b when its f is larger, so the top has the smallest f.
bool LaterInHeap(const OctreePathNode* a, const OctreePathNode* b)
{
    return a->F() > b->F();
}

}  // namespace

uint64_t PointHash(const glm::vec3& point)
{
    return HashCoordinate(point.z) ^ HashCoordinate(point.y) ^ HashCoordinate(point.x);
}

OctreePathSearch::OctreePathSearch(const glm::vec3& min, const glm::vec3& max, int32_t maxSteps)
    : stepCap(maxSteps)
{
    root.min = min;
    root.max = max;
}

void OctreePathSearch::MarkSphere(const glm::vec3& centre, float radius, bool unmark)
{
    MarkCell(root, centre, radius, 0, unmark);
}

void OctreePathSearch::MarkCell(OctreeCell& cell, const glm::vec3& centre, float radius, int depth, bool unmark)
{
    if (depth == kLeafDepth) {
        cell.blocked = unmark ? std::max(cell.blocked - 1, 0) : cell.blocked + 1;
        return;
    }
    if (!(radius > DistanceToBox(centre, cell.min, cell.max)))
        return;
    for (int octant = 0; octant < 8; ++octant) {
        glm::vec3 octantMin, octantMax;
        OctantBox(octant, cell.min, cell.max, octantMin, octantMax);
        if (!(radius > DistanceToBox(centre, octantMin, octantMax)))
            continue;
        cell.subdivided = true;
        cell.blocked = 0;
        std::unique_ptr<OctreeCell>& child = cell.children[static_cast<size_t>(octant)];
        if (!child) {
            child = std::make_unique<OctreeCell>();
            child->min = octantMin;
            child->max = octantMax;
        }
        MarkCell(*child, centre, radius, depth + 1, unmark);
    }
}

void OctreePathSearch::StartSearch(const glm::vec3& startPoint, const glm::vec3& goalPoint)
{
    start = startPoint;
    unclampedGoal = goalPoint;
    goal = glm::clamp(goalPoint, root.min, root.max);
    found = nullptr;
    steps = 0;
    outcome = Outcome::Searching;
    openList.clear();
    openSet.clear();
    // A point closed by an earlier search would shut the new one out of its cell.
    closedSet.clear();
    nodes.clear();
    FindCellAndAdd(start, root, 0.0f, nullptr);
}

bool OctreePathSearch::Step()
{
    if (outcome != Outcome::Searching)
        return true;
    if (openList.empty()) {
        outcome = Outcome::Unreachable;
        return true;
    }
    if (steps >= stepCap) {
        outcome = Outcome::GaveUp;
        return true;
    }
    ++steps;
    std::pop_heap(openList.begin(), openList.end(), LaterInHeap);
    OctreePathNode* node = openList.back();
    openList.pop_back();
    openSet.erase(node->point);
    if (Inside(goal, node->cellMin, node->cellMax)) {
        found = node;
        outcome = Outcome::Found;
        return true;
    }
    closedSet.insert(node->point);
    Expand(*node);
    return false;
}

void OctreePathSearch::BuildPath(std::vector<glm::vec3>& pathPoints,
                                 std::vector<const OctreePathNode*>& pathNodes) const
{
    pathPoints.push_back(unclampedGoal);
    pathPoints.push_back(goal);
    for (const OctreePathNode* node = found; node; node = node->parent) {
        pathNodes.push_back(node);
        pathPoints.push_back(node->point);
    }
}

void OctreePathSearch::DrawBlocked(const BoxDrawer& drawBox) const
{
    DrawCell(root, 0, drawBox);
}

void OctreePathSearch::DrawCell(const OctreeCell& cell, int depth, const BoxDrawer& drawBox) const
{
    if (depth == kLeafDepth && cell.blocked != 0)
        drawBox(cell.min, cell.max);
    for (const std::unique_ptr<OctreeCell>& child : cell.children)
        if (child)
            DrawCell(*child, depth + 1, drawBox);
}

bool OctreePathSearch::InsideRoot(const glm::vec3& point) const
{
    return Inside(point, root.min, root.max);
}

// Adds a node for the cell that holds the point. A point on a face shared by
// two children goes to the lower octant; an octant no sphere reached is free
// space under its parent cell.
void OctreePathSearch::FindCellAndAdd(const glm::vec3& point, const OctreeCell& cell, float g,
                                      const OctreePathNode* parent)
{
    if (!cell.subdivided) {
        AddNode(point, cell.min, cell.max, g, cell, parent);
        return;
    }
    for (const std::unique_ptr<OctreeCell>& child : cell.children)
        if (child && Inside(point, child->min, child->max)) {
            FindCellAndAdd(point, *child, g, parent);
            return;
        }
    glm::vec3 octantMin, octantMax;
    OctantBox(OctantOf(point, cell.min, cell.max), cell.min, cell.max, octantMin, octantMax);
    if (InsideRoot(point)) {
        AddNode(point, octantMin, octantMax, g, cell, parent);
        return;
    }
    // A probe that leaves the space adds nothing; a start outside it gets a
    // node of its own and, as its child, the point clamped into the space.
    if (parent)
        return;
    const OctreePathNode* outside = AddNode(point, octantMin, octantMax, g, cell, nullptr);
    const glm::vec3 clamped = glm::clamp(point, root.min, root.max);
    OctantBox(OctantOf(clamped, cell.min, cell.max), cell.min, cell.max, octantMin, octantMax);
    AddNode(clamped, octantMin, octantMax, g, cell, outside);
}

const OctreePathNode* OctreePathSearch::AddNode(const glm::vec3& point, const glm::vec3& boxMin,
                                                const glm::vec3& boxMax, float g, const OctreeCell& cell,
                                                const OctreePathNode* parent)
{
    if (openSet.count(point) || closedSet.count(point))
        return nullptr;
    OctreePathNode& node = nodes.emplace_back();
    node.cell = &cell;
    node.cellMin = boxMin;
    node.cellMax = boxMax;
    node.halfSize = (boxMax - boxMin) * 0.5f;
    node.point = point;
    node.g = g + 1.0f;
    node.h = glm::length(point - goal) / kDistancePerStep;
    node.parent = parent;
    if (cell.blocked != 0) {
        closedSet.insert(point);
        return &node;
    }
    openList.push_back(&node);
    std::push_heap(openList.begin(), openList.end(), LaterInHeap);
    openSet.insert(point);
    return &node;
}

// Probes just beyond each face of the node's cell: one through each y and z
// face at the point's own position, two through each x face.
void OctreePathSearch::Expand(const OctreePathNode& node)
{
    glm::vec3 boxMin = root.min;
    glm::vec3 boxMax = root.max;
    const OctreeCell* cell = &root;
    while (cell && cell->subdivided) {
        const int octant = OctantOf(node.point, boxMin, boxMax);
        OctantBox(octant, boxMin, boxMax, boxMin, boxMax);
        cell = cell->children[static_cast<size_t>(octant)].get();
    }
    const glm::vec3 p = node.point;
    const float x0 = boxMin.x, y0 = boxMin.y, z0 = boxMin.z;
    const float x1 = boxMax.x, y1 = boxMax.y, z1 = boxMax.z;
    const float zFar = kFarShare * z1 + kNearShare * z0;
    const float zNear = kFarShare * z0 + kNearShare * z1;
    const std::array<glm::vec3, 8> probes = {
        glm::vec3{p.x, p.y + kProbeReach * (y0 - p.y), p.z},
        glm::vec3{p.x, p.y, p.z + kProbeReach * (z0 - p.z)},
        glm::vec3{p.x, p.y + kProbeReach * (y1 - p.y), p.z},
        glm::vec3{p.x, p.y, p.z + kProbeReach * (z1 - p.z)},
        glm::vec3{p.x + kProbeReach * (x0 - p.x), p.y, zFar},
        glm::vec3{p.x + kProbeReach * (x0 - p.x), p.y, zNear},
        glm::vec3{p.x + kProbeReach * (x1 - p.x), p.y, zFar},
        glm::vec3{p.x + kProbeReach * (x1 - p.x), p.y, zNear},
    };
    for (const glm::vec3& probe : probes)
        FindCellAndAdd(probe, root, node.g, &node);
}
