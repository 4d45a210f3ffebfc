#pragma once
// One ship's interior: a grid of cells laid over the top-down silhouette of
// its hull, each open (walkable) or blocked, the grid objects that stand and
// walk on it, and the shortest-path search that gives them their paths.
//
// The server's mission creates grid objects and asks for destinations
// through their keyed values ("pathx", "pathy"); the world's tick searches a
// path for each request and walks every object along its path (server and
// consoles alike), and tells the mission when an object arrives. Cells are
// addressed by column (0..w-1) and row (0..h-1), stored row by row.
//
// Main thread only.

#include "game/world/GridObject.h"
#include "game/world/HullSilhouetteSource.h"
#include "game/world/SimulationClock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <queue>
#include <string>
#include <vector>

class SpaceObject;
struct ShipDataRecord;

class HullPathSet {
public:
    // A request is searched for at most this many steps, all within the tick
    // that sees it; a longer search gives up with the path to the last cell
    // it reached. 900 steps cover any reachable cell of a 30 x 30 grid.
    static constexpr int32_t kMaxSearchSteps = 900;
    // Steps of the background name sort per tick.
    static constexpr int32_t kSortStepsPerTick = 10;
    // Widest and tallest grid built: a ship record (which may come from a
    // mission's file or from the server) asking for more gets no cells
    // rather than an allocation that could take the process down.
    static constexpr int32_t kMaxGridSide = 1024;

    // How the last search ended.
    enum class SearchOutcome {
        Searching,    // not finished (or never started)
        ReachedGoal,
        Unreachable,  // every cell reachable from the start was tried
        GaveUp,       // the step cap ran out first
    };

    // Tells the mission that a grid object walked to the end of its path.
    // Answers whether this hull map still exists afterwards (the mission may
    // have rebuilt it or started a new game); the walk stops when it does not.
    using FinishedPathHandler = std::function<bool(uint64_t gridObjectId)>;

    // Lays the grid of the ship record over the silhouette. A record whose
    // grid scale is not positive gives a map without cells (every point
    // blocked); so does one whose size is out of range, with a line on
    // standard error. A silhouette that is not whole counts as none.
    HullPathSet(const HullSilhouette* silhouette, const ShipDataRecord& record);
    HullPathSet(const HullPathSet&) = delete;
    HullPathSet& operator=(const HullPathSet&) = delete;

    // ---- the grid ----

    // 1 when the cell is inside the built grid and open; 0 otherwise.
    int32_t IsGridPointOpen(int32_t column, int32_t row) const;
    bool HasCells() const { return !cells.empty(); }
    int32_t BuiltColumns() const { return cellColumns; }
    int32_t BuiltRows() const { return cellRows; }
    // The cell's centre in silhouette pixels from the silhouette's centre,
    // unrotated, times the scale. Nothing is written without a silhouette.
    void CellToWorld(int32_t column, int32_t row, int32_t& x, int32_t& y, float scale) const;

    // ---- grid objects ----

    // The ids of the grid objects whose current cell ("curx", "cury") is the
    // point, in list order. Reading adds "curx" and "cury" to an object that
    // lacks them, as 0. The list is reused by the next call.
    const std::vector<uint64_t>& GetObjectsAtPoint(int32_t column, int32_t row);
    int32_t GetGridObjectCount() const { return static_cast<int32_t>(objects.size()); }
    // Null for 0, for an id of another kind and for an id not in the list.
    GridObject* GetGridObjectById(uint64_t id) const;
    // The first in list order whose name (tag) is exactly the text, or null.
    GridObject* GetGridObjectByName(const std::string& name) const;
    GridObject* GetGridObjectByTag(const std::string& tag) const;
    // Null outside 0..count-1.
    GridObject* GetGridObjectByIndex(int32_t index) const;
    // AddGridObject with a new id.
    GridObject& CreateGridObject(const std::string& name, const std::string& tag, const std::string& type);
    // Appends an object with the id (0: a new one), layer 0 and no request;
    // its data set stamps its changes by the map's clock.
    GridObject& AddGridObject(uint64_t id, const std::string& name, const std::string& tag, const std::string& type);
    // The clock of the world whose ship has this map; none stamps 0.
    void StampChangesBy(const SimulationClock* clock) { changeClock = clock; }
    // Removes and deletes it; the others keep their order. False when it is
    // not in this map's list.
    bool DeleteGridObject(const GridObject* object);
    const std::vector<std::unique_ptr<GridObject>>& Objects() const { return objects; }

