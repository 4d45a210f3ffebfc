// The hull path test: the interior grid of each ship type that has one,
// laid over its silhouette, with the ship types stepped through and the
// grid's width, height and symmetry changed in memory. The wheel zooms and
// the left button pans the picture.

#include "engine/base/Qel2dBitmap.h"
#include "game/render/DrawDataHullSilhouettes.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/DevOrbitView.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ShipInternalView.h"
#include "game/world/HullPathSet.h"
#include "game/world/HullPathSets.h"
#include "game/world/ShipData.h"

#include <glm/common.hpp>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float kMinZoom = 0.3f;
constexpr float kMaxZoom = 5.0f;
constexpr float kZoomPerWheel = 0.001f;
// The picture's panel: 400 pixels wide about the middle, clear of the bottom.
constexpr int32_t kPanelHalfWidth = 200;
constexpr int32_t kPanelBottomMargin = 50;
const glm::vec4 kPanelColour{0.1f, 0.1f, 0.5f, 1.0f};
constexpr int kPanelLayer = 999;
constexpr int kLayer = 1000;
// At zoom 1 the grid fills this share of the panel.
constexpr float kGridFill = 0.85f;

constexpr int32_t kNextShipId = 100;
constexpr int32_t kPreviousShipId = 101;
constexpr int32_t kWidthId = 10;
constexpr int32_t kHeightId = 12;
constexpr int32_t kSymmetryId = 14;
constexpr int32_t kExitId = 200;
constexpr int kArrowRight = 1;
constexpr int kArrowLeft = 3;
constexpr int kAlignCentre = 2;
const IntRect kShipRow{30, 1, 300, 25};
const IntRect kFirstStepper{1, 35, 300, 59};

struct HullPathTest {
    std::vector<std::string> ships;  // keys with an interior grid, in key order
    int32_t shipIndex = 0;
    std::unique_ptr<HullPathSet> set;
    float zoom = 1.0f;
    glm::vec2 offset{0.0f};  // pan, in pixels
    bool dragging = false;
    glm::vec2 dragStartMouse{0.0f};
    glm::vec2 dragStartOffset{0.0f};
    InteriorViewState view;  // the grid's drawing, apart from the console's interior view
};
HullPathTest test;

const std::string& CurrentShip()
{
    static const std::string none;
    const auto index = static_cast<size_t>(test.shipIndex);
    return index < test.ships.size() ? test.ships[index] : none;
}

// The record of the ship shown, which the steppers change in memory.
ShipDataRecord* CurrentRecord()
{
    const auto found = ShipData::Instance().mainKeys.find(CurrentShip());
    return found == ShipData::Instance().mainKeys.end() ? nullptr : found->second;
}

void Rebuild(RenderManager* renderer)
{
    test.set.reset();
    RebuildTestHullPathSet(renderer, CurrentShip());
}

void Enter(RenderManager* renderer)
{
    test.ships.clear();
    for (const auto& [key, record] : ShipData::Instance().mainKeys)
        if (record->internalMapScale > 0.0f)
            test.ships.push_back(key);
    if (test.shipIndex >= static_cast<int32_t>(test.ships.size()))
        test.shipIndex = 0;
    Rebuild(renderer);
}

void ZoomAndPan(UIContext& ui)
{
    test.zoom = std::clamp(test.zoom + static_cast<float>(TakeMouseWheel()) * kZoomPerWheel, kMinZoom, kMaxZoom);
    int32_t x = 0, y = 0;
    if (!ui.MousePosition(x, y) || !ui.LeftDown() || ui.previousActiveId != 0) {
        test.dragging = false;
        return;
    }
    const glm::vec2 mouse{static_cast<float>(x), static_cast<float>(y)};
    if (!test.dragging) {
        test.dragging = true;
        test.dragStartMouse = mouse;
        test.dragStartOffset = test.offset;
    }
    test.offset = test.dragStartOffset + (mouse - test.dragStartMouse);
}

// The grid's pitch in silhouette pixels (column, row); zero without cells.
glm::vec2 CellPitch()
{
    int32_t ax = 0, ay = 0, bx = 0, by = 0;
    test.set->CellToWorld(0, 0, ax, ay, 1.0f);
    test.set->CellToWorld(1, 1, bx, by, 1.0f);
    return glm::abs(glm::vec2(bx - ax, by - ay));
}

// Silhouette pixels to panel pixels: the grid (or, without one, the whole
// silhouette) fills most of the panel at zoom 1.
float PictureScale(const IntRect& panel)
{
    glm::vec2 extent{static_cast<float>(ObjectTypeDrawData::kLargeSilhouettePixels)};
    if (test.set && test.set->HasCells())
        extent = CellPitch() * glm::vec2(test.set->BuiltColumns(), test.set->BuiltRows());
    const float fit = std::min(static_cast<float>(panel.Width()) / std::max(extent.x, 1.0f),
                               static_cast<float>(panel.Height()) / std::max(extent.y, 1.0f));
    return fit * kGridFill * test.zoom;
}

