#pragma once
// What hosts the scenes, as the game loop sees it: the render manager of the
// window program. The game loop makes it third of the four singletons
// (after the client and the server, before the world), sets it up once the
// world exists, steps it every frame and tick, and deletes it first. The
// headless harness has none.

class SceneHost {
public:
    virtual ~SceneHost() = default;

    // Once, after the four singletons exist: settings, then the first scene.
    virtual void Setup() = 0;
    // Setup as the game's window runs it: the first screen may be drawn
    // before everything is loaded; the host finishes its loading over the
    // next frames.
    virtual void SetupFirstScreen() { Setup(); }
    // Every frame, before the simulation ticks: the scene's input step.
    virtual void FrameUpdate() = 0;
    // Every 33 ms tick, right after the world's tick.
    virtual void SimTick() = 0;
    // Every frame, after the ticks: the scene's drawing and the overlays.
    virtual void Draw() = 0;
};
