#include "game/widgets/GridWidgets.h"

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelMouse.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/net/WorldLookup.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/ShipInternalView.h"
#include "game/world/HullPathSets.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kLayer = UIContext::kControlLayer;
constexpr const char* kSmallFont = "gui-1";
constexpr const char* kLargeFont = "gui-2";
const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};

// --- The list ------------------------------------------------------------------

constexpr const char* kNoScanNetwork = "Scan network not detected.  Check that you are aboard a ship.";
constexpr const char* kSelectSound = "gui_list_select";
constexpr const char* kNoFaceHint = "Select a crew member or system";
// The type the mission gives objects that are never listed.
constexpr const char* kHiddenType = "#";
constexpr int32_t kFirstListId = 8000;
constexpr int32_t kRowHeight = 25;
// A filter button is its label and room for the tick box.
constexpr int32_t kFilterPadding = 50;
// Rows leave the icon column at the left and the scroll bar at the right.
constexpr int32_t kRowLeftInset = 34;
constexpr int32_t kRowRightInset = 27;
constexpr int32_t kScrollBarWidth = 26;
constexpr int32_t kIconOffset = 26;
constexpr float kIconHalfSize = 11.0f;
constexpr int kIconLayer = 1010;
// The chosen row's mark, left of the row.
constexpr int32_t kMarkLeft = 13, kMarkRight = 8;
// The proposal goes to the server once the clicks have settled this long.
constexpr uint32_t kProposeDelayMs = 100;

GridTypeFilter* FindFilter(std::vector<GridTypeFilter>& filter, const std::string& type)
{
    const auto found =
        std::find_if(filter.begin(), filter.end(), [&](const GridTypeFilter& entry) { return entry.type == type; });
    return found == filter.end() ? nullptr : &*found;
}

void ScrollWithWheel(UIContext& ui, GridObjectListState& list, const IntRect& rect)
{
    QelMouse* mouse = gInputFactory ? gInputFactory->GetMouse() : nullptr;
    if (!mouse || !uiHitTest(ui, rect.left, rect.top, rect.right, rect.bottom))
        return;
    const int32_t wheel = mouse->GetWheel();
    mouse->SetWheel(0);
    if (wheel != 0)
        list.scroll = std::clamp(list.scroll + static_cast<float>(wheel), 0.0f, GridObjectListState::kScrollTop);
}

// One tick box per type, flowing into new rows as the width fills; the
// bottom of the last row.
int32_t DrawTypeFilters(UIContext& ui, const IntRect& rect, int32_t& id)
{
    std::vector<GridTypeFilter>& filter = theSimulation->gridObjectFilter;
    QelBitmapFont* font = ui.GetFont(kSmallFont);
    int32_t x = rect.left;
    int32_t top = rect.top;
    for (GridTypeFilter& entry : filter) {
        if (entry.type == kHiddenType)
            continue;
        const int32_t width = (font ? font->GetTextWidth(entry.type) : 0) + kFilterPadding;
        if (width > rect.right - x) {
            x = rect.left;
            top += kRowHeight;
        }
        ui.SetCurrentRect(IntRect{x, top, x + width, top + kRowHeight - 1});
        if (uiCheckButton(ui, id++, entry.type, kSmallFont, entry.enabled, true, kLayer))
            entry.enabled = !entry.enabled;
        x += width;
    }
    return filter.empty() ? rect.top : top + kRowHeight;
}

// Lists the objects from the scroll position down while rows fit; types met
// for the first time join the filter, enabled.
void DrawRows(UIContext& ui, GridObjectListState& list, const IntRect& area, const HullPathSet& grid, int32_t& id)
{
    std::vector<GridTypeFilter>& filter = theSimulation->gridObjectFilter;
    const int32_t count = grid.GetGridObjectCount();
    const int32_t visible = (area.bottom - area.top) / kRowHeight;
    const float fromEnd = 1.0f - list.scroll / GridObjectListState::kScrollTop;
    const int32_t first = std::max(0, static_cast<int32_t>(static_cast<float>(count - visible + 1) * fromEnd));
    int32_t top = area.top;
    for (int32_t index = first; index < count; ++index) {
        const GridObject& object = *grid.GetGridObjectByIndex(index);
        if (!object.type.empty() && !FindFilter(filter, object.type))
            filter.push_back({object.type, true});
        const GridTypeFilter* entry = FindFilter(filter, object.type);
        if (object.type == kHiddenType || !entry || !entry->enabled || top + kRowHeight >= area.bottom)
            continue;
        const IntRect row{area.left + kRowLeftInset, top, area.right - kRowRightInset, top + kRowHeight};
        ui.SetCurrentRect(row);
        if (uiButton(ui, id++, object.name, kSmallFont, true, kLayer)) {
            PlayGUISound(kSelectSound);
            list.selection.Click(object.unique_ID, InputClockMilliseconds());
        }
        DrawGridObjectIcon(ui, object, static_cast<float>(row.left - kIconOffset),
                           static_cast<float>(row.top) + kRowHeight / 2.0f, kIconHalfSize, kIconLayer);
        if (object.unique_ID == list.selection.Current())
            ui.FillRect(static_cast<float>(row.left - kMarkLeft), static_cast<float>(row.top),
                                  static_cast<float>(row.left - kMarkRight), static_cast<float>(row.bottom),
                                  ui.mainColour);
        top += kRowHeight;
    }
}

