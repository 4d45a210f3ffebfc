#include "game/widgets/EngSystemControls.h"

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/net/SignalMessageCrew.h"
#include "game/ui/KeyVal.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/EngPresets.h"
#include "game/world/SpaceObject.h"
#include "helper/QelAssert.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using namespace playership;

constexpr int kLayer = 1000;
constexpr int kConnectorLayer = 990;
constexpr int32_t kFirstSliderId = 910;
// Narrower controls write in the smallest font.
constexpr int32_t kNarrowControl = 100;
// A tall control keeps this much at its bottom for its label.
constexpr int32_t kLabelHeight = 40;
// The slider's band is a third of the control's short side, never thinner than this.
constexpr int32_t kMinSliderBand = 25;
constexpr int32_t kTextGap = 2;
// The widest percentage a control shows (three times normal power).
constexpr const char* kWidestPercent = "300%";
constexpr int kAlignRight = 1;

// The detent: slider positions 0.18 to 0.48 all mean normal power.
constexpr float kDetentCentre = 0.33f;
constexpr float kDetentLow = 0.18f;
constexpr float kDetentHigh = 0.48f;
constexpr float kLowestPower = 0.0f;
constexpr float kNormalPower = 1.0f;
constexpr float kHighestPower = 3.0f;

// The connector: the system's colour at 70 %, three lines 2 pixels apart.
constexpr float kConnectorShade = 0.7f;
constexpr int32_t kConnectorSpread = 2;

// A share beyond any the controls show is held here before it becomes text.
constexpr float kLargestShownShare = 1.0e6f;

const glm::vec4 kLogColour{0.0f, 1.0f, 1.0f, 1.0f};

int32_t Sign(int32_t value)
{
    return (value > 0) - (value < 0);
}

// One leg of the connector, with its two neighbours 2 pixels off along one
// diagonal (spreadDown: to the lower right and upper left) or the other.
void ConnectorLeg(UIContext& ui, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const glm::vec4& colour,
                  bool spreadDown)
{
    const int32_t dy = spreadDown ? kConnectorSpread : -kConnectorSpread;
    for (const auto& [sx, sy] : {std::pair{0, 0}, std::pair{kConnectorSpread, dy}, std::pair{-kConnectorSpread, -dy}})
        ui.DrawLine(static_cast<float>(x1 + sx), static_cast<float>(y1 + sy), static_cast<float>(x2 + sx),
                    static_cast<float>(y2 + sy), colour, kConnectorLayer);
}

// The ship changed under the console (a new world, another ship assigned).
void NoteShip(EngControlsState& state, const SpaceObject* ship)
{
    if (ship == nullptr || ship == state.lastShip)
        return;
    state.lastShip = ship;
    theConsoleLog.Add(kLogColour, "spaceObject change to  " + std::to_string(reinterpret_cast<uintptr_t>(ship)));
}

}  // namespace

float PowerToSliderPosition(float power)
{
    if (power < kNormalPower)
        return kDetentLow * (power - kLowestPower) / (kNormalPower - kLowestPower);
    if (power > kNormalPower)
        return kDetentHigh + (power - kNormalPower) / (kHighestPower - kNormalPower) * (1.0f - kDetentHigh);
    return kDetentCentre;
}

float SliderPositionToPower(float position)
{
    if (position < kDetentLow)
        return position / kDetentLow * (kNormalPower - kLowestPower) + kLowestPower;
    if (position > kDetentHigh)
        return (position - kDetentHigh) / (1.0f - kDetentHigh) * (kHighestPower - kNormalPower) + kNormalPower;
    return kNormalPower;
}

std::string EngPercentText(float share)
{
    const float percent = std::isfinite(share) ? std::clamp(share, -kLargestShownShare, kLargestShownShare) : 0.0f;
    return std::to_string(static_cast<int64_t>(percent * 100.0f)) + "%";
}

void DrawSystemConnector(UIContext& ui, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t system)
{
    if (system < 0 || system >= kEngSystemCount)
        return;
    glm::vec4 colour = kEngSystems[static_cast<size_t>(system)].colour;
    for (int i = 0; i < 3; ++i)
        colour[i] *= kConnectorShade;
    const int32_t dx = x2 - x1;
    const int32_t dy = y2 - y1;
    const int32_t sx = Sign(dx);
    const int32_t sy = Sign(dy);
    // A line running down to the right (or up to the left) spreads across it,
    // along the other diagonal; any other along this one.
    const bool spreadDown = static_cast<int64_t>(dx) * dy <= 0;
    const int32_t across = std::abs(dx);
    if (std::abs(dy / 2) >= across) {
        const int32_t bendY = y1 + static_cast<int32_t>(static_cast<float>(sy * across) * 0.5f);
        ConnectorLeg(ui, x1, y1, x2, bendY, colour, spreadDown);
        ConnectorLeg(ui, x2, bendY, x2, y2, colour, spreadDown);
        return;
    }
    const int32_t m = std::min(std::abs(dx / 2), std::abs(dy));
    const int32_t rise = static_cast<int32_t>(static_cast<float>(sy * m) * 0.5f);
    ConnectorLeg(ui, x1, y1, x1 + sx * m, y1 + rise, colour, spreadDown);
    ConnectorLeg(ui, x1 + sx * m, y1 + rise, x2 - sx * m, y2 - rise, colour, spreadDown);
    ConnectorLeg(ui, x2 - sx * m, y2 - rise, x2, y2, colour, spreadDown);
}

