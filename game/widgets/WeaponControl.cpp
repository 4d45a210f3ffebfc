// The torpedo tubes of the weapons console: a row per tube with its load
// button, load bar and FIRE button, then the choice of the type to load and
// the mark of a weapons target.

#include "game/widgets/WeaponsWidgets.h"

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessageCrew.h"
#include "game/net/WorldLookup.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/TorpedoTypeText.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kLayer = UIContext::kControlLayer;
constexpr int kArtLayer = 998;
constexpr int kTypeNameLayer = 1002;
constexpr const char* kFont = "gui-2";
constexpr const char* kBackground = "torp_background_image";

// Rows: an eighth of the box, never so thin that a button's text is cut.
constexpr int32_t kRowsPerBox = 8;
constexpr int32_t kMinRowHeight = 39;
constexpr int32_t kRowGap = 3;
constexpr int32_t kTubesWithoutShip = 2;
constexpr int32_t kTubeIdBase = 500;
constexpr int32_t kIdsPerTube = 4;
constexpr int32_t kButtonWidth = 106;
constexpr int32_t kBarInset = 107;

constexpr int32_t kTypeListId = 550;
constexpr int32_t kTypeListNarrowing = 50;
constexpr int32_t kTargetIconCell = 112;
constexpr int32_t kTargetIconOffset = 25;
constexpr float kTargetIconHalfSize = 22.0f;
const glm::vec4 kTargetColour{1.0f, 0.0f, 0.0f, 1.0f};
const glm::vec4 kTypeNameColour{0.0f, 0.0f, 0.0f, 1.0f};

// Default keys exist for the tubes and types the keyboard has keys for.
constexpr int32_t kKeyedTubes = 9;
constexpr int32_t kKeyedTypes = 6;
// Every type key's name joins the hot-key file: a list a script made
// endless must not grow it without end.
constexpr size_t kMaxTypeHotKeys = 20;

int32_t LoadKey(int32_t tube)
{
    return tube < kKeyedTubes ? qel::vk::kDigit0 + 1 + tube : 0;
}

int32_t FireKey(int32_t tube)
{
    return tube < kKeyedTubes ? qel::vk::kNumpad0 + 1 + tube : 0;
}

int32_t TypeKey(int32_t position)
{
    return position <= kKeyedTypes ? qel::vk::kF1 + position - 1 : 0;
}

// The art faces the screen corner the box sits in: mirrored so that its
// outer edge lies along the screen's edge. Boxes away from both side edges
// have none.
void DrawBackground(UIContext& ui, const IntRect& rect)
{
    const bool left = rect.left <= 0;
    const bool top = rect.top <= 0;
    const bool right = rect.right >= ui.WindowWidth();
    const bool bottom = rect.bottom >= ui.WindowHeight();
    if (!left && !right)
        return;
    Qel2dBitmap* art = ui.Bitmap(kBackground);
    if (!art)
        return;
    const auto w = static_cast<float>(art->GetWidth());
    const auto h = static_cast<float>(art->GetHeight());
    const auto draw = [&](float sl, float st, float sr, float sb, int32_t l, int32_t r) {
        art->SetSourceRect(sl, st, sr, sb);
        art->SetDestRect(static_cast<float>(l), static_cast<float>(rect.top), static_cast<float>(r),
                         static_cast<float>(rect.bottom));
        art->DrawQuad(&ui.dimColour[0], kArtLayer, false);
    };
    const int32_t leftHalfEnd = rect.right - rect.Width() / 2;
    const int32_t rightHalfStart = rect.left + rect.Width() / 2;
    if (left && top && !right && !bottom)
        draw(w, h, 0, 0, rect.left, leftHalfEnd);
    else if (left)
        draw(w, 0, 0, h, rect.left, leftHalfEnd);
    if (top && right && !left && !bottom)
        draw(0, h, w, 0, rightHalfStart, rect.right);
    else if (right)
        draw(0, 0, w, h, rightHalfStart, rect.right);
}

