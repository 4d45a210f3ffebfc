#include "game/widgets/ScienceTabWidgets.h"

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/ui/GUISound.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/ScienceConsoleState.h"
#include "game/widgets/SortedObjectList.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace playership;
using namespace shipkeys;

constexpr int32_t kFirstTabId = 800;
constexpr int kLayer = 1002;
constexpr int kLetterLayer = 1003;
constexpr const char* kNoTargetHint = "Select a contact to scan";
// Tabs are as wide as their name plus this; the first line keeps this margin.
constexpr int32_t kTabPadding = 50;
constexpr int32_t kTabMargin = 2;
// Tabs take the ids from 800 up to here: a mission's list longer than any
// console could show is cut, so its ids never reach another control's.
constexpr size_t kMaxScanTabs = 100;
constexpr const char* kFont = "gui-1";
constexpr const char* kDefaultScanTypes = "scan,status,intel,bio";
constexpr const char* kTabSelectionSource = "sci_scan_tab";

constexpr int32_t kFrequencyCount = 5;
constexpr int32_t kBarsPerColumn = 4;
constexpr int32_t kFullStrength = 100;
// Columns narrower than this take the smallest font for their letter.
constexpr int32_t kNarrowColumn = 20;
// The bars flicker by this share of the column around the strength.
constexpr double kFlicker = 0.03;
// The "weak" label fills this share of the column's top.
constexpr float kWeakLabelShare = 0.4f;
const glm::vec4 kColumnColour{0.4f, 0.4f, 0.4f, 1.0f};

// The tabs the selection offers: its own list, the four usual kinds when it
// names none, and only the initial scan until that is done.
std::vector<std::string> ScanTabNames(const SpaceObject& object, bool identified)
{
    if (!identified)
        return {kInitialScanType};
    std::string list = ReadString(object.data_set, sciencekeys::kScanTypeList);
    if (list.empty())
        list = kDefaultScanTypes;
    std::vector<std::string> names;
    Tokenize(list, names, ",");
    if (names.size() > kMaxScanTabs)
        names.resize(kMaxScanTabs);
    return names;
}

void ChooseScanType(SharedConsoleState& console, const SpaceObject& object, const std::string& name)
{
    console.currentScienceScanType = name;
    SelectConsoleObject(console, object.uniqueID, glm::vec3(0.0f), name, kTabSelectionSource);
}

// The tabs flow in lines F high; a tab that does not fit the rest of a line
// starts the next one at the widget's left edge.
void DrawScanTabs(SharedConsoleState& console, const IntRect& rect, const SpaceObject& object,
                  const std::vector<std::string>& names, const std::string& widgetName)
{
    UIContext& ui = console.UI();
    QelBitmapFont* font = ui.GetFont(kFont);
    const int32_t lineHeight = AppData::GetInt("object-sorted-list-button-h");
    int32_t lineStart = rect.left + kTabMargin;
    int32_t x = lineStart;
    int32_t lineEnd = rect.right - kTabMargin;
    int32_t top = rect.top + kTabMargin;
    int32_t bottom = rect.top + lineHeight - kTabMargin;
    int32_t previous = -1;
    int32_t next = -1;
    for (size_t i = 0; i < names.size(); ++i) {
        const int32_t width = (font ? font->GetTextWidth(names[i]) : 0) + kTabPadding;
        // A tab wider than a whole line keeps the line it starts.
        if (width > lineEnd - x && x > lineStart) {
            top += lineHeight;
            bottom += lineHeight;
            x = lineStart = rect.left;
            lineEnd = rect.right;
        }
        ui.SetCurrentRectEdges(x, top, x + width, bottom);
        const bool ticked = names[i] == console.currentScienceScanType;
        if (ticked) {
            previous = static_cast<int32_t>(i) - 1;
            next = i + 1 < names.size() ? static_cast<int32_t>(i) + 1 : -1;
        }
        if (uiCheckButton(ui, kFirstTabId + static_cast<int32_t>(i), names[i], kFont, ticked, true, kLayer)) {
            PlayGUISound("gui_tab");
            ChooseScanType(console, object, names[i]);
        }
        x += width;
    }
    std::string chosen;
    if (isHotKeyPressed(widgetName, "scan_type_prev", qel::vk::kInsert, "selects previous scan type") &&
        previous >= 0)
        chosen = names[previous];
    if (isHotKeyPressed(widgetName, "scan_type_next", qel::vk::kDelete, "selects next scan type") && next >= 0)
        chosen = names[next];
    if (!chosen.empty())
        ChooseScanType(console, object, chosen);
}

