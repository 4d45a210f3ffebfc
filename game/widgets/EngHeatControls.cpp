#include "game/widgets/EngSystemControls.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/net/SignalMessageCrew.h"
#include "game/ui/GUISound.h"
#include "game/ui/KeyVal.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/EngPresets.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"
#include "helper/QelAssert.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace playership;

constexpr int kLayer = 1000;
constexpr int32_t kFirstDotsId = 900;
constexpr int32_t kNarrowSystem = 100;
// The system's name below it, and the word HEAT at the bottom of its right half.
constexpr int32_t kNameHeight = 20;
constexpr int32_t kHeatWordHeight = 20;
// The heat bar: this wide, clear of the heat text above and the word below.
constexpr int32_t kBarWidth = 25;
constexpr int32_t kBarMargin = 20;
constexpr float kBarBackShade = 0.4f;

// Above this share of its limit a system overheats: its bar blinks red every
// kBlinkTicks and the warning sounds, again every kWarningTicks while it lasts.
constexpr float kOverheat = 0.85f;
constexpr int64_t kBlinkTicks = 10;
constexpr int64_t kWarningTicks = 151;

// Without a ship: a quarter's heat shown, no bar, and these dot colours.
constexpr float kNoShipHeatText = 0.25f;
const glm::vec4 kNoShipActive{0.1f, 1.0f, 0.2f, 1.0f};
const glm::vec4 kNoShipReserve{0.1f, 0.5f, 0.5f, 1.0f};

const glm::vec4 kLogColour{0.0f, 1.0f, 1.0f, 1.0f};

// No ship carries more coolant; counts held to 0..this stay far from overflow.
constexpr int64_t kMaxCoolant = 1000000;

int32_t CoolantCount(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, kMaxCoolant));
}

void SendCoolant(int32_t system, int32_t count)
{
    SendSignal(UInt64ValueFromClientSignal{std::string(kSystemCoolantUsed.name),
                                           static_cast<uint64_t>(static_cast<int64_t>(count)), system});
}

// The ship's colour text, or the fallback while it has none that reads.
glm::vec4 DotColour(const SpaceObject& ship, const DataKey& key, const glm::vec4& fallback)
{
    return TryParseColor(ReadString(ship.data_set, key)).value_or(fallback);
}

// The warning sounds at the first overheat, in each new run of the world, and
// every kWarningTicks while overheating lasts; one memory serves all systems.
void SoundOverheatWarning(EngControlsState& state, const Simulation& world)
{
    const int64_t tick = world.TickCount();
    if (state.warningPlayed && state.warningRun == world.RunCount() && tick < state.warningNextTick)
        return;
    PlayGUISound("overheat_warning");
    state.warningPlayed = true;
    state.warningNextTick = tick + kWarningTicks;
    state.warningRun = world.RunCount();
}

// The bar from the bottom up to the heat, green turning red as it rises.
void DrawHeatBar(UIContext& ui, EngControlsState& state, const IntRect& bar, float heat)
{
    glm::vec4 back = ui.mainColour;
    for (int i = 0; i < 3; ++i)
        back[i] *= kBarBackShade;
    ui.FillRect(static_cast<float>(bar.left), static_cast<float>(bar.top), static_cast<float>(bar.right),
                static_cast<float>(bar.bottom), back, kLayer);
    const float level = std::isfinite(heat) ? std::clamp(heat, 0.0f, 1.0f) : 0.0f;
    glm::vec4 colour{level, 1.0f - level, 0.0f, 1.0f};
    if (heat > kOverheat && theSimulation != nullptr) {
        colour.g = 0.0f;
        colour.r = theSimulation->TickCount() / kBlinkTicks % 2 != 0 ? 1.0f : 0.0f;
        SoundOverheatWarning(state, *theSimulation);
    }
    const auto top = static_cast<int32_t>(static_cast<float>(bar.bottom) - static_cast<float>(bar.Height()) * level);
    ui.FillRect(static_cast<float>(bar.left), static_cast<float>(top), static_cast<float>(bar.right),
                static_cast<float>(bar.bottom), colour, kLayer);
}

}  // namespace

