#include "game/widgets/ScienceDataWidget.h"

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/StationKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/net/SignalMessageCrew.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/GUISound.h"
#include "game/ui/KeyVal.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ScienceConsoleState.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"
#include "helper/ColorParse.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

using namespace playership;
using namespace shipkeys;

constexpr int32_t kButtonId = 1110;
constexpr int32_t kButtonHeight = 35;
constexpr int32_t kRowHeight = 25;
// Text and buttons keep this far inside the panel's frame, pixels.
constexpr int32_t kInnerMargin = 6;
constexpr int kFrameLayer = 1001;
constexpr int kTextLayer = 1002;
constexpr int kProgressLayer = 1003;
// The label of a read-out ends at this share of its row; the value fills the rest.
constexpr float kLabelSplit = 0.7f;
// The bottom text keeps this much room above the progress line.
constexpr int32_t kBottomTextMargin = 10;
constexpr float kTwoPi = 6.2831854820251465f;
constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;
// Integer read-outs stop here: far beyond any range or shield, and within
// what a whole number can show.
constexpr double kLargestWholeNumber = 1e15;

constexpr const char* kFont = "gui-1";
constexpr const char* kButtonFont = "gui-2";
constexpr const char* kStartColour = "#4f4";
constexpr const char* kProgressColour = "#cfc";
constexpr const char* kNoShipText = "Scan network not detected.  Check that you are aboard a ship.";
constexpr const char* kNoSelectionText = "Select a target to scan.";

// The system read-outs in system order: weapons, engines, sensors, shields.
constexpr const char* kSystemLabels[] = {"WEAP", "ENGN", "SENS", "SHLD"};

// The integer part of a value as text; what is no number reads as 0.
std::string WholeNumber(double value)
{
    if (!std::isfinite(value))
        return "0";
    return std::to_string(static_cast<int64_t>(std::clamp(value, -kLargestWholeNumber, kLargestWholeNumber)));
}

// Bearing in degrees from the ship to the offset: 0 along +z, 90 along +x.
float BearingDegrees(const glm::vec3& d)
{
    float bearing = std::atan2(d.x, d.z);
    if (bearing < 0.0f)
        bearing += kTwoPi;
    if (bearing >= kTwoPi)
        bearing -= kTwoPi;
    return static_cast<float>(bearing * kDegreesPerRadian);
}

// The share of a system still working, 0..1; a system that can take no
// damage at all has nothing left to show.
float SystemHealth(const SpaceObject& object, int32_t system)
{
    const float maximum = ReadFloat(object.data_set, kSystemMaxDamage, system);
    const float damage = ReadFloat(object.data_set, kSystemDamage, system);
    if (!(maximum > 0.0f) || !std::isfinite(damage))
        return 0.0f;
    return std::clamp(1.0f - damage / maximum, 0.0f, 1.0f);
}

void DrawLeft(UIContext& ui, const std::string& text)
{
    ui.DrawText(ui.GetFont(kFont), ui.CurrentRect(), text, ui.mainColour, kTextLayer, 0);
}

void DrawCentred(UIContext& ui, const IntRect& rect, const std::string& text)
{
    ui.DrawText(ui.GetFont(kFont), rect, text, ui.mainColour, kTextLayer, 2);
}

// A label and its value in the current rectangle, split at 0.7 of its width.
void DrawReadout(UIContext& ui, const std::string& label, const std::string& value)
{
    const IntRect& row = ui.CurrentRect();
    const int32_t split = row.left + static_cast<int32_t>(kLabelSplit * static_cast<float>(row.right - row.left));
    ui.DrawTextPair(kFont, label, value, split, ui.mainColour, ui.mainColour, kTextLayer);
}

void NextRow(UIContext& ui)
{
    ui.ShiftRectY(1, 0);
}

void NextColumn(UIContext& ui)
{
    ui.ShiftRectX(1, 0);
}

void NarrowCurrentRect(UIContext& ui, int32_t parts)
{
    IntRect rect = ui.CurrentRect();
    rect.right = rect.left + (rect.right - rect.left) / parts;
    ui.SetCurrentRect(rect);
}

void ScienceShieldRow(UIContext& ui, const SpaceObject& object, int32_t shield, const std::string& label)
{
    DrawReadout(ui, label, WholeNumber(std::max(0.0f, ReadFiniteFloat(object.data_set, kShieldVal, shield))));
}

void DrawShieldRows(UIContext& ui, const SpaceObject& object)
{
    const int64_t count = std::min<int64_t>(ReadInt(object.data_set, kShieldCount), shipkeys::kMaxShieldFacings);
    if (count <= 0)
        return;
    NextRow(ui);
    ui.PushRect();
    NarrowCurrentRect(ui, static_cast<int32_t>(count));
    if (count == 1) {
        ScienceShieldRow(ui, object, 0, "SHIELD");
    } else if (count == 2) {
        ScienceShieldRow(ui, object, 0, "FRNT SHLD");
        NextColumn(ui);
        ScienceShieldRow(ui, object, 1, "REAR SHLD");
    } else {
        for (int32_t i = 0; i < count; ++i) {
            ScienceShieldRow(ui, object, i, "SHD");
            NextColumn(ui);
        }
    }
    ui.PopRect();
}

