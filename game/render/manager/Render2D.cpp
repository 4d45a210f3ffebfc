// The radar's state, its mapping between world and screen, the order of one
// frame, and what the pointer does to the map: wheel zoom, drag and the
// buttons' edges (the selection they lead to is Render2DSelection.cpp).

#include "game/render/manager/Render2D.h"

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelMouse.h"
#include "game/net/CorvaneClient.h"
#include "game/net/NetworkIds.h"
#include "game/net/SignalMessage.h"
#include "game/net/SignalMessageCrew.h"
#include "game/render/manager/RenderManager.h"
#include "game/render/manager/Render2DKeys.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/ui/GUISound.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "game/world/FiniteMath.h"
#include "game/world/Simulation.h"

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

using namespace radarkeys;

namespace {

// The projection the radar target is drawn with: 60 degrees, square, to far
// beyond any radar range.
constexpr float kFieldOfView = std::numbers::pi_v<float> / 3.0f;
constexpr float kFarPlane = 100000.0f;

constexpr const char* kBackgroundBitmap = "radar_2";
// The texts of the map are drawn into the radar's target, not the window.
constexpr const char* kRadarSurface = "radar";
constexpr float kBackgroundAlpha = 0.6f;

enum MouseButton : int { kLeftButton = 0, kRightButton = 2 };

SpaceObject* FindShip(uint64_t id)
{
    return IsSpaceObjectId(id) && theSimulation ? theSimulation->GetSpaceObject(id) : nullptr;
}

}  // namespace

Render2D::Render2D(RenderManager& manager) : owner(manager) {}

void Render2D::Setup()
{
    enabled = owner.radarTarget != nullptr;
}

void Render2D::Reset()
{
    holdDone = false;
    pressed = false;
    menuOpen = false;
    isClick = true;
    holdTick = 0;
    holdPoint = glm::vec2(0.0f);
    holdMenuOptions.clear();
    seenNavProxies.clear();
    seenSides.clear();
}

// A menu with nothing in it would be an empty frame that no button closes:
// it does not open.
void Render2D::ShowHoldMenu(uint64_t subject, uint64_t object, uint64_t extra, const std::vector<std::string>& options)
{
    if (options.empty())
        return;
    holdMenuSubject = subject;
    holdMenuObject = object;
    holdMenuExtra = extra;
    holdMenuOptions = options;
    menuOpen = true;
    holdDone = false;
}

// --- Mapping ---------------------------------------------------------------

Render2D::ScreenPoint Render2D::WorldToScreen(const glm::vec3& world, float angle) const
{
    const float dx = world.x - viewCentre.x;
    const float dz = world.z - viewCentre.z;
    const float s = owner.radarScale;
    const float cx = static_cast<float>(owner.radarCenterX);
    const float cy = static_cast<float>(owner.radarCenterY);
    if (!owner.radarRelativePositions)
        return {{dx * s + cx, cy - dz * s}, angle};
    const float bearing = std::atan2(dx, dz) - viewHeading;
    const float r = std::sqrt(dx * dx + dz * dz) * s;
    return {{std::sin(bearing) * r + cx, cy - std::cos(bearing) * r}, angle + viewHeading};
}

Render2D::WorldPoint Render2D::ScreenToWorld(const glm::vec2& screen, float angle) const
{
    const float u = (screen.x - static_cast<float>(owner.radarCenterX)) / owner.radarScale;
    const float v = (static_cast<float>(owner.radarCenterY) - screen.y) / owner.radarScale;
    if (!owner.radarRelativePositions)
        return {{u + viewCentre.x, viewCentre.y, v + viewCentre.z}, angle};
    const float bearing = std::atan2(u, v) + viewHeading;
    const float r = std::sqrt(u * u + v * v);
    return {{std::sin(bearing) * r + viewCentre.x, viewCentre.y, std::cos(bearing) * r + viewCentre.z},
            angle - viewHeading};
}

glm::vec2 Render2D::PolarToScreen(float bearing, float radius)
{
    return {std::sin(bearing) * radius, -std::cos(bearing) * radius};
}

float Render2D::IconHeading(const SpaceObject& object)
{
    const glm::vec3 f = object.rot_quat * glm::vec3(0.0f, 0.0f, 1.0f);
    return std::atan2(f.x, -f.z);
}

