#include "game/render/manager/RenderManager.h"

#include "engine/base/QelFileServices.h"
#include "engine/base/QelGraphicsFactoryBase.h"
#include "engine/base/QelInputFactoryBase.h"
#include "engine/base/QelKeyboard.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/guimodel/RetainedGUIManager.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/render/manager/CounterPanelOverlay.h"
#include "game/render/manager/Render3DEffectsPass.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/script/MissionScript.h"
#include "game/ui/TextLog.h"
#include "game/ui/UIContext.h"
#include "game/ui/UIControls.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"
#include "helper/ColorParse.h"
#include "helper/GeneralUtils.h"

#include <algorithm>
#include <cstdlib>
#include <utility>


namespace {

// The preferences of the console colour table, in its order.
constexpr const char* kGuiColorKeys[kGuiColorCount] = {
    "gui-color-main",           "gui-color-your-ship",        "gui-color-player-ship",
    "gui-color-ally-ship",      "gui-color-unscanned-object", "gui-color-surrendered-ship",
    "gui-color-hostile-ship",   "gui-color-ally-station",     "gui-color-hostile-station",
    "gui-color-torpedo",        "gui-color-drone",            "gui-color-mine",
    "gui-color-buoy",           "gui-color-asteroid",         "gui-color-monster",
    "gui-color-black-hole",     "gui-color-planet",           "gui-color-nebula",
    "gui-color-pickup",
};

// Each overlay key steps its mode, back to off after the last.
struct OverlayKey {
    int32_t key;
    int32_t lastMode;
};
constexpr OverlayKey kLogKey{qel::vk::kF1 + 6, 2};    // F7
constexpr OverlayKey kPanelKey{qel::vk::kF1 + 7, 3};  // F8
constexpr OverlayKey kStatsKey{qel::vk::kF1 + 8, 1};  // F9

// The log overlay: its margin from the window, the height of a row, the
// indent of an entry's later lines, and the scroll bar at its right.
constexpr int32_t kLogMargin = 20;
constexpr int32_t kLogRowPixels = 22;
constexpr int32_t kLogIndent = 30;
constexpr int32_t kLogScrollBarWidth = 30;
constexpr int32_t kLogScrollBarId = 50555;
constexpr const char* kLogFont = "gui-1";

// The counter panel: half its width about the window's middle, its top and
// bottom in mode 1 and in the others, and the margin of the network
// statistics from the window's edges.
constexpr int32_t kPanelHalfWidth = 300;
constexpr int32_t kPanelTopFirstMode = 40;
constexpr int32_t kPanelTop = 0;
constexpr int32_t kPanelHeight = 120;
constexpr int32_t kPanelBottomMargin = 100;
constexpr int32_t kStatsMargin = 30;

// A red tick at the top left while this machine is aboard no ship.
constexpr IntRect kNoShipMark{100, 0, 102, 20};

std::string RegistryText(const std::string& name)
{
    std::string text;
    QelFileServices::Instance().GetRegistryValue(name, text);
    return text;
}

void FillAtLayer(UIContext& ui, const IntRect& rect, const glm::vec4& colour, int layer)
{
    Qel2dBitmap* white = ui.White();
    if (!white)
        return;
    const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
    white->SetDestRect(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right),
                       static_cast<float>(rect.bottom));
    white->DrawQuad(rgba, layer, false);
}

}  // namespace

RenderManager::RenderManager(SceneFunction first, SharedConsoleState* drawnConsole,
                             std::unique_ptr<SceneState> scenes)
    : console(drawnConsole ? *drawnConsole : ownConsole),
      effectsPass(std::make_unique<Render3DEffectsPass>(render3D)),
      firstScene(first),
      sceneState(scenes ? std::move(scenes) : std::make_unique<SceneState>())
{
    render3D.effects = effectsPass.get();
    sceneState->DrawThrough(UI());
    mainBuffWidth = AppData::GetInt("main-buff-width");
    mainBuffHeight = AppData::GetInt("main-buff-height");
    nebulaBuffSizeDiv = AppData::GetInt("nebula-buff-size-div");
    radarCenterX = mainBuffWidth / 2;
    radarCenterY = mainBuffHeight / 2;
    jumpEffect.directionEdit =
        std::make_unique<Edline>(JumpEffectState::kDirectionEditId, "gui-2", JumpEffectState::kDirectionEditChars);
    jumpEffect.distanceEdit =
        std::make_unique<Edline>(JumpEffectState::kDistanceEditId, "gui-2", JumpEffectState::kDistanceEditChars);
    jumpEffect.directionEdit->digitsOnly = true;
    jumpEffect.distanceEdit->digitsOnly = true;
    jumpEffect.mode = 0;
    counterPanel = std::make_unique<CounterPanelOverlay>(*this);
    counterOverlays = counterPanel.get();
    console.renderer = this;
    if (gServer)
        gServer->SetShipAssetSource(this);
}

