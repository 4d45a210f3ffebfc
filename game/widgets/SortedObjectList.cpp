#include "game/widgets/SortedObjectList.h"

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/ui/GUISound.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ScienceConsoleState.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"
#include "helper/ColorParse.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using namespace playership;
using namespace shipkeys;

// Control ids count up from here in drawing order: the tabs, the slider, then
// two per drawn row (favourite toggle, row button).
constexpr int32_t kFirstControlId = 5000;
constexpr int kLayer = 1000;
constexpr int kNotesLayer = 1001;
// The scroll slider's strip along the right edge, pixels.
constexpr int32_t kSliderWidth = 40;
// Tabs are as wide as their label plus this, pixels.
constexpr int32_t kTabPadding = 50;
// Visible rows are counted in steps of the row height plus this, so the
// bottom of the scroll range leaves a little room under the last row.
constexpr int32_t kRowStepSlack = 6;
// Icons of the icon sheet: a filled star for a favourite, a hollow one else.
constexpr int kFavouriteIcon = 121;
constexpr int kNotFavouriteIcon = 100;
// The scan bar sits this far inside the row button.
constexpr int32_t kScanBarInset = 10;
// A row's texts keep this far inside it, and the label this far from the notes.
constexpr int32_t kRowTextInset = 3;
constexpr int32_t kNotesGap = 6;
constexpr int kAlignLeft = 0;
constexpr int kAlignRight = 1;

constexpr const char* kFont = "gui-1";
constexpr const char* kNoShipText = "Scan network not detected.  Check that you are aboard a ship.";
constexpr const char* kSelectionSource = "space_object_list";
constexpr const char* kInvisibleTag = "invisible";
constexpr std::array<const char*, 4> kActiveClasses = {"behav_playership", "behav_npcship", "behav_station",
                                                       "behav_monster"};

enum class Move { None, Up, Down };

int32_t RowHeight()
{
    return AppData::GetInt("object-sorted-list-button-h");
}

// The tabs in their order: the two fixed ones, the sides, the origins.
std::vector<FilterTag*> FilterTabs()
{
    std::vector<FilterTag*> tabs = {&theSimulation->activeFilter, &theSimulation->favoriteFilter};
    for (FilterTag& side : theSimulation->firstFilterTags)
        tabs.push_back(&side);
    for (FilterTag& origin : theSimulation->secondFilterTags)
        tabs.push_back(&origin);
    return tabs;
}

// Whether some enabled entry of the group exists, and whether one names the value.
struct GroupMatch {
    bool anyEnabled = false;
    bool named = false;
};

GroupMatch MatchGroup(const std::vector<FilterTag>& group, const std::string& value, bool canMatch)
{
    GroupMatch match;
    for (const FilterTag& entry : group) {
        if (!entry.selected)
            continue;
        match.anyEnabled = true;
        match.named = match.named || (canMatch && entry.tag == value);
    }
    return match;
}

bool IsActiveClass(const std::string& behaviour)
{
    return std::find(kActiveClasses.begin(), kActiveClasses.end(), behaviour) != kActiveClasses.end();
}

void SelectFromList(SharedConsoleState& console, uint64_t objectId, const std::string& targetKey)
{
    SelectConsoleObject(console, objectId, glm::vec3(0.0f), targetKey, kSelectionSource);
    console.currentScienceScanType = kInitialScanType;
    PlayGUISound("gui_tab");
}

Move ReadSelectionKeys(const std::string& widgetName)
{
    Move move = Move::None;
    if (isHotKeyPressed(widgetName, "___object_list_select_up", qel::vk::kPrior,
                        "moves the selection in the object list higher"))
        move = Move::Up;
    if (isHotKeyPressed(widgetName, "___object_list_select_dn", qel::vk::kNext,
                        "moves the selection in the object list lower"))
        move = Move::Down;
    if (move != Move::None)
        PlayGUISound("gui_tab");
    return move;
}