void ViewEngPowerControlsDrawBody(ConsoleState& console, int32_t control, const IntRect& rect, const SpaceObject* ship,
                                  bool reset)
{
    QEL_ASSERT(control >= 0 && control < EngineeringTrackers::kPowerCount, "a power control beyond the trackers");
    UIContext& ui = console.UI();
    FloatChangeTracker& tracker = console.engineeringTrackers.power[static_cast<size_t>(control)];
    const uint32_t now = InputClockMilliseconds();
    const int32_t width = rect.Width();
    const int32_t height = rect.Height();
    QelBitmapFont* font = ui.GetFont(width < kNarrowControl ? "smallest" : "gui-1");

    std::string label = "system";
    int64_t system = -1;
    if (ship != nullptr) {
        system = ReadInt(ship->data_set, kEngControlTypeIndex, control);
        label = ReadString(ship->data_set, kEngControlLabel, control);
        tracker.serverValue = ReadFiniteFloat(ship->data_set, kEngControlValue, control);
    }

    // A wide control: the slider along its top, label and percentage below.
    // A tall one: the slider upright at its left, the percentage beside it,
    // the label at the bottom.
    IntRect slider;
    IntRect labelBox;
    IntRect percentBox;
    int percentAlign = 0;
    if (width > height) {
        const int32_t band = std::max(height / 3, kMinSliderBand);
        slider = {rect.left, rect.top, rect.right, rect.top + band};
        labelBox = {rect.left, rect.top + band + kTextGap, rect.right, rect.bottom};
        percentBox = labelBox;
        percentAlign = kAlignRight;
    } else {
        const int32_t bottom = rect.bottom - kLabelHeight;
        const int32_t band = std::max(width / 3, kMinSliderBand);
        slider = {rect.left, rect.top, rect.left + band, bottom};
        labelBox = {rect.left, bottom, rect.right, rect.bottom};
        percentBox = {rect.left + band + kTextGap, rect.top, rect.right, bottom};
        // A control too narrow for the percentage beside its slider shows it
        // under the slider, above the label.
        if (font && percentBox.Width() <= font->GetTextWidth(kWidestPercent)) {
            percentBox = {rect.left, bottom, rect.right, bottom + font->GetLineStep()};
            labelBox.top = percentBox.bottom;
        }
    }

    // Without a ship, or for a subsystem the ship ties to no system, there is
    // no column to lead to.
    if (system >= 0 && system < kEngSystemCount) {
        const IntPoint centre = slider.Center();
        const glm::vec2 anchor = console.engControls.anchors[static_cast<size_t>(system)];
        DrawSystemConnector(ui, centre.x, centre.y, static_cast<int32_t>(anchor.x), static_cast<int32_t>(anchor.y),
                            static_cast<int32_t>(system));
    }

    // The slider moved by the crew gives a new value; left alone it keeps the
    // tracker's, so a value does not drift through the mapping and back.
    const float shown = PowerToSliderPosition(tracker.value);
    float position = shown;
    ui.SetCurrentRect(slider);
    uiSlider(ui, kFirstSliderId + control, 0.0f, 1.0f, position, kLayer, "");
    float value = position != shown ? SliderPositionToPower(position) : tracker.value;
    if (reset)
        value = kNormalPower;

    tracker.Set(value, now);
    tracker.FallBack(now);
    if (tracker.TakeDue(now))
        SendSignal(FloatValueFromClientSignal{std::string(kEngControlValue.name), value, control});

    const glm::vec4 main = ui.mainColour;
    ui.DrawText(font, labelBox, label, main, kLayer);
    ui.DrawText(font, percentBox, EngPercentText(tracker.value), main, kLayer, percentAlign);
}

void ViewEngPowerControlsDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    const SpaceObject* ship = ConsolePlayerShip();
    NoteShip(console.engControls, ship);
    const bool reset =
        isHotKeyPressed(widgetName, "level_power", qel::vk::kSpace, "returns all power control sliders to 100%");
    if (reset)
        theConsoleLog.Add(kLogColour, "level_power key (space) pressed.");

    // Side by side in a box wider than half its height, else stacked.
    const int32_t width = rect.Width();
    const int32_t height = rect.Height();
    const bool sideBySide = height / 2 < width;
    for (int32_t i = 0; i < kEngPowerControlCount; ++i) {
        IntRect control = rect;
        if (sideBySide) {
            const int32_t step = width / kEngPowerControlCount;
            control.left = rect.left + i * step;
            control.right = control.left + step;
        } else {
            const int32_t step = height / kEngPowerControlCount;
            control.top = rect.top + i * step;
            control.bottom = control.top + step;
        }
        ViewEngPowerControlsDrawBody(console, i, control, ship, reset);
    }
}