void ViewEngHeatControlsDrawBody(ConsoleState& console, int32_t system, const IntRect& rect, const SpaceObject* ship,
                                 int32_t freeCoolant, const glm::vec4& activeColour, const glm::vec4& reserveColour)
{
    QEL_ASSERT(system >= 0 && system < kEngSystemCount, "a ship system beyond the four");
    UIContext& ui = console.UI();
    IntChangeTracker& tracker = console.engineeringTrackers.coolant[static_cast<size_t>(system)];
    const EngSystem& info = kEngSystems[static_cast<size_t>(system)];
    const uint32_t now = InputClockMilliseconds();
    QelBitmapFont* font = ui.GetFont(rect.Width() < kNarrowSystem ? "smallest" : "gui-1");
    ui.DrawText(font, IntRect{rect.left, rect.bottom - kNameHeight, rect.right, rect.bottom}, info.name, info.colour,
                kLayer);
    const int32_t bottom = rect.bottom - kNameHeight;

    float heat = kNoShipHeatText;
    if (ship != nullptr) {
        tracker.serverValue = CoolantCount(ReadInt(ship->data_set, kSystemCoolantUsed, system));
        heat = ReadFiniteFloat(ship->data_set, kSystemCurHeat, system);
    }

    // The coolant dots fill the left half; connectors end low in it.
    const int32_t middle = rect.left + rect.Width() / 2;
    console.engControls.anchors[static_cast<size_t>(system)] = {
        static_cast<float>((rect.left + middle) / 2),
        static_cast<float>((bottom - rect.top) / 3 + (bottom + rect.top) / 2)};
    const int32_t used = tracker.value;
    const int32_t available = CoolantCount(static_cast<int64_t>(used) + freeCoolant);
    int32_t selected = used - 1;
    ui.SetCurrentRectEdges(rect.left, rect.top, middle, bottom);
    if (uiCoolantButtons(ui, kFirstDotsId + system, selected, activeColour, available - 1, reserveColour,
                         ship != nullptr)) {
        PlayGUISound("gui_torp_load");
        tracker.Set(std::min(available, selected + 1), now);
    }
    tracker.FallBack(now);
    if (tracker.TakeDue(now))
        SendCoolant(system, tracker.value);

    // The heat: its percentage, the word, and the bar between them.
    const glm::vec4 main = ui.mainColour;
    ui.DrawText(font, IntRect{middle, rect.top, rect.right, bottom}, EngPercentText(heat), main, kLayer);
    ui.DrawText(font, IntRect{middle, bottom - kHeatWordHeight, rect.right, bottom}, "HEAT", main, kLayer);
    const IntRect bar{middle, rect.top + kBarMargin, middle + kBarWidth, bottom - kBarMargin};
    DrawHeatBar(ui, console.engControls, bar, ship != nullptr ? heat : 0.0f);
}

void ViewEngHeatControlsDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    SpaceObject* ship = ConsolePlayerShip();
    const bool level =
        isHotKeyPressed(widgetName, "level_coolant", qel::vk::kReturn, "returns all coolant controls to zero");
    if (level)
        theConsoleLog.Add(kLogColour, "level_coolant key (enter) pressed.");

    int64_t freeCoolant = 0;
    glm::vec4 active = kNoShipActive;
    glm::vec4 reserve = kNoShipReserve;
    if (ship != nullptr) {
        const uint32_t now = InputClockMilliseconds();
        SpaceObject* copy = ConsoleShipCopy();
        freeCoolant = CoolantCount(ReadInt(ship->data_set, kSystemCoolantAvailable));
        for (int32_t e = 0; e < kEngSystemCount; ++e) {
            IntChangeTracker& tracker = console.engineeringTrackers.coolant[static_cast<size_t>(e)];
            if (level) {
                // Shown empty at once; sent now, and again by the tracker once left alone.
                if (copy != nullptr)
                    WriteInt(copy->data_set, kSystemCoolantUsed, 0, e);
                tracker.Set(0, now);
                SendCoolant(e, 0);
            }
            freeCoolant -= tracker.value;
        }
        active = DotColour(*ship, kCoolantDotActiveColor, kNoShipActive);
        reserve = DotColour(*ship, kCoolantDotReserveColor, kNoShipReserve);
    }

    // Side by side in a box less than twice as high as wide, else stacked.
    const int32_t width = rect.Width();
    const int32_t height = rect.Height();
    const bool sideBySide = height < 2 * width;
    for (int32_t e = 0; e < kEngSystemCount; ++e) {
        IntRect box = rect;
        if (sideBySide) {
            box.left = rect.left + e * (width / kEngSystemCount);
            box.right = box.left + width / kEngSystemCount;
        } else {
            box.top = rect.top + e * (height / kEngSystemCount);
            box.bottom = box.top + height / kEngSystemCount;
        }
        ViewEngHeatControlsDrawBody(console, e, box, ship, static_cast<int32_t>(std::max(freeCoolant, -kMaxCoolant)),
                                    active, reserve);
    }
}
