// What a click, a hold and a right-click on the radar do: picking the object
// under the pointer, the console kinds' local selections and their reticles,
// the science radar's own scan requests, and the hold menu the server offers.

#include "game/render/manager/Render2D.h"

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelMouse.h"
#include "game/net/SignalMessage.h"
#include "game/net/SignalMessageCrew.h"
#include "game/render/manager/Render2DKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/ui/GUISound.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/AppData.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/ColorParse.h"

#include <glm/geometric.hpp>

#include <algorithm>

using namespace radarkeys;

namespace {

// Reticle cells of the sheet and the spin of a reticle per tick.
constexpr int32_t kWeaponsReticle = 6;
constexpr int32_t kScienceReticle = 3;
constexpr int32_t kCommsReticle = 5;
constexpr float kReticleSpin = -0.01f;

// The science radar asks about unscanned ships within this reach of the own
// ship or of one of its extra scan sources, at most once in 100 ms.
constexpr float kScanReachSquared = 2.5e7f;
constexpr int32_t kScanRequestMs = 100;
// A ship lists at most this many extra scan sources; a larger count is a
// garbled value and is held to it.
constexpr int64_t kMaxExtraScanSources = 64;

// The hold menu: rows 50 pixels high, at least 200 wide; button ids from here.
constexpr int32_t kMenuRowHeight = 50;
constexpr int32_t kMenuMinWidth = 200;
constexpr int32_t kMenuEmptyHeight = 100;
constexpr int32_t kMenuButtonBase = 55000;
constexpr const char* kMenuFont = "gui-2";
// The hold indicator: a square up to 80 pixels out, its corner cut by 20.
constexpr float kHoldSquare = 80.0f;
constexpr float kHoldCut = 20.0f;

struct SelectionRow {
    const char* kind;
    const DataKey* key;
    ClickTimer Render2D::*timer;
};
constexpr SelectionRow kSelectionRows[] = {
    {Render2D::kNormalKind, &kNormalTargetUid, &Render2D::normalSelection},
    {Render2D::kCommsKind, &kCommsTargetUid, &Render2D::commsSelection},
    {Render2D::kScienceKind, &kScienceTargetUid, &Render2D::scienceSelection},
    {Render2D::kGameMasterKind, &kScienceTargetUid, &Render2D::scienceSelection},
    {Render2D::kWeaponsKind, &kWeaponTargetUid, &Render2D::weaponsSelection},
};

uint32_t Now()
{
    return gInputFactory ? gInputFactory->GetMilliseconds() : 0;
}

glm::vec4 ColourOf(const std::string& text)
{
    glm::vec4 colour{1.0f};
    ParseColor(colour, text);
    return colour;
}

}  // namespace

// The timers fall back to the server's targets; the scan under way.
void Render2D::ReadSelections()
{
    const uint32_t now = Now();
    commsSelection.Elapsed(kSelectionElapsedMs, now);
    scienceSelection.Elapsed(kSelectionElapsedMs, now);
    weaponsSelection.Elapsed(kSelectionElapsedMs, now);
    normalSelection.Elapsed(kSelectionElapsedMs, now);
    const ObjectDataBlob& own = frame.own->data_set;
    commsSelection.SetDefault(ReadUInt64(own, kCommsTargetUid));
    scienceSelection.SetDefault(ReadUInt64(own, kScienceTargetUid));
    weaponsSelection.SetDefault(ReadUInt64(own, kWeaponTargetUid));
    normalSelection.SetDefault(ReadUInt64(own, kNormalTargetUid));
    frame.scanPercent = ReadFiniteFloat(own, kCurScanPercent);
    frame.scanId = ReadUInt64(own, kCurScanId);
}

// The nearest selectable object within 30 pixels of the pointer; on a tie
// the later one.
void Render2D::OfferToPick(const SpaceObject& object, const glm::vec2& screen)
{
    if (ReadInt(object.data_set, kUnselectable) != 0)
        return;
    const glm::vec2 d = screen - frame.pointer;
    const float distance = glm::dot(d, d);
    if (distance <= frame.pickBest) {
        frame.pickBest = distance;
        frame.pickCandidate = &object;
    }
}