void DrawStationArmour(UIContext& ui, const SpaceObject& object)
{
    const float armourMax = ReadFiniteFloat(object.data_set, station::kArmorMax);
    if (object.tick_type != "behav_station" || !(armourMax > 0.0f))
        return;
    NextRow(ui);
    DrawReadout(ui, "ARMOR", WholeNumber(ReadFiniteFloat(object.data_set, station::kArmor)) + " / " +
                             WholeNumber(armourMax));
}

// The four systems in a 2 x 2 grid, shown once the kind of scan that reveals
// system damage has been done.
void DrawSystemDamage(UIContext& ui, const SpaceObject& ship, const SpaceObject& object, const IntRect& panel,
                      const std::string& scanType)
{
    const bool shipLike = object.tick_type == "behav_npcship" || object.tick_type == "behav_playership";
    if (!shipLike || ScanTextOf(object, scanType, ship.side).empty() ||
        ReadString(ship.data_set, kScanTypeForSystemDamage) != scanType)
        return;
    NextRow(ui);
    ui.PushRect();
    NarrowCurrentRect(ui, 2);
    const bool fits = ui.CurrentRect().bottom <= panel.bottom;
    for (int32_t i = 0; i < 4; ++i) {
        if (fits)
            DrawReadout(ui, kSystemLabels[i], WholeNumber(100.0 * SystemHealth(object, i)) + "%");
        NextColumn(ui);
        if (i == 1) {
            ui.ShiftRectX(-2, 0);
            NextRow(ui);
        }
    }
    ui.PopRect();
}

std::string NameWithSide(const SpaceObject& object)
{
    const std::string name = ReadString(object.data_set, kNameTag);
    return object.side.empty() ? name : name + " (" + object.side + ")";
}

void ScienceSelectionPanel(UIContext& ui, const IntRect& panel, const SpaceObject& ship, const SpaceObject& object,
                           const std::string& scanType)
{
    ui.SetCurrentRectEdges(panel.left, panel.top, panel.right, panel.top + kRowHeight);
    if (ScanTextOf(object, kInitialScanType, ship.side).empty()) {
        DrawLeft(ui, "unscanned contact");
        return;
    }
    DrawLeft(ui, NameWithSide(object));
    ui.DrawText(ui.GetFont(kFont), ui.CurrentRect(),
                ReadString(object.data_set, kHullSide) + " " + ReadString(object.data_set, kHullName),
                ui.mainColour, kTextLayer, 1);

    const glm::vec3 d = object.pos - ship.pos;
    NextRow(ui);
    ui.PushRect();
    NarrowCurrentRect(ui, 2);
    DrawLeft(ui, "RANGE: " + WholeNumber(glm::length(d)));
    NextColumn(ui);
    DrawLeft(ui, "BEARING: " + WholeNumber(BearingDegrees(d)));
    ui.PopRect();

    NextRow(ui);
    DrawLeft(ui, WholeNumber(std::fabs(d.y)) + (d.y < 0.0f ? "m Below You" : "m Above You"));

    DrawShieldRows(ui, object);
    DrawStationArmour(ui, object);
    DrawSystemDamage(ui, ship, object, panel, scanType);
}

void SetButtonRect(UIContext& ui, const IntRect& rect)
{
    ui.SetCurrentRectEdges(rect.left, rect.bottom - kButtonHeight, rect.right, rect.bottom);
}

std::string StartLabel(const std::string& scanType)
{
    if (scanType == kInitialScanType)
        return "Start Initial Scan";
    std::string type = scanType;
    if (!type.empty())
        type[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(type[0])));
    return "Start " + type + " Scan";
}

void SendScanCommand(uint64_t targetId, const char* command, const std::string& scanType)
{
    PlayGUISound("gui_tab");
    SendSignal(ScanCommandSignal{targetId, command, scanType});
}

void ScienceScanStartButton(ConsoleState& console, const IntRect& rect, const SpaceObject& object,
                            const std::string& widgetName, const std::string& scanType)
{
    UIContext& ui = console.UI();
    SetButtonRect(ui, rect);
    ui.nextControlColour = kStartColour;
    if (!uiButton(ui, kButtonId, StartLabel(scanType), kButtonFont, true, kTextLayer) &&
        !isHotKeyPressed(widgetName, "start_sci_scan", qel::vk::kReturn, "start science scan"))
        return;
    SendScanCommand(object.uniqueID, "start", scanType);
    PendingScienceScans(console).push_back({object.uniqueID, scanType});
}