float Render2D::ViewHeadingOf(const SpaceObject& object)
{
    const glm::vec3 f = object.rot_quat * glm::vec3(0.0f, 0.0f, 1.0f);
    return std::atan2(f.x, f.z);
}

// --- One frame -------------------------------------------------------------

void Render2D::Draw(const IntRect& rect, const std::string& kind)
{
    if (!enabled || !gGraphicsFactory || !owner.radarTarget)
        return;
    ReadFrameInputs(rect, kind);
    // A focus ship at no number (a garbled update) would put every point of
    // the map at no number: the frame is skipped and said so, once a ship.
    if (frame.focus && (!AllFinite(frame.focus->pos) || !AllFinite(frame.focus->rot_quat))) {
        if (reportedBadFocus != frame.focus->uniqueID) {
            reportedBadFocus = frame.focus->uniqueID;
            const std::string line = "2D radar: the focus ship's position or heading is not a number; the radar "
                                     "waits for a valid one";
            theConsoleLog.Add(glm::vec4(1.0f, 0.0f, 0.0f, 1.0f), line);
            std::fprintf(stderr, "%s\n", line.c_str());
        }
        return;
    }
    reportedBadFocus = 0;

    currentFrameObjects ^= 1;
    frameObjects[currentFrameObjects].clear();
    labels.Clear();
    placedLabels.Clear();
    BeginTarget();
    DrawIntoTarget();
    EndTarget();
    CopyToWidget();
    DrawHoldOverlay();
    SendHoldRequest();
}

// The map itself, in the target's pixels.
void Render2D::DrawIntoTarget()
{
    UIContext& ui = owner.UI();
    const TextSurfaceScope offScreen(ui, kRadarSurface);
    HandlePointer();
    const bool ships = FollowFocusShip();
    if (ships) {
        ReadSelections();
        DrawBackground();
    }
    DrawNavPoints();
    DrawNavProxies();
    const bool objects = ships && theSimulation->Container();
    if (objects) {
        DrawObjects();
        DrawEffects();
    }
    PlaceLabels();
    if (objects) {
        PlaceGridNames();
        if (frame.clicked)
            SelectClicked();
        DrawPointerReadout();
    }
    DrawSpeechBubbles();
}

// Where the pointer is, which ships the view is about, and what the console
// allows this frame.
void Render2D::ReadFrameInputs(const IntRect& rect, const std::string& kind)
{
    UIContext& ui = owner.UI();
    frame = Frame{};
    frame.rect = rect;
    frame.kind = kind;
    frame.tick = theSimulation ? theSimulation->TickCount() : 0;
    frame.cull = {viewRect.left - kCullMargin, viewRect.top - kCullMargin, viewRect.right + kCullMargin,
                  viewRect.bottom + kCullMargin};
    frame.inputAllowed = !IsWidgetEditKeyHeld() && !owner.console.mouseOverControl;
    int32_t x = 0, y = 0;
    if (ui.MousePosition(x, y)) {
        frame.windowPointer = glm::vec2(static_cast<float>(x), static_cast<float>(y));
        frame.pointerOver = rect.Contains(x, y);
        frame.pointer = glm::vec2(
            static_cast<float>(x - rect.left + (owner.mainBuffWidth / 2 - rect.Width() / 2)),
            static_cast<float>(y - rect.top + (owner.mainBuffHeight / 2 - rect.Height() / 2)));
    }
    frame.terrainLimit = AppData::GetFloat("terrainDrawScaleLimit");
    frame.mainConsole = owner.console.consoleName.find("main") != std::string::npos;
    frame.scienceConsole = owner.console.consoleName.find("sci") != std::string::npos;
    if (!theSimulation)
        return;
    frame.own = FindShip(theSimulation->subjectID);
    SpaceObject* alternate = FindShip(theSimulation->altSubjectID);
    frame.focus = alternate ? alternate : frame.own;
    frame.sideShip = AppData::GetString("gui-radar-side-colors-from-selected-ship") == "yes" ? frame.focus : frame.own;
}

void Render2D::BeginTarget()
{
    const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    gGraphicsFactory->Flush2D();
    owner.radarTarget->SetAsRenderTarget(true, true, clear);
    gGraphicsFactory->Flush2DAndClearDepth(owner.radarTarget);
    gGraphicsFactory->SetPerspective(kFieldOfView, 1.0f, 1.0f, kFarPlane);
}

