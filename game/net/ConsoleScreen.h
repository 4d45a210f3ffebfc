#pragma once
// This machine's console screen as the server's presentation signals reach
// it: which console it shows and the boxes of its widgets, the state of those
// boxes that the mission asks for, speech bubbles over radar contacts, the
// text and info lists, the main screen's view and the sky, the 3D view's
// particles and cinematic camera, the warp and jump effects, the damage
// indicator and the radar's hold menu. The render manager, the console boxes
// and the shell implement it; this base is the screen of a program without
// one (the headless harness), on which every call does nothing and every
// query answers empty. The console's client holds the screen its signals
// reach (CorvaneClient::SetConsoleScreen).
//
// Every screen keeps the mission's screens it shows: the retained GUI's tree
// and the story dialogs waiting. A console's signals fill them, and so do the
// mission's functions that address the server's own screen.
//
// The server's own screen is the same screen: the mission's functions that
// address client 0 reach it through ServerScreen, which extends this one.
// Main thread only.

#include "game/guimodel/RetainedGUIManager.h"
#include "game/guimodel/StoryDialogGUIManager.h"
#include "game/net/PresentationSignals.h"

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ParticleView;

// The camera of the "cinematic" view while the script drives it.
struct CinematicValues {
    int32_t scriptControlsCamera = 0;
    uint64_t dollyId = 0;
    glm::vec3 dollyPos{0.0f};
    uint64_t targetId = 0;
    glm::vec3 targetPos{0.0f};
};

class ConsoleScreen {
public:
    // The two info lists of the consoles' widgets.
    enum class InfoList { Comms, Engineering };

    virtual ~ConsoleScreen() = default;

    // The console this screen shows and the widgets it draws, in order.
    virtual void SetConsole(const std::string& /*consoleName*/, const std::vector<std::string>& /*widgets*/) {}
    virtual std::string ConsoleName() const { return ""; }
    // Both rectangles of a widget's box (normal, then full screen; left, top,
    // right, bottom, in percent of the window), made when missing.
    virtual void SetBoxRects(const std::string& /*consoleName*/, const std::string& /*widgetName*/,
                             const std::array<float, 8>& /*rects*/) {}
    // Reports every box of the widget to the mission ("widget_box_state"),
    // with the rectangle of the layout (0 normal, 1 full screen).
    virtual void ReportWidgetBoxes(const std::string& /*widgetName*/, int32_t /*layoutIndex*/) {}
    // An empty text removes the bubble; object 0 removes every bubble.
    virtual void SetSpeechBubble(uint64_t /*objectId*/, int32_t /*seconds*/, const std::string& /*colour*/,
                                 const std::string& /*text*/) {}

    // A new simulation begins: particle effects, the 2D view, the comms and
    // engineering selection lists and the story dialogs start empty, and what
    // the views keep of the old world's objects (effects, planet and nebula
    // records) goes, as its ids come again.
    virtual void ClearForNewWorld() {}
    virtual void ClearStoryDialogs() {}

    virtual bool HyperWarpShown() const { return false; }
    virtual void ShowHyperWarp(const std::string& /*shipHullKey*/) {}
    virtual void HideHyperWarp() {}
    virtual void ShowHoldMenu(uint64_t /*subject*/, uint64_t /*object*/, uint64_t /*extra*/,
                              const std::vector<std::string>& /*options*/) {}
    virtual void SetCinematic(const CinematicValues& /*values*/) {}
    // The object the main screen's automatic camera looks at; 0 for none.
    virtual void SetAutoCinematicObject(uint64_t /*objectId*/) {}
    virtual void SetOptionsTransparency(bool /*transparent*/) {}

    // A line of the message text box, in an RGBA colour (0..1 each).
    virtual void AddTextMessage(const std::string& /*text*/, const glm::vec4& /*colour*/) {}
    // A line of the console log (the machine's own notices), in its colour.
    virtual void AddConsoleLog(const std::string& /*text*/, const glm::vec4& /*colour*/) {}
    // A selection empties the info list and enters its one entry; a button
    // adds its entry to what is listed.
    virtual void SelectInfo(InfoList /*list*/, const ConsoleInfoEntry& /*entry*/) {}
    virtual void AddInfo(InfoList /*list*/, const ConsoleInfoEntry& /*entry*/) {}
    // Both info lists empty, as a new connection starts them.
    virtual void ClearInfoLists() {}
    // One of the interface's own sounds (data/audio/gui), once.
    virtual void PlayGuiSound(const std::string& /*name*/) {}

    // The main screen's view, camera angle and camera mode, and the 2D
    // radar's scale (Render2D's zoom).
    virtual void SetMainViewModes(const std::string& /*view*/, const std::string& /*cameraAngle*/,
                                  const std::string& /*cameraMode*/) {}
    virtual void SetRadarZoom(float /*scale*/) {}
    // The sky box's art file; a file that cannot be loaded gives the default sky.
    virtual void SetSkyBox(const std::string& /*artFileName*/) {}

    // The jump's screen effect for the seconds, and the seconds the helm's
    // jump countdown shows.
    virtual void StartJumpEffect(int32_t /*seconds*/) {}
    virtual void SetJumpTime(int32_t /*seconds*/) {}
    // The looped sound of a jump drive charging, pitched up as fewer seconds
    // are left; zero or less stops it.
    virtual void PlayJumpSound(int32_t /*secondsLeft*/) {}
    // The red damage flash the render manager draws, 0 (none) to 100 (full).
    virtual void SetDamageIndicator(float /*level*/) {}

    // The 3D view's particles; null while the view is not set up, and then
    // the particle codes do nothing at all.
    virtual ParticleView* Particles() { return nullptr; }

    // The mission's screens this screen shows and its story dialogs.
    RetainedGUIManager& RetainedGUI() { return retainedGUI; }
    StoryDialogGUIManager& StoryDialogs() { return storyDialogs; }

private:
    RetainedGUIManager retainedGUI;
    StoryDialogGUIManager storyDialogs;
};
