#include "game/widgets/JumpControls.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessage.h"
#include "game/net/SignalMessageCrew.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/world/ShipMechanics.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kLayer = UIContext::kControlLayer;
constexpr const char* kFont = "gui-2";
constexpr int32_t kEntryMode = 0;
constexpr int32_t kConfirmMode = 1;
constexpr int32_t kSentMode = 3;

// Control ids.
constexpr int32_t kDirectionSliderId = 2601;
constexpr int32_t kDistanceSliderId = 2602;
constexpr int32_t kJumpButtonId = 2603;
constexpr int32_t kConfirmButtonId = 2601;
constexpr int32_t kCancelButtonId = 2602;
constexpr int32_t kForwardArrowId = 2251;
constexpr int32_t kBackwardArrowId = 2252;

// The slider stops short of a full turn; a typed heading may reach it.
constexpr float kDirectionSliderMax = 356.0f;
constexpr int32_t kDirectionMax = 360;
// Distances in thousands of units. The slider is steep at its far end: its
// position p gives 1 + 499 (p / 500)^4, so short hops get most of its travel.
constexpr float kDistanceMin = 1.0f;
constexpr float kDistanceMax = 500.0f;
constexpr float kDistanceCurvePower = 4.0f;
// The read-out shows the cost of the whole distance in energy units.
constexpr float kEnergyReadoutScale = 1000.0f;
const glm::vec4 kUnaffordable{1.0f, 0.0f, 0.0f, 1.0f};

// The entry grid: 4 columns in 2 rows, the labels' column 20 % wide.
constexpr int32_t kEntryColumns = 4;
constexpr int32_t kEntryRows = 2;
constexpr float kLabelColumnPercent = 20.0f;

// The quick jump's recharge bar.
constexpr int32_t kRechargeSegments = 10;
const glm::vec4 kRechargeLit{0.2f, 1.0f, 0.2f, 1.0f};
const glm::vec4 kRechargeDark{0.4f, 0.4f, 0.4f, 1.0f};
constexpr float kQuickJumpForward = 1.0f;
constexpr float kQuickJumpBackward = -1.0f;

// The dissolve's cells: one split column somewhere in the middle 40 % of the
// screen, and bands 15 to 35 pixels high.
constexpr float kSplitMin = 0.3f;
constexpr float kSplitSpan = 0.4f;
constexpr float kBandMin = 15.0f;
constexpr float kBandSpan = 20.999f;
constexpr uint64_t kTicksPerSecond = 30;

float Uniform()
{
    return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX);
}

bool JumpAllowed(const SpaceObject* ship)
{
    return ship && (ReadString(ship->data_set, playership::kDockState) == playership::kDockStateUndocked ||
                    ReadInt(ship->data_set, playership::kJumpWhileDocked) != 0);
}

std::string WholeNumber(float value)
{
    return std::to_string(static_cast<int64_t>(value));
}

// A typed number, held within the range; what atoi makes of the text.
float TypedValue(const std::string& text, float minimum, float maximum)
{
    return std::clamp(static_cast<float>(std::atoi(text.c_str())), minimum, maximum);
}

// A slider bound to the value; true when it moved the value this frame.
bool SliderChanged(UIContext& ui, const IntRect& cell, int32_t id, float minimum, float maximum, float& value)
{
    ui.SetCurrentRect(cell);
    const float before = value;
    uiSlider(ui, id, minimum, maximum, value, kLayer, "");
    return value != before;
}

// A text box bound to the field; true when this frame's typing changed its text.
bool TextChanged(UIContext& ui, const IntRect& cell, Edline& field)
{
    ui.SetCurrentRect(cell);
    const std::string before = field.text;
    uiTextBox(ui, "", field, kLayer);
    return field.text != before;
}

void DrawEnergyReadout(UIContext& ui, const IntRect& cell, const JumpEffectState& jump)
{
    const SpaceObject* ship = ConsolePlayerShip();
    if (!ship)
        return;
    const float cost = GetJumpEnergyCost(*ship) * jump.distance * kEnergyReadoutScale;
    const bool affordable = !(cost > ReadFloat(ship->data_set, playership::kEnergy));
    DrawCentredText(ui, kFont, cell, "ENERGY:" + WholeNumber(cost), affordable ? ui.mainColour : kUnaffordable,
                    kLayer);
}

