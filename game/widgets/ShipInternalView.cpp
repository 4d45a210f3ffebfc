#include "game/widgets/ShipInternalView.h"

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelMouse.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/net/TickTimers.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/world/HullPathSets.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

constexpr int kLeftButton = 0;
constexpr const char* kFont = "gui-1";
constexpr const char* kClickSound = "gui_button";

// Layers inside the drawing target: hull, grid, icons (above them by the
// object's own layer), bubbles, tool tip; the finished view goes to the
// screen at kViewLayer.
constexpr int kHullLayer = 999;
constexpr int kGridLayer = 1001;
constexpr int kIconLayer = 1002;
constexpr int kBubbleLayer = 1011;
constexpr int kBubbleTextLayer = 1012;
constexpr int kToolTipLayer = 1013;
constexpr int kToolTipTextLayer = 1014;
constexpr int kViewLayer = 1000;
constexpr int kResetLayer = 1004;

// The grid is asked for again this many ticks (about a second) apart.
constexpr int64_t kGridRequestTicks = 33;
// A wheel unit zooms this much.
constexpr float kZoomPerWheelUnit = 0.001f;
// The pointer picks the nearest node closer than this (grid pixels, summed
// over both axes); further away it is over no cell.
constexpr int32_t kHoverReach = 100;
// A press that moved the view further than this (pixels, both axes summed)
// was a drag, not a click.
constexpr int32_t kDragNotClick = 6;

// The reset button: icon cell, id, placement from the bottom-right corner.
constexpr int32_t kResetButtonId = 90010;
constexpr int kResetIcon = 33;
constexpr float kResetOffset = 20.0f;
constexpr float kResetHalfSize = 20.0f;
constexpr float kResetScale = 3.0f;

// The selection mark when the ship names none.
constexpr int kDefaultSelectionIcon = 129;

// A node is a diamond this share of the cell pitch across, never smaller
// than kMinNodePixels, so the plan reads at every zoom.
constexpr float kNodeShare = 0.35f;
constexpr float kMinNodePixels = 3.0f;
constexpr float kNodeAngle = std::numbers::pi_v<float> / 3.0f;
// The hull picture is drawn turned half a turn, bow up.
constexpr float kHullAngle = std::numbers::pi_v<float>;

// Speech bubbles sit up and right of their object, pointing at it.
constexpr int32_t kBubbleLeft = 15, kBubbleTop = 40, kBubbleBottom = 16, kBubblePadding = 34;
constexpr int32_t kBubbleTipWidth = 30;
constexpr int32_t kBubbleInset = 2;
// The tool tip box: margins around its text, and its gap from the cell.
constexpr int32_t kToolTipWidthMargin = 8, kToolTipHeightMargin = 5, kToolTipGap = 30;
constexpr int32_t kToolTipInsetX = 4, kToolTipInsetY = 2;
constexpr int32_t kToolTipTextMargin = 6, kToolTipNameMargin = 36;

const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 kToolTipBack{0.0f, 0.0f, 0.0f, 0.8f};
const glm::vec4 kDefaultSilhouette{0.1f, 0.1f, 0.2f, 1.0f};
const glm::vec4 kDefaultLines{0.8f, 0.8f, 0.9f, 1.0f};
const glm::vec4 kDefaultNodes{0.9f, 0.9f, 1.0f, 1.0f};

struct InteriorColours {
    glm::vec4 silhouette = kDefaultSilhouette;
    glm::vec4 lines = kDefaultLines;
    glm::vec4 nodes = kDefaultNodes;
};

struct QueuedBubble {
    std::string text;
    std::string colour;
    int32_t x, y;
};

struct ToolTip {
    std::string text;   // lines broken by '^'
    int32_t width = 0;  // pixels, the widest line's
};

// One drawing of the view: where the grid lands in the target, and what the
// pointer is over.
struct GridFrame {
    const InteriorViewState& view;
    HullPathSet& grid;
    QelBitmapFont* font;
    float originX, originY;  // the hull's centre in the target
    int32_t pitch = 0;       // pixels between neighbouring cells
    int32_t hoverColumn = -1, hoverRow = -1;
    int32_t hoverX = 0, hoverY = 0;  // the hovered cell in the target

