// The options of this machine: its name on the server's screens, the three
// volumes, full screen, and the ways on: back to what opened the options, to
// another console, to the UI play options, to the developer tools, off the
// server or out of the program. The volumes act at once and are stored when
// the screen is left; the rest is stored as it changes.

#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelSound.h"
#include "game/net/ClientSignalHandlers.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "game/net/SignalMessage.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/OptionsScreen.h"
#include "game/shell/scenes/SceneUtilities.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/GUISound.h"
#include "game/ui/MachineSettings.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/world/AppData.h"
#include "game/world/MusicControl.h"
#include "helper/CRand.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr OptionsHotKey kChangeConsoleKey{"change_console_button", LetterKey('E'), "clicks Change Console button on client"};
constexpr OptionsHotKey kUIOptionsKey{"ui_options_button", LetterKey('N'), "clicks UI Play Options button on client"};
constexpr OptionsHotKey kEditOptionsKey{"edit_options_button", LetterKey('M'),
                                        "clicks Game Data Edit Options button on client"};
constexpr OptionsHotKey kDisconnectKey{"disconnect_button", LetterKey('D'), "clicks Disconnect button on client"};
constexpr OptionsHotKey kQuitKey{"quit_to_desktop_button", LetterKey('P'), "Shuts down app entirely"};

// A volume row: its label, its hot keys and where the volume lives.
struct VolumeRow {
    const char* label;
    OptionsHotKey down;
    OptionsHotKey up;
};
constexpr VolumeRow kMusicRow{"Music Volume", {"music_down", qel::vk::kNumpad0 + 0, "ticks down music volume"},
                              {"music_up", qel::vk::kNumpad0 + 1, "ticks up music volume"}};
constexpr VolumeRow kSfxRow{"Game SFX Volume", {"sfx_down", qel::vk::kNumpad0 + 2, "ticks down sfx volume"},
                            {"sfx_up", qel::vk::kNumpad0 + 3, "ticks up sfx volume"}};
constexpr VolumeRow kGuiRow{"GUI Volume", {"gui_volume_down", qel::vk::kNumpad0 + 4, "ticks down gui volume"},
                            {"gui_volume_up", qel::vk::kNumpad0 + 5, "ticks up gui volume"}};
constexpr float kVolumeStep = 0.1f;

// A machine named by nobody is "PC-" and a number below this.
constexpr int kGeneratedNameRange = 1000;
constexpr int32_t kSmallGap = 6;
constexpr int32_t kLargeGap = 12;
constexpr int32_t kVolumeColumnWidth = 348;
constexpr int32_t kVolumeRowHeight = 33;
constexpr int32_t kLabelGap = 10;
constexpr int32_t kCreditsMargin = 15;
constexpr glm::vec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};

constexpr const char* kCredits =
    "CREDITS^"
    "Corvane Halvex, a starship bridge for a crew of friends^"
    "World, network and missions: the simulation team^"
    "Consoles, radar and the 3D views: the interface team^"
    "Sound, music and lighting: the physical bridge team^"
    "Ships, skies, sounds and music made by our own generators^"
    "Thanks to every crew that flew the test missions with us";

// Buttons a console has only while it is connected to a server of another machine.
bool ShowsClientButtons(const ShellState& shell)
{
    return IsClientConnected() && !shell.optionsOpenedFromServer;
}

void Enter(Edline& machineNameField, CorvaneClient* client)
{
    std::string name = StoredSetting("clientMachineName");
    if (name.empty())
        name = "PC-" + std::to_string(crand() % kGeneratedNameRange);
    machineNameField.SetText(name);
    // Later answers to the server's name query must say the same.
    if (client)
        client->SetMachineNameForRun(name);
    SendSignal(MachineNameSignal{name});
}

void StoreVolumes()
{
    StoreSetting("sfxVolume", FractionText(AppData::SfxVolume()));
    StoreSetting("guiVolume", FractionText(AppData::GuiVolume()));
    if (gMusicControl)
        StoreSetting("ambientVolume", FractionText(gMusicControl->MusicVolume()));
}

