#pragma once
// A path through 3D space around spherical obstacles. The space is an
// axis-aligned box cut into an octree that is refined only where obstacles
// are: marking a sphere subdivides every cell it touches down to the leaf
// depth and counts, in each leaf it overlaps, how many spheres cover it. An
// A* search then runs over cells: it starts at a point, expands a cell by
// probing just beyond its faces, and ends when the cell it takes from the
// open list holds the goal. One step per call, so a caller can animate it.
//
//   OctreePathSearch search({-1000, -200, -1000}, {1000, 200, 1000});
//   search.MarkSphere({0, 0, 0}, 100, false);
//   search.StartSearch(start, goal);
//   while (!search.Step()) {}
//   search.BuildPath(points, nodes);   // goal, clamped goal, then back to the start
//
// Main thread only; the search owns its cells and every node it made.

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

// One node of the octree. Octant index bit 0 is the upper half in x, bit 1
// in y, bit 2 in z ("upper": from the midpoint to max).
struct OctreeCell {
    bool subdivided = false;  // once any sphere reached into the children
    int32_t blocked = 0;      // spheres covering the cell; meaningful at the leaf depth only
    glm::vec3 min{0.0f};
    glm::vec3 max{0.0f};
    std::array<std::unique_ptr<OctreeCell>, 8> children;  // made on demand
};

// One search node: the cell (or the missing octant of a cell) a probe point fell in.
struct OctreePathNode {
    const OctreeCell* cell = nullptr;  // the cell, or the parent of a missing octant
    glm::vec3 cellMin{0.0f};
    glm::vec3 cellMax{0.0f};
    glm::vec3 halfSize{0.0f};  // (cellMax - cellMin) / 2
    glm::vec3 point{0.0f};     // the probe point; the node's identity in the open and closed sets
    float g = 0.0f;            // steps from the start; the start node has 1
    float h = 0.0f;            // straight-line distance to the goal / 10
    const OctreePathNode* parent = nullptr;

    float F() const { return g + h; }
};

// Hash of a point for the open and closed sets: FNV-1a over each
// coordinate's four bytes (0 and -0 alike), z ^ y ^ x.
uint64_t PointHash(const glm::vec3& point);

class OctreePathSearch {
public:
    // Leaves are 1/64 of the space per axis: fine enough to steer between
    // obstacles, coarse enough that a whole wall marks in a blink.
    static constexpr int kLeafDepth = 6;
    // A search gives up after this many steps. Nodes are probe points, not
    // cells, so the points before a wall never run out: without the cap an
    // unreachable goal would be searched for without end. The layouts this
    // program searches are solved within a few thousand steps.
    static constexpr int32_t kMaxSteps = 20000;
    // Colour of a blocked leaf's box.
    static constexpr glm::vec4 kBlockedColour{0.4f, 0.1f, 0.1f, 0.1f};

    enum class Outcome {
        Searching,    // not started, or steps remain
        Found,        // a node's cell held the goal
        Unreachable,  // the open list ran dry (a start in a blocked cell)
        GaveUp,       // the step cap ran out first
    };

    struct PointHasher {
        size_t operator()(const glm::vec3& point) const { return static_cast<size_t>(PointHash(point)); }
    };
    using PointSet = std::unordered_set<glm::vec3, PointHasher>;
    using BoxDrawer = std::function<void(const glm::vec3& min, const glm::vec3& max)>;

    // The root cell spans the box, undivided and free; a search gives up
    // after maxSteps steps.
    OctreePathSearch(const glm::vec3& min, const glm::vec3& max, int32_t maxSteps = kMaxSteps);
    OctreePathSearch(const OctreePathSearch&) = delete;
    OctreePathSearch& operator=(const OctreePathSearch&) = delete;

    // Adds (or, with unmark, removes) one covering sphere. Unmarking never
    // merges cells and never takes a leaf below 0.
    void MarkSphere(const glm::vec3& centre, float radius, bool unmark);

    // Resets the search (open list, open and closed sets, every node: path
    // nodes an earlier BuildPath handed out go with them) and puts the start
    // on the open list. The goal is clamped into the space.
    void StartSearch(const glm::vec3& start, const glm::vec3& goal);
    // One A* step: true when the search is over (see SearchOutcome).
    bool Step();
    // Appends the unclamped goal, the clamped goal, then the found node's
    // point and every parent's back to the start; the lists are not emptied.
    // Without a found node only the two goal points are appended.
    void BuildPath(std::vector<glm::vec3>& pathPoints, std::vector<const OctreePathNode*>& pathNodes) const;
    // Every blocked leaf as a box, in kBlockedColour.
    void DrawBlocked(const BoxDrawer& drawBox) const;

    int32_t Steps() const { return steps; }
    Outcome SearchOutcome() const { return outcome; }
    const OctreePathNode* Found() const { return found; }
    const PointSet& ClosedPoints() const { return closedSet; }
    const OctreeCell& Root() const { return root; }

private:
    void MarkCell(OctreeCell& cell, const glm::vec3& centre, float radius, int depth, bool unmark);
    void FindCellAndAdd(const glm::vec3& point, const OctreeCell& cell, float g, const OctreePathNode* parent);
    const OctreePathNode* AddNode(const glm::vec3& point, const glm::vec3& boxMin, const glm::vec3& boxMax, float g,
                                  const OctreeCell& cell, const OctreePathNode* parent);
    void Expand(const OctreePathNode& node);
    void DrawCell(const OctreeCell& cell, int depth, const BoxDrawer& drawBox) const;
    bool InsideRoot(const glm::vec3& point) const;

    OctreeCell root;
    glm::vec3 start{0.0f};
    glm::vec3 goal{0.0f};  // clamped into the root box
    glm::vec3 unclampedGoal{0.0f};
    const OctreePathNode* found = nullptr;
    int32_t steps = 0;
    int32_t stepCap;
    Outcome outcome = Outcome::Searching;
    std::deque<OctreePathNode> nodes;        // every node made; addresses stay put
    std::vector<OctreePathNode*> openList;  // a heap, smallest f on top
    PointSet openSet;
    PointSet closedSet;
};
