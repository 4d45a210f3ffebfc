// The comms console's contact widgets: the mission's buttons for the
// contact, the contact's portrait and heading, and the list the contact is
// picked from.

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/net/SignalMessageCrew.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/CommsWidgets.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/SortedObjectList.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kLayer = 1000;
constexpr const char* kHeadingFont = "gui-2";
// The buttons' font; a label too long for its row steps down from it.
constexpr const char* kButtonFont = "gui-2";
// The heading's band above the buttons, pixels.
constexpr int32_t kHeadingHeight = 30;
// The scroll slider's strip along the right edge, pixels.
constexpr int32_t kSliderWidth = 40;
constexpr int32_t kSliderId = 1400;
// The buttons' ids count up from here, one per drawn row.
constexpr int32_t kFirstButtonId = 1402;
constexpr int32_t kRowHeight = 45;
// Rows the list area holds, counted in steps of this many pixels, so the
// bottom of the scroll range leaves room under the last row.
constexpr int32_t kVisibleRowStep = 50;
// The digit keys 1 to 9 press the first nine buttons; later ones have no key
// of their own, as the codes after the digits are the letters other widgets use.
constexpr int32_t kButtonsWithDigitKeys = 9;
constexpr const char* kButtonKeyPrefix = "comms_button_";
constexpr const char* kButtonKeyDescription = "clicks this comms button";
constexpr const char* kCommsSound = "gui_comms";
constexpr glm::vec4 kWhite{1.0f};

glm::vec4 ColourOf(const std::string& description)
{
    glm::vec4 colour;
    ParseColor(colour, description);
    return colour;
}

// The largest button font in which the label, wrapped to the row's width,
// fits its height.
bool ButtonKeyPressed(const std::string& widgetName, int32_t entry)
{
    const int32_t defaultKey = entry <= kButtonsWithDigitKeys ? qel::vk::kDigit0 + entry : 0;
    return isHotKeyPressed(widgetName, kButtonKeyPrefix + std::to_string(entry), defaultKey, kButtonKeyDescription);
}

// The first row's top: the list scrolled so that at 0 the last rows end at
// the bottom of the area.
int32_t FirstRowTop(const IntRect& area, int32_t entryCount, float scroll)
{
    const int32_t visible = area.Height() / kVisibleRowStep;
    const float scrolledOut = static_cast<float>((entryCount - visible) * kRowHeight) * (1.0f - scroll);
    return static_cast<int32_t>(std::min(static_cast<float>(area.top), static_cast<float>(area.top) - scrolledOut));
}

}  // namespace

void ViewCommsControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    const std::vector<ConsoleInfoEntry>& entries = console.commsInfo;
    const SpaceObject* ship = ConsolePlayerShip();
    if (entries.size() <= 1 || !ship)
        return;
    UIContext& ui = console.UI();
    if (ui.MouseInside(rect))
        console.mouseOverControl = true;
    const uint64_t target = ReadUInt64(ship->data_set, shipkeys::kCommsTargetUid);
    ui.DrawText(ui.GetFont(kHeadingFont), rect, entries[0].first, ColourOf(entries[0].second), kLayer);

    CommsControlState& state = console.commsControl;
    const IntRect box{rect.left, rect.top + kHeadingHeight, rect.right, rect.bottom};
    ui.SetCurrentRectEdges(box.right - kSliderWidth, box.top, box.right, box.bottom);
    uiSlider(ui, kSliderId, 0.0f, 1.0f, state.scroll, kLayer, "");
    const IntRect area{box.left, box.top, box.right - kSliderWidth, box.bottom};

    // The mission may replace the list while a button is pressed: the
    // commands go out from a copy of this frame's entries.
    const std::vector<ConsoleInfoEntry> buttons(entries.begin() + 1, entries.end());
    int32_t y = FirstRowTop(area, state.entryCount, state.scroll);
    state.entryCount = 0;
    int32_t nextId = kFirstButtonId;
    for (size_t i = 0; i < buttons.size(); ++i, y += kRowHeight) {
        ++state.entryCount;
        const IntRect row{area.left, y, area.right, y + kRowHeight};
        if (row.top < area.top || row.bottom > area.bottom)
            continue;
        const ConsoleInfoEntry& button = buttons[i];
        ui.SetCurrentRect(row);
        ui.nextControlColour = button.second;
        const bool clicked = uiButton(ui, nextId++, button.first, kButtonFont, true, kLayer);
        if (clicked || ButtonKeyPressed(widgetName, static_cast<int32_t>(i) + 1))
            SendWithSound(kCommsSound, CommsButtonSignal{button.third, ship->uniqueID, target});
    }
}

void ViewCommsFaceDraw(ConsoleState& console, IntRect& rect, std::string)
{
    const std::vector<ConsoleInfoEntry>& entries = console.commsInfo;
    if (entries.empty() || !ConsolePlayerShip())
        return;
    const ConsoleInfoEntry& heading = entries[0];
    if (!heading.third.empty() && console.renderer) {
        const int32_t half = (rect.Height() > rect.Width() ? rect.Width() : rect.Height()) / 2;
        const IntPoint centre = rect.Center();
        console.renderer->portraitGen.DrawFace(heading.third, centre.x - half, centre.y - half,
                                               static_cast<float>(2 * half), kWhite, kLayer);
    }
    UIContext& ui = console.UI();
    ui.DrawText(ui.GetFont(kHeadingFont), {rect.left + 2, rect.top + 2, rect.right, rect.bottom}, heading.first,
                ColourOf(heading.second), kLayer);
}

void ViewCommsSortedListDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    DrawSortedObjectList(console, rect, widgetName, std::string(shipkeys::kCommsTargetUid.name));
}
