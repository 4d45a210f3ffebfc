#include "game/widgets/LocalConsoleScreen.h"

#include "game/net/CorvaneClient.h"
#include "game/render/SkyBoxManager.h"
#include "game/render/manager/RenderManager.h"
#include "game/script/MissionScript.h"
#include "game/ui/GUISound.h"
#include "game/ui/TextLog.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/JumpControls.h"

#include <algorithm>
#include <utility>

void LocalConsoleScreen::SetConsole(const std::string& name, const std::vector<std::string>& widgets)
{
    state.consoleName = name;
    state.consoleWidgetList = widgets;
}

std::string LocalConsoleScreen::ConsoleName() const
{
    return state.consoleName;
}

void LocalConsoleScreen::SetBoxRects(const std::string& screenName, const std::string& widgetName,
                                     const std::array<float, 8>& rects)
{
    GUIBoxManager::SetBoxRects(screenName, widgetName, rects);
}

// Every box of the widget, on whichever screen this machine has shown it.
void LocalConsoleScreen::ReportWidgetBoxes(const std::string& widgetName, int32_t layoutIndex)
{
    if (!state.renderer)
        return;
    const int32_t layout = layoutIndex == 1 ? 1 : 0;
    for (const auto& [key, box] : GUIBoxManager::Boxes()) {
        if (box.widgetName != widgetName)
            continue;
        const IntRect& r = box.rect[layout];
        state.renderer->SendWidgetBoxState(widgetName, box.screenName, layout, r.left, r.top, r.right, r.bottom);
    }
}

void LocalConsoleScreen::SetSpeechBubble(uint64_t objectId, int32_t seconds, const std::string& colour,
                                         const std::string& text)
{
    if (state.renderer)
        state.renderer->SetSpeechBubble(objectId, seconds, colour, text);
}

// The render manager's 3D view, once it is set up.
ParticleView* LocalConsoleScreen::Particles()
{
    if (!state.renderer || !state.renderer->render3D.dust_particles)
        return nullptr;
    return &state.renderer->render3D;
}

void LocalConsoleScreen::ClearForNewWorld()
{
    ClearInfoLists();
    state.StartNewWorld();
    if (RenderManager* view = state.renderer) {
        view->render3D.ClearEffects();
        view->render2D.Reset();
        // The radar of a new mission starts at its default zoom, not the last one's.
        view->SetRadarZoom(RenderManager::kDefaultRadarScale);
        ResetJumpControls(*view);
    }
}

void LocalConsoleScreen::ShowHoldMenu(uint64_t subject, uint64_t object, uint64_t extra,
                                      const std::vector<std::string>& options)
{
    if (state.renderer)
        state.renderer->render2D.ShowHoldMenu(subject, object, extra, options);
}

void LocalConsoleScreen::SetMainViewModes(const std::string& view, const std::string& cameraAngle,
                                          const std::string& cameraMode)
{
    if (!state.renderer)
        return;
    state.renderer->main_screen_view = view;
    state.renderer->cam_angle = cameraAngle;
    state.renderer->cam_mode = cameraMode;
}

void LocalConsoleScreen::SetRadarZoom(float scale)
{
    if (state.renderer)
        state.renderer->SetRadarZoom(scale);
}

// A negative length is no jump: the message readers refuse it.
void LocalConsoleScreen::StartJumpEffect(int32_t seconds)
{
    if (state.renderer)
        ::StartJumpEffect(*state.renderer, static_cast<uint64_t>(std::max(seconds, 0)));
}

void LocalConsoleScreen::SetJumpTime(int32_t seconds)
{
    if (state.renderer)
        ::SetJumpTime(*state.renderer, seconds);
}

void LocalConsoleScreen::SelectInfo(InfoList list, const ConsoleInfoEntry& entry)
{
    InfoOf(list).assign(1, entry);
}

void LocalConsoleScreen::AddInfo(InfoList list, const ConsoleInfoEntry& entry)
{
    InfoOf(list).push_back(entry);
}

void LocalConsoleScreen::ClearInfoLists()
{
    state.commsInfo.clear();
    state.engineeringInfo.clear();
}

const std::vector<ConsoleInfoEntry>& LocalConsoleScreen::Info(InfoList list) const
{
    return list == InfoList::Comms ? state.commsInfo : state.engineeringInfo;
}

std::vector<ConsoleInfoEntry>& LocalConsoleScreen::InfoOf(InfoList list)
{
    return list == InfoList::Comms ? state.commsInfo : state.engineeringInfo;
}

void LocalConsoleScreen::PlayJumpSound(int32_t secondsLeft)
{
    if (state.renderer)
        state.renderer->PlayJumpSound(secondsLeft);
}

// The console scene draws the flash and fades it; a machine that is no
// console has no ship to flash for.
void LocalConsoleScreen::SetDamageIndicator(float level)
{
    if (CorvaneClient* client = state.network.client)
        client->damageFlashLevel = level;
}

void LocalConsoleScreen::SetOptionsTransparency(bool transparent)
{
    if (state.renderer)
        state.renderer->transparentOptionsButton = transparent;
}

// Nothing without a render manager or while it has no sky box; the sky box
// itself falls back to its default art for a name it cannot load.
void LocalConsoleScreen::SetSkyBox(const std::string& artFileName)
{
    if (!state.renderer)
        return;
    if (SkyBoxManager* sky = state.renderer->SkyBox())
        sky->SetTexture(artFileName);
}

// The console's message box, which the text waterfall shows.
void LocalConsoleScreen::AddTextMessage(const std::string& text, const glm::vec4& colour)
{
    theMessageLog.Add(colour, text);
}

// The console log is the one the mission prints to on this machine.
void LocalConsoleScreen::AddConsoleLog(const std::string& text, const glm::vec4& colour)
{
    theMissionScript.Print(text, colour);
}

void LocalConsoleScreen::PlayGuiSound(const std::string& name)
{
    PlayGUISound(name);
}

// The hyper-warp screen and the cinematic camera are the 3D view's; a
// machine without one shows neither.
bool LocalConsoleScreen::HyperWarpShown() const
{
    return state.renderer && state.renderer->render3D.hyper_warp_on;
}

void LocalConsoleScreen::ShowHyperWarp(const std::string& shipHullKey)
{
    if (state.renderer)
        state.renderer->render3D.ShowHyperWarp(shipHullKey);
}

void LocalConsoleScreen::HideHyperWarp()
{
    if (state.renderer)
        state.renderer->render3D.HideHyperWarp();
}

void LocalConsoleScreen::SetCinematic(const CinematicValues& values)
{
    if (!state.renderer)
        return;
    Render3D& view = state.renderer->render3D;
    view.scriptControlsCamera = values.scriptControlsCamera;
    view.dollyID = values.dollyId;
    view.dollyPos = values.dollyPos;
    view.targetID = values.targetId;
    view.targetPos = values.targetPos;
}

void LocalConsoleScreen::SetAutoCinematicObject(uint64_t objectId)
{
    if (state.renderer)
        state.renderer->render3D.cinematic_request = objectId;
}
