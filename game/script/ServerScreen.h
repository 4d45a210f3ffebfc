#pragma once
// The server's own screen as the mission's functions reach it: a script that
// addresses client 0 changes what the server machine shows instead of
// telling a console. Beyond the console screen it extends (widgets, boxes,
// speech bubbles) it takes what only the mission asks of the server machine.
// The shell, the renderer and the console widgets implement it; this base is
// the headless server's screen, which shows nothing, so every call does
// nothing and every query answers empty.
//
// Main thread only, inside a script call.

#include "game/net/ConsoleScreen.h"

#include <glm/vec3.hpp>

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

class ServerScreen : public ConsoleScreen {
public:
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
};