RenderManager::~RenderManager()
{
    UIContext& ui = UI();
    if (currentScene)
        currentScene(SCENE_LEAVE, *sceneState, this);
    if (ui.pictures == this)
        ui.pictures = nullptr;
    if (console.renderer == this)
        console.renderer = nullptr;
    if (Client() && Client()->AssetTransfers() == this)
        Client()->SetAssetTransfers(nullptr);
    if (gServer && gServer->ShipAssets() == this)
        gServer->SetShipAssetSource(nullptr);
}

void RenderManager::ConnectNetwork(const GameNetwork& ends)
{
    console.network = ends;
    if (ends.client)
        ends.client->SetAssetTransfers(this);
}

void RenderManager::Setup()
{
    SetupFirstScreen();
    FinishLoading();
}

// The machine settings the options screens write. The brightness and the
// panels' opacity are stored one more than their value, so that nothing
// stored (or anything below 1) means full; anything out of range is held to it.
void RenderManager::ReadViewSettings()
{
    const auto storedFraction = [](const std::string& name) {
        const double stored = std::strtod(RegistryText(name).c_str(), nullptr);
        return stored >= 1.0 ? static_cast<float>(std::min(stored - 1.0, 1.0)) : 1.0f;
    };
    radarRelativePositions = RegistryText("r2D.relativePositions") == "on";
    navRingBrightness = storedFraction("r3D.navRingBrightness");
    panelOpacity = storedFraction("panelOpacity");
    radarArcMode = static_cast<int32_t>(std::clamp<int64_t>(LeadingInt(RegistryText("r2D.showArcMode")), 0,
                                                            kMaxArcMode));
    showNavRing = RegistryText("r3D.showNavRing") == "yes";
    const int64_t threshold = std::clamp<int64_t>(LeadingInt(RegistryText("r2D.dragThreshold")), 0,
                                                  kMaxDragThreshold);
    radarDragThreshold = threshold > 0 ? static_cast<float>(threshold) : kDefaultDragThreshold;
}

void RenderManager::ReadGuiColors()
{
    for (int i = 0; i < kGuiColorCount; ++i) {
        const std::string text = AppData::GetString(kGuiColorKeys[i]);
        guiColorSet[i] = !text.empty();
        ParseColor(guiColors[i], text);
    }
}

// Every screen after the first finds everything loaded.
void RenderManager::StepScene(SceneEvent event)
{
    if (!currentScene)
        return;
    const SceneFunction next = currentScene(event, *sceneState, this);
    if (!next || next == currentScene)
        return;
    currentScene(SCENE_LEAVE, *sceneState, this);
    FinishLoading();
    next(SCENE_ENTER, *sceneState, this);
    currentScene = next;
}

void RenderManager::FrameUpdate()
{
    if (frameDrawn)
        ContinueLoading();
    StepScene(SCENE_FRAME);
    CycleOverlays();
    ReportWindowSize();
    UpdateEngineSound();
    OfferAssetTransfers();
    RequestNextAssetChunk();
}

void RenderManager::CycleOverlays()
{
    QelKeyboard* keyboard = gInputFactory ? gInputFactory->GetKeyboard() : nullptr;
    if (!keyboard)
        return;
    const auto step = [keyboard](const OverlayKey& overlay, int32_t& mode) {
        if (!keyboard->IsKeyReleased(overlay.key))
            return false;
        mode = mode + 1 > overlay.lastMode ? 0 : mode + 1;
        return true;
    };
    step(kLogKey, logOverlayMode);
    step(kPanelKey, panelOverlayMode);
    if (step(kStatsKey, netStatsOverlayMode))
        clientNamesChanged = true;
}

// The mission lays consoles out by their window size: a console tells its
// server, the server's own screen its mission. With neither yet, nothing is
// recorded, so the size goes out as soon as one of them exists.
void RenderManager::ReportWindowSize()
{
    if (!gGraphicsFactory)
        return;
    const int32_t width = gGraphicsFactory->GetWidth();
    const int32_t height = gGraphicsFactory->GetHeight();
    if (width == lastWindowWidth && height == lastWindowHeight)
        return;
    if (IsClientConnected()) {
        WriteSignal(StartClientMessage("signal"), ScreenSizeSignal{width, height});
        SendClientMessage();
    } else if (theMissionScript.ScriptsLoaded() && gServer) {
        gServer->RaiseScreenSizeEvent(0, width, height);
    } else {
        return;
    }
    lastWindowWidth = width;
    lastWindowHeight = height;
}