void DrawEntry(UIContext& ui, const IntRect& rect, JumpEffectState& jump)
{
    std::vector<IntRect> cells{rect};
    SplitRectGrid(cells, kEntryColumns, kEntryRows, kLabelColumnPercent);
    const glm::vec4 main = ui.mainColour;

    DrawCentredText(ui, kFont, cells[0], "Direction", main, kLayer);
    if (SliderChanged(ui, cells[1], kDirectionSliderId, 0.0f, kDirectionSliderMax, jump.direction))
        jump.directionEdit->SetText(WholeNumber(jump.direction));
    if (TextChanged(ui, cells[2], *jump.directionEdit))
        jump.direction = TypedValue(jump.directionEdit->text, 0.0f, static_cast<float>(kDirectionMax));
    DrawEnergyReadout(ui, cells[3], jump);

    DrawCentredText(ui, kFont, cells[4], "Distance(K)", main, kLayer);
    if (SliderChanged(ui, cells[5], kDistanceSliderId, kDistanceMin, kDistanceMax, jump.distanceSlider)) {
        jump.distance = kDistanceMin + (kDistanceMax - kDistanceMin) *
                                           std::pow(jump.distanceSlider / kDistanceMax, kDistanceCurvePower);
        jump.distanceEdit->SetText(WholeNumber(jump.distance));
    }
    if (TextChanged(ui, cells[6], *jump.distanceEdit))
        jump.distance = TypedValue(jump.distanceEdit->text, kDistanceMin, kDistanceMax);

    ui.SetCurrentRect(cells[7]);
    const bool clicked = uiButton(ui, kJumpButtonId, "JUMP", kFont, JumpAllowed(ConsolePlayerShip()), kLayer);
    // The key works with the button disabled: the server has the last word.
    if (clicked || isHotKeyPressed("", "press_jump_button", qel::vk::kReturn, "clicks JUMP button on jump controls")) {
        PlayGUISound("gui_button");
        jump.mode = kConfirmMode;
    }

    // Tab moves between the two typed fields, so it must work while one of them has the keys.
    KeyVal::AnswerNextWhileTyping();
    if (isHotKeyPressed("", "switch_to_next_jump_typein", qel::vk::kTab,
                        "toggles active text typein for jump controls")) {
        const int32_t distanceId = jump.distanceEdit->id;
        ui.textEntryOwner =
            ui.textEntryOwner == distanceId ? jump.directionEdit->id : distanceId;
    }

    // A click anywhere but on the two fields ends typing into them.
    int32_t x = 0, y = 0;
    if (ui.LeftPressed() && ui.MousePosition(x, y) && !cells[2].Contains(x, y) &&
        !cells[6].Contains(x, y) &&
        (ui.textEntryOwner == jump.directionEdit->id ||
         ui.textEntryOwner == jump.distanceEdit->id))
        ui.textEntryOwner = 0;
}

void DrawConfirm(UIContext& ui, const IntRect& rect, JumpEffectState& jump)
{
    std::vector<IntRect> cells{rect};
    SplitRectGrid(cells, 2, 1, 50.0f);
    ui.SetCurrentRect(cells[0]);
    if (uiButton(ui, kConfirmButtonId, "Confirm", kFont, true, kLayer) ||
        isHotKeyPressed("", "confirm_jump_button", qel::vk::kReturn, "clicks Confirm button on jump controls")) {
        SendWithSound("gui_button", JumpSignal{jump.distance, jump.direction});
        jump.mode = kSentMode;
        jump.requestHeardAt = InputClockMilliseconds();
        return;
    }
    ui.SetCurrentRect(cells[1]);
    if (uiButton(ui, kCancelButtonId, "Cancel", kFont, true, kLayer) ||
        isHotKeyPressed("", "cancel_jump_button", qel::vk::kEscape, "clicks Cancel button on jump controls")) {
        PlayGUISound("gui_button");
        jump.mode = kEntryMode;
    }
}

// A request the server let pass without a word goes back to the entry.
void ExpireUnansweredRequest(JumpEffectState& jump)
{
    if (jump.mode == kSentMode && jump.countdown <= 0 &&
        InputClockMilliseconds() - jump.requestHeardAt >= kJumpAnswerMilliseconds)
        jump.mode = kEntryMode;
}

}  // namespace