    // The cell's centre in the target; the cell may lie anywhere.
    IntPoint CellPoint(int32_t column, int32_t row) const
    {
        int32_t x = 0, y = 0;
        grid.CellToWorld(column, row, x, y, view.zoom);
        return {static_cast<int32_t>(static_cast<float>(x) + originX),
                static_cast<int32_t>(static_cast<float>(y) + originY)};
    }
    bool Inside(int32_t column, int32_t row) const
    {
        return column >= 0 && row >= 0 && column < grid.BuiltColumns() && row < grid.BuiltRows();
    }
};

int32_t TextWidth(QelBitmapFont* font, const std::string& text)
{
    return font ? font->GetTextWidth(text) : 0;
}

InteriorColours ColoursOf(const SpaceObject* ship)
{
    InteriorColours colours;
    if (!ship)
        return colours;
    ParseColor(colours.silhouette, ReadString(ship->data_set, playership::kInternalColorShipSillouette));
    ParseColor(colours.lines, ReadString(ship->data_set, playership::kInternalColorShipLines));
    ParseColor(colours.nodes, ReadString(ship->data_set, playership::kInternalColorShipNodes));
    return colours;
}

// --- The widget's steps ------------------------------------------------------

// From the second expiry of the world on, the view asks for the grid each
// time its timer runs out.
void RequestGridWhenDue(InteriorViewState& view)
{
    if (!view.gridRequestTimer.IsExpired())
        return;
    if (++view.gridRequestExpiries > 1)
        SendSignal(GridRequestSignal{0});
    ArmTimerTicksFromNow(view.gridRequestTimer, kGridRequestTicks);
}

// Zoom and drag while the pointer is over the view; true when the left
// button came up over it without having dragged the view.
bool HandleMouse(InteriorViewState& view, const IntRect& rect, int32_t x, int32_t y)
{
    QelMouse* mouse = gInputFactory ? gInputFactory->GetMouse() : nullptr;
    if (!mouse)
        return false;
    bool clicked = false;
    if (rect.Contains(x, y)) {
        clicked = mouse->WasReleased(kLeftButton);
        const int32_t wheel = mouse->GetWheel();
        mouse->SetWheel(0);
        if (wheel != 0)
            view.zoom = std::clamp(view.zoom + kZoomPerWheelUnit * static_cast<float>(wheel),
                                   InteriorViewState::kMinZoom, InteriorViewState::kMaxZoom);
        if (mouse->IsDown(kLeftButton)) {
            if (!view.dragging) {
                view.dragging = true;
                view.dragMouseX = x;
                view.dragMouseY = y;
                view.dragPanX = static_cast<int32_t>(view.panX);
                view.dragPanY = static_cast<int32_t>(view.panY);
            }
            view.panX = static_cast<float>(x + view.dragPanX - view.dragMouseX);
            view.panY = static_cast<float>(y + view.dragPanY - view.dragMouseY);
        }
    }
    if (!mouse->IsDown(kLeftButton)) {
        const float moved = std::abs(view.panY - static_cast<float>(view.dragPanY)) +
                            std::abs(view.panX - static_cast<float>(view.dragPanX));
        if (view.dragging && moved > static_cast<float>(kDragNotClick))
            clicked = false;
        view.dragging = false;
    }
    return clicked;
}

void DrawResetButton(UIContext& ui, InteriorViewState& view, const IntRect& rect)
{
    const float x = std::trunc(static_cast<float>(rect.right) - kResetOffset);
    const float y = std::trunc(static_cast<float>(rect.bottom) - kResetOffset);
    if (!uiIconButton(ui, kResetButtonId, kResetIcon, kWhite, x, y, kResetHalfSize, kResetLayer, kResetScale))
        return;
    view.panX = view.panY = 0.0f;
    view.zoom = 1.0f;
}

// --- Drawing the grid ----------------------------------------------------------

void DrawHull(ObjectTypeDrawData* drawData, const GridFrame& frame, const glm::vec4& colour)
{
    if (!drawData || !drawData->largeSilhouette)
        return;
    drawData->largeSilhouette->DrawRotated(frame.originX, frame.originY, kHullAngle, frame.view.zoom,
                                           kHullLayer, &colour[0], false);
}