void RenderManager::SimTick()
{
    UIContext& ui = UI();
    ++tickCounter;
    ++ui.tickCount;
    StepScene(SCENE_TICK);
    render3D.UpdateEffects();
    ExpireSpeechBubbles();
    HandleSoundEvents();
    RampJumpSound();
}

void RenderManager::ExpireSpeechBubbles()
{
    std::erase_if(speechBubbles, [this](const SpeechBubble& bubble) {
        return bubble.expiryTick != 0 && bubble.expiryTick <= tickCounter;
    });
}

void RenderManager::Draw()
{
    UIContext& ui = UI();
    ui.BeginFrame();
    ui.ReadMainColour();
    StepScene(SCENE_DRAW);
    if (logOverlayMode > 0)
        DrawLogOverlay();
    DrawCounterOverlays();
    RefreshClientNames();
    DrawNoShipMark();
    ui.EndFrame();
    frameDrawn = true;
}

// The console log, newest at the bottom; the scroll bar at the right hides
// the newest rows to show older ones. An entry's later lines are indented.
// Rows above the area are counted for the scroll bar but not drawn.
void RenderManager::DrawLogOverlay()
{
    UIContext& ui = UI();
    const IntRect area{kLogMargin, kLogMargin, ui.WindowWidth() - kLogMargin, ui.WindowHeight() - kLogMargin};
    FillAtLayer(ui, area, glm::vec4(0, 0, 0, logOverlayMode == 1 ? 1.0f : 0.6f), kOverlayLayer);
    QelBitmapFont* font = ui.GetFont(kLogFont);
    if (!font)
        return;
    const int32_t rowPixels = std::max(kLogRowPixels, font->GetTextHeight("a"));
    const int32_t visibleRows = std::max(0, (area.bottom - area.top - 4) / rowPixels);
    const int32_t textLeft = area.left + 2;
    const int32_t textRight = area.right - 2 - kLogScrollBarWidth;
    int32_t rowBottom = area.bottom - 2;
    int32_t rows = 0;
    const auto place = [&](const std::string& line, int32_t indent, const glm::vec4& colour) {
        if (rowBottom - rowPixels >= area.top) {
            ui.DrawText(font, {textLeft + indent, rowBottom - rowPixels, textRight, rowBottom}, line, colour,
                        kOverlayLayer, 0, TextFlow::kCutLine);
        }
        rowBottom -= rowPixels;
    };
    for (auto entry = theConsoleLog.end(); entry != theConsoleLog.begin();) {
        --entry;
        if (entry->text.empty()) {
            if (rows++ >= logScroll)
                place("", 0, entry->colour);
            continue;
        }
        const std::vector<std::string> lines = WrapText(*font, entry->text, textRight - textLeft - kLogIndent);
        for (size_t i = lines.size(); i-- > 0;)
            if (++rows >= logScroll)
                place(lines[i], i == 0 ? 0 : kLogIndent, entry->colour);
    }
    ui.SetCurrentRectEdges(area.right - kLogScrollBarWidth, area.top, area.right, area.bottom);
    logScrollRange = rows - visibleRows;
    uiSlider(ui, kLogScrollBarId, 0.0f, static_cast<float>(std::max(0, logScrollRange)), logScroll, kOverlayLayer, "");
}

IntRect RenderManager::PanelOverlayRect(int32_t mode, int32_t width, int32_t height)
{
    const int32_t top = mode == 1 ? kPanelTopFirstMode : kPanelTop;
    int32_t down = 0;
    if (mode == 2)
        down = height / 2;
    else if (mode == 3)
        down = height - kPanelBottomMargin;
    return {width / 2 - kPanelHalfWidth, top + down, width / 2 + kPanelHalfWidth, top + kPanelHeight + down};
}

void RenderManager::DrawCounterOverlays()
{
    UIContext& ui = UI();
    if (!counterOverlays)
        return;
    const int32_t width = ui.WindowWidth();
    const int32_t height = ui.WindowHeight();
    if (panelOverlayMode > 0)
        counterOverlays->DrawPanelOverlay(PanelOverlayRect(panelOverlayMode, width, height));
    if (netStatsOverlayMode > 0)
        counterOverlays->DrawServerStats({kStatsMargin, kStatsMargin, width - kStatsMargin, height - kStatsMargin});
}

void RenderManager::RefreshClientNames()
{
    if (!clientNamesChanged)
        return;
    if (gServer)
        for (auto& [id, field] : clientNameFields)
            if (const ClientRecord* record = gServer->FindClient(id))
                field->SetText(record->machineName);
    clientNamesChanged = false;
}

void RenderManager::DrawNoShipMark()
{
    UIContext& ui = UI();
    if (theSimulation && theSimulation->Container() && theSimulation->subjectID == 0)
        FillAtLayer(ui, kNoShipMark, glm::vec4(1, 0, 0, 1), kOverlayLayer);
}