void Render2D::DrawReticles(const SpaceObject& object, const glm::vec2& screen)
{
    struct Reticle {
        const ClickTimer& timer;
        int32_t cell;
        const char* colourKey;
    };
    const Reticle reticles[] = {{weaponsSelection, kWeaponsReticle, "gui-color-weapon-reticle"},
                                {scienceSelection, kScienceReticle, "gui-color-science-reticle"},
                                {commsSelection, kCommsReticle, "gui-color-comms-reticle"}};
    for (const Reticle& reticle : reticles) {
        if (reticle.timer.Current() != object.uniqueID)
            continue;
        const std::string colour = AppData::GetString(reticle.colourKey);
        owner.DrawReticleNamedColor(screen, reticle.cell, colour, static_cast<float>(frame.tick) * kReticleSpin,
                                    static_cast<float>(AppData::GetInt("lock-reticle-size-2D")));
        if (frame.focus)
            DrawRangeBearing(screen, object.pos, *frame.focus, ColourOf(colour));
    }
}

// The object picked (or the point, when none was) becomes the selection of
// the radar's kind; kinds without a selection select nothing.
void Render2D::SelectClicked()
{
    const SpaceObject* picked = frame.pickCandidate;
    const glm::vec3 position = picked ? picked->pos : ScreenToWorld(frame.pointer, 0.0f).pos;
    const uint64_t id = picked ? picked->uniqueID : 0;
    for (const SelectionRow& row : kSelectionRows) {
        if (frame.kind != row.kind)
            continue;
        owner.SelectObject(id, position, std::string(row.key->name), "lmb");
        owner.console.currentScienceScanType = "scan";
        (this->*row.timer).Click(id, Now());
        return;
    }
}

// The science radar asks the server to scan an unscanned ship that is
// friendly or near the own ship or one of its extra scan sources.
void Render2D::RequestScan(const SpaceObject& ship)
{
    if (!frame.own || ScannedByOwnSide(ship) || !scanRequestTimer.IsExpired())
        return;
    const auto near = [&](const glm::vec3& point) {
        const glm::vec3 d = ship.pos - point;
        return glm::dot(d, d) < kScanReachSquared;
    };
    bool wanted = IsObjectFriendlyToSide(ship, frame.own->side) || near(frame.own->pos);
    const int64_t sources = std::clamp<int64_t>(ReadInt(frame.own->data_set, kNumExtraScanSources), 0,
                                                kMaxExtraScanSources);
    for (int32_t i = 0; !wanted && i < sources; ++i)
        if (const SpaceObject* source =
                theSimulation->GetSpaceObject(ReadUInt64(frame.own->data_set, kExtraScanSource, i)))
            wanted = near(source->pos);
    if (!wanted)
        return;
    scanRequestTimer.SetMilliseconds(kScanRequestMs);
    Send(ScanCheckSignal{ship.uniqueID});
}

// --- Hold ------------------------------------------------------------------

void Render2D::DrawHoldOverlay()
{
    UIContext& ui = owner.UI();
    if (menuOpen) {
        if (frame.own)
            DrawHoldMenu();
        else
            menuOpen = false;
        return;
    }
    if (holdDone) {
        const float p =
            std::clamp(static_cast<float>(frame.tick - holdTick) / static_cast<float>(kHoldFadeTicks), 0.0f, 1.0f);
        if (p < 1.0f)
            ui.FillRect(holdPoint.x - kHoldSquare, holdPoint.y - kHoldSquare, holdPoint.x + kHoldSquare,
                                  holdPoint.y + kHoldSquare, glm::vec4(0.0f, 0.0f, 1.0f, 1.0f - p));
        return;
    }
    QelMouse* mouse = gInputFactory ? gInputFactory->GetMouse() : nullptr;
    if (mouse && mouse->IsDown(0) && isClick) {
        holdPoint = frame.windowPointer;
        DrawHoldIndicator();
    }
}