void Render2D::EndTarget()
{
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    gGraphicsFactory->Flush2D();
    gGraphicsFactory->Flush2DAndClearDepth(owner.radarTarget);
    owner.radarTarget->SetAsRenderTarget(false, false, black);
}

// The middle of the target, as large as the widget (or the whole target
// when the widget is larger), centred in the widget.
void Render2D::CopyToWidget()
{
    const int32_t halfW = owner.mainBuffWidth / 2;
    const int32_t halfH = owner.mainBuffHeight / 2;
    const int32_t hw = std::min(frame.rect.Width() / 2, halfW);
    const int32_t hh = std::min(frame.rect.Height() / 2, halfH);
    viewRect = {halfW - hw, halfH - hh, halfW + hw, halfH + hh};
    if (hw <= 0 || hh <= 0)
        return;
    const IntPoint centre = frame.rect.Center();
    Qel2dBitmap& target = *owner.radarTarget;
    target.SetSourceRectInt(QelRect{viewRect.left, viewRect.top, viewRect.right, viewRect.bottom});
    target.SetDestRectInt(QelRect{centre.x - hw, centre.y - hh, centre.x + hw, centre.y + hh});
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    target.DrawQuad(white, kBackLayer, false);
}

// --- The pointer -----------------------------------------------------------

void Render2D::HandlePointer()
{
    QelMouse* mouse = gInputFactory ? gInputFactory->GetMouse() : nullptr;
    if (!mouse)
        return;
    if (frame.pointerOver && frame.inputAllowed) {
        const int32_t wheel = mouse->GetWheel();
        mouse->SetWheel(0);
        if (wheel != 0)
            WheelZoom(wheel);
        // The open menu takes presses on itself: its buttons must get them.
        const bool onMenu = menuOpen && menuArea.Contains(static_cast<int32_t>(frame.windowPointer.x),
                                                          static_cast<int32_t>(frame.windowPointer.y));
        if (mouse->IsDown(kLeftButton) && !onMenu) {
            holdDone = false;
            pressed = true;
            menuOpen = false;
            DragMap();
        }
        if (mouse->WasReleased(kLeftButton) && !onMenu)
            ReleaseLeft(mouse->LastPressMilliseconds(kLeftButton));
        else if (!mouse->IsDown(kLeftButton))
            pressTick = frame.tick;
        if (mouse->WasReleased(kRightButton)) {
            holdPoint = frame.windowPointer;
            frame.holdRequested = true;
        }
    }
    if (!mouse->IsDown(kLeftButton)) {
        owner.console.mouseOverControl = false;
        dragging = false;  // a drag released off the view ends there
    }
    if (!frame.pointerOver || !frame.inputAllowed)
        pressTick = frame.tick;
}

// The science radar and a radar that stopped following keep the point under
// the pointer where it is; a following radar zooms about its centre.
void Render2D::WheelZoom(int32_t wheel)
{
    const float factor = static_cast<float>(wheel) / 1000.0f * AppData::GetFloat("mouseWheelScaleCoeff") + 1.0f;
    const float oldScale = owner.radarScale;
    const float newScale = std::clamp(factor * oldScale, kMinWheelScale, kMaxWheelScale);
    if (!std::isfinite(newScale))
        return;
    owner.radarScale = newScale;
    if (frame.kind == kScienceKind || !owner.radarRecenter) {
        const float cx = static_cast<float>(owner.radarCenterX);
        const float cy = static_cast<float>(owner.radarCenterY);
        const float grow = (newScale - oldScale) / oldScale;
        owner.radarCenterX = static_cast<int32_t>(cx + (cx - frame.pointer.x) * grow);
        owner.radarCenterY = static_cast<int32_t>(cy + (cy - frame.pointer.y) * grow);
    }
}

void Render2D::DragMap()
{
    const IntPoint pointer{static_cast<int32_t>(frame.pointer.x), static_cast<int32_t>(frame.pointer.y)};
    if (!dragging) {
        dragStartCentre = {owner.radarCenterX, owner.radarCenterY};
        dragStartPointer = pointer;
        dragging = true;
        isClick = true;
    }
    owner.radarCenterX = dragStartCentre.x - (dragStartPointer.x - pointer.x);
    owner.radarCenterY = dragStartCentre.y - (dragStartPointer.y - pointer.y);
    if (std::hypot(static_cast<float>(pointer.x - dragStartPointer.x),
                   static_cast<float>(pointer.y - dragStartPointer.y)) > kHoldTravel)
        isClick = false;
}