void SplitRectGrid(std::vector<IntRect>& rects, int32_t columns, int32_t rows, float firstColumnPercent)
{
    if (rects.empty() || columns < 1 || rows < 1)
        return;
    const IntRect whole = rects.front();
    const int32_t width = whole.Width();
    const int32_t rowHeight = whole.Height() / rows;
    const auto firstWidth = static_cast<int32_t>(static_cast<float>(width) * firstColumnPercent / 100.0f);
    const int32_t otherWidth = columns > 1 ? (width - firstWidth) / (columns - 1) : 0;
    std::vector<IntRect> grid;
    grid.reserve(static_cast<size_t>(columns * rows));
    for (int32_t row = 0; row < rows; ++row) {
        const int32_t top = whole.top + row * rowHeight;
        int32_t left = whole.left;
        for (int32_t column = 0; column < columns; ++column) {
            const int32_t right = left + (column == 0 ? firstWidth : otherWidth);
            grid.push_back(IntRect{left, top, right, top + rowHeight});
            left = right;
        }
    }
    rects.erase(rects.begin());
    rects.insert(rects.begin(), grid.begin(), grid.end());
}

void ViewHelmJumpDraw(ConsoleState& console, IntRect& rect, std::string)
{
    UIContext& ui = console.UI();
    JumpEffectState* jump = console.renderer ? &console.renderer->jumpEffect : nullptr;
    if (!jump || !jump->directionEdit || !jump->distanceEdit)
        return;
    if (jump->countdown > 0) {
        DrawCentredText(ui, kFont, rect, "Seconds to jump: " + std::to_string(jump->countdown), ui.mainColour,
                        kLayer);
        return;
    }
    ExpireUnansweredRequest(*jump);
    if (jump->mode == kEntryMode)
        DrawEntry(ui, rect, *jump);
    else if (jump->mode == kConfirmMode)
        DrawConfirm(ui, rect, *jump);
}

void ViewQuickJumpDraw(ConsoleState& console, IntRect& rect, std::string)
{
    const SpaceObject* ship = ConsolePlayerShip();
    if (!ship)
        return;
    const float recharge = ReadFloat(ship->data_set, playership::kQuickJumpRechargeState);
    const bool enabled = JumpAllowed(ship);
    const int32_t third = rect.Height() / 3;
    UIContext& ui = console.UI();

    ui.SetCurrentRectEdges(rect.left, rect.top, rect.right, rect.top + third);
    if (uiArrowButton(ui, kForwardArrowId, 0, enabled, kLayer))
        SendSignal(QuickJumpSignal{kQuickJumpForward});
    ui.SetCurrentRectEdges(rect.left, rect.top + 2 * third, rect.right, rect.top + 3 * third);
    if (uiArrowButton(ui, kBackwardArrowId, 2, enabled, kLayer))
        SendSignal(QuickJumpSignal{kQuickJumpBackward});

    // The bar fills upward from the bottom arrow, one segment per tenth recharged.
    const int32_t segment = third / kRechargeSegments;
    const int32_t base = rect.top + 2 * third;
    for (int32_t i = 0; i < kRechargeSegments; ++i) {
        const bool lit = recharge * static_cast<float>(kRechargeSegments) > static_cast<float>(i);
        const int32_t bottom = base - i * segment;
        ui.FillRect(static_cast<float>(rect.left), static_cast<float>(bottom - segment + 1),
                    static_cast<float>(rect.right), static_cast<float>(bottom), lit ? kRechargeLit : kRechargeDark);
    }
}

void SetJumpTime(RenderManager& view, int32_t seconds)
{
    JumpEffectState& jump = view.jumpEffect;
    jump.countdown = seconds;
    jump.requestHeardAt = InputClockMilliseconds();
    if (view.console.consoleName.find("main") != std::string::npos)
        view.PlayJumpSound(seconds - 1);
}

void StartJumpEffect(RenderManager& view, uint64_t seconds)
{
    UIContext& ui = view.UI();
    JumpEffectState& jump = view.jumpEffect;
    view.PlayJumpSound(0);
    jump.startTick = theSimulation ? static_cast<uint64_t>(std::max<int64_t>(theSimulation->TickCount(), 0)) : 0;
    jump.durationTicks = seconds * kTicksPerSecond;
    jump.countdown = 0;
    jump.mode = JumpEffectState::kDissolveMode;

    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();
    const auto split = static_cast<int32_t>(static_cast<float>(width) * (kSplitMin + kSplitSpan * Uniform()));
    jump.cells.clear();
    for (int32_t y = 0; y < height;) {
        const int32_t next = y + static_cast<int32_t>(Uniform() * kBandSpan + kBandMin);
        jump.cells.push_back(IntRect{0, y, split, next});
        jump.cells.push_back(IntRect{split, y, width, next});
        y = next;
    }
}

void ResetJumpControls(RenderManager& view)
{
    JumpEffectState& jump = view.jumpEffect;
    jump.mode = kEntryMode;
    jump.countdown = 0;
    jump.cells.clear();
    view.PlayJumpSound(0);
}