// The pulse of the weakest frequency's letter, dark red-blue-green at tick t.
glm::vec4 WeakColour(int64_t tick)
{
    const auto channel = [tick](int64_t offset) {
        return (std::sin(static_cast<float>(tick + offset) / 20.0f) + 1.0f) / 10.0f;
    };
    return {channel(12), channel(0), channel(25), 1.0f};
}

}  // namespace

void ViewScienceDataTabsDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    const SpaceObject* object = ship ? ConsoleObjectNamedBy(*ship, kScienceTargetUid) : nullptr;
    if (!object) {
        DrawEmptyHint(ui, rect, kNoTargetHint, kLayer);
        return;
    }
    const bool identified = !ScanTextOf(*object, kInitialScanType, ship->side).empty();
    DrawScanTabs(console, rect, *object, ScanTabNames(*object, identified), widgetName);
}

void ViewScienceDataFreqDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    const SpaceObject* object = ship ? ConsoleObjectNamedBy(*ship, kScienceTargetUid) : nullptr;
    if (!object)
        return;
    int32_t weakest = -1;
    const std::string& scanType = console.currentScienceScanType;
    const bool revealed = !ScanTextOf(*object, scanType, ship->side).empty() && object->tick_type == "behav_npcship" &&
                          ReadString(ship->data_set, kScanTypeForShldFreq) == scanType;
    if (revealed) {
        int32_t minimum = kFullStrength;
        const int32_t columnWidth = (rect.right - rect.left) / kFrequencyCount;
        for (int32_t i = 0; i < kFrequencyCount; ++i) {
            const int32_t strength = static_cast<int32_t>(
                std::clamp<int64_t>(ReadInt(object->data_set, kShieldFreqStrength, i), 0, kFullStrength));
            if (strength < minimum) {
                minimum = strength;
                weakest = i;
            }
            const IntRect column{rect.left + columnWidth * i, rect.top, rect.left + columnWidth * (i + 1) - 2,
                                 rect.bottom};
            ViewScienceDataFreqDrawBody(ui, i, strength, column, console.weakestShieldFrequency);
        }
    }
    console.weakestShieldFrequency = weakest;
}

void ViewScienceDataFreqDrawBody(UIContext& ui, int32_t frequency, int32_t strength, const IntRect& column,
                                 int32_t weakest)
{
    const auto left = static_cast<float>(column.left);
    const auto top = static_cast<float>(column.top);
    const auto bottom = static_cast<float>(column.bottom);
    ui.FillRect(left, top, static_cast<float>(column.right), bottom, kColumnColour, kLayer);

    const int64_t tick = theSimulation ? theSimulation->TickCount() : 0;
    const float share = std::clamp(static_cast<float>(strength) / kFullStrength, 0.0f, 1.0f);
    const glm::vec4 barColour{1.0f - share, share, 0.0f, 1.0f};
    const int32_t barWidth = (column.right - column.left) / kBarsPerColumn;
    for (int32_t k = 0; k < kBarsPerColumn; ++k) {
        const int64_t t = tick + 20 * k;
        const float level =
            std::clamp(static_cast<float>(share + kFlicker * std::sin(static_cast<double>(t / 10))), 0.0f, 1.0f);
        ui.FillRect(left + static_cast<float>(k * barWidth), bottom - level * (bottom - top),
                    left + static_cast<float>((k + 1) * barWidth - 1), bottom, barColour, kLayer);
    }

    const bool weak = frequency == weakest;
    const glm::vec4 letterColour = weak ? WeakColour(tick) : glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    const bool narrow = column.right - column.left < kNarrowColumn;
    ui.DrawText(ui.GetFont(narrow ? "smallest" : "gui-3"), column, std::string(1, static_cast<char>('A' + frequency)),
                letterColour, kLetterLayer, 2);
    if (weak) {
        const IntRect label{column.left, column.top, column.right,
                            column.top + static_cast<int32_t>(kWeakLabelShare * (column.bottom - column.top))};
        ui.DrawText(ui.GetFont("smallest"), label, "weak", letterColour, kLetterLayer, 2);
    }
}

void ViewScienceSortedListDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    DrawSortedObjectList(console, rect, widgetName, std::string(shipkeys::kScienceTargetUid.name));
}
