#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/EngPresets.h"

namespace {

constexpr const char* kFont = "gui-1";
constexpr int kLayer = 1000;
constexpr int32_t kStoreButtonId = 11;
constexpr int32_t kFirstPresetButtonId = 12;
// STORE, then the ten presets.
constexpr int32_t kCellCount = 1 + EngineeringValueSet::kPresetCount;

}  // namespace

PresetGrid PresetGridFor(int32_t width, int32_t height)
{
    const int64_t w = width;
    const int64_t h = height;
    if (w > 8 * h)
        return {11, 1};
    if (w > 4 * h)
        return {6, 2};
    if (w > 2 * h)
        return {4, 3};
    if (2 * w > 3 * h)
        return {3, 4};
    if (w > h)
        return {2, 6};
    return {1, 11};
}

void ViewEngPresetsDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    EngineeringValueSet& set = console.engineeringPresets;
    const uint32_t now = InputClockMilliseconds();
    set.BindPresetHotKeys(widgetName, console.engineeringTrackers, now);

    UIContext& ui = console.UI();
    const PresetGrid grid = PresetGridFor(rect.Width(), rect.Height());
    const int32_t cellWidth = rect.Width() / grid.columns;
    const int32_t cellHeight = rect.Height() / grid.rows;
    for (int32_t cell = 0; cell < kCellCount; ++cell) {
        const int32_t left = rect.left + cell % grid.columns * cellWidth;
        const int32_t top = rect.top + cell / grid.columns * cellHeight;
        ui.SetCurrentRectEdges(left, top, left + cellWidth, top + cellHeight);
        if (cell == 0) {
            if (uiCheckButton(ui, kStoreButtonId, "STORE", kFont, set.storeMode, true, kLayer)) {
                set.storeMode = !set.storeMode;
                PlayGUISound("gui_tab");
            }
            continue;
        }
        const int32_t n = cell - 1;
        if (!uiButton(ui, kFirstPresetButtonId + n, std::to_string(n), kFont, true, kLayer))
            continue;
        if (set.storeMode) {
            set.StorePreset(n, console.engineeringTrackers);
            PlayGUISound("gui_main_screen");
        } else {
            set.RetrievePreset(n, console.engineeringTrackers, now);
            PlayGUISound("gui_button");
        }
        set.storeMode = false;
    }
}
