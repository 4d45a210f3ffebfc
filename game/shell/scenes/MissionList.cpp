#include "game/shell/MissionStart.h"
#include "game/shell/scenes/MissionList.h"

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelMouse.h"
#include "game/shell/scenes/MissionCatalogue.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"

#include <algorithm>

namespace {

// Rows above this line are under the scene's header and are not drawn.
constexpr int32_t kListTop = 100;
constexpr int32_t kHeaderGap = 20;
constexpr int32_t kRowGap = 1;
// What one header and one row add to the list's height.
constexpr int32_t kHeaderHeight = 65;
constexpr int32_t kRowHeight = 46;
constexpr int32_t kFirstRowId = 101;
constexpr int32_t kScrollBarId = 99;
constexpr int32_t kStartButtonId = 22;
// Scroll per wheel unit (a wheel notch is 120 units).
constexpr float kWheelScroll = 0.001f;
constexpr int kListLayer = 1001;
constexpr int kTextLayer = 1002;
constexpr float kKeywordShade = 0.8f;

void DrawCategoryHeader(UIContext& ui, const std::string& category)
{
    const IntRect& rect = ui.CurrentRect();
    if (Qel2dBitmap* white = ui.White()) {
        white->SetDestRect(static_cast<float>(rect.left), static_cast<float>(rect.top),
                           static_cast<float>(rect.right), static_cast<float>(rect.bottom));
        white->DrawQuad(&ui.dimColour[0], kListLayer, false);
    }
    const IntRect leftHalf{rect.left, rect.top, rect.left + rect.Width() / 2, rect.bottom};
    ui.DrawText(ui.GetFont("gui-3"), leftHalf, category, ui.mainColour, kTextLayer, 2);
}

void DrawMissionRow(UIContext& ui, MissionListState& list, const MissionDescription& mission, int32_t id)
{
    const bool ticked = mission.folderName == list.selectedMission;
    if (uiCheckButton(ui, id, mission.visibleName, "gui-2", ticked, true, kListLayer)) {
        PlayGUISound("gui_button");
        list.selectedMission = mission.folderName;
    }
    const IntRect& rect = ui.CurrentRect();
    QelBitmapFont* font = ui.GetFont("smallest");
    ui.DrawText(font, IntRect{rect.left + 33, rect.top + 25, rect.right - 70, rect.bottom + 14}, mission.description,
                ui.mainColour, kTextLayer, 0);
    ui.DrawText(font, IntRect{rect.left, rect.top + 2, rect.right - 4, rect.bottom}, mission.keywords,
                ui.mainColour * kKeywordShade, kTextLayer, 1);
}

// Headers and rows from the scroll position down; what lies above the list's
// top is skipped, neither drawn nor clickable.
void DrawRows(UIContext& ui, MissionListState& list, const MissionMap& catalogue)
{
    int32_t id = kFirstRowId;
    for (const auto& [category, missions] : catalogue) {
        ui.ShiftRectY(1, kHeaderGap);
        list.contentHeight += kHeaderHeight;
        if (ui.CurrentRect().top >= kListTop)
            DrawCategoryHeader(ui, category);
        for (const MissionDescription& mission : missions) {
            ui.ShiftRectY(1, kRowGap);
            list.contentHeight += kRowHeight;
            list.lastRowBottom = ui.CurrentRect().bottom;
            if (ui.CurrentRect().top >= kListTop)
                DrawMissionRow(ui, list, mission, id++);
        }
    }
}

void ScrollByWheel(MissionListState& list)
{
    QelMouse* mouse = gInputFactory ? gInputFactory->GetMouse() : nullptr;
    if (mouse == nullptr)
        return;
    list.scrollFraction = std::clamp(list.scrollFraction + mouse->GetWheel() * kWheelScroll, 0.0f, 1.0f);
    mouse->SetWheel(0);
}

}  // namespace

bool uiMissionList(UIContext& ui, MissionListState& list, const MissionMap& missions, std::string& startError)
{
    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();

    list.scrollBarWanted = false;
    // Scrolled to its end, the list's last row stands at the window's bottom:
    // only what does not fit below the list's top scrolls away.
    const int32_t overflow = std::max(0, list.contentHeight - (height - kListTop));
    const int32_t scrolledAway = static_cast<int32_t>(overflow * (1.0f - list.scrollFraction));
    ui.SetCurrentRectEdges(width - 987, kListTop - scrolledAway, width - 197, kListTop + 45 - scrolledAway);
    list.firstRowTop = ui.CurrentRect().top;
    if (list.firstRowTop < kListTop)
        list.scrollBarWanted = true;
    ui.ShiftRectY(-1, -kHeaderGap);
    list.contentHeight = 0;

    DrawRows(ui, list, missions);

    if (list.lastRowBottom >= height)
        list.scrollBarWanted = true;
    if (list.scrollBarWanted) {
        ui.SetCurrentRectEdges(width - 187, kListTop, width - 152, height - 2);
        uiSlider(ui, kScrollBarId, 0.0f, 1.0f, list.scrollFraction, kListLayer, "");
    }
    ScrollByWheel(list);

    ui.SetCurrentRectEdges(width - 142, height - 60, width - 2, height - 2);
    if (!uiButton(ui, kStartButtonId, "Initialize Mission", "gui-2", !list.selectedMission.empty(), kListLayer))
        return false;
    PlayGUISound("gui_button");
    return StartMission(list.selectedMission, startError);
}