// Row i of the box: up from the bottom, or down from the top for a box at
// the top of the screen.
IntRect TubeRow(const IntRect& rect, int32_t height, int32_t index)
{
    const int32_t step = index * (height + kRowGap);
    if (rect.top <= 0)
        return IntRect{rect.left, rect.top + step, rect.right, rect.top + step + height};
    return IntRect{rect.left, rect.bottom - height - step, rect.right, rect.bottom - step};
}

struct TypeChoice {
    std::vector<std::string> names;  // of the described types, in list order
    std::vector<std::string> keys;   // their type keys
    int32_t index = -1;              // of the shown value, or -1
    std::string label = "Select type";
};

TypeChoice ReadTypeChoice(const StringChangeTracker& selected, const std::vector<std::string>& available)
{
    TypeChoice choice;
    for (const std::string& key : available) {
        const TorpedoTypeText text = ReadTorpedoTypeText(key);
        if (!text.described)
            continue;
        if (key == selected.value) {
            choice.index = static_cast<int32_t>(choice.names.size());
            choice.label = "TYPE: " + text.name;
        }
        choice.names.push_back(text.name);
        choice.keys.push_back(key);
    }
    return choice;
}

void DrawTypeChoice(UIContext& ui, StringChangeTracker& selected, const IntRect& row,
                    const std::vector<std::string>& available)
{
    TypeChoice choice = ReadTypeChoice(selected, available);
    ui.SetCurrentRectEdges(row.left, row.top, row.right - kTypeListNarrowing, row.bottom);
    if (uiDropDown(ui, kTypeListId, choice.label, choice.index, choice.names, kFont, kLayer) && choice.index >= 0 &&
        choice.index < static_cast<int32_t>(choice.keys.size())) {
        PlayGUISound("gui_button");
        selected.Change(choice.keys[static_cast<size_t>(choice.index)], InputClockMilliseconds());
    }
    if (selected.Cycle(InputClockMilliseconds()))
        SendSignal(TorpedoTubeSignal{TorpedoTubeSignal::kSelectType, selected.value, 0});
}

// The type keys choose at once, whether or not the type is described.
void TypeHotKeys(const std::vector<std::string>& available, const std::string& widgetName)
{
    for (size_t j = 1; j <= std::min(available.size(), kMaxTypeHotKeys); ++j) {
        const auto position = static_cast<int32_t>(j);
        if (isHotKeyPressed(widgetName, "torp_type_" + std::to_string(j), TypeKey(position),
                            "selects the torpedo type for loading"))
            SendSignal(TorpedoTubeSignal{TorpedoTubeSignal::kSelectType, available[j - 1], 0});
    }
}

void DrawTargetMark(UIContext& ui, const SpaceObject* ship, const IntRect& row)
{
    if (!ship)
        return;
    // A destroyed target leaves its id behind until the server clears it.
    if (!FindSpaceObjectById(ReadUInt64(ship->data_set, shipkeys::kWeaponTargetUid)))
        return;
    uiGridIcon(ui, kTargetIconCell, kTargetColour,
               static_cast<float>(row.right - kTypeListNarrowing + kTargetIconOffset),
               static_cast<float>(row.top + row.Height() / 2), kTargetIconHalfSize, kLayer);
}

void DrawLoadBar(UIContext& ui, const IntRect& bar, float percent, const std::string& currentType)
{
    ui.FillRect(static_cast<float>(bar.left), static_cast<float>(bar.top), static_cast<float>(bar.right),
                static_cast<float>(bar.bottom), ui.dimColour);
    uiPercentChevrons(ui, bar, percent, ui.mainColour);
    const float filled = static_cast<float>(bar.Width()) * std::clamp(percent, 0.0f, 100.0f) / 100.0f;
    ui.FillRect(static_cast<float>(bar.left), static_cast<float>(bar.top), static_cast<float>(bar.left) + filled,
                static_cast<float>(bar.bottom), ui.mainColour);
    if (!(percent > 0.0f))
        return;
    DrawCentredText(ui, kFont, bar, ReadTorpedoTypeText(currentType).name, kTypeNameColour, kTypeNameLayer,
                    TextFlow::kOneLine);
}

}  // namespace