// Lays the tabs out in rows from the rect's top-left; answers the bottom of
// the last row.
int32_t DrawFilterTabs(UIContext& ui, SortedListState& state, const IntRect& rect, int32_t rowHeight, int32_t& nextId)
{
    QelBitmapFont* font = ui.GetFont(kFont);
    std::vector<FilterTag*> tabs = FilterTabs();
    int32_t x = rect.left;
    int32_t top = rect.top;
    for (size_t i = 0; i < tabs.size(); ++i) {
        FilterTag& tab = *tabs[i];
        const std::string label = tab.display + (tab.fromSecondTags ? "-o" : "");
        const int32_t width = (font ? font->GetTextWidth(label) : 0) + kTabPadding;
        // A tab wider than the whole list keeps the row it starts, rather
        // than leaving an empty row above it.
        if (x > rect.left && x + width > rect.right) {
            x = rect.left;
            top += rowHeight + 1;
        }
        ui.SetCurrentRectEdges(x, top, x + width, top + rowHeight);
        if (uiCheckButton(ui, nextId++, label, kFont, tab.selected, true, kLayer)) {
            PlayGUISound("gui_tab");
            tab.selected = !tab.selected;
            state.currentFilter = static_cast<int32_t>(i);
        }
        x += width;
    }
    return top + rowHeight;
}

// Home and End walk one enabled tab along the list; before the first, none.
void ReadFilterKeys(SortedListState& state, const std::string& widgetName)
{
    int32_t step = 0;
    if (isHotKeyPressed(widgetName, "___object_list_filter_prev", qel::vk::kHome,
                        "selects previous filter in the object list"))
        step = -1;
    if (isHotKeyPressed(widgetName, "___object_list_filter_next", qel::vk::kEnd,
                        "selects next filter in the object list"))
        step = 1;
    if (step == 0)
        return;
    PlayGUISound("gui_tab");
    std::vector<FilterTag*> tabs = FilterTabs();
    state.currentFilter = std::clamp(state.currentFilter + step, -1, static_cast<int32_t>(tabs.size()) - 1);
    for (size_t i = 0; i < tabs.size(); ++i)
        tabs[i]->selected = static_cast<int32_t>(i) == state.currentFilter;
}

// "name (hull side)", the ship record's tag when the hull side is not known,
// "unknown" for a ship the player's side has not scanned.
std::string RowLabel(const SpaceObject& object, bool unscanned)
{
    if (unscanned)
        return "unknown";
    const std::string hullSide = ReadString(object.data_set, kHullSide);
    if (hullSide.empty())
        return object.data_tag;
    return ReadString(object.data_set, kNameTag) + " (" + hullSide + ")";
}

// Which consoles target the object, and where it stands in the queue of scans.
std::string TargetNotes(ConsoleState& console, const SpaceObject& ship, const SpaceObject& object)
{
    std::string notes;
    const std::array<std::pair<const DataKey*, const char*>, 3> targets = {{
        {&kWeaponTargetUid, "<wep"}, {&kScienceTargetUid, "<sci"}, {&kCommsTargetUid, "<com"}}};
    for (const auto& [key, note] : targets)
        if (ReadUInt64(ship.data_set, *key) == object.uniqueID)
            notes += note;
    const std::vector<ScanQueueEntry>& scans = PendingScienceScans(console);
    for (size_t k = scans.size(); k-- > 0;)
        if (scans[k].objectId == object.uniqueID)
            notes = (k > 0 ? std::to_string(k) + " " : std::string("scanning ")) + notes;
    return notes;
}

glm::vec4 ScanBarColour()
{
    glm::vec4 colour;
    ParseColor(colour, AppData::GetString("gui-color-science-reticle"));
    return colour;
}