// Nodes and the corridors to their right and lower neighbours; the open cell
// nearest the pointer (first in row order on a tie) becomes the hover cell.
void DrawCells(UIContext& ui, GridFrame& frame, int32_t mouseX, int32_t mouseY, const InteriorColours& colours)
{
    HullPathSet& grid = frame.grid;
    Qel2dBitmap* white = ui.White();
    int32_t best = kHoverReach;
    for (int32_t row = 0; row < grid.BuiltRows(); ++row) {
        for (int32_t column = 0; column < grid.BuiltColumns(); ++column) {
            if (!grid.IsGridPointOpen(column, row))
                continue;
            int32_t gx = 0, gy = 0, nx = 0, ny = 0;
            grid.CellToWorld(column, row, gx, gy, frame.view.zoom);
            grid.CellToWorld(column + 1, row + 1, nx, ny, frame.view.zoom);
            frame.pitch = nx - gx;
            const IntPoint p = frame.CellPoint(column, row);
            const int32_t distance = std::abs(mouseY - gy) + std::abs(mouseX - gx);
            if (distance < best) {
                best = distance;
                frame.hoverColumn = column;
                frame.hoverRow = row;
                frame.hoverX = p.x;
                frame.hoverY = p.y;
            }
            if (white) {
                const float side = std::max(kMinNodePixels, kNodeShare * static_cast<float>(std::abs(frame.pitch)));
                white->DrawRotated(static_cast<float>(p.x), static_cast<float>(p.y), kNodeAngle,
                                   side / static_cast<float>(std::max(1, white->GetWidth())), kGridLayer,
                                   &colours.nodes[0], false);
            }
            const float px = static_cast<float>(p.x), py = static_cast<float>(p.y);
            if (grid.IsGridPointOpen(column + 1, row))
                ui.DrawLine(px, py, static_cast<float>(frame.CellPoint(column + 1, row).x), py, colours.lines,
                                      kGridLayer);
            if (grid.IsGridPointOpen(column, row + 1))
                ui.DrawLine(px, py, px, static_cast<float>(frame.CellPoint(column, row + 1).y), colours.lines,
                                      kGridLayer);
        }
    }
}

// The grid objects the filter lets show, each between the cell it left and
// the one it walks to; objects of the hovered cell join the tool tip.
void DrawGridObjects(UIContext& ui, const GridFrame& frame, std::vector<QueuedBubble>& bubbles, ToolTip& tip)
{
    const InteriorViewState& view = frame.view;
    for (const auto& owned : frame.grid.Objects()) {
        const GridObject& object = *owned;
        if (!GridObjectTypeShown(object.type))
            continue;
        const ObjectDataBlob& data = object.data_set;
        const int32_t curX = static_cast<int32_t>(ReadInt(data, gridobject::kCurX));
        const int32_t curY = static_cast<int32_t>(ReadInt(data, gridobject::kCurY));
        const int32_t lastX = static_cast<int32_t>(ReadInt(data, gridobject::kLastX));
        const int32_t lastY = static_cast<int32_t>(ReadInt(data, gridobject::kLastY));
        if (!frame.Inside(curX, curY) || !frame.Inside(lastX, lastY))
            continue;
        const float p = std::clamp(ReadFiniteFloat(data, gridobject::kPercent), 0.0f, 1.0f);
        const IntPoint to = frame.CellPoint(curX, curY);
        const IntPoint from = frame.CellPoint(lastX, lastY);
        const int32_t x = static_cast<int32_t>((1.0f - p) * static_cast<float>(from.x) + p * static_cast<float>(to.x));
        const int32_t y = static_cast<int32_t>((1.0f - p) * static_cast<float>(from.y) + p * static_cast<float>(to.y));
        const float half = static_cast<float>(frame.pitch) * ReadFiniteFloat(data, gridobject::kIconScale) * 0.5f;
        DrawGridObjectIcon(ui, object, static_cast<float>(x), static_cast<float>(y), half, kIconLayer + object.layer);

        const std::string bubble = ReadString(data, gridobject::kSpeechBubbleText);
        if (!bubble.empty())
            bubbles.push_back({bubble, ReadString(data, gridobject::kSpeechBubbleTextColor), x, y});

        if (curX != view.hoverColumn || curY != view.hoverRow)
            continue;
        tip.text += "^   " + object.name;
        const std::string line = ReadString(data, gridobject::kToolTipCurText);
        if (!line.empty()) {
            tip.text += "^" + line;
            tip.width = std::max(tip.width, TextWidth(frame.font, line) + kToolTipTextMargin);
        }
        tip.width = std::max(tip.width, TextWidth(frame.font, object.name) + kToolTipNameMargin);
    }
}

