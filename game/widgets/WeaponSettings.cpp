// The beam settings and the torpedo conversion of the weapons console.

#include "game/widgets/WeaponsWidgets.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/guimodel/KeyValueParser.h"
#include "game/net/SignalMessageCrew.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/TorpedoTypeText.h"
#include "game/world/ShipKeys.h"
#include "game/world/SpaceObject.h"

#include <cstdlib>

namespace {

constexpr int kLayer = UIContext::kControlLayer;
constexpr const char* kClickSound = "gui_tab";
// Boxes this narrow take the smallest font.
constexpr int32_t kNarrowBox = 179;
constexpr int32_t kTitleHeight = 25;
constexpr int32_t kButtonGap = 1;

constexpr int32_t kFrequencyButtons = 5;
constexpr int32_t kFrequencyIdBase = 2100;
constexpr int32_t kRateButtons = 4;
constexpr int32_t kRateIdBase = 2200;

constexpr int32_t kToEnergyId = 2401;
constexpr int32_t kToTorpedoId = 2402;
constexpr int32_t kConvertToEnergy = 1;
constexpr int32_t kConvertToTorpedo = 2;

// A title over a row of option buttons, one selected: the button clicked, or -1.
int32_t OptionRow(UIContext& ui, const IntRect& rect, const char* title, int32_t count, int32_t idBase,
                  int32_t selected, bool enabled, std::string (*label)(int32_t))
{
    const char* font = rect.Width() <= kNarrowBox ? "smallest" : "gui-1";
    DrawCentredText(ui, font, IntRect{rect.left, rect.top, rect.right, rect.top + kTitleHeight}, title,
                    ui.mainColour, kLayer);
    const int32_t width = rect.Width() / count;
    int32_t clicked = -1;
    int32_t left = rect.left;
    for (int32_t i = 0; i < count; ++i) {
        ui.SetCurrentRectEdges(left, rect.top + kTitleHeight, left + width, rect.bottom);
        if (uiOptionButton(ui, idBase + i, label(i), font, i == selected, enabled, kLayer))
            clicked = i;
        left += width + kButtonGap;
    }
    return clicked;
}

std::string FrequencyLabel(int32_t i)
{
    return std::string(1, static_cast<char>('A' + i));
}

std::string RateLabel(int32_t i)
{
    return std::to_string(i + 1) + "X";
}

}  // namespace

void ViewWeapBeamFreqDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    const int32_t selected = ship ? static_cast<int32_t>(ReadInt(ship->data_set, playership::kCurBeamFreq)) : -1;
    const int32_t clicked = OptionRow(ui, rect, "Beam Frequency", kFrequencyButtons, kFrequencyIdBase, selected,
                                      ship != nullptr, FrequencyLabel);
    if (clicked >= 0)
        SendWithSound(kClickSound, BeamFrequencySignal{clicked});
}

void ViewWeapBeamSpeedDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    const int32_t selected = ship ? static_cast<int32_t>(ReadInt(ship->data_set, playership::kCurBeamSpeedSetting)) : 0;
    const int32_t clicked =
        OptionRow(ui, rect, "Beam Fire Rate", kRateButtons, kRateIdBase, selected, ship != nullptr, RateLabel);
    if (clicked >= 0)
        SendWithSound(kClickSound, BeamSpeedSignal{clicked});
}

void ViewWeapTorpConversionDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    if (!ship) {
        DrawCentredText(ui, "gui-1", rect, "-----", ui.mainColour, kLayer);
        return;
    }
    const ObjectDataBlob& data = ship->data_set;
    const std::string selected = ReadString(data, playership::kTorpedoSelectedType);
    const std::string made = ReadString(data, playership::kTorpTypeFromEnergy);
    const int64_t cost = ReadInt(data, playership::kEnergyToTorpCost);
    const float energy = ReadFloat(data, playership::kEnergy);
    const int64_t held = shipkeys::TorpedoStock(data, selected, shipkeys::kTorpedoNumSuffix);
    const int64_t madeHeld = shipkeys::TorpedoStock(data, made, shipkeys::kTorpedoNumSuffix);
    const int64_t madeMost = shipkeys::TorpedoStock(data, made, shipkeys::kTorpedoMaxSuffix);

    const TorpedoTypeText type = ReadTorpedoTypeText(selected);
    const std::string name = type.name.empty() ? "---" : type.name;
    const int32_t half = rect.Height() / 2;
    ui.SetCurrentRectEdges(rect.left, rect.top, rect.right, rect.top + half);
    if (uiButton(ui, kToEnergyId, name + " to energy (+" + std::to_string(type.energyValue) + ")", "gui-1", held > 0,
                 kLayer))
        SendWithSound(kClickSound, TorpedoConversionSignal{kConvertToEnergy});
    ui.ShiftRectY(1, 0);
    const bool affordable = energy >= static_cast<float>(cost) && madeHeld < madeMost;
    if (uiButton(ui, kToTorpedoId, "Energy to Homing (-" + std::to_string(cost) + ")", "gui-1", affordable, kLayer))
        SendWithSound(kClickSound, TorpedoConversionSignal{kConvertToTorpedo});
}