// The row's label from its left end and the notes at its right end, the
// label narrowed to leave the notes their room.
void DrawRowTexts(UIContext& ui, const IntRect& button, const std::string& label, const std::string& notes)
{
    QelBitmapFont* font = ui.GetFont(kFont);
    if (!font)
        return;
    const IntRect inside{button.left + kRowTextInset, button.top + kRowTextInset, button.right - kRowTextInset,
                         button.bottom - kRowTextInset};
    IntRect labelBox = inside;
    if (!notes.empty()) {
        const IntRect noteInk = ui.TextInk(font, inside, notes, kAlignRight, TextFlow::kOneLine);
        ui.DrawText(font, inside, notes, ui.mainColour, kNotesLayer, kAlignRight, TextFlow::kOneLine);
        labelBox.right = noteInk.left - kNotesGap;
    }
    ui.DrawText(font, labelBox, label, ui.mainColour, kNotesLayer, kAlignLeft, TextFlow::kOneLine);
}

struct ListPass {
    ConsoleState* console = nullptr;  // whose selection the list makes
    const SpaceObject* ship = nullptr;
    std::string targetKey;
    uint64_t target = 0;    // the ship's value of the target key
    float scanPercent = 0;  // "cur_scan_percent"
    uint64_t scanId = 0;    // "cur_scan_ID"
    Move move = Move::None;
    IntRect area;           // the rows' area
    int32_t rowHeight = 0;
    int32_t nextId = 0;
    const SpaceObject* first = nullptr;
    const SpaceObject* previous = nullptr;
};

void DrawRow(UIContext& ui, SortedListState& state, ListPass& pass, const SpaceObject& object, const std::string& label,
             int32_t y)
{
    const int32_t h = pass.rowHeight;
    const int32_t toggleRight = pass.area.right - kSliderWidth - 1;
    const int32_t toggleLeft = toggleRight - (h + 1);
    const bool favourite = state.favourites.count(object.uniqueID) != 0;
    const float halfSize = static_cast<float>((h + 1) / 2);
    if (uiIconButton(ui, pass.nextId++, favourite ? kFavouriteIcon : kNotFavouriteIcon, ui.mainColour,
                     static_cast<float>(toggleLeft + toggleRight) / 2.0f, static_cast<float>(y) + (h + 1) / 2.0f,
                     halfSize, kLayer, 1.0f)) {
        PlayGUISound("gui_list_select");
        if (favourite)
            state.favourites.erase(object.uniqueID);
        else
            state.favourites.insert(object.uniqueID);
    }

    const IntRect button{pass.area.left, y, toggleLeft - 2, y + h + 1};
    ui.SetCurrentRect(button);
    if (uiButton(ui, pass.nextId++, "", kFont, true, kLayer))
        SelectFromList(*pass.console, object.uniqueID, pass.targetKey);
    DrawRowTexts(ui, button, label, TargetNotes(*pass.console, *pass.ship, object));

    const float p = pass.scanPercent;
    if (p > 0.0f && p < 1.0f && pass.scanId == object.uniqueID) {
        const float left = static_cast<float>(button.left + kScanBarInset);
        const float width = static_cast<float>(button.right - button.left - 2 * kScanBarInset);
        ui.FillRect(left, static_cast<float>(button.bottom - 5), left + width * p,
                    static_cast<float>(button.bottom - 2), ScanBarColour(), kNotesLayer);
    }
}

// A selection key moves the target to the row above or below it.
void MoveSelection(ListPass& pass, const SpaceObject& object)
{
    if (pass.move == Move::Up && object.uniqueID == pass.target && pass.previous) {
        SelectFromList(*pass.console, pass.previous->uniqueID, pass.targetKey);
        pass.move = Move::None;
    } else if (pass.move == Move::Down && pass.previous && pass.previous->uniqueID == pass.target) {
        SelectFromList(*pass.console, object.uniqueID, pass.targetKey);
        pass.move = Move::None;
    }
}