// A proposal whose object has left the grid meanwhile is dropped.
void ProposeSettledSelection(ConsoleState& console, const SpaceObject& ship, const HullPathSet& grid)
{
    ClickTimer& selection = console.gridObjectList.selection;
    if (!selection.Elapsed(kProposeDelayMs, InputClockMilliseconds()) || !grid.GetGridObjectById(selection.Current()))
        return;
    SendSignal(GridObjectSelectionSignal{ship.uniqueID, selection.Current(), console.consoleName,
                                         console.currentWidgetName});
}

// --- The face and the control -------------------------------------------------

// The face's name line; the control's header, then its button rows.
constexpr int32_t kNameHeight = 20;
constexpr int32_t kHeaderHeight = 30;
constexpr int32_t kButtonHeight = 40;
constexpr int32_t kButtonGap = 1;
constexpr int32_t kFirstButtonId = 2000;
constexpr const char* kButtonSound = "gui_comms";
// Buttons 1 to 9 answer their digit; later ones have no key of their own
// until the crew binds one (48 + 17 would be the A key, another's shortcut).
constexpr int32_t kDigitKeyButtons = 9;

}  // namespace

void ViewGridObjectListDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    GridObjectListState& list = console.gridObjectList;
    SpaceObject* ship = FindSpaceObjectById(console.interiorView.shipShown);
    HullPathSet* grid = InteriorGridShown(console.interiorView);
    if (!ship || !grid || !theSimulation) {
        DrawCentredText(ui, kSmallFont, rect, kNoScanNetwork, ui.mainColour, kLayer);
        return;
    }
    ScrollWithWheel(ui, list, rect);
    int32_t id = kFirstListId;
    const int32_t listTop = DrawTypeFilters(ui, rect, id);
    ui.SetCurrentRect(IntRect{rect.right - kScrollBarWidth, listTop, rect.right - 1, rect.bottom});
    uiSlider(ui, id++, 0.0f, GridObjectListState::kScrollTop, list.scroll, kLayer, "");
    list.selection.SetDefault(ReadUInt64(ship->data_set, playership::kGridSelectedUID));
    DrawRows(ui, list, IntRect{rect.left, listTop, rect.right, rect.bottom}, *grid, id);
    ProposeSettledSelection(console, *ship, *grid);
}

void ViewGridFaceDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    SpaceObject* ship = ConsolePlayerShip();
    HullPathSet* grid = ship ? GetHullPathSet(ship->uniqueID, false) : nullptr;
    const GridObject* object = grid ? grid->GetGridObjectById(ReadUInt64(ship->data_set, playership::kGridSelectedUID))
                                    : nullptr;
    if (!object) {
        DrawEmptyHint(ui, rect, kNoFaceHint, kLayer);
        return;
    }
    const ObjectDataBlob& data = object->data_set;
    ui.DrawText(ui.GetFont(kSmallFont), rect, object->name, kWhite, kLayer);

    const int32_t top = rect.top + kNameHeight;
    const int32_t side = std::min(rect.bottom - top, rect.Width()) / 2;
    const std::string face = ReadString(data, gridobject::kFace);
    if (!face.empty() && console.renderer)
        console.renderer->DrawFace(face, rect.left, top, static_cast<float>(side - 1), kWhite, kLayer);

    const IntRect iconArea{rect.left, top + side, rect.left + side, rect.bottom};
    const IntPoint iconCentre = iconArea.Center();
    DrawGridObjectIcon(ui, *object, static_cast<float>(iconCentre.x), static_cast<float>(iconCentre.y),
                       static_cast<float>((side - 1) / 2), kLayer);

    const IntRect textArea{rect.left + side, top, rect.right, rect.bottom};
    ui.DrawText(ui.GetFont(kSmallFont), textArea, ReadString(data, gridobject::kInfoText),
                          ParsedColor(ReadString(data, gridobject::kInfoTextColor)), kLayer);
}

void ViewGridControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    const std::vector<ConsoleInfoEntry>& entries = console.engineeringInfo;
    const SpaceObject* ship = ConsolePlayerShip();
    if (entries.empty() || !ship)
        return;
    const ConsoleInfoEntry& header = entries.front();
    ui.DrawText(ui.GetFont(kLargeFont), rect, header.first, ParsedColor(header.second), kLayer);

    for (size_t i = 1; i < entries.size(); ++i) {
        const ConsoleInfoEntry& entry = entries[i];
        const int32_t number = static_cast<int32_t>(i);
        const int32_t top = rect.top + kHeaderHeight + (number - 1) * (kButtonHeight + kButtonGap);
        ui.SetCurrentRect(IntRect{rect.left, top, rect.right, top + kButtonHeight});
        ui.nextControlColour = entry.second;
        const bool clicked = uiButton(ui, kFirstButtonId + number, entry.first, kLargeFont, true, kLayer);
        const int32_t defaultKey = number <= kDigitKeyButtons ? qel::vk::kDigit0 + number : 0;
        const bool key = isHotKeyPressed(widgetName, "grid_button_" + std::to_string(number), defaultKey,
                                         "clicks this grid button");
        if (clicked || key)
            SendWithSound(kButtonSound, GridButtonSignal{entry.third, ship->uniqueID,
                                                         ReadUInt64(ship->data_set, playership::kGridSelectedUID)});
    }
}
