#include "game/widgets/FighterControl.h"

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/net/SignalMessageCrew.h"
#include "game/ui/ControllerInput.h"
#include "game/ui/KeyNames.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ConsoleWidgetSupport.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/world/ShipKeys.h"
#include "game/world/SpaceObject.h"

#include <algorithm>

namespace {

constexpr int kLayer = UIContext::kControlLayer;
constexpr int kCaptionLayer = kLayer + 1;
constexpr const char* kButtonFont = "gui-2";
constexpr const char* kCaptionFont = "gui-1";
constexpr const char* kClickSound = "gui_button";
constexpr const char* kKeyCaptionPrefix = "fighter_control_";
// The script hears the one-shots it handles itself as this event.
constexpr const char* kScriptEventTag = "press_fighter_button";

constexpr const char* kByButton = "button";
constexpr const char* kByKey = "key";
constexpr const char* kByJoy = "joy";

// Key tags all begin "KEY_": the caption shows what follows.
constexpr size_t kKeyTagPrefixLength = 4;
// The bottom band of a button that names its key, and its inset from the right.
constexpr int32_t kKeyCaptionHeight = 20;
constexpr int32_t kKeyCaptionInset = 10;
// The lower part of a button that shows the torpedo type or shield balance.
constexpr float kButtonDetailShare = 0.66f;
constexpr float kButtonDetailDim = 0.68f;
// The detail keeps this far from the label and the key caption, pixels.
constexpr int32_t kButtonDetailGap = 6;

const glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const glm::vec4 kSpeedColour{0.0f, 1.0f, 0.0f, 1.0f};

constexpr int32_t kLetter(char c) { return qel::vk::kLetterA + (c - 'A'); }

struct ButtonRow {
    const char* label;
    int32_t id;
    const char* hotKey;
    int32_t defaultKey;
    const char* description;
    const char* action;  // the controller's
    bool toggle;         // held key and check button; else a one-shot push button
};

constexpr ButtonRow kButtons[kFighterButtonCount] = {
    {"Boost", 2501, "fighter_boost", kLetter('B'), "makes a player fighter boost", "Fighter Boost", true},
    {"Thrust", 2502, "fighter_thrust", kLetter('K'), "makes a player fighter thrust", "Fighter Thrust", true},
    {"Shoot", 2503, "fighter_shoot", kLetter('S'), "hold down, a player fighter shoots at a locked target",
     "Fighter Shoot", true},
    {"Torpedo", 2504, "fighter_torpedo", kLetter('T'), "makes a player fighter launch a torpedo", "Fighter Torp",
     false},
    {"Dock", 2505, "fighter_dock", kLetter('D'), "makes a player fighter try to dock", "Fighter Dock", false},
    {"TorpType", 2506, "fighter_torp_type", kLetter('P'), "makes a player fighter select next carried torpedo type",
     "Fighter Torp Type", false},
    {"Eject", 2507, "fighter_eject", kLetter('L'), "makes a player fighter try to eject", "Fighter Eject", false},
    {"ShldBalance", 2508, "fighter_shld_balance", kLetter('O'),
     "makes a player fighter switch shield balance setting", "Fighter Shld Balance", false},
};

// The server's flag of each toggle, in button order.
constexpr const DataKey* kToggleFlags[] = {&playership::kFighterBoostFlag, &playership::kFighterThrustFlag,
                                           &playership::kFighterShootFlag};


// --- Layout ------------------------------------------------------------------

struct FighterLayout {
    IntRect caption, speed, foreShield, aftShield;
    std::array<IntRect, kFighterButtonCount> buttons;
};

// Tall boxes stack everything beside an upright speed bar; wide ones put the
// bars in rows and the buttons in two rows of four, the second row running
// back from the right so the fifth button sits under the fourth.
FighterLayout LayOut(const IntRect& box)
{
    const int32_t L = box.left, T = box.top, R = box.right, B = box.bottom;
    FighterLayout layout;
    if (box.Width() < box.Height()) {
        layout.caption = {L, T, R, T + 50};
        layout.speed = {R - 10, T + 51, R, B};
        layout.foreShield = {L, T + 51, R - 11, T + 61};
        layout.aftShield = {L, B - 10, R - 11, B};
        const int32_t step = (B - T - 73) / static_cast<int32_t>(kFighterButtonCount);
        for (size_t i = 0; i < kFighterButtonCount; ++i) {
            const int32_t top = T + 62 + static_cast<int32_t>(i) * step;
            layout.buttons[i] = {L, top, R - 11, top + step};
        }
        return layout;
    }
    layout.caption = {L, T, R, T + 35};
    layout.speed = {L, T + 36, R, T + 46};
    layout.foreShield = {L, T + 47, R, T + 57};
    layout.aftShield = {L, T + 58, R, T + 68};
    constexpr int32_t kPerRow = static_cast<int32_t>(kFighterButtonCount) / 2;
    const int32_t width = box.Width() / kPerRow;
    const int32_t height = (B - T - 69) / 2;
    for (int32_t i = 0; i < static_cast<int32_t>(kFighterButtonCount); ++i) {
        const int32_t row = i / kPerRow;
        const int32_t column = row == 0 ? i : static_cast<int32_t>(kFighterButtonCount) - 1 - i;
        const int32_t left = L + column * width;
        const int32_t top = T + 69 + row * height;
        layout.buttons[static_cast<size_t>(i)] = {left, top, left + width, top + height};
    }
    return layout;
}

// --- Bars --------------------------------------------------------------------

// The bar shrinks towards its middle along its longer side as the share falls.
void DrawShareBar(UIContext& ui, const IntRect& rect, float share, const glm::vec4& colour)
{
    const float cut = 1.0f - std::clamp(share, 0.0f, 1.0f);
    float left = static_cast<float>(rect.left), right = static_cast<float>(rect.right);
    float top = static_cast<float>(rect.top), bottom = static_cast<float>(rect.bottom);
    if (rect.Width() > rect.Height()) {
        const float inset = static_cast<float>(rect.Width() / 2) * cut;
        left += inset;
        right -= inset;
    } else {
        const float inset = static_cast<float>(rect.Height() / 2) * cut;
        top += inset;
        bottom -= inset;
    }
    ui.FillRect(left, top, right, bottom, colour, kLayer);
}

// The best speed seen of the ship: a console keeps it in its copy of the
// ship; the server's own screen, whose ship is the world itself, in the
// panel's memory beside the world's record.
float BestSpeedSeen(const FighterControlState& panel, const SpaceObject& ship)
{
    const float recorded = ReadFiniteFloat(ship.data_set, playership::kFighterBestObservedSpeed);
    if (ConsoleShipCopy() == nullptr && panel.bestSpeedShip == ship.uniqueID)
        return std::max(recorded, panel.bestSpeed);
    return recorded;
}

void RecordBestSpeed(FighterControlState& panel, const SpaceObject& ship)
{
    if (SpaceObject* copy = ConsoleShipCopy()) {
        WriteFloat(copy->data_set, playership::kFighterBestObservedSpeed, ship.cur_speed);
        return;
    }
    panel.bestSpeedShip = ship.uniqueID;
    panel.bestSpeed = ship.cur_speed;
}

// Full at the best speed seen so far, which a faster ship raises.
void DrawSpeedBar(UIContext& ui, FighterControlState& panel, const SpaceObject& ship, const IntRect& rect)
{
    float ratio = ship.cur_speed / std::max(1.0f, BestSpeedSeen(panel, ship));
    if (ratio > 1.0f) {
        RecordBestSpeed(panel, ship);
        ratio = 1.0f;
    }
    DrawShareBar(ui, rect, ratio, kSpeedColour);
}

// Red when down, green when full.
void DrawShieldBar(UIContext& ui, const SpaceObject& ship, const IntRect& rect, int32_t facing)
{
    const float maximum = ReadFiniteFloat(ship.data_set, shipkeys::kShieldMaxVal, facing);
    const float value = ReadFiniteFloat(ship.data_set, shipkeys::kShieldVal, facing);
    const float share = maximum > 0.0f ? std::clamp(value / maximum, 0.0f, 1.0f) : 0.0f;
    DrawShareBar(ui, rect, share, glm::vec4(1.0f - share, share, 0.0f, 1.0f));
}

// The name of the key a hot key is bound to; empty when it is not bound to
// a key of the table.
std::string BoundKeyName(const std::string& internalName)
{
    const HotKey* hotKey = KeyVal::Find(internalName);
    if (!hotKey)
        return "";
    const std::string& tag = keyCodeToTag(hotKey->primary);
    return tag.size() > kKeyTagPrefixLength ? tag.substr(kKeyTagPrefixLength) : "";
}

// The bottom band of a button where its key's name stands, right-aligned.
IntRect KeyCaptionBand(const IntRect& rect)
{
    return {rect.left, rect.bottom - kKeyCaptionHeight, rect.right - kKeyCaptionInset, rect.bottom};
}

// Where the name of the button's key stands; an empty box at the band's
// right end when it has none.
IntRect KeyCaptionInk(UIContext& ui, const IntRect& rect, const std::string& hotKeyName)
{
    const IntRect band = KeyCaptionBand(rect);
    const std::string name = BoundKeyName(hotKeyName);
    if (name.empty())
        return {band.right, band.top, band.right, band.bottom};
    return ui.TextInk(ui.GetFont(kCaptionFont), band, name, 1);
}

// --- Buttons -----------------------------------------------------------------

void Click(std::string& inputKind, FighterButtonState& button, int32_t value)
{
    PlayGUISound(kClickSound);
    button.value = value;
    inputKind = kByButton;
}

// What the torpedo-type and shield-balance buttons show under their label.
std::string ButtonDetail(FighterButton button, const SpaceObject& ship)
{
    if (button == FighterButton::TorpType) {
        const std::string type = ReadString(ship.data_set, shipkeys::kTorpedoTubeCurrentType);
        return type.empty() ? "Homing" : type;
    }
    if (button == FighterButton::ShldBalance) {
        const float fore = ReadFloat(ship.data_set, playership::kEngControlValue, 6);
        const float aft = ReadFloat(ship.data_set, playership::kEngControlValue, 7);
        return fore > aft ? "All Fwd" : fore < aft ? "All Aft" : "Balanced";
    }
    return "";
}

// In the button's lower part below the label, left of the key caption; in
// a button too short for a line under the label, beside it, so that none of
// them is written over another.
void DrawButtonDetail(UIContext& ui, const IntRect& rect, const std::string& label, const std::string& hotKeyName,
                      const std::string& detail)
{
    QelBitmapFont* font = ui.GetFont(kCaptionFont);
    if (detail.empty() || !font)
        return;
    const IntRect labelInk = ui.TextInk(ui.GetFont(kButtonFont), uiButtonTextBox(rect), label);
    IntRect lower = rect;
    lower.top = rect.bottom - static_cast<int32_t>(kButtonDetailShare * static_cast<float>(rect.Height()));
    lower.right = KeyCaptionInk(ui, rect, hotKeyName).left - kButtonDetailGap;
    if (rect.bottom - labelInk.bottom >= font->GetLineStep())
        lower.top = std::max(lower.top, labelInk.bottom);
    else
        lower.left = labelInk.right + kButtonDetailGap;
    glm::vec4 colour = ui.mainColour;
    colour.r *= kButtonDetailDim;
    colour.g *= kButtonDetailDim;
    colour.b *= kButtonDetailDim;
    DrawCentredText(ui, kCaptionFont, lower, detail, colour, kCaptionLayer);
}

void DrawButtons(ConsoleState& console, const FighterLayout& layout, const SpaceObject* ship, bool enabled)
{
    UIContext& ui = console.UI();
    FighterControlState& panel = console.fighterControl;
    for (size_t i = 0; i < kFighterButtonCount; ++i) {
        const ButtonRow& row = kButtons[i];
        FighterButtonState& state = panel.buttons[i];
        ui.SetCurrentRect(layout.buttons[i]);
        if (row.toggle) {
            if (uiCheckButton(ui, row.id, row.label, kButtonFont, state.value != 0, enabled, kLayer))
                Click(console.lastInputKind, state, state.value != 0 ? 0 : 1);
        } else {
            state.value = 0;
            if (uiButton(ui, row.id, row.label, kButtonFont, enabled, kLayer))
                Click(console.lastInputKind, state, 1);
        }
        const std::string keyName = std::string(kKeyCaptionPrefix) + row.hotKey;
        if (ship)
            DrawButtonDetail(ui, layout.buttons[i], row.label, keyName,
                             ButtonDetail(static_cast<FighterButton>(i), *ship));
        DrawKeyCaption(ui, layout.buttons[i], keyName);
    }
}

// --- Keys and controller -----------------------------------------------------

// The ship's flags set the toggles as they move. A toggle the crew has just
// changed keeps its new value until then: on the server's own screen the
// flag moves only once the server has handled the signal.
void FollowShipFlags(FighterControlState& panel, const SpaceObject& ship)
{
    for (size_t i = 0; i < std::size(kToggleFlags); ++i) {
        const auto flag = static_cast<int32_t>(ReadInt(ship.data_set, *kToggleFlags[i]));
        FighterButtonState& state = panel.buttons[i];
        if (state.shipFlag != flag) {
            state.value = flag;
            state.shipFlag = flag;
        }
    }
}

// A held toggle follows its input only while that kind of input acted last,
// so an idle key does not undo a click and an idle stick does not undo a key.
void FollowHeld(std::string& inputKind, FighterButtonState& state, bool held, const char* kind)
{
    if (held)
        inputKind = kind;
    if (inputKind != kind)
        return;
    if (held && state.previous == 0)
        state.value = 1;
    else if (!held && state.previous != 0)
        state.value = 0;
}

void ReadHotKeys(ConsoleState& console, const std::string& context)
{
    FighterControlState& panel = console.fighterControl;
    for (size_t i = 0; i < kFighterButtonCount; ++i) {
        const ButtonRow& row = kButtons[i];
        if (row.toggle) {
            FollowHeld(console.lastInputKind, panel.buttons[i],
                       isHotKeyHeld(context, row.hotKey, row.defaultKey, row.description), kByKey);
        } else if (isHotKeyPressed(context, row.hotKey, row.defaultKey, row.description)) {
            PlayGUISound(kClickSound);
            panel.buttons[i].value = 1;
            console.lastInputKind = kByKey;
        }
    }
}

void ReadController(ConsoleState& console)
{
    FighterControlState& panel = console.fighterControl;
    ControllerInput& controller = theControllerInput;
    if (controller.controllerDisabled)
        return;
    for (size_t i = 0; i < kFighterButtonCount; ++i) {
        const ButtonRow& row = kButtons[i];
        const bool down = controller.IsActionPressed(row.action);
        if (row.toggle) {
            FollowHeld(console.lastInputKind, panel.buttons[i], down, kByJoy);
            continue;
        }
        if (down)
            console.lastInputKind = kByJoy;
        if (console.lastInputKind != kByJoy)
            continue;
        bool& wasDown = panel.actionDown[i];
        if (down && !wasDown)
            panel.buttons[i].value = 1;
        wasDown = down;
    }
}

// The bound keys' names joined; keys bound to nothing are left out.
std::string JoinKeyNames(std::initializer_list<const char*> hotKeys)
{
    std::string joined;
    for (const char* hotKey : hotKeys) {
        const std::string name = BoundKeyName(hotKey);
        if (name.empty())
            continue;
        if (!joined.empty())
            joined += ",  ";
        joined += name;
    }
    return joined;
}

}  // namespace

void ViewFighterControlDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    FighterControlState& panel = console.fighterControl;
    const bool enabled = !GUIBoxManager::IsEditKeyHeld();
    SpaceObject* ship = ConsolePlayerShip();
    const FighterLayout layout = LayOut(rect);
    if (ship) {
        FollowShipFlags(panel, *ship);
        ui.DrawText(ui.GetFont(kCaptionFont), layout.caption, FighterSteerKeys(), kWhite, kLayer);
        DrawSpeedBar(ui, panel, *ship, layout.speed);
        DrawShieldBar(ui, *ship, layout.foreShield, 0);
        DrawShieldBar(ui, *ship, layout.aftShield, 1);
    }
    DrawButtons(console, layout, ship, enabled);
    FighterButtons(panel, ship);
    ReadHotKeys(console, widgetName);
    FighterButtons(panel, ship);
    ReadController(console);
    FighterButtons(panel, ship);
}

void FighterButtons(FighterControlState& panel, const SpaceObject* ship)
{
    if (!ship)
        return;
    auto changed = [&panel](FighterButton button) {
        const FighterButtonState& state = panel[button];
        return state.value != state.previous;
    };
    auto value = [&panel](FighterButton button) { return panel[button].value; };

    // A console shows its toggles in its copy of the ship at once.
    if (SpaceObject* copy = ConsoleShipCopy())
        for (size_t i = 0; i < std::size(kToggleFlags); ++i)
            if (changed(static_cast<FighterButton>(i)))
                WriteInt(copy->data_set, *kToggleFlags[i], panel.buttons[i].value);
    if (changed(FighterButton::Boost))
        SendSignal(FighterBoostSignal{value(FighterButton::Boost)});
    if (changed(FighterButton::Thrust))
        SendSignal(FighterThrustSignal{value(FighterButton::Thrust)});
    if (changed(FighterButton::Shoot))
        SendSignal(FighterShootSignal{value(FighterButton::Shoot)});
    // The server launches and docks on the 1 only; the 0 of the next frame
    // tells it the button is up again.
    if (changed(FighterButton::Torpedo))
        SendSignal(FighterTorpedoSignal{value(FighterButton::Torpedo)});
    if (changed(FighterButton::Dock))
        SendSignal(FighterDockRequestSignal{value(FighterButton::Dock)});
    // The script's own buttons are raised once, as the press ends.
    const std::pair<FighterButton, const char*> scriptButtons[] = {{FighterButton::TorpType, "torp_type"},
                                                                   {FighterButton::Eject, "eject"},
                                                                   {FighterButton::ShldBalance, "shield_balance"}};
    for (const auto& [button, subTag] : scriptButtons)
        if (changed(button) && value(button) == 0)
            SendSignal(ConsoleScriptEventSignal{ship->uniqueID, kScriptEventTag, subTag});
    for (FighterButtonState& state : panel.buttons)
        state.previous = state.value;
}

std::string FighterSteerKeys()
{
    return "  STEER " +
           JoinKeyNames({"helm_free_3d_steer_up", "helm_free_3d_steer_down", "helm_free_3d_steer_left",
                         "helm_free_3d_steer_right"}) +
           "^  ROLL " + JoinKeyNames({"helm_free_3d_roll_left", "helm_free_3d_roll_right"});
}

void DrawKeyCaption(UIContext& ui, const IntRect& rect, const std::string& hotKeyName)
{
    const std::string name = BoundKeyName(hotKeyName);
    if (name.empty())
        return;
    ui.DrawText(ui.GetFont(kCaptionFont), KeyCaptionBand(rect), name, ui.mainColour,
                          kCaptionLayer, 1);
}