void DrawRows(UIContext& ui, SortedListState& state, ListPass& pass)
{
    const int32_t h = pass.rowHeight;
    const int32_t visibleRows = (pass.area.bottom - pass.area.top) / (h + kRowStepSlack);
    // With fewer rows than fit, the list never scrolls off its top.
    const int32_t hiddenRows = std::max(0, state.rowCount - visibleRows);
    int32_t y = static_cast<int32_t>(std::trunc(static_cast<float>(pass.area.top) -
                                                static_cast<float>((h + 1) * hiddenRows) * (1.0f - state.scroll)));
    state.rowCount = 0;
    const std::string& playerSide = pass.ship->side;
    for (SuperContainerObject* entry : theSimulation->Container()->Objects()) {
        const SpaceObject& object = *static_cast<const SpaceObject*>(entry);
        const std::string origin = ReadString(object.data_set, kHullOrigin);
        const bool unscanned =
            object.tick_type == "behav_npcship" && ScanTextOf(object, kInitialScanType, playerSide).empty();
        theSimulation->AddListFilterTags(object.side, origin);
        if (!SortedObjectListFilters(state, object, object.side, origin, unscanned) || object.data_tag == kInvisibleTag)
            continue;
        if (!pass.first)
            pass.first = &object;
        ++state.rowCount;
        if (y >= pass.area.top && y + h + 1 <= pass.area.bottom)
            DrawRow(ui, state, pass, object, RowLabel(object, unscanned), y);
        MoveSelection(pass, object);
        pass.previous = &object;
        y += h + 1;
    }
    // Up with no listed target goes to the top, down to the bottom.
    if (pass.move == Move::Down && pass.previous)
        SelectFromList(*pass.console, pass.previous->uniqueID, pass.targetKey);
    else if (pass.move == Move::Up && pass.first)
        SelectFromList(*pass.console, pass.first->uniqueID, pass.targetKey);
}

}  // namespace

void DrawSortedObjectList(ConsoleState& console, const IntRect& rect, const std::string& widgetName,
                          const std::string& targetKey)
{
    UIContext& ui = console.UI();
    SortedListState& state = console.sortedList;
    ListPass pass;
    pass.console = &console;
    pass.rowHeight = RowHeight();
    pass.nextId = kFirstControlId;
    pass.ship = ConsolePlayerShip();
    if (!pass.ship || !theSimulation->Container()) {
        ui.DrawText(ui.GetFont(kFont), rect, kNoShipText, ui.mainColour, kLayer, 2);
        return;
    }
    pass.targetKey = targetKey;
    pass.target = ReadUInt64(pass.ship->data_set, DataKey{targetKey, kPlayDoc});
    pass.scanPercent = ReadFiniteFloat(pass.ship->data_set, kCurScanPercent);
    pass.scanId = ReadUInt64(pass.ship->data_set, kCurScanId);
    pass.move = ReadSelectionKeys(widgetName);

    const int32_t tabsBottom = DrawFilterTabs(ui, state, rect, pass.rowHeight, pass.nextId);
    ReadFilterKeys(state, widgetName);

    pass.area = IntRect{rect.left, tabsBottom + 1, rect.right, rect.bottom};
    ui.SetCurrentRectEdges(rect.right - kSliderWidth, pass.area.top, rect.right, rect.bottom);
    uiSlider(ui, pass.nextId++, 0.0f, 1.0f, state.scroll, kLayer, "");
    DrawRows(ui, state, pass);
}

bool SortedObjectListFilters(const SortedListState& state, const SpaceObject& object, const std::string& side,
                             const std::string& origin, bool unscanned)
{
    const GroupMatch sides = MatchGroup(theSimulation->firstFilterTags, side, true);
    if (sides.anyEnabled && !sides.named)
        return false;
    const GroupMatch origins = MatchGroup(theSimulation->secondFilterTags, origin, !unscanned);
    if (origins.anyEnabled && !origins.named)
        return false;
    if (theSimulation->favoriteFilter.selected && state.favourites.count(object.uniqueID) == 0)
        return false;
    return !theSimulation->activeFilter.selected || IsActiveClass(object.tick_type);
}