// The server's next queue replaces the list; nothing is forgotten here.
void ScienceScanCancelButton(UIContext& ui, const IntRect& rect, const SpaceObject& ship, const std::string& widgetName,
                             const std::string& scanType)
{
    SetButtonRect(ui, rect);
    if (!uiButton(ui, kButtonId, "Cancel Scans", kButtonFont, true, kTextLayer) &&
        !isHotKeyPressed(widgetName, "stop_sci_scan", qel::vk::kReturn, "stop science scan"))
        return;
    SendScanCommand(ReadUInt64(ship.data_set, kScienceTargetUid), "stop", scanType);
}

bool ScanListed(ConsoleState& console, const SpaceObject& object, const std::string& scanType)
{
    const std::vector<ScanQueueEntry>& scans = PendingScienceScans(console);
    return std::any_of(scans.begin(), scans.end(), [&](const ScanQueueEntry& scan) {
        return scan.objectId == object.uniqueID && scan.scanType == scanType;
    });
}

bool Scanning(float percent)
{
    return percent > 0.0f && percent < 1.0f;
}

// Whether the console still hears of the object. The host's world is the
// server's own, and an object that never moves is not sent again until it
// changes (the client keeps such objects for good, too): both are current.
bool ContactIsCurrent(const SpaceObject& object)
{
    if (theSimulation->serverFlag || object.IsStatic())
        return true;
    return theSimulation->TickCount() - object.lastUpdateTick <= AppData::GetInt("clientContactOldThreshold");
}

// The text of the chosen scan, the progress of the one running, or that the
// contact is too old to scan.
void DrawBottomText(UIContext& ui, const IntRect& rect, const SpaceObject& ship, const SpaceObject& object,
                    const std::string& text, const std::string& displayName, float percent)
{
    QelBitmapFont* font = ui.GetFont(kFont);
    std::string shown = text;
    if (shown.empty()) {
        if (!ContactIsCurrent(object))
            shown = "too far to scan";
        else if (Scanning(percent))
            shown = ReadString(ship.data_set, kCurScanType) + "   " + displayName + "    " +
                    WholeNumber(percent * 100.0) + "%";
    }
    if (shown.empty() || !font)
        return;
    const int32_t height = font->LayoutText(shown, rect.right - rect.left);
    const IntRect box{rect.left, rect.bottom - height - kBottomTextMargin, rect.right, rect.bottom};
    ui.DrawText(font, box, shown, ui.mainColour, kTextLayer, text.empty() ? 2 : 0);
}

glm::vec4 FrameColour(UIContext& ui, const RenderManager* view)
{
    glm::vec4 colour = ui.dimColour;
    if (view)
        colour.a *= view->panelOpacity;
    return colour;
}

}  // namespace

void ViewScienceDataDraw(ConsoleState& console, IntRect& rect, std::string widgetName)
{
    UIContext& ui = console.UI();
    uiFrame(ui, 1, static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
            static_cast<float>(rect.bottom), FrameColour(ui, console.renderer), kFrameLayer);
    const SpaceObject* ship = ConsolePlayerShip();
    if (!ship)
        return DrawCentred(ui, rect, kNoShipText);
    const float percent = ReadFiniteFloat(ship->data_set, kCurScanPercent);
    const SpaceObject* object = ConsoleObjectNamedBy(*ship, kScienceTargetUid);
    if (!object)
        return DrawCentred(ui, rect, kNoSelectionText);

    const bool identified = !ScanTextOf(*object, kInitialScanType, ship->side).empty();
    const std::string& scanType = console.currentScienceScanType;
    const std::string text = ScanTextOf(*object, scanType, ship->side);
    IntRect area{rect.left + kInnerMargin, rect.top + kInnerMargin, rect.right - kInnerMargin,
                 rect.bottom - kInnerMargin};
    if (!ScanListed(console, *object, scanType) && text.empty()) {
        ScienceScanStartButton(console, area, *object, widgetName, scanType);
        area.bottom -= kButtonHeight;
    } else if (Scanning(percent)) {
        ScienceScanCancelButton(ui, area, *ship, widgetName, scanType);
        area.bottom -= kButtonHeight;
    }

    const std::string displayName = identified ? NameWithSide(*object) : "Unknown";
    ScienceSelectionPanel(ui, area, *ship, *object, scanType);

    glm::vec4 progressColour;
    ParseColor(progressColour, kProgressColour);
    const float filled = static_cast<float>(area.right - area.left) * std::clamp(percent, 0.0f, 1.0f);
    ui.FillRect(static_cast<float>(area.left), static_cast<float>(area.bottom - 2),
                static_cast<float>(area.left) + filled, static_cast<float>(area.bottom), progressColour,
                kProgressLayer);
    DrawBottomText(ui, area, *ship, *object, text, displayName, percent);
}