    // ---- the tick ----

    // Sorts a little by name, searches the requested paths and walks every
    // object one tick along its path (at half pace while the ship is on red
    // alert). Objects that finish their paths are reported, in list order.
    void MoveGridObjects(const SpaceObject& ship, const FinishedPathHandler& finished);

    // ---- the path search (best first, four neighbours, unit steps) ----

    void StartSearch(int32_t startColumn, int32_t startRow, int32_t goalColumn, int32_t goalRow);
    // One step: 1 when the search has ended (see LastSearchOutcome), else 0.
    int32_t SearchStep();
    // The object's path: from the start cell to the goal, or to the last cell
    // taken when the search did not reach it.
    void BuildPath(GridObject& object);
    SearchOutcome LastSearchOutcome() const { return outcome; }
    // Searches that gave up at the step cap, over the process.
    static uint64_t SearchesGivenUp();

    std::string name;
    std::string art_file_root;
    std::string desc;
    float grid_scale = 0.0f;  // space between grid points
    int32_t w = 0;            // grid size in cells, as the ship record gives it
    int32_t h = 0;
    int32_t symmetrical_flag = 0;

    uint64_t shipId = 0;  // the ship whose interior this is; 0 for a map built apart
    // Tells this map from an earlier one of the same ship, so a handle kept
    // across a rebuild can tell it is stale.
    const uint64_t serial;

private:
    struct SearchNode {
        int32_t parent;  // index in searchNodes, -1 for the start
        int32_t column;
        int32_t row;
        float g;  // steps from the start
        float h;  // straight-line distance to the goal, in cells
    };
    // Open nodes come out by least g + h; of equal sums the older first.
    struct OpenEntry {
        float cost;
        uint32_t sequence;
        int32_t node;
        bool operator>(const OpenEntry& other) const
        {
            return cost > other.cost || (cost == other.cost && sequence > other.sequence);
        }
    };

    void BuildCells(const HullSilhouette& silhouette, float meshRotate);
    bool IsSampledCellOpen(const HullSilhouette& silhouette, int32_t centreX, int32_t centreY, int32_t halfWidth,
                           int32_t halfHeight) const;
    void SortStep();
    void AddOpenPoint(int32_t parent, int32_t column, int32_t row);
    bool IsInside(int32_t column, int32_t row) const;
    size_t CellIndex(int32_t column, int32_t row) const;
    // Starts the object's requested path; false when none was requested.
    bool TakePathRequest(GridObject& object);
    // One tick of walking; true when the object just reached its path's end.
    bool WalkOneTick(GridObject& object, float paceFactor);
    void NoteSearchGaveUp(const GridObject& object, int32_t goalColumn, int32_t goalRow);

    int32_t cellColumns = 0;  // the size the cells were built with
    int32_t cellRows = 0;
    std::vector<int32_t> cells;  // 1 open, 0 blocked; empty without cells
    bool hasSilhouette = false;
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // silhouette box, in pixels of the large silhouette

    std::vector<std::unique_ptr<GridObject>> objects;
    const SimulationClock* changeClock = nullptr;
    int32_t sortCursor = 0;
    std::vector<uint64_t> objectsAtPoint;

    // Search state.
    int32_t searchSteps = 0;
    int32_t goalColumn = 0;
    int32_t goalRow = 0;
    std::vector<SearchNode> searchNodes;
    std::priority_queue<OpenEntry, std::vector<OpenEntry>, std::greater<OpenEntry>> openNodes;
    uint32_t openSequence = 0;
    int32_t lastTaken = -1;  // the node the search took last, -1 before the first
    std::vector<uint32_t> cellSeenStamp;  // == searchStamp: the cell has a node in this search
    uint32_t searchStamp = 0;
    SearchOutcome outcome = SearchOutcome::Searching;
};
