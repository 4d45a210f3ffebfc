#pragma once
// Every screen of the program is a scene: a free function that the render
// manager calls with an event code once per frame, once per simulation tick
// and once per draw, and that answers with the scene to run next (itself to
// stay). Each call hands it two things: the scene state, where it keeps what
// it needs between calls (game/ui/SceneState.h), and the render manager
// itself, which it draws through and which is null only where a test steps a
// scene on its own.

#include <cstdint>

class RenderManager;
class SceneState;

enum SceneEvent : uint8_t {
    SCENE_ENTER = 0,  // just became current: one-time set-up
    SCENE_LEAVE = 1,  // stops being current (also at program end): write settings back
    SCENE_FRAME = 2,  // once per frame, before the simulation ticks
    SCENE_TICK = 3,   // once per 33 ms simulation tick
    SCENE_DRAW = 4,   // once per frame, after the ticks: draw and act on buttons
};

// A scene function returns a scene function; C++ cannot name that type
// directly, so the pointer travels inside this small value.
struct SceneFunction {
    using Fn = SceneFunction (*)(SceneEvent, SceneState&, RenderManager*);

    Fn fn = nullptr;

    constexpr SceneFunction() = default;
    constexpr SceneFunction(Fn f) : fn(f) {}

    SceneFunction operator()(SceneEvent event, SceneState& scenes, RenderManager* view) const
    {
        return fn(event, scenes, view);
    }
    explicit operator bool() const { return fn != nullptr; }
    friend bool operator==(SceneFunction a, SceneFunction b) { return a.fn == b.fn; }
};