SceneFunction Continue(const ShellState& shell)
{
    PlayGUISound("gui_button");
    if (shell.optionsOpenedFromServer)
        return shell.optionsReturnScene ? shell.optionsReturnScene : SceneFunction(SceneFirstMode);
    SendSignal(ClientChangeSignal{"left_options"});
    return IsClientConnected() ? SceneClientRunningMode : SceneFirstMode;
}

// The name is told to the server and kept for the next start as it is typed.
void DrawMachineName(UIContext& ui, Edline& machineNameField, CorvaneClient* client)
{
    ui.ShiftRectY(1, kSmallGap);
    if (!uiTextBox(ui, "This Computer", machineNameField, kOptionsLayer + 1))
        return;
    SendSignal(MachineNameSignal{machineNameField.text});
    if (client)
        client->SetMachineName(machineNameField.text);
    else
        StoreSetting("clientMachineName", machineNameField.text);
}

void ToggleFullScreen()
{
    PlayGUISound("gui_button");
    if (!gGraphicsFactory)
        return;
    const bool wasOn = gGraphicsFactory->IsFullScreen();
    gGraphicsFactory->SetFullScreen(!wasOn);
    StoreSetting("SceneClientOptionsMode.fullscreen", wasOn ? "off" : "on");
}

// The connection ends and the mission's screens go with it: a console that
// joins again starts from an empty retained GUI.
SceneFunction Disconnect(CorvaneClient* client)
{
    PlayGUISound("gui_button");
    if (client)
        client->Disconnect();
    if (ConsoleScreen* screen = ClientConsoleScreen(client)) {
        RetainedGUIManager& gui = screen->RetainedGUI();
        gui.SetBuilding(true, "");
        gui.SetBuilding(false, "");
    }
    return SceneClientConnectMode;
}

// The ids of the column follow the buttons shown: b is the last id before
// "UI Play Options", k the last before "Quit To Desktop"; the volumes follow
// the quit button.
struct ColumnIds {
    int32_t b;
    int32_t k;
};

ColumnIds IdsOfColumn(const ShellState& shell)
{
    const bool client = ShowsClientButtons(shell);
    const int32_t b = client ? kOptionsFirstId + 1 : kOptionsFirstId;
    return {b, client ? b + 4 : b + 3};
}

// The column of buttons; a button that leads elsewhere ends the draw.
SceneFunction DrawButtons(UIContext& ui, ShellState& shell, const ColumnIds& ids, CorvaneClient* client)
{
    const bool leave = OptionsHotKeyPressed(kOptionsLeaveKey);
    if (OptionsButton(ui, kOptionsFirstId, "Continue", kContinueKey) || leave)
        return Continue(shell);
    DrawMachineName(ui, shell.machineNameField, client);
    ui.ShiftRectY(1, kLargeGap);
    if (ShowsClientButtons(shell)) {
        if (OptionsButton(ui, ids.b, "Change Console", kChangeConsoleKey)) {
            PlayGUISound("gui_button");
            SendSignal(ClientChangeSignal{"change_console"});
            return SceneClientRunningMode;
        }
    }
    ui.ShiftRectY(1, kSmallGap);
    if (OptionsButton(ui, ids.b + 1, "UI Play Options", kUIOptionsKey)) {
        PlayGUISound("gui_button");
        return SceneUIPlayOptionsMode;
    }
    ui.ShiftRectY(1, kSmallGap);
    if (OptionsButton(ui, ids.b + 2, "Game Data Edit Options", kEditOptionsKey)) {
        PlayGUISound("gui_button");
        return SceneDevToolsMode;
    }
    ui.ShiftRectY(1, kSmallGap);
    const bool fullScreen = gGraphicsFactory && gGraphicsFactory->IsFullScreen();
    if (uiCheckButton(ui, ids.b + 3, "Fullscreen", "gui-2", fullScreen, true, kOptionsLayer))
        ToggleFullScreen();
    if (ShowsClientButtons(shell)) {
        ui.ShiftRectY(2, kSmallGap);
        if (OptionsButton(ui, ids.b + 4, "Disconnect", kDisconnectKey))
            return Disconnect(client);
    }
    ui.ShiftRectY(2, kSmallGap);
    if (OptionsButton(ui, ids.k + 1, "Quit To Desktop", kQuitKey) && gGraphicsFactory)
        gGraphicsFactory->CloseProgram();
    return SceneClientOptionsMode;
}