void DrawSpeechBubbles(UIContext& ui, const GridFrame& frame, const std::vector<QueuedBubble>& bubbles)
{
    for (const QueuedBubble& bubble : bubbles) {
        const glm::vec4 colour = ParsedColor(bubble.colour);
        const int32_t width = TextWidth(frame.font, bubble.text);
        const IntRect box{bubble.x + kBubbleLeft, bubble.y - kBubbleTop, bubble.x + width + kBubblePadding,
                          bubble.y - kBubbleBottom};
        ui.FillRect(static_cast<float>(box.left), static_cast<float>(box.top), static_cast<float>(box.right),
                              static_cast<float>(box.bottom), colour, kBubbleLayer);
        ui.FillTriangle(static_cast<float>(box.left), static_cast<float>(box.top),
                                  static_cast<float>(box.left + kBubbleTipWidth), static_cast<float>(box.top),
                                  static_cast<float>(bubble.x), static_cast<float>(bubble.y), colour, kBubbleLayer);
        const IntRect inner{box.left + kBubbleInset, box.top + kBubbleInset, box.right - kBubbleInset,
                            box.bottom - kBubbleInset};
        ui.DrawText(frame.font, inner, bubble.text, kWhite, kBubbleTextLayer);
    }
}

// The mark on the hovered cell and the tool tip beside it, below the cell in
// the upper half of the window and above it in the lower half; the box is as
// high as its text laid out, so no line spills out.
void DrawHover(UIContext& ui, const GridFrame& frame, const SpaceObject* ship, const ToolTip& tip)
{
    const int64_t chosen = ship ? ReadInt(ship->data_set, playership::kGridSelectionIconIndex) : 0;
    const int icon = chosen != 0 ? static_cast<int>(chosen) : kDefaultSelectionIcon;
    uiGridIcon(ui, icon, ui.mainColour, static_cast<float>(frame.hoverX), static_cast<float>(frame.hoverY),
               static_cast<float>(frame.pitch), kIconLayer);

    const int32_t width = tip.width + kToolTipWidthMargin;
    const int32_t height = (frame.font ? frame.font->LayoutText(tip.text, tip.width) : 0) + kToolTipHeightMargin;
    const int32_t top = frame.hoverY > ui.WindowHeight() / 2 ? frame.hoverY - kToolTipGap - height
                                                                       : frame.hoverY + kToolTipGap;
    const IntRect box{frame.hoverX, top, frame.hoverX + width, top + height};
    ui.FillRect(static_cast<float>(box.left), static_cast<float>(box.top), static_cast<float>(box.right),
                          static_cast<float>(box.bottom), kToolTipBack, kToolTipLayer);
    const IntRect inner{box.left + kToolTipInsetX, box.top + kToolTipInsetY, box.right - kToolTipInsetX,
                        box.bottom - kToolTipInsetY};
    ui.DrawText(frame.font, inner, tip.text, kWhite, kToolTipTextLayer);
}

// The cell is the mission's to act on: the server raises
// "grid_point_selection" for it (the host's own view reaches it through its
// loopback as client 0).
void ReportCellClicked(const GridFrame& frame, const std::string& consoleName, const std::string& widgetName)
{
    PlayGUISound(kClickSound);
    SendSignal(GridPointSelectionSignal{frame.grid.shipId, frame.hoverColumn, frame.hoverRow, consoleName, widgetName});
}

// The middle of the target, as large as the rectangle allows, centred in it.
void CopyToRect(Qel2dBitmap& target, const IntRect& rect)
{
    const int32_t tw = target.GetWidth(), th = target.GetHeight();
    const int32_t hw = std::min(rect.Width() / 2, tw / 2);
    const int32_t hh = std::min(rect.Height() / 2, th / 2);
    if (hw <= 0 || hh <= 0)
        return;
    const IntPoint centre = rect.Center();
    target.SetSourceRectInt(QelRect{tw / 2 - hw, th / 2 - hh, tw / 2 + hw, th / 2 + hh});
    target.SetDestRectInt(QelRect{centre.x - hw, centre.y - hh, centre.x + hw, centre.y + hh});
    target.DrawQuad(&kWhite[0], kViewLayer, false);
}

}  // namespace

