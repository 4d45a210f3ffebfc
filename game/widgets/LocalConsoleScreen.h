#pragma once
// This machine's console screen as the server's notices and the mission's
// functions for client 0 reach it: the console and its widgets, the boxes the
// mission places and asks about, speech bubbles over radar contacts, the
// options button's transparency and the sky box's art, the jump's effect and
// countdown, the red flash when the ship is hit, and the lines of the message
// box that the text waterfall shows. The console boxes, the render manager,
// the client and the message log hold what it changes; it fills the console's
// state (ConsoleState.h) it is given, which it starts afresh for a new world,
// with the console's choice and the comms and engineering info lists the
// widgets show; and (as every screen) it keeps the mission's screens and the
// story dialogs it shows.
//
// BridgeScreens opens it to both ways in and makes the render manager:
//
//   HalvexGameLoop::Options options;
//   options.makeSceneHost = [](const GameNetwork& network) {
//       return MakeBridgeScreens(SceneFirstMode, std::make_unique<ShellState>(), network);
//   };

#include "game/script/ServerScreen.h"
#include "game/widgets/ConsoleState.h"

class LocalConsoleScreen : public ServerScreen {
public:
    // The console's state must outlive the screen.
    explicit LocalConsoleScreen(ConsoleState& console) : state(console) {}

    void SetConsole(const std::string& name, const std::vector<std::string>& widgets) override;
    std::string ConsoleName() const override;
    void SetBoxRects(const std::string& screenName, const std::string& widgetName,
                     const std::array<float, 8>& rects) override;
    void ReportWidgetBoxes(const std::string& widgetName, int32_t layoutIndex) override;
    void SetSpeechBubble(uint64_t objectId, int32_t seconds, const std::string& colour,
                         const std::string& text) override;
    void SetOptionsTransparency(bool transparent) override;
    void SetSkyBox(const std::string& artFileName) override;
    void AddTextMessage(const std::string& text, const glm::vec4& colour) override;
    void AddConsoleLog(const std::string& text, const glm::vec4& colour) override;
    void PlayGuiSound(const std::string& name) override;
    void ClearForNewWorld() override;
    void ShowHoldMenu(uint64_t subject, uint64_t object, uint64_t extra,
                      const std::vector<std::string>& options) override;
    void SetMainViewModes(const std::string& view, const std::string& cameraAngle,
                          const std::string& cameraMode) override;
    void SetRadarZoom(float scale) override;
    void StartJumpEffect(int32_t seconds) override;
    void SetJumpTime(int32_t seconds) override;
    void SelectInfo(InfoList list, const ConsoleInfoEntry& entry) override;
    void AddInfo(InfoList list, const ConsoleInfoEntry& entry) override;
    void ClearInfoLists() override;
    void PlayJumpSound(int32_t secondsLeft) override;
    void SetDamageIndicator(float level) override;
    bool HyperWarpShown() const override;
    void ShowHyperWarp(const std::string& shipHullKey) override;
    void HideHyperWarp() override;
    void SetCinematic(const CinematicValues& values) override;
    void SetAutoCinematicObject(uint64_t objectId) override;
    ParticleView* Particles() override;

    // The entries of an info list, in the order they came.
    const std::vector<ConsoleInfoEntry>& Info(InfoList list) const;
    // This machine's console: its choice, its box layout and its widgets' state.
    ConsoleState& State() { return state; }

private:
    std::vector<ConsoleInfoEntry>& InfoOf(InfoList list);

    ConsoleState& state;
};