// One volume: its slider, its label to the left, its hot keys. The value is
// held within 0..1 every draw, so a hand-edited setting comes into range.
// True when it changed.
bool DrawVolume(UIContext& ui, int32_t id, const VolumeRow& row, float& volume)
{
    const float before = volume;
    uiSlider(ui, id, 0.0f, 1.0f, volume, kOptionsLayer, "");
    ui.PushRect();
    ui.ShiftRectX(-1, -kLabelGap);
    ui.DrawText(ui.GetFont("gui-2"), ui.CurrentRect(), row.label, kWhite, kOptionsLayer, 1);
    ui.PopRect();
    if (OptionsHotKeyPressed(row.down))
        volume -= kVolumeStep;
    if (OptionsHotKeyPressed(row.up))
        volume += kVolumeStep;
    volume = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 1.0f;
    return volume != before;
}

// The engines' loops are the sound effects that play on while the volume moves.
void SetEngineLoopVolume(RenderManager& sounds, float volume)
{
    for (QelSound* loop : {sounds.engineBaseSound, sounds.engineToneSound})
        if (loop)
            loop->SetVolume(volume);
}

void DrawVolumes(UIContext& ui, RenderManager* view, int32_t firstId)
{
    const int32_t width = ui.WindowWidth();
    ui.SetCurrentRectEdges(width - 2 - kVolumeColumnWidth, 2, width - 2, 2 + kVolumeRowHeight);
    float music = gMusicControl ? gMusicControl->MusicVolume() : 0.0f;
    if (DrawVolume(ui, firstId, kMusicRow, music) && gMusicControl)
        gMusicControl->SetMusicVolume(music);
    ui.ShiftRectY(1, 1);
    float effects = AppData::SfxVolume();
    if (DrawVolume(ui, firstId + 1, kSfxRow, effects)) {
        AppData::SetSfxVolume(effects);
        if (view)
            SetEngineLoopVolume(*view, effects);
    }
    ui.ShiftRectY(1, 1);
    float sounds = AppData::GuiVolume();
    if (DrawVolume(ui, firstId + 2, kGuiRow, sounds)) {
        AppData::SetGuiVolume(sounds);
        PlayGUISound("gui_button");
    }
}

void DrawCredits(UIContext& ui)
{
    QelBitmapFont* font = ui.GetFont("gui-1");
    if (!font)
        return;
    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();
    const int32_t textHeight = font->LayoutText(kCredits, width / 2);
    ui.DrawText(font, IntRect{width / 2, height - textHeight - kCreditsMargin, width - kCreditsMargin,
                              height - kCreditsMargin},
                kCredits, kWhite, kOptionsLayer, 1);
}

SceneFunction Draw(ShellState& shell, RenderManager* view)
{
    UIContext& ui = shell.UI();
    BeginOptionsScreen(ui, shell.backdrop);
    const ColumnIds ids = IdsOfColumn(shell);
    const SceneFunction next = DrawButtons(ui, shell, ids, SceneClient(view));
    if (next != SceneClientOptionsMode)
        return next;
    DrawVolumes(ui, view, ids.k + 2);
    DrawCredits(ui);
    return SceneClientOptionsMode;
}

}  // namespace

SceneFunction SceneClientOptionsMode(SceneEvent event, SceneState& scenes, RenderManager* view)
{
    ShellState& shell = ShellState::Of(scenes);
    switch (event) {
    case SCENE_ENTER: Enter(shell.machineNameField, SceneClient(view)); break;
    case SCENE_LEAVE: StoreVolumes(); break;
    case SCENE_DRAW: return Draw(shell, view);
    default: break;
    }
    return SceneClientOptionsMode;
}