HullPathSet* InteriorGridShown(const InteriorViewState& view)
{
    return view.shipShown != 0 ? FindHullPathSet(view.shipShown) : nullptr;
}

void DrawGridObjectIcon(UIContext& ui, const GridObject& object, float x, float y, float halfSize, int layer)
{
    uiGridIcon(ui, static_cast<int>(ReadInt(object.data_set, gridobject::kIconIndex)),
               ParsedColor(ReadString(object.data_set, gridobject::kIconColor)), x, y, halfSize, layer);
}

bool GridObjectTypeShown(const std::string& type)
{
    const std::vector<GridTypeFilter>* filter = theSimulation ? &theSimulation->gridObjectFilter : nullptr;
    if (!filter || filter->empty())
        return true;
    return std::any_of(filter->begin(), filter->end(),
                       [&](const GridTypeFilter& entry) { return entry.enabled && entry.type == type; });
}

void ViewShipInternalViewDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    InteriorViewState& view = console.interiorView;
    view.shipShown = 0;
    SpaceObject* ship = ConsolePlayerShip();
    if (!ship)
        return;
    RequestGridWhenDue(view);
    HullPathSet* grid = GetHullPathSet(ship->uniqueID, false);
    RenderManager* renderer = console.renderer;
    if (!grid || !renderer || !renderer->radarTarget)
        return;
    ObjectTypeDrawData* drawData = renderer->GetObjectTypeDrawData(LowerCaseAscii(ship->data_tag));
    view.shipShown = ship->uniqueID;
    if (view.centreX == 0.0f && view.centreY == 0.0f) {
        view.centreX = static_cast<float>(renderer->radarTarget->GetWidth() / 2);
        view.centreY = static_cast<float>(renderer->radarTarget->GetHeight() / 2);
    }
    int32_t x = 0, y = 0;
    const bool clicked = ui.MousePosition(x, y) && HandleMouse(view, rect, x, y);
    DrawShipInteriorGrid(ui, renderer->radarTarget, view, console.consoleName, rect, ship, *grid, drawData, widgetName,
                         x, y, clicked);
    DrawResetButton(ui, view, rect);
}

void DrawShipInteriorGrid(UIContext& ui, Qel2dBitmap* target, InteriorViewState& view, const std::string& consoleName,
                          const IntRect& rect, SpaceObject* ship, HullPathSet& grid, ObjectTypeDrawData* drawData,
                          const std::string& widgetName, int32_t mouseX, int32_t mouseY, bool clicked)
{
    if (!target || !gGraphicsFactory)
        return;
    const InteriorColours colours = ColoursOf(ship);

    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    gGraphicsFactory->Flush2D();
    target->SetAsRenderTarget(true, true, clear);
    gGraphicsFactory->Flush2DAndClearDepth(target);

    GridFrame frame{view, grid, ui.GetFont(kFont), view.centreX + view.panX, view.centreY + view.panY};
    DrawHull(drawData, frame, colours.silhouette);
    const IntPoint centre = rect.Center();
    const int32_t mx = static_cast<int32_t>(static_cast<float>(mouseX - centre.x) - view.panX);
    const int32_t my = static_cast<int32_t>(static_cast<float>(mouseY - centre.y) - view.panY);
    ToolTip tip;
    tip.text = std::to_string(view.hoverColumn) + "," + std::to_string(view.hoverRow);
    tip.width = TextWidth(frame.font, tip.text) + kToolTipTextMargin;
    DrawCells(ui, frame, mx, my, colours);
    std::vector<QueuedBubble> bubbles;
    DrawGridObjects(ui, frame, bubbles, tip);
    DrawSpeechBubbles(ui, frame, bubbles);
    if (frame.hoverColumn >= 0) {
        DrawHover(ui, frame, ship, tip);
        if (clicked)
            ReportCellClicked(frame, consoleName, widgetName);
    }
    view.hoverColumn = frame.hoverColumn;
    view.hoverRow = frame.hoverRow;

    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    gGraphicsFactory->Flush2D();
    gGraphicsFactory->Flush2DAndClearDepth(target);
    target->SetAsRenderTarget(false, false, black);
    CopyToRect(*target, rect);
}
