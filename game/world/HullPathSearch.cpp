// The interior grid's path search: best first over the four neighbours of a
// cell, each step costing 1, guided by the straight-line distance to the goal.
// A cell enters the search once and its first node is never improved, so a
// path is short but not always the shortest. The search is capped: a request
// that has not ended after kMaxSearchSteps steps gives up with the path to the
// last cell it reached, and says so.

#include "game/world/HullPathSet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

uint64_t searchesGivenUp = 0;

float DistanceInCells(int32_t columnA, int32_t rowA, int32_t columnB, int32_t rowB)
{
    const auto dc = static_cast<float>(columnA - columnB);
    const auto dr = static_cast<float>(rowA - rowB);
    return std::sqrt(dc * dc + dr * dr);
}

}  // namespace

void HullPathSet::StartSearch(int32_t startColumn, int32_t startRow, int32_t goalColumnIn, int32_t goalRowIn)
{
    searchNodes.clear();
    openNodes = {};
    openSequence = 0;
    lastTaken = -1;
    searchSteps = 0;
    goalColumn = goalColumnIn;
    goalRow = goalRowIn;
    outcome = SearchOutcome::Searching;
    // A new stamp forgets every cell the last search saw, without a pass
    // over the grid; when the stamp wraps the marks are cleared for real.
    if (++searchStamp == 0) {
        std::fill(cellSeenStamp.begin(), cellSeenStamp.end(), 0u);
        searchStamp = 1;
    }
    cellSeenStamp.resize(cells.size(), 0u);

    searchNodes.push_back({-1, startColumn, startRow, 0.0f, DistanceInCells(startColumn, startRow, goalColumn, goalRow)});
    openNodes.push({searchNodes.back().h, openSequence++, 0});
    if (IsInside(startColumn, startRow))
        cellSeenStamp[CellIndex(startColumn, startRow)] = searchStamp;
}

// Cells outside the grid, blocked cells and cells the search has already
// reached are not offered again.
void HullPathSet::AddOpenPoint(int32_t parent, int32_t column, int32_t row)
{
    if (IsGridPointOpen(column, row) == 0)
        return;
    uint32_t& seen = cellSeenStamp[CellIndex(column, row)];
    if (seen == searchStamp)
        return;
    seen = searchStamp;
    const float g = searchNodes[static_cast<size_t>(parent)].g + 1.0f;
    const float h = DistanceInCells(column, row, goalColumn, goalRow);
    searchNodes.push_back({parent, column, row, g, h});
    openNodes.push({g + h, openSequence++, static_cast<int32_t>(searchNodes.size() - 1)});
}

int32_t HullPathSet::SearchStep()
{
    if (outcome != SearchOutcome::Searching)
        return 1;
    if (++searchSteps > kMaxSearchSteps) {
        outcome = SearchOutcome::GaveUp;
        ++searchesGivenUp;
        return 1;
    }
    if (openNodes.empty()) {
        outcome = SearchOutcome::Unreachable;
        return 1;
    }
    lastTaken = openNodes.top().node;
    openNodes.pop();
    const SearchNode node = searchNodes[static_cast<size_t>(lastTaken)];
    if (node.column == goalColumn && node.row == goalRow) {
        outcome = SearchOutcome::ReachedGoal;
        return 1;
    }
    AddOpenPoint(lastTaken, node.column - 1, node.row);
    AddOpenPoint(lastTaken, node.column + 1, node.row);
    AddOpenPoint(lastTaken, node.column, node.row - 1);
    AddOpenPoint(lastTaken, node.column, node.row + 1);
    return 0;
}

void HullPathSet::BuildPath(GridObject& object)
{
    object.path.clear();
    for (int32_t index = lastTaken; index >= 0; index = searchNodes[static_cast<size_t>(index)].parent) {
        const SearchNode& node = searchNodes[static_cast<size_t>(index)];
        object.path.push_front(node.row);
        object.path.push_front(node.column);
    }
}

// Counted, and told once per process: a mission that keeps asking for cells
// too far to reach should not fill the log.
void HullPathSet::NoteSearchGaveUp(const GridObject& object, int32_t goalColumnIn, int32_t goalRowIn)
{
    if (searchesGivenUp != 1)
        return;
    std::fprintf(stderr, "interior grid of \"%s\": the path of grid object \"%s\" to cell (%d, %d) was not found "
                 "within %d search steps; it walks to the last cell the search reached. Later searches that "
                 "give up are counted quietly\n",
                 name.c_str(), object.name.c_str(), goalColumnIn, goalRowIn, kMaxSearchSteps);
}

uint64_t HullPathSet::SearchesGivenUp()
{
    return searchesGivenUp;
}