void ViewWeaponControlDrawBody(ConsoleState& console, int32_t idBase, const SpaceObject* ship, int32_t tube,
                               const IntRect& row, const std::string& widgetName)
{
    UIContext& ui = console.UI();
    const bool enabled = !GUIBoxManager::IsEditKeyHeld();
    std::string state = shipkeys::kTubeEmpty;
    float percent = 0.0f;
    std::string current;
    bool canLoad = false;
    if (ship) {
        const ObjectDataBlob& data = ship->data_set;
        if (const std::string stored = ReadString(data, shipkeys::kTorpedoTubeState, tube); !stored.empty())
            state = stored;
        percent = ReadFiniteFloat(data, shipkeys::kTorpedoTubePercentLoaded, tube);
        current = ReadString(data, shipkeys::kTorpedoTubeCurrentType, tube);
        const std::string selected = ReadString(data, playership::kTorpedoSelectedType);
        canLoad = theSimulation && theSimulation->TorpedoTypeAvailable(*ship, selected);
        console.selectedTorpedoType.serverValue = selected;
    }
    const bool unload = state == shipkeys::kTubeLoaded || state == shipkeys::kTubeLoading;
    const bool canFire = state == shipkeys::kTubeLoaded;
    const std::string number = std::to_string(tube + 1);

    ui.SetCurrentRectEdges(row.left, row.top, row.left + kButtonWidth, row.bottom);
    const bool loadClicked = uiButton(ui, idBase, unload ? "Unload" : "Load", kFont, enabled, kLayer);
    if (isHotKeyPressed(widgetName, "load_tube_" + number, LoadKey(tube), "Activates the tube to load or unload") ||
        loadClicked) {
        if (canLoad || unload)
            SendWithSound("gui_torp_load", TorpedoTubeSignal{unload ? TorpedoTubeSignal::kUnload
                                                                    : TorpedoTubeSignal::kLoad, "", tube});
        else
            PlayGUISound("gui_tab");
    }

    ui.SetCurrentRectEdges(row.right - kButtonWidth, row.top, row.right, row.bottom);
    const bool fireClicked = uiButton(ui, idBase + 1, "FIRE", kFont, enabled && canFire, kLayer);
    if (isHotKeyPressed(widgetName, "fire_tube_" + number, FireKey(tube), "Launches the torpedo in this tube") ||
        fireClicked) {
        if (canFire)
            SendWithSound("gui_torp_fire", TorpedoTubeSignal{TorpedoTubeSignal::kFire, "", tube});
        else
            PlayGUISound("gui_torp_fire_failure");
    }

    DrawLoadBar(ui, IntRect{row.left + kBarInset, row.top, row.right - kBarInset, row.bottom}, percent, current);
}

void ViewWeaponControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    DrawBackground(ui, rect);
    const SpaceObject* ship = ConsolePlayerShip();
    const int32_t rowHeight = std::max(rect.Height() / kRowsPerBox, kMinRowHeight);
    const int32_t tubes = ship ? shipkeys::TorpedoTubeCount(ship->data_set) : kTubesWithoutShip;
    if (ship && tubes < 1)
        return;
    for (int32_t i = 0; i < tubes; ++i)
        ViewWeaponControlDrawBody(console, kTubeIdBase + kIdsPerTube * i, ship, i, TubeRow(rect, rowHeight, i),
                                  widgetName);

    std::vector<std::string> available;
    if (ship)
        SplitString(ReadString(ship->data_set, playership::kTorpedoTypesAvailable), ",", available);
    const IntRect typeRow = TubeRow(rect, rowHeight, tubes);
    DrawTypeChoice(ui, console.selectedTorpedoType, typeRow, available);
    TypeHotKeys(available, widgetName);
    DrawTargetMark(ui, ship, typeRow);
}