// A square growing round the pointer through the second half of the hold.
void Render2D::DrawHoldIndicator()
{
    const float fraction = HoldFraction();
    if (fraction < 0.5f)
        return;
    const float n = std::clamp(fraction * kHoldSquare, 0.0f, kHoldSquare);
    const float x = holdPoint.x, y = holdPoint.y;
    const glm::vec4 blue(0.0f, 0.0f, 1.0f, 0.7f);
    Line({x - n, y - n}, {x + n, y - n}, blue, kMenuLayer);
    Line({x - n, y - n}, {x - n, y + n}, blue, kMenuLayer);
    Line({x - n, y + n}, {x + n - kHoldCut, y + n}, blue, kMenuLayer);
    Line({x + n, y - n}, {x + n, y + n - kHoldCut}, blue, kMenuLayer);
    Line({x + n - kHoldCut, y + n}, {x + n, y + n - kHoldCut}, blue, kMenuLayer);
}

// The menu's title row and a button per option, beside the hold point and
// kept on the window.
void Render2D::DrawHoldMenu()
{
    UIContext& ui = owner.UI();
    QelBitmapFont* font = ui.GetFont(kMenuFont);
    const int32_t count = static_cast<int32_t>(holdMenuOptions.size());
    int32_t a = kMenuMinWidth;
    if (count > 0 && font)
        for (const std::string& option : holdMenuOptions)
            a = std::max(a, font->GetTextWidth(option) + 4);
    const int32_t b = count > 0 ? kMenuRowHeight * count : kMenuEmptyHeight;
    int32_t x = static_cast<int32_t>(holdPoint.x);
    int32_t y = static_cast<int32_t>(holdPoint.y);
    if (ui.WindowHeight() < b + y)
        y -= 2 * b;
    IntRect row{x, y, x + a, y + kMenuRowHeight};
    if (ui.WindowWidth() < a + x)
        row = {x - 2 * a, y, x - a, y + kMenuRowHeight};

    menuArea = {row.left, row.top, row.right, row.top + kMenuRowHeight * count};
    ui.PushRect();
    for (int32_t i = 0; i < count && menuOpen; ++i) {
        ui.SetCurrentRect(row);
        if (i == 0) {
            uiFrame(ui, 0, static_cast<float>(row.left), static_cast<float>(row.top), static_cast<float>(row.right),
                    static_cast<float>(row.bottom), ui.dimColour, kMenuLayer);
            ui.DrawText(font, row, holdMenuOptions[0], owner.guiColors[kGuiColorMain], kMenuLayer, 2);
        } else if (uiButton(ui, kMenuButtonBase + i, holdMenuOptions[static_cast<size_t>(i)], kMenuFont, true,
                            kMenuLayer)) {
            PlayGUISound("gui_button");
            HoldButtonSignal choice;
            choice.view = holdMenuOptions[static_cast<size_t>(i)];  // the option, first on the wire
            choice.button = frame.kind;
            choice.ids[0] = holdMenuSubject;
            choice.ids[1] = holdMenuObject;
            choice.ids[2] = holdMenuExtra;
            choice.ids[3] = frame.own->uniqueID;
            Send(choice);
            menuOpen = false;
        }
        row.top = row.bottom;
        row.bottom += kMenuRowHeight;
    }
    ui.PopRect();
}

const ClickTimer& Render2D::HoldReportTimer() const
{
    if (frame.kind == kCommsKind)
        return commsSelection;
    if (frame.kind == kScienceKind)
        return scienceSelection;
    if (frame.kind == kWeaponsKind)
        return weaponsSelection;
    return normalSelection;
}

// A completed hold or a right-click asks the server for the menu of what lies
// under the pointer.
void Render2D::SendHoldRequest()
{
    if (!frame.holdRequested || !frame.focus || !frame.own)
        return;
    const glm::vec3 point = ScreenToWorld(frame.pointer, 0.0f).pos;
    HoldClickSignal request;
    request.subjectId = frame.own->uniqueID;
    request.objectId = frame.pickCandidate ? frame.pickCandidate->uniqueID : 0;
    request.choice = frame.kind;
    request.x = point.x;
    request.y = point.y;
    request.z = point.z;
    request.extraId = HoldReportTimer().Current();
    Send(request);
}
