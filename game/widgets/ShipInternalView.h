#pragma once
// "ship_internal_view": the deck plan of the console's own ship. Over the
// hull's top-down silhouette it draws the walkable cells of the ship's
// interior grid as nodes joined by corridors, and the grid objects the
// mission walks on it (damage-control teams, fires, intruders) as icons that
// glide from cell to cell, with their speech bubbles and a tool tip for the
// cell under the pointer. The wheel zooms, a drag pans, the corner button
// resets both, and a click on a cell is reported to the mission
// ("grid_point_selection", signal 47). While the view is drawn it asks the
// server for a fresh copy of the grid about once a second.
//
// The view's zoom, pan and hover are the console's (ConsoleState.h), shared
// by every box that shows an interior; a new world starts them afresh. The grid shown is looked up by its ship's id
// at each use, never kept: the mission may rebuild or delete it between
// frames, and a new world forgets it.

#include "game/ui/IntRect.h"
#include "game/world/SimulationTimer.h"

#include <cstdint>
#include <string>

class UIContext;

class ConsoleState;
struct GridObject;
class HullPathSet;
class ObjectTypeDrawData;
class Qel2dBitmap;
class SpaceObject;

struct InteriorViewState {
    static constexpr float kMinZoom = 0.3f;
    static constexpr float kMaxZoom = 5.0f;

    uint64_t shipShown = 0;  // the ship whose grid the view drew last; 0 none
    float zoom = 1.0f;       // kMinZoom..kMaxZoom
    float panX = 0.0f;       // offset of the hull from the middle of the view, pixels
    float panY = 0.0f;
    float centreX = 0.0f;    // the middle of the drawing target, pixels; 0 until first drawn
    float centreY = 0.0f;
    bool dragging = false;
    int32_t dragMouseX = 0, dragMouseY = 0;  // where the drag began
    int32_t dragPanX = 0, dragPanY = 0;      // the pan when it began
    int32_t hoverColumn = -1;  // the cell under the pointer at the last drawing; -1 none
    int32_t hoverRow = -1;
    simulationTimer gridRequestTimer;  // the next grid request is due when it expires
    int32_t gridRequestExpiries = 0;   // in this world

    bool operator==(const InteriorViewState&) const = default;
};

// The grid the view drew last, looked up afresh; null when none.
HullPathSet* InteriorGridShown(const InteriorViewState& view);

void ViewShipInternalViewDraw(ConsoleState& console, IntRect& rect, std::string widgetName);

// One interior view in the rectangle, at the view's zoom and pan, with hover
// and click (reported as the console's of the name); the ship may be null
// (default colours and selection icon), the draw data too (no hull picture).
// Draws through the target given (the render manager's radar target), and
// nothing without one.
void DrawShipInteriorGrid(UIContext& ui, Qel2dBitmap* target, InteriorViewState& view, const std::string& consoleName,
                          const IntRect& rect, SpaceObject* ship, HullPathSet& grid, ObjectTypeDrawData* drawData,
                          const std::string& widgetName, int32_t mouseX, int32_t mouseY, bool clicked);

// The grid object's icon (its cell of the icon sheet, in its colour), centred
// on the point, halfSize pixels from its middle to its sides.
void DrawGridObjectIcon(UIContext& ui, const GridObject& object, float x, float y, float halfSize, int layer);

// Whether the world's grid-object filter lets a grid object of the type show:
// an empty filter shows all, else an enabled entry must name the type.
bool GridObjectTypeShown(const std::string& type);