// A short press that stayed put selects; a long one that stayed put asks for
// the hold menu; one that moved was a drag and stops the following. Ticks
// count the press only while the pointer was over the view, and the events'
// own times how long the hand really held it: when frames come slower than a
// click, the ticks between them would take every click for a hold.
void Render2D::ReleaseLeft(uint32_t heldMilliseconds)
{
    const float held = static_cast<float>(heldMilliseconds) / static_cast<float>(kHoldMilliseconds);
    const float fraction = std::min(HoldFraction(), held);
    if (dragging && fraction < 1.0f) {
        const float travel = std::hypot(frame.pointer.x - static_cast<float>(dragStartPointer.x),
                                        frame.pointer.y - static_cast<float>(dragStartPointer.y));
        if (travel < owner.radarDragThreshold) {
            frame.clicked = true;
            PlayGUISound("gui_lock");
        } else {
            owner.radarRecenter = false;
        }
    } else if (fraction >= 1.0f && !holdDone && isClick) {
        holdDone = true;
        holdTick = frame.tick;
        frame.holdRequested = true;
        PlayGUISound("gui_lock");
    }
    dragging = false;
    pressTick = frame.tick;
}

float Render2D::HoldFraction() const
{
    return std::clamp(static_cast<float>(frame.tick - pressTick) / static_cast<float>(kHoldTicks), 0.0f, 1.0f);
}

// Fighters and shuttles always keep themselves in the middle. A following
// radar (or one shown from an alternate ship) centres on the focus ship.
// False unless both the focus ship and the own ship exist.
bool Render2D::FollowFocusShip()
{
    SpaceObject* focus = frame.focus;
    if (!focus)
        return false;
    if (ReadInt(focus->data_set, kIsFighterFlag) != 0 || ReadInt(focus->data_set, kShuttleFlag) != 0) {
        owner.radarCenterX = owner.mainBuffWidth / 2;
        owner.radarCenterY = owner.mainBuffHeight / 2;
    }
    const bool alternate = theSimulation && FindShip(theSimulation->altSubjectID) != nullptr;
    if (owner.radarRecenter || alternate)
        viewCentre = glm::vec3(focus->pos.x, 0.0f, focus->pos.z);
    if (owner.radarRecenter)
        viewHeading = ViewHeadingOf(*focus);
    return frame.own != nullptr;
}

// The radar disc under the focus ship, the range rings and the map grid.
void Render2D::DrawBackground()
{
    UIContext& ui = owner.UI();
    const ScreenPoint focus = WorldToScreen(frame.focus->pos, 0.0f);
    const glm::vec4 main = owner.guiColors[kGuiColorMain];
    if (Qel2dBitmap* disc = ui.Bitmap(kBackgroundBitmap)) {
        const float scale = std::min(static_cast<float>(frame.rect.Width()) / static_cast<float>(disc->GetWidth()),
                                     static_cast<float>(frame.rect.Height()) / static_cast<float>(disc->GetHeight()));
        DrawSprite(kBackgroundBitmap, focus.pos, owner.radarRelativePositions ? viewHeading : 0.0f, scale,
                   main * glm::vec4(1.0f, 1.0f, 1.0f, kBackgroundAlpha), kBackLayer);
    }
    DrawRangeRings(focus.pos, glm::vec4(main.r, main.g, main.b, 0.7f), glm::vec4(1.0f, 0.0f, 0.0f, 0.7f));
    const IntPoint middle = viewRect.Center();
    const WorldPoint centre =
        ScreenToWorld(glm::vec2(static_cast<float>(middle.x), static_cast<float>(middle.y)), 0.0f);
    DrawGrid(centre.pos.x - ReadFiniteFloat(frame.focus->data_set, kOvergridOffsetX),
             centre.pos.z - ReadFiniteFloat(frame.focus->data_set, kOvergridOffsetZ), main * 0.7f, viewRect);
}

template <typename Signal>
void Render2D::Send(const Signal& signal)
{
    QelNetworkMessage& message = StartClientMessage("signal");
    WriteSignal(message, signal);
    if (owner.signalSink)
        owner.signalSink(message);
    else
        SendClientMessage();
}

template void Render2D::Send(const SelectObjectSignal&);
template void Render2D::Send(const ScanCheckSignal&);
template void Render2D::Send(const HoldClickSignal&);
template void Render2D::Send(const HoldButtonSignal&);