// The grid as the interior view draws it (the silhouette under its cells,
// the cell under the pointer with its tool tip), at this scene's own zoom
// and pan; the console's interior view keeps its own. A click is reported as
// the console's.
void DrawGrid(UIContext& ui, RenderManager* renderer, const IntRect& panel)
{
    if (!test.set || !renderer || !renderer->radarTarget)
        return;
    ObjectTypeDrawData* drawData =
        CurrentShip().empty() ? nullptr : renderer->GetObjectTypeDrawData(CurrentShip());
    InteriorViewState& view = test.view;
    view.zoom = PictureScale(panel);
    view.panX = test.offset.x;
    view.panY = test.offset.y;
    view.centreX = static_cast<float>(renderer->radarTarget->GetWidth() / 2);
    view.centreY = static_cast<float>(renderer->radarTarget->GetHeight() / 2);
    int32_t x = 0, y = 0;
    const bool inside = ui.MousePosition(x, y);
    DrawShipInteriorGrid(ui, renderer->radarTarget, view, renderer->console.consoleName, panel, nullptr, *test.set,
                         drawData, "hull_path_test", x, y, inside && ui.LeftReleased());
}

void StepShip(RenderManager* renderer, int32_t by)
{
    const auto count = static_cast<int32_t>(test.ships.size());
    if (count == 0)
        return;
    test.shipIndex = ((test.shipIndex + by) % count + count) % count;
    Rebuild(renderer);
}

// The ship's key between its arrows: left shows the next ship, right the previous.
void DrawShipChooser(UIContext& ui, RenderManager* renderer)
{
    ui.SetCurrentRect(kShipRow);
    ui.DrawText(ui.GetFont("gui-1"), kShipRow, CurrentShip().empty() ? "no ship has an interior grid" : CurrentShip(),
                ui.mainColour, kLayer, kAlignCentre);
    const int32_t side = kShipRow.Height();
    ui.SetCurrentRectEdges(kShipRow.left - 1 - side, kShipRow.top, kShipRow.left - 1, kShipRow.bottom);
    if (uiArrowButton(ui, kNextShipId, kArrowLeft, true, kLayer))
        StepShip(renderer, 1);
    ui.SetCurrentRectEdges(kShipRow.right + 1, kShipRow.top, kShipRow.right + 1 + side, kShipRow.bottom);
    if (uiArrowButton(ui, kPreviousShipId, kArrowRight, true, kLayer))
        StepShip(renderer, -1);
}

void DrawSteppers(UIContext& ui, RenderManager* renderer)
{
    ShipDataRecord* record = CurrentRecord();
    if (!record)
        return;
    ui.SetCurrentRect(kFirstStepper);
    const struct {
        int32_t id;
        const char* label;
        int32_t& value;
    } rows[] = {{kWidthId, "Width ", record->internalMapW},
                {kHeightId, "Height ", record->internalMapH},
                {kSymmetryId, "Symmetry ", record->internalSymmetry}};
    for (const auto& row : rows) {
        if (uiValueStepper(ui, row.id, row.value, row.label))
            Rebuild(renderer);
        ui.ShiftRectY(1, 1);
    }
}

SceneFunction Draw(UIContext& ui, const MenuBackdrop& backdrop, RenderManager* renderer)
{
    const int32_t w = ui.WindowWidth();
    const int32_t h = ui.WindowHeight();
    ZoomAndPan(ui);
    backdrop.Draw(ui);
    const IntRect panel{w / 2 - kPanelHalfWidth, 0, w / 2 + kPanelHalfWidth, h - kPanelBottomMargin};
    ui.FillRect(static_cast<float>(panel.left), static_cast<float>(panel.top), static_cast<float>(panel.right),
                static_cast<float>(panel.bottom), kPanelColour, kPanelLayer);
    DrawGrid(ui, renderer, panel);
    DrawShipChooser(ui, renderer);
    DrawSteppers(ui, renderer);
    SetDevToolButtonColumn(ui);
    return DevToolExit(ui, kExitId) ? SceneFunction(SceneDevToolsMode) : SceneFunction(SceneHullPathTestMode);
}

}  // namespace

void RebuildTestHullPathSet(RenderManager* renderer, std::string shipKey)
{
    const ShipDataRecord* record = ShipData::Instance().Find(shipKey);
    if (!renderer || !record || shipKey.empty())
        return;
    const std::optional<HullSilhouette> silhouette =
        DrawDataHullSilhouettes::Describe(*renderer->GetObjectTypeDrawData(shipKey));
    if (silhouette)
        test.set = BuildHullPathSet(*silhouette, *record);
}

SceneFunction SceneHullPathTestMode(SceneEvent event, SceneState& scenes, RenderManager* renderer)
{
    UIContext& ui = scenes.UI();
    switch (event) {
    case SCENE_ENTER: Enter(renderer); break;
    case SCENE_LEAVE: test.set.reset(); break;
    case SCENE_DRAW: return Draw(ui, ShellState::Of(scenes).backdrop, renderer);
    default: break;
    }
    return SceneHullPathTestMode;
}
