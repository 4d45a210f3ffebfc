#pragma once
// The server's own screen as the mission's functions reach it: a script that
// addresses client 0 changes what the server machine shows instead of
// telling a console. Beyond the console screen it extends (widgets, boxes,
// speech bubbles) it takes what only the mission asks of the server machine.
// The shell, the renderer and the console widgets implement it; this base is
// the headless server's screen, which shows nothing, so every call does
// nothing and every query answers empty (halvex-server's quiet screen keeps
// what missions ask back). The retained GUI and the story dialogs of the
// server's screen are models of their own (theRetainedGUIManager,
// theStoryDialogGUIManager).
//
// Main thread only, inside a script call.

#include "game/net/ConsoleScreen.h"
#include "game/net/PresentationSignals.h"

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <string>
#include <vector>

// The camera of the "cinematic" view while the script drives it.
struct CinematicValues {
    int32_t scriptControlsCamera = 0;
    uint64_t dollyId = 0;
    glm::vec3 dollyPos{0.0f};
    uint64_t targetId = 0;
    glm::vec3 targetPos{0.0f};
};

class ParticleView;

class ServerScreen : public ConsoleScreen {
public:
    // The two info lists of the consoles' widgets.
    enum class InfoList { Comms, Engineering };

    // A blank world: particle effects, the 2D view, the comms and
    // engineering selection lists and the story dialogs start empty.
    virtual void ClearForNewWorld() {}
    virtual void ClearStoryDialogs() {}

    virtual bool HyperWarpShown() const { return false; }
    virtual void ShowHyperWarp(const std::string& /*shipHullKey*/) {}
    virtual void HideHyperWarp() {}
    virtual void ShowHoldMenu(uint64_t /*subject*/, uint64_t /*object*/, uint64_t /*extra*/,
                              const std::vector<std::string>& /*options*/) {}
    virtual void SetCinematic(const CinematicValues& /*values*/) {}
    virtual void SetOptionsTransparency(bool /*transparent*/) {}

    // A line of the message text box, in an RGBA colour (0..1 each).
    virtual void AddTextMessage(const std::string& /*text*/, const glm::vec4& /*colour*/) {}
    // A selection empties the info list and enters its one entry; a button
    // adds its entry to what is listed.
    virtual void SelectInfo(InfoList /*list*/, const ConsoleInfoEntry& /*entry*/) {}
    virtual void AddInfo(InfoList /*list*/, const ConsoleInfoEntry& /*entry*/) {}

    // The main screen's view, camera angle and camera mode, and the 2D
    // radar's scale (Render2D's zoom).
    virtual void SetMainViewModes(const std::string& /*view*/, const std::string& /*cameraAngle*/,
                                  const std::string& /*cameraMode*/) {}
    virtual void SetRadarZoom(float /*scale*/) {}
    // The sky box's art file; a file that cannot be loaded gives the default sky.
    virtual void SetSkyBox(const std::string& /*artFileName*/) {}

    // The 3D view's particles; null while the view is not set up, and then
    // the particle functions do nothing at all.
    virtual ParticleView* Particles() { return nullptr; }
};
