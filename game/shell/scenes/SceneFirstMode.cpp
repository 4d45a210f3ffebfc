// The start screen: the logo, the tag line, the version and the buttons that
// start a server or a client. Entering it also prepares what the menu
// screens share (the backdrop), runs the start-up self-tests and writes the
// list of console widgets for those who lay out consoles.

#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelKeyboard.h"
#include "engine/base/QelVirtualKeys.h"
#include "engine/net/QelNetworkFactoryBase.h"
#include "game/guimodel/KeyValueParser.h"
#include "game/net/CorvaneServer.h"
#include "game/render/manager/RenderManager.h"
#include "game/script/GameControls.h"
#include "game/script/MissionScript.h"
#include "game/shell/scenes/MissionCatalogue.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/widgets/ConsoleState.h"
#include "game/ui/ControllerInput.h"
#include "game/ui/GUISound.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/ui/VisibleCenter.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/world/AppData.h"
#include "game/world/MusicControl.h"
#include "game/world/Simulation.h"

namespace {

constexpr int kLayer = 1000;
constexpr int32_t kStartServerId = 10;
constexpr int32_t kStartClientId = 11;
constexpr int32_t kOptionsId = 16;
constexpr int32_t kButtonGap = 3;
constexpr float kLogoScale = 0.5f;
constexpr glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};

// The machine setting "SceneClientOptionsMode.fullscreen" is applied once, on
// the first draw of the run.
bool fullScreenApplied = false;

// Controllers are read only when the machine setting says exactly "yes".
void ReadControllerSettings()
{
    std::string enabled;
    if (!gInputFactory || !gInputFactory->GetRegistryValue("joystick_enabled_flag", enabled) || enabled != "yes")
        theControllerInput.controllerDisabled = true;
    theControllerInput.actionNameList = ControllerInput::kActionNames;
}

void Enter(UIContext& ui, MenuBackdrop& backdrop)
{
    backdrop.ReadColour("gui-color-deep-background");
    backdrop.image = ui.Bitmap(AppData::GetString("gui-color-deep-background-image"));
    ReadControllerSettings();
    KeyValueParserSelfTest();
    VisibleCenterTest();
    GUIBoxManager::SaveWidgetList();
}

// F6 leaves a mark in the console log: a quick check that keys arrive.
void FrameStep()
{
    QelKeyboard* keyboard = gInputFactory ? gInputFactory->GetKeyboard() : nullptr;
    if (keyboard && keyboard->IsKeyReleased(qel::vk::kF1 + 5))
        theConsoleLog.Add(kWhite, "QELKEY_F6");
}

void ApplyStoredFullScreen()
{
    if (fullScreenApplied)
        return;
    fullScreenApplied = true;
    std::string stored;
    if (gInputFactory && gGraphicsFactory && gInputFactory->GetRegistryValue("SceneClientOptionsMode.fullscreen", stored) &&
        stored == "on")
        gGraphicsFactory->SetFullScreen(true);
}

// The stored helm mode, into the settings of the console the scenes draw.
void ReadHelmMode(const RenderManager* view)
{
    if (ConsoleState* console = SceneConsole(view))
        console->settings.ReadHelmMode();
}

// Hosting begins at once; the set-up scene shows what came of it.
SceneFunction StartServer(ShellState& shell, const RenderManager* view)
{
    UIContext& ui = shell.UI();
    PlayGUISound("gui_button");
    ui.textEntryOwner = 0;
    gServer->StartHosting();
    theSimulation->serverFlag = true;
    theSimulation->subjectID = 0;
    if (gMusicControl)
        gMusicControl->PlayMainMusicCue();
    if (!gServer->IsNetworkDown()) {
        shell.serverAddressText.clear();
        if (gNetworkFactory)
            gNetworkFactory->GetLocalAddress(shell.serverAddressText);
        ScanMissions(shell.missions);
        shell.missionList.selectedMission.clear();
    }
    ReadHelmMode(view);
    theMissionScript.missionToStart = AppData::GetString("default_mission_folder");
    return SceneServerSetupMode;
}

// A console steers with the helm mode chosen on this machine, as a server does.
SceneFunction StartClient(UIContext& ui, const RenderManager* view)
{
    PlayGUISound("gui_button");
    ui.textEntryOwner = 0;
    ReadHelmMode(view);
    if (gMusicControl)
        gMusicControl->FadeOutMusic();
    return SceneClientConnectMode;
}

// The buttons stand in a row from left of the window's centre line, 3 pixels apart.
SceneFunction DrawButtons(UIContext& ui, ShellState& shell, const RenderManager* view, int32_t width, int32_t height)
{
    SetButtonColumn(ui, width / 2, height - 110, height - 10);
    ui.ShiftRectX(-3, 0);
    if (uiButton(ui, kStartServerId, "Start Server", "gui-1", true, kLayer))
        return StartServer(shell, view);
    ui.ShiftRectX(1, kButtonGap);
    if (uiButton(ui, kStartClientId, "Start Client", "gui-1", true, kLayer))
        return StartClient(ui, view);
    ui.ShiftRectX(1, kButtonGap);
    if (uiButton(ui, kOptionsId, "Options", "gui-1", true, kLayer)) {
        PlayGUISound("gui_button");
        return SceneClientOptionsMode;
    }
    return SceneFirstMode;
}

void DrawTitles(UIContext& ui, int32_t width, int32_t height)
{
    const IntRect tagLine{100, static_cast<int32_t>(0.6f * height), width - 100, static_cast<int32_t>(0.9f * height)};
    ui.DrawText(ui.GetFont("gui-3"), tagLine, "Take your stations. Fly as one crew.", ui.mainColour, kLayer, 2);
    ui.DrawText(ui.GetFont("smallest"), IntRect{5, 5, width, height}, "version " + GSGetGameVersion(), ui.mainColour,
                kLayer, 0);
    if (Qel2dBitmap* logo = ui.Bitmap("HalvexLogo"))
        logo->DrawRotated(width / 2.0f, height / 3.0f, 0.0f, kLogoScale, kLayer, &kWhite[0], false);
}

SceneFunction Draw(ShellState& shell, RenderManager* view)
{
    UIContext& ui = shell.UI();
    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();
    ApplyStoredFullScreen();
    if (view)
        view->DrawSkyBackground();
    const SceneFunction next = DrawButtons(ui, shell, view, width, height);
    if (next == SceneFirstMode)
        DrawTitles(ui, width, height);
    return next;
}

}  // namespace

SceneFunction SceneFirstMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    UIContext& ui = scenes.UI();
    ShellState& shell = ShellState::Of(scenes);
    switch (event) {
    case SCENE_ENTER: Enter(ui, shell.backdrop); break;
    case SCENE_FRAME: FrameStep(); break;
    case SCENE_DRAW: return Draw(shell, view);
    default: break;
    }
    return SceneFirstMode;
}
